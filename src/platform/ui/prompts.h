#pragma once
// Every message box, input box and standard dialog of Tunovia goes through
// this service, so that tests can answer them and check their exact texts.
#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <optional>

class QWidget;

class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };

    virtual ~Prompts() = default;

    // Returns the button that was pressed (Cancel or No when the box was closed).
    virtual QMessageBox::StandardButton message(QWidget *parent, const QString &title, const QString &text, Icon icon,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;
    // Nothing when cancelled.
    virtual std::optional<QString> inputText(QWidget *parent, const QString &title, const QString &label,
                                             const QString &initial = {}) = 0;
    // `filter` uses Qt's form ("説明 (*.ini);;全てのファイル (*)"). Empty when cancelled.
    virtual QString openFile(QWidget *parent, const QString &title, const QString &startPath,
                             const QString &filter) = 0;
    // With `confirmOverwrite` off, choosing an existing file is not questioned.
    virtual QString saveFile(QWidget *parent, const QString &title, const QString &startPath, const QString &filter,
                             const QString &defaultSuffix, bool confirmOverwrite = true) = 0;
    virtual QString folder(QWidget *parent, const QString &title, const QString &startDir) = 0;
    virtual std::optional<QFont> font(QWidget *parent, const QFont &initial) = 0;
    virtual std::optional<QColor> color(QWidget *parent, const QColor &initial) = 0;

    // Shorthands for the message kinds Tunovia uses everywhere.
    void error(QWidget *parent, const QString &text)
    {
        message(parent, QStringLiteral("Tunovia エラー"), text, Icon::Error);
    }
    void info(QWidget *parent, const QString &text)
    {
        message(parent, QStringLiteral("Tunovia"), text, Icon::Information);
    }
    bool askYesNo(QWidget *parent, const QString &title, const QString &text)
    {
        return message(parent, title, text, Icon::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    // The standard report of an error that escaped a command.
    void exception(QWidget *parent, const QString &text)
    {
        message(parent, QStringLiteral("Tunovia"), text, Icon::Error);
    }
};

// The real dialogs.
class QtPrompts final : public Prompts {
public:
    QMessageBox::StandardButton message(QWidget *parent, const QString &title, const QString &text, Icon icon,
                                        QMessageBox::StandardButtons buttons) override;
    std::optional<QString> inputText(QWidget *parent, const QString &title, const QString &label,
                                     const QString &initial) override;
    QString openFile(QWidget *parent, const QString &title, const QString &startPath, const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &title, const QString &startPath, const QString &filter,
                     const QString &defaultSuffix, bool confirmOverwrite) override;
    QString folder(QWidget *parent, const QString &title, const QString &startDir) override;
    std::optional<QFont> font(QWidget *parent, const QFont &initial) override;
    std::optional<QColor> color(QWidget *parent, const QColor &initial) override;
};
