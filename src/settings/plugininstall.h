#pragma once
// Putting the lyrics plug-in into the outside player's plug-in folder.
#include "platform/result.h"

#include <QString>

namespace plugininstall {

inline constexpr char kFileName[] = "gen_tunly.so";

// The player's folder + "Plugins/gen_tunly.so"; empty when the player path is empty.
QString targetFor(const QString &playerPath);

// Copies `source` to `target`, creating the plug-in folder when missing and
// replacing a file already there. A failure names the step that failed; the
// caller says nothing then, and the offer comes again next time.
Result<> install(const QString &source, const QString &target);

} // namespace plugininstall
