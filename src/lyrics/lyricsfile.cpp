#include "lyrics/lyricsfile.h"

#include "platform/regularfile.h"
#include "platform/textcodec.h"

#include <QStringDecoder>

namespace lyrics {

namespace {

// The file format counts bytes: a lone single-byte character is too short to
// be a line, a lone double-byte character is not.
bool tooShort(const QString &line)
{
    if (line.size() != 1)
        return false;
    const char16_t c = line.at(0).unicode();
    return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F); // ASCII or half-width katakana
}

void addLine(Lyrics &out, QString line)
{
    // A NUL would end the line in a C string; here it is simply dropped.
    line.remove(QChar(u'\0'));
    if (line.isEmpty()) {
        out.lines.append({QString(kUntimedTag), QString()});
        return;
    }
    if (tooShort(line))
        return;
    const bool tagged = line.startsWith(u'[');
    if (!out.caption)
        out.caption = tagged ? QStringLiteral("Lyrics") : line;
    if (!tagged) {
        out.lines.append({QString(kUntimedTag), line});
        return;
    }
    const qsizetype close = line.indexOf(u']', 1);
    if (close < 0)
        return;
    out.lines.append({line.mid(1, close - 1), line.mid(close + 1)});
}

} // namespace

QString decodeLyricsText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return decoder.decode(bytes.sliced(2));
    }
    return text::decode(bytes);
}

Lyrics parse(QByteArrayView bytes)
{
    Lyrics out;
    out.lines.append({QStringLiteral("00:00"), QStringLiteral(" ")});
    const QString content = decodeLyricsText(bytes);
    // Lines end with LF, CR LF or a lone CR; a final line without an end
    // still counts.
    qsizetype start = 0;
    const qsizetype n = content.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && content.at(end) != u'\n' && content.at(end) != u'\r')
            ++end;
        addLine(out, content.mid(start, end - start));
        if (end < n && content.at(end) == u'\r' && end + 1 < n && content.at(end + 1) == u'\n')
            ++end;
        start = end + 1;
    }
    out.lines.append({QString(kUntimedTag), QStringLiteral(" ")});
    return out;
}

Result<Lyrics> readFile(const QString &path)
{
    const regularfile::Read file = regularfile::read(path);
    if (!file)
        return Result<Lyrics>::failure(file.reason);
    return parse(file.bytes);
}

int lineForTime(const QList<Line> &lines, const QString &timeText)
{
    // Tags and times are ASCII in practice; UTF-16 order equals byte order
    // for them.
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (QStringView(lines.at(i).tag).compare(timeText, Qt::CaseSensitive) <= 0)
            return int(i);
    }
    return -1;
}

int centredTopRow(int selected, int visibleRows) { return qMax(0, selected - visibleRows / 2); }

} // namespace lyrics
