#pragma once
// A slider whose selection-range band is off unless asked for.
#include <QSlider>

class TDisRangeTrackBar : public QSlider {
    Q_OBJECT
    Q_PROPERTY(bool EnableSelRange READ enableSelRange WRITE setEnableSelRange)
    Q_PROPERTY(int SelStart READ selStart WRITE setSelStart)
    Q_PROPERTY(int SelEnd READ selEnd WRITE setSelEnd)

public:
    explicit TDisRangeTrackBar(QWidget *parent = nullptr);
    explicit TDisRangeTrackBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    bool enableSelRange() const { return m_enableSelRange; }
    // Takes effect on the live control; nothing is recreated.
    void setEnableSelRange(bool enable);

    int selStart() const { return m_selStart; }
    int selEnd() const { return m_selEnd; }
    void setSelStart(int value);
    void setSelEnd(int value);
    void setSelection(int start, int end);

    // Where the band is drawn; empty when no band shows.
    QRect selectionBandRect() const;
    QColor selectionBandColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_enableSelRange = false;
    int m_selStart = 0;
    int m_selEnd = 0;
};
