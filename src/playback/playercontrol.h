#pragma once
// Control of the outside players (and the door to the built-in one): handing
// the selected tracks over, the transport commands, quitting, the player
// choice and the volume. Widget-free: the main window supplies what it shows
// (the applied player, the selection, the volume bar) through PlayerHooks.
#include "config/settingsstore.h"
#include "platform/windowbus.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class Launcher;

enum class PlayerKind { Winamp, Scmpx, Builtin };

// The window messages the players receive. The default reaches them over the
// window-message bus; tests may record or answer instead.
class PlayerWindows {
public:
    virtual ~PlayerWindows() = default;
    virtual WindowHandle find(const QString &className) { return WindowBus::findWindow(className); }
    virtual qint64 send(const WindowHandle &w, quint32 msg, qint64 wParam, qint64 lParam)
    {
        return WindowBus::send(w, msg, wParam, lParam);
    }
    virtual void post(const WindowHandle &w, quint32 msg, qint64 wParam, qint64 lParam)
    {
        WindowBus::post(w, msg, wParam, lParam);
    }
};

struct PlayerHooks {
    // The player whose hand-over button is showing; transport, quit and
    // volume go to it.
    std::function<PlayerKind()> appliedPlayer;
    // Resolved paths of the selected tracks of the current list, in list order.
    std::function<QStringList()> selectedPaths;
    // An error box titled "Tunovia エラー".
    std::function<void(const QString &)> error;
    // Modifier keys held at the moment of a command.
    std::function<Qt::KeyboardModifiers()> modifiers;
    std::function<int()> volumePosition;           // the volume bar, 0..10
    std::function<void(int)> setVolumePosition;    // moves the bar without applying
    std::function<void()> applySettings;           // shows the chosen player's button
    std::function<void(const StoreResult &)> storeError;
    // The built-in player. Transport buttons: 1 previous ... 5 next. An empty
    // hand-over keeps the built-in playlist and restarts from it.
    std::function<void(int)> builtinTransport;
    std::function<void(const QStringList &)> builtinHandOver;
    std::function<void()> builtinStopAndClose;
};

class PlayerControl {
public:
    PlayerControl(Launcher &launcher, PlayerWindows &windows, SettingsStore &store, DialogSettings &dialog,
                  const ClassNames &classNames, PlayerHooks hooks);
    Q_DISABLE_COPY_MOVE(PlayerControl)

    // Reloads the settings, checks the chosen player, writes its playlist and
    // starts it (or hands the tracks to the built-in player), then applies
    // the volume. A player that was not running yet gets the volume again
    // once its window appears (looked for every WindowWatchMs for up to
    // WindowWaitMs).
    void handOver();
    static constexpr int WindowWatchMs = 100;
    static constexpr int WindowWaitMs = 10000;
    // button: 1 previous, 2 play, 3 pause, 4 stop, 5 next.
    void transport(int button);
    void quit();

    void choosePlayer(PlayerKind player);
    void cyclePlayer(); // Winamp -> SCMPX -> built-in -> Winamp

    // Sends the volume bar's position to the applied player.
    void applyVolume();
    void volumePreset(int which); // 0: A, 1: B, 2: C
    void volumeDown();
    void volumeUp();

    // Pure rules, shared with the tests.
    static int volumeValue(int position); // 0..10 -> 0..255, truncated
    // The WM_COMMAND code for a transport button of an outside player; for
    // SCMPX play (which is a WM_USER request) gives 0.
    static qint64 transportCode(PlayerKind player, int button, Qt::KeyboardModifiers modifiers);
    // The playlist file's content: one path per line, CR LF; CP932 when every
    // character has a CP932 form, otherwise UTF-8 so no path is lost.
    static QByteArray playlistBytes(const QStringList &paths);
    // Folder of the executable + "WINAMP.m3u" / "SCMPX.m3u", absolute.
    static QString playlistPathFor(PlayerKind player, const QString &executable);
    static int showWindowValue(const RadioGroup &startMode);

private:
    PlayerKind chosenPlayer() const;
    PlayerKind appliedPlayer() const;
    bool checkExecutable(PlayerKind chosen);
    void stopOtherPlayers();
    void sendCommands(const QString &className, std::initializer_list<qint64> codes);
    void sendScmpxPlaylist(const QString &playlistPath);
    void setVolumeAndApply(int position);
    void awaitStartedWindow(const QString &className);

    Launcher &m_launcher;
    PlayerWindows &m_windows;
    SettingsStore &m_store;
    DialogSettings &m_dialog;
    const ClassNames &m_classNames;
    PlayerHooks m_hooks;
    // Waits for the window of a player that the hand-over started.
    QTimer m_startWatch;
    QElapsedTimer m_startClock;
    QString m_startClass;
};
