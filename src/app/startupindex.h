#pragma once
// Which index file Tunovia opens at start: the default one beside the program,
// the last one used, or one the user picks.
#include "config/settingsstore.h"

#include <functional>

struct StartupIndexPrompts {
    // Shows "前回終了時のグループが見つかりません。" (titled "Tunovia - Error").
    std::function<void()> lastMissing;
    // The index file open dialog; empty when cancelled.
    std::function<QString()> chooseIndexFile;
};

QString chooseStartupIndex(const SettingsStore &settings, const StartupIndexPrompts &prompts);
