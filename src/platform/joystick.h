#pragma once
// Joystick 1 as the joypad timer polls it, behind an interface that tests replace.
#include <QString>
#include <array>
#include <memory>
#include <optional>

struct JoystickState {
    int x = 32768;                 // 0 (left) ... 65535 (right)
    int y = 32768;                 // 0 (up) ... 65535 (down)
    std::array<bool, 4> buttons{}; // buttons 1-4
};

class Joystick {
public:
    virtual ~Joystick() = default;
    // The current position and buttons; nothing when no joystick is attached.
    virtual std::optional<JoystickState> read() = 0;
};

// The first joystick through SDL; a pad plugged in later is picked up by the
// next read. Never null: without SDL every read gives nothing.
std::unique_ptr<Joystick> createSdlJoystick();

namespace joypad {

inline constexpr int kDefaultMin = 10000;
inline constexpr int kDefaultMax = 50000;

// A threshold text as an integer; `fallback` when it is not a number (empty,
// words, beyond the integer range).
int threshold(const QString &text, int fallback);

// Which binding (1 up, 2 down, 3 left, 4 right, 5-8 buttons 1-4) one poll
// fires, 0 for none. Buttons win over directions, lower numbers over higher,
// left/right over up/down; the limits count as pushed.
int bindingFor(const JoystickState &state, const QString &minText, const QString &maxText);

} // namespace joypad
