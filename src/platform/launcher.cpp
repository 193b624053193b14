#include "platform/launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>

bool SystemLauncher::startDetached(const QString &program, const QStringList &arguments, int showWindow)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUNOVIA_SHOW_WINDOW"), QString::number(showWindow));
    process.setProcessEnvironment(env);
    // Detached children must not keep our stdio open (a pipe reader would
    // wait for them); they get /dev/null.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

bool SystemLauncher::openDocument(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool SystemLauncher::openFolder(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}
