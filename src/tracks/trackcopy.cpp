#include "tracks/trackcopy.h"

#include "platform/paths.h"
#include "platform/u8.h"

#include <QDir>
#include <QFileInfo>

void TrackCopy::setTracks(std::vector<TrackRecord> tracks, QString indexFilePath, QString findFolder)
{
    m_tracks = std::move(tracks);
    m_indexFilePath = std::move(indexFilePath);
    m_findFolder = std::move(findFolder);
    m_run.reset();
}

void TrackCopy::start(filecopy::Kinds kinds, bool move)
{
    m_run.emplace(kinds, move);
    m_move = move;
}

filecopy::TrackFiles TrackCopy::filesOf(int i) const
{
    return filecopy::filesOf(m_tracks[size_t(i)], m_indexFilePath, m_findFolder);
}

QString TrackCopy::startFolder() const
{
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir())
        return m_lastFolder;
    return QFileInfo(filesOf(0).mp3).absolutePath();
}

std::optional<QString> TrackCopy::run(const std::vector<int> &order, bool oneTargetEach, const AskTarget &askTarget,
                                      const AskFolder &askFolder)
{
    if (oneTargetEach) {
        for (int i : order) {
            const filecopy::TrackFiles files = filesOf(i);
            const QString target = askTarget(m_tracks[size_t(i)][TrackField::Title] + U(" のコピー"),
                                             QDir(startFolder()).filePath(paths::namePart(files.mp3)));
            if (target.isEmpty())
                continue;
            m_lastFolder = QFileInfo(target).absolutePath();
            m_run->toTarget(files, target);
        }
        return std::nullopt;
    }
    const std::optional<QString> folder = askFolder(startFolder());
    if (!folder)
        return std::nullopt;
    m_lastFolder = *folder;
    for (int i : order)
        m_run->intoFolder(filesOf(i), *folder);
    return QString::number(m_run->count()) +
           (m_move ? U(" 個のファイルを移動しました。") : U(" 個のファイルをコピーしました。"));
}
