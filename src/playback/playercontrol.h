#pragma once
// Control of the players: handing the selected tracks over, the transport
// commands, quitting, the player choice and the volume. Widget-free: the
// main window supplies what it shows (the applied player, the selection,
// the volume bar) through PlayerHost; each command goes to the applied
// player (or, for a hand-over, the chosen one) through the Player interface.
#include "config/settingsstore.h"
#include "playback/player.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>

using PlayerFactory = std::function<std::unique_ptr<Player>(PlayerKind, PlayerContext &)>;

class PlayerControl {
public:
    // The players are made by `factory` when first needed.
    PlayerControl(const PlayerContext &context, SettingsStore &store, PlayerFactory factory = &makePlayer);
    ~PlayerControl();
    Q_DISABLE_COPY_MOVE(PlayerControl)

    // Reloads the settings, checks the chosen player, stops the others and
    // hands the tracks to the chosen one, then applies the volume. A player
    // that was not running yet gets the volume again once its window
    // appears (looked for every WindowWatchMs for up to WindowWaitMs).
    void handOver();
    static constexpr int WindowWatchMs = 100;
    static constexpr int WindowWaitMs = 10000;
    // button: 1 previous, 2 play, 3 pause, 4 stop, 5 next.
    void transport(int button);
    void quit();

    void choosePlayer(PlayerKind player);
    void cyclePlayer(); // Winamp -> SCMPX -> built-in -> Winamp

    // Sends the volume bar's position to the applied player.
    void applyVolume();
    void volumePreset(int which); // 0: A, 1: B, 2: C
    void volumeDown();
    void volumeUp();

    Player &player(PlayerKind kind);
    Player &appliedPlayer() { return player(m_context.host.appliedPlayer()); }

    // Pure rules, shared with the tests.
    static int volumeValue(int position); // 0..10 -> 0..255, truncated
    // The playlist file's content: one path per line, CR LF; CP932 when every
    // character has a CP932 form, otherwise UTF-8 so no path is lost.
    static QByteArray playlistBytes(const QStringList &paths);
    static int showWindowValue(const RadioGroup &startMode);

private:
    PlayerKind chosenPlayer() const;
    void setVolumeAndApply(int position);
    void awaitStartedWindow(Player &started);

    PlayerContext m_context;
    SettingsStore &m_store;
    PlayerFactory m_factory;
    std::array<std::unique_ptr<Player>, kPlayerKindCount> m_players;
    // Waits for the window of a player that the hand-over started.
    QTimer m_startWatch;
    QElapsedTimer m_startClock;
    Player *m_started = nullptr;
};
