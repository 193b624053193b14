#include "app/ui/waitform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {
// Only the caption bar should show; window systems refuse a zero height.
constexpr QSize kClientSize(147, 1);
} // namespace

TWaitF::TWaitF(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("WaitF"));
    setWindowTitle(QStringLiteral("Now Loading... Please wait..."));
    setFixedSize(kClientSize);
    setSizeGripEnabled(false);
}

void TWaitF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->geometry().center() - frameGeometry().center() + pos());
}

void TWaitF::popUp()
{
    setModal(false);
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
