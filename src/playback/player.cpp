#include "playback/player.h"

#include "playback/builtinplayback.h"
#include "playback/windowplayers.h"

std::unique_ptr<Player> makePlayer(PlayerKind kind, PlayerContext &context)
{
    switch (kind) {
    case PlayerKind::Winamp:
        return std::make_unique<WinampPlayer>(context);
    case PlayerKind::Scmpx:
        return std::make_unique<ScmpxPlayer>(context);
    case PlayerKind::Builtin:
        Q_ASSERT(context.builtin);
        return std::make_unique<BuiltinPlayback>(context, *context.builtin);
    }
    return nullptr;
}
