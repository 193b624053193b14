#pragma once
// ID3v1 tags: the 128 bytes at the end of an MP3 file. Texts are CP932 on
// disk and QString inside the program; widths count CP932 bytes.
#include "platform/result.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>

namespace id3v1 {

inline constexpr int kTagSize = 128;
inline constexpr int kTextWidth = 30; // title, artist, album, comment on disk
inline constexpr int kYearWidth = 4;
inline constexpr int kUntaggedTitleBytes = 31; // the title buffer of an untagged file
inline constexpr int kNoGenre = 255;

struct TagFields {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    int genre = kNoGenre; // 0-255 as stored
    bool tagged = false;  // false: read from a file without a tag

    friend bool operator==(const TagFields &, const TagFields &) = default;
};

// One text field: up to the first NUL within the bytes, trailing 0x20 removed,
// decoded from CP932, or from Windows-1252 when the bytes are not CP932.
QString decodeField(QByteArrayView raw);
// The tag in the last 128 bytes of a file, or nothing when they do not start with "TAG".
std::optional<TagFields> parseTag(QByteArrayView last128);
// What an untagged file shows: its name part cut to 31 CP932 bytes, genre 255.
TagFields untaggedFields(const QString &path);

// The CP932 bytes a tag stores for `text`: look-alikes such as the wave dash
// U+301C take the code page's own form; other characters without a CP932 form
// become "?".
QByteArray tagBytes(const QString &text);
// tagBytes(text) cut to at most `width` bytes without splitting a double-byte
// character.
QByteArray fitCp932(const QString &text, int width);
// A field exactly `width` bytes long: the text, one NUL when shorter, spaces up to the width.
QByteArray encodeField(const QString &text, int width);
// The 128 tag bytes; a genre outside 0-255 is stored as 255. Given the tag
// the file holds now, a field whose text is what its old bytes show keeps
// those bytes exactly: encoding them afresh would turn text that is not CP932
// into "?" and drop what follows a NUL (the track number of ID3v1.1).
QByteArray encodeTag(const TagFields &tag, QByteArrayView previous = {});

struct FileTag {
    TagFields tag;
    qint64 size = 0; // file length in bytes
};

// Opens the file once for its length and its tag.
Result<FileTag> readFile(const QString &path);
// The same for a path the caller has just seen to be a regular file (a folder
// scan), saving one stat per file.
Result<FileTag> readRegularFile(const QString &path);
// The tag of a file; an unreadable file reads as untagged.
TagFields ReadTag(const QString &path);

// Rewrites the tag of an existing file in place, or appends one when it has
// none. Only the 128 tag bytes are written, and fields left as the file shows
// them keep their bytes; on a failed write the file is put
// back as it was where possible. Returns the file's new length.
Result<qint64> WriteTag(const QString &path, const TagFields &tag);

} // namespace id3v1
