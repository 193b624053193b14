#pragma once
// A single-file audio device with the operations the players need. Calls are
// made from the GUI thread; open() blocks (with a bounded wait) until the file
// is loaded or has failed, play() returns at once.
#include <QString>
#include <QtGlobal>

#include <memory>

class MediaDevice {
public:
    // Codes reported by lastError().
    enum Error : int {
        NoError = 0,
        NotOpen = 257,         // operation on a closed device
        NoOutputDevice = 263,  // no audio output available
        FileNotFound = 275,    // missing or unreadable file
        UnsupportedFile = 277, // unknown format or undecodable file
        Timeout = 278,         // the back end did not answer in time
        BackendError = 282,    // any other failure of the back end
    };

    virtual ~MediaDevice() = default;

    // Loads `file`; any previously open file is closed first. A close()
    // that arrives while open() waits makes it return false with NotOpen.
    virtual bool open(const QString &file) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString fileName() const = 0; // the open file, empty when closed

    virtual bool play() = 0; // asynchronous, from the current position
    virtual bool stop() = 0; // pauses, keeping the position
    virtual bool seek(qint64 ms) = 0;
    virtual bool seekToEnd() = 0; // stops; position() then equals length()

    virtual qint64 position() const = 0; // ms
    virtual qint64 length() const = 0;   // ms, 0 when unknown or closed
    virtual bool isPlaying() const = 0;  // false again once the end is reached

    // 0..100; the device keeps it across files.
    virtual void setVolume(int percent) = 0;
    virtual int volume() const = 0;

    virtual int lastError() const = 0; // 0 after the last call succeeded
};

enum class MediaDeviceKind { Real, Fake };

// Real: QMediaPlayer-based device. Fake: clock-driven device without audio.
// The environment variable TUNOVIA_FAKE_MEDIA=1 turns Real into Fake.
std::unique_ptr<MediaDevice> createMediaDevice(MediaDeviceKind kind = MediaDeviceKind::Real);
