#include "standin/playerengine.h"

#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/textcodec.h"
#include "playback/playermessages.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

namespace {

constexpr int kTickMs = 100;
constexpr qint64 kSkipMs = 5000;

QString decodePathBytes(const QByteArray &bytes)
{
    // Tunovia sends file-system bytes; a list made on Windows may send CP932.
    return text::isValidUtf8(bytes) ? QFile::decodeName(bytes) : text::fromCp932(bytes);
}

} // namespace

PlayerEngine::PlayerEngine(PlayerMode mode, std::unique_ptr<MediaDevice> device, QObject *parent)
    : QObject(parent), m_mode(mode), m_device(std::move(device))
{
    m_ticker.setInterval(kTickMs);
    connect(&m_ticker, &QTimer::timeout, this, &PlayerEngine::tick);
}

PlayerEngine::~PlayerEngine() = default;

bool PlayerEngine::loadPlaylist(const QString &m3uPath)
{
    const regularfile::Read file = regularfile::read(m3uPath);
    if (!file) {
        setProblem(QStringLiteral("プレイリストを開けません: %1").arg(m3uPath));
        return false;
    }
    const QString folder = paths::folderPart(QFileInfo(m3uPath).absoluteFilePath());
    QStringList files;
    // Tunovia writes UTF-8; a list made on Windows is CP932.
    const QString content = text::decode(file.bytes);
    for (QString line : content.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        files.append(paths::resolveAgainst(folder, paths::fromWindows(line)));
    }
    setEntries(files);
    return true;
}

void PlayerEngine::setEntries(const QStringList &files)
{
    close();
    m_state = PlayState::Stopped;
    m_entries.clear();
    m_entries.reserve(files.size());
    for (const QString &f : files)
        m_entries.push_back({f, QFile::encodeName(f)});
    m_index = 0;
    setProblem(QString());
    emit playlistChanged();
    emit changed();
}

QString PlayerEngine::entry(int index) const
{
    return index >= 0 && index < count() ? m_entries[size_t(index)].path : QString();
}

qint64 PlayerEngine::handleMessage(bool posted, bool remote, quint32 msg, qint64 wParam, qint64 lParam)
{
    if (m_log) {
        m_log->write(QStringLiteral("%1 0x%2 %3 %4\n")
                         .arg(posted ? QLatin1String("post") : QLatin1String("send"))
                         .arg(msg, 4, 16, QLatin1Char('0'))
                         .arg(wParam)
                         .arg(lParam)
                         .toUtf8());
        if (auto *f = qobject_cast<QFile *>(m_log))
            f->flush();
    }
    return m_mode == PlayerMode::Winamp ? handleWinamp(remote, msg, wParam, lParam) : handleScmpx(msg, wParam, lParam);
}

qint64 PlayerEngine::handleWinamp(bool remote, quint32 msg, qint64 wParam, qint64 lParam)
{
    if (msg == WM_COMMAND) {
        // Shift variants skip within the track, Ctrl variants jump to the
        // ends of the list; for play, pause and stop they act as the plain code.
        switch (wParam) {
        case winamp::Previous:
            previous();
            break;
        case winamp::Play:
            play();
            break;
        case winamp::Pause:
            pause();
            break;
        case winamp::Stop:
            stop();
            break;
        case winamp::Next:
            next();
            break;
        case winamp::ShiftCode(winamp::Previous):
            seekBy(-kSkipMs);
            break;
        case winamp::ShiftCode(winamp::Play):
            play();
            break;
        case winamp::ShiftCode(winamp::Pause):
            pause();
            break;
        case winamp::ShiftCode(winamp::Stop):
            stop();
            break;
        case winamp::ShiftCode(winamp::Next):
            seekBy(kSkipMs);
            break;
        case winamp::CtrlCode(winamp::Previous):
            if (count() > 0)
                playIndex(0);
            break;
        case winamp::CtrlCode(winamp::Play):
            play();
            break;
        case winamp::CtrlCode(winamp::Pause):
            pause();
            break;
        case winamp::CtrlCode(winamp::Stop):
            stop();
            break;
        case winamp::CtrlCode(winamp::Next):
            if (count() > 0)
                playIndex(count() - 1);
            break;
        case winamp::Close:
            stop();
            emit quitRequested();
            break;
        default:
            break;
        }
        return 0;
    }
    if (msg != WM_USER)
        return 0;
    switch (lParam) {
    case winamp::IpcGetOutputTime:
        return outputTime(wParam);
    case winamp::IpcSetVolume:
        setVolume(int(std::clamp<qint64>(wParam, 0, 255)));
        return 0;
    case winamp::IpcGetListPos:
        return m_index;
    case winamp::IpcGetPlaylistFile:
        // An address means something only inside this process (to plug-ins).
        if (remote || wParam < 0 || wParam >= count())
            return 0;
        return qint64(reinterpret_cast<quintptr>(m_entries[size_t(wParam)].name.constData()));
    default:
        return 0;
    }
}

qint64 PlayerEngine::handleScmpx(quint32 msg, qint64 wParam, qint64 lParam)
{
    if (msg == WM_COMMAND) {
        switch (wParam) {
        case scmpx::Previous:
            previous();
            break;
        case scmpx::Pause:
            pause();
            break;
        case scmpx::Stop:
            stop();
            break;
        case scmpx::Next:
            next();
            break;
        case scmpx::Close:
            stop();
            emit quitRequested();
            break;
        default:
            break;
        }
        return 0;
    }
    if (msg != WM_USER)
        return 0;
    switch (lParam) {
    case scmpx::GetVersion:
        return scmpx::InvertedVolumeVersion;
    case scmpx::PathBegin:
        m_pathBytes.clear();
        m_receivingPath = true;
        return 0;
    case scmpx::PathChar:
        if (!m_receivingPath)
            return 0;
        if (wParam == 0) {
            m_pendingPath = m_pathBytes;
            m_hasPendingPath = true;
            m_receivingPath = false;
        } else {
            m_pathBytes.append(char(wParam & 0xFF));
        }
        return 0;
    case scmpx::Play:
        if (m_hasPendingPath) {
            m_hasPendingPath = false;
            if (loadPlaylist(decodePathBytes(m_pendingPath)) && count() > 0) {
                playIndex(0);
                return 0;
            }
        }
        play();
        return 0;
    case scmpx::GetOutputTime:
        return outputTime(wParam);
    case scmpx::SetVolume:
        // This player reports the inverted-scale version, so 0 is full volume.
        setVolume(255 - int(std::clamp<qint64>(wParam, 0, 255)));
        return 0;
    default:
        return 0;
    }
}

qint64 PlayerEngine::outputTime(qint64 which) const
{
    if (which == 0)
        return positionMs();
    if (which == 1) {
        const qint64 length = lengthMs();
        return length < 0 ? -1 : length / 1000;
    }
    return -1;
}

void PlayerEngine::previous()
{
    if (count() > 0)
        moveTo(m_index > 0 ? m_index - 1 : count() - 1);
}

void PlayerEngine::next()
{
    if (count() > 0)
        moveTo(m_index + 1 < count() ? m_index + 1 : 0);
}

void PlayerEngine::moveTo(int target)
{
    // Stopped, the player only moves its list position; otherwise it plays there.
    if (m_state == PlayState::Stopped) {
        m_index = target;
        emit changed();
    } else {
        playIndex(target);
    }
}

void PlayerEngine::play()
{
    if (count() == 0)
        return;
    if (m_state != PlayState::Stopped && m_device->isOpen()) {
        // Play while playing or paused starts the track over.
        m_device->seek(0);
        m_device->play();
        m_state = PlayState::Playing;
        m_ticker.start();
        emit changed();
        return;
    }
    playIndex(m_index);
}

void PlayerEngine::pause()
{
    if (m_state == PlayState::Playing) {
        m_device->stop();
        m_state = PlayState::Paused;
    } else if (m_state == PlayState::Paused) {
        m_device->play();
        m_state = PlayState::Playing;
    } else {
        return;
    }
    emit changed();
}

void PlayerEngine::stop()
{
    close();
    if (m_state != PlayState::Stopped) {
        m_state = PlayState::Stopped;
        emit changed();
    }
}

void PlayerEngine::playIndex(int index)
{
    if (count() == 0 || index < 0 || index >= count())
        return;
    close();
    // Entries that cannot be played are skipped, each at most once.
    for (int tried = 0; tried < count(); ++tried) {
        const int i = (index + tried) % count();
        const QString file = m_entries[size_t(i)].path;
        if (m_device->open(file)) {
            m_device->setVolume(qRound(m_volume * 100.0 / 255.0));
            m_device->play();
            m_index = i;
            m_state = PlayState::Playing;
            setProblem(QString());
            m_ticker.start();
            emit changed();
            return;
        }
        const int error = m_device->lastError();
        if (error == MediaDevice::NoOutputDevice) {
            m_index = i;
            setProblem(QStringLiteral("音声出力装置がありません"));
            break;
        }
        setProblem(QStringLiteral("再生できません: %1").arg(paths::namePart(file)));
    }
    m_state = PlayState::Stopped;
    emit changed();
}

void PlayerEngine::seekBy(qint64 ms)
{
    if (m_state == PlayState::Stopped || !m_device->isOpen())
        return;
    seekTo(qMax<qint64>(0, m_device->position() + ms));
}

void PlayerEngine::seekTo(qint64 ms)
{
    if (m_state == PlayState::Stopped || !m_device->isOpen())
        return;
    const qint64 length = m_device->length();
    m_device->seek(length > 0 ? qMin(ms, length) : ms);
    if (m_state == PlayState::Playing)
        m_device->play();
    emit changed();
}

void PlayerEngine::setVolume(int volume255)
{
    m_volume = qBound(0, volume255, 255);
    m_device->setVolume(qRound(m_volume * 100.0 / 255.0));
    emit changed();
}

qint64 PlayerEngine::positionMs() const
{
    if (m_state == PlayState::Stopped || !m_device->isOpen())
        return -1;
    return m_device->position();
}

qint64 PlayerEngine::lengthMs() const
{
    if (m_state == PlayState::Stopped || !m_device->isOpen())
        return -1;
    const qint64 length = m_device->length();
    return length > 0 ? length : -1;
}

QString PlayerEngine::title() const
{
    QString player = m_mode == PlayerMode::Scmpx ? QStringLiteral("SCMPX") : QStringLiteral("Winamp");
    if (m_state == PlayState::Stopped || count() == 0)
        return player;
    return QStringLiteral("%1. %2 - %3").arg(m_index + 1).arg(paths::namePart(entry(m_index)), player);
}

void PlayerEngine::tick()
{
    if (m_state == PlayState::Stopped) {
        m_ticker.stop();
        return;
    }
    const qint64 length = m_device->length();
    if (m_state == PlayState::Playing && !m_device->isPlaying() && length > 0 && m_device->position() >= length) {
        // End of the track: on to the next entry, or stop after the last.
        if (m_index + 1 < count()) {
            playIndex(m_index + 1);
        } else {
            stop();
        }
        return;
    }
    emit changed();
}

void PlayerEngine::close()
{
    m_ticker.stop();
    if (m_device->isOpen())
        m_device->close();
}

void PlayerEngine::setProblem(const QString &problem) { m_problem = problem; }
