// Track commands of the main window: album building, drops, tags, find,
// totals, copy and the outside tools.
#include "app/ui/mainform.h"

#include "controls/ui/folderdialog.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/textcodec.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/albumwriter.h"
#include "tracks/filecopy.h"
#include "tracks/findtotals.h"
#include "tracks/genres.h"
#include "tracks/id3v1.h"
#include "tracks/trackfiles.h"
#include "tracks/trackmodel.h"
#include "tracks/ui/copyform.h"
#include "tracks/ui/findform.h"
#include "tracks/ui/tageditform.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

namespace {

// Text after the last full stop of the whole path (the whole path without one), lower-cased.
QString dropExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? path : path.mid(dot + 1)).toLower();
}

QStringList localPaths(const QMimeData *mime)
{
    QStringList out;
    if (!mime || !mime->hasUrls())
        return out;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            out << url.toLocalFile();
    }
    return out;
}

struct Totals {
    qint64 seconds = 0;
    qint64 bytes = 0;
};

// The five-column list has no Time field: both totals read the text of its
// サイズ column, which shows a play time when sizes are shown as times.
Totals totalsOf(const TrackModel &model, const QList<int> &rows, bool wantSize)
{
    Totals t;
    const bool five = model.layout() == TrackModel::Layout::Legacy;
    const int sizeColumn = five ? model.columnOfField(model.sizeShownAsTime() ? TrackField::Time : TrackField::Size)
                                : -1;
    for (int row : rows) {
        if (wantSize)
            t.bytes += findtotals::parseSizeBytes(five ? model.text(row, sizeColumn)
                                                       : model.track(row)[TrackField::Size]);
        else
            t.seconds += findtotals::parsePlayTime(five ? model.text(row, sizeColumn)
                                                        : model.track(row)[TrackField::Time]);
    }
    return t;
}

} // namespace

TrackModel *TTunoviaF::currentModel() const
{
    return m_currentList == m_MP3ListView ? m_model : m_model2;
}

QList<int> TTunoviaF::selectedRowList() const
{
    return TrackModel::selectedRows(m_currentList->selectionModel()->selection());
}

void TTunoviaF::selectRows(const QList<int> &rows)
{
    m_currentList->selectionModel()->select(currentModel()->rowsSelection(rows), QItemSelectionModel::ClearAndSelect);
}

// ---- drops ----

void TTunoviaF::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        QMainWindow::dragEnterEvent(event);
}

void TTunoviaF::dropEvent(QDropEvent *event)
{
    const QStringList dropped = localPaths(event->mimeData());
    if (dropped.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    // Release the drag source first: the drop may ask a question and scan for a while.
    QTimer::singleShot(0, this, [this, dropped] { addDroppedPaths(dropped); });
}

void TTunoviaF::addDroppedPaths(const QStringList &dropped)
{
    const GenreTable genres = GenreTable::loadDefault();
    std::vector<TrackRecord> pending;
    auto take = [&pending](std::vector<TrackRecord> rows) {
        pending.insert(pending.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    };
    auto flush = [&] {
        if (pending.empty())
            return;
        LyricsProbe probe(m_dialog.findFolder);
        for (TrackRecord &row : pending)
            row.lyrics = probe.stateFor(row[TrackField::Path]);
        m_model2->append(std::move(pending));
        pending.clear();
        // Dropped rows always join the thirteen-column list; it must be the
        // one on screen, or the drop would seem to vanish.
        if (m_currentList != m_MP3ListView2) {
            showListKind(false);
            restoreColumns();
            updateTotalDisplay();
        }
    };

    QString mask; // asked at the first folder, kept for the rest of the drop
    for (const QString &path : dropped) {
        const QString ext = dropExtension(path);
        if (ext == QLatin1String("mp3") || ext == QLatin1String("rmp")) {
            if (auto row = trackfiles::AddTrackFile(path, genres))
                pending.push_back(std::move(*row));
        } else if (ext == QLatin1String("ini")) {
            flush();
            openIndexFile(path);
        } else if (ext == QLatin1String("m3u")) {
            take(trackfiles::AddPlaylistFile(path, genres));
        } else {
            if (mask.isEmpty())
                mask = m_services.prompts.askYesNo(this, U("確認"), U("サブフォルダ以下も検索しますか？"))
                           ? QStringLiteral("*.*")
                           : QStringLiteral("*.mp3");
            QString folder = path;
            while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
                folder.chop(1);
            if (folder == QLatin1String("/"))
                folder.clear();
            take(trackfiles::AddFolder(folder + QLatin1Char('/') + mask, genres));
        }
    }
    flush();
}

// ---- album file ----

void TTunoviaF::MakeMdtMnuClick()
{
    // The five-column list lacks most of an album line's fields.
    if (m_currentList != m_MP3ListView2)
        return;
    const bool selectedOnly =
        m_services.prompts.askYesNo(this, U("確認"), U("選択されているファイルだけを出力の対象にしますか？"));
    const QString path = m_services.prompts.saveFile(this, U("アルバムファイル(.mdt)の作成"),
                                                     paths::folderPart(m_currentIndexPath),
                                                     U("Tunoviaアルバムファイル (*.mdt);;全てのファイル (*)"),
                                                     QStringLiteral("mdt"));
    if (path.isEmpty())
        return;
    std::vector<bool> selection(size_t(m_model2->size()), false);
    for (int row : selectedRowList())
        selection[size_t(row)] = true;
    const std::vector<TrackRecord> rows = albumwriter::rowsToWrite(m_model2->tracks(), selection, selectedOnly);
    if (auto error = albumwriter::writeAlbumFile(path, rows))
        m_services.prompts.error(this, *error);
}

// ---- tag editor ----

void TTunoviaF::TagEditMnuClick()
{
    const TrackModel *model = currentModel();
    QStringList files;
    for (int row : selectedRowList())
        files << TrackModel::resolvedPath(model->track(row), m_currentIndexPath);
    if (files.isEmpty())
        return;
    const GenreTable genres = GenreTable::loadDefault();
    for (const QString &path : files) {
        TTagEditF dialog(path, id3v1::ReadTag(path), genres, this);
        if (dialog.exec() != QDialog::Accepted)
            continue;
        const id3v1::Result<qint64> written = id3v1::WriteTag(path, dialog.fields());
        if (!written)
            m_services.prompts.error(this, written.error());
    }
}

// ---- find and totals ----

void TTunoviaF::Find1Click()
{
    const bool five = m_currentList == m_MP3ListView;
    TFindF dialog(m_services.settings.profile(), five, this);
    const int outcome = dialog.exec();
    reportStoreError(dialog.saveError());
    if (outcome != QDialog::Accepted)
        return;
    const TrackModel *model = currentModel();
    std::vector<bool> selection(size_t(model->size()), false);
    for (int row : selectedRowList())
        selection[size_t(row)] = true;
    selection = findtotals::findRows(model->tracks(), std::move(selection), dialog.findText(), dialog.boxes(), five);
    QList<int> rows;
    for (std::size_t i = 0; i < selection.size(); ++i) {
        if (selection[i])
            rows << int(i);
    }
    selectRows(rows);
    updateTotalDisplay();
}

void TTunoviaF::TotalTimeMnuClick()
{
    const Totals t = totalsOf(*currentModel(), selectedRowList(), false);
    m_services.prompts.info(this, findtotals::totalTimeMessage(t.seconds));
}

void TTunoviaF::updateTotalDisplay()
{
    // Runs after every list switch (through applySettings), so the album
    // command follows the current list here.
    if (!m_makeMdtAction)
        m_makeMdtAction = findChild<QAction *>(QStringLiteral("MakeMdtMnu"));
    if (m_makeMdtAction)
        m_makeMdtAction->setEnabled(m_currentList != m_MP3ListView);

    const int index = m_dialog.totalTime;
    if (index <= 0 || index >= findtotals::kTotalPanelFormats)
        return;
    const bool wantSize = findtotals::totalPanelShowsSize(index);
    const Totals t = totalsOf(*currentModel(), selectedRowList(), wantSize);
    const auto panel = findtotals::totalPanelText(index, t.seconds, t.bytes);
    if (!panel)
        return;
    m_TotalTimePnl->setText(panel->text);
    // The set widths suit the original font; a wider font must not clip the total.
    const int needed = m_TotalTimePnl->fontMetrics().horizontalAdvance(panel->text) + 2 * m_TotalTimePnl->frameWidth() + 4;
    m_TotalTimePnl->setFixedWidth(std::max(panel->width, needed));
}

// ---- copy and move ----

void TTunoviaF::FileCopyClick()
{
    CopyOptions options;
    m_services.settings.restoreCopyOptions(options);
    const TrackModel *model = currentModel();
    const QList<int> rows = selectedRowList();
    if (rows.isEmpty())
        return;
    std::vector<TrackRecord> tracks;
    tracks.reserve(size_t(rows.size()));
    for (int row : rows)
        tracks.push_back(model->track(row));

    TCopyF dialog(options, this);
    dialog.setTracks(tracks);
    if (dialog.exec() != QDialog::Accepted)
        return;
    options = dialog.options();
    const std::vector<int> order = dialog.order();

    filecopy::CopyRun run(filecopy::Kinds{options.mp3, options.lyrics1, options.lyrics2}, options.move);
    auto filesOf = [&](int i) {
        return filecopy::filesOf(tracks[size_t(i)], m_currentIndexPath, m_dialog.findFolder);
    };
    // Not the working folder, which means nothing to the user: where the
    // last copy went, else where the tracks are.
    auto startFolder = [&] {
        if (!m_lastCopyFolder.isEmpty() && QFileInfo(m_lastCopyFolder).isDir())
            return m_lastCopyFolder;
        return QFileInfo(filesOf(0).mp3).absolutePath();
    };
    if (options.mode.isOn(1)) {
        for (int i : order) {
            const filecopy::TrackFiles files = filesOf(i);
            const QString target = m_services.prompts.saveFile(
                this, tracks[size_t(i)][TrackField::Title] + U(" のコピー"),
                QDir(startFolder()).filePath(paths::namePart(files.mp3)),
                U("MP3 + Lyrics (*.mp3 *.rmp *.txt);;MP3 (*.mp3 *.rmp);;Lyrics (*.txt)"), QStringLiteral("mp3"),
                false); // the copy replaces an existing file without asking
            if (target.isEmpty())
                continue;
            m_lastCopyFolder = QFileInfo(target).absolutePath();
            run.toTarget(files, target);
        }
    } else {
        m_FolderDialog1->setCaption(U("コピー先のフォルダを選択してください。"));
        m_FolderDialog1->setStartDir(startFolder());
        if (m_FolderDialog1->Execute()) {
            const QString folder = m_FolderDialog1->directory();
            m_lastCopyFolder = folder;
            for (int i : order)
                run.intoFolder(filesOf(i), folder);
            m_services.prompts.info(this, QString::number(run.count())
                                              + (options.move ? U(" 個のファイルを移動しました。")
                                                              : U(" 個のファイルをコピーしました。")));
        }
    }
    reportStoreError(m_services.settings.saveCopyOptions(options));
}

// ---- outside tools ----

void TTunoviaF::handOverToTool(QString DialogSettings::*toolPath, const QString &emptyPathMessage)
{
    m_services.settings.loadSettings(m_dialog);
    const QString tool = m_dialog.*toolPath;
    if (tool.isEmpty()) {
        m_services.prompts.error(this, emptyPathMessage);
        return;
    }
    const TrackModel *model = currentModel();
    QString lines;
    for (int row : selectedRowList())
        lines += TrackModel::resolvedPath(model->track(row), m_currentIndexPath) + QStringLiteral("\r\n");
    const QString playlist =
        QFileInfo(paths::folderPart(paths::fromWindows(tool)) + QStringLiteral("~Tunov~.m3u")).absoluteFilePath();
    QFile file(playlist);
    const QByteArray bytes = text::encodeForSystem(lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        // The tool would only find a missing or cut-short list.
        m_services.prompts.error(this, U("プレイリスト %1 を作成できませんでした。").arg(playlist));
        file.close();
        file.remove();
        return;
    }
    file.close();
    if (!m_services.launcher.startDetached(tool, {playlist}, Launcher::Normal))
        QFile::remove(playlist);
}

void TTunoviaF::RunJ2Click()
{
    handOverToTool(&DialogSettings::j2, U("J2のパスを設定してください。"));
}

void TTunoviaF::Runm2hClick()
{
    handOverToTool(&DialogSettings::m2h, U("m2hのパスを設定してください。"));
}

void TTunoviaF::RunExploreMnuClick()
{
    // With no start folder set the file manager still opens, at the home folder.
    const QString &folder = m_dialog.explorerPath;
    m_services.launcher.openFolder(folder.isEmpty() ? QDir::homePath() : folder);
}
