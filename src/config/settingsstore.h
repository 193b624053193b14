#pragma once
// The settings file "Tunov.ini": every section and key, its type and default,
// and the load and store operations in their fixed order. Values live in plain
// structures that the forms show and edit; a read's default is the value the
// structure already holds, so a missing key leaves it unchanged (except where
// a key has a fixed default).
#include "platform/profile.h"
#include "platform/registry.h"
#include "tracks/trackrecord.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

// Three radio buttons whose states the file stores separately. -1: none on.
struct RadioGroup {
    int checked = 0;
    bool isOn(int i) const { return checked == i; }
};

struct DialogSettings {
    // "Setting"
    QString winamp, scmpx;
    QString textEditor = QStringLiteral("notepad.exe");
    QString lyricsEditor = QStringLiteral("notepad.exe");
    QString j2, m2h, explorerPath;
    RadioGroup player{0};    // WinampCheck, SCMPXCheck, MCICheck
    RadioGroup startMode{0}; // RunNormal, RunMinimize, RunHide
    RadioGroup quitPolicy{1}; // PlayerQuitYes, PlayerQuitNo, PlayerQuitAsk
    bool playTime = true;
    int drawInterval = 0; // 100 ms x (index + 1)
    int totalTime = 0;    // 0: "表示しない"
    bool showSelection = false;
    bool autoSelect = false;
    bool size2Time = true;
    bool size2TimeLoaded = true; // the state at the last load, to notice a change
    // "Skin"
    QString timeSkin, buttonSkin;
    // "Volume" presets
    int volA = 10, volB = 5, volC = 0;
    // "JoyPad": up, down, left, right, button 1-4
    bool useJoyPad = false;
    std::array<int, 8> joyBindings{0, 0, 1, 5, 2, 4, 6, 8};
    QString joyMin = QStringLiteral("10000");
    QString joyMax = QStringLiteral("50000");
    // "Lyrics" (dialog group)
    bool showLyrics = true;
    QString lyricsFontName = QStringLiteral("ＭＳ Ｐゴシック");
    int lyricsFontSize = 12;
    int lyricsFontColor = 0;
    bool lyricsBold = false, lyricsItalic = false;
    int lyricsBackColor = 0xCCFFCC;
    bool noLyricsHide = false;
    QString findFolder;
    // "Group"
    bool groupCurrent = true, groupLast = false, groupSelect = false;
    // "Column" Check1..Check13
    std::array<bool, kTrackFieldCount> columnShown = [] {
        std::array<bool, kTrackFieldCount> all{};
        all.fill(true);
        return all;
    }();
    // "ClassName" as edited in the dialog
    QString winampClass = QStringLiteral("Winamp v1.x");
    QString scmpxClass = QStringLiteral("SCMPX");

    bool usesWinamp() const { return player.isOn(0); }
    bool usesScmpx() const { return player.isOn(1); }
    bool usesBuiltin() const { return player.isOn(2); }
};

struct WindowBounds {
    int top = 0, left = 0, width = 0, height = 0;
    bool operator==(const WindowBounds &) const = default;
};

struct ListLook {
    QString fontName = QStringLiteral("ＭＳ Ｐゴシック");
    int fontSize = 9;
    int color = 0;            // 0x00BBGGRR, or a negative system colour code
    int backColor = -16777211; // system window colour (COLOR_WINDOW | 0x80000000)
    bool bold = false, italic = false;
};

template <size_t N> constexpr std::array<int, N> defaultWidths(const std::array<ColumnSpec, N> &columns)
{
    std::array<int, N> widths{};
    for (size_t i = 0; i < N; ++i)
        widths[i] = columns[i].defaultWidth;
    return widths;
}

inline constexpr std::array<int, kTrackFieldCount> kDefaultWidths13 = defaultWidths(kAlbumListColumns);
inline constexpr std::array<int, kFiveColumnCount> kDefaultWidths5 = defaultWidths(kFiveListColumns);
// The five-column list's columns as thirteen-column indices: Title, Artist, Comment, Size, Path.
inline constexpr std::array<int, kFiveColumnCount> kFiveColumnFields = [] {
    std::array<int, kFiveColumnCount> fields{};
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i] = int(kFiveListColumns[i].field);
    return fields;
}();

struct ColumnWidths {
    // Until widths are stored, the older list starts with its path column
    // closed; only "カラム幅初期化" opens it to its default width.
    std::array<int, kFiveColumnCount> five = [] {
        auto w = kDefaultWidths5;
        w[kFiveColumnCount - 1] = 0;
        return w;
    }();
    std::array<int, kTrackFieldCount> thirteen = kDefaultWidths13;
};

struct LyricsWindowSettings {
    WindowBounds bounds{442, 207, 399, 255};
};

struct ClassNames {
    QString winamp = QStringLiteral("Winamp v1.x");
    QString scmpx = QStringLiteral("SCMPX");
};

struct CopyOptions {
    RadioGroup mode{0}; // Auto, Manual
    bool move = false, mp3 = true, lyrics1 = true, lyrics2 = true;
};

// A failed write stops the operation that wrote; keys written before it stay.
using StoreResult = std::optional<ProfileError>;

class SettingsStore {
public:
    // `registry` may be null (no legacy import).
    SettingsStore(QString iniPath, const LegacyRegistry *registry, QString programFolder);

    ProfileFile &profile() { return m_profile; }
    const QString &programFolder() const { return m_programFolder; }
    QString defaultIndexPath() const { return m_programFolder + QStringLiteral("tunovia.ini"); }
    QString defaultTimeSkin() const { return m_programFolder + QStringLiteral("Skins/default/"); }
    QString defaultButtonSkin() const { return m_programFolder + QStringLiteral("Button_Skins/default/"); }

    // Load operations.
    void loadSettings(DialogSettings &s) const;
    void restoreWindowBounds(WindowBounds &b) const;
    void restoreFonts(ListLook &five, ListLook &thirteen) const;
    void restoreColumns(bool fiveCurrent, ColumnWidths &w) const;
    void restoreLyricsWindow(LyricsWindowSettings &window, DialogSettings &s) const;
    void restoreClassNames(ClassNames &names) const;
    int restoreMainVolume() const;
    void restoreCopyOptions(CopyOptions &c) const;

    // Store operations.
    // After a start without a settings file: every value the legacy registry
    // holds, in the order the stores below write them, so that the next start
    // finds it in the file (the import only runs while there is none).
    StoreResult saveLegacyImport();
    StoreResult saveColumnWidths(bool fiveCurrent, const ColumnWidths &w, const DialogSettings &s);
    StoreResult saveWindowBounds(const WindowBounds &b);
    StoreResult saveMainVolume(int position);
    StoreResult savePlayerChoice(const DialogSettings &s);
    StoreResult saveLastIndex(const QString &path);
    StoreResult saveCopyOptions(const CopyOptions &c);
    // Writes in the dialog's apply order; `afterSkin` runs once "Skin" is written.
    StoreResult storeAll(const DialogSettings &s, const std::function<void()> &afterSkin = {});
    StoreResult saveListFont(const ListLook &look);
    StoreResult saveListColor(int color);
    StoreResult saveListBackColor(int color);
    StoreResult saveLyricsWindowBounds(const WindowBounds &b);

    // Section "Group" as the start-up index choice reads it (fixed defaults).
    struct StartupGroup {
        bool last = false, select = false, current = false;
        QString lastGroup;
    };
    StartupGroup readStartupGroup() const;

    static QString cutFontName(const QString &name) { return name.left(31); }

private:
    bool importDue() const;
    void readRadio(const QString &section, const std::array<const char *, 3> &keys, RadioGroup &group) const;

    mutable ProfileFile m_profile;
    const LegacyRegistry *m_registry;
    QString m_programFolder;
    // The list font name taken from the registry; it stands in for the fixed
    // default for the rest of the run, as the file has no name yet.
    mutable std::optional<QString> m_importedFontName;
};
