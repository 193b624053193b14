#pragma once
// A single-file audio device with the operations the players need. Calls are
// made from the GUI thread; open() blocks (with a bounded wait) until the file
// is loaded or has failed, play() returns at once.
#include <QString>
#include <QtGlobal>

#include <memory>

class MediaDevice
{
public:
    // Codes reported by lastError().
    enum Error : int {
        NoError = 0,
        NoOutputDevice = 263,    // no audio output available
        UnsupportedFile = 277,   // unknown format or undecodable file
        NotOpen = 263 + 1000,    // operation on a closed device
        OpenTimeout = 279,       // the back end did not answer in time
        ResourceError = 282,     // missing or unreadable file, other back-end failures
    };

    virtual ~MediaDevice() = default;

    // Loads `file`; any previously open file is closed first.
    virtual bool open(const QString &file) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual bool play() = 0;     // asynchronous, from the current position
    virtual bool stop() = 0;     // pauses, keeping the position
    virtual bool seek(qint64 ms) = 0;
    virtual bool seekToEnd() = 0;

    virtual qint64 position() const = 0; // ms
    virtual qint64 length() const = 0;   // ms, 0 when unknown or closed
    virtual bool isPlaying() const = 0;  // false again once the end is reached

    virtual int lastError() const = 0;   // 0 after the last call succeeded
};

enum class MediaDeviceKind { Real, Fake };

// Real: QMediaPlayer-based device. Fake: clock-driven device without audio.
// The environment variable TUNOVIA_FAKE_MEDIA=1 turns Real into Fake.
std::unique_ptr<MediaDevice> createMediaDevice(MediaDeviceKind kind = MediaDeviceKind::Real);
