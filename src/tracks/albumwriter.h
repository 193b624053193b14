#pragma once
// Writing the track list to a new album file. The line format itself lives
// with the album reader (album::albumLine).
#include "platform/result.h"
#include "tracks/trackrecord.h"

#include <QString>
#include <optional>
#include <vector>

namespace albumwriter {

// All rows, or only those whose selection flag is set, in list order.
std::vector<TrackRecord> rowsToWrite(const std::vector<TrackRecord> &rows, const std::vector<bool> &selection,
                                     bool selectedOnly);

// Creates (or replaces) the album file with one line per row. The old file is
// replaced only once the new one is complete. A failure's message names the file.
[[nodiscard]] Result<> saveAlbumFile(const QString &path, const std::vector<TrackRecord> &rows);

} // namespace albumwriter
