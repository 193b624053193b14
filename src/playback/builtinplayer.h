#pragma once
// The built-in player: plays a playlist through a MediaDevice, one file after
// another and round again without end. A 500 ms timer starts files and
// notices their end; failures are reported through PlayerFailureSink so the
// UI can show them (and tests can answer them).
#include <QObject>
#include <QStringList>
#include <QTimer>

class MediaDevice;

class PlayerFailureSink {
public:
    virtual ~PlayerFailureSink() = default;
    // An error box with the given title and text; `withCancel` adds a Cancel
    // button. Returns true for OK.
    virtual bool showFailure(const QString &title, const QString &text, bool withCancel) = 0;
    // The program's general report of a command that failed.
    virtual void showException(const QString &text) = 0;
};

class BuiltinPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 500;

    // With `timer` the player starts and stops that timer instead of its own,
    // and its owner connects the timer's timeout to tick().
    BuiltinPlayer(MediaDevice &device, PlayerFailureSink &sink, QTimer *timer = nullptr, QObject *parent = nullptr);
    ~BuiltinPlayer() override;
    Q_DISABLE_COPY_MOVE(BuiltinPlayer)

    // Hand-over: a non-empty list replaces the playlist; an empty one keeps
    // it, so playback resumes at the remembered position. Then start().
    void handOver(const QStringList &files);
    void start(); // not started, timer on: the next tick opens and plays
    void stopAndClose();

    // Transport; each does nothing until a file has been started. One that
    // comes while a file opens is carried out when the open is over.
    void previous();
    void playRestart();
    void pauseToggle();
    void stop();
    void next();

    // One timer tick; public so tests can step the player.
    void tick();

    const QStringList &playlist() const { return m_playlist; }
    int playlistPosition() const { return m_position; }
    void setPlaylistPosition(int position) { m_position = position; }
    bool isStarted() const { return m_started; }
    bool isTimerActive() const { return m_timer->isActive(); }
    // The playlist entry at the playlist position; empty when out of range.
    QString currentFile() const;
    MediaDevice &device() { return m_device; }
    const MediaDevice &device() const { return m_device; }

    // Message texts of the three failure outcomes.
    static QString failureText(int code);
    static QString errorText(int code); // for a failed Previous

signals:
    void startedChanged(bool started);
    void fileStarted(const QString &file);

private:
    void setStarted(bool started);
    bool openAndPlay(); // entry at m_position
    void report();      // timer already off
    // After an open: true (and everything closed) when stopAndClose() came
    // in while the device was opening.
    bool closedWhileOpening();
    int wrapped(int position) const;
    // Transport that came while a file was opening, run once it is done.
    bool deferWhileBusy(void (BuiltinPlayer::*operation)());
    void runDeferred();

    MediaDevice &m_device;
    PlayerFailureSink &m_sink;
    QTimer m_ownTimer;
    QTimer *m_timer;
    QStringList m_playlist;
    int m_position = 0;
    bool m_started = false;
    bool m_busy = false; // a tick or Previous is opening a file
    bool m_closeRequested = false;
    QList<void (BuiltinPlayer::*)()> m_deferred;
};
