#pragma once
// Colours as the settings file stores them: 0x00BBGGRR, or a negative system
// colour code (0x80000000 | index) for the desktop's own colours.
#include <QColor>

namespace wincolor {

inline constexpr int kWindow = int(0xFF000005);     // list background
inline constexpr int kWindowText = int(0xFF000008); // list text

// `systemWindow` and `systemText` stand in for the desktop's colours.
QColor toColor(int value, const QColor &systemWindow, const QColor &systemText);
int fromColor(const QColor &color);

} // namespace wincolor
