#pragma once
// Starting other programs and asking the desktop to open files and folders.
// Callers hold a Launcher& so tests can put a recording fake in its place.
#include <QString>
#include <QStringList>

class Launcher {
public:
    // Show-window values handed to started programs.
    enum ShowWindow { Hide = 0, Normal = 5, Minimize = 6 };

    virtual ~Launcher() = default;

    // Starts `program` with `arguments` as they are, without a shell; the
    // show-window value travels in the environment as TUNOVIA_SHOW_WINDOW.
    // A bare program name is looked up in PATH. False when it did not start.
    virtual bool startDetached(const QString &program, const QStringList &arguments, int showWindow) = 0;
    // Opens a file with the desktop's default application for it.
    virtual bool openDocument(const QString &path) = 0;
    // Shows a folder in the desktop's file manager.
    virtual bool openFolder(const QString &folder) = 0;

    // Starts the editor `editor` (a setting as stored) on `file`. The Windows
    // default "notepad.exe" names no program here and stands for the
    // desktop's own application for the file. False when nothing started.
    bool startEditor(const QString &editor, const QString &file);
};

class SystemLauncher final : public Launcher {
public:
    bool startDetached(const QString &program, const QStringList &arguments, int showWindow) override;
    bool openDocument(const QString &path) override;
    bool openFolder(const QString &folder) override;
};
