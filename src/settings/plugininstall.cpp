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

bool install(const QString &source, const QString &target)
{
    if (source.isEmpty() || target.isEmpty() || !QFileInfo(source).isFile())
        return false;
    const QString folder = paths::folderPart(target);
    if (!folder.isEmpty() && !QDir().mkpath(folder))
        return false;
    if (QFileInfo::exists(target) && !QFile::remove(target))
        return false;
    return QFile::copy(source, target);
}

} // namespace plugininstall
