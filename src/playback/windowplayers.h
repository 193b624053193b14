#pragma once
// The outside players, programs reached by window messages: Winamp and
// SCMPX (or the stand-in player that answers in their place). Each writes
// its playlist file beside its program and starts it with that file.
#include "platform/windowbus.h"
#include "playback/clock.h"
#include "playback/player.h"

#include <initializer_list>

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
    virtual QString text(const WindowHandle &w) { return WindowBus::windowText(w); }
};

// What the two outside players share: the program path check, the playlist
// hand-over, quitting and the clock's position requests.
class WindowPlayer : public Player {
public:
    bool canHandOver() override;
    HandOver handOver(const QStringList &paths, int showWindow) override;
    bool isRunning() const override;
    void quit() override;
    std::optional<Time> time() override;
    qint64 lyricsPosition() override { return position(); }

    // Folder of the executable + the playlist's name, absolute.
    static QString playlistPathFor(const QString &executable, const QString &playlistName);

protected:
    struct Traits {
        QString DialogSettings::*executable;
        QString ClassNames::*className;
        const char *playlistName;
        const char *noPathText;    // the executable setting is empty
        const char *wrongPathText; // it names no file
        qint64 stop, close;        // WM_COMMAND codes
    };
    WindowPlayer(PlayerContext &context, const Traits &traits) : m_context(context), m_traits(traits) {}

    const QString &className() const { return m_context.classNames.*m_traits.className; }
    WindowHandle window() const { return m_context.windows.find(className()); }
    // Each code as a WM_COMMAND, when the window is there.
    void sendCommands(std::initializer_list<qint64> codes);
    // The position request to the window that time() found.
    qint64 position();

    PlayerContext &m_context;
    const Traits m_traits;
    WindowHandle m_clockWindow; // found by the last time()
};

class WinampPlayer final : public WindowPlayer {
public:
    explicit WinampPlayer(PlayerContext &context);
    void transport(int button, Qt::KeyboardModifiers modifiers) override;
    void setVolume(int value) override;
    // The plug-in's data file names the playing file.
    PlayingFile playingFile(QString &marker) override;

    // The WM_COMMAND code of a transport button (1-5); Shift wins over Ctrl.
    static qint64 transportCode(int button, Qt::KeyboardModifiers modifiers);

private:
    playback::DataFileWatcher m_dataFile;
};

class ScmpxPlayer final : public WindowPlayer {
public:
    explicit ScmpxPlayer(PlayerContext &context);
    void transport(int button, Qt::KeyboardModifiers modifiers) override;
    void setVolume(int value) override { sendVolume(m_context, value); }
    // Hands the playlist file's path over byte by byte, then plays it.
    void playlistWritten(const QString &playlistFile) override;
    // SCMPX shows the playing file in its title.
    PlayingFile playingFile(QString &marker) override;
    qint64 lyricsPosition() override { return m_smoothing.next(position()); }

    // The volume as SCMPX takes it (inverted for one version), when its window is there.
    static void sendVolume(PlayerContext &context, int value);

private:
    playback::ScmpxInterpolator m_smoothing;
};
