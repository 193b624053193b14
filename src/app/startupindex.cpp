#include "app/startupindex.h"

#include <QFileInfo>

QString chooseStartupIndex(const SettingsStore &settings, const StartupIndexPrompts &prompts)
{
    const QString defaultPath = settings.defaultIndexPath();
    const SettingsStore::StartupGroup group = settings.readStartupGroup();
    QString path = defaultPath;
    if (group.last) {
        path = group.lastGroup;
        if (!QFileInfo::exists(path)) {
            prompts.lastMissing();
            const QString chosen = prompts.chooseIndexFile();
            path = chosen.isEmpty() ? defaultPath : chosen;
        }
    }
    if (group.select) {
        const QString chosen = prompts.chooseIndexFile();
        if (!chosen.isEmpty())
            path = chosen;
    }
    if (group.current)
        path = defaultPath;
    return path;
}
