#include "playback/builtinplayer.h"

#include "platform/mediadevice.h"

#include <utility>

BuiltinPlayer::BuiltinPlayer(MediaDevice &device, PlayerFailureSink &sink, QTimer *timer, QObject *parent)
    : QObject(parent), m_device(device), m_sink(sink), m_timer(timer ? timer : &m_ownTimer)
{
    m_timer->setInterval(kTickMs);
    if (!timer)
        connect(&m_ownTimer, &QTimer::timeout, this, &BuiltinPlayer::tick);
}

BuiltinPlayer::~BuiltinPlayer()
{
    // An outside timer may already be gone; its owner stops it.
    m_ownTimer.stop();
}

void BuiltinPlayer::setStarted(bool started)
{
    if (m_started == started)
        return;
    m_started = started;
    emit startedChanged(started);
}

int BuiltinPlayer::wrapped(int position) const
{
    return (position < 0 || position >= m_playlist.size()) ? 0 : position;
}

QString BuiltinPlayer::currentFile() const
{
    return (m_position >= 0 && m_position < m_playlist.size()) ? m_playlist.at(m_position) : QString();
}

void BuiltinPlayer::handOver(const QStringList &files)
{
    if (!files.isEmpty())
        m_playlist = files;
    start();
}

void BuiltinPlayer::start()
{
    setStarted(false);
    m_timer->start();
}

void BuiltinPlayer::stopAndClose()
{
    // Called from inside an open's event loop (a player switch by joypad or
    // menu), the open in progress is abandoned rather than reported.
    if (m_busy)
        m_closeRequested = true;
    m_timer->stop();
    m_device.close();
    setStarted(false);
}

bool BuiltinPlayer::closedWhileOpening()
{
    if (!m_closeRequested)
        return false;
    m_closeRequested = false;
    m_device.close();
    m_timer->stop();
    setStarted(false);
    return true;
}

bool BuiltinPlayer::openAndPlay()
{
    if (m_position < 0 || m_position >= m_playlist.size())
        return false;
    const QString file = m_playlist.at(m_position);
    m_device.close();
    if (!m_device.open(file) || m_closeRequested)
        return false;
    m_device.play();
    emit fileStarted(file);
    return true;
}

void BuiltinPlayer::tick()
{
    // Opening a file runs a nested event loop; a tick must not start inside
    // another one, nor inside the open of Previous.
    if (m_busy)
        return;
    m_busy = true;
    if (!m_started && m_playlist.isEmpty()) {
        // A hand-over with nothing selected and nothing remembered: nothing
        // failed, so there is nothing to report either.
        m_timer->stop();
    } else if (!m_started) {
        m_position = wrapped(m_position);
        if (openAndPlay()) {
            setStarted(true);
        } else if (!closedWhileOpening()) {
            m_timer->stop();
            report();
        }
    } else if (m_device.position() >= m_device.length()) {
        m_position = wrapped(m_position + 1);
        if (!openAndPlay() && !closedWhileOpening()) {
            m_timer->stop();
            setStarted(false);
            report();
        }
    }
    // A stop that came while the error box was up is done with here; it must
    // not cut short the open of a later hand-over.
    m_closeRequested = false;
    m_busy = false;
    runDeferred();
}

QString BuiltinPlayer::failureText(int code)
{
    switch (code) {
    case MediaDevice::UnsupportedFile:
        return QStringLiteral("サポートされていないフォーマットです。\n「OK」で次の曲を再生します。");
    case MediaDevice::NoOutputDevice:
        return QStringLiteral("MP3 を再生するのに必要なデバイスがインストールされていません。");
    default:
        return QStringLiteral("未知のエラーです。ErrorCode(") + QString::number(code) + u')';
    }
}

void BuiltinPlayer::report()
{
    const int code = m_device.lastError();
    const QString title = QStringLiteral("Error");
    if (code == MediaDevice::UnsupportedFile) {
        if (m_sink.showFailure(title, failureText(code), true)) {
            m_position = wrapped(m_position + 1);
            // Not when the player was stopped while the box was up.
            if (!m_closeRequested)
                m_timer->start();
        } else {
            m_position = 0;
        }
        return;
    }
    m_sink.showFailure(title, failureText(code), false);
    m_position = 0;
}

QString BuiltinPlayer::errorText(int code)
{
    switch (code) {
    case MediaDevice::NotOpen:
        return QStringLiteral("デバイスが開かれていません。");
    case MediaDevice::NoOutputDevice:
        return QStringLiteral("オーディオ出力デバイスがありません。");
    case MediaDevice::FileNotFound:
        return QStringLiteral("指定されたファイルが見つかりません。");
    case MediaDevice::UnsupportedFile:
        return QStringLiteral("このファイル形式は再生できません。");
    case MediaDevice::Timeout:
        return QStringLiteral("デバイスが応答しません。");
    default:
        return QStringLiteral("再生デバイスでエラーが発生しました。(%1)").arg(code);
    }
}

void BuiltinPlayer::previous()
{
    // A Previous that arrives while a file is being opened (the joypad timer
    // runs in the open's event loop) would open a second file over it.
    if (!m_started || m_playlist.isEmpty() || m_busy)
        return;
    m_position = m_position - 1;
    if (m_position < 0 || m_position >= m_playlist.size())
        m_position = int(m_playlist.size()) - 1;
    // Busy until the report is answered: the timer would otherwise take the
    // closed device for a finished file and move on under the box.
    m_busy = true;
    if (!openAndPlay() && !closedWhileOpening())
        m_sink.showException(errorText(m_device.lastError()));
    m_closeRequested = false;
    m_busy = false;
    runDeferred();
}

bool BuiltinPlayer::deferWhileBusy(void (BuiltinPlayer::*operation)())
{
    // The joypad timer runs inside an open's wait; its button belongs to the
    // file being opened, not to the closed device. A held button counts once.
    if (!m_busy)
        return false;
    if (!m_deferred.contains(operation))
        m_deferred.append(operation);
    return true;
}

void BuiltinPlayer::runDeferred()
{
    const auto operations = std::exchange(m_deferred, {});
    for (const auto operation : operations)
        (this->*operation)();
}

void BuiltinPlayer::playRestart()
{
    if (deferWhileBusy(&BuiltinPlayer::playRestart) || !m_started)
        return;
    if (m_device.isPlaying())
        m_device.seek(0);
    m_device.play();
}

void BuiltinPlayer::pauseToggle()
{
    if (deferWhileBusy(&BuiltinPlayer::pauseToggle) || !m_started)
        return;
    if (m_device.isPlaying())
        m_device.stop();
    else
        m_device.play();
}

void BuiltinPlayer::stop()
{
    if (deferWhileBusy(&BuiltinPlayer::stop) || !m_started)
        return;
    m_device.stop();
    m_device.seek(0);
}

void BuiltinPlayer::next()
{
    if (deferWhileBusy(&BuiltinPlayer::next) || !m_started)
        return;
    m_device.seekToEnd();
}
