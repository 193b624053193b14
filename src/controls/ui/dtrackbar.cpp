#include "controls/ui/dtrackbar.h"

#include <QStyleOptionSlider>
#include <QStylePainter>

#include <utility>

TDisRangeTrackBar::TDisRangeTrackBar(QWidget *parent) : TDisRangeTrackBar(Qt::Horizontal, parent) {}

TDisRangeTrackBar::TDisRangeTrackBar(Qt::Orientation orientation, QWidget *parent) : QSlider(orientation, parent) {}

void TDisRangeTrackBar::setEnableSelRange(bool enable)
{
    if (m_enableSelRange == enable)
        return;
    m_enableSelRange = enable;
    update();
}

void TDisRangeTrackBar::setSelStart(int value)
{
    m_selStart = value;
    update();
}

void TDisRangeTrackBar::setSelEnd(int value)
{
    m_selEnd = value;
    update();
}

void TDisRangeTrackBar::setSelection(int start, int end)
{
    m_selStart = start;
    m_selEnd = end;
    update();
}

QRect TDisRangeTrackBar::selectionBandRect() const
{
    if (!m_enableSelRange)
        return {};
    const int lo = qBound(minimum(), qMin(m_selStart, m_selEnd), maximum());
    const int hi = qBound(minimum(), qMax(m_selStart, m_selEnd), maximum());
    if (lo >= hi)
        return {};

    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const bool horizontal = orientation() == Qt::Horizontal;
    // The handle's centre travels over the groove minus one handle length.
    const int handleLen = horizontal ? handle.width() : handle.height();
    const int span = (horizontal ? groove.width() : groove.height()) - handleLen;
    if (span <= 0)
        return {};
    auto pos = [&](int value) {
        return QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, opt.upsideDown) + handleLen / 2;
    };
    int a = pos(lo);
    int b = pos(hi);
    if (a > b)
        std::swap(a, b);
    const int thickness = 6; // a little taller than the groove so it stands out
    if (horizontal) {
        const int y = groove.center().y() - thickness / 2;
        return QRect(groove.left() + a, y, b - a + 1, thickness);
    }
    const int x = groove.center().x() - thickness / 2;
    return QRect(x, groove.top() + a, thickness, b - a + 1);
}

QColor TDisRangeTrackBar::selectionBandColor() const
{
    // Darker than the highlight that some styles use for the filled groove.
    return palette()
        .color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Highlight)
        .darker(140)
        .toRgb();
}

void TDisRangeTrackBar::paintEvent(QPaintEvent *event)
{
    const QRect band = selectionBandRect();
    if (band.isEmpty()) {
        QSlider::paintEvent(event);
        return;
    }
    // Groove first, then the band, then the handle on top of it.
    QStylePainter p(this);
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    p.drawComplexControl(QStyle::CC_Slider, opt);
    const QColor fill = selectionBandColor();
    p.fillRect(band, fill);
    p.setPen(fill.darker(150));
    p.drawRect(band.adjusted(0, 0, -1, -1));
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_SliderHandle;
    p.drawComplexControl(QStyle::CC_Slider, opt);
}
