#include "app/settingsstore.h"

#include <QFileInfo>

namespace {

const QString kSetting = QStringLiteral("Setting");
const QString kSkin = QStringLiteral("Skin");
const QString kVolume = QStringLiteral("Volume");
const QString kJoyPad = QStringLiteral("JoyPad");
const QString kLyrics = QStringLiteral("Lyrics");
const QString kGroup = QStringLiteral("Group");
const QString kColumn = QStringLiteral("Column");
const QString kFont = QStringLiteral("Font");
const QString kWindow = QStringLiteral("Window");
const QString kClassName = QStringLiteral("ClassName");
const QString kCopy = QStringLiteral("Copy");

const QString kRegSetting = QStringLiteral("Software\\Ravlen\\Tunovia\\Setting");
const QString kRegVolume = QStringLiteral("Software\\Ravlen\\Tunovia\\Volume");
const QString kRegFont = QStringLiteral("Software\\Ravlen\\Tunoia\\Font"); // spelt this way by the old versions
const QString kRegColumn = QStringLiteral("Software\\Ravlen\\Tunovia\\Column");
const QString kRegWindow = QStringLiteral("Software\\Ravlen\\Tunovia\\Window");
const QString kRegClassName = QStringLiteral("Software\\Ravlen\\Tunovia\\ClassName");

const std::array<const char *, 3> kPlayerKeys{"WinampCheck", "SCMPXCheck", "MCICheck"};
const std::array<const char *, 3> kStartKeys{"RunNormal", "RunMinimize", "RunHide"};
const std::array<const char *, 3> kQuitKeys{"PlayerQuitYes", "PlayerQuitNo", "PlayerQuitAsk"};
const std::array<const char *, 8> kJoyKeys{"UpButton", "DownButton", "LeftButton", "RightButton",
                                           "Button1", "Button2", "Button3", "Button4"};
const std::array<int, 8> kJoyDefaults{0, 0, 1, 5, 2, 4, 6, 8};
// Column restore visits the shared five first, then the rest.
const std::array<int, 13> kRestoreOrder{0, 1, 3, 4, 12, 2, 5, 6, 7, 8, 9, 10, 11};
const std::array<const char *, 13> kColumnNames{"Title", "Artist", "Album", "Comment", "Size", "Time", "Genre",
                                                "Date", "Copyright", "Engineer", "Source", "Soft", "Path"};

QString L(const char *s) { return QString::fromLatin1(s); }
QString checkKey(int n) { return QStringLiteral("Check%1").arg(n); }

// Sets one radio button as a form would: turning one on turns the others off,
// turning it off leaves the group with none on.
void setRadio(RadioGroup &g, int i, bool on)
{
    if (on)
        g.checked = i;
    else if (g.checked == i)
        g.checked = -1;
}

// Writes keys one at a time and stops at the first failure.
class Writer {
public:
    explicit Writer(ProfileFile &p) : m_profile(p) {}
    void str(const QString &section, const QString &key, const QString &value)
    {
        if (!m_error)
            m_error = m_profile.writeString(section, key, value);
    }
    void num(const QString &section, const QString &key, int value)
    {
        if (!m_error)
            m_error = m_profile.writeInt(section, key, value);
    }
    void flag(const QString &section, const QString &key, bool on) { num(section, key, on ? 1 : 0); }
    StoreResult result() const { return m_error; }

private:
    ProfileFile &m_profile;
    StoreResult m_error;
};

} // namespace

SettingsStore::SettingsStore(QString iniPath, const LegacyRegistry *registry, QString programFolder)
    : m_profile(std::move(iniPath)), m_registry(registry), m_programFolder(std::move(programFolder))
{
}

bool SettingsStore::importDue() const { return m_registry && !m_profile.exists(); }

void SettingsStore::readRadio(const QString &section, const std::array<const char *, 3> &keys, RadioGroup &g) const
{
    for (int i = 0; i < 3; ++i)
        setRadio(g, i, m_profile.readFlag(section, L(keys[i]), g.isOn(i)));
}

void SettingsStore::loadSettings(DialogSettings &s) const
{
    if (importDue()) {
        if (m_registry->hasKey(kRegSetting)) {
            auto str = [&](const char *name, QString &target) {
                if (auto v = m_registry->string(kRegSetting, L(name)))
                    target = *v;
            };
            auto radio = [&](const char *name, RadioGroup &g, int i) {
                if (auto v = m_registry->integer(kRegSetting, L(name)))
                    setRadio(g, i, *v != 0);
            };
            auto flag = [&](const char *name, bool &target) {
                if (auto v = m_registry->integer(kRegSetting, L(name)))
                    target = *v != 0;
            };
            str("Winamp", s.winamp);
            str("SCMPX", s.scmpx);
            str("J2", s.j2);
            radio("WinampCheck", s.player, 0);
            radio("SCMPXCheck", s.player, 1);
            radio("RunNormal", s.startMode, 0);
            radio("RunMinimize", s.startMode, 1);
            radio("RunHide", s.startMode, 2);
            radio("PlayerQuitYes", s.quitPolicy, 0);
            radio("PlayerQuitNo", s.quitPolicy, 1);
            radio("PlayerQuitAsk", s.quitPolicy, 2);
            flag("PlayTime", s.playTime);
            if (auto v = m_registry->integer(kRegSetting, QStringLiteral("DrawInterval")))
                s.drawInterval = *v;
            flag("ShowSelection", s.showSelection);
            flag("AutoSelect", s.autoSelect);
            flag("Size2Time", s.size2Time);
        }
        if (m_registry->hasKey(kRegVolume)) {
            if (auto v = m_registry->integer(kRegVolume, QStringLiteral("VolumeA"))) s.volA = *v;
            if (auto v = m_registry->integer(kRegVolume, QStringLiteral("VolumeB"))) s.volB = *v;
            if (auto v = m_registry->integer(kRegVolume, QStringLiteral("VolumeC"))) s.volC = *v;
        }
    }

    const ProfileFile &p = m_profile;
    s.winamp = p.readString(kSetting, QStringLiteral("Winamp"), s.winamp);
    s.scmpx = p.readString(kSetting, QStringLiteral("SCMPX"), s.scmpx);
    s.textEditor = p.readString(kSetting, QStringLiteral("TextEditor"), s.textEditor);
    s.lyricsEditor = p.readString(kSetting, QStringLiteral("LyricsEditor"), s.lyricsEditor);
    s.j2 = p.readString(kSetting, QStringLiteral("J2"), s.j2);
    s.m2h = p.readString(kSetting, QStringLiteral("m2h"), s.m2h);
    s.explorerPath = p.readString(kSetting, QStringLiteral("ExplorerPath"), s.explorerPath);
    readRadio(kSetting, kPlayerKeys, s.player);
    readRadio(kSetting, kStartKeys, s.startMode);
    readRadio(kSetting, kQuitKeys, s.quitPolicy);
    s.playTime = p.readFlag(kSetting, QStringLiteral("PlayTime"), s.playTime);
    s.drawInterval = p.readInt(kSetting, QStringLiteral("DrawInterval"), 0);
    s.totalTime = p.readInt(kSetting, QStringLiteral("TotalTime"), 0);
    s.showSelection = p.readFlag(kSetting, QStringLiteral("ShowSelection"), s.showSelection);
    s.autoSelect = p.readFlag(kSetting, QStringLiteral("AutoSelect"), s.autoSelect);
    s.size2Time = p.readFlag(kSetting, QStringLiteral("Size2Time"), s.size2Time);
    s.size2TimeLoaded = s.size2Time;

    s.timeSkin = p.readString(kSkin, QStringLiteral("TimeSkin"), defaultTimeSkin());
    s.buttonSkin = p.readString(kSkin, QStringLiteral("ButtonSkin"), defaultButtonSkin());

    s.volA = p.readInt(kVolume, QStringLiteral("VolumeA"), s.volA);
    s.volB = p.readInt(kVolume, QStringLiteral("VolumeB"), s.volB);
    s.volC = p.readInt(kVolume, QStringLiteral("VolumeC"), s.volC);

    s.useJoyPad = p.readFlag(kJoyPad, QStringLiteral("UseJoyPad"), s.useJoyPad);
    for (int i = 0; i < 8; ++i)
        s.joyBindings[i] = p.readInt(kJoyPad, L(kJoyKeys[i]), kJoyDefaults[i]);
    s.joyMin = p.readString(kJoyPad, QStringLiteral("Min"), s.joyMin);
    s.joyMax = p.readString(kJoyPad, QStringLiteral("Max"), s.joyMax);

    s.showLyrics = p.readFlag(kLyrics, QStringLiteral("ShowLyrics"), s.showLyrics);
    s.lyricsFontName = cutFontName(p.readString(kLyrics, QStringLiteral("FontName"), s.lyricsFontName));
    s.lyricsFontSize = p.readInt(kLyrics, QStringLiteral("FontSize"), s.lyricsFontSize);
    s.lyricsFontColor = p.readInt(kLyrics, QStringLiteral("FontColor"), s.lyricsFontColor);
    s.lyricsBold = p.readFlag(kLyrics, QStringLiteral("Bold"), false);
    s.lyricsItalic = p.readFlag(kLyrics, QStringLiteral("Italic"), false);
    s.lyricsBackColor = p.readInt(kLyrics, QStringLiteral("BackColor"), s.lyricsBackColor);
    s.noLyricsHide = p.readFlag(kLyrics, QStringLiteral("NoLyricsHide"), s.noLyricsHide);
    s.findFolder = p.readString(kLyrics, QStringLiteral("FindFolder"), s.findFolder);

    s.groupCurrent = p.readFlag(kGroup, QStringLiteral("Current"), s.groupCurrent);
    s.groupLast = p.readFlag(kGroup, QStringLiteral("Last"), s.groupLast);
    s.groupSelect = p.readFlag(kGroup, QStringLiteral("Select"), s.groupSelect);

    for (int n = 1; n <= 13; ++n)
        s.columnShown[n - 1] = p.readFlag(kColumn, checkKey(n), true);
}

void SettingsStore::restoreWindowBounds(WindowBounds &b) const
{
    if (importDue() && m_registry->hasKey(kRegWindow)) {
        if (auto v = m_registry->integer(kRegWindow, QStringLiteral("Top"))) b.top = *v;
        if (auto v = m_registry->integer(kRegWindow, QStringLiteral("Left"))) b.left = *v;
        if (auto v = m_registry->integer(kRegWindow, QStringLiteral("Width"))) b.width = *v;
        if (auto v = m_registry->integer(kRegWindow, QStringLiteral("Height"))) b.height = *v;
    }
    b.top = m_profile.readInt(kWindow, QStringLiteral("Top"), b.top);
    b.left = m_profile.readInt(kWindow, QStringLiteral("Left"), b.left);
    b.width = m_profile.readInt(kWindow, QStringLiteral("Width"), b.width);
    b.height = m_profile.readInt(kWindow, QStringLiteral("Height"), b.height);
}

void SettingsStore::restoreFonts(ListLook &five, ListLook &thirteen) const
{
    // An imported font name must survive the fixed default of the read below,
    // or the import would be pointless.
    std::optional<QString> importedName;
    if (importDue() && m_registry->hasKey(kRegFont)) {
        for (ListLook *look : {&five, &thirteen}) {
            if (auto v = m_registry->string(kRegFont, QStringLiteral("Name"))) {
                look->fontName = cutFontName(*v);
                importedName = look->fontName;
            }
            if (auto v = m_registry->integer(kRegFont, QStringLiteral("Color"))) look->color = *v;
            if (auto v = m_registry->integer(kRegFont, QStringLiteral("Size"))) look->fontSize = *v;
            if (auto v = m_registry->integer(kRegFont, QStringLiteral("BackColor"))) look->backColor = *v;
        }
    }
    const QString fixedName = importedName.value_or(QStringLiteral("ＭＳ Ｐゴシック"));
    for (ListLook *look : {&five, &thirteen}) {
        look->fontName = cutFontName(m_profile.readString(kFont, QStringLiteral("Name"), fixedName));
        look->color = m_profile.readInt(kFont, QStringLiteral("Color"), look->color);
        look->fontSize = m_profile.readInt(kFont, QStringLiteral("Size"), look->fontSize);
        look->backColor = m_profile.readInt(kFont, QStringLiteral("BackColor"), look->backColor);
        look->bold = m_profile.readFlag(kFont, QStringLiteral("Bold"), false);
        look->italic = m_profile.readFlag(kFont, QStringLiteral("Italic"), false);
    }
}

void SettingsStore::restoreColumns(bool fiveCurrent, ColumnWidths &w) const
{
    if (importDue() && m_registry->hasKey(kRegColumn)) {
        if (fiveCurrent) {
            for (int i = 0; i < 5; ++i)
                if (auto v = m_registry->integer(kRegColumn, L(kColumnNames[kFiveColumnFields[i]])))
                    w.five[i] = *v;
        } else {
            for (int i = 0; i < 13; ++i)
                if (auto v = m_registry->integer(kRegColumn, L(kColumnNames[i])))
                    w.thirteen[i] = *v;
        }
    }
    if (fiveCurrent) {
        for (int i = 0; i < 5; ++i)
            w.five[i] = m_profile.readInt(kColumn, L(kColumnNames[kFiveColumnFields[i]]), w.five[i]);
        return;
    }
    for (int col : kRestoreOrder) {
        if (m_profile.readFlag(kColumn, checkKey(col + 1), true))
            w.thirteen[col] = m_profile.readInt(kColumn, L(kColumnNames[col]), w.thirteen[col]);
    }
    for (int col = 0; col < 13; ++col) {
        if (w.thirteen[col] == 0)
            w.thirteen[col] = kDefaultWidths13[col];
    }
    for (int n = 1; n <= 13; ++n) {
        if (!m_profile.readFlag(kColumn, checkKey(n), true))
            w.thirteen[n - 1] = 0;
    }
}

void SettingsStore::restoreLyricsWindow(LyricsWindowSettings &window, DialogSettings &s) const
{
    const ProfileFile &p = m_profile;
    window.bounds.top = p.readInt(kLyrics, QStringLiteral("Top"), window.bounds.top);
    window.bounds.left = p.readInt(kLyrics, QStringLiteral("Left"), window.bounds.left);
    window.bounds.width = p.readInt(kLyrics, QStringLiteral("Width"), window.bounds.width);
    window.bounds.height = p.readInt(kLyrics, QStringLiteral("Height"), window.bounds.height);
    s.lyricsFontName = cutFontName(p.readString(kLyrics, QStringLiteral("FontName"), s.lyricsFontName));
    s.lyricsFontSize = p.readInt(kLyrics, QStringLiteral("FontSize"), s.lyricsFontSize);
    s.lyricsFontColor = p.readInt(kLyrics, QStringLiteral("FontColor"), s.lyricsFontColor);
    s.lyricsBackColor = p.readInt(kLyrics, QStringLiteral("BackColor"), s.lyricsBackColor);
    s.lyricsBold = p.readFlag(kLyrics, QStringLiteral("Bold"), false);
    s.lyricsItalic = p.readFlag(kLyrics, QStringLiteral("Italic"), false);
    s.noLyricsHide = p.readFlag(kLyrics, QStringLiteral("NoLyricsHide"), s.noLyricsHide);
    s.findFolder = p.readString(kLyrics, QStringLiteral("FindFolder"), s.findFolder);
}

void SettingsStore::restoreClassNames(ClassNames &names) const
{
    if (importDue() && m_registry->hasKey(kRegClassName)) {
        if (auto v = m_registry->string(kRegClassName, QStringLiteral("Winamp"))) names.winamp = *v;
        if (auto v = m_registry->string(kRegClassName, QStringLiteral("SCMPX"))) names.scmpx = *v;
    }
    names.winamp = m_profile.readString(kClassName, QStringLiteral("Winamp"), names.winamp);
    names.scmpx = m_profile.readString(kClassName, QStringLiteral("SCMPX"), names.scmpx);
}

int SettingsStore::restoreMainVolume() const { return m_profile.readInt(kVolume, QStringLiteral("Volume"), 10); }

void SettingsStore::restoreCopyOptions(CopyOptions &c) const
{
    setRadio(c.mode, 0, m_profile.readFlag(kCopy, QStringLiteral("Auto"), true));
    setRadio(c.mode, 1, m_profile.readFlag(kCopy, QStringLiteral("Manual"), false));
    c.move = m_profile.readFlag(kCopy, QStringLiteral("Move"), false);
    c.mp3 = m_profile.readFlag(kCopy, QStringLiteral("MP3"), true);
    c.lyrics1 = m_profile.readFlag(kCopy, QStringLiteral("Lyrics1"), true);
    c.lyrics2 = m_profile.readFlag(kCopy, QStringLiteral("Lyrics2"), true);
}

SettingsStore::StartupGroup SettingsStore::readStartupGroup() const
{
    StartupGroup g;
    g.last = m_profile.readFlag(kGroup, QStringLiteral("Last"), false);
    g.lastGroup = m_profile.readString(kGroup, QStringLiteral("LastGroup"), defaultIndexPath());
    g.select = m_profile.readFlag(kGroup, QStringLiteral("Select"), false);
    g.current = m_profile.readFlag(kGroup, QStringLiteral("Current"), false);
    return g;
}

StoreResult SettingsStore::saveColumnWidths(bool fiveCurrent, const ColumnWidths &w, const DialogSettings &s)
{
    Writer out(m_profile);
    if (fiveCurrent) {
        for (int i = 0; i < 5; ++i)
            out.num(kColumn, L(kColumnNames[kFiveColumnFields[i]]), w.five[i]);
        return out.result();
    }
    for (int col = 0; col < 13; ++col) {
        if (s.columnShown[col])
            out.num(kColumn, L(kColumnNames[col]), w.thirteen[col]);
    }
    return out.result();
}

StoreResult SettingsStore::saveWindowBounds(const WindowBounds &b)
{
    Writer out(m_profile);
    out.num(kWindow, QStringLiteral("Top"), b.top);
    out.num(kWindow, QStringLiteral("Left"), b.left);
    out.num(kWindow, QStringLiteral("Width"), b.width);
    out.num(kWindow, QStringLiteral("Height"), b.height);
    return out.result();
}

StoreResult SettingsStore::saveMainVolume(int position)
{
    Writer out(m_profile);
    out.num(kVolume, QStringLiteral("Volume"), position);
    return out.result();
}

StoreResult SettingsStore::savePlayerChoice(const DialogSettings &s)
{
    Writer out(m_profile);
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kPlayerKeys[i]), s.player.isOn(i));
    return out.result();
}

StoreResult SettingsStore::saveLastIndex(const QString &path)
{
    Writer out(m_profile);
    out.str(kGroup, QStringLiteral("LastGroup"), path);
    return out.result();
}

StoreResult SettingsStore::saveCopyOptions(const CopyOptions &c)
{
    Writer out(m_profile);
    out.flag(kCopy, QStringLiteral("Auto"), c.mode.isOn(0));
    out.flag(kCopy, QStringLiteral("Manual"), c.mode.isOn(1));
    out.flag(kCopy, QStringLiteral("Move"), c.move);
    out.flag(kCopy, QStringLiteral("MP3"), c.mp3);
    out.flag(kCopy, QStringLiteral("Lyrics1"), c.lyrics1);
    out.flag(kCopy, QStringLiteral("Lyrics2"), c.lyrics2);
    return out.result();
}

StoreResult SettingsStore::storeAll(const DialogSettings &s, const std::function<void()> &afterSkin)
{
    Writer out(m_profile);
    out.str(kSetting, QStringLiteral("Winamp"), s.winamp);
    out.str(kSetting, QStringLiteral("SCMPX"), s.scmpx);
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kPlayerKeys[i]), s.player.isOn(i));
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kStartKeys[i]), s.startMode.isOn(i));
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kQuitKeys[i]), s.quitPolicy.isOn(i));
    out.flag(kSetting, QStringLiteral("Size2Time"), s.size2Time);
    out.flag(kSetting, QStringLiteral("PlayTime"), s.playTime);
    out.num(kSetting, QStringLiteral("DrawInterval"), s.drawInterval);
    out.str(kSetting, QStringLiteral("TextEditor"), s.textEditor);
    out.str(kSetting, QStringLiteral("LyricsEditor"), s.lyricsEditor);
    out.str(kSetting, QStringLiteral("J2"), s.j2);
    out.str(kSetting, QStringLiteral("m2h"), s.m2h);
    out.str(kSetting, QStringLiteral("ExplorerPath"), s.explorerPath);
    out.num(kSetting, QStringLiteral("TotalTime"), s.totalTime);
    out.flag(kSetting, QStringLiteral("ShowSelection"), s.showSelection);
    out.flag(kSetting, QStringLiteral("AutoSelect"), s.autoSelect);
    out.str(kSkin, QStringLiteral("TimeSkin"), s.timeSkin);
    out.str(kSkin, QStringLiteral("ButtonSkin"), s.buttonSkin);
    // The dialog's restart note comes between the skins and the volumes, and
    // only when everything before it was written.
    if (afterSkin && !out.result())
        afterSkin();
    out.num(kVolume, QStringLiteral("VolumeA"), s.volA);
    out.num(kVolume, QStringLiteral("VolumeB"), s.volB);
    out.num(kVolume, QStringLiteral("VolumeC"), s.volC);
    out.flag(kJoyPad, QStringLiteral("UseJoyPad"), s.useJoyPad);
    for (int i = 0; i < 8; ++i)
        out.num(kJoyPad, L(kJoyKeys[i]), s.joyBindings[i]);
    out.str(kJoyPad, QStringLiteral("Min"), s.joyMin);
    out.str(kJoyPad, QStringLiteral("Max"), s.joyMax);
    out.flag(kLyrics, QStringLiteral("ShowLyrics"), s.showLyrics);
    out.str(kLyrics, QStringLiteral("FontName"), s.lyricsFontName);
    out.num(kLyrics, QStringLiteral("FontSize"), s.lyricsFontSize);
    out.num(kLyrics, QStringLiteral("FontColor"), s.lyricsFontColor);
    out.num(kLyrics, QStringLiteral("BackColor"), s.lyricsBackColor);
    out.flag(kLyrics, QStringLiteral("Bold"), s.lyricsBold);
    out.flag(kLyrics, QStringLiteral("Italic"), s.lyricsItalic);
    out.flag(kLyrics, QStringLiteral("NoLyricsHide"), s.noLyricsHide);
    out.str(kLyrics, QStringLiteral("FindFolder"), s.findFolder);
    out.flag(kGroup, QStringLiteral("Current"), s.groupCurrent);
    out.flag(kGroup, QStringLiteral("Last"), s.groupLast);
    out.flag(kGroup, QStringLiteral("Select"), s.groupSelect);
    out.str(kClassName, QStringLiteral("Winamp"), s.winampClass);
    out.str(kClassName, QStringLiteral("SCMPX"), s.scmpxClass);
    for (int n = 1; n <= 13; ++n)
        out.flag(kColumn, checkKey(n), s.columnShown[n - 1]);
    return out.result();
}

StoreResult SettingsStore::saveListFont(const ListLook &look)
{
    Writer out(m_profile);
    out.str(kFont, QStringLiteral("Name"), look.fontName);
    out.num(kFont, QStringLiteral("Size"), look.fontSize);
    out.flag(kFont, QStringLiteral("Bold"), look.bold);
    out.flag(kFont, QStringLiteral("Italic"), look.italic);
    return out.result();
}

StoreResult SettingsStore::saveListColor(int color)
{
    Writer out(m_profile);
    out.num(kFont, QStringLiteral("Color"), color);
    return out.result();
}

StoreResult SettingsStore::saveListBackColor(int color)
{
    Writer out(m_profile);
    out.num(kFont, QStringLiteral("BackColor"), color);
    return out.result();
}

StoreResult SettingsStore::saveLyricsWindowBounds(const WindowBounds &b)
{
    Writer out(m_profile);
    out.num(kLyrics, QStringLiteral("Top"), b.top);
    out.num(kLyrics, QStringLiteral("Left"), b.left);
    out.num(kLyrics, QStringLiteral("Width"), b.width);
    out.num(kLyrics, QStringLiteral("Height"), b.height);
    return out.result();
}
