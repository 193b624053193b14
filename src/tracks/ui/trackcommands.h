#pragma once
// The track commands of the main window that open a dialog or a tool on the
// current list's selection: album file, tag editing, find, total time, copy
// and the outside tools.
#include "config/settingsstore.h"

#include <functional>
#include <memory>

class Launcher;
class Prompts;
class QWidget;
class TFolderDialog;
class TrackCopy;
class TrackLists;

class TrackCommands {
public:
    struct Context {
        QWidget *parent;
        Prompts &prompts;
        Launcher &launcher;
        SettingsStore &settings;
        TrackLists &lists;
        DialogSettings &dialog;
        const QString &indexPath;    // the current index file; relative track paths start there
        TFolderDialog *folderDialog; // asks for the copy target folder
        std::function<void(const ProfileWrite &)> reportStoreError;
    };
    explicit TrackCommands(Context context);
    ~TrackCommands();

    // Writes an album file of the album list's rows (asks: selected only?).
    void makeAlbumFile();
    void editTags();
    // Selects the rows the find dialog matches; false when it was cancelled.
    bool find();
    void showTotalTime();
    void copy();
    // Hands the selection to the tool whose path `toolPath` names.
    void handOverToTool(QString DialogSettings::*toolPath, const QString &emptyPathMessage);
    void openExplorer();

private:
    Context m;
    std::unique_ptr<TrackCopy> m_copy; // remembers the last copy folder
};
