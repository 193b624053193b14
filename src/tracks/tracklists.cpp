#include "tracks/tracklists.h"

#include "tracks/albumwriter.h"

#include <QItemSelectionModel>

namespace {

std::vector<bool> flagsOf(const QList<int> &rows, int rowCount)
{
    std::vector<bool> flags(size_t(rowCount), false);
    for (int row : rows)
        flags[size_t(row)] = true;
    return flags;
}

} // namespace

void TrackLists::columnClicked(int column)
{
    m_sortState = TrackModel::nextSortState(m_sortState, column);
    current()->sortByState(m_sortState);
}

Totals TrackLists::totalsOf(const TrackModel &model, const QList<int> &rows, bool wantSize)
{
    Totals t;
    const bool five = model.layout() == TrackModel::Layout::Legacy;
    const int sizeColumn =
        five ? model.columnOfField(model.sizeShownAsTime() ? TrackField::Time : TrackField::Size) : -1;
    for (int row : rows) {
        if (wantSize)
            t.bytes +=
                findtotals::parseSizeBytes(five ? model.text(row, sizeColumn) : model.track(row)[TrackField::Size]);
        else
            t.seconds +=
                findtotals::parsePlayTime(five ? model.text(row, sizeColumn) : model.track(row)[TrackField::Time]);
    }
    return t;
}

std::optional<findtotals::TotalPanelText> TrackLists::totalPanel(int index, const QList<int> &rows) const
{
    if (index <= 0 || index >= findtotals::kTotalPanelFormats)
        return std::nullopt;
    const Totals t = totals(rows, findtotals::totalPanelShowsSize(index));
    return findtotals::totalPanelText(index, t.seconds, t.bytes);
}

void TrackLists::selectAll() const { current()->selectAll(selection()); }

void TrackLists::invertSelection() const { current()->invertSelection(selection()); }

void TrackLists::clearSelection() const { selection()->clearSelection(); }

void TrackLists::deleteSelected() const { current()->removeSelected(selection()); }

void TrackLists::clearList() const { current()->clear(); }

QList<int> TrackLists::selectedRows() const { return TrackModel::selectedRows(selection()->selection()); }

void TrackLists::selectRows(const QList<int> &rows) const
{
    selection()->select(current()->rowsSelection(rows), QItemSelectionModel::ClearAndSelect);
}

QList<int> TrackLists::detailColumns() const
{
    QList<int> columns;
    for (int c = 1; c < current()->columnCount(); ++c)
        columns << c;
    return columns;
}

QStringList TrackLists::resolvedPaths(const QList<int> &rows, const QString &indexFilePath) const
{
    QStringList files;
    for (int row : rows)
        files << TrackModel::resolvedPath(current()->track(row), indexFilePath);
    return files;
}

std::vector<TrackRecord> TrackLists::tracksOf(const QList<int> &rows) const
{
    std::vector<TrackRecord> tracks;
    tracks.reserve(size_t(rows.size()));
    for (int row : rows)
        tracks.push_back(current()->track(row));
    return tracks;
}

QList<int> TrackLists::findRows(const QList<int> &rows, const QString &text, const findtotals::FindBoxes &boxes) const
{
    const TrackModel &model = *current();
    const std::vector<bool> found =
        findtotals::findRows(model.tracks(), flagsOf(rows, model.size()), text, boxes, m_legacyCurrent);
    QList<int> out;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (found[i])
            out << int(i);
    }
    return out;
}

std::vector<TrackRecord> TrackLists::albumFileRows(const QList<int> &rows, bool selectedOnly) const
{
    return albumwriter::rowsToWrite(m_album->tracks(), flagsOf(rows, m_album->size()), selectedOnly);
}
