#pragma once
// The main window: tool bar, the two track lists, menus, and the lifecycle
// from start-up through the show sequence to shutdown.
#include "app/lifecycle.h"
#include "app/looksettings.h"
#include "app/ui/builtinpictures.h"
#include "config/settingsstore.h"
#include "platform/joypadpoll.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <array>
#include <functional>

class Launcher;
class MainToolBar;
class MutexCheck;
class Prompts;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class TAnimateWindow;
class TDisRangeTrackBar;
class TFolderDialog;
class QToolButton;
class QTreeView;
class TrackListViews;
class TrackModel;
class TTitleF;
class TWaitF;
class QDragEnterEvent;
class QDropEvent;

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

    // State other parts of the program and the tests look at.
    const QString &currentIndexPath() const { return m_currentIndexPath; }
    void setCurrentIndexPath(const QString &path) { m_currentIndexPath = path; }
    QTreeView *currentList() const { return m_currentList; }
    QTreeView *listView() const { return m_MP3ListView; }   // five columns
    QTreeView *listView2() const { return m_MP3ListView2; } // thirteen columns
    TrackModel *model() const { return m_model2; }
    TrackModel *legacyModel() const { return m_model; }
    bool legacyListShown() const { return m_listTag == 1; }
    DialogSettings &dialogSettings() { return m_dialog; }
    const ColumnWidths &columnWidths() const { return m_looks.widths; }
    int volumePosition() const;
    TDisRangeTrackBar *volumeBar() const { return m_VolumeBar; }
    TFolderDialog *folderDialog() const { return m_FolderDialog1; }
    int lyricsTag() const { return m_lyricsTag; }
    QTimer &drawTimer() { return m_DrawTimer; }
    QTimer &joyTimer() { return m_JoyTimer; }
    bool titleReleased() const { return m_titleReleased; }
    int titleTicks() const { return m_titleTicks; }

    // Companions created right after FormCreate, in this order; both live,
    // hidden, until the program ends.
    void createSettingsDialog();
    void createLyricsWindow();
    // The joypad action dispatch: runs the action bound to joypad binding n (1-8).
    void runJoypadBinding(int n);
    void runJoypadAction(int action);

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
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void showLyricsWindow();
    void buildMenus();
    void connectToolBarAndLists();
    void FormCloseQuery();
    void FormClose();
    void reportStoreError(const ProfileWrite &result);
    void closeLyricsWindow();
    void quitPlayer();
    void restoreFonts();
    void restoreColumns();
    // A column's width even while the plain-list style hides it.
    static int keptColumnWidth(QTreeView *view, int column);
    void storeColumnWidths();
    void applyLookAndSkins();
    void setCurrentList(QTreeView *list);
    void showListKind(bool legacy) override; // the five-column list when legacy, else the thirteen-column one
    void releaseTitle() override;

    MainServices m_services;
    MutexCheck *m_CheckMutex1 = nullptr;
    QPointer<TTitleF> m_title;

    QString m_currentIndexPath;
    int m_listTag = 0;  // Tag of MP3ListView: 1 while a legacy track list is shown
    int m_list2Tag = 0; // Tag of MP3ListView2
    int m_lyricsTag = 0;
    bool m_titleReleased = false;
    bool m_firstShowDone = false;
    int m_titleTicks = 0;

    DialogSettings m_dialog;
    ListLooks m_looks;
    ClassNames m_classNames;
    LyricsWindowSettings m_lyricsWindow;

    // The tool bar and the two lists own their widgets; the models, views and
    // tool bar widgets below are the names the window's parts use for them.
    MainToolBar *m_toolBar = nullptr;
    TrackListViews *m_lists = nullptr;
    TrackModel *m_model = nullptr;
    TrackModel *m_model2 = nullptr;
    QTreeView *m_MP3ListView = nullptr;
    QTreeView *m_MP3ListView2 = nullptr;
    QTreeView *m_currentList = nullptr;

    // RunWinamp, RunScmpx, RunMci, SpeedButton1-5 in picture order.
    std::array<QToolButton *, BuiltinPictures::kButtonPictureCount> m_imageButtons{};
    TDisRangeTrackBar *m_VolumeBar = nullptr;
    QLabel *m_TotalTimePnl = nullptr;
    QFrame *m_TimePnl = nullptr;
    std::array<QLabel *, 4> m_timeDigits{}; // Time1-Time4
    QLabel *m_Img1 = nullptr;
    const std::array<QPixmap, 10> &m_digitPictures; // Image0-Image9, as skins change them

    TAnimateWindow *m_AnimateWindow1 = nullptr;
    TFolderDialog *m_FolderDialog1 = nullptr;
    QMenu *m_listMenu = nullptr;

    QTimer m_DrawTimer;
    QTimer m_JoyTimer;
    QTimer m_MciTimer;

    // ---- library (index files, album loading) ----
public:
    // Makes `path` the current index file and runs the show sequence, as
    // "インデックスファイル選択" does after its dialog (also used for dropped .ini files).
    void openIndexFile(const QString &path);

private:
    // Lifecycle::Window: the steps of start-up, the show sequence and closing.
    void tell(Icon icon, const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    QString chooseIndexFile(const QString &start) override;
    QString chooseNewIndexFile(const QString &start) override;
    Lifecycle::AlbumChoice chooseAlbums(const QString &indexPath) override;
    void runSettingsDialog() override;
    void showTitle() override;
    WindowBounds bounds() const override;
    void placeAt(const WindowBounds &bounds) override;
    int volume() const override { return volumePosition(); }
    void setVolume(int position) override;
    void restoreLook() override;
    void saveColumnWidths() override { storeColumnWidths(); }
    void acceptDrops() override { setAcceptDrops(true); }
    void showTrackList(std::vector<TrackRecord> tracks) override;
    void showWaiting(bool shown) override;
    void showAlbumTracks(std::vector<TrackRecord> tracks, bool keep) override;
    void selectAll() override { AllCheckMnuClick(); }
    void focusWholeRows() override;
    void hideLyrics() override { closeLyricsWindow(); }
    void stopTimers() override;
    void closePlayer() override { quitPlayer(); }

    QPointer<TWaitF> m_wait;
    Lifecycle m_lifecycle{*this,
                          m_services.settings,
                          m_services.launcher,
                          {m_currentIndexPath, m_dialog, m_lyricsWindow, m_classNames, m_lyricsTag}};

    // ---- tracks (drops, album building, tags, find, totals, copy, tools) ----
public:
    // Adds dropped paths as a drop does (the subfolder question at most once).
    void addDroppedPaths(const QStringList &paths);

private:
    // Both track lists, which is current, their sort state and list commands.
    class TrackLists &trackLists();
    QList<int> selectedRowList(); // ascending
    void handOverToTool(QString DialogSettings::*toolPath, const QString &emptyPathMessage);
    QAction *m_makeMdtAction = nullptr;
    // Shared only so this header needs no complete types; owned here alone.
    std::shared_ptr<class TrackLists> m_trackLists;
    std::shared_ptr<class TrackCopy> m_trackCopy; // remembers the last copy folder

    // ---- players and volume ----
public:
    // Connects the volume bar to the players; called once by the constructor.
    void connectPlayerControls();
    // Sends the volume bar's position to the applied player.
    void VolumeBarChange();
    // Modifier keys held at a transport command; tests put fixed ones here.
    std::function<Qt::KeyboardModifiers()> playerModifiers;

private:
    friend class MainPlayers;
    // The players, the clock and the window's side of both (made on first use).
    class MainPlayers &players();
    class PlayerControl &playerControl();
    // shared_ptr only so this header needs no complete type; owned here alone.
    std::shared_ptr<class MainPlayers> m_players;
    bool m_volumeBarConnected = false;

    // ---- clock, built-in player and lyrics window ----
public:
    // The built-in player, as the transport commands and the hand-over reach it.
    // button: 1 previous, 2 play, 3 pause, 4 stop, 5 next.
    void builtinTransport(int button);
    void builtinHandOver(const QStringList &paths);
    void builtinStopAndClose();
    // Connects DrawTimer and MciTimer to their ticks (once).
    void connectClockAndLyrics();
    // The playback clock: digits, and the lyrics of the playing file.
    void DrawTimerMMTimer();
    // The built-in player's 500 ms tick.
    void MciTimerTimer();
    class TLyricsF *lyricsForm() const { return m_LyricsF; }
    // The built-in player, created with its media device on first use.
    class BuiltinPlayer *builtinPlayer();
    // Puts `device` behind the built-in player (before its first use).
    void setMediaDevice(std::unique_ptr<class MediaDevice> device);
    // Program-wide clock state the tests look at.
    const QString &lastFileMarker() const;

private:
    TrackModel *playingModel() const; // model of the current list

    class TLyricsF *m_LyricsF = nullptr;
    bool m_clockConnected = false;

    // ---- settings dialog and joypad ----
public:
    // Polls the joypad on every JoyTimer tick; calling it again changes nothing.
    void connectJoypad();
    // Replaces the joystick (tests); the first tick otherwise opens the SDL one.
    void setJoystick(std::shared_ptr<class Joystick> joystick);
    void JoyTimerTimer();
    class TSettingF *settingForm() const { return m_SettingF; }

private:
    void resetColumnWidths();

    class TSettingF *m_SettingF = nullptr;
    JoypadPoll m_joypad;
};
