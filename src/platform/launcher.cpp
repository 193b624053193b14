#include "platform/launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {

// "notepad.exe" in any case, bare or with a Windows or Linux folder, unless a
// program of that name really is there.
bool isWindowsNotepad(const QString &editor)
{
    const qsizetype cut = std::max(editor.lastIndexOf(QLatin1Char('/')), editor.lastIndexOf(QLatin1Char('\\')));
    if (editor.sliced(cut + 1).compare(QLatin1String("notepad.exe"), Qt::CaseInsensitive) != 0)
        return false;
    if (!editor.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(editor).isEmpty();
    const QFileInfo program(editor);
    return !(program.isFile() && program.isExecutable());
}

} // namespace

bool Launcher::startEditor(const QString &editor, const QString &file)
{
    if (isWindowsNotepad(editor))
        return openDocument(file);
    return startDetached(editor, {file}, Normal);
}

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
