#include "controls/ui/animatewindow.h"

#include <QEvent>
#include <QSet>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace {
// Forms that carry one; a form may carry only one.
QSet<const QWidget *> &formsWithAnimator()
{
    static QSet<const QWidget *> forms;
    return forms;
}

QWidget *claimForm(QWidget *form)
{
    if (!form)
        return form;
    if (formsWithAnimator().contains(form))
        throw AnimateWindowError();
    formsWithAnimator().insert(form);
    return form;
}
} // namespace

AnimateWindowError::AnimateWindowError() : std::runtime_error("AnimateWindowはフォームに一つしか置けません") {}

TAnimateWindow::TAnimateWindow(QWidget *form) : QObject(claimForm(form)), m_form(form)
{
    if (m_form)
        m_form->installEventFilter(this);
}

TAnimateWindow::~TAnimateWindow() { formsWithAnimator().remove(m_form); }

bool TAnimateWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form && event->type() == QEvent::WindowStateChange) {
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        const bool was = change->oldState().testFlag(Qt::WindowMinimized);
        const bool is = m_form->windowState().testFlag(Qt::WindowMinimized);
        if (!was && is)
            emit minimized();
        else if (was && !is)
            emit restored();
    }
    return QObject::eventFilter(watched, event);
}
