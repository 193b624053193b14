#pragma once
// The stand-in player's playlist and transport, and its answers to the
// window messages of the player it stands in for.
#include "platform/mediadevice.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class QIODevice;

enum class PlayerMode { Winamp, Scmpx };
enum class PlayState { Stopped, Playing, Paused };

class PlayerEngine : public QObject {
    Q_OBJECT
public:
    PlayerEngine(PlayerMode mode, std::unique_ptr<MediaDevice> device, QObject *parent = nullptr);
    ~PlayerEngine() override;
    Q_DISABLE_COPY_MOVE(PlayerEngine)

    PlayerMode mode() const { return m_mode; }

    // Replaces the playlist with the lines of an m3u file (relative lines
    // against the playlist's folder; "#" lines and blank lines skipped).
    bool loadPlaylist(const QString &m3uPath);
    void setEntries(const QStringList &files);

    // Every message the window receives. `posted` only matters for the log;
    // callers in other programs (`remote`) get no addresses.
    qint64 handleMessage(bool posted, bool remote, quint32 msg, qint64 wParam, qint64 lParam);
    // Each message is written as "send|post 0xMMMM wParam lParam".
    void setLog(QIODevice *log) { m_log = log; }

    // Transport, also used by the window's buttons.
    void previous();
    void play();
    void pause();
    void stop();
    void next();
    void playIndex(int index);
    void seekBy(qint64 ms);
    void seekTo(qint64 ms);
    void setVolume(int volume255);

    int count() const { return int(m_entries.size()); }
    int currentIndex() const { return m_index; }
    QString entry(int index) const;
    PlayState state() const { return m_state; }
    int volume() const { return m_volume; }
    // -1 while stopped, as the players answer.
    qint64 positionMs() const;
    qint64 lengthMs() const;
    // "N. file.mp3 - SCMPX" while a file is playing or paused, the bare
    // player name while idle.
    QString title() const;
    // A short note about the last failure ("" when none).
    const QString &problem() const { return m_problem; }

Q_SIGNALS:
    void changed();
    void quitRequested();
    void playlistChanged();

private:
    void moveTo(int target);
    struct Entry {
        QString path;
        QByteArray name; // zero-terminated bytes handed out by address
    };
    qint64 handleWinamp(bool remote, quint32 msg, qint64 wParam, qint64 lParam);
    qint64 handleScmpx(quint32 msg, qint64 wParam, qint64 lParam);
    qint64 outputTime(qint64 which) const;
    void tick();
    void close();
    void setProblem(const QString &problem);

    PlayerMode m_mode;
    std::unique_ptr<MediaDevice> m_device;
    std::vector<Entry> m_entries;
    int m_index = 0;
    PlayState m_state = PlayState::Stopped;
    int m_volume = 255;
    QString m_problem;
    QIODevice *m_log = nullptr;
    QTimer m_ticker;
    // SCMPX's byte-wise playlist path.
    QByteArray m_pathBytes;
    bool m_receivingPath = false;
    QByteArray m_pendingPath;
    bool m_hasPendingPath = false;
};
