#pragma once
// Lyrics files: plain text, one display line per text line, with an optional
// leading "[tag]" giving the time from which the line is current. Tags are
// compared as byte strings with the time text "mm:ss:cc", so untimed lines
// get "99:99", which no time below 99 minutes reaches.
#include "platform/result.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace lyrics {

struct Line {
    QString tag;
    QString text;
    friend bool operator==(const Line &, const Line &) = default;
};

struct Lyrics {
    // Always starts with ("00:00", " ") and ends with ("99:99", " ").
    QList<Line> lines;
    // Set by the first line of two or more characters: "Lyrics" when it is a
    // tagged line, otherwise the line itself.
    std::optional<QString> caption;
};

inline constexpr QLatin1StringView kUntimedTag{"99:99"};

// Bytes in UTF-8 (with or without BOM), UTF-16 with BOM, or CP932.
QString decodeLyricsText(QByteArrayView bytes);
Lyrics parse(QByteArrayView bytes);
// The reason in the system's words when the file cannot be read.
[[nodiscard]] Result<Lyrics> readFile(const QString &path);

// Index of the line to highlight at `timeText`: going from the last line
// towards the first, the first one whose tag is not above `timeText`.
// -1 when none is, and the highlight then stays where it is.
int lineForTime(const QList<Line> &lines, const QString &timeText);

// Top row that puts `selected` in the middle of a list showing
// `visibleRows` rows.
int centredTopRow(int selected, int visibleRows);

} // namespace lyrics
