#pragma once
// The real media device: QMediaPlayer with a QAudioOutput. open() runs a
// nested event loop until the back end has loaded the file or given up.
// Without any audio output open() fails with NoOutputDevice, unless
// TUNOVIA_NULL_AUDIO=1 (headless runs) lets the back end play into its
// silent fallback sink.
#include "platform/mediadevice.h"

#include <QMediaPlayer>

#include <memory>

class QAudioOutput;
class QEventLoop;

class QtMediaDevice final : public MediaDevice {
public:
    explicit QtMediaDevice(int openTimeoutMs = 5000);
    ~QtMediaDevice() override;
    Q_DISABLE_COPY_MOVE(QtMediaDevice)

    bool open(const QString &file) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString fileName() const override { return m_file; }

    bool play() override;
    bool stop() override;
    bool seek(qint64 ms) override;
    bool seekToEnd() override;

    qint64 position() const override;
    qint64 length() const override;
    bool isPlaying() const override;

    void setVolume(int percent) override;
    int volume() const override { return m_volume; }

    int lastError() const override { return m_error; }

    // The code open() reports for a QMediaPlayer error on an existing file.
    static int errorCodeFor(QMediaPlayer::Error error);

private:
    bool fail(int code);
    void ensurePlayer();
    void discardPlayer();

    int m_timeoutMs;
    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QAudioOutput> m_output;
    bool m_open = false;
    QEventLoop *m_openLoop = nullptr; // set while open() waits
    bool m_openAborted = false;
    bool m_atEnd = false;
    QString m_file;
    qint64 m_sizeEstimate = 0;
    int m_volume = 100;
    int m_error = NoError;
};
