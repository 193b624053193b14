// Players, volume, the playback clock, the lyrics window and the joypad, as
// the main window drives them (see MainPlayers).
#include "app/ui/mainform.h"

#include "app/ui/mainmenus.h"
#include "app/ui/mainplayers.h"
#include "controls/ui/dtrackbar.h"
#include "lyrics/ui/lyricsform.h"
#include "platform/mediadevice.h"
#include "tracks/trackmodel.h"

MainPlayers &TTunoviaF::players()
{
    if (!m_players)
        m_players = std::make_shared<MainPlayers>(*this);
    return *m_players;
}
PlayerControl &TTunoviaF::playerControl() { return players().control; }

void TTunoviaF::connectPlayerControls()
{
    if (std::exchange(m_volumeBarConnected, true))
        return;
    // Only the user's moves reach the player here: positions set by the
    // program (start-up, presets, up/down) are applied by their own command,
    // once each. The new position is not the value yet while the action is
    // reported.
    connect(volumeBar(), &QAbstractSlider::actionTriggered, this,
            [this](int) { QTimer::singleShot(0, this, &TTunoviaF::VolumeBarChange); });
}

void TTunoviaF::VolumeBarChange() { playerControl().applyVolume(); }
void TTunoviaF::SpeedButton1Click() { playerControl().transport(1); }
void TTunoviaF::SpeedButton2Click() { playerControl().transport(2); }
void TTunoviaF::SpeedButton3Click() { playerControl().transport(3); }
void TTunoviaF::SpeedButton4Click() { playerControl().transport(4); }
void TTunoviaF::SpeedButton5Click() { playerControl().transport(5); }
void TTunoviaF::MP3ListViewDblClick() { playerControl().handOver(); }
void TTunoviaF::PlayerQuitMnuClick() { playerControl().quit(); }
void TTunoviaF::UseWinampMnuClick() { playerControl().choosePlayer(PlayerKind::Winamp); }
void TTunoviaF::UseScmpxMnuClick() { playerControl().choosePlayer(PlayerKind::Scmpx); }
void TTunoviaF::UseMciMnuClick() { playerControl().choosePlayer(PlayerKind::Builtin); }
void TTunoviaF::UseChangeMnuClick() { playerControl().cyclePlayer(); }
void TTunoviaF::VolDownMnuClick() { playerControl().volumeDown(); }
void TTunoviaF::VolUpMnuClick() { playerControl().volumeUp(); }
void TTunoviaF::VolAMnuClick() { playerControl().volumePreset(0); }
void TTunoviaF::VolBMnuClick() { playerControl().volumePreset(1); }
void TTunoviaF::VolCMnuClick() { playerControl().volumePreset(2); }

// ---- the built-in player, the clock and the lyrics window ----

BuiltinPlayer *TTunoviaF::builtinPlayer() { return &players().builtin.player(); }
void TTunoviaF::setMediaDevice(std::unique_ptr<MediaDevice> device) { players().builtin.setDevice(std::move(device)); }
void TTunoviaF::MciTimerTimer() { players().builtin.tick(); }
void TTunoviaF::builtinHandOver(const QStringList &paths) { builtinPlayer()->handOver(paths); }
void TTunoviaF::builtinStopAndClose() { playerControl().player(PlayerKind::Builtin).quit(); }
void TTunoviaF::builtinTransport(int button) { playerControl().player(PlayerKind::Builtin).transport(button, {}); }
void TTunoviaF::DrawTimerMMTimer() { players().clock.tick(); }
void TTunoviaF::KLyricsONOFF1Click() { players().clock.toggleLyrics(m_DrawTimer); }

const QString &TTunoviaF::lastFileMarker() const
{
    static const QString none;
    return m_players ? m_players->clock.lastFileMarker() : none;
}

void TTunoviaF::connectClockAndLyrics()
{
    if (std::exchange(m_clockConnected, true))
        return;
    connect(&m_DrawTimer, &QTimer::timeout, this, &TTunoviaF::DrawTimerMMTimer);
    connect(&m_MciTimer, &QTimer::timeout, this, &TTunoviaF::MciTimerTimer);
}

void TTunoviaF::createLyricsWindow()
{
    if (m_LyricsF)
        return;
    const auto infoLines = [this](int row) {
        const TrackModel *model = playingModel();
        return model ? model->trackInfoLines(row) : QStringList();
    };
    LyricsFormContext context{m_services.prompts,  m_services.launcher,
                              m_services.settings, m_dialog,
                              m_lyricsWindow,      m_lyricsTag,
                              infoLines,           [this](const ProfileWrite &result) { reportStoreError(result); }};
    m_LyricsF = new TLyricsF(std::move(context), this);
}

void TTunoviaF::showLyricsWindow()
{
    if (m_LyricsF)
        m_LyricsF->showWindow();
}

void TTunoviaF::closeLyricsWindow()
{
    if (m_LyricsF)
        m_LyricsF->closeWindow();
    else
        m_lyricsTag = 0;
}

// ---- joypad ----

void TTunoviaF::connectJoypad()
{
    connect(&m_JoyTimer, &QTimer::timeout, this, &TTunoviaF::JoyTimerTimer, Qt::UniqueConnection);
}

void TTunoviaF::setJoystick(std::shared_ptr<Joystick> joystick) { m_joypad.setJoystick(std::move(joystick)); }

void TTunoviaF::JoyTimerTimer()
{
    m_joypad.tick(m_dialog.joyMin, m_dialog.joyMax, [this](int binding) { runJoypadBinding(binding); });
}

void TTunoviaF::runJoypadBinding(int n)
{
    if (n >= 1 && n <= 8)
        runJoypadAction(m_dialog.joyBindings[size_t(n - 1)]);
}

void TTunoviaF::runJoypadAction(int action)
{
    if (const auto command = mainmenus::joypadCommand(action))
        (this->*command)();
}
