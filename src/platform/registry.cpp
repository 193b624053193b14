#include "platform/registry.h"

#include "platform/regularfile.h"

#include <QDir>

namespace {

// A user's registry is a few megabytes; the cap keeps a path that names a
// device or a huge unrelated file from stalling start-up.
constexpr qint64 kMaxFileSize = 32 * 1024 * 1024;

QString foldKey(QString path)
{
    qsizetype b = 0;
    qsizetype e = path.size();
    while (b < e && path.at(b) == QLatin1Char('\\'))
        ++b;
    while (e > b && path.at(e - 1) == QLatin1Char('\\'))
        --e;
    return path.mid(b, e - b).toCaseFolded();
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads escaped text from `pos` up to the unescaped `terminator` and leaves
// `pos` just past it. Escapes: \\ \" \[ \] (any other character stands for
// itself), C escapes \a \b \e \f \n \r \t \v, \xH..HHHH (one UTF-16 unit) and
// \o..ooo octal. Nothing when the terminator never comes.
std::optional<QString> unescape(QByteArrayView line, qsizetype &pos, char terminator)
{
    QString out;
    QByteArray run; // plain bytes, decoded as UTF-8 in one go
    auto flush = [&] {
        if (!run.isEmpty()) {
            out += QString::fromUtf8(run);
            run.clear();
        }
    };
    const qsizetype n = line.size();
    while (pos < n) {
        const char c = line[pos++];
        if (c == terminator) {
            flush();
            return out;
        }
        if (c != '\\') {
            run.append(c);
            continue;
        }
        if (pos >= n)
            return std::nullopt;
        const char e = line[pos++];
        char16_t unit = 0;
        switch (e) {
        case 'a':
            unit = 7;
            break;
        case 'b':
            unit = 8;
            break;
        case 'e':
            unit = 27;
            break;
        case 'f':
            unit = 12;
            break;
        case 'n':
            unit = 10;
            break;
        case 'r':
            unit = 13;
            break;
        case 't':
            unit = 9;
            break;
        case 'v':
            unit = 11;
            break;
        case 'x': {
            int digits = 0;
            while (digits < 4 && pos < n && hexDigit(line[pos]) >= 0) {
                unit = char16_t(unit * 16 + hexDigit(line[pos++]));
                ++digits;
            }
            if (digits == 0)
                unit = u'x';
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                unit = char16_t(e - '0');
                for (int digits = 1; digits < 3 && pos < n && line[pos] >= '0' && line[pos] <= '7'; ++digits)
                    unit = char16_t(unit * 8 + (line[pos++] - '0'));
            } else {
                run.append(e);
                continue;
            }
        }
        flush();
        out += QChar(unit);
    }
    return std::nullopt;
}

// "0000000a": one to eight hex digits and nothing else.
std::optional<quint32> parseDword(QByteArrayView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    quint32 v = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = v * 16 + quint32(d);
    }
    return v;
}

// "0a,00,00,00": a DWORD written as four little-endian bytes.
std::optional<quint32> parseHexDword(QByteArrayView text)
{
    const QList<QByteArray> bytes = text.toByteArray().trimmed().split(',');
    if (bytes.size() != 4)
        return std::nullopt;
    quint32 v = 0;
    for (qsizetype i = 3; i >= 0; --i) {
        const QByteArray b = bytes[i].trimmed();
        if (b.size() != 2 || hexDigit(b[0]) < 0 || hexDigit(b[1]) < 0)
            return std::nullopt;
        v = (v << 8) | quint32(hexDigit(b[0]) * 16 + hexDigit(b[1]));
    }
    return v;
}

} // namespace

LegacyRegistry::LegacyRegistry(QByteArrayView bytes)
{
    QHash<QString, Value> *key = nullptr; // values of the current key; none after a broken header
    bool continued = false;               // the previous line ended in "\": this one is part of it
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = n;
        QByteArrayView line = bytes.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);

        if (continued) {
            continued = line.trimmed().endsWith('\\');
            continue;
        }
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;

        if (line.startsWith('[')) {
            qsizetype pos = 1;
            const auto path = unescape(line, pos, ']');
            key = path ? &m_keys[foldKey(*path)] : nullptr;
            continue;
        }
        if (!key || !(line.startsWith('"') || line.startsWith('@')))
            continue;

        qsizetype pos = 1;
        QString name;
        if (line.startsWith('"')) {
            const auto quoted = unescape(line, pos, '"');
            if (!quoted)
                continue;
            name = *quoted;
        }
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= line.size() || line[pos] != '=')
            continue;
        QByteArrayView data = line.sliced(pos + 1).trimmed();

        Value value;
        // Binary values wrap onto indented lines that end in "\"; strings never wrap.
        if (!data.startsWith('"') && !data.startsWith("str("))
            continued = data.endsWith('\\');
        if (data.startsWith('"') || data.startsWith("str(2):\"")) {
            qsizetype at = data.indexOf('"') + 1;
            const auto text = unescape(data, at, '"');
            if (!text)
                continue;
            value.text = *text;
        } else if (data.startsWith("dword:")) {
            const auto v = parseDword(data.sliced(6));
            if (!v)
                continue;
            value.type = Value::Type::Dword;
            value.number = *v;
        } else if (data.startsWith("hex(4):")) {
            const auto v = parseHexDword(data.sliced(7));
            if (!v)
                continue;
            value.type = Value::Type::Dword;
            value.number = *v;
        } else {
            continue; // binary, multi-string and other types are not needed
        }
        key->insert(name.toCaseFolded(), value);
    }
}

QString LegacyRegistry::defaultPath()
{
    QString file = qEnvironmentVariable("TUNOVIA_REGISTRY_FILE");
    if (!file.isEmpty())
        return file;
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (!prefix.isEmpty())
        return prefix + QStringLiteral("/user.reg");
    return QDir::homePath() + QStringLiteral("/.wine/user.reg");
}

LegacyRegistry LegacyRegistry::fromFile(const QString &path)
{
    const regularfile::Read file = regularfile::read(path, kMaxFileSize);
    if (!file)
        return {};
    return LegacyRegistry(file.bytes);
}

bool LegacyRegistry::hasKey(const QString &keyPath) const { return m_keys.contains(foldKey(keyPath)); }

const LegacyRegistry::Value *LegacyRegistry::find(const QString &keyPath, const QString &name) const
{
    const auto key = m_keys.constFind(foldKey(keyPath));
    if (key == m_keys.cend())
        return nullptr;
    const auto value = key->constFind(name.toCaseFolded());
    return value == key->cend() ? nullptr : &*value;
}

std::optional<QString> LegacyRegistry::string(const QString &keyPath, const QString &name) const
{
    const Value *v = find(keyPath, name);
    if (!v || v->type != Value::Type::String)
        return std::nullopt;
    return v->text;
}

std::optional<int> LegacyRegistry::integer(const QString &keyPath, const QString &name) const
{
    const Value *v = find(keyPath, name);
    if (!v || v->type != Value::Type::Dword)
        return std::nullopt;
    return static_cast<int>(v->number);
}
