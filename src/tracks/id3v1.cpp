#include "tracks/id3v1.h"

#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/textcodec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace id3v1 {

namespace {

// Offsets inside the 128 tag bytes.
constexpr int kTitleAt = 3;
constexpr int kArtistAt = 33;
constexpr int kAlbumAt = 63;
constexpr int kYearAt = 93;
constexpr int kCommentAt = 97;
constexpr int kGenreAt = 127;

bool startsWithTagMarker(QByteArrayView bytes) { return bytes.size() >= 3 && bytes.first(3) == "TAG"; }

// Characters one at a time, a surrogate pair counting as one.
template <typename Fn> void forEachCharacter(const QString &text, Fn fn)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n =
            (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        if (!fn(text.mid(i, n)))
            return;
        i += n;
    }
}

// Characters that UTF-8 text and Linux input methods use where code page 932
// has a look-alike of its own (the wave dash above all); written as they are
// they would all become "?".
QString withCp932LookAlikes(QString text)
{
    static constexpr std::pair<char16_t, char16_t> kLookAlikes[] = {
        {u'\u301C', u'\uFF5E'}, {u'\u2016', u'\u2225'}, {u'\u2212', u'\uFF0D'}, {u'\u2014', u'\u2015'},
        {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'}, {u'\u00A6', u'\uFFE4'},
    };
    for (QChar &c : text) {
        for (const auto &[from, to] : kLookAlikes) {
            if (c.unicode() == from) {
                c = QChar(to);
                break;
            }
        }
    }
    return text;
}

} // namespace

QByteArray tagBytes(const QString &text) { return text::toCp932(withCp932LookAlikes(text)); }

QString decodeField(QByteArrayView raw)
{
    const qsizetype nul = raw.indexOf('\0');
    if (nul >= 0)
        raw = raw.first(nul);
    while (!raw.isEmpty() && raw.back() == ' ')
        raw.chop(1);
    // Most tags are ASCII, which CP932 leaves as it is; skip the converter then.
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(raw);
    return text::fromCp932OrWindows1252(raw);
}

std::optional<TagFields> parseTag(QByteArrayView last128)
{
    if (last128.size() != kTagSize || !startsWithTagMarker(last128))
        return std::nullopt;
    TagFields tag;
    tag.title = decodeField(last128.sliced(kTitleAt, kTextWidth));
    tag.artist = decodeField(last128.sliced(kArtistAt, kTextWidth));
    tag.album = decodeField(last128.sliced(kAlbumAt, kTextWidth));
    tag.year = decodeField(last128.sliced(kYearAt, kYearWidth));
    tag.comment = decodeField(last128.sliced(kCommentAt, kTextWidth));
    tag.genre = static_cast<unsigned char>(last128[kGenreAt]);
    tag.tagged = true;
    return tag;
}

TagFields untaggedFields(const QString &path)
{
    TagFields tag;
    const QString name = paths::namePart(path); // "\" is a name character on Linux
    int bytes = 0;
    forEachCharacter(name, [&](const QString &ch) {
        const int n = int(text::toCp932(ch).size());
        if (bytes + n > kUntaggedTitleBytes)
            return false;
        bytes += n;
        tag.title += ch;
        return true;
    });
    return tag;
}

QByteArray fitCp932(const QString &text, int width)
{
    const QByteArray all = tagBytes(text);
    qsizetype end = 0;
    while (end < all.size()) {
        const qsizetype step = text::isCp932LeadByte(static_cast<unsigned char>(all[end])) ? 2 : 1;
        if (end + step > width)
            break;
        end += step;
    }
    return all.left(std::min(end, all.size()));
}

QByteArray encodeField(const QString &text, int width)
{
    QByteArray field = fitCp932(text, width);
    if (field.size() < width)
        field += '\0';
    field.append(width - field.size(), ' ');
    return field;
}

QByteArray encodeTag(const TagFields &tag, QByteArrayView previous)
{
    const bool hadTag = previous.size() == kTagSize && startsWithTagMarker(previous);
    auto field = [&](const QString &text, int at, int width) {
        if (hadTag) {
            const QByteArrayView old = previous.sliced(at, width);
            if (decodeField(old) == text)
                return old.toByteArray();
        }
        return encodeField(text, width);
    };
    QByteArray bytes("TAG");
    bytes += field(tag.title, kTitleAt, kTextWidth);
    bytes += field(tag.artist, kArtistAt, kTextWidth);
    bytes += field(tag.album, kAlbumAt, kTextWidth);
    bytes += field(tag.year, kYearAt, kYearWidth);
    bytes += field(tag.comment, kCommentAt, kTextWidth);
    const int genre = (tag.genre >= 0 && tag.genre <= 255) ? tag.genre : kNoGenre;
    bytes += static_cast<char>(static_cast<unsigned char>(genre));
    Q_ASSERT(bytes.size() == kTagSize);
    return bytes;
}

namespace {

Result<FileTag> readTagOf(const QString &path, bool seenAsRegular)
{
    // Plain system calls: a folder scan reads thousands of tags, and a QFile
    // costs several times the open, fstat and pread that are needed. Only
    // regular files: a FIFO or a device that happens to be named *.mp3 could
    // block or never end.
    regularfile::Outcome opened;
    const int fd = regularfile::openDescriptor(path, opened, seenAsRegular);
    if (fd < 0) {
        if (opened.failure == regularfile::Failure::Unreadable)
            return Result<FileTag>::failure(
                QStringLiteral("ファイル %1 を開けませんでした。(%2)").arg(path, opened.reason));
        return Result<FileTag>::failure(QStringLiteral("ファイル %1 は読み込めません。").arg(path));
    }
    FileTag result;
    result.size = opened.size;
    std::optional<TagFields> tag;
    if (result.size >= kTagSize) {
        char bytes[kTagSize];
        if (::pread(fd, bytes, kTagSize, result.size - kTagSize) == kTagSize)
            tag = parseTag(QByteArrayView(bytes, kTagSize));
    }
    ::close(fd);
    result.tag = tag ? *tag : untaggedFields(path);
    return result;
}

} // namespace

Result<FileTag> readFile(const QString &path) { return readTagOf(path, false); }

Result<FileTag> readRegularFile(const QString &path) { return readTagOf(path, true); }

TagFields ReadTag(const QString &path)
{
    const Result<FileTag> file = readFile(path);
    return file ? file->tag : untaggedFields(path);
}

Result<qint64> WriteTag(const QString &path, const TagFields &tag)
{
    using R = Result<qint64>;
    if (!QFileInfo(path).isFile())
        return R::failure(QStringLiteral("ファイル %1 が見つかりません。").arg(path));
    QFile file(path);
    // ExistingOnly: never create a file; no Truncate: the audio stays as it is.
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return R::failure(
            QStringLiteral("ファイル %1 を書き込み用に開けませんでした。(%2)").arg(path, file.errorString()));

    const qint64 length = file.size();
    QByteArray previous;
    if (length >= kTagSize && file.seek(length - kTagSize))
        previous = file.read(kTagSize);
    const bool tagged = previous.size() == kTagSize && startsWithTagMarker(previous);
    const qint64 offset = tagged ? length - kTagSize : length;

    const QByteArray bytes = encodeTag(tag, tagged ? QByteArrayView(previous) : QByteArrayView());
    bool done = file.seek(offset) && file.write(bytes) == bytes.size() && file.flush();
    if (!done) {
        const QString reason = file.errorString();
        // Put the file back: drop a half-appended tag, or restore the old one.
        if (tagged) {
            if (file.seek(offset))
                file.write(previous);
        } else {
            file.resize(length);
        }
        return R::failure(QStringLiteral("ファイル %1 にタグを書き込めませんでした。(%2)").arg(path, reason));
    }
    const qint64 newLength = file.size();
    file.close();
    return newLength;
}

} // namespace id3v1
