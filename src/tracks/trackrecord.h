#pragma once
// One row of the track list: thirteen text fields plus the row's lyrics state.
#include <QString>
#include <array>

enum class TrackField : int {
    Title,
    Artist,
    Album,
    Comment,
    Size,
    Time,
    Genre,
    Date,
    Copyright,
    Engineer,
    Source,
    Soft,
    Path,
    Count
};
inline constexpr int kTrackFieldCount = static_cast<int>(TrackField::Count);

// The column names, also used as settings keys ("Title", "Artist", ...).
inline constexpr std::array<const char *, kTrackFieldCount> kTrackFieldNames = {
    "Title", "Artist",    "Album",    "Comment", "Size", "Time", "Genre",
    "Date",  "Copyright", "Engineer", "Source",  "Soft", "Path"};

// One column of a track list: its field, its header caption and the width
// "カラム幅初期化" gives it. Settings keys are kTrackFieldNames of the field.
struct ColumnSpec {
    TrackField field;
    const char *caption; // UTF-8
    int defaultWidth;
};

// The thirteen-column (album) list, one column per field in field order.
inline constexpr std::array<ColumnSpec, kTrackFieldCount> kAlbumListColumns{{{TrackField::Title, "曲名", 150},
                                                                             {TrackField::Artist, "アーティスト", 100},
                                                                             {TrackField::Album, "アルバム", 100},
                                                                             {TrackField::Comment, "コメント", 150},
                                                                             {TrackField::Size, "サイズ", 61},
                                                                             {TrackField::Time, "時間", 55},
                                                                             {TrackField::Genre, "ジャンル", 50},
                                                                             {TrackField::Date, "日付", 50},
                                                                             {TrackField::Copyright, "著作権", 50},
                                                                             {TrackField::Engineer, "エンジニア", 50},
                                                                             {TrackField::Source, "ソース", 50},
                                                                             {TrackField::Soft, "ソフト", 50},
                                                                             {TrackField::Path, "ファイルパス", 150}}};

// The five-column (older) list.
inline constexpr int kFiveColumnCount = 5;
inline constexpr std::array<ColumnSpec, kFiveColumnCount> kFiveListColumns{{{TrackField::Title, "曲名", 150},
                                                                            {TrackField::Artist, "アーティスト", 100},
                                                                            {TrackField::Comment, "コメント", 150},
                                                                            {TrackField::Size, "サイズ", 61},
                                                                            {TrackField::Path, "ファイルパス", 150}}};

static_assert(
    [] {
        for (int i = 0; i < kTrackFieldCount; ++i)
            if (kAlbumListColumns[size_t(i)].field != TrackField(i))
                return false;
        return true;
    }(),
    "the album list shows the fields in field order");

enum class LyricsState : signed char {
    None = -1,        // no lyrics file found
    BesideTrack = 0,  // lyrics file next to the MP3 file
    InFindFolder = 1, // in the lyrics search folder
    Both = 2,
};

struct TrackRecord {
    std::array<QString, kTrackFieldCount> fields;
    LyricsState lyrics = LyricsState::None;

    QString &operator[](TrackField f) { return fields[static_cast<int>(f)]; }
    const QString &operator[](TrackField f) const { return fields[static_cast<int>(f)]; }
};
