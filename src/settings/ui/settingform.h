#pragma once
// The settings dialog: created once at start, shown modally whenever the user
// asks for it, and kept hidden in between. It edits the main window's dialog
// settings and writes them to the settings file on "適用" and "OK".
#include "config/settingsstore.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class DisplayPage;
class JoypadPage;
class ListPage;
class LyricsPage;
class OtherPage;
class PathsPage;
class PlayerPage;
class Prompts;
class QPushButton;
class QTabWidget;
class SettingBrowser;
class TFolderDialog;

// What the dialog needs from the main window.
struct SettingHooks {
    // Widths of the current list's thirteen columns; nothing while the
    // five-column list of a legacy track list is current.
    std::function<std::optional<std::array<int, kTrackFieldCount>>()> columnWidths;
    // "カラム幅初期化": both lists back to their default widths.
    std::function<void()> resetColumnWidths;
    // Re-applies the column layout from the settings file.
    std::function<void()> restoreColumns;
    // The players' window class names as the main window holds them.
    std::function<ClassNames()> classNames;
    // True while a legacy track list is loaded.
    std::function<bool()> legacyListShown;
};

class TSettingF final : public QDialog {
    Q_OBJECT
public:
    TSettingF(DialogSettings &settings, SettingsStore &store, Prompts &prompts, SettingHooks hooks,
              QWidget *parent = nullptr);
    ~TSettingF() override;
    Q_DISABLE_COPY_MOVE(TSettingF)

    // Handlers.
    void OkBtnClick();
    // False when the settings file could not be written (the user was told).
    bool ApplyBtnClick();
    void ClmDefBtnClick();
    // Quit options follow "隠す"; the path fields, the interval and the lyrics
    // buttons follow the player, play-time and lyrics ticks.
    void applyStartMethodRule();
    void applyDependencyRule();

    PlayerPage *playerPage() const { return m_player; }
    DisplayPage *displayPage() const { return m_display; }
    ListPage *listPage() const { return m_list; }
    LyricsPage *lyricsPage() const { return m_lyrics; }
    JoypadPage *joypadPage() const { return m_joypad; }
    PathsPage *pathsPage() const { return m_paths; }
    OtherPage *otherPage() const { return m_other; }
    QTabWidget *pageControl() const { return m_pages; }
    TFolderDialog *folderDialog() const { return m_FolderDialog1; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Fills the pages from the settings and applies the rules, as every showing does.
    void loadPages();
    void greyed(QWidget *edit, bool grey);

    DialogSettings &m_settings;
    SettingsStore &m_store;
    Prompts &m_prompts;
    SettingHooks m_hooks;
    TFolderDialog *m_FolderDialog1;
    std::unique_ptr<SettingBrowser> m_browser;

    QTabWidget *m_pages;
    PlayerPage *m_player;
    DisplayPage *m_display;
    ListPage *m_list;
    LyricsPage *m_lyrics;
    JoypadPage *m_joypad;
    PathsPage *m_paths;
    OtherPage *m_other;
    QPushButton *m_OkBtn, *m_CancelBtn, *m_ApplyBtn;
    bool m_loading = false; // the pages are being filled from the settings
};
