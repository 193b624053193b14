#pragma once
// Track rows made from MP3 files outside album files: one file, the files
// named in a playlist, the files found under a folder. Rows come back in the
// order they were found; the caller appends them to the track list and sets
// their lyrics state.
#include "tracks/genres.h"
#include "tracks/id3v1.h"
#include "tracks/trackrecord.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace trackfiles {

// True when the path ends in "mp3" in any case (no dot needed: "songmp3" counts).
bool qualifiesAsTrack(const QString &path);

// Size-based play time: bytes / 16000 rounded half up (one second of 128 kbit/s
// audio). The text form is album::playTimeText.
qint64 estimatedSeconds(qint64 bytes);

// The row for a file whose tag and length have been read.
TrackRecord makeRecord(const QString &path, const id3v1::FileTag &file, const GenreTable &genres);

// The row for one file, or nothing when the name does not qualify or the file
// cannot be read. Path is kept exactly as given.
std::optional<TrackRecord> AddTrackFile(const QString &path, const GenreTable &genres);

// The lines of a playlist: terminators (CR LF, LF or CR) removed, the last line
// counted without one, "\" turned into "/". Blank lines are dropped.
QStringList playlistLines(const QByteArray &content);
// The existing file a playlist line names: tried against the playlist's folder
// (ending in "/") first, then the current directory. Empty when none exists;
// comment lines ("#...") name nothing.
QString resolvePlaylistEntry(const QString &line, const QString &playlistFolder);
std::vector<TrackRecord> AddPlaylistFile(const QString &path, const GenreTable &genres);

// Windows wildcard rules on a name, without regard to case: "*" any run, "?"
// one character, a trailing ".*" also matches a name without a dot ("*.*"
// matches everything), a trailing "." matches a name without a dot.
bool wildcardMatch(const QString &mask, const QString &name);
// pattern = folder + "/" + mask. Matching entries in name order; a matching
// subfolder is searched at the point where it is met, with the same mask; every
// other entry goes through AddTrackFile. A folder reached twice (symlink loops)
// is searched once.
std::vector<TrackRecord> AddFolder(const QString &pattern, const GenreTable &genres);

} // namespace trackfiles
