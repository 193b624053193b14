#include "controls/ui/outlineanimation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRubberBand>
#include <QThread>

namespace OutlineAnimation {

QRect stepRect(const QRect &from, const QRect &to, int step, int steps)
{
    if (steps <= 0)
        return to;
    step = qBound(0, step, steps);
    auto lerp = [&](int a, int b) { return a + static_cast<int>(static_cast<qint64>(b - a) * step / steps); };
    return QRect(QPoint(lerp(from.left(), to.left()), lerp(from.top(), to.top())),
                 QSize(lerp(from.width(), to.width()), lerp(from.height(), to.height())));
}

bool isSuppressed()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void run(const QRect &from, const QRect &to, int totalMs, int steps)
{
    if (isSuppressed() || from.isEmpty() || to.isEmpty() || steps <= 0)
        return;
    // A rubber band is a top-level outline that needs no compositor.
    QRubberBand band(QRubberBand::Rectangle);
    band.setWindowFlag(Qt::WindowStaysOnTopHint);
    band.setGeometry(from);
    band.show();
    QElapsedTimer clock;
    clock.start();
    for (int step = 1; step <= steps; ++step) {
        band.setGeometry(stepRect(from, to, step, steps));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const qint64 due = static_cast<qint64>(totalMs) * step / steps;
        const qint64 wait = due - clock.elapsed();
        if (wait > 0)
            QThread::msleep(static_cast<unsigned long>(wait));
    }
    band.hide();
}

} // namespace OutlineAnimation
