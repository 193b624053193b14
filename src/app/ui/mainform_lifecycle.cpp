// The show sequence, the apply-settings step and shutdown of the main window.
#include "app/ui/mainform.h"

#include "app/ui/titleform.h"
#include "config/wincolor.h"
#include "controls/ui/dtrackbar.h"
#include "controls/ui/screenfit.h"
#include "library/albumfile.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QTreeView>

namespace {
}

void TTunoviaF::runTitleWindow()
{
    m_title = new TTitleF(m_titleTicks, this);
    m_title->Tag = 1;
    m_title->exec();
}

void TTunoviaF::releaseTitle()
{
    if (m_titleReleased)
        return;
    m_titleReleased = true;
    delete m_title;
}

void TTunoviaF::FormShow()
{
    SettingsStore &store = m_services.settings;
    store.loadSettings(m_dialog);
    WindowBounds bounds = currentBounds();
    store.restoreWindowBounds(bounds);
    if (!(bounds == currentBounds()) && bounds.width > 0 && bounds.height > 0)
        setGeometry(screenfit::fitClient(this, QRect(bounds.left, bounds.top, bounds.width, bounds.height)));
    restoreFonts();
    restoreColumns();
    store.restoreLyricsWindow(m_lyricsWindow, m_dialog);
    // What came from the registry goes into the file at once: the next start
    // finds the file and imports nothing.
    reportStoreError(store.saveLegacyImport());
    setAcceptDrops(true);

    // Open the index file, or "tunovia.dat" beside it, or give up quietly.
    // Only a regular file counts: a device or a FIFO would never end or never answer.
    QString path = m_currentIndexPath;
    regularfile::Read file = regularfile::read(path);
    if (!file) {
        path = paths::folderPart(m_currentIndexPath) + QStringLiteral("tunovia.dat");
        file = regularfile::read(path);
        if (!file) {
            // Shown too: an older list left on screen would not be the one
            // that commands act on.
            showListKind(false);
            applySettings();
            selectAllIfAuto();
            return;
        }
    }
    m_currentIndexPath = path;
    reportStoreError(store.saveLastIndex(path));

    const bool legacy = album::isLegacyTrackList(file.bytes);
    showListKind(legacy);

    if (legacy) {
        loadLegacyList(file.bytes);
        restoreFonts();
        restoreColumns();
        store.restoreClassNames(m_classNames);
        releaseTitle();
    } else {
        releaseTitle();
        const AlbumLoadOutcome outcome = selectAndLoadAlbums();
        if (outcome != AlbumLoadOutcome::Loaded) {
            applySettings();
            if (outcome == AlbumLoadOutcome::Failed)
                selectAllIfAuto();
            return;
        }
    }
    applySettings();
    selectAllIfAuto();
    m_currentList->setAllColumnsShowFocus(true);

    if (m_dialog.winamp.isEmpty() && m_dialog.scmpx.isEmpty()) {
        m_services.prompts.info(this, U("MP3プレイヤーの設定をしてください。"));
        SettingClick();
    }
}

void TTunoviaF::showListKind(bool legacy)
{
    // The list shown is the one the commands act on; each carries its Tag.
    m_MP3ListView->setVisible(legacy);
    m_listTag = legacy ? 1 : 0;
    m_MP3ListView2->setVisible(!legacy);
    m_list2Tag = legacy ? 0 : 1;
    setCurrentList(legacy ? m_MP3ListView : m_MP3ListView2);
}

void TTunoviaF::selectAllIfAuto()
{
    if (m_dialog.autoSelect)
        AllCheckMnuClick();
}

void TTunoviaF::applySettings()
{
    // Player and display settings.
    m_lyricsTag = 0;
    const int handOver = m_dialog.usesWinamp() ? int(BuiltinPictures::ButtonPicture::Winamp)
                         : m_dialog.usesScmpx() ? int(BuiltinPictures::ButtonPicture::Scmpx)
                                                : int(BuiltinPictures::ButtonPicture::Mci);
    for (int which : {int(BuiltinPictures::ButtonPicture::Winamp), int(BuiltinPictures::ButtonPicture::Scmpx),
                      int(BuiltinPictures::ButtonPicture::Mci)})
        m_imageButtons[size_t(which)]->setVisible(which == handOver);
    m_TotalTimePnl->hide();
    m_TimePnl->hide();
    if (m_dialog.totalTime != 0)
        m_TotalTimePnl->show();
    if (m_dialog.playTime) {
        m_TimePnl->show();
        if (m_dialog.showLyrics) {
            closeLyricsWindow();
            m_DrawTimer.stop();
            m_dialog.drawInterval = 0;
            m_DrawTimer.setInterval(100);
            m_DrawTimer.start();
            // The first time, with "hide without lyrics" on, the window waits
            // until a track has lyrics.
            if (m_firstLyrics || !m_dialog.noLyricsHide) {
                showLyricsWindow();
                m_lyricsTag = 1;
            }
            m_firstLyrics = true;
        } else {
            m_lyricsTag = 0;
            closeLyricsWindow();
            m_DrawTimer.stop();
            m_DrawTimer.setInterval(100 * (m_dialog.drawInterval + 1));
            m_DrawTimer.start();
        }
    } else {
        m_DrawTimer.stop();
    }
    updateTotalDisplay();

    applyLookAndSkins();
    applyJoypadTimer();
}

void TTunoviaF::applyJoypadTimer()
{
    if (m_dialog.useJoyPad)
        m_JoyTimer.start();
    else
        m_JoyTimer.stop();
}

void TTunoviaF::SettingClick()
{
    closeLyricsWindow();
    m_services.settings.loadSettings(m_dialog);
    m_services.settings.restoreLyricsWindow(m_lyricsWindow, m_dialog);
    storeColumnWidths();
    if (runSettingsDialog)
        runSettingsDialog();
    m_services.settings.loadSettings(m_dialog);
    m_services.settings.restoreLyricsWindow(m_lyricsWindow, m_dialog);
    applySettings();
}

void TTunoviaF::saveColumnsAndWindow()
{
    closeLyricsWindow();
    storeColumnWidths();
    reportStoreError(m_services.settings.saveWindowBounds(currentBounds()));
}

void TTunoviaF::DataOpenMnuClick()
{
    saveColumnsAndWindow();
    FormShow();
}

// ---- shutdown ----

void TTunoviaF::ExitBtnClick()
{
    if (m_services.prompts.askYesNo(this, U("終了確認"), U("終了してもいいですか？")))
        close();
}

void TTunoviaF::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    FormClose();
    event->accept();
}

void TTunoviaF::FormCloseQuery()
{
    m_lyricsTag = 0;
    closeLyricsWindow();
    m_services.settings.loadSettings(m_dialog);
    m_DrawTimer.stop();
    m_JoyTimer.stop();
    for (const QString &tool : {m_dialog.j2, m_dialog.m2h}) {
        if (tool.isEmpty())
            continue;
        const QString playlist = paths::folderPart(paths::fromWindows(tool)) + QStringLiteral("~Tunov~.m3u");
        if (QFileInfo::exists(playlist))
            QFile::remove(playlist);
    }
    if (m_dialog.startMode.isOn(2))
        quitPlayer();
    if (m_dialog.quitPolicy.isOn(0))
        quitPlayer();
    else if (m_dialog.quitPolicy.isOn(2)
             && m_services.prompts.askYesNo(this, QStringLiteral("Tunovia"), U("MP3プレイヤーを終了しますか？")))
        quitPlayer();
}

void TTunoviaF::FormClose()
{
    storeColumnWidths();
    reportStoreError(m_services.settings.saveWindowBounds(currentBounds()));
    reportStoreError(m_services.settings.saveMainVolume(m_VolumeBar->value()));
}

// ---- help ----

void TTunoviaF::Contents1Click()
{
    const QString folder = paths::programFolder();
    for (const char *name : {"help/index.html", "help/dummy.html"}) {
        const QString page = folder + QString::fromLatin1(name);
        if (QFileInfo(page).isFile()) {
            m_services.launcher.openDocument(page);
            return;
        }
    }
    m_services.prompts.message(this, QStringLiteral("Tunovia"),
                               U("ヘルプが見つかりません。\nRavlen Worksからhtmlヘルプをダウンロードして\nhelpフォルダに解凍しておいてください。\n"),
                               Prompts::Icon::Error);
}
