#pragma once
// The built-in player as one of the players the window drives. The player
// itself (and its media device) is made on the first hand-over, so that a
// window that never plays opens no audio.
#include "playback/player.h"

#include <memory>

class BuiltinPlayer;
class MediaDevice;
class PlayerFailureSink;
class QTimer;

// Holds the built-in player once it is made.
class BuiltinPlayerSource {
public:
    // `tick` is the player's 500 ms timer; its owner calls tick() on it.
    BuiltinPlayerSource(PlayerFailureSink &sink, QTimer &tick);
    ~BuiltinPlayerSource();
    Q_DISABLE_COPY_MOVE(BuiltinPlayerSource)

    // Puts `device` behind the player; only before the player is made.
    void setDevice(std::unique_ptr<MediaDevice> device);
    BuiltinPlayer &player(); // made on first use
    BuiltinPlayer *existing() const { return m_player.get(); }
    void tick();

private:
    PlayerFailureSink &m_sink;
    QTimer &m_tick;
    std::unique_ptr<MediaDevice> m_device;
    std::unique_ptr<BuiltinPlayer> m_player;
};

class BuiltinPlayback final : public Player {
public:
    BuiltinPlayback(PlayerContext &context, BuiltinPlayerSource &source) : m_context(context), m_source(source) {}

    // An empty hand-over keeps the built-in playlist and restarts from it.
    HandOver handOver(const QStringList &paths, int showWindow) override;
    bool isRunning() const override { return m_source.existing() != nullptr; }
    // Does nothing until the player has been made.
    void transport(int button, Qt::KeyboardModifiers modifiers) override;
    void quit() override;
    // The built-in player's volume is not controlled; SCMPX gets it then too.
    void setVolume(int value) override;
    std::optional<Time> time() override;
    // The playlist entry.
    PlayingFile playingFile(QString &marker) override;
    qint64 lyricsPosition() override;

private:
    PlayerContext &m_context;
    BuiltinPlayerSource &m_source;
};
