// The main window's part in its lifecycle (see Lifecycle): the title window,
// index files and album loading, the apply-settings step, the settings
// dialog, and the handlers of showing, closing and help.
#include "app/ui/mainform.h"

#include "app/ui/albumchoice.h"
#include "app/ui/titleform.h"
#include "app/ui/waitform.h"
#include "controls/ui/screenfit.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "settings/ui/settingform.h"
#include "tracks/trackmodel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>

void TTunoviaF::FormCreate(const QStringList &arguments) { m_lifecycle.create(arguments); }

void TTunoviaF::FormShow() { m_lifecycle.show(); }

void TTunoviaF::showTitle()
{
    m_title = new TTitleF(m_titleTicks, this);
    m_title->Tag = 1;
    m_title->exec();
    QCoreApplication::processEvents();
}

void TTunoviaF::releaseTitle()
{
    if (!std::exchange(m_titleReleased, true))
        delete m_title;
}

void TTunoviaF::tell(Icon icon, const QString &title, const QString &text)
{
    constexpr Prompts::Icon icons[] = {Prompts::Icon::None, Prompts::Icon::Information, Prompts::Icon::Error};
    m_services.prompts.message(this, title, text, icons[int(icon)]);
}

bool TTunoviaF::askYesNo(const QString &title, const QString &text)
{
    return m_services.prompts.askYesNo(this, title, text);
}

WindowBounds TTunoviaF::bounds() const
{
    const QRect g = geometry();
    return WindowBounds{g.top(), g.left(), g.width(), g.height()};
}

void TTunoviaF::placeAt(const WindowBounds &b)
{
    setGeometry(screenfit::fitClient(this, QRect(b.left, b.top, b.width, b.height)));
}

void TTunoviaF::focusWholeRows() { m_currentList->setAllColumnsShowFocus(true); }

void TTunoviaF::showListKind(bool legacy)
{
    // The list shown is the one the commands act on; each carries its Tag.
    listView()->setVisible(legacy);
    m_listTag = legacy ? 1 : 0;
    listView2()->setVisible(!legacy);
    m_list2Tag = legacy ? 0 : 1;
    setCurrentList(legacy ? listView() : listView2());
}

void TTunoviaF::applySettings()
{
    const Lifecycle::Display shown = m_lifecycle.display();
    m_lyricsTag = 0;
    using BuiltinPictures::ButtonPicture;
    int which = 0; // the hand-over buttons of Winamp, SCMPX and the built-in player, in shown.player's order
    for (auto button : {ButtonPicture::Winamp, ButtonPicture::Scmpx, ButtonPicture::Mci})
        m_toolBar->imageButton(button)->setVisible(which++ == shown.player);
    m_toolBar->totalTimePanel()->setVisible(shown.totalTime);
    m_toolBar->timePanel()->setVisible(shown.playTime);
    if (shown.playTime)
        closeLyricsWindow();
    m_DrawTimer.stop();
    if (shown.clockInterval > 0) {
        m_DrawTimer.setInterval(shown.clockInterval);
        m_DrawTimer.start();
    }
    if (shown.lyricsWindow) {
        showLyricsWindow();
        m_lyricsTag = 1;
    }
    updateTotalDisplay();
    applyLookAndSkins();
    if (shown.joypad)
        m_JoyTimer.start();
    else
        m_JoyTimer.stop();
}

// ---- index files and albums ----

void TTunoviaF::openIndexFile(const QString &path) { m_lifecycle.open(path); }
void TTunoviaF::DataOpenMnuClick() { m_lifecycle.reopen(); }
void TTunoviaF::IniSelMnuClick() { m_lifecycle.chooseIndex(); }
void TTunoviaF::MakeGroupMnuClick() { m_lifecycle.createIndex(); }

QString TTunoviaF::chooseIndexFile(const QString &start)
{
    return m_services.prompts.openFile(this, U("グループファイルの選択"), start,
                                       U(".iniファイル (*.ini);;全てのファイル (*)"));
}

QString TTunoviaF::chooseNewIndexFile(const QString &start)
{
    return m_services.prompts.saveFile(this, U("インデックスファイルの新規作成"), start,
                                       U("インデックスファイル (*.ini);;全てのファイル (*)"), QString());
}

Lifecycle::AlbumChoice TTunoviaF::chooseAlbums(const QString &indexPath)
{
    return ::chooseAlbums(this, m_services.prompts, m_services.settings, m_services.launcher, indexPath);
}

void TTunoviaF::showTrackList(std::vector<TrackRecord> tracks)
{
    legacyModel()->setSizeShownAsTime(m_dialog.size2Time);
    legacyModel()->setTracks(std::move(tracks));
}

void TTunoviaF::showWaiting(bool shown)
{
    delete m_wait;
    if (shown) {
        m_wait = new TWaitF(this);
        m_wait->popUp();
    }
}

void TTunoviaF::showAlbumTracks(std::vector<TrackRecord> tracks, bool keep)
{
    if (!keep)
        model()->clear();
    listView2()->setUpdatesEnabled(false);
    model()->append(std::move(tracks));
    listView2()->setUpdatesEnabled(true);
}

// ---- the settings dialog ----

void TTunoviaF::createSettingsDialog()
{
    if (m_SettingF)
        return;
    SettingHooks hooks;
    hooks.columnWidths = [this]() -> std::optional<std::array<int, kTrackFieldCount>> {
        return legacyCurrent() ? std::nullopt : std::optional(m_lists->albumColumnWidths());
    };
    hooks.resetColumnWidths = [this] { resetColumnWidths(); };
    hooks.restoreColumns = [this] { restoreColumns(); };
    hooks.classNames = [this] { return m_classNames; };
    hooks.legacyListShown = [this] { return m_listTag == 1; };
    m_SettingF = new TSettingF(m_dialog, m_services.settings, m_services.prompts, std::move(hooks), this);
}

void TTunoviaF::runSettingsDialog()
{
    if (m_SettingF)
        m_SettingF->exec();
}

void TTunoviaF::SettingClick() { m_lifecycle.runSettings(); }

// ---- shutdown and help ----

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

void TTunoviaF::FormCloseQuery() { m_lifecycle.closeQuery(); }
void TTunoviaF::FormClose() { m_lifecycle.close(); }

void TTunoviaF::stopTimers()
{
    m_DrawTimer.stop();
    m_JoyTimer.stop();
}

void TTunoviaF::Contents1Click() { m_lifecycle.help(); }
