#pragma once
// Copying and moving the files of selected tracks (MP3 and lyrics), without
// widgets. A copy goes through a temporary file beside the target and is
// renamed over it only once complete, so a failed copy leaves no partial file
// and an existing target stays as it was; a move deletes its source only after
// the copy has been checked.
#include "platform/result.h"
#include "tracks/trackrecord.h"

#include <QSet>
#include <QString>
#include <vector>

namespace filecopy {

// The three files of one track; an empty path means the kind does not apply
// (no lyrics search folder set).
struct TrackFiles {
    QString mp3;
    QString lyricsBeside;
    QString lyricsInFindFolder;
};

// Path resolved against the index file's folder; the search-folder lyrics are
// the search folder followed by the lyrics file's name.
TrackFiles filesOf(const TrackRecord &track, const QString &indexFilePath, const QString &findFolder);

struct Kinds {
    bool mp3 = true;
    bool lyricsBeside = true;
    bool lyricsInFindFolder = true;
};

// Copies `from` to `to`, replacing `to`. Fails when the source is not a
// regular file, is the target itself, or the copy could not be completed and
// checked; `to` is then untouched, and the message is the file at fault or
// the system's words. With `move` the source is deleted after a good copy (a
// source that cannot be deleted is left; the copy still counts).
[[nodiscard]] Result<> transferFile(const QString &from, const QString &to, bool move);

// One operation over many tracks. While moving, a target this operation has
// already written is never overwritten: its later source would otherwise
// replace a file whose own source is already gone.
class CopyRun {
public:
    CopyRun(Kinds kinds, bool move) : m_kinds(kinds), m_move(move) {}

    // Each kind to `folder` + "/" + its own name part.
    void intoFolder(const TrackFiles &files, const QString &folder);
    // The MP3 to `target`, each lyrics kind to `target` with its last three
    // characters replaced by "txt" (the search-folder one last).
    void toTarget(const TrackFiles &files, const QString &target);

    // Successful copies, MP3 and lyrics alike.
    int count() const { return m_count; }

private:
    void one(const QString &from, const QString &to);

    Kinds m_kinds;
    bool m_move;
    int m_count = 0;
    QSet<QString> m_written;
};

// Block moves of the copy list: each run of selected rows moves one place up
// (down) unless it already touches the top (bottom). `selected` is updated to
// follow the rows; the result gives, for each new position, the old row.
std::vector<int> moveSelectedUp(std::vector<bool> &selected);
std::vector<int> moveSelectedDown(std::vector<bool> &selected);

} // namespace filecopy
