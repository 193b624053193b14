#pragma once
// Reports when its form is minimised or restored. The window system animates
// both itself, so nothing else is left to do here.
#include <QObject>

#include <stdexcept>

class QWidget;

// Raised when a form gets a second TAnimateWindow. what() is UTF-8.
class AnimateWindowError : public std::runtime_error {
public:
    AnimateWindowError();
};

class TAnimateWindow : public QObject {
    Q_OBJECT
public:
    // Throws AnimateWindowError when `form` already has one.
    explicit TAnimateWindow(QWidget *form);
    ~TAnimateWindow() override;
    Q_DISABLE_COPY_MOVE(TAnimateWindow)

    QWidget *form() const { return m_form; }

signals:
    void minimized(); // OnMinimize
    void restored();  // OnRestore

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_form;
};
