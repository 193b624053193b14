#include "config/wincolor.h"

namespace wincolor {

QColor toColor(int value, const QColor &systemWindow, const QColor &systemText)
{
    if (value < 0) {
        // Window (5) and its relatives are backgrounds; the rest draw text.
        const int index = value & 0xFF;
        return (index == 5 || index == 15) ? systemWindow : systemText;
    }
    const auto v = static_cast<unsigned>(value);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int fromColor(const QColor &color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

} // namespace wincolor
