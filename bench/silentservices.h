#pragma once
// Services for benchmarks that drive the forms: every prompt is answered at
// once and nothing is started.
#include "platform/launcher.h"
#include "platform/ui/prompts.h"

class SilentPrompts final : public Prompts {
public:
    QMessageBox::StandardButton message(QWidget *, const QString &, const QString &, Icon,
                                        QMessageBox::StandardButtons) override
    {
        return QMessageBox::Ok;
    }
    std::optional<QString> inputText(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &, const QString &, bool) override
    {
        return {};
    }
    QString folder(QWidget *, const QString &, const QString &) override { return {}; }
    std::optional<QFont> font(QWidget *, const QFont &) override { return {}; }
    std::optional<QColor> color(QWidget *, const QColor &) override { return {}; }
};

class NoLauncher final : public Launcher {
public:
    bool startDetached(const QString &, const QStringList &, int) override { return false; }
    bool openDocument(const QString &) override { return false; }
    bool openFolder(const QString &) override { return false; }
};
