#include "platform/joypadpoll.h"

#include <QScopedValueRollback>

void JoypadPoll::tick(const QString &minText, const QString &maxText, const std::function<void(int)> &run)
{
    if (m_running)
        return;
    if (!m_joystick)
        m_joystick = createSdlJoystick();
    const std::optional<JoystickState> state = m_joystick->read();
    if (!state)
        return;
    const int binding = joypad::bindingFor(*state, minText, maxText);
    if (binding != 0) {
        const QScopedValueRollback running(m_running, true);
        run(binding);
    }
}
