#include "library/albumfile.h"

#include "library/textlines.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/textcodec.h"
#include "tracks/trackmodel.h"

namespace album {

namespace {

// Splits one line into `count` fields. quoteOnly[i] tells that field i ends at
// the first `"` instead of the first `",`. Returns how many fields were found
// before the line ran out; the rest of `out` is left empty.
int splitFields(QStringView line, const bool *quoteOnly, int count, QStringView *out)
{
    qsizetype pos = 1; // the first character is the opening quote
    for (int i = 0; i < count; ++i) {
        if (pos > line.size())
            return i;
        const qsizetype end =
            quoteOnly[i] ? line.indexOf(QLatin1Char('"'), pos) : line.indexOf(QLatin1String("\","), pos);
        if (end < 0) {
            QStringView rest = line.sliced(pos);
            if (rest.endsWith(QLatin1Char('"')))
                rest.chop(1);
            out[i] = rest;
            return i + 1;
        }
        out[i] = line.sliced(pos, end - pos);
        pos = end + 3; // closing quote, comma, next opening quote
    }
    return count;
}

bool isBlank(QStringView line)
{
    for (QChar c : line)
        if (!c.isSpace() && c != QChar(0))
            return false;
    return true;
}

QString resolveTrackPath(QStringView stored, const QString &albumFolder)
{
    // Most stored paths are already absolute Linux paths: one copy, no rules.
    if (stored.startsWith(QLatin1Char('/')) && !stored.contains(QLatin1Char('\\')))
        return stored.toString();
    return paths::resolveDotted(albumFolder, paths::fromWindows(stored.toString()));
}

} // namespace

qint64 secondsFromSize(QStringView size)
{
    enum class Unit { None, Kilo, Mega } unit = Unit::None;
    qint64 n = 0;
    bool started = false;
    bool done = false;
    constexpr qint64 kCap = 10'000'000'000'000; // keeps the arithmetic below in range
    for (QChar c : size) {
        switch (c.unicode()) {
        case u' ':
        case u'.':
        case u'B':
            continue;
        case u'K':
            unit = Unit::Kilo;
            continue;
        case u'M':
            unit = Unit::Mega;
            continue;
        default:
            break;
        }
        if (done)
            continue;
        // Leading blanks and a plus sign are allowed before the digits; a
        // minus sign or any other character ends the number.
        if (!started && (c == QLatin1Char('\t') || c == QLatin1Char('+'))) {
            if (c == QLatin1Char('+'))
                started = true;
            continue;
        }
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            started = true;
            n = std::min(kCap, n * 10 + (c.unicode() - u'0'));
        } else {
            done = true;
        }
    }
    // Integer forms of bytes / 16000 + 0.5; "M" counts hundredths of a megabyte.
    switch (unit) {
    case Unit::None:
        return (n + 8000) / 16000;
    case Unit::Kilo:
        return (n * 1024 + 8000) / 16000;
    case Unit::Mega:
        return (n * 65536 + 50000) / 100000;
    }
    return 0;
}

QString playTimeText(qint64 seconds)
{
    // Built by hand: this runs once per track on every load.
    if (seconds < 0)
        seconds = 0;
    const qint64 rest = seconds % 60;
    QString out = QString::number(seconds / 60);
    out.reserve(out.size() + 4);
    out += u'分';
    out += QChar(u'0' + char16_t(rest / 10));
    out += QChar(u'0' + char16_t(rest % 10));
    out += u'秒';
    return out;
}

std::vector<TrackRecord> parseAlbumText(QStringView text, const QString &albumFolder)
{
    static constexpr bool kQuoteOnly[kTrackFieldCount] = {false, false, false, false, false, false, true,
                                                          true,  false, false, false, false, true};
    // File order of the fields, field 2 (the file name) being skipped.
    static constexpr TrackField kTargets[kTrackFieldCount] = {
        TrackField::Path,    TrackField::Count, TrackField::Title, TrackField::Artist,    TrackField::Album,
        TrackField::Comment, TrackField::Genre, TrackField::Date,  TrackField::Copyright, TrackField::Engineer,
        TrackField::Source,  TrackField::Soft,  TrackField::Size};

    std::vector<TrackRecord> tracks;
    // About 250 bytes per line in practice; a rough reserve avoids regrowth.
    tracks.reserve(size_t(text.size() / 200 + 1));
    textlines::forEachLine(text, [&](QStringView line) {
        if (isBlank(line))
            return;
        QStringView fields[kTrackFieldCount];
        splitFields(line, kQuoteOnly, kTrackFieldCount, fields);
        TrackRecord t;
        for (int i = 0; i < kTrackFieldCount; ++i)
            if (kTargets[i] != TrackField::Count && !fields[i].isEmpty())
                t[kTargets[i]] = fields[i].toString();
        t[TrackField::Time] = timeFromSize(fields[12]);
        t[TrackField::Path] = resolveTrackPath(fields[0], albumFolder);
        tracks.push_back(std::move(t));
    });
    return tracks;
}

std::vector<TrackRecord> parseAlbum(QByteArrayView bytes, const QString &albumFolder)
{
    return parseAlbumText(text::decode(bytes), albumFolder);
}

QString albumPathFor(const QString &entryPath, const QString &indexFilePath)
{
    return paths::resolveAgainst(paths::folderPart(indexFilePath), paths::fromWindows(entryPath));
}

AlbumRead readAlbumFile(const QString &path, LyricsProbe *probe)
{
    AlbumRead result;
    // A folder or a device (think /dev/zero) is never read as an album.
    const regularfile::Read file = regularfile::read(path);
    if (!file) {
        result.error = ReadError{path, file.reason};
        return result;
    }
    result.tracks = parseAlbum(file.bytes, paths::folderPart(path));
    if (probe)
        for (TrackRecord &t : result.tracks)
            t.lyrics = probe->stateFor(t[TrackField::Path]);
    return result;
}

QString albumLine(const TrackRecord &t)
{
    const QString &path = t[TrackField::Path];
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char(':')));
    const QString fileName = path.mid(cut + 1);
    const QString *fields[kTrackFieldCount] = {&path,
                                               &fileName,
                                               &t[TrackField::Title],
                                               &t[TrackField::Artist],
                                               &t[TrackField::Album],
                                               &t[TrackField::Comment],
                                               &t[TrackField::Genre],
                                               &t[TrackField::Date],
                                               &t[TrackField::Copyright],
                                               &t[TrackField::Engineer],
                                               &t[TrackField::Source],
                                               &t[TrackField::Soft],
                                               &t[TrackField::Size]};
    QString line;
    for (int i = 0; i < kTrackFieldCount; ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += QLatin1Char('"') + *fields[i] + QLatin1Char('"');
    }
    line += QLatin1String("\r\n");
    return line;
}

QByteArray encodeAlbum(const std::vector<TrackRecord> &tracks)
{
    QString all;
    for (const TrackRecord &t : tracks)
        all += albumLine(t);
    return text::encodeForFile(all);
}

bool isLegacyTrackList(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    return !bytes.isEmpty() && bytes.front() == '"';
}

std::vector<TrackRecord> parseLegacyList(QByteArrayView bytes)
{
    static constexpr bool kQuoteOnly[5] = {false, false, false, false, true};
    static constexpr TrackField kTargets[5] = {TrackField::Path, TrackField::Title, TrackField::Artist,
                                               TrackField::Comment, TrackField::Size};
    std::vector<TrackRecord> tracks;
    const QString text = text::decode(bytes);
    textlines::forEachLine(text, [&](QStringView line) {
        if (isBlank(line))
            return;
        QStringView fields[5];
        splitFields(line, kQuoteOnly, 5, fields);
        TrackRecord t;
        for (int i = 0; i < 5; ++i)
            t[kTargets[i]] = fields[i].toString();
        t[TrackField::Path] = paths::fromWindows(t[TrackField::Path]);
        t[TrackField::Time] = timeFromSize(fields[4]);
        tracks.push_back(std::move(t));
    });
    return tracks;
}

} // namespace album
