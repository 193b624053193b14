#pragma once
// The stand-in player and its plug-in, as built beside the tests.
#include "platform/windowbus.h"
#include "playback/playermessages.h"

#include <QString>

// A file of the build, e.g. "tunovia-player" or "gen_tunly.so".
inline QString builtFile(const char *name)
{
    return qEnvironmentVariable("TUNOVIA_BIN_DIR") + u'/' + QLatin1String(name);
}

// A player that a failed step left running under `className` must not
// outlive the run.
inline void closeLeftoverPlayer(const QString &className)
{
    const WindowHandle left = WindowBus::findWindow(className);
    if (!left.isNull())
        WindowBus::send(left, WM_COMMAND, winamp::Close, 0);
}
