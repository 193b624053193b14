#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace paths {

QString settingsDir()
{
    QString own = qEnvironmentVariable("TUNOVIA_CONFIG_DIR");
    if (!own.isEmpty())
        return own;
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return xdg + QStringLiteral("/tunovia");
    return QDir::homePath() + QStringLiteral("/.config/tunovia");
}

QString programDir()
{
    const QString own = qEnvironmentVariable("TUNOVIA_PROGRAM_DIR");
    if (!own.isEmpty())
        return own.endsWith(QLatin1Char('/')) && own.size() > 1 ? own.chopped(1) : own;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString programFolder()
{
    const QString dir = programDir();
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

bool isAbsolute(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')) || path.startsWith(QLatin1Char('\\')))
        return true;
    return path.size() >= 2 && path.at(1) == QLatin1Char(':');
}

QString fromWindows(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString folderPart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString namePart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString resolveAgainst(const QString &baseFolder, const QString &path)
{
    return isAbsolute(path) ? path : baseFolder + path;
}

QString resolveDotted(const QString &baseFolder, const QString &path)
{
    if (isAbsolute(path))
        return path;
    QString base = baseFolder;
    QString rest = path;
    bool stepped = false;
    for (;;) {
        if (rest.startsWith(QLatin1String("./"))) {
            rest.remove(0, 2);
            stepped = true;
        } else if (rest.startsWith(QLatin1String("../"))) {
            rest.remove(0, 3);
            stepped = true;
            // Drop the last folder of base; the root stays the root.
            QString trimmed = base.endsWith(QLatin1Char('/')) ? base.chopped(1) : base;
            const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
            if (slash >= 0)
                base = trimmed.left(slash + 1);
        } else {
            break;
        }
    }
    Q_UNUSED(stepped);
    return base + rest;
}

QString lyricsNameFor(const QString &path)
{
    if (path.size() < 3)
        return QStringLiteral("txt");
    return path.chopped(3) + QStringLiteral("txt");
}

QString withTrailingSlash(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

} // namespace paths
