#pragma once
// The main window on private settings, for tests that drive it: a temporary
// folder, scripted prompts, a launcher (by default one that starts nothing),
// and the settings store and window that makeWindow builds on them. A test
// class derives from it next to QObject and uses the members as its own.
#include "app/ui/mainform.h"
#include "config/settingsstore.h"
#include "support/fakelauncher.h"
#include "support/scriptedprompts.h"
#include "support/testfiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>

template <typename L> class BasicMainWindowFixture {
public:
    // Where the settings file and the program folder lie in the temporary folder.
    explicit BasicMainWindowFixture(const QString &iniName = QStringLiteral("config/Tunov.ini"),
                                    const QString &programName = QStringLiteral("prog/"))
        : m_iniName(iniName), m_programName(programName)
    {
    }

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    L m_launcher;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<TTunoviaF> m_window;

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString ini() const { return path(m_iniName); }
    QString programFolder() const { return m_dir.path() + QLatin1Char('/') + m_programName; }

    // Drops the window from before (it holds the old store), then builds both anew.
    TTunoviaF &makeWindow()
    {
        m_window.reset();
        m_settings = std::make_unique<SettingsStore>(ini(), nullptr, programFolder());
        m_window = std::make_unique<TTunoviaF>(MainServices{m_prompts, m_launcher, *m_settings});
        return *m_window;
    }

    // The same on a settings file that holds exactly `settings`.
    TTunoviaF &makeWindow(const QByteArray &settings)
    {
        writeFile(ini(), settings);
        return makeWindow();
    }

    // For what the program looks up in its own folder (help, the default index
    // file, the plug-in to install): the one above, not the build's.
    void useProgramFolder() const
    {
        QDir().mkpath(programFolder());
        qputenv("TUNOVIA_PROGRAM_DIR", programFolder().toUtf8());
    }

    // The window's single-instance lock goes to the temporary folder, where
    // no other Tunovia of this user can meet it.
    void usePrivateRuntime() const { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path())); }

    // Forgets what the test before asked and started.
    void clearDoubles()
    {
        m_prompts.clear();
        m_launcher.clear();
        m_launcher.succeed = true;
    }

private:
    QString m_iniName;
    QString m_programName;
};

using MainWindowFixture = BasicMainWindowFixture<FakeLauncher>;
