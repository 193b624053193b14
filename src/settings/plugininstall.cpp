#include "settings/plugininstall.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace plugininstall {

QString targetFor(const QString &playerPath)
{
    if (playerPath.isEmpty())
        return {};
    return paths::folderPart(paths::fromWindows(playerPath)) + QStringLiteral("Plugins/") + QLatin1String(kFileName);
}

Result<> install(const QString &source, const QString &target)
{
    // The messages are the file or folder at fault, or the system's words.
    if (source.isEmpty() || target.isEmpty() || !QFileInfo(source).isFile())
        return Result<>::failure(source);
    const QString folder = paths::folderPart(target);
    if (!folder.isEmpty() && !QDir().mkpath(folder))
        return Result<>::failure(folder);
    if (QFile old(target); old.exists() && !old.remove())
        return Result<>::failure(old.errorString());
    if (QFile from(source); !from.copy(target))
        return Result<>::failure(from.errorString());
    return {};
}

} // namespace plugininstall
