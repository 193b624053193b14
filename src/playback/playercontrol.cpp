#include "playback/playercontrol.h"

#include "platform/launcher.h"
#include "platform/textcodec.h"

#include <algorithm>

PlayerControl::PlayerControl(const PlayerContext &context, SettingsStore &store, PlayerFactory factory)
    : m_context(context), m_store(store), m_factory(std::move(factory))
{
    m_startWatch.setInterval(WindowWatchMs);
    QObject::connect(&m_startWatch, &QTimer::timeout, &m_startWatch, [this] {
        if (m_started->isRunning()) {
            m_startWatch.stop();
            applyVolume();
        } else if (m_startClock.elapsed() >= WindowWaitMs) {
            m_startWatch.stop();
        }
    });
}

PlayerControl::~PlayerControl() = default;

Player &PlayerControl::player(PlayerKind kind)
{
    std::unique_ptr<Player> &slot = m_players[size_t(kind)];
    if (!slot)
        slot = m_factory(kind, m_context);
    return *slot;
}

// ---- rules ----

int PlayerControl::volumeValue(int position)
{
    // Integer form of position x 0.1 x 255, truncated; exact for every step.
    return std::clamp(position, 0, 10) * 255 / 10;
}

QByteArray PlayerControl::playlistBytes(const QStringList &paths)
{
    QString content;
    for (const QString &path : paths)
        content += path + QStringLiteral("\r\n");
    return text::encodeForSystem(content);
}

int PlayerControl::showWindowValue(const RadioGroup &startMode)
{
    if (startMode.isOn(1))
        return Launcher::Minimize;
    if (startMode.isOn(2))
        return Launcher::Hide;
    return Launcher::Normal;
}

PlayerKind PlayerControl::chosenPlayer() const
{
    if (m_context.dialog.usesScmpx())
        return PlayerKind::Scmpx;
    if (m_context.dialog.usesBuiltin())
        return PlayerKind::Builtin;
    return PlayerKind::Winamp;
}

// ---- hand-over ----

void PlayerControl::awaitStartedWindow(Player &started)
{
    m_started = &started;
    m_startClock.start();
    m_startWatch.start();
}

void PlayerControl::handOver()
{
    m_startWatch.stop();
    m_store.loadSettings(m_context.dialog);
    const PlayerKind chosenKind = chosenPlayer();
    Player &chosen = player(chosenKind);
    if (!chosen.canHandOver())
        return;
    // The players that are not applied stop, in the order of their kinds.
    const PlayerKind applied = m_context.host.appliedPlayer();
    for (int kind = 0; kind < kPlayerKindCount; ++kind) {
        if (PlayerKind(kind) != applied)
            player(PlayerKind(kind)).quit();
    }
    const Player::HandOver result =
        chosen.handOver(m_context.host.selectedPaths(), showWindowValue(m_context.dialog.startMode));
    if (!result.ok)
        return;
    if (result.awaitWindow)
        awaitStartedWindow(chosen);
    if (!result.playlistFile.isEmpty())
        appliedPlayer().playlistWritten(result.playlistFile);
    applyVolume();
}

// ---- transport and quit ----

void PlayerControl::transport(int button)
{
    if (button < 1 || button > 5)
        return;
    appliedPlayer().transport(button, m_context.host.modifiers());
}

void PlayerControl::quit() { appliedPlayer().quit(); }

// ---- player choice ----

void PlayerControl::choosePlayer(PlayerKind player)
{
    m_context.dialog.player.checked = int(player);
    const ProfileWrite result = m_store.storePlayerChoice(m_context.dialog);
    if (!result.ok()) {
        // A failed write ends the command; the window keeps its player.
        m_context.host.storeError(result);
        return;
    }
    m_context.host.applySettings();
}

void PlayerControl::cyclePlayer()
{
    if (m_context.dialog.usesWinamp())
        choosePlayer(PlayerKind::Scmpx);
    else if (m_context.dialog.usesScmpx())
        choosePlayer(PlayerKind::Builtin);
    else
        choosePlayer(PlayerKind::Winamp);
}

// ---- volume ----

void PlayerControl::applyVolume() { appliedPlayer().setVolume(volumeValue(m_context.host.volumePosition())); }

void PlayerControl::setVolumeAndApply(int position)
{
    m_context.host.setVolumePosition(std::clamp(position, 0, 10));
    applyVolume();
}

void PlayerControl::volumePreset(int which)
{
    const std::array<int, 3> presets{m_context.dialog.volA, m_context.dialog.volB, m_context.dialog.volC};
    if (which < 0 || which > 2)
        return;
    // A preset thumb higher up (smaller position) means louder.
    setVolumeAndApply(10 - presets[size_t(which)]);
}

void PlayerControl::volumeDown()
{
    const int position = m_context.host.volumePosition();
    setVolumeAndApply(position > 0 ? position - 1 : position);
}

void PlayerControl::volumeUp()
{
    const int position = m_context.host.volumePosition();
    setVolumeAndApply(position < 10 ? position + 1 : position);
}
