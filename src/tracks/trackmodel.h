#pragma once
// The item model behind both track lists. One class serves the thirteen-column
// list and the five-column legacy list through a column map; the view owns the
// selection, and the helpers below build selections as contiguous ranges so
// that select-all and invert stay cheap on very long lists.
#include "tracks/trackrecord.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QItemSelection>
#include <QSet>
#include <QStringList>
#include <optional>
#include <vector>

class QItemSelectionModel;

class TrackModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Layout {
        Album,  // 13 fields plus an empty, zero-width 14th column (MP3ListView2)
        Legacy, // Title, Artist, Comment, Size, Path (MP3ListView)
    };
    // int: the row's LyricsState (-1 none, 0 beside the track, 1 in the search folder, 2 both),
    // given on column 0; the view maps it to a picture.
    static constexpr int LyricsStateRole = Qt::UserRole + 1;

    explicit TrackModel(Layout layout, QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TrackModel)

    Layout layout() const { return m_layout; }

    // Column map. fieldOfColumn() gives TrackField::Count for the empty column.
    TrackField fieldOfColumn(int column) const;
    int columnOfField(TrackField field) const; // -1 when not shown

    // Legacy lists can show the Size column as a play time ("時間"); the rows
    // then carry the derived text in their Time field.
    void setSizeShownAsTime(bool on);
    bool sizeShownAsTime() const { return m_sizeAsTime; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const TrackRecord &track(int row) const { return m_rows[size_t(row)]; }
    const std::vector<TrackRecord> &tracks() const { return m_rows; }
    int size() const { return int(m_rows.size()); }
    // The text a row shows in a column (what sorting compares).
    QString text(int row, int column) const;

    // Appends with one beginInsertRows for the whole block.
    void append(TrackRecord track);
    void append(std::vector<TrackRecord> tracks);
    // Whole reload: the only operation that resets the model.
    void setTracks(std::vector<TrackRecord> tracks);
    void clear();
    // Removes the given rows (any order, duplicates ignored) as ranged removals.
    void removeRowList(QList<int> rows);
    void removeSelected(QItemSelectionModel *selection);

    // Selection helpers (full rows).
    QItemSelection allRows() const;
    QItemSelection rowsSelection(const QList<int> &sortedRows) const;
    QItemSelection invertedRows(const QItemSelection &current) const;
    static QList<int> selectedRows(const QItemSelection &selection); // ascending, unique
    void selectAll(QItemSelectionModel *selection) const;
    void invertSelection(QItemSelectionModel *selection) const;

    // Sort state as the lists share it: |state| is the 1-based column, the sign
    // the direction. Clicking column c turns +(c+1) into -(c+1), anything else into +(c+1).
    static int nextSortState(int state, int column);
    // Sorts by |state| - 1, descending when negative; 0 leaves the order alone.
    void sortByState(int state);
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Lines the lyrics window shows for a track without lyrics; an out-of-range
    // row gives only the first two.
    QStringList trackInfoLines(int row) const;

    // Path rule: absolute as it stands, otherwise relative to the index file's folder.
    static QString resolvedPath(const TrackRecord &track, const QString &indexFilePath);

private:
    void removeBlocks(const std::vector<std::pair<int, int>> &blocks);

    Layout m_layout;
    bool m_sizeAsTime = false;
    std::vector<TrackRecord> m_rows;
};

// Finds lyrics files beside tracks and in the lyrics search folder. Folder
// listings are cached for the life of the object, so one object serves one
// load and thousands of tracks cost one listing per folder instead of two
// file-system look-ups per track.
class LyricsProbe {
public:
    // `findFolder` is the search-folder setting as stored (names are appended
    // to it directly); empty means no search folder.
    explicit LyricsProbe(QString findFolder = {});
    LyricsState stateFor(const QString &trackPath);

private:
    bool fileExists(const QString &path);
    static QSet<QString> listFolder(const QString &folder);

    QString m_findFolder;
    QHash<QString, QSet<QString>> m_listings;
    // Tracks of one album mostly share a folder.
    QString m_lastFolder;
    const QSet<QString> *m_lastListing = nullptr;
    std::optional<QSet<QString>> m_findNames;
};
