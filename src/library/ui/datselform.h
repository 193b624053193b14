#pragma once
// The album selection dialog: the folder tree of the current index file, the
// albums of the chosen folder, and the commands that edit the index file.
// Every change to the index file is written at once (through a temporary
// file and a rename) and followed by a full re-read.
#include "library/indexfile.h"

#include "platform/profile.h"
#include <QDialog>
#include <QList>
#include <QPoint>

#include <functional>
#include <optional>
#include <utility>

class Prompts;
class SettingsStore;
class QAction;
class QCheckBox;
class QListWidget;
class QMenu;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

class TDataSelectF final : public QDialog {
    Q_OBJECT
public:
    // Starts the text editor on the index file without waiting for it; false
    // when it did not start.
    using Launch = std::function<bool(const QString &editor, const QString &file)>;

    // The dialog keeps its place, size and look in `settings` and tells a
    // failed write of them once (see SettingsStore::failureToReport).
    TDataSelectF(Prompts &prompts, SettingsStore &settings, Launch launch, QWidget *parent = nullptr);
    ~TDataSelectF() override;
    Q_DISABLE_COPY_MOVE(TDataSelectF)

    // Reads the index file into the tree and the folder slots; false when it
    // cannot be read (the tree then holds only the root).
    bool loadIndexFile(const QString &path);
    // The index file in use; "new index file" switches it, and the caller
    // makes it the current index file after the dialog closes.
    const QString &indexFilePath() const { return m_indexPath; }
    const indexfile::Tree &tree() const { return m_tree; }

    // Selected albums of the list, in list order (paths as written in the file).
    std::vector<indexfile::Entry> selectedAlbums() const;
    bool keepTrackList() const;

    // Handlers (public so that the main window and tests reach them directly).
    void FolderTreeChange(QTreeWidgetItem *item);
    void AlbumListClick();
    void OkBtnClick();
    void CancelBtnClick();
    void LoadMnuClick();
    void AllSelectMnuClick();
    void InvertSelectMnuClick();
    void SubFolderMnuClick();
    void SortMnuClick();
    void EditMnuClick();
    void ReloadMnuClick();
    void NewIndexMnuClick();
    void NewFolderMnuClick();
    void FontMnuClick();
    void FontColorMnuClick();
    void BackColorMnuClick();
    // Adds one entry per file, asking for each name; stops at a cancelled prompt.
    void dropFiles(const QStringList &files);

    QTreeWidget *folderTree() const { return m_folderTree; }
    QListWidget *albumList() const { return m_list; }
    QPushButton *okButton() const { return m_ok; }
    QSplitter *splitter() const { return m_splitter; }
    QMenu *contextMenu() const { return m_menu; }
    int selectedFolder() const; // -1 when no folder is chosen

    void done(int result) override;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setUp();
    void buildMenu();
    void reportWrite(const ProfileWrite &written);
    void restoreLook();
    void showEntries(const std::vector<indexfile::Entry> &entries);
    void applyColors(const QColor &text, const QColor &back);
    // Inserts lines into the selected folder of the index file; false (after
    // telling the user) when the file could not be written.
    bool insertIntoIndex(const QStringList &lines);
    // A folder as the names from the root down, each with the number of
    // same-named folders before it, so that a re-read finds it again.
    using FolderKey = QList<std::pair<QString, int>>;
    FolderKey folderKey(QTreeWidgetItem *item) const;
    QTreeWidgetItem *folderItem(const FolderKey &key) const; // null when gone

    Prompts &m_prompts;
    SettingsStore &m_store;
    ProfileFile &m_profile; // m_store's file
    Launch m_launch;
    QString m_indexPath;
    indexfile::Tree m_tree;
    QStringList m_albumPaths; // parallel to the list's rows

    QTreeWidget *m_folderTree = nullptr;
    QListWidget *m_list = nullptr;
    QSplitter *m_splitter = nullptr;
    QCheckBox *m_keep = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QMenu *m_menu = nullptr;
    QColor m_textColor;
    QColor m_backColor;
    // The stored corner of the frame; placed once the window (and its frame) exists.
    std::optional<QPoint> m_storedPos;
    bool m_placePending = false;
    // The stored boundary of the tree pane, placed at the first showing.
    std::optional<int> m_storedFolderHeight;
};
