#pragma once
// The copy command without its dialogs: the tracks of one copy or move, the
// files each stands for, where the dialogs start (where the last copy went,
// else beside the first track) and the copying itself. One object serves the
// window's whole life, so the last copy folder carries over between copies.
#include "tracks/filecopy.h"
#include "tracks/trackrecord.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class TrackCopy {
public:
    // The tracks of the next copy, paths taken as the list shows them.
    void setTracks(std::vector<TrackRecord> tracks, QString indexFilePath, QString findFolder);
    const std::vector<TrackRecord> &tracks() const { return m_tracks; }
    // Starts the run once the options are known; run() needs it.
    void start(filecopy::Kinds kinds, bool move);

    // Not the working folder, which means nothing to the user.
    QString startFolder() const;

    // The save dialog for one track: given its caption and the file it
    // proposes, gives the target ("" skips the track).
    using AskTarget = std::function<QString(const QString &caption, const QString &proposed)>;
    // The folder dialog: given where it starts, gives the folder, or nothing when cancelled.
    using AskFolder = std::function<std::optional<QString>(const QString &startFolder)>;
    // Copies the tracks in `order`, each to its own target when `oneTargetEach`,
    // else all into one folder; the next dialogs start where this copy went.
    // Gives the message telling how many files went into the folder.
    std::optional<QString> run(const std::vector<int> &order, bool oneTargetEach, const AskTarget &askTarget,
                               const AskFolder &askFolder);

    const QString &lastFolder() const { return m_lastFolder; }

private:
    filecopy::TrackFiles filesOf(int i) const;

    std::vector<TrackRecord> m_tracks;
    QString m_indexFilePath;
    QString m_findFolder;
    std::optional<filecopy::CopyRun> m_run;
    bool m_move = false;
    QString m_lastFolder; // where the copy dialogs start next time
};
