#include "controls/ui/screenfit.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace screenfit {

namespace {

qint64 squaredDistance(const QPoint &point, const QRect &area)
{
    const qint64 dx = point.x() < area.left()    ? area.left() - point.x()
                      : point.x() > area.right() ? point.x() - area.right()
                                                 : 0;
    const qint64 dy = point.y() < area.top()      ? area.top() - point.y()
                      : point.y() > area.bottom() ? point.y() - area.bottom()
                                                  : 0;
    return dx * dx + dy * dy;
}

int clampStart(int start, int length, int areaStart, int areaLength)
{
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

} // namespace

QRect ontoNearestArea(const QRect &frame, const QList<QRect> &areas)
{
    if (areas.isEmpty() || frame.isEmpty())
        return frame;
    QRegion screens;
    for (const QRect &area : areas)
        screens += area;
    // Spread over two screens side by side is still on screen.
    if (QRegion(frame).subtracted(screens).isEmpty())
        return frame;

    const QRect *best = nullptr;
    qint64 bestOverlap = 0;
    for (const QRect &area : areas) {
        const QRect common = area.intersected(frame);
        const qint64 overlap = qint64(common.width()) * common.height();
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &area;
        }
    }
    if (!best) {
        qint64 nearest = std::numeric_limits<qint64>::max();
        for (const QRect &area : areas) {
            const qint64 d = squaredDistance(frame.center(), area);
            if (d < nearest) {
                nearest = d;
                best = &area;
            }
        }
    }
    QRect moved = frame;
    moved.moveTo(clampStart(frame.left(), frame.width(), best->left(), best->width()),
                 clampStart(frame.top(), frame.height(), best->top(), best->height()));
    return moved;
}

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

QRect fitClient(const QWidget *window, const QRect &client)
{
    // Before the window manager has framed the window the margins are zero.
    const QRect frameNow = window->frameGeometry();
    const QRect clientNow = window->geometry();
    const QMargins margins(clientNow.left() - frameNow.left(), clientNow.top() - frameNow.top(),
                           frameNow.right() - clientNow.right(), frameNow.bottom() - clientNow.bottom());
    return ontoNearestArea(client.marginsAdded(margins), screenAreas()).marginsRemoved(margins);
}

} // namespace screenfit
