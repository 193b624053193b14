#pragma once
// The main window's two track lists without their views: the five-column
// legacy list and the thirteen-column album list, which of them the commands
// act on, the sort state both share, the totals of a selection and the list
// commands. Selections are the views' selection models, passed in.
#include "tracks/findtotals.h"
#include "tracks/trackmodel.h"

#include <QList>
#include <QStringList>
#include <optional>
#include <vector>

class QItemSelectionModel;

// Play time and size summed over rows.
struct Totals {
    qint64 seconds = 0;
    qint64 bytes = 0;
};

class TrackLists {
public:
    // Each list is a model and its view's selection; none of them is owned.
    // The album list starts as the current one.
    TrackLists(TrackModel *legacy, QItemSelectionModel *legacySelection, TrackModel *album,
               QItemSelectionModel *albumSelection)
        : m_legacy(legacy), m_legacySelection(legacySelection), m_album(album), m_albumSelection(albumSelection)
    {
    }

    TrackModel *legacy() const { return m_legacy; }
    TrackModel *album() const { return m_album; }
    void setLegacyCurrent(bool legacy) { m_legacyCurrent = legacy; }
    bool legacyCurrent() const { return m_legacyCurrent; }
    TrackModel *current() const { return m_legacyCurrent ? m_legacy : m_album; }
    QItemSelectionModel *selection() const { return m_legacyCurrent ? m_legacySelection : m_albumSelection; }

    // One sort state serves both lists; a header click sorts the current one
    // (see TrackModel::nextSortState for the rule).
    int sortState() const { return m_sortState; }
    void columnClicked(int column);

    // The five-column list has no Time field: both totals read the text of its
    // サイズ column, which shows a play time when sizes are shown as times.
    static Totals totalsOf(const TrackModel &model, const QList<int> &rows, bool wantSize);
    Totals totals(const QList<int> &rows, bool wantSize) const { return totalsOf(*current(), rows, wantSize); }
    // The total panel in format `index` (see findtotals) over `rows`; nothing
    // when the format shows no total.
    std::optional<findtotals::TotalPanelText> totalPanel(int index, const QList<int> &rows) const;

    // List commands on the current list and its selection.
    void selectAll() const;
    void invertSelection() const;
    void clearSelection() const;
    void deleteSelected() const;
    void clearList() const;
    QList<int> selectedRows() const; // ascending
    void selectRows(const QList<int> &rows) const;
    // The columns the plain list hides (and the report view shows again):
    // every one but the name.
    QList<int> detailColumns() const;

    // Rows of the current list as the track commands take them.
    QStringList resolvedPaths(const QList<int> &rows, const QString &indexFilePath) const;
    std::vector<TrackRecord> tracksOf(const QList<int> &rows) const;
    // The selection after a find: `rows` plus every matching row.
    QList<int> findRows(const QList<int> &rows, const QString &text, const findtotals::FindBoxes &boxes) const;
    // The album list's rows an album file gets: the selected ones or all.
    std::vector<TrackRecord> albumFileRows(const QList<int> &rows, bool selectedOnly) const;

private:
    TrackModel *m_legacy;
    QItemSelectionModel *m_legacySelection;
    TrackModel *m_album;
    QItemSelectionModel *m_albumSelection;
    bool m_legacyCurrent = false;
    int m_sortState = 0; // |state| = 1-based sort column, sign = direction
};
