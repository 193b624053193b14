#include "controls/ui/decorlabels.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

UrlOpener defaultUrlOpener()
{
    return [](const QUrl &url) { QDesktopServices::openUrl(url); };
}

TExLabel::TExLabel(const QString &text, QWidget *parent) : QLabel(text, parent) { setAccessibleName(text); }

void TExLabel::setDepth(int depth)
{
    m_depth = qMax(0, depth);
    update();
}

void TExLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = contentsRect();
    const int flags = int(alignment()) | Qt::TextSingleLine;
    p.setFont(font());
    p.setPen(Qt::white);
    p.drawText(r.translated(-m_depth, -m_depth), flags, text());
    p.setPen(palette().color(QPalette::Mid));
    p.drawText(r.translated(m_depth, m_depth), flags, text());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r, flags, text());
}

namespace {
void styleAsLink(QLabel *label)
{
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::TabFocus);
}
} // namespace

TLinkBase::TLinkBase(const QUrl &target, QWidget *parent)
    : QLabel(parent), m_target(target), m_opener(defaultUrlOpener())
{
    styleAsLink(this);
    setAccessibleDescription(target.toString());
}

void TLinkBase::activate()
{
    emit clicked();
    if (m_opener)
        m_opener(m_target);
}

void TLinkBase::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        activate();
    QLabel::mouseReleaseEvent(event);
}

TLinkLabel::TLinkLabel(const QString &text, const QUrl &target, QWidget *parent) : TLinkBase(target, parent)
{
    setText(text);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0x00, 0x33, 0xcc));
    setPalette(pal);
    setAccessibleName(text);
}

void TLinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        activate();
        return;
    }
    QLabel::keyPressEvent(event);
}

TLinkImage::TLinkImage(const QPixmap &picture, const QUrl &target, QWidget *parent) : TLinkBase(target, parent)
{
    setPixmap(picture);
}
