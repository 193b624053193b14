#include "tracks/filecopy.h"

#include "platform/paths.h"
#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace filecopy {

TrackFiles filesOf(const TrackRecord &track, const QString &indexFilePath, const QString &findFolder)
{
    TrackFiles files;
    files.mp3 = paths::resolveAgainst(paths::folderPart(indexFilePath), track[TrackField::Path]);
    files.lyricsBeside = paths::lyricsNameFor(files.mp3);
    // Without a search folder the name alone would point into the working directory.
    if (!findFolder.isEmpty())
        files.lyricsInFindFolder = paths::withTrailingSlash(findFolder) + paths::namePart(files.lyricsBeside);
    return files;
}

Result<> transferFile(const QString &from, const QString &to, bool move)
{
    const QFileInfo source(from);
    if (from.isEmpty() || to.isEmpty() || !source.isFile())
        return Result<>::failure(from);
    const QFileInfo target(to);
    if (target.exists() && (target.isDir() || target.canonicalFilePath() == source.canonicalFilePath()))
        return Result<>::failure(to);

    QFile in;
    const regularfile::Outcome opened = regularfile::open(in, from);
    if (!opened)
        return Result<>::failure(opened.reason);
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return Result<>::failure(out.errorString());
    constexpr qint64 kChunk = qint64(1) << 20;
    qint64 copied = 0;
    // One byte past the length it had when opened is enough to tell that it
    // grew; a file that never stops growing is not copied for ever.
    while (copied <= opened.size) {
        const QByteArray chunk = in.read(qMin(kChunk, opened.size + 1 - copied));
        if (chunk.isEmpty())
            break;
        if (out.write(chunk) != chunk.size()) {
            const QString reason = out.errorString();
            out.cancelWriting();
            return Result<>::failure(reason);
        }
        copied += chunk.size();
    }
    if (in.error() != QFileDevice::NoError || copied != opened.size || copied != source.size()) {
        out.cancelWriting();
        return Result<>::failure(in.error() != QFileDevice::NoError ? in.errorString() : from);
    }
    if (!out.commit())
        return Result<>::failure(out.errorString());
    if (QFileInfo(to).size() != source.size())
        return Result<>::failure(to);
    {
        // Keep the track's date, as a copy in the file manager does.
        QFile stamped(to);
        if (stamped.open(QIODevice::Append))
            stamped.setFileTime(source.lastModified(), QFileDevice::FileModificationTime);
    }
    if (move)
        QFile::remove(from);
    return {};
}

void CopyRun::one(const QString &from, const QString &to)
{
    if (from.isEmpty())
        return;
    const QString key = QFileInfo(to).absoluteFilePath();
    if (m_move && m_written.contains(key))
        return;
    if (transferFile(from, to, m_move).ok()) {
        ++m_count;
        m_written.insert(key);
    }
}

void CopyRun::intoFolder(const TrackFiles &files, const QString &folder)
{
    const QString base = paths::withTrailingSlash(folder);
    auto into = [&](const QString &from) { return base + paths::namePart(from); };
    if (m_kinds.mp3)
        one(files.mp3, into(files.mp3));
    if (m_kinds.lyricsBeside)
        one(files.lyricsBeside, into(files.lyricsBeside));
    if (m_kinds.lyricsInFindFolder)
        one(files.lyricsInFindFolder, into(files.lyricsInFindFolder));
}

void CopyRun::toTarget(const TrackFiles &files, const QString &target)
{
    const QString lyricsTarget = paths::lyricsNameFor(target);
    if (m_kinds.mp3)
        one(files.mp3, target);
    if (m_kinds.lyricsBeside)
        one(files.lyricsBeside, lyricsTarget);
    if (m_kinds.lyricsInFindFolder)
        one(files.lyricsInFindFolder, lyricsTarget);
}

namespace {
std::vector<int> identity(std::size_t n)
{
    std::vector<int> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = int(i);
    return order;
}
} // namespace

std::vector<int> moveSelectedUp(std::vector<bool> &selected)
{
    std::vector<int> order = identity(selected.size());
    for (std::size_t i = 1; i < selected.size(); ++i) {
        if (selected[i] && !selected[i - 1]) {
            std::swap(order[i - 1], order[i]);
            std::vector<bool>::swap(selected[i - 1], selected[i]);
        }
    }
    return order;
}

std::vector<int> moveSelectedDown(std::vector<bool> &selected)
{
    std::vector<int> order = identity(selected.size());
    for (std::size_t i = selected.size(); i-- > 1;) {
        if (selected[i - 1] && !selected[i]) {
            std::swap(order[i - 1], order[i]);
            std::vector<bool>::swap(selected[i - 1], selected[i]);
        }
    }
    return order;
}

} // namespace filecopy
