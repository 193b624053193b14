#include "app/ui/titleform.h"

#include "app/ui/builtinpictures.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

TTitleF::TTitleF(int &tickCounter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), LogoImg(new QLabel(this)),
      VersionLbl(new QLabel(QStringLiteral("Version 4.30"), this)), Timer1(new QTimer(this)), m_tickCounter(tickCounter)
{
    setObjectName(QStringLiteral("TitleF"));
    setWindowTitle(QStringLiteral("Title"));
    setFixedSize(BuiltinPictures::kLogoSize);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    LogoImg->setObjectName(QStringLiteral("LogoImg"));
    LogoImg->setGeometry(QRect(QPoint(0, 0), BuiltinPictures::kLogoSize));
    LogoImg->setPixmap(BuiltinPictures::logo());
    LogoImg->setAccessibleName(QStringLiteral("Tunovia"));

    VersionLbl->setObjectName(QStringLiteral("VersionLbl"));
    VersionLbl->setGeometry(215, 84, 129, 12);
    VersionLbl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    VersionLbl->setAttribute(Qt::WA_TranslucentBackground);
    QPalette labelPal = VersionLbl->palette();
    labelPal.setColor(QPalette::WindowText, Qt::white);
    VersionLbl->setPalette(labelPal);
    QFont small = VersionLbl->font();
    small.setPixelSize(11);
    VersionLbl->setFont(small);
    VersionLbl->raise();

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TTitleF::Timer1Timer);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TTitleF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->geometry().center() - rect().center());
    if (Tag != 0)
        Timer1->start();
}

void TTitleF::hideEvent(QHideEvent *event)
{
    // However the window went, the tick counter must not run on.
    Timer1->stop();
    QDialog::hideEvent(event);
}

void TTitleF::keyPressEvent(QKeyEvent *event)
{
    // The title stays its full time; Esc must not cut it short.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TTitleF::Timer1Timer()
{
    const int ticks = m_tickCounter;
    ++m_tickCounter;
    if (ticks >= 10) {
        Timer1->stop();
        close();
    }
}
