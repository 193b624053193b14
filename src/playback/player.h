#pragma once
// One player the main window drives: an outside program reached by window
// messages (Winamp, SCMPX) or the built-in one. PlayerControl picks the
// applied player and talks to it only through this interface; the window
// supplies what it shows through PlayerHost.
#include "config/settingsstore.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class BuiltinPlayerSource;
class Launcher;
class PlayerWindows;

// The value stored in the settings and the menu choice; also the order in
// which the players that are not applied are stopped.
enum class PlayerKind { Winamp, Scmpx, Builtin };
inline constexpr int kPlayerKindCount = 3;

// What the main window supplies to the players.
class PlayerHost {
public:
    virtual ~PlayerHost() = default;
    // The player whose hand-over button is showing; transport, quit and
    // volume go to it.
    virtual PlayerKind appliedPlayer() const = 0;
    // Resolved paths of the selected tracks of the current list, in list order.
    virtual QStringList selectedPaths() const = 0;
    // An error box titled "Tunovia エラー".
    virtual void error(const QString &text) = 0;
    // Modifier keys held at the moment of a command.
    virtual Qt::KeyboardModifiers modifiers() const = 0;
    virtual int volumePosition() const = 0;           // the volume bar, 0..10
    virtual void setVolumePosition(int position) = 0; // moves the bar without applying
    virtual void applySettings() = 0;                 // shows the chosen player's button
    virtual void storeError(const ProfileWrite &result) = 0;
};

// The playing file as a player names it, for the lyrics.
struct PlayingFile {
    enum class State {
        None,    // nothing to follow on this tick
        Same,    // the file of the last tick
        Changed, // another file; the marker now names it
    };
    State state = State::None;
    std::optional<QString> label; // what the lyrics window shows as the player's own text
    QString path;                 // empty when the player names the file only
    QString name;                 // file name without folder
};

class Player {
public:
    virtual ~Player() = default;

    // Checks what a hand-over needs (a program path, say); false once the
    // problem has been told.
    virtual bool canHandOver() { return true; }
    struct HandOver {
        bool ok = true;           // false: the command ends here (already told)
        QString playlistFile;     // the playlist file written for it, if any
        bool awaitWindow = false; // a program was started whose window is not there yet
    };
    // Gives the player `paths` and starts it; an empty list keeps what it
    // had. `showWindow` is a Launcher show value for a started program.
    virtual HandOver handOver(const QStringList &paths, int showWindow) = 0;
    // A hand-over wrote `playlistFile` while this player was applied.
    virtual void playlistWritten(const QString &playlistFile) { Q_UNUSED(playlistFile) }
    // The player is there to take commands (its window exists).
    virtual bool isRunning() const = 0;

    // button: 1 previous, 2 play, 3 pause, 4 stop, 5 next.
    virtual void transport(int button, Qt::KeyboardModifiers modifiers) = 0;
    // Stops and closes the player.
    virtual void quit() = 0;
    // value 0..255, 255 loudest.
    virtual void setVolume(int value) = 0;

    // The clock. Position in ms and length in s, -1 each when nothing
    // plays; nothing at all when the player cannot be asked, which ends the
    // clock's tick. The lyrics steps that follow in the same tick use what
    // this call found.
    struct Time {
        qint64 positionMs = -1;
        qint64 lengthSeconds = -1;
    };
    virtual std::optional<Time> time() = 0;
    // Compares what plays with `marker` (case ignored); on a change sets
    // `marker` to what names it now.
    virtual PlayingFile playingFile(QString &marker) = 0;
    // The position the lyrics follow, in ms.
    virtual qint64 lyricsPosition() = 0;
};

// What the players are made with.
struct PlayerContext {
    PlayerHost &host;
    Launcher &launcher;
    PlayerWindows &windows;
    DialogSettings &dialog;
    const ClassNames &classNames;
    BuiltinPlayerSource *builtin = nullptr; // needed for the built-in player
};

// Makes the player of one kind.
std::unique_ptr<Player> makePlayer(PlayerKind kind, PlayerContext &context);
