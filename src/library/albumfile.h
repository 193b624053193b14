#pragma once
// Album files (".mdt"): one track per line, thirteen double-quoted fields
// separated by commas, never escaped. Also the older five-field track list
// that can be opened in place of an index file.
//
// Field order on disk: Path, file name (ignored on reading), Title, Artist,
// Album, Comment, Genre, Date, Copyright, Engineer, Source, Soft, Size.
// Time is never stored; it is derived from Size when a file is read.
//
// Reading rules kept for compatibility with existing files: after the opening
// quote, a field ends at the first `",` except Genre, Date and Size, which end
// at the first `"`; the next field starts three characters after that end.
// Blank lines are skipped. A line that runs out before its thirteenth field
// still gives a track: the field that has no terminator takes the rest of the
// line (less a closing quote) and the fields after it stay empty.
#include "tracks/trackrecord.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

class LyricsProbe;

namespace album {

// Seconds of play time estimated from a Size text: the characters other than
// space, ".", "B", "K" and "M" are read as a decimal number; a "K" makes it
// kilobytes, an "M" megabytes with two implied decimals (the later letter
// wins); the result is bytes / 16000 rounded half up. No digits give 0.
qint64 secondsFromSize(QStringView size);
// "%d分%02d秒" (minutes are not capped).
QString playTimeText(qint64 seconds);
inline QString timeFromSize(QStringView size) { return playTimeText(secondsFromSize(size)); }

// Splits the lines of a decoded album file into records: fields as stored,
// Time derived, Path with "\" taken as "/" and resolved against `albumFolder`
// (which ends with "/"). Lyrics states are left at None.
std::vector<TrackRecord> parseAlbumText(QStringView text, const QString &albumFolder);
// The same on the file's bytes (decoded as UTF-8 or CP932, see text::decode).
std::vector<TrackRecord> parseAlbum(QByteArrayView bytes, const QString &albumFolder);

// Where an entry of the index file points: absolute as it stands, otherwise
// relative to the index file's folder.
QString albumPathFor(const QString &entryPath, const QString &indexFilePath);

struct ReadError {
    QString path;
    QString reason;
};
// Reads one album file. Only regular, readable files are read (a folder or a
// device never is). `probe`, when given, fills in every track's lyrics state.
struct AlbumRead {
    std::vector<TrackRecord> tracks;
    std::optional<ReadError> error;
};
AlbumRead readAlbumFile(const QString &path, LyricsProbe *probe = nullptr);

// One line as the album builder writes it, ending in CR LF (text; the file
// encodes all of its lines together with text::encodeForFile).
QString albumLine(const TrackRecord &track);
QByteArray encodeAlbum(const std::vector<TrackRecord> &tracks);

// The older track list: first line begins with a double quote.
bool isLegacyTrackList(QByteArrayView bytes);
// Fields Path, Title, Artist, Comment, Size; paths are kept as written (with
// "\" taken as "/"); Time is always derived from Size so the list can show
// either.
std::vector<TrackRecord> parseLegacyList(QByteArrayView bytes);

} // namespace album
