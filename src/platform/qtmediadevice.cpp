#include "platform/qtmediadevice.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QTimer>
#include <QUrl>

QtMediaDevice::QtMediaDevice(int openTimeoutMs) : m_timeoutMs(openTimeoutMs) {}

QtMediaDevice::~QtMediaDevice() { close(); }

int QtMediaDevice::errorCodeFor(QMediaPlayer::Error error)
{
    switch (error) {
    case QMediaPlayer::NoError:
        return NoError;
    case QMediaPlayer::FormatError:
    case QMediaPlayer::ResourceError: // the file exists, so it could not be decoded
        return UnsupportedFile;
    case QMediaPlayer::AccessDeniedError:
        return FileNotFound;
    case QMediaPlayer::NetworkError:
        return BackendError;
    }
    return BackendError;
}

bool QtMediaDevice::fail(int code)
{
    m_error = code;
    return false;
}

void QtMediaDevice::ensurePlayer()
{
    if (m_player)
        return;
    m_player = std::make_unique<QMediaPlayer>();
    m_output = std::make_unique<QAudioOutput>();
    m_output->setVolume(float(m_volume) / 100.0f);
    m_player->setAudioOutput(m_output.get());
    QObject::connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, m_player.get(),
                     [this](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia)
                             m_atEnd = true;
                     });
    // A file that fails while playing (truncated, removed, device lost)
    // counts as finished, so the player moves on instead of waiting forever.
    QObject::connect(m_player.get(), &QMediaPlayer::errorOccurred, m_player.get(), [this] {
        if (m_open)
            m_atEnd = true;
    });
}

void QtMediaDevice::discardPlayer()
{
    // The player refers to its output, so it goes first.
    m_player.reset();
    m_output.reset();
}

bool QtMediaDevice::open(const QString &file)
{
    close();
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || !info.isReadable())
        return fail(FileNotFound);
    // TUNOVIA_NULL_AUDIO=1 lets headless runs play into the back end's
    // silent fallback sink instead of failing for want of a sound card.
    if (QMediaDevices::audioOutputs().isEmpty() && qEnvironmentVariableIntValue("TUNOVIA_NULL_AUDIO") != 1)
        return fail(NoOutputDevice);
    // QMediaPlayer keeps reporting the error of an earlier source after a
    // new one is set, and would fail every file after it: start afresh.
    if (m_player && m_player->error() != QMediaPlayer::NoError)
        discardPlayer();
    ensurePlayer();

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    QMediaPlayer::Error error = QMediaPlayer::NoError;
    auto done = [&] {
        const auto status = m_player->mediaStatus();
        return error != QMediaPlayer::NoError || status == QMediaPlayer::LoadedMedia ||
               status == QMediaPlayer::InvalidMedia || status == QMediaPlayer::BufferedMedia;
    };
    const auto c1 = QObject::connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, &loop, [&] {
        if (done())
            loop.quit();
    });
    const auto c2 = QObject::connect(m_player.get(), &QMediaPlayer::errorOccurred, &loop,
                                     [&](QMediaPlayer::Error e, const QString &) {
                                         error = e;
                                         loop.quit();
                                     });
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (m_player->error() != QMediaPlayer::NoError)
        error = m_player->error();
    m_openAborted = false;
    if (!done()) {
        timer.start(m_timeoutMs);
        m_openLoop = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_openLoop = nullptr;
    }
    QObject::disconnect(c1);
    QObject::disconnect(c2);

    if (m_openAborted) {
        m_openAborted = false;
        m_player->setSource(QUrl());
        return fail(NotOpen);
    }

    if (error != QMediaPlayer::NoError) {
        m_player->setSource(QUrl());
        return fail(errorCodeFor(error));
    }
    if (m_player->mediaStatus() == QMediaPlayer::InvalidMedia) {
        m_player->setSource(QUrl());
        return fail(UnsupportedFile);
    }
    if (timedOut && m_player->mediaStatus() != QMediaPlayer::LoadedMedia) {
        m_player->setSource(QUrl());
        return fail(Timeout);
    }
    m_open = true;
    m_sizeEstimate = info.size() * 1000 / 16000;
    m_atEnd = false;
    m_file = file;
    m_error = NoError;
    return true;
}

void QtMediaDevice::close()
{
    if (m_openLoop) {
        // Closed from inside open()'s wait: end the wait, open() gives up.
        m_openAborted = true;
        m_openLoop->quit();
    }
    if (m_player && m_open) {
        m_player->stop();
        m_player->setSource(QUrl());
    }
    m_open = false;
    m_atEnd = false;
    m_file.clear();
    m_error = NoError;
}

bool QtMediaDevice::play()
{
    if (!m_open)
        return fail(NotOpen);
    if (m_atEnd) {
        m_player->setPosition(0);
        m_atEnd = false;
    }
    m_player->play();
    m_error = m_player->error() == QMediaPlayer::NoError ? int(NoError) : errorCodeFor(m_player->error());
    return m_error == NoError;
}

bool QtMediaDevice::stop()
{
    if (!m_open)
        return fail(NotOpen);
    // QMediaPlayer::stop() would rewind; a paused player keeps its position.
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
    m_error = NoError;
    return true;
}

bool QtMediaDevice::seek(qint64 ms)
{
    if (!m_open)
        return fail(NotOpen);
    m_atEnd = false;
    m_player->setPosition(qBound<qint64>(0, ms, qMax<qint64>(0, m_player->duration())));
    m_error = NoError;
    return true;
}

bool QtMediaDevice::seekToEnd()
{
    if (!m_open)
        return fail(NotOpen);
    // Back ends differ in what a seek onto the last sample does; a paused
    // player marked as finished behaves the same everywhere.
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->pause();
    m_atEnd = true;
    m_error = NoError;
    return true;
}

qint64 QtMediaDevice::position() const
{
    if (!m_open)
        return 0;
    if (m_atEnd)
        return length();
    return qBound<qint64>(0, m_player->position(), length());
}

qint64 QtMediaDevice::length() const
{
    if (!m_open)
        return 0;
    const qint64 duration = m_player->duration();
    if (duration > 0)
        return duration;
    // Some formats (MP3 without a header frame) report their duration only
    // once playing. Until then use the size at 128 kbit/s, kept past the
    // position so that a running file never looks finished.
    if (m_atEnd)
        return qMax<qint64>(0, m_player->position());
    return qMax(m_sizeEstimate, m_player->position() + 1);
}

bool QtMediaDevice::isPlaying() const
{
    return m_open && !m_atEnd && m_player->playbackState() == QMediaPlayer::PlayingState;
}

void QtMediaDevice::setVolume(int percent)
{
    m_volume = qBound(0, percent, 100);
    if (m_output)
        m_output->setVolume(float(m_volume) / 100.0f);
}
