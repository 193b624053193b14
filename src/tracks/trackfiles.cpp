#include "tracks/trackfiles.h"

#include "library/albumfile.h"
#include "library/textlines.h"
#include "platform/paths.h"
#include "platform/regularfile.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace trackfiles {

namespace {

// "*" and "?" on already case-folded text; backtracks to the last "*".
bool globMatch(QStringView mask, QStringView name)
{
    qsizetype m = 0, n = 0, starM = -1, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == QLatin1Char('?') || (mask[m] != QLatin1Char('*') && mask[m] == name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starM = m++;
            starN = n;
        } else if (starM >= 0) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

bool isExistingFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

void scanFolder(const QString &folder, const QString &mask, const GenreTable &genres, QSet<QString> &visited,
                std::vector<TrackRecord> &rows)
{
    const QString real = QFileInfo(folder.isEmpty() ? QStringLiteral(".") : folder).canonicalFilePath();
    if (real.isEmpty() || visited.contains(real))
        return;
    visited.insert(real);

    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const QFileInfo &e) { return !wildcardMatch(mask, e.fileName()); }),
                  entries.end());
    // Name order without regard to case, as a Windows file system lists a folder.
    std::vector<std::pair<QString, const QFileInfo *>> named;
    named.reserve(entries.size());
    for (const QFileInfo &e : entries)
        named.emplace_back(e.fileName(), &e);
    std::sort(named.begin(), named.end(), [](const auto &a, const auto &b) {
        const int c = a.first.compare(b.first, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.first < b.first;
    });
    for (const auto &[name, info] : named) {
        const QFileInfo &entry = *info;
        const QString path = joinPath(folder, name);
        if (entry.isDir())
            scanFolder(path, mask, genres, visited, rows);
        else if (qualifiesAsTrack(path) && entry.isFile()) {
            if (const Result<id3v1::FileTag> file = id3v1::readRegularFile(path))
                rows.push_back(makeRecord(path, file.value(), genres));
        }
    }
}

} // namespace

bool qualifiesAsTrack(const QString &path)
{
    return path.size() >= 3 && path.endsWith(QLatin1String("mp3"), Qt::CaseInsensitive);
}

qint64 estimatedSeconds(qint64 bytes) { return bytes <= 0 ? 0 : (bytes + 8000) / 16000; }

TrackRecord makeRecord(const QString &path, const id3v1::FileTag &file, const GenreTable &genres)
{
    TrackRecord row;
    row[TrackField::Title] = file.tag.title;
    row[TrackField::Artist] = file.tag.artist;
    row[TrackField::Album] = file.tag.album;
    row[TrackField::Comment] = file.tag.comment;
    row[TrackField::Size] = QString::number(file.size);
    row[TrackField::Time] = album::playTimeText(estimatedSeconds(file.size));
    row[TrackField::Genre] = genres.name(file.tag.genre);
    row[TrackField::Date] = file.tag.year;
    row[TrackField::Path] = path;
    return row;
}

std::optional<TrackRecord> AddTrackFile(const QString &path, const GenreTable &genres)
{
    if (!qualifiesAsTrack(path))
        return std::nullopt;
    // A file that vanished or cannot be read is left out rather than shown with made-up values.
    const Result<id3v1::FileTag> file = id3v1::readFile(path);
    if (!file)
        return std::nullopt;
    return makeRecord(path, file.value(), genres);
}

QStringList playlistLines(const QByteArray &content)
{
    const QString all = text::decode(content);
    QStringList lines;
    textlines::forEachLine(all, [&](QStringView line) {
        if (!line.isEmpty())
            lines.append(paths::fromWindows(line.toString()));
    });
    return lines;
}

QString resolvePlaylistEntry(const QString &line, const QString &playlistFolder)
{
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return {};
    if (paths::isAbsolute(line))
        return isExistingFile(line) ? line : QString();
    const QString beside = playlistFolder + line;
    if (!playlistFolder.isEmpty() && isExistingFile(beside)) {
        const QString clean = QDir::cleanPath(beside);
        return isExistingFile(clean) ? clean : beside;
    }
    if (isExistingFile(line))
        return QFileInfo(line).absoluteFilePath();
    return {};
}

std::vector<TrackRecord> AddPlaylistFile(const QString &path, const GenreTable &genres)
{
    std::vector<TrackRecord> rows;
    const regularfile::Read file = regularfile::read(path);
    if (!file)
        return rows;
    const QString folder = paths::folderPart(QFileInfo(path).absoluteFilePath());
    const QStringList lines = playlistLines(file.bytes);
    for (const QString &line : lines) {
        const QString track = resolvePlaylistEntry(line, folder);
        if (track.isEmpty())
            continue;
        if (std::optional<TrackRecord> row = AddTrackFile(track, genres))
            rows.push_back(std::move(*row));
    }
    return rows;
}

bool wildcardMatch(const QString &mask, const QString &name)
{
    const QString m = mask.toCaseFolded();
    const QString n = name.toCaseFolded();
    if (globMatch(m, n))
        return true;
    if (m.endsWith(QLatin1String(".*")))
        return globMatch(QStringView(m).chopped(2), n);
    if (m.size() > 1 && m.endsWith(QLatin1Char('.')) && !n.contains(QLatin1Char('.')))
        return globMatch(QStringView(m).chopped(1), n);
    return false;
}

std::vector<TrackRecord> AddFolder(const QString &pattern, const GenreTable &genres)
{
    // "\" is an ordinary name character here; only "/" separates.
    const QString &p = pattern;
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : (slash == 0 ? QStringLiteral("/") : p.left(slash));
    const QString mask = slash < 0 ? p : p.mid(slash + 1);
    std::vector<TrackRecord> rows;
    QSet<QString> visited;
    scanFolder(folder, mask, genres, visited, rows);
    return rows;
}

} // namespace trackfiles
