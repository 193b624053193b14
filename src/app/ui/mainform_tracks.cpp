// Track commands of the main window: drops, album building, tags, find,
// totals, copy and the outside tools. The work is done in src/tracks.
#include "app/ui/mainform.h"

#include "controls/ui/folderdialog.h"
#include "platform/paths.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/albumwriter.h"
#include "tracks/dropsorter.h"
#include "tracks/id3v1.h"
#include "tracks/toolhandover.h"
#include "tracks/trackcopy.h"
#include "tracks/tracklists.h"
#include "tracks/ui/copyform.h"
#include "tracks/ui/findform.h"
#include "tracks/ui/tageditform.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QTimer>
#include <QTreeView>

TrackLists &TTunoviaF::trackLists()
{
    if (!m_trackLists) // first asked for once the lists are built
        m_trackLists = std::make_shared<TrackLists>(m_model, m_MP3ListView->selectionModel(), m_model2,
                                                    m_MP3ListView2->selectionModel());
    return *m_trackLists;
}

QList<int> TTunoviaF::selectedRowList() { return trackLists().selectedRows(); }

void TTunoviaF::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DropSorter::localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QMainWindow::dragEnterEvent(event);
}

void TTunoviaF::dropEvent(QDropEvent *event)
{
    const QStringList dropped = DropSorter::localPaths(event->mimeData());
    if (dropped.isEmpty())
        return QMainWindow::dropEvent(event);
    event->acceptProposedAction();
    // Release the drag source first: the drop may ask a question and scan for a while.
    QTimer::singleShot(0, this, [this, dropped] { addDroppedPaths(dropped); });
}

void TTunoviaF::addDroppedPaths(const QStringList &dropped)
{
    DropSorter::Handlers on;
    on.askSubfolders = [this] {
        return m_services.prompts.askYesNo(this, U("確認"), U("サブフォルダ以下も検索しますか？"));
    };
    on.lyricsFolder = [this] { return m_dialog.findFolder; };
    on.openIndexFile = [this](const QString &path) { openIndexFile(path); };
    on.addTracks = [this](std::vector<TrackRecord> rows) {
        m_model2->append(std::move(rows));
        // Dropped rows always join the thirteen-column list; it must be the
        // one on screen, or the drop would seem to vanish.
        if (m_currentList != m_MP3ListView2) {
            showListKind(false);
            restoreColumns();
            updateTotalDisplay();
        }
    };
    DropSorter(GenreTable::loadDefault()).sort(dropped, on);
}

void TTunoviaF::MakeMdtMnuClick()
{
    if (m_currentList != m_MP3ListView2) // the five-column list lacks most of an album line's fields
        return;
    const bool selectedOnly =
        m_services.prompts.askYesNo(this, U("確認"), U("選択されているファイルだけを出力の対象にしますか？"));
    const QString path =
        m_services.prompts.saveFile(this, U("アルバムファイル(.mdt)の作成"), paths::folderPart(m_currentIndexPath),
                                    U("Tunoviaアルバムファイル (*.mdt);;全てのファイル (*)"), QStringLiteral("mdt"));
    if (path.isEmpty())
        return;
    const Result<> saved =
        albumwriter::saveAlbumFile(path, trackLists().albumFileRows(selectedRowList(), selectedOnly));
    if (!saved.ok())
        m_services.prompts.error(this, saved.error());
}

void TTunoviaF::TagEditMnuClick()
{
    const QStringList files = trackLists().resolvedPaths(selectedRowList(), m_currentIndexPath);
    if (files.isEmpty())
        return;
    const GenreTable genres = GenreTable::loadDefault();
    for (const QString &path : files) {
        TTagEditF dialog(path, id3v1::ReadTag(path), genres, this);
        if (dialog.exec() != QDialog::Accepted)
            continue;
        const Result<qint64> written = id3v1::WriteTag(path, dialog.fields());
        if (!written)
            m_services.prompts.error(this, written.error());
    }
}

void TTunoviaF::Find1Click()
{
    TFindF dialog(m_services.settings.profile(), trackLists().legacyCurrent(), this);
    const int outcome = dialog.exec();
    reportStoreError(dialog.saveResult());
    if (outcome != QDialog::Accepted)
        return;
    trackLists().selectRows(trackLists().findRows(selectedRowList(), dialog.findText(), dialog.boxes()));
    updateTotalDisplay();
}

void TTunoviaF::TotalTimeMnuClick()
{
    m_services.prompts.info(this, findtotals::totalTimeMessage(trackLists().totals(selectedRowList(), false).seconds));
}

void TTunoviaF::updateTotalDisplay()
{
    // Runs after every list switch (through applySettings), so the album
    // command follows the current list here.
    if (!m_makeMdtAction)
        m_makeMdtAction = findChild<QAction *>(QStringLiteral("MakeMdtMnu"));
    if (m_makeMdtAction)
        m_makeMdtAction->setEnabled(m_currentList != m_MP3ListView);
    const auto panel = trackLists().totalPanel(m_dialog.totalTime, selectedRowList());
    if (!panel)
        return;
    m_TotalTimePnl->setText(panel->text);
    // The set widths suit the original font; a wider font must not clip the total.
    const int needed =
        m_TotalTimePnl->fontMetrics().horizontalAdvance(panel->text) + 2 * m_TotalTimePnl->frameWidth() + 4;
    m_TotalTimePnl->setFixedWidth(std::max(panel->width, needed));
}

void TTunoviaF::FileCopyClick()
{
    const QList<int> rows = selectedRowList();
    if (rows.isEmpty())
        return;
    CopyOptions options;
    m_services.settings.restoreCopyOptions(options);
    if (!m_trackCopy)
        m_trackCopy = std::make_shared<TrackCopy>();
    m_trackCopy->setTracks(trackLists().tracksOf(rows), m_currentIndexPath, m_dialog.findFolder);
    TCopyF dialog(options, this);
    dialog.setTracks(m_trackCopy->tracks());
    if (dialog.exec() != QDialog::Accepted)
        return;
    options = dialog.options();
    m_trackCopy->start({options.mp3, options.lyrics1, options.lyrics2}, options.move);
    auto askTarget = [this](const QString &caption, const QString &proposed) { // replaces a file without asking
        return m_services.prompts.saveFile(this, caption, proposed,
                                           U("MP3 + Lyrics (*.mp3 *.rmp *.txt);;MP3 (*.mp3 *.rmp);;Lyrics (*.txt)"),
                                           QStringLiteral("mp3"), false);
    };
    auto askFolder = [this](const QString &start) -> std::optional<QString> {
        m_FolderDialog1->setCaption(U("コピー先のフォルダを選択してください。"));
        m_FolderDialog1->setStartDir(start);
        return m_FolderDialog1->Execute() ? std::optional(m_FolderDialog1->directory()) : std::nullopt;
    };
    if (const auto done = m_trackCopy->run(dialog.order(), options.mode.isOn(1), askTarget, askFolder))
        m_services.prompts.info(this, *done);
    reportStoreError(m_services.settings.storeCopyOptions(options));
}

void TTunoviaF::handOverToTool(QString DialogSettings::*toolPath, const QString &emptyPathMessage)
{
    m_services.settings.loadSettings(m_dialog);
    const QStringList files = trackLists().resolvedPaths(selectedRowList(), m_currentIndexPath);
    if (const auto error = ToolHandover(m_services.launcher).handOver(m_dialog.*toolPath, emptyPathMessage, files))
        m_services.prompts.error(this, *error);
}

void TTunoviaF::RunJ2Click() { handOverToTool(&DialogSettings::j2, U("J2のパスを設定してください。")); }
void TTunoviaF::Runm2hClick() { handOverToTool(&DialogSettings::m2h, U("m2hのパスを設定してください。")); }
void TTunoviaF::RunExploreMnuClick() { ToolHandover(m_services.launcher).openExplorer(m_dialog.explorerPath); }
