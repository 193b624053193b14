#include "app/lifecycle.h"

#include "app/commandline.h"
#include "app/startupindex.h"
#include "library/indexsource.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/u8.h"

#include <QFile>
#include <QFileInfo>

using Icon = Lifecycle::Window::Icon;

Lifecycle::Lifecycle(Window &window, SettingsStore &store, Launcher &launcher, State state)
    : m_window(window), m_store(store), m_launcher(launcher), m_state(state)
{
}

void Lifecycle::create(const QStringList &arguments)
{
    m_window.showTitle();
    StartupIndexPrompts prompts;
    prompts.lastMissing = [this] {
        m_window.tell(Icon::Error, QStringLiteral("Tunovia - Error"), U("前回終了時のグループが見つかりません。"));
    };
    prompts.chooseIndexFile = [this] { return m_window.chooseIndexFile(m_store.defaultIndexPath()); };
    QString &path = m_state.indexPath;
    path = chooseStartupIndex(m_store, prompts);
    if (auto fromArgs = indexPathFromCommandLine(arguments))
        path = *fromArgs;
    // A relative index path ("tunovia data/tunovia.ini") names a file in the
    // working folder; held as given, album and track paths built from it
    // would be resolved against the index folder a second time.
    if (!path.isEmpty())
        path = QFileInfo(path).absoluteFilePath();
    m_window.setVolume(m_store.restoreMainVolume());
}

void Lifecycle::show()
{
    DialogSettings &dialog = m_state.dialog;
    m_store.loadSettings(dialog);
    WindowBounds bounds = m_window.bounds();
    m_store.restoreWindowBounds(bounds);
    if (!(bounds == m_window.bounds()) && bounds.width > 0 && bounds.height > 0)
        m_window.placeAt(bounds);
    m_window.restoreLook();
    m_store.restoreLyricsWindow(m_state.lyricsWindow, dialog);
    // What came from the registry goes into the file at once: the next start
    // finds the file and imports nothing.
    reportStoreError(m_store.storeLegacyImport());
    m_window.acceptDrops();

    const IndexSource source = IndexSource::open(m_state.indexPath);
    if (source.kind() == IndexSource::Kind::Unreadable) {
        // Shown too: an older list left on screen would not be the one
        // that commands act on.
        m_window.showListKind(false);
        m_window.applySettings();
        if (dialog.autoSelect)
            m_window.selectAll();
        return;
    }
    m_state.indexPath = source.path();
    reportStoreError(m_store.storeLastIndex(source.path()));

    const bool legacy = source.kind() == IndexSource::Kind::TrackList;
    m_window.showListKind(legacy);
    if (legacy) {
        m_window.showTrackList(source.trackList());
        m_window.restoreLook();
        m_store.restoreClassNames(m_state.classNames);
        m_window.releaseTitle();
    } else {
        m_window.releaseTitle();
        const AlbumChoice choice = m_window.chooseAlbums(m_state.indexPath);
        // The dialog may have switched to a new index file of its own; it is
        // current from then on, whether or not albums are loaded.
        m_state.indexPath = choice.indexPath;
        if (!choice.accepted) {
            m_window.applySettings();
            return;
        }
        m_window.showWaiting(true);
        IndexSource::Albums albums = IndexSource::readAlbums(choice.albums, m_state.indexPath, dialog.findFolder);
        m_window.showAlbumTracks(std::move(albums.tracks), choice.keepTracks);
        if (albums.read > 0) {
            m_window.restoreLook();
            m_store.restoreClassNames(m_state.classNames);
        }
        m_window.showWaiting(false);
        if (albums.error) {
            m_window.tell(Icon::None, QString(), U("データファイルがロードできませんでした。"));
            m_window.applySettings();
            if (dialog.autoSelect)
                m_window.selectAll();
            return;
        }
    }
    m_window.applySettings();
    if (dialog.autoSelect)
        m_window.selectAll();
    m_window.focusWholeRows();

    if (dialog.winamp.isEmpty() && dialog.scmpx.isEmpty()) {
        m_window.tell(Icon::Information, QStringLiteral("Tunovia"), U("MP3プレイヤーの設定をしてください。"));
        runSettings();
    }
}

void Lifecycle::saveColumnsAndWindow()
{
    m_window.hideLyrics();
    m_window.saveColumnWidths();
    reportStoreError(m_store.storeWindowBounds(m_window.bounds()));
}

void Lifecycle::reopen()
{
    saveColumnsAndWindow();
    show();
}

void Lifecycle::open(const QString &indexPath)
{
    saveColumnsAndWindow();
    m_state.indexPath = indexPath;
    show();
}

void Lifecycle::chooseIndex()
{
    const QString chosen = m_window.chooseIndexFile(m_state.indexPath);
    if (!chosen.isEmpty())
        open(chosen);
}

void Lifecycle::createIndex()
{
    const QString chosen = m_window.chooseNewIndexFile(m_state.indexPath);
    if (chosen.isEmpty())
        return;
    if (const Result<> saved = indexfile::saveFile(chosen, indexfile::newFileContent()); !saved.ok()) {
        m_window.tell(Icon::Error, QStringLiteral("Tunovia エラー"),
                      U("インデックスファイルを作成できませんでした。\n%1\n%2").arg(chosen, saved.error()));
        return;
    }
    open(chosen);
}

void Lifecycle::reloadSettings()
{
    m_store.loadSettings(m_state.dialog);
    m_store.restoreLyricsWindow(m_state.lyricsWindow, m_state.dialog);
}

void Lifecycle::runSettings()
{
    m_window.hideLyrics();
    reloadSettings();
    m_window.saveColumnWidths();
    m_window.runSettingsDialog();
    reloadSettings();
    m_window.applySettings();
}

Lifecycle::Display Lifecycle::display()
{
    DialogSettings &dialog = m_state.dialog;
    Display d;
    d.player = dialog.usesWinamp() ? 0 : dialog.usesScmpx() ? 1 : 2;
    d.totalTime = dialog.totalTime != 0;
    d.playTime = dialog.playTime;
    d.joypad = dialog.useJoyPad;
    if (!dialog.playTime)
        return d;
    if (dialog.showLyrics) {
        dialog.drawInterval = 0;
        d.clockInterval = 100;
        // The first time, with "hide without lyrics" on, the window waits
        // until a track has lyrics.
        d.lyricsWindow = m_firstLyrics || !dialog.noLyricsHide;
        m_firstLyrics = true;
    } else {
        d.clockInterval = 100 * (dialog.drawInterval + 1);
    }
    return d;
}

void Lifecycle::closeQuery()
{
    m_state.lyricsTag = 0;
    m_window.hideLyrics();
    m_store.loadSettings(m_state.dialog);
    m_window.stopTimers();
    const DialogSettings &dialog = m_state.dialog;
    for (const QString &tool : {dialog.j2, dialog.m2h}) {
        if (tool.isEmpty())
            continue;
        const QString playlist = paths::folderPart(paths::fromWindows(tool)) + QStringLiteral("~Tunov~.m3u");
        if (QFileInfo::exists(playlist))
            QFile::remove(playlist);
    }
    if (dialog.startMode.isOn(2))
        m_window.closePlayer();
    if (dialog.quitPolicy.isOn(0) ||
        (dialog.quitPolicy.isOn(2) && m_window.askYesNo(QStringLiteral("Tunovia"), U("MP3プレイヤーを終了しますか？"))))
        m_window.closePlayer();
}

void Lifecycle::close()
{
    m_window.saveColumnWidths();
    reportStoreError(m_store.storeWindowBounds(m_window.bounds()));
    reportStoreError(m_store.storeMainVolume(m_window.volume()));
}

void Lifecycle::help()
{
    const QString folder = paths::programFolder();
    for (const char *name : {"help/index.html", "help/dummy.html"}) {
        const QString page = folder + QString::fromLatin1(name);
        if (QFileInfo(page).isFile()) {
            m_launcher.openDocument(page);
            return;
        }
    }
    m_window.tell(Icon::Error, QStringLiteral("Tunovia"),
                  U("ヘルプが見つかりません。\nRavlen "
                    "Worksからhtmlヘルプをダウンロードして\nhelpフォルダに解凍しておいてください。\n"));
}

void Lifecycle::reportStoreError(const ProfileWrite &result)
{
    // An unwritable settings folder fails every store the same way; one box
    // says it, a box per store at every exit would only nag.
    if (const auto text = m_store.failureToReport(result))
        m_window.tell(Icon::Error, QStringLiteral("Tunovia"), *text);
}
