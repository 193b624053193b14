#include "tracks/ui/trackcommands.h"

#include "controls/ui/folderdialog.h"
#include "platform/paths.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/albumwriter.h"
#include "tracks/genres.h"
#include "tracks/id3v1.h"
#include "tracks/toolhandover.h"
#include "tracks/trackcopy.h"
#include "tracks/tracklists.h"
#include "tracks/ui/copyform.h"
#include "tracks/ui/findform.h"
#include "tracks/ui/tageditform.h"

TrackCommands::TrackCommands(Context context) : m(std::move(context)) {}

TrackCommands::~TrackCommands() = default;

void TrackCommands::makeAlbumFile()
{
    const bool selectedOnly =
        m.prompts.askYesNo(m.parent, U("確認"), U("選択されているファイルだけを出力の対象にしますか？"));
    const QString path =
        m.prompts.saveFile(m.parent, U("アルバムファイル(.mdt)の作成"), paths::folderPart(m.indexPath),
                           U("Tunoviaアルバムファイル (*.mdt);;全てのファイル (*)"), QStringLiteral("mdt"));
    if (path.isEmpty())
        return;
    const Result<> saved =
        albumwriter::saveAlbumFile(path, m.lists.albumFileRows(m.lists.selectedRows(), selectedOnly));
    if (!saved.ok())
        m.prompts.error(m.parent, saved.error());
}

void TrackCommands::editTags()
{
    const QStringList files = m.lists.resolvedPaths(m.lists.selectedRows(), m.indexPath);
    if (files.isEmpty())
        return;
    const GenreTable genres = GenreTable::loadDefault();
    for (const QString &path : files) {
        TTagEditF dialog(path, id3v1::ReadTag(path), genres, m.parent);
        if (dialog.exec() != QDialog::Accepted)
            continue;
        const Result<qint64> written = id3v1::WriteTag(path, dialog.fields());
        if (!written)
            m.prompts.error(m.parent, written.error());
    }
}

bool TrackCommands::find()
{
    TFindF dialog(m.settings.profile(), m.lists.legacyCurrent(), m.parent);
    const int outcome = dialog.exec();
    m.reportStoreError(dialog.saveResult());
    if (outcome != QDialog::Accepted)
        return false;
    m.lists.selectRows(m.lists.findRows(m.lists.selectedRows(), dialog.findText(), dialog.boxes()));
    return true;
}

void TrackCommands::showTotalTime()
{
    m.prompts.info(m.parent, findtotals::totalTimeMessage(m.lists.totals(m.lists.selectedRows(), false).seconds));
}

void TrackCommands::copy()
{
    const QList<int> rows = m.lists.selectedRows();
    if (rows.isEmpty())
        return;
    CopyOptions options;
    m.settings.restoreCopyOptions(options);
    if (!m_copy)
        m_copy = std::make_unique<TrackCopy>();
    m_copy->setTracks(m.lists.tracksOf(rows), m.indexPath, m.dialog.findFolder);
    TCopyF dialog(options, m.parent);
    dialog.setTracks(m_copy->tracks());
    if (dialog.exec() != QDialog::Accepted)
        return;
    options = dialog.options();
    m_copy->start({options.mp3, options.lyrics1, options.lyrics2}, options.move);
    auto askTarget = [this](const QString &caption, const QString &proposed) { // replaces a file without asking
        return m.prompts.saveFile(m.parent, caption, proposed,
                                  U("MP3 + Lyrics (*.mp3 *.rmp *.txt);;MP3 (*.mp3 *.rmp);;Lyrics (*.txt)"),
                                  QStringLiteral("mp3"), false);
    };
    auto askFolder = [this](const QString &start) -> std::optional<QString> {
        m.folderDialog->setCaption(U("コピー先のフォルダを選択してください。"));
        m.folderDialog->setStartDir(start);
        return m.folderDialog->Execute() ? std::optional(m.folderDialog->directory()) : std::nullopt;
    };
    if (const auto done = m_copy->run(dialog.order(), options.mode.isOn(1), askTarget, askFolder))
        m.prompts.info(m.parent, *done);
    m.reportStoreError(m.settings.storeCopyOptions(options));
}

void TrackCommands::handOverToTool(QString DialogSettings::*toolPath, const QString &emptyPathMessage)
{
    m.settings.loadSettings(m.dialog);
    const QStringList files = m.lists.resolvedPaths(m.lists.selectedRows(), m.indexPath);
    const Result<> handed = ToolHandover(m.launcher).handOver(m.dialog.*toolPath, emptyPathMessage, files);
    if (!handed.ok())
        m.prompts.error(m.parent, handed.error());
}

void TrackCommands::openExplorer() { ToolHandover(m.launcher).openExplorer(m.dialog.explorerPath); }
