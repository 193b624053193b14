#pragma once
// Find over the track list and the totals of the selected rows, without
// widgets: the find dialog and the main window call these.
#include "platform/profile.h"
#include "tracks/trackrecord.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace findtotals {

// ---- Find ----

inline constexpr int kFindBoxCount = kTrackFieldCount; // one box per field
using FindBoxes = std::array<bool, kFindBoxCount>;

// Title, artist, album and comment checked; the rest not.
FindBoxes defaultFindBoxes();
// Caption of box `box` (0-based); the five-column list relabels boxes 2 and 3.
QString findBoxCaption(int box, bool fiveColumnList);
// Whether the box can be used; the five-column list has only four.
bool findBoxEnabled(int box, bool fiveColumnList);
// The field a box stands for (nothing for a box the five-column list lacks).
std::optional<TrackField> fieldForBox(int box, bool fiveColumnList);

// ASCII letters upper-cased, every other character unchanged.
QString asciiUpper(const QString &text);

using FieldOf = std::function<QString(int row, TrackField field)>;
// The selection after a search: every row whose field of a checked box contains
// the text (ASCII case ignored) is added; no row is ever deselected. `selection`
// has one flag per row.
std::vector<bool> findRows(int rowCount, const FieldOf &fieldOf, std::vector<bool> selection, const QString &text,
                           const FindBoxes &boxes, bool fiveColumnList);
std::vector<bool> findRows(const std::vector<TrackRecord> &rows, std::vector<bool> selection, const QString &text,
                           const FindBoxes &boxes, bool fiveColumnList);

// ---- Search history (section "Find" of the settings file) ----

inline constexpr int kHistorySize = 10;
// The stored texts, oldest first, empty ones left out.
QStringList loadFindHistory(const ProfileFile &settings);
// `text` moved (or added) to the end, equal texts compared without regard to
// case removed, the oldest dropped beyond ten.
QStringList addToFindHistory(QStringList history, const QString &text);
// Writes all ten keys (unused ones empty) so no stale entry survives; stops
// at the first failed write.
[[nodiscard]] ProfileWrite saveFindHistory(ProfileFile &settings, const QStringList &history);

// ---- Totals ----

// Seconds of a "%d分%d秒" text; what cannot be read counts as 0.
qint64 parsePlayTime(const QString &text);
// Bytes of a size text: plain bytes, or a number with a K or M unit (the last one wins).
qint64 parseSizeBytes(const QString &text);

// Sum over the selected rows of `field` read as play time or as size.
qint64 totalSeconds(int rowCount, const FieldOf &fieldOf, const std::vector<bool> &selection, TrackField field);
qint64 totalBytes(int rowCount, const FieldOf &fieldOf, const std::vector<bool> &selection, TrackField field);

// The text of the total play time message box.
QString totalTimeMessage(qint64 seconds);

// Total panel: index 0 shows nothing, 1-8 play time, 9-11 size.
inline constexpr int kTotalPanelFormats = 12;
inline constexpr const char *kTotalPanelInitialText = "0:00:00";
bool totalPanelShowsSize(int index);
// The entry of the settings list that chooses `index`.
QString totalPanelChoice(int index);
struct TotalPanelText {
    QString text;
    int width = 0; // pixels
};
std::optional<TotalPanelText> totalPanelText(int index, qint64 seconds, qint64 bytes);

} // namespace findtotals
