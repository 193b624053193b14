#pragma once
// One tick of the joypad timer: reads joystick 1 and runs the binding that
// fires. A message box opened by an action runs its own event loop, where the
// timer goes on ticking; while an action runs, ticks do nothing, so a held
// button does not stack one box per tick.
#include "platform/joystick.h"

#include <functional>
#include <memory>

class JoypadPoll {
public:
    // Replaces the joystick (tests); the first tick otherwise opens the SDL one.
    void setJoystick(std::shared_ptr<Joystick> joystick) { m_joystick = std::move(joystick); }
    // Calls `run` with the binding (1-8) that the joystick's state fires, if any.
    void tick(const QString &minText, const QString &maxText, const std::function<void(int)> &run);

private:
    std::shared_ptr<Joystick> m_joystick;
    bool m_running = false; // an action is still running
};
