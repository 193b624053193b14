#include "tracks/trackmodel.h"

#include "platform/paths.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLocale>
#include <algorithm>
#include <numeric>

#include <dirent.h>

namespace {

constexpr int kAlbumColumns = kTrackFieldCount + 1; // plus the empty column
constexpr std::array<TrackField, kFiveColumnCount> kLegacyFields = [] {
    std::array<TrackField, kFiveColumnCount> fields{};
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i] = kFiveListColumns[i].field;
    return fields;
}();

const std::array<QString, kTrackFieldCount> &captions()
{
    static const std::array<QString, kTrackFieldCount> names = [] {
        std::array<QString, kTrackFieldCount> all;
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = QString::fromUtf8(kAlbumListColumns[i].caption);
        return all;
    }();
    return names;
}

// Above this many separate blocks a removal resets the model: one ranged
// signal per block would cost a full shift of the rows behind it each time.
constexpr size_t kMaxRangedBlocks = 256;

} // namespace

TrackModel::TrackModel(Layout layout, QObject *parent) : QAbstractTableModel(parent), m_layout(layout) {}

TrackField TrackModel::fieldOfColumn(int column) const
{
    if (m_layout == Layout::Album)
        return column >= 0 && column < kTrackFieldCount ? static_cast<TrackField>(column) : TrackField::Count;
    if (column < 0 || column >= int(kLegacyFields.size()))
        return TrackField::Count;
    if (m_sizeAsTime && kLegacyFields[size_t(column)] == TrackField::Size)
        return TrackField::Time;
    return kLegacyFields[size_t(column)];
}

int TrackModel::columnOfField(TrackField field) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (fieldOfColumn(c) == field)
            return c;
    return -1;
}

void TrackModel::setSizeShownAsTime(bool on)
{
    if (m_layout != Layout::Legacy || m_sizeAsTime == on)
        return;
    m_sizeAsTime = on;
    const int column = 3;
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (!m_rows.empty())
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

int TrackModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int TrackModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_layout == Layout::Album ? kAlbumColumns : int(kLegacyFields.size());
}

QString TrackModel::text(int row, int column) const
{
    const TrackField f = fieldOfColumn(column);
    if (f == TrackField::Count || row < 0 || row >= size())
        return {};
    return m_rows[size_t(row)][f];
}

QVariant TrackModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= size())
        return {};
    const TrackField f = fieldOfColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (f == TrackField::Count)
            return {};
        return m_rows[size_t(index.row())][f];
    case Qt::TextAlignmentRole:
        if (f == TrackField::Size || f == TrackField::Time)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case LyricsStateRole:
        if (index.column() != 0)
            return {};
        return int(m_rows[size_t(index.row())].lyrics);
    default:
        return {};
    }
}

QVariant TrackModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    const TrackField f = fieldOfColumn(section);
    if (role == Qt::DisplayRole)
        return f == TrackField::Count ? QString() : captions()[size_t(f)];
    if (role == Qt::TextAlignmentRole && (f == TrackField::Size || f == TrackField::Time))
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags TrackModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void TrackModel::append(TrackRecord track)
{
    const int first = size();
    beginInsertRows({}, first, first);
    m_rows.push_back(std::move(track));
    endInsertRows();
}

void TrackModel::append(std::vector<TrackRecord> tracks)
{
    if (tracks.empty())
        return;
    const int first = size();
    beginInsertRows({}, first, first + int(tracks.size()) - 1);
    if (m_rows.empty()) {
        m_rows = std::move(tracks);
    } else {
        m_rows.reserve(m_rows.size() + tracks.size());
        std::move(tracks.begin(), tracks.end(), std::back_inserter(m_rows));
    }
    endInsertRows();
}

void TrackModel::setTracks(std::vector<TrackRecord> tracks)
{
    beginResetModel();
    m_rows = std::move(tracks);
    endResetModel();
}

void TrackModel::clear()
{
    if (m_rows.empty())
        return;
    beginRemoveRows({}, 0, size() - 1);
    m_rows.clear();
    m_rows.shrink_to_fit();
    endRemoveRows();
}

void TrackModel::removeBlocks(const std::vector<std::pair<int, int>> &blocks)
{
    if (blocks.empty())
        return;
    if (blocks.size() > kMaxRangedBlocks) {
        beginResetModel();
        // Blocks are ascending; compact the kept rows in one pass.
        std::vector<TrackRecord> kept;
        kept.reserve(m_rows.size());
        size_t next = 0;
        for (const auto &[first, last] : blocks) {
            for (size_t r = next; r < size_t(first); ++r)
                kept.push_back(std::move(m_rows[r]));
            next = size_t(last) + 1;
        }
        for (size_t r = next; r < m_rows.size(); ++r)
            kept.push_back(std::move(m_rows[r]));
        m_rows = std::move(kept);
        endResetModel();
        return;
    }
    // From the bottom up, so the earlier blocks keep their row numbers.
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        beginRemoveRows({}, it->first, it->second);
        m_rows.erase(m_rows.begin() + it->first, m_rows.begin() + it->second + 1);
        endRemoveRows();
    }
}

void TrackModel::removeRowList(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::pair<int, int>> blocks;
    for (int r : rows) {
        if (r < 0 || r >= size())
            continue;
        if (!blocks.empty() && blocks.back().second + 1 == r)
            blocks.back().second = r;
        else
            blocks.emplace_back(r, r);
    }
    removeBlocks(blocks);
}

void TrackModel::removeSelected(QItemSelectionModel *selection)
{
    if (!selection)
        return;
    const QList<int> rows = selectedRows(selection->selection());
    selection->clearSelection();
    removeRowList(rows);
}

QItemSelection TrackModel::allRows() const
{
    QItemSelection sel;
    if (!m_rows.empty())
        sel.select(index(0, 0), index(size() - 1, columnCount() - 1));
    return sel;
}

QItemSelection TrackModel::rowsSelection(const QList<int> &sortedRows) const
{
    QItemSelection sel;
    const int lastColumn = columnCount() - 1;
    for (qsizetype i = 0; i < sortedRows.size();) {
        qsizetype j = i;
        while (j + 1 < sortedRows.size() && sortedRows[j + 1] == sortedRows[j] + 1)
            ++j;
        sel.append(QItemSelectionRange(index(sortedRows[i], 0), index(sortedRows[j], lastColumn)));
        i = j + 1;
    }
    return sel;
}

QList<int> TrackModel::selectedRows(const QItemSelection &selection)
{
    // Merge the ranges as intervals; never expand them into single indexes.
    std::vector<std::pair<int, int>> spans;
    spans.reserve(size_t(selection.size()));
    for (const QItemSelectionRange &r : selection)
        if (r.isValid())
            spans.emplace_back(r.top(), r.bottom());
    std::sort(spans.begin(), spans.end());
    QList<int> rows;
    int next = 0;
    for (const auto &[top, bottom] : spans) {
        for (int row = std::max(top, next); row <= bottom; ++row)
            rows.append(row);
        next = std::max(next, bottom + 1);
    }
    return rows;
}

QItemSelection TrackModel::invertedRows(const QItemSelection &current) const
{
    std::vector<std::pair<int, int>> spans;
    for (const QItemSelectionRange &r : current)
        if (r.isValid())
            spans.emplace_back(r.top(), r.bottom());
    std::sort(spans.begin(), spans.end());
    QItemSelection sel;
    const int lastColumn = columnCount() - 1;
    int next = 0;
    for (const auto &[top, bottom] : spans) {
        if (top > next)
            sel.append(QItemSelectionRange(index(next, 0), index(top - 1, lastColumn)));
        next = std::max(next, bottom + 1);
    }
    if (next < size())
        sel.append(QItemSelectionRange(index(next, 0), index(size() - 1, lastColumn)));
    return sel;
}

void TrackModel::selectAll(QItemSelectionModel *selection) const
{
    if (selection)
        selection->select(allRows(), QItemSelectionModel::ClearAndSelect);
}

void TrackModel::invertSelection(QItemSelectionModel *selection) const
{
    if (selection)
        selection->select(invertedRows(selection->selection()), QItemSelectionModel::ClearAndSelect);
}

int TrackModel::nextSortState(int state, int column) { return state == column + 1 ? -(column + 1) : column + 1; }

void TrackModel::sort(int column, Qt::SortOrder order)
{
    sortByState(order == Qt::AscendingOrder ? column + 1 : -(column + 1));
}

void TrackModel::sortByState(int state)
{
    const int column = std::abs(state) - 1;
    if (state == 0 || column >= columnCount() || m_rows.size() < 2)
        return;
    const TrackField field = fieldOfColumn(column);
    if (field == TrackField::Count)
        return; // the empty column: every row compares equal

    // Compare the user locale's collation keys, made once per row. In the C
    // locale Qt's keys are case-sensitive, so fold case first there.
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    const bool fold = QLocale().language() == QLocale::C;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (const TrackRecord &t : m_rows)
        keys.push_back(collator.sortKey(fold ? t[field].toCaseFolded() : t[field]));

    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    if (state > 0)
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    else
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) > 0; });
    keys.clear();
    keys.shrink_to_fit();

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<TrackRecord> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRowOf(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(m_rows[size_t(order[i])]));
        newRowOf[size_t(order[i])] = int(i);
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &i : before)
        after.append(index(newRowOf[size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QStringList TrackModel::trackInfoLines(int row) const
{
    QStringList lines{QStringLiteral("No Lyrics File"), QStringLiteral(" ")};
    if (row < 0 || row >= size())
        return lines;
    const TrackRecord &t = m_rows[size_t(row)];
    if (m_layout == Layout::Album) {
        static const std::array<const char *, kTrackFieldCount> labels = {
            "Title : ", "Artist : ",    "Album : ",    "Comment : ", "Size : ", "Time : ", "Genre : ",
            "Date : ",  "Copyright : ", "Engineer : ", "Source : ",  "Soft : ", "Path : "};
        for (int f = 0; f < kTrackFieldCount; ++f)
            lines.append(QLatin1String(labels[size_t(f)]) + t.fields[size_t(f)]);
    } else {
        lines.append(QStringLiteral("Title : ") + t[TrackField::Title]);
        lines.append(QStringLiteral("Artist : ") + t[TrackField::Artist]);
        lines.append(QStringLiteral("Comment : ") + t[TrackField::Comment]);
        if (m_sizeAsTime)
            lines.append(QStringLiteral("Time : ") + t[TrackField::Time]);
        else
            lines.append(QStringLiteral("Size : ") + t[TrackField::Size]);
        lines.append(QStringLiteral("Path : ") + t[TrackField::Path]);
    }
    return lines;
}

QString TrackModel::resolvedPath(const TrackRecord &track, const QString &indexFilePath)
{
    return paths::resolveAgainst(paths::folderPart(indexFilePath), track[TrackField::Path]);
}

LyricsProbe::LyricsProbe(QString findFolder) : m_findFolder(paths::withTrailingSlash(findFolder)) {}

bool LyricsProbe::fileExists(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QStringView folder = QStringView(path).first(slash + 1);
    if (!m_lastListing || folder != m_lastFolder) {
        m_lastFolder = folder.toString();
        auto it = m_listings.find(m_lastFolder);
        if (it == m_listings.end()) {
            it = m_listings.insert(m_lastFolder, listFolder(m_lastFolder));
        }
        m_lastListing = &it.value();
    }
    // Nothing to look up in an empty folder listing (or a missing folder).
    return !m_lastListing->isEmpty() && m_lastListing->contains(path.mid(slash + 1));
}

QSet<QString> LyricsProbe::listFolder(const QString &folder)
{
    // Names only: reading the directory without a stat per entry keeps a
    // drop of thousands of files cheap. A folder that happens to carry a
    // lyrics file's name is not worth a stat to rule out.
    QSet<QString> names;
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_type == DT_DIR)
            continue;
        names.insert(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

LyricsState LyricsProbe::stateFor(const QString &trackPath)
{
    const QString lyrics = paths::lyricsNameFor(trackPath);
    const bool beside = fileExists(lyrics);
    bool found = false;
    if (!m_findFolder.isEmpty()) {
        if (!m_findNames)
            m_findNames = listFolder(m_findFolder);
        found = !m_findNames->isEmpty() && m_findNames->contains(paths::namePart(lyrics));
    }
    return static_cast<LyricsState>((beside ? 1 : 0) + (found ? 1 : -1));
}
