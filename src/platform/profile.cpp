#include "platform/profile.h"

#include "platform/regularfile.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct Line {
    qsizetype start; // offset of the first byte
    qsizetype end;   // offset past the last byte before the line end
    qsizetype next;  // offset of the next line
};

// Lines end at CR LF, LF or a lone CR; the last line may have no end.
QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    const char *p = content.constData();
    const qsizetype n = content.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        if (p[i] == '\n' || p[i] == '\r') {
            const qsizetype end = i;
            if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
                ++i;
            ++i;
            lines.append({start, end, i});
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append({start, n, n});
    return lines;
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString trimBlanks(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s.at(b)))
        ++b;
    while (e > b && isBlank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

QString stripQuotes(const QString &v)
{
    if (v.size() >= 2) {
        const QChar first = v.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && v.back() == first)
            return v.mid(1, v.size() - 2);
    }
    return v;
}

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// What a line is, once decoded.
struct Parsed {
    enum Kind { Other, Section, Key } kind = Other;
    QString name;
    QString value;
};

Parsed parseLine(const QString &text)
{
    Parsed out;
    const QString t = trimBlanks(text);
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return out;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        out.kind = Parsed::Section;
        out.name = trimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
        return out;
    }
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return out;
    out.kind = Parsed::Key;
    out.name = trimBlanks(t.left(eq));
    out.value = stripQuotes(trimBlanks(t.mid(eq + 1)));
    return out;
}

class Decoder {
public:
    explicit Decoder(const QByteArray &content) : m_content(content), m_encoding(text::detect(content)) {}
    QString line(const Line &l) const
    {
        QByteArrayView bytes(m_content.constData() + l.start, l.end - l.start);
        if (l.start == 0 && m_encoding == text::Encoding::Utf8Bom)
            return text::decode(bytes, text::Encoding::Utf8Bom);
        return text::decode(bytes, m_encoding == text::Encoding::Cp932 ? text::Encoding::Cp932 : text::Encoding::Utf8);
    }
    text::Encoding encoding() const { return m_encoding; }

private:
    const QByteArray &m_content;
    text::Encoding m_encoding;
};

// Holds an exclusive flock on `<file>.lock` for as long as it lives.
class WriteLock {
public:
    explicit WriteLock(const QString &iniPath)
    {
        const QByteArray lockPath = QFile::encodeName(iniPath + QStringLiteral(".lock"));
        m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~WriteLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;
    bool locked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

QByteArray readAll(const QString &path, bool *ok = nullptr)
{
    // Anything but a missing file that cannot be read stops a write, so that
    // the settings it holds are never replaced by one key.
    regularfile::Read file = regularfile::read(path);
    if (ok)
        *ok = file.ok() || file.failure == regularfile::Failure::Missing;
    return std::move(file.bytes);
}

// A line break or NUL in a written name or value would split the line and
// plant keys or sections of its own; such a write is refused as a whole.
bool hasLineBreak(const QString &s)
{
    for (QChar c : s) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0)
            return true;
    }
    return false;
}

Result<> validateWrite(const QString &section, const QString &key, const QString &value)
{
    if (trimBlanks(section).isEmpty() || hasLineBreak(section) || section.contains(QLatin1Char(']')))
        return Result<>::failure(QStringLiteral("セクション名が正しくありません: %1").arg(section));
    const QString name = trimBlanks(key);
    if (name.isEmpty() || hasLineBreak(key) || key.contains(QLatin1Char('=')) || name.startsWith(QLatin1Char('[')) ||
        name.startsWith(QLatin1Char(';')))
        return Result<>::failure(QStringLiteral("キー名が正しくありません: %1").arg(key));
    if (hasLineBreak(value))
        return Result<>::failure(QStringLiteral("改行を含む値は書き込めません: %1").arg(key));
    return {};
}

} // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

bool ProfileFile::exists() const { return QFileInfo::exists(m_path); }

std::optional<QString> ProfileFile::lookup(const QByteArray &content, const QString &section, const QString &key)
{
    const Decoder decoder(content);
    bool inSection = false;
    for (const Line &l : splitLines(content)) {
        const Parsed p = parseLine(decoder.line(l));
        if (p.kind == Parsed::Section)
            inSection = sameName(p.name, section);
        else if (p.kind == Parsed::Key && inSection && sameName(p.name, key))
            return p.value;
    }
    return std::nullopt;
}

QByteArray ProfileFile::withValue(const QByteArray &content, const QString &section, const QString &key,
                                  const QString &value)
{
    const Decoder decoder(content);
    const QList<Line> lines = splitLines(content);
    const QString newLine = key + QLatin1Char('=') + value;
    // The section name is new text too when the section has to be added.
    const bool newTextFits = text::fitsCp932(newLine) && text::fitsCp932(section);

    // The file keeps its encoding unless the new text cannot be written in it.
    text::Encoding enc = decoder.encoding();
    bool reencode = false;
    if (enc == text::Encoding::Cp932 && !newTextFits)
        reencode = true;
    if (enc == text::Encoding::Utf8) {
        // Plain ASCII files take CP932 like any file Tunovia writes.
        bool ascii = true;
        for (char c : content) {
            if (static_cast<unsigned char>(c) >= 0x80) {
                ascii = false;
                break;
            }
        }
        if (ascii)
            enc = newTextFits ? text::Encoding::Cp932 : text::Encoding::Utf8;
    }
    const text::Encoding outEnc = reencode ? text::Encoding::Utf8 : enc;
    auto lineBytes = [&](const Line &l) -> QByteArray {
        if (!reencode)
            return content.mid(l.start, l.end - l.start);
        return decoder.line(l).toUtf8();
    };
    auto lineEnd = [&](const Line &l) -> QByteArray { return content.mid(l.end, l.next - l.end); };

    // Find the key's line, or the last key line of the first matching section.
    qsizetype keyLine = -1;
    qsizetype sectionLast = -1; // last non-blank line of the first matching section
    bool inSection = false;
    bool sectionSeen = false;
    bool firstSectionDone = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString t = decoder.line(lines[i]);
        const Parsed p = parseLine(t);
        if (p.kind == Parsed::Section) {
            if (inSection)
                firstSectionDone = true;
            inSection = sameName(p.name, section);
            if (inSection && !sectionSeen) {
                sectionSeen = true;
                sectionLast = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (p.kind == Parsed::Key && sameName(p.name, key)) {
            keyLine = i;
            break;
        }
        if (!firstSectionDone && !trimBlanks(t).isEmpty())
            sectionLast = i;
    }

    QByteArray out;
    out.reserve(content.size() + newLine.size() * 2 + 16);
    const QByteArray encodedLine = text::encode(newLine, outEnc);
    const QByteArray crlf("\r\n");

    if (keyLine >= 0) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i == keyLine) {
                // Keep a BOM that sat on the first line.
                if (i == 0 && decoder.encoding() == text::Encoding::Utf8Bom)
                    out.append("\xEF\xBB\xBF");
                out.append(encodedLine);
                const QByteArray end = lineEnd(lines[i]);
                out.append(end.isEmpty() ? crlf : end);
            } else {
                out.append(lineBytes(lines[i]));
                out.append(lineEnd(lines[i]));
            }
        }
        return out;
    }

    if (sectionLast >= 0) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            out.append(lineBytes(lines[i]));
            const QByteArray end = lineEnd(lines[i]);
            out.append(end.isEmpty() ? crlf : end);
            if (i == sectionLast) {
                out.append(encodedLine);
                out.append(crlf);
            }
        }
        return out;
    }

    for (const Line &l : lines) {
        out.append(lineBytes(l));
        out.append(lineEnd(l));
    }
    if (!lines.isEmpty() && lineEnd(lines.back()).isEmpty())
        out.append(crlf);
    out.append(text::encode(QLatin1Char('[') + section + QLatin1Char(']'), outEnc));
    out.append(crlf);
    out.append(encodedLine);
    out.append(crlf);
    return out;
}

std::optional<QString> ProfileFile::value(const QString &section, const QString &key) const
{
    return lookup(readAll(m_path), section, key);
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

std::optional<int> ProfileFile::parseInt(const QString &raw)
{
    const QString text = trimBlanks(raw);
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    if (text.size() > 2 && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
        // Hex digits only: toUInt() would also take blanks and a sign.
        for (qsizetype i = 2; i < text.size(); ++i) {
            if (!isxdigit(static_cast<unsigned char>(text.at(i).toLatin1())) || text.at(i).unicode() > 0x7F)
                return std::nullopt;
        }
        const uint v = text.mid(2).toUInt(&ok, 16);
        return ok ? std::optional<int>(static_cast<int>(v)) : std::nullopt;
    }
    // Digits with an optional sign only: "12abc", "1e3" and " " are not numbers.
    qsizetype i = (text.front() == QLatin1Char('-') || text.front() == QLatin1Char('+')) ? 1 : 0;
    if (i == text.size())
        return std::nullopt;
    for (; i < text.size(); ++i) {
        if (!text.at(i).isDigit() || text.at(i).unicode() > 0x7F)
            return std::nullopt;
    }
    const int v = text.toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

int ProfileFile::readInt(const QString &section, const QString &key, int defaultValue) const
{
    const auto raw = value(section, key);
    if (!raw)
        return defaultValue;
    return parseInt(*raw).value_or(defaultValue);
}

bool ProfileFile::readFlag(const QString &section, const QString &key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

ProfileWrite ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    auto fail = [this](QString message) { return ProfileWrite::failure({m_path, std::move(message)}); };
    if (Result<> valid = validateWrite(section, key, value); !valid.ok())
        return fail(valid.error());
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("フォルダを作成できません: %1").arg(info.absolutePath()));
    WriteLock lock(m_path);
    if (!lock.locked())
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    bool readOk = true;
    const QByteArray old = readAll(m_path, &readOk);
    if (!readOk)
        return fail(QStringLiteral("読み込めません"));
    const QByteArray updated = withValue(old, section, key, value);
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly))
        return fail(out.errorString());
    if (out.write(updated) != updated.size()) {
        out.cancelWriting();
        return fail(out.errorString());
    }
    if (!out.commit())
        return fail(out.errorString());
    return {};
}

ProfileWrite ProfileFile::writeInt(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}
