#include "playback/builtinplayback.h"

#include "platform/mediadevice.h"
#include "platform/paths.h"
#include "playback/builtinplayer.h"
#include "playback/windowplayers.h"

BuiltinPlayerSource::BuiltinPlayerSource(PlayerFailureSink &sink, QTimer &tick) : m_sink(sink), m_tick(tick) {}

BuiltinPlayerSource::~BuiltinPlayerSource() = default;

void BuiltinPlayerSource::setDevice(std::unique_ptr<MediaDevice> device)
{
    if (!m_player)
        m_device = std::move(device);
}

BuiltinPlayer &BuiltinPlayerSource::player()
{
    if (!m_player) {
        if (!m_device)
            m_device = createMediaDevice(MediaDeviceKind::Real);
        m_player = std::make_unique<BuiltinPlayer>(*m_device, m_sink, &m_tick);
    }
    return *m_player;
}

void BuiltinPlayerSource::tick()
{
    if (m_player)
        m_player->tick();
}

Player::HandOver BuiltinPlayback::handOver(const QStringList &paths, int)
{
    m_source.player().handOver(paths);
    return {};
}

void BuiltinPlayback::transport(int button, Qt::KeyboardModifiers)
{
    BuiltinPlayer *player = m_source.existing();
    if (!player)
        return; // never started: transport does nothing
    switch (button) {
    case 1:
        player->previous();
        break;
    case 2:
        player->playRestart();
        break;
    case 3:
        player->pauseToggle();
        break;
    case 4:
        player->stop();
        break;
    case 5:
        player->next();
        break;
    default:
        break;
    }
}

void BuiltinPlayback::quit()
{
    if (BuiltinPlayer *player = m_source.existing())
        player->stopAndClose();
}

void BuiltinPlayback::setVolume(int value) { ScmpxPlayer::sendVolume(m_context, value); }

std::optional<Player::Time> BuiltinPlayback::time()
{
    const BuiltinPlayer *player = m_source.existing();
    if (!player || !player->isStarted())
        return std::nullopt;
    return Time{player->device().position(), player->device().length() / 1000};
}

PlayingFile BuiltinPlayback::playingFile(QString &marker)
{
    PlayingFile out;
    const QString entry = m_source.existing() ? m_source.existing()->currentFile() : QString();
    out.label = entry;
    out.state = PlayingFile::State::Same;
    if (entry.compare(marker, Qt::CaseInsensitive) != 0) {
        marker = entry;
        out.state = PlayingFile::State::Changed;
        out.path = entry;
        out.name = paths::namePart(entry);
    }
    return out;
}

qint64 BuiltinPlayback::lyricsPosition() { return m_source.existing() ? m_source.existing()->device().position() : 0; }
