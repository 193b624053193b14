#pragma once
// One row of the track list: thirteen text fields plus the row's lyrics state.
#include <QString>
#include <array>

enum class TrackField : int {
    Title, Artist, Album, Comment, Size, Time, Genre, Date, Copyright, Engineer, Source, Soft, Path,
    Count
};
inline constexpr int kTrackFieldCount = static_cast<int>(TrackField::Count);

// The column names, also used as settings keys ("Title", "Artist", ...).
inline constexpr std::array<const char *, kTrackFieldCount> kTrackFieldNames = {
    "Title", "Artist", "Album", "Comment", "Size", "Time", "Genre",
    "Date", "Copyright", "Engineer", "Source", "Soft", "Path"};

enum class LyricsState : signed char {
    None = -1,      // no lyrics file found
    BesideTrack = 0, // lyrics file next to the MP3 file
    InFindFolder = 1, // in the lyrics search folder
    Both = 2,
};

struct TrackRecord {
    std::array<QString, kTrackFieldCount> fields;
    LyricsState lyrics = LyricsState::None;

    QString &operator[](TrackField f) { return fields[static_cast<int>(f)]; }
    const QString &operator[](TrackField f) const { return fields[static_cast<int>(f)]; }
};
