#pragma once
// The main window's life without its widgets: start-up (the index file to
// open), the show sequence that opens it, the settings dialog round trip,
// closing, store errors and the help page. The window takes part through
// Lifecycle::Window; a step it does not provide is a compile error.
#include "config/settingsstore.h"
#include "library/indexfile.h"
#include "tracks/trackrecord.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

class Launcher;

class Lifecycle {
public:
    // What the album dialog gave: the index file it ended on (it may switch to
    // one of its own) and, when accepted, the albums chosen.
    struct AlbumChoice {
        QString indexPath;
        bool accepted = false;
        std::vector<indexfile::Entry> albums;
        bool keepTracks = false; // add to the album list rather than replace it
    };

    class Window {
    public:
        enum class Icon { None, Information, Error };
        virtual void tell(Icon icon, const QString &title, const QString &text) = 0;
        virtual bool askYesNo(const QString &title, const QString &text) = 0;
        // The index file open and new dialogs; empty when cancelled.
        virtual QString chooseIndexFile(const QString &start) = 0;
        virtual QString chooseNewIndexFile(const QString &start) = 0;
        virtual AlbumChoice chooseAlbums(const QString &indexPath) = 0;
        virtual void runSettingsDialog() = 0;

        virtual void showTitle() = 0;
        virtual void releaseTitle() = 0;
        virtual WindowBounds bounds() const = 0;
        virtual void placeAt(const WindowBounds &bounds) = 0; // kept on a screen
        virtual int volume() const = 0;
        virtual void setVolume(int position) = 0;
        virtual void restoreLook() = 0; // list fonts, then column widths
        virtual void saveColumnWidths() = 0;
        virtual void acceptDrops() = 0;
        virtual void showListKind(bool legacy) = 0; // the five-column list when legacy
        virtual void showTrackList(std::vector<TrackRecord> tracks) = 0;
        virtual void showWaiting(bool shown) = 0;
        virtual void showAlbumTracks(std::vector<TrackRecord> tracks, bool keep) = 0;
        virtual void applySettings() = 0;
        virtual void selectAll() = 0;
        virtual void focusWholeRows() = 0;
        virtual void hideLyrics() = 0;
        virtual void stopTimers() = 0;
        virtual void closePlayer() = 0;

    protected:
        ~Window() = default;
    };

    // The window's state that the steps read and write.
    struct State {
        QString &indexPath;
        DialogSettings &dialog;
        LyricsWindowSettings &lyricsWindow;
        ClassNames &classNames;
        int &lyricsTag; // 1 while the lyrics window is on
    };

    Lifecycle(Window &window, SettingsStore &store, Launcher &launcher, State state);

    // Start-up: title window, start-up index choice, command line, volume.
    void create(const QStringList &arguments);
    // The show sequence: settings, bounds and look, then the index file.
    void show();
    // Saves columns and bounds, then shows `indexPath` (or the current one again).
    void reopen();
    void open(const QString &indexPath);
    void chooseIndex();
    void createIndex();
    // The settings dialog between two loads of the settings.
    void runSettings();
    void closeQuery();
    void close();
    void help();
    // Tells a failed store once per run; every store fails alike on an unwritable folder.
    void reportStoreError(const ProfileWrite &result);

    // How the window shows the settings just loaded. Asked once per apply step:
    // "hide without lyrics" keeps the lyrics window closed on the first one only.
    struct Display {
        int player = 0; // whose hand-over button shows: 0 Winamp, 1 SCMPX, 2 the built-in player
        bool totalTime = false;
        bool playTime = false;
        int clockInterval = 0; // ms; 0 stops the clock
        bool lyricsWindow = false;
        bool joypad = false;
    };
    Display display();

private:
    void saveColumnsAndWindow();
    void reloadSettings();

    Window &m_window;
    SettingsStore &m_store;
    Launcher &m_launcher;
    State m_state;
    bool m_firstLyrics = false;
    QSet<QString> m_reportedStoreErrors;
};
