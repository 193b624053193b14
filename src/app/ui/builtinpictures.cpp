#include "app/ui/builtinpictures.h"

#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace BuiltinPictures {
namespace {

// Time display colours: light mint segments on an almost black panel; unlit
// segments stay faintly visible, like a real LCD.
const QColor kLcdBack(0x0b, 0x13, 0x10);
const QColor kLcdOff(0x1b, 0x29, 0x22);
const QColor kLcdOn(0xa6, 0xf5, 0xc4);

QImage blank(QSize size, const QColor &fill, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(fill);
    return image;
}

// One segment from a to b (horizontal or vertical) with pointed ends.
QPolygonF segment(QPointF a, QPointF b, qreal half)
{
    if (qFuzzyCompare(a.y(), b.y())) {
        return QPolygonF({a,
                          {a.x() + half, a.y() - half},
                          {b.x() - half, b.y() - half},
                          b,
                          {b.x() - half, b.y() + half},
                          {a.x() + half, a.y() + half}});
    }
    return QPolygonF({a,
                      {a.x() + half, a.y() + half},
                      {b.x() + half, b.y() - half},
                      b,
                      {b.x() - half, b.y() - half},
                      {a.x() - half, a.y() + half}});
}

// Segment order a b c d e f g (top, top right, bottom right, bottom, bottom
// left, top left, middle), one bit each.
constexpr std::array<unsigned char, 10> kSegmentsOfDigit = {0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
                                                            0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111};

void drawButtonFace(QPainter &p, QSize size, bool pressed)
{
    const int w = size.width();
    const int h = size.height();
    QLinearGradient face(0, 0, 0, h);
    face.setColorAt(0, pressed ? QColor(0xa9, 0xae, 0xb6) : QColor(0xf7, 0xf8, 0xfa));
    face.setColorAt(1, pressed ? QColor(0xcd, 0xd1, 0xd7) : QColor(0xc9, 0xce, 0xd5));
    p.fillRect(0, 0, w, h, face);

    p.setRenderHint(QPainter::Antialiasing, false);
    // Raised: light top-left, dark bottom-right; pressed swaps them.
    const QColor light = pressed ? QColor(0x6c, 0x71, 0x79) : QColor(Qt::white);
    const QColor dark = pressed ? QColor(0xe4, 0xe6, 0xea) : QColor(0x80, 0x86, 0x8e);
    p.setPen(light);
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(dark);
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);
    p.setPen(QColor(0x30, 0x34, 0x3a));
    p.drawRect(0, 0, w - 1, h - 1);
    p.setRenderHint(QPainter::Antialiasing, true);
}

void drawGlyph(QPainter &p, ButtonPicture which)
{
    const QColor ink(0x1e, 0x27, 0x35);
    const QColor accent(0x17, 0x7a, 0x3c);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    auto triangle = [&](qreal tipX, qreal baseX, qreal top, qreal bottom) {
        p.drawPolygon(QPolygonF({{tipX, (top + bottom) / 2}, {baseX, top}, {baseX, bottom}}));
    };
    auto listLines = [&] {
        p.setPen(QPen(ink, 1.4));
        for (qreal y : {6.5, 10.0, 13.5})
            p.drawLine(QPointF(4, y), QPointF(9, y));
        p.drawLine(QPointF(10.5, 10), QPointF(14, 10));
        p.setPen(Qt::NoPen);
        triangle(15.5, 13, 8, 12);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(accent, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    };

    switch (which) {
    case ButtonPicture::Pre:
        p.drawRect(QRectF(6, 5, 2, 10));
        triangle(8, 13, 5, 15);
        triangle(13, 18, 5, 15);
        break;
    case ButtonPicture::Next:
        triangle(11, 6, 5, 15);
        triangle(16, 11, 5, 15);
        p.drawRect(QRectF(16, 5, 2, 10));
        break;
    case ButtonPicture::Play:
        p.setBrush(accent);
        triangle(30, 19, 4, 16);
        break;
    case ButtonPicture::Pause:
        p.drawRect(QRectF(8, 5, 3, 10));
        p.drawRect(QRectF(13, 5, 3, 10));
        break;
    case ButtonPicture::Stop:
        p.drawRect(QRectF(7.5, 5.5, 9, 9));
        break;
    case ButtonPicture::Winamp:
        listLines();
        p.drawPolyline(QPolygonF({{16, 6}, {17.2, 14}, {18.5, 9}, {19.8, 14}, {21, 6}}));
        break;
    case ButtonPicture::Scmpx:
        listLines();
        p.drawPolyline(QPolygonF({{21, 7},
                                  {20, 6},
                                  {17.5, 6},
                                  {16.5, 7},
                                  {16.5, 9},
                                  {17.5, 10},
                                  {20, 10},
                                  {21, 11},
                                  {21, 13},
                                  {20, 14},
                                  {17.5, 14},
                                  {16.5, 13}}));
        break;
    case ButtonPicture::Mci:
        p.drawRect(QRectF(5, 8, 3, 4));
        p.drawPolygon(QPolygonF({{8, 8}, {12, 5}, {12, 15}, {8, 12}}));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(accent, 1.3));
        p.drawArc(QRectF(10, 7, 6, 6), -60 * 16, 120 * 16);
        p.drawArc(QRectF(9, 4.5, 10, 11), -60 * 16, 120 * 16);
        break;
    case ButtonPicture::Count:
        break;
    }
}

void drawSheet(QPainter &p, QRectF r)
{
    const qreal ear = 3;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - ear, r.top());
    sheet.lineTo(r.right(), r.top() + ear);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x3c, 0x4c, 0x66), 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xd0), 1));
    for (qreal y = r.top() + 4; y < r.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void drawFolder(QPainter &p, QRectF r)
{
    QPainterPath folder;
    folder.moveTo(r.left(), r.top() + 2);
    folder.lineTo(r.left() + r.width() * 0.4, r.top() + 2);
    folder.lineTo(r.left() + r.width() * 0.4 + 2, r.top());
    folder.lineTo(r.right(), r.top());
    folder.lineTo(r.bottomRight());
    folder.lineTo(r.bottomLeft());
    folder.closeSubpath();
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(0xff, 0xd8, 0x6e));
    fill.setColorAt(1, QColor(0xe0, 0xa3, 0x2c));
    p.setPen(QPen(QColor(0x8a, 0x5e, 0x10), 1));
    p.setBrush(fill);
    p.drawPath(folder);
}

QPixmap toPixmap(const QImage &image) { return QPixmap::fromImage(image); }

} // namespace

QSize buttonSize(ButtonPicture which) { return which == ButtonPicture::Play ? kPlayButtonSize : kButtonSize; }

QString buttonFileName(ButtonPicture which, bool pressed)
{
    static constexpr std::array<const char *, kButtonPictureCount> names = {"pre",  "play",   "pause", "stop",
                                                                            "next", "winamp", "scmpx", "mci"};
    const auto index = static_cast<size_t>(which);
    if (index >= names.size())
        return {};
    return (pressed ? QStringLiteral("click_") : QString()) + QLatin1String(names[index]) + QStringLiteral(".bmp");
}

QString digitFileName(int digit) { return QString::number(digit) + QStringLiteral(".bmp"); }

QString separatorFileName() { return QStringLiteral("_.bmp"); }

QImage digitImage(int digit)
{
    QImage image = blank(kDigitSize, kLcdBack);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);

    const qreal l = 2.5, r = 11.5, t = 2.5, m = 10, b = 17.5, gap = 0.9, half = 1.2;
    const std::array<QPolygonF, 7> segments = {
        segment({l + gap, t}, {r - gap, t}, half), // a
        segment({r, t + gap}, {r, m - gap}, half), // b
        segment({r, m + gap}, {r, b - gap}, half), // c
        segment({l + gap, b}, {r - gap, b}, half), // d
        segment({l, m + gap}, {l, b - gap}, half), // e
        segment({l, t + gap}, {l, m - gap}, half), // f
        segment({l + gap, m}, {r - gap, m}, half), // g
    };
    const unsigned lit = (digit >= 0 && digit <= 9) ? kSegmentsOfDigit[static_cast<size_t>(digit)] : 0u;
    for (size_t i = 0; i < segments.size(); ++i) {
        p.setBrush((lit >> i) & 1u ? kLcdOn : kLcdOff);
        p.drawPolygon(segments[i]);
    }
    return image;
}

QImage separatorImage()
{
    QImage image = blank(kSeparatorSize, kLcdBack);
    QPainter p(&image);
    p.fillRect(2, 6, 2, 2, kLcdOn);
    p.fillRect(2, 13, 2, 2, kLcdOn);
    return image;
}

QImage buttonImage(ButtonPicture which, bool pressed)
{
    const QSize size = buttonSize(which);
    QImage image = blank(size, Qt::white);
    QPainter p(&image);
    drawButtonFace(p, size, pressed);
    if (pressed)
        p.translate(1, 1);
    drawGlyph(p, which);
    return image;
}

QImage lyricsStateImage(int state)
{
    QImage image = blank(kLyricsStateSize, Qt::transparent, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (state) {
    case 0:
        drawSheet(p, QRectF(3.5, 1.5, 9, 13));
        break;
    case 1:
        drawFolder(p, QRectF(1.5, 3.5, 13, 10));
        break;
    case 2:
        drawFolder(p, QRectF(0.5, 5.5, 11, 9));
        drawSheet(p, QRectF(6.5, 0.5, 8, 11));
        break;
    default:
        break;
    }
    return image;
}

QImage logoImage()
{
    QImage image = blank(kLogoSize, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // A soft glow behind the name.
    QRadialGradient glow(QPointF(180, 48), 170);
    glow.setColorAt(0, QColor(40, 70, 120, 150));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(image.rect(), glow);

    // A quiet spectrum along the bottom left; the version text sits at the right.
    for (int i = 0; i < 30; ++i) {
        const qreal level = 0.35 + 0.65 * std::fabs(std::sin(i * 0.55) * std::cos(i * 0.17));
        const qreal height = 4 + 18 * level;
        const qreal x = 18 + i * 6.3;
        QLinearGradient bar(0, 106 - height, 0, 106);
        bar.setColorAt(0, QColor(150, 120, 255, 200));
        bar.setColorAt(1, QColor(60, 200, 255, 90));
        p.fillRect(QRectF(x, 106 - height, 4, height), bar);
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(58);
    font.setBold(true);
    font.setItalic(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    const QString name = QStringLiteral("Tunovia");
    QPainterPath text;
    text.addText(0, 0, font, name);
    const QRectF bounds = text.boundingRect();
    text.translate(180 - bounds.center().x(), 70 - bounds.bottom());

    p.setPen(QPen(QColor(90, 160, 255, 70), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    QLinearGradient fill(text.boundingRect().topLeft(), text.boundingRect().bottomRight());
    fill.setColorAt(0, QColor(0x8c, 0xe6, 0xff));
    fill.setColorAt(0.5, QColor(0xb7, 0x9c, 0xff));
    fill.setColorAt(1, QColor(0xff, 0x9a, 0xd5));
    p.setPen(QPen(QColor(255, 255, 255, 180), 1));
    p.setBrush(fill);
    p.drawPath(text);

    // A thin rule under the name, fading at both ends.
    QLinearGradient rule(16, 0, 344, 0);
    rule.setColorAt(0, QColor(255, 255, 255, 0));
    rule.setColorAt(0.5, QColor(255, 255, 255, 160));
    rule.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(16, 77, 328, 1), rule);
    return image;
}

QImage iconImage()
{
    QImage image = blank(kIconSize, Qt::transparent, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient back(0, 0, 32, 32);
    back.setColorAt(0, QColor(0x2a, 0xb7, 0xe8));
    back.setColorAt(1, QColor(0x7a, 0x4c, 0xe0));
    p.setPen(QPen(QColor(0x20, 0x24, 0x50), 1));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);

    // Two beamed notes.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.save();
    p.translate(10, 23);
    p.rotate(-20);
    p.drawEllipse(QRectF(-4, -3, 8, 6));
    p.restore();
    p.save();
    p.translate(22, 20);
    p.rotate(-20);
    p.drawEllipse(QRectF(-4, -3, 8, 6));
    p.restore();
    p.drawRect(QRectF(12.6, 8, 1.8, 15));
    p.drawRect(QRectF(24.6, 5, 1.8, 15));
    p.drawPolygon(QPolygonF({{12.6, 8}, {26.4, 5}, {26.4, 8.5}, {12.6, 11.5}}));
    return image;
}

QPixmap digit(int d) { return toPixmap(digitImage(d)); }
QPixmap separator() { return toPixmap(separatorImage()); }
QPixmap button(ButtonPicture which, bool pressed) { return toPixmap(buttonImage(which, pressed)); }
QPixmap lyricsState(int state) { return toPixmap(lyricsStateImage(state)); }
QPixmap logo() { return toPixmap(logoImage()); }
QPixmap icon() { return toPixmap(iconImage()); }

bool writeDefaultSkins(const QString &timeSkinDir, const QString &buttonSkinDir)
{
    const QDir timeDir(timeSkinDir);
    const QDir buttonDir(buttonSkinDir);
    bool ok = QDir().mkpath(timeDir.path()) && QDir().mkpath(buttonDir.path());
    if (!ok)
        return false;
    for (int d = 0; d <= 9; ++d)
        ok = digitImage(d).save(timeDir.filePath(digitFileName(d)), "BMP") && ok;
    ok = separatorImage().save(timeDir.filePath(separatorFileName()), "BMP") && ok;
    for (ButtonPicture which : kAllButtonPictures) {
        for (bool pressed : {false, true})
            ok = buttonImage(which, pressed).save(buttonDir.filePath(buttonFileName(which, pressed)), "BMP") && ok;
    }
    return ok;
}

} // namespace BuiltinPictures
