#include "tracks/dropsorter.h"

#include "tracks/trackfiles.h"
#include "tracks/trackmodel.h"

#include <QMimeData>
#include <QUrl>
#include <optional>

void DropSorter::sort(const QStringList &paths, const Handlers &handlers) const
{
    std::vector<TrackRecord> pending;
    auto take = [&pending](std::vector<TrackRecord> rows) {
        pending.insert(pending.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    };
    auto flush = [&] {
        if (pending.empty())
            return;
        LyricsProbe probe(handlers.lyricsFolder());
        for (TrackRecord &row : pending)
            row.lyrics = probe.stateFor(row[TrackField::Path]);
        std::vector<TrackRecord> rows;
        rows.swap(pending);
        handlers.addTracks(std::move(rows));
    };

    std::optional<bool> subfolders; // asked at the first folder, kept for the rest of the drop
    for (const QString &path : paths) {
        const QString ext = extensionOf(path);
        if (ext == QLatin1String("mp3") || ext == QLatin1String("rmp")) {
            if (auto row = trackfiles::AddTrackFile(path, m_genres))
                pending.push_back(std::move(*row));
        } else if (ext == QLatin1String("ini")) {
            flush();
            handlers.openIndexFile(path);
        } else if (ext == QLatin1String("m3u")) {
            take(trackfiles::AddPlaylistFile(path, m_genres));
        } else {
            if (!subfolders)
                subfolders = handlers.askSubfolders();
            take(trackfiles::AddFolder(folderPattern(path, *subfolders), m_genres));
        }
    }
    flush();
}

QStringList DropSorter::localPaths(const QMimeData *mime)
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

QString DropSorter::extensionOf(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot < 0 ? path : path.mid(dot + 1)).toLower();
}

QString DropSorter::folderPattern(const QString &folder, bool subfolders)
{
    QString f = folder;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    if (f == QLatin1String("/"))
        f.clear();
    return f + QLatin1Char('/') + (subfolders ? QStringLiteral("*.*") : QStringLiteral("*.mp3"));
}
