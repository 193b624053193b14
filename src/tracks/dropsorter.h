#pragma once
// Sorts paths dropped on the main window by kind: MP3 files, playlists and
// folders become track rows, index files are opened. Rows are handed over in
// drop order, those read so far always before an index file opens. The
// question whether folders are searched below their subfolders is asked at
// the first folder and its answer kept for the rest of the drop.
#include "tracks/genres.h"
#include "tracks/trackrecord.h"

#include <QStringList>
#include <functional>
#include <vector>

class QMimeData;

class DropSorter {
public:
    struct Handlers {
        // The subfolder question; true searches subfolders too.
        std::function<bool()> askSubfolders;
        // The lyrics search folder, asked at each hand-over (opening an index
        // file may change it).
        std::function<QString()> lyricsFolder;
        // Rows read so far, their lyrics state set; never empty.
        std::function<void(std::vector<TrackRecord>)> addTracks;
        std::function<void(const QString &path)> openIndexFile;
    };

    explicit DropSorter(GenreTable genres) : m_genres(std::move(genres)) {}

    void sort(const QStringList &paths, const Handlers &handlers) const;

    // The local files among dropped data, in drop order.
    static QStringList localPaths(const QMimeData *mime);
    // Text after the last full stop of the whole path (the whole path without one), lower-cased.
    static QString extensionOf(const QString &path);
    // The folder search pattern for a dropped folder: trailing "/" removed, "*.*" with subfolders, else "*.mp3".
    static QString folderPattern(const QString &folder, bool subfolders);

private:
    GenreTable m_genres;
};
