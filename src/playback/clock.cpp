#include "playback/clock.h"

#include "platform/regularfile.h"
#include "platform/textcodec.h"

#include <QFile>
#include <QFileInfo>

namespace playback {

QString timeText(qint64 ms)
{
    ms = qMax<qint64>(0, ms);
    return QString::asprintf("%02lld:%02lld:%02lld", ms / 60000, (ms / 1000) % 60, (ms % 1000) / 10);
}

QString digitsText(qint64 positionMs)
{
    const qint64 s = qMax<qint64>(0, positionMs) / 1000;
    return QString::asprintf(" %02lld%02lld", s / 60, s % 60);
}

QString hintText(qint64 lengthSeconds)
{
    const qint64 s = qMax<qint64>(0, lengthSeconds);
    return QString::asprintf(" %02lld:%02lld", s / 60, s % 60);
}

std::array<int, 4> digitValues(const QString &digits)
{
    std::array<int, 4> out{};
    for (int k = 1; k <= 4; ++k) {
        const QChar c = k < digits.size() ? digits.at(k) : QChar(u' ');
        out[k - 1] = (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
    }
    return out;
}

TimeDisplay::Update TimeDisplay::update(qint64 positionMs, qint64 lengthSeconds)
{
    Update u;
    if (positionMs == -1 || lengthSeconds == -1) {
        u.hint = QString(kBlankHint);
        if (!m_blankShown) {
            u.redraw = true; // digits stay 0, 0, 0, 0
            m_blankShown = true;
            // The next real time must be drawn even if it equals the last one.
            m_lastDigits.clear();
        }
        return u;
    }
    m_blankShown = false;
    u.hint = hintText(lengthSeconds);
    const QString digits = digitsText(positionMs);
    if (digits != m_lastDigits) {
        u.redraw = true;
        u.digits = digitValues(digits);
        m_lastDigits = digits;
    }
    return u;
}

QString dosStamp(const QDateTime &modified)
{
    QDateTime t = modified.toLocalTime();
    const QDateTime first(QDate(1980, 1, 1), QTime(0, 0));
    const QDateTime last(QDate(2107, 12, 31), QTime(23, 59, 58));
    if (!t.isValid() || t < first)
        t = first;
    else if (t > last)
        t = last;
    const QDate d = t.date();
    const QTime h = t.time();
    return QString::asprintf("%02d%02d%02d%02d%02d%02d", d.year() - 1980, d.month(), d.day(), h.hour(), h.minute(),
                             h.second() / 2);
}

QString namePart(const QString &path)
{
    const qsizetype cut = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

int rowForName(const QStringList &trackPaths, const QString &name)
{
    for (qsizetype i = 0; i < trackPaths.size(); ++i) {
        if (namePart(trackPaths.at(i)).compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return int(trackPaths.size());
}

bool isScmpxIdle(const QString &title) { return title.isEmpty() || title == QLatin1String("SCMPX"); }

QString scmpxFileName(const QString &title)
{
    const qsizetype space = title.indexOf(u' ');
    const qsizetype end = title.size() - 8; // exclusive: drops " - SCMPX"
    if (space < 0 || end <= space + 1)
        return {};
    return title.mid(space + 1, end - space - 1);
}

qint64 ScmpxInterpolator::next(qint64 reportedMs)
{
    if (m_counter > 1000)
        m_counter = 0;
    else
        m_counter += 100;
    if (reportedMs != m_last) {
        m_last = reportedMs;
        m_counter = 0;
    }
    return reportedMs + m_counter;
}

QString DataFileWatcher::pathFor(const QString &winampExe)
{
    const QString exe = QString(winampExe).replace(u'\\', u'/');
    const qsizetype cut = exe.lastIndexOf(u'/');
    return exe.left(cut + 1) + QStringLiteral("Tunov.dat");
}

std::optional<QString> DataFileWatcher::parseContent(const QByteArray &bytes)
{
    QByteArray line = bytes;
    const qsizetype lf = line.indexOf('\n');
    if (lf >= 0)
        line.truncate(lf);
    // Only a line end is removed: a file written without one keeps its last
    // character.
    if (line.endsWith('\r'))
        line.chop(1);
    const QString path = text::decode(line);
    if (path.isEmpty() || path == QLatin1String("(null)"))
        return std::nullopt;
    return path;
}

DataFileWatcher::Result DataFileWatcher::poll(QString &marker)
{
    const QFileInfo info(m_path);
    if (m_path.isEmpty() || !info.isFile() || !info.isReadable())
        return Result::Unreadable;
    m_stamp = dosStamp(info.lastModified());
    // Two writes within one DOS two-second step (a quick "next, next") would
    // share a stamp; the exact time and the size tell them apart.
    const QString key = m_stamp + u'.' + QString::number(info.lastModified().toMSecsSinceEpoch() % 2000) + u'.' +
                        QString::number(info.size());
    if (key.compare(marker, Qt::CaseInsensitive) == 0)
        return Result::Unchanged;
    marker = key;
    QFile file;
    if (!regularfile::open(file, m_path))
        return Result::Unreadable;
    const auto name = parseContent(file.read(64 * 1024));
    if (!name)
        return Result::NoFile;
    m_playingFile = *name;
    return Result::Changed;
}

} // namespace playback
