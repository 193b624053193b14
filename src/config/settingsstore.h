#pragma once
// The settings file "Tunov.ini": every section and key, its type and default,
// and the load and store operations in their fixed order. Values live in plain
// structures that the forms show and edit; a read's default is the value the
// structure already holds, so a missing key leaves it unchanged (except where
// a key has a fixed default).
#include "platform/profile.h"
#include "platform/registry.h"
#include "tracks/trackrecord.h"

#include <QSet>
#include <QString>
#include <array>
#include <functional>
#include <optional>

// Every section and key name of the settings file, spelt only here. The
// legacy registry import takes the same names for its values.
namespace settingskeys {

inline const QString kSetting = QStringLiteral("Setting");
inline const QString kSkin = QStringLiteral("Skin");
inline const QString kVolume = QStringLiteral("Volume");
inline const QString kJoyPad = QStringLiteral("JoyPad");
inline const QString kLyrics = QStringLiteral("Lyrics");
inline const QString kGroup = QStringLiteral("Group");
inline const QString kColumn = QStringLiteral("Column");
inline const QString kFont = QStringLiteral("Font");
inline const QString kWindow = QStringLiteral("Window");
inline const QString kClassName = QStringLiteral("ClassName");
inline const QString kCopy = QStringLiteral("Copy");
inline const QString kFind = QStringLiteral("Find");
inline const QString kDataSelectWindow = QStringLiteral("DataSelectWindow");
inline const QString kPlugIn = QStringLiteral("Plug-In"); // the lyrics plug-in's own

namespace key {
inline const QString Auto = QStringLiteral("Auto");
inline const QString AutoSelect = QStringLiteral("AutoSelect");
inline const QString BackColor = QStringLiteral("BackColor");
inline const QString Bold = QStringLiteral("Bold");
inline const QString ButtonSkin = QStringLiteral("ButtonSkin");
inline const QString Color = QStringLiteral("Color");
inline const QString Current = QStringLiteral("Current");
inline const QString DrawInterval = QStringLiteral("DrawInterval");
inline const QString ExplorerPath = QStringLiteral("ExplorerPath");
inline const QString FindFolder = QStringLiteral("FindFolder");
inline const QString FolderHeight = QStringLiteral("FolderHeight");
inline const QString FontBold = QStringLiteral("FontBold");
inline const QString FontColor = QStringLiteral("FontColor");
inline const QString FontItalic = QStringLiteral("FontItalic");
inline const QString FontName = QStringLiteral("FontName");
inline const QString FontSize = QStringLiteral("FontSize");
inline const QString Height = QStringLiteral("Height");
inline const QString Interval = QStringLiteral("Interval");
inline const QString Italic = QStringLiteral("Italic");
inline const QString J2 = QStringLiteral("J2");
inline const QString Last = QStringLiteral("Last");
inline const QString LastGroup = QStringLiteral("LastGroup");
inline const QString Left = QStringLiteral("Left");
inline const QString Lyrics1 = QStringLiteral("Lyrics1");
inline const QString Lyrics2 = QStringLiteral("Lyrics2");
inline const QString LyricsEditor = QStringLiteral("LyricsEditor");
inline const QString MP3 = QStringLiteral("MP3");
inline const QString Manual = QStringLiteral("Manual");
inline const QString Max = QStringLiteral("Max");
inline const QString Min = QStringLiteral("Min");
inline const QString Move = QStringLiteral("Move");
inline const QString Name = QStringLiteral("Name");
inline const QString NoLyricsHide = QStringLiteral("NoLyricsHide");
inline const QString PlayTime = QStringLiteral("PlayTime");
inline const QString SCMPX = QStringLiteral("SCMPX");
inline const QString Select = QStringLiteral("Select");
inline const QString ShowLyrics = QStringLiteral("ShowLyrics");
inline const QString ShowSelection = QStringLiteral("ShowSelection");
inline const QString Size = QStringLiteral("Size");
inline const QString Size2Time = QStringLiteral("Size2Time");
inline const QString TextEditor = QStringLiteral("TextEditor");
inline const QString TimeSkin = QStringLiteral("TimeSkin");
inline const QString Top = QStringLiteral("Top");
inline const QString TotalTime = QStringLiteral("TotalTime");
inline const QString UseJoyPad = QStringLiteral("UseJoyPad");
inline const QString Volume = QStringLiteral("Volume");
inline const QString VolumeA = QStringLiteral("VolumeA");
inline const QString VolumeB = QStringLiteral("VolumeB");
inline const QString VolumeC = QStringLiteral("VolumeC");
inline const QString Width = QStringLiteral("Width");
inline const QString Winamp = QStringLiteral("Winamp");
inline const QString m2h = QStringLiteral("m2h");
} // namespace key

// Radio groups, one flag per button, in button order.
inline constexpr std::array<const char *, 3> kPlayerKeys{"WinampCheck", "SCMPXCheck", "MCICheck"};
inline constexpr std::array<const char *, 3> kStartKeys{"RunNormal", "RunMinimize", "RunHide"};
inline constexpr std::array<const char *, 3> kQuitKeys{"PlayerQuitYes", "PlayerQuitNo", "PlayerQuitAsk"};
// "JoyPad": up, down, left, right, button 1-4.
inline constexpr std::array<const char *, 8> kJoyKeys{"UpButton", "DownButton", "LeftButton", "RightButton",
                                                      "Button1",  "Button2",    "Button3",    "Button4"};
// "Column": widths under the field names, shown columns under Check1..Check13.
inline constexpr const std::array<const char *, kTrackFieldCount> &kColumnNames = kTrackFieldNames;
inline QString checkKey(int n) { return QStringLiteral("Check%1").arg(n); }
// "Find": the search history, History0 (oldest) to History9.
inline QString historyKey(int i) { return QStringLiteral("History%1").arg(i); }

} // namespace settingskeys

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
    RadioGroup player{0};     // WinampCheck, SCMPXCheck, MCICheck
    RadioGroup startMode{0};  // RunNormal, RunMinimize, RunHide
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
    int color = 0;             // 0x00BBGGRR, or a negative system colour code
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

    // Store operations. A failed write stops the operation that wrote; keys
    // written before it stay.
    // After a start without a settings file: every value the legacy registry
    // holds, in the order the stores below write them, so that the next start
    // finds it in the file (the import only runs while there is none).
    [[nodiscard]] ProfileWrite storeLegacyImport();
    [[nodiscard]] ProfileWrite storeColumnWidths(bool fiveCurrent, const ColumnWidths &w, const DialogSettings &s);
    [[nodiscard]] ProfileWrite storeWindowBounds(const WindowBounds &b);
    [[nodiscard]] ProfileWrite storeMainVolume(int position);
    [[nodiscard]] ProfileWrite storePlayerChoice(const DialogSettings &s);
    [[nodiscard]] ProfileWrite storeLastIndex(const QString &path);
    [[nodiscard]] ProfileWrite storeCopyOptions(const CopyOptions &c);
    // Writes in the dialog's apply order; `afterSkin` runs once "Skin" is written.
    [[nodiscard]] ProfileWrite storeAll(const DialogSettings &s, const std::function<void()> &afterSkin = {});
    [[nodiscard]] ProfileWrite storeListFont(const ListLook &look);
    [[nodiscard]] ProfileWrite storeListColor(int color);
    [[nodiscard]] ProfileWrite storeListBackColor(int color);
    [[nodiscard]] ProfileWrite storeLyricsWindowBounds(const WindowBounds &b);

    // The text of the box that reports a failed write.
    QString failureText(const ProfileWrite &write) const;
    // failureText() the first time a failure with that text happens in this
    // run; nothing for a write that worked or a failure told before. An
    // unwritable settings folder fails every write alike, and one box says it.
    std::optional<QString> failureToReport(const ProfileWrite &write);

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
    QSet<QString> m_reportedFailures; // texts failureToReport() has given
};
