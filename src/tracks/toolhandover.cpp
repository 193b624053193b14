#include "tracks/toolhandover.h"

#include "platform/paths.h"
#include "platform/textcodec.h"
#include "platform/u8.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

Result<> ToolHandover::handOver(const QString &tool, const QString &emptyPathMessage, const QStringList &files) const
{
    if (tool.isEmpty())
        return Result<>::failure(emptyPathMessage);
    QString lines;
    for (const QString &file : files)
        lines += file + QStringLiteral("\r\n");
    const QString playlist = playlistFor(tool);
    QFile file(playlist);
    const QByteArray bytes = text::encodeForSystem(lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        // The tool would only find a missing or cut-short list.
        file.close();
        file.remove();
        return Result<>::failure(U("プレイリスト %1 を作成できませんでした。").arg(playlist));
    }
    file.close();
    if (!m_launcher.startDetached(tool, {playlist}, Launcher::Normal))
        QFile::remove(playlist);
    return {};
}

QString ToolHandover::playlistFor(const QString &tool)
{
    return QFileInfo(paths::folderPart(paths::fromWindows(tool)) + QStringLiteral("~Tunov~.m3u")).absoluteFilePath();
}

void ToolHandover::openExplorer(const QString &folder) const
{
    m_launcher.openFolder(folder.isEmpty() ? QDir::homePath() : folder);
}
