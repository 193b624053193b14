#pragma once
// The main window: tool bar, the two track lists, menus, and the lifecycle
// from start-up through the show sequence to shutdown. The work of each
// command is done by the classes it calls.
#include "app/lifecycle.h"
#include "app/ui/maintoolbar.h"
#include "app/ui/tracklistviews.h"
#include "config/settingsstore.h"
#include "platform/joypadpoll.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class Launcher;
class MutexCheck;
class Prompts;
class QMenu;
class QTreeView;
class TAnimateWindow;
class TDisRangeTrackBar;
class TFolderDialog;
class TrackLists;
class TrackModel;
class TTitleF;
class TWaitF;

struct MainServices {
    Prompts &prompts;
    Launcher &launcher;
    SettingsStore &settings;
};

class TTunoviaF : public QMainWindow, private Lifecycle::Window {
    Q_OBJECT
public:
    explicit TTunoviaF(MainServices services, QWidget *parent = nullptr);
    ~TTunoviaF() override;

    // Start-up: title window, start-up index choice, command line, volume bar.
    void FormCreate(const QStringList &arguments);
    // The show sequence: reloads settings, look and the current index file.
    void FormShow();
    // Pushes loaded settings into the window (player button, clock, look, joypad).
    void applySettings() override;
    // Companions created right after FormCreate, in this order; both live,
    // hidden, until the program ends.
    void createSettingsDialog();
    void createLyricsWindow();

    // State other parts of the program and the tests look at.
    const QString &currentIndexPath() const { return m_currentIndexPath; }
    void setCurrentIndexPath(const QString &path) { m_currentIndexPath = path; }
    QTreeView *currentList() const { return m_currentList; }
    QTreeView *listView() const { return m_lists->legacyView(); } // five columns
    QTreeView *listView2() const { return m_lists->albumView(); } // thirteen columns
    TrackModel *model() const { return m_lists->albumModel(); }
    TrackModel *legacyModel() const { return m_lists->legacyModel(); }
    bool legacyListShown() const { return m_listTag == 1; }
    DialogSettings &dialogSettings() { return m_dialog; }
    const ColumnWidths &columnWidths() const { return m_looks.widths; }
    int volumePosition() const;
    TDisRangeTrackBar *volumeBar() const { return m_toolBar->volumeBar(); }
    TFolderDialog *folderDialog() const { return m_FolderDialog1; }
    int lyricsTag() const { return m_lyricsTag; }
    QTimer &drawTimer() { return m_DrawTimer; }
    QTimer &joyTimer() { return m_JoyTimer; }
    int titleTicks() const { return m_titleTicks; }
    class TLyricsF *lyricsForm() const { return m_LyricsF; }
    class TSettingF *settingForm() const { return m_SettingF; }

    // Makes `path` the current index file and runs the show sequence, as
    // "インデックスファイル選択" does after its dialog (also used for dropped .ini files).
    void openIndexFile(const QString &path);
    // Adds dropped paths as a drop does (the subfolder question at most once).
    void addDroppedPaths(const QStringList &paths);
    // The joypad action dispatch: runs the action bound to joypad binding n (1-8).
    void runJoypadBinding(int n);
    void runJoypadAction(int action);

    // Players, volume and the clock. Each connect… runs once (again: nothing).
    void connectPlayerControls();
    void connectClockAndLyrics();
    void connectJoypad();
    // Sends the volume bar's position to the applied player.
    void VolumeBarChange();
    // Modifier keys held at a transport command; tests put fixed ones here.
    std::function<Qt::KeyboardModifiers()> playerModifiers;
    // The built-in player, as the transport commands and the hand-over reach it.
    // button: 1 previous, 2 play, 3 pause, 4 stop, 5 next.
    void builtinTransport(int button);
    void builtinHandOver(const QStringList &paths);
    void builtinStopAndClose();
    // The playback clock: digits, and the lyrics of the playing file.
    void DrawTimerMMTimer();
    // The built-in player's 500 ms tick.
    void MciTimerTimer();
    // The built-in player, created with its media device on first use.
    class BuiltinPlayer *builtinPlayer();
    // Puts `device` behind the built-in player (before its first use).
    void setMediaDevice(std::unique_ptr<class MediaDevice> device);
    // Program-wide clock state the tests look at.
    const QString &lastFileMarker() const;
    // Replaces the joystick (tests); the first tick otherwise opens the SDL one.
    void setJoystick(std::shared_ptr<class Joystick> joystick);
    void JoyTimerTimer();

public slots:
    // File
    void DataOpenMnuClick();
    void IniSelMnuClick();
    void MakeGroupMnuClick();
    void MakeMdtMnuClick();
    void KC1Click();
    void RunExploreMnuClick();
    void ExitBtnClick();
    // Edit
    void AllCheckMnuClick();
    void InvCheckMnuClick();
    void ReCheckMnuClick();
    void FileCopyClick();
    void RunJ2Click();
    void Runm2hClick();
    void DelListMnuClick();
    void Find1Click();
    void TotalTimeMnuClick();
    void TagEditMnuClick();
    // Play control
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void MP3ListViewDblClick();
    void PlayerQuitMnuClick();
    void UseWinampMnuClick();
    void UseScmpxMnuClick();
    void UseMciMnuClick();
    void UseChangeMnuClick();
    // Volume
    void VolDownMnuClick();
    void VolUpMnuClick();
    void VolAMnuClick();
    void VolBMnuClick();
    void VolCMnuClick();
    // Settings
    void SettingClick();
    void FontMnuClick();
    void FontColorMnuClick();
    void BackColorMnuClick();
    void KLyricsONOFF1Click();
    // Help
    void Contents1Click();
    void AboutMnuClick();
    // Tool bar
    void ListBtnClick();
    void ReportBtnClick();
    void MP3ListViewColumnClick(int column);
    // Refreshes the total display after clicks, key releases and selection commands.
    void updateTotalDisplay();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class MainPlayers;

    void connectToolBarAndLists();
    void FormCloseQuery();
    void FormClose();
    void reportStoreError(const ProfileWrite &result);
    void showLyricsWindow();
    void closeLyricsWindow();
    void restoreFonts();
    void restoreColumns();
    void storeColumnWidths();
    void resetColumnWidths();
    void applyLookAndSkins();
    bool legacyCurrent() const { return m_currentList == listView(); }
    void setCurrentList(QTreeView *list);
    TrackModel *playingModel() const { return legacyCurrent() ? legacyModel() : model(); }

    // Made on first use (see the members below).
    class TrackLists &trackLists();
    // Runs a list command on the current list, then refreshes the total.
    void listCommand(void (TrackLists::*command)() const);
    class TrackCommands &trackCommands();
    class MainPlayers &players();
    class PlayerControl &playerControl();

    // Lifecycle::Window: the steps of start-up, the show sequence and closing.
    void tell(Icon icon, const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    QString chooseIndexFile(const QString &start) override;
    QString chooseNewIndexFile(const QString &start) override;
    Lifecycle::AlbumChoice chooseAlbums(const QString &indexPath) override;
    void runSettingsDialog() override;
    void showTitle() override;
    void releaseTitle() override;
    WindowBounds bounds() const override;
    void placeAt(const WindowBounds &bounds) override;
    int volume() const override { return volumePosition(); }
    void setVolume(int position) override;
    void restoreLook() override;
    void saveColumnWidths() override { storeColumnWidths(); }
    void acceptDrops() override { setAcceptDrops(true); }
    void showListKind(bool legacy) override; // the five-column list when legacy, else the thirteen-column one
    void showTrackList(std::vector<TrackRecord> tracks) override;
    void showWaiting(bool shown) override;
    void showAlbumTracks(std::vector<TrackRecord> tracks, bool keep) override;
    void selectAll() override { AllCheckMnuClick(); }
    void focusWholeRows() override;
    void hideLyrics() override { closeLyricsWindow(); }
    void stopTimers() override;
    void closePlayer() override { PlayerQuitMnuClick(); }

    MainServices m_services;
    MutexCheck *m_CheckMutex1 = nullptr;
    QPointer<TTitleF> m_title;
    QPointer<TWaitF> m_wait;

    QString m_currentIndexPath;
    int m_listTag = 0;  // Tag of MP3ListView: 1 while a legacy track list is shown
    int m_list2Tag = 0; // Tag of MP3ListView2
    int m_lyricsTag = 0;
    bool m_titleReleased = false;
    bool m_firstShowDone = false;
    bool m_volumeBarConnected = false;
    bool m_clockConnected = false;
    int m_titleTicks = 0;

    DialogSettings m_dialog;
    ListLooks m_looks;
    ClassNames m_classNames;
    LyricsWindowSettings m_lyricsWindow;

    MainToolBar *m_toolBar = nullptr;
    TrackListViews *m_lists = nullptr; // the views and their models
    QTreeView *m_currentList = nullptr;
    TAnimateWindow *m_AnimateWindow1 = nullptr;
    TFolderDialog *m_FolderDialog1 = nullptr;
    QMenu *m_listMenu = nullptr;
    QAction *m_makeMdtAction = nullptr;
    class TLyricsF *m_LyricsF = nullptr;
    class TSettingF *m_SettingF = nullptr;

    QTimer m_DrawTimer;
    QTimer m_JoyTimer;
    QTimer m_MciTimer;

    Lifecycle m_lifecycle{*this,
                          m_services.settings,
                          m_services.launcher,
                          {m_currentIndexPath, m_dialog, m_lyricsWindow, m_classNames, m_lyricsTag}};
    // Each owned here alone; shared_ptr only so that this header needs no
    // complete types. Declared after the timers the players use, so they go first.
    std::shared_ptr<class TrackLists> m_trackLists;
    std::shared_ptr<class TrackCommands> m_trackCommands;
    std::shared_ptr<class MainPlayers> m_players;
    JoypadPoll m_joypad;
};
