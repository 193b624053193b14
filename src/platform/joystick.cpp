#include "platform/joystick.h"

#include <SDL.h>

namespace {

class SdlJoystick final : public Joystick {
public:
    SdlJoystick()
    {
        // SDL must leave Ctrl+C and the desktop's signals to Qt.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        m_ready = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
        if (m_ready) {
            // State is polled; queued events would only pile up unread.
            SDL_JoystickEventState(SDL_IGNORE);
        }
    }

    ~SdlJoystick() override
    {
        if (m_joystick)
            SDL_JoystickClose(m_joystick);
        if (m_ready)
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    SdlJoystick(const SdlJoystick &) = delete;
    SdlJoystick &operator=(const SdlJoystick &) = delete;

    std::optional<JoystickState> read() override
    {
        if (!m_ready)
            return std::nullopt;
        // Also looks for devices added or removed since the last poll.
        SDL_JoystickUpdate();
        if (m_joystick && !SDL_JoystickGetAttached(m_joystick)) {
            SDL_JoystickClose(m_joystick);
            m_joystick = nullptr;
        }
        if (!m_joystick && SDL_NumJoysticks() > 0)
            m_joystick = SDL_JoystickOpen(0);
        if (!m_joystick)
            return std::nullopt;

        JoystickState state;
        auto axis = [this](int i) {
            return SDL_JoystickNumAxes(m_joystick) > i ? int(SDL_JoystickGetAxis(m_joystick, i)) + 32768 : 32768;
        };
        state.x = axis(0);
        state.y = axis(1);
        const int buttons = SDL_JoystickNumButtons(m_joystick);
        for (int i = 0; i < 4; ++i)
            state.buttons[size_t(i)] = i < buttons && SDL_JoystickGetButton(m_joystick, i) != 0;
        return state;
    }

private:
    bool m_ready = false;
    SDL_Joystick *m_joystick = nullptr;
};

} // namespace

std::unique_ptr<Joystick> createSdlJoystick() { return std::make_unique<SdlJoystick>(); }

namespace joypad {

int threshold(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : fallback;
}

int bindingFor(const JoystickState &state, const QString &minText, const QString &maxText)
{
    for (int i = 0; i < 4; ++i) {
        if (state.buttons[size_t(i)])
            return 5 + i;
    }
    if (state.x <= threshold(minText, kDefaultMin))
        return 3;
    if (state.x >= threshold(maxText, kDefaultMax))
        return 4;
    if (state.y <= threshold(minText, kDefaultMin))
        return 1;
    if (state.y >= threshold(maxText, kDefaultMax))
        return 2;
    return 0;
}

} // namespace joypad
