#include "library/indexsource.h"

#include "platform/paths.h"
#include "platform/regularfile.h"
#include "tracks/trackmodel.h"

IndexSource IndexSource::open(const QString &indexPath)
{
    IndexSource source;
    QString path = indexPath;
    regularfile::Read file = regularfile::read(path);
    if (!file) {
        path = paths::folderPart(indexPath) + QStringLiteral("tunovia.dat");
        file = regularfile::read(path);
        if (!file)
            return source;
    }
    source.m_path = path;
    source.m_kind = album::isLegacyTrackList(file.bytes) ? Kind::TrackList : Kind::Index;
    source.m_bytes = std::move(file.bytes);
    return source;
}

std::vector<TrackRecord> IndexSource::trackList() const
{
    return m_kind == Kind::TrackList ? album::parseLegacyList(m_bytes) : std::vector<TrackRecord>();
}

IndexSource::Albums IndexSource::readAlbums(const std::vector<indexfile::Entry> &albums, const QString &indexPath,
                                            const QString &findFolder)
{
    Albums out;
    LyricsProbe probe(findFolder);
    for (const indexfile::Entry &entry : albums) {
        album::AlbumRead read = album::readAlbumFile(album::albumPathFor(entry.path, indexPath), &probe);
        if (read.error) {
            out.error = std::move(read.error);
            break;
        }
        out.tracks.insert(out.tracks.end(), std::make_move_iterator(read.tracks.begin()),
                          std::make_move_iterator(read.tracks.end()));
        ++out.read;
    }
    return out;
}
