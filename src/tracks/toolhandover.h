#pragma once
// The outside tools: J2 and m2h get the selected tracks as a playlist,
// "~Tunov~.m3u" beside the tool in the system's encoding, and are started on
// it; the file manager opens at its start folder.
#include "platform/launcher.h"
#include "platform/result.h"

#include <QString>
#include <QStringList>

class ToolHandover {
public:
    explicit ToolHandover(Launcher &launcher) : m_launcher(launcher) {}

    // Writes the playlist of `files` and starts `tool` on it. Fails with the
    // message to show when nothing could be handed over: `emptyPathMessage`
    // without a tool, or the playlist that could not be written. A tool that
    // does not start takes its playlist with it, silently.
    [[nodiscard]] Result<> handOver(const QString &tool, const QString &emptyPathMessage,
                                    const QStringList &files) const;
    static QString playlistFor(const QString &tool);

    // With no start folder set the file manager still opens, at the home folder.
    void openExplorer(const QString &folder) const;

private:
    Launcher &m_launcher;
};
