#pragma once
// Test double of the prompt service: answers from a script and records every
// question asked, with its exact title, text, icon and buttons.
#include "platform/ui/prompts.h"

#include <QList>
#include <QVariant>
#include <functional>

class ScriptedPrompts final : public Prompts {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder, Font, Color };
    struct Asked {
        Kind kind;
        QString title;
        QString text; // message text, input label, or filter for file dialogs
        Icon icon = Icon::None;
        QMessageBox::StandardButtons buttons;
        QString initial;              // start path or initial text
        bool confirmOverwrite = true; // save dialogs
    };

    // Answers are used in order; when the script runs dry a message gets its
    // last button (Cancel/No when offered), everything else is cancelled.
    void answer(QMessageBox::StandardButton button) { m_script.append(QVariant::fromValue(int(button))); }
    void answerText(const QString &text) { m_script.append(QVariant(text)); }
    void answerCancel() { m_script.append(QVariant()); }
    void answerFont(const QFont &font) { m_script.append(QVariant(font)); }
    void answerColor(const QColor &color) { m_script.append(QVariant(color)); }

    // Runs while a message box is up, where a real box would run its own
    // event loop (timers, joypad ticks).
    std::function<void()> whileAsking;

    const QList<Asked> &asked() const { return m_asked; }
    void clear()
    {
        m_asked.clear();
        m_script.clear();
        whileAsking = nullptr;
    }
    int pendingAnswers() const { return int(m_script.size()); }

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

private:
    QVariant next();
    QList<Asked> m_asked;
    QList<QVariant> m_script;
};
