#pragma once
// A media device that plays nothing: its position follows a clock while it
// "plays". Used by tests and by the stand-in player when there is no audio.
#include "platform/mediadevice.h"

#include <QElapsedTimer>
#include <QStringList>

class FakeMediaDevice final : public MediaDevice {
public:
    // With a manual clock the position only moves through advance(), which
    // keeps tests independent of machine speed.
    explicit FakeMediaDevice(bool manualClock = false);

    // Opening an existing file succeeds with a length of its size at
    // 128 kbit/s; a name ending ".bad" fails with UnsupportedFile, a missing
    // file with FileNotFound.
    bool open(const QString &file) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString fileName() const override { return m_file; }

    bool play() override;
    bool stop() override;
    bool seek(qint64 ms) override;
    bool seekToEnd() override;

    qint64 position() const override;
    qint64 length() const override { return m_open ? m_length : 0; }
    bool isPlaying() const override;

    void setVolume(int percent) override { m_volume = qBound(0, percent, 100); }
    int volume() const override { return m_volume; }

    int lastError() const override { return m_error; }

    // Test controls.
    void advance(qint64 ms);                                     // manual clock only
    void setNoOutputDevice(bool none) { m_noOutput = none; }     // open() then fails with 263
    void setLengthOverride(qint64 ms) { m_lengthOverride = ms; } // -1: from the file size
    const QStringList &openHistory() const { return m_history; } // every file opened successfully

    static qint64 lengthForSize(qint64 bytes) { return bytes * 1000 / 16000; }

private:
    qint64 elapsed() const;

    bool m_manual;
    bool m_open = false;
    bool m_playing = false;
    bool m_noOutput = false;
    QString m_file;
    qint64 m_length = 0;
    qint64 m_lengthOverride = -1;
    qint64 m_base = 0; // position when playing last started or when stopped
    qint64 m_manualElapsed = 0;
    QElapsedTimer m_clock;
    int m_volume = 100;
    int m_error = NoError;
    QStringList m_history;
};
