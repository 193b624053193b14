#pragma once
// What an index path opens: an index file that lists albums, or an older
// five-field track list in its place. When the path cannot be read, the
// "tunovia.dat" in its folder is tried instead. Only a regular file counts:
// a device or a FIFO would never end or never answer.
#include "library/albumfile.h"
#include "library/indexfile.h"
#include "tracks/trackrecord.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class IndexSource {
public:
    enum class Kind { Unreadable, TrackList, Index };

    // Reads `indexPath`, or "tunovia.dat" beside it when that cannot be read.
    static IndexSource open(const QString &indexPath);

    Kind kind() const { return m_kind; }
    // The file that was read; empty when nothing could be.
    const QString &path() const { return m_path; }
    // The tracks of an older track list; none for any other kind.
    std::vector<TrackRecord> trackList() const;

    struct Albums {
        std::vector<TrackRecord> tracks;
        int read = 0;                          // album files read
        std::optional<album::ReadError> error; // the album file that stopped the reading
    };
    // The tracks of `albums`, entries of the index file at `indexPath`, in
    // order up to the first album file that cannot be read. Lyrics states are
    // looked up beside the tracks and in `findFolder`.
    static Albums readAlbums(const std::vector<indexfile::Entry> &albums, const QString &indexPath,
                             const QString &findFolder);

private:
    Kind m_kind = Kind::Unreadable;
    QString m_path;
    QByteArray m_bytes;
};
