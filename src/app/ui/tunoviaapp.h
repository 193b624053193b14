#pragma once
// The application object: gives Qt's own dialogs Japanese texts, and reports
// an error that escapes a command in the standard error box, and the program
// goes on.
#include <QApplication>
#include <QTranslator>

class Prompts;

class TunoviaApplication : public QApplication {
public:
    TunoviaApplication(int &argc, char **argv);
    void setPrompts(Prompts *prompts) { m_prompts = prompts; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    Prompts *m_prompts = nullptr;
    QTranslator m_qtTranslator;
};
