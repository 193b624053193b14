#include "app/ui/albumchoice.h"

#include "library/ui/datselform.h"
#include "platform/launcher.h"

Lifecycle::AlbumChoice chooseAlbums(QWidget *parent, Prompts &prompts, SettingsStore &settings, Launcher &launcher,
                                    const QString &indexPath)
{
    auto launch = [&launcher](const QString &editor, const QString &file) {
        return launcher.startEditor(editor, file);
    };
    TDataSelectF dialog(prompts, settings, launch, parent);
    dialog.loadIndexFile(indexPath);
    Lifecycle::AlbumChoice choice;
    choice.accepted = dialog.exec() == QDialog::Accepted;
    choice.indexPath = dialog.indexFilePath();
    if (choice.accepted) {
        choice.albums = dialog.selectedAlbums();
        choice.keepTracks = dialog.keepTrackList();
    }
    return choice;
}
