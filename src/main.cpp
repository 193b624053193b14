#include "app/ui/mainform.h"
#include "app/ui/tunoviaapp.h"
#include "config/settingsstore.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/ui/prompts.h"

#include <QMessageBox>
#include <exception>

int main(int argc, char **argv)
{
    TunoviaApplication app(argc, argv);
    QtPrompts prompts;
    app.setPrompts(&prompts);
    try {
        SystemLauncher launcher;
        LegacyRegistry registry = LegacyRegistry::fromDefaultFile();
        SettingsStore settings(paths::settingsDir() + QStringLiteral("/Tunov.ini"), &registry, paths::programFolder());
        TTunoviaF mainWindow(MainServices{prompts, launcher, settings});
        mainWindow.FormCreate(app.arguments().mid(1));
        mainWindow.createSettingsDialog();
        mainWindow.createLyricsWindow();
        mainWindow.show();
        return app.exec();
    } catch (const std::exception &e) {
        prompts.exception(nullptr, QString::fromUtf8(e.what()));
        return 1;
    }
}
