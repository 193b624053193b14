// Track commands of the main window: list commands, drops, album building,
// tags, find, totals, copy and the outside tools. The work is done in
// TrackLists, DropSorter and TrackCommands.
#include "app/ui/mainform.h"

#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/dropsorter.h"
#include "tracks/tracklists.h"
#include "tracks/ui/trackcommands.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QTreeView>

TrackLists &TTunoviaF::trackLists()
{
    if (!m_trackLists) // first asked for once the lists are built
        m_trackLists = std::make_shared<TrackLists>(legacyModel(), listView()->selectionModel(), model(),
                                                    listView2()->selectionModel());
    return *m_trackLists;
}

TrackCommands &TTunoviaF::trackCommands()
{
    if (!m_trackCommands)
        m_trackCommands = std::make_shared<TrackCommands>(TrackCommands::Context{
            this, m_services.prompts, m_services.launcher, m_services.settings, trackLists(), m_dialog,
            m_currentIndexPath, m_FolderDialog1, [this](const ProfileWrite &result) { reportStoreError(result); }});
    return *m_trackCommands;
}

void TTunoviaF::MP3ListViewColumnClick(int column) { trackLists().columnClicked(column); }

// ---- list commands ----

void TTunoviaF::listCommand(void (TrackLists::*command)() const)
{
    (trackLists().*command)();
    updateTotalDisplay();
}

void TTunoviaF::AllCheckMnuClick() { listCommand(&TrackLists::selectAll); }
void TTunoviaF::InvCheckMnuClick() { listCommand(&TrackLists::invertSelection); }
void TTunoviaF::ReCheckMnuClick() { listCommand(&TrackLists::clearSelection); }
void TTunoviaF::DelListMnuClick() { listCommand(&TrackLists::deleteSelected); }
void TTunoviaF::KC1Click() { listCommand(&TrackLists::clearList); }

void TTunoviaF::ListBtnClick()
{
    // A plain list: names only, no column headers.
    m_currentList->setHeaderHidden(true);
    for (int c : trackLists().detailColumns())
        m_currentList->setColumnHidden(c, true);
}

void TTunoviaF::ReportBtnClick()
{
    m_currentList->setHeaderHidden(false);
    for (int c : trackLists().detailColumns())
        m_currentList->setColumnHidden(c, false);
}

void TTunoviaF::updateTotalDisplay()
{
    // Runs after every list switch (through applySettings), so the album
    // command follows the current list here.
    if (!m_makeMdtAction)
        m_makeMdtAction = findChild<QAction *>(QStringLiteral("MakeMdtMnu"));
    if (m_makeMdtAction)
        m_makeMdtAction->setEnabled(!legacyCurrent());
    const auto panel = trackLists().totalPanel(m_dialog.totalTime, trackLists().selectedRows());
    if (!panel)
        return;
    QLabel *total = m_toolBar->totalTimePanel();
    total->setText(panel->text);
    // The set widths suit the original font; a wider font must not clip the total.
    const int needed = total->fontMetrics().horizontalAdvance(panel->text) + 2 * total->frameWidth() + 4;
    total->setFixedWidth(std::max(panel->width, needed));
}

// ---- drops ----

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
        model()->append(std::move(rows));
        // Dropped rows always join the thirteen-column list; it must be the
        // one on screen, or the drop would seem to vanish.
        if (m_currentList != listView2()) {
            showListKind(false);
            restoreColumns();
            updateTotalDisplay();
        }
    };
    DropSorter(GenreTable::loadDefault()).sort(dropped, on);
}

// ---- commands with a dialog or a tool ----

void TTunoviaF::MakeMdtMnuClick()
{
    if (m_currentList == listView2()) // the five-column list lacks most of an album line's fields
        trackCommands().makeAlbumFile();
}

void TTunoviaF::TagEditMnuClick() { trackCommands().editTags(); }

void TTunoviaF::Find1Click()
{
    if (trackCommands().find())
        updateTotalDisplay();
}

void TTunoviaF::TotalTimeMnuClick() { trackCommands().showTotalTime(); }
void TTunoviaF::FileCopyClick() { trackCommands().copy(); }
void TTunoviaF::RunJ2Click() { trackCommands().handOverToTool(&DialogSettings::j2, U("J2のパスを設定してください。")); }
void TTunoviaF::Runm2hClick()
{
    trackCommands().handOverToTool(&DialogSettings::m2h, U("m2hのパスを設定してください。"));
}
void TTunoviaF::RunExploreMnuClick() { trackCommands().openExplorer(); }
