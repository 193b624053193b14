#include "config/settingsstore.h"

#include "platform/paths.h"

#include <QFileInfo>

using namespace settingskeys;

namespace {

const QString kRegSetting = QStringLiteral("Software\\Ravlen\\Tunovia\\Setting");
const QString kRegVolume = QStringLiteral("Software\\Ravlen\\Tunovia\\Volume");
const QString kRegFont = QStringLiteral("Software\\Ravlen\\Tunoia\\Font"); // spelt this way by the old versions
const QString kRegColumn = QStringLiteral("Software\\Ravlen\\Tunovia\\Column");
const QString kRegWindow = QStringLiteral("Software\\Ravlen\\Tunovia\\Window");
const QString kRegClassName = QStringLiteral("Software\\Ravlen\\Tunovia\\ClassName");

const std::array<int, 8> kJoyDefaults{0, 0, 1, 5, 2, 4, 6, 8};
// Column restore visits the shared five first, then the rest.
const std::array<int, kTrackFieldCount> kRestoreOrder{0, 1, 3, 4, 12, 2, 5, 6, 7, 8, 9, 10, 11};

QString L(const char *s) { return QString::fromLatin1(s); }

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
        if (m_result.ok())
            m_result = m_profile.writeString(section, key, value);
    }
    void num(const QString &section, const QString &key, int value)
    {
        if (m_result.ok())
            m_result = m_profile.writeInt(section, key, value);
    }
    void flag(const QString &section, const QString &key, bool on) { num(section, key, on ? 1 : 0); }
    bool ok() const { return m_result.ok(); }
    ProfileWrite result() const { return m_result; }

private:
    ProfileFile &m_profile;
    ProfileWrite m_result;
};

// Folder settings are prefixes that names are appended to; a hand-typed
// folder without its final "/" would find nothing.
QString readFolder(const ProfileFile &p, const QString &section, const QString &key, const QString &def)
{
    return paths::withTrailingSlash(p.readString(section, key, def));
}

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
    // The interval's read has a fixed default; an imported one stands in for it.
    std::optional<int> importedInterval;
    if (importDue()) {
        if (m_registry->hasKey(kRegSetting)) {
            auto str = [&](const QString &name, QString &target) {
                if (auto v = m_registry->string(kRegSetting, name))
                    target = *v;
            };
            auto radio = [&](const std::array<const char *, 3> &keys, RadioGroup &g, int i) {
                if (auto v = m_registry->integer(kRegSetting, L(keys[i])))
                    setRadio(g, i, *v != 0);
            };
            auto flag = [&](const QString &name, bool &target) {
                if (auto v = m_registry->integer(kRegSetting, name))
                    target = *v != 0;
            };
            str(key::Winamp, s.winamp);
            str(key::SCMPX, s.scmpx);
            str(key::J2, s.j2);
            radio(kPlayerKeys, s.player, 0);
            radio(kPlayerKeys, s.player, 1);
            for (int i = 0; i < 3; ++i)
                radio(kStartKeys, s.startMode, i);
            for (int i = 0; i < 3; ++i)
                radio(kQuitKeys, s.quitPolicy, i);
            flag(key::PlayTime, s.playTime);
            importedInterval = m_registry->integer(kRegSetting, key::DrawInterval);
            flag(key::ShowSelection, s.showSelection);
            flag(key::AutoSelect, s.autoSelect);
            flag(key::Size2Time, s.size2Time);
        }
        if (m_registry->hasKey(kRegVolume)) {
            if (auto v = m_registry->integer(kRegVolume, key::VolumeA))
                s.volA = *v;
            if (auto v = m_registry->integer(kRegVolume, key::VolumeB))
                s.volB = *v;
            if (auto v = m_registry->integer(kRegVolume, key::VolumeC))
                s.volC = *v;
        }
    }

    const ProfileFile &p = m_profile;
    s.winamp = p.readString(kSetting, key::Winamp, s.winamp);
    s.scmpx = p.readString(kSetting, key::SCMPX, s.scmpx);
    s.textEditor = p.readString(kSetting, key::TextEditor, s.textEditor);
    s.lyricsEditor = p.readString(kSetting, key::LyricsEditor, s.lyricsEditor);
    s.j2 = p.readString(kSetting, key::J2, s.j2);
    s.m2h = p.readString(kSetting, key::m2h, s.m2h);
    s.explorerPath = p.readString(kSetting, key::ExplorerPath, s.explorerPath);
    readRadio(kSetting, kPlayerKeys, s.player);
    readRadio(kSetting, kStartKeys, s.startMode);
    readRadio(kSetting, kQuitKeys, s.quitPolicy);
    s.playTime = p.readFlag(kSetting, key::PlayTime, s.playTime);
    s.drawInterval = p.readInt(kSetting, key::DrawInterval, importedInterval.value_or(0));
    s.totalTime = p.readInt(kSetting, key::TotalTime, 0);
    s.showSelection = p.readFlag(kSetting, key::ShowSelection, s.showSelection);
    s.autoSelect = p.readFlag(kSetting, key::AutoSelect, s.autoSelect);
    s.size2Time = p.readFlag(kSetting, key::Size2Time, s.size2Time);
    s.size2TimeLoaded = s.size2Time;

    s.timeSkin = readFolder(p, kSkin, key::TimeSkin, defaultTimeSkin());
    s.buttonSkin = readFolder(p, kSkin, key::ButtonSkin, defaultButtonSkin());

    s.volA = p.readInt(kVolume, key::VolumeA, s.volA);
    s.volB = p.readInt(kVolume, key::VolumeB, s.volB);
    s.volC = p.readInt(kVolume, key::VolumeC, s.volC);

    s.useJoyPad = p.readFlag(kJoyPad, key::UseJoyPad, s.useJoyPad);
    for (int i = 0; i < 8; ++i)
        s.joyBindings[i] = p.readInt(kJoyPad, L(kJoyKeys[i]), kJoyDefaults[i]);
    s.joyMin = p.readString(kJoyPad, key::Min, s.joyMin);
    s.joyMax = p.readString(kJoyPad, key::Max, s.joyMax);

    s.showLyrics = p.readFlag(kLyrics, key::ShowLyrics, s.showLyrics);
    s.lyricsFontName = cutFontName(p.readString(kLyrics, key::FontName, s.lyricsFontName));
    s.lyricsFontSize = p.readInt(kLyrics, key::FontSize, s.lyricsFontSize);
    s.lyricsFontColor = p.readInt(kLyrics, key::FontColor, s.lyricsFontColor);
    s.lyricsBold = p.readFlag(kLyrics, key::Bold, false);
    s.lyricsItalic = p.readFlag(kLyrics, key::Italic, false);
    s.lyricsBackColor = p.readInt(kLyrics, key::BackColor, s.lyricsBackColor);
    s.noLyricsHide = p.readFlag(kLyrics, key::NoLyricsHide, s.noLyricsHide);
    s.findFolder = readFolder(p, kLyrics, key::FindFolder, s.findFolder);

    s.groupCurrent = p.readFlag(kGroup, key::Current, s.groupCurrent);
    s.groupLast = p.readFlag(kGroup, key::Last, s.groupLast);
    s.groupSelect = p.readFlag(kGroup, key::Select, s.groupSelect);

    for (int n = 1; n <= kTrackFieldCount; ++n)
        s.columnShown[n - 1] = p.readFlag(kColumn, checkKey(n), true);
}

void SettingsStore::restoreWindowBounds(WindowBounds &b) const
{
    if (importDue() && m_registry->hasKey(kRegWindow)) {
        if (auto v = m_registry->integer(kRegWindow, key::Top))
            b.top = *v;
        if (auto v = m_registry->integer(kRegWindow, key::Left))
            b.left = *v;
        if (auto v = m_registry->integer(kRegWindow, key::Width))
            b.width = *v;
        if (auto v = m_registry->integer(kRegWindow, key::Height))
            b.height = *v;
    }
    b.top = m_profile.readInt(kWindow, key::Top, b.top);
    b.left = m_profile.readInt(kWindow, key::Left, b.left);
    b.width = m_profile.readInt(kWindow, key::Width, b.width);
    b.height = m_profile.readInt(kWindow, key::Height, b.height);
}

void SettingsStore::restoreFonts(ListLook &five, ListLook &thirteen) const
{
    // An imported font name must survive the fixed default of the reads that
    // follow, the later ones after an album load included, or the import
    // would be pointless.
    if (importDue() && m_registry->hasKey(kRegFont)) {
        for (ListLook *look : {&five, &thirteen}) {
            if (auto v = m_registry->string(kRegFont, key::Name)) {
                look->fontName = cutFontName(*v);
                m_importedFontName = look->fontName;
            }
            if (auto v = m_registry->integer(kRegFont, key::Color))
                look->color = *v;
            if (auto v = m_registry->integer(kRegFont, key::Size))
                look->fontSize = *v;
            if (auto v = m_registry->integer(kRegFont, key::BackColor))
                look->backColor = *v;
        }
    }
    const QString fixedName = m_importedFontName.value_or(QStringLiteral("ＭＳ Ｐゴシック"));
    for (ListLook *look : {&five, &thirteen}) {
        look->fontName = cutFontName(m_profile.readString(kFont, key::Name, fixedName));
        look->color = m_profile.readInt(kFont, key::Color, look->color);
        look->fontSize = m_profile.readInt(kFont, key::Size, look->fontSize);
        look->backColor = m_profile.readInt(kFont, key::BackColor, look->backColor);
        look->bold = m_profile.readFlag(kFont, key::Bold, false);
        look->italic = m_profile.readFlag(kFont, key::Italic, false);
    }
}

void SettingsStore::restoreColumns(bool fiveCurrent, ColumnWidths &w) const
{
    if (importDue() && m_registry->hasKey(kRegColumn)) {
        if (fiveCurrent) {
            for (int i = 0; i < kFiveColumnCount; ++i)
                if (auto v = m_registry->integer(kRegColumn, L(kColumnNames[kFiveColumnFields[i]])))
                    w.five[i] = *v;
        } else {
            for (int i = 0; i < kTrackFieldCount; ++i)
                if (auto v = m_registry->integer(kRegColumn, L(kColumnNames[i])))
                    w.thirteen[i] = *v;
        }
    }
    if (fiveCurrent) {
        for (int i = 0; i < kFiveColumnCount; ++i)
            w.five[i] = m_profile.readInt(kColumn, L(kColumnNames[kFiveColumnFields[i]]), w.five[i]);
        return;
    }
    for (int col : kRestoreOrder) {
        if (m_profile.readFlag(kColumn, checkKey(col + 1), true))
            w.thirteen[col] = m_profile.readInt(kColumn, L(kColumnNames[col]), w.thirteen[col]);
    }
    for (int col = 0; col < kTrackFieldCount; ++col) {
        if (w.thirteen[col] == 0)
            w.thirteen[col] = kDefaultWidths13[col];
    }
    for (int n = 1; n <= kTrackFieldCount; ++n) {
        if (!m_profile.readFlag(kColumn, checkKey(n), true))
            w.thirteen[n - 1] = 0;
    }
}

void SettingsStore::restoreLyricsWindow(LyricsWindowSettings &window, DialogSettings &s) const
{
    const ProfileFile &p = m_profile;
    window.bounds.top = p.readInt(kLyrics, key::Top, window.bounds.top);
    window.bounds.left = p.readInt(kLyrics, key::Left, window.bounds.left);
    window.bounds.width = p.readInt(kLyrics, key::Width, window.bounds.width);
    window.bounds.height = p.readInt(kLyrics, key::Height, window.bounds.height);
    s.lyricsFontName = cutFontName(p.readString(kLyrics, key::FontName, s.lyricsFontName));
    s.lyricsFontSize = p.readInt(kLyrics, key::FontSize, s.lyricsFontSize);
    s.lyricsFontColor = p.readInt(kLyrics, key::FontColor, s.lyricsFontColor);
    s.lyricsBackColor = p.readInt(kLyrics, key::BackColor, s.lyricsBackColor);
    s.lyricsBold = p.readFlag(kLyrics, key::Bold, false);
    s.lyricsItalic = p.readFlag(kLyrics, key::Italic, false);
    s.noLyricsHide = p.readFlag(kLyrics, key::NoLyricsHide, s.noLyricsHide);
    s.findFolder = readFolder(p, kLyrics, key::FindFolder, s.findFolder);
}

void SettingsStore::restoreClassNames(ClassNames &names) const
{
    if (importDue() && m_registry->hasKey(kRegClassName)) {
        if (auto v = m_registry->string(kRegClassName, key::Winamp))
            names.winamp = *v;
        if (auto v = m_registry->string(kRegClassName, key::SCMPX))
            names.scmpx = *v;
    }
    names.winamp = m_profile.readString(kClassName, key::Winamp, names.winamp);
    names.scmpx = m_profile.readString(kClassName, key::SCMPX, names.scmpx);
}

int SettingsStore::restoreMainVolume() const { return m_profile.readInt(kVolume, key::Volume, 10); }

void SettingsStore::restoreCopyOptions(CopyOptions &c) const
{
    setRadio(c.mode, 0, m_profile.readFlag(kCopy, key::Auto, true));
    setRadio(c.mode, 1, m_profile.readFlag(kCopy, key::Manual, false));
    c.move = m_profile.readFlag(kCopy, key::Move, false);
    c.mp3 = m_profile.readFlag(kCopy, key::MP3, true);
    c.lyrics1 = m_profile.readFlag(kCopy, key::Lyrics1, true);
    c.lyrics2 = m_profile.readFlag(kCopy, key::Lyrics2, true);
}

SettingsStore::StartupGroup SettingsStore::readStartupGroup() const
{
    StartupGroup g;
    g.last = m_profile.readFlag(kGroup, key::Last, false);
    g.lastGroup = m_profile.readString(kGroup, key::LastGroup, defaultIndexPath());
    g.select = m_profile.readFlag(kGroup, key::Select, false);
    g.current = m_profile.readFlag(kGroup, key::Current, false);
    return g;
}

ProfileWrite SettingsStore::storeLegacyImport()
{
    Writer out(m_profile);
    if (!importDue())
        return out.result();
    auto text = [&](const QString &regKey, const QString &section, const QString &name) {
        if (auto v = m_registry->string(regKey, name))
            out.str(section, name, *v);
    };
    auto number = [&](const QString &regKey, const QString &section, const QString &name) {
        if (auto v = m_registry->integer(regKey, name))
            out.num(section, name, *v);
    };
    auto flag = [&](const QString &name) {
        if (auto v = m_registry->integer(kRegSetting, name))
            out.flag(kSetting, name, *v != 0);
    };
    // What the loads take, in the order the stores write it: the dialog's
    // keys, column widths and window bounds as at exit, then the list font.
    text(kRegSetting, kSetting, key::Winamp);
    text(kRegSetting, kSetting, key::SCMPX);
    flag(L(kPlayerKeys[0]));
    flag(L(kPlayerKeys[1]));
    for (const char *name : kStartKeys)
        flag(L(name));
    for (const char *name : kQuitKeys)
        flag(L(name));
    flag(key::Size2Time);
    flag(key::PlayTime);
    number(kRegSetting, kSetting, key::DrawInterval);
    text(kRegSetting, kSetting, key::J2);
    flag(key::ShowSelection);
    flag(key::AutoSelect);
    for (const QString &name : {key::VolumeA, key::VolumeB, key::VolumeC})
        number(kRegVolume, kVolume, name);
    text(kRegClassName, kClassName, key::Winamp);
    text(kRegClassName, kClassName, key::SCMPX);
    for (const char *name : kColumnNames)
        number(kRegColumn, kColumn, L(name));
    for (const QString &name : {key::Top, key::Left, key::Width, key::Height})
        number(kRegWindow, kWindow, name);
    if (auto v = m_registry->string(kRegFont, key::Name))
        out.str(kFont, key::Name, cutFontName(*v));
    for (const QString &name : {key::Size, key::Color, key::BackColor})
        number(kRegFont, kFont, name);
    return out.result();
}

ProfileWrite SettingsStore::storeColumnWidths(bool fiveCurrent, const ColumnWidths &w, const DialogSettings &s)
{
    Writer out(m_profile);
    if (fiveCurrent) {
        for (int i = 0; i < kFiveColumnCount; ++i)
            out.num(kColumn, L(kColumnNames[kFiveColumnFields[i]]), w.five[i]);
        return out.result();
    }
    for (int col = 0; col < kTrackFieldCount; ++col) {
        if (s.columnShown[col])
            out.num(kColumn, L(kColumnNames[col]), w.thirteen[col]);
    }
    return out.result();
}

ProfileWrite SettingsStore::storeWindowBounds(const WindowBounds &b)
{
    Writer out(m_profile);
    out.num(kWindow, key::Top, b.top);
    out.num(kWindow, key::Left, b.left);
    out.num(kWindow, key::Width, b.width);
    out.num(kWindow, key::Height, b.height);
    return out.result();
}

ProfileWrite SettingsStore::storeMainVolume(int position)
{
    Writer out(m_profile);
    out.num(kVolume, key::Volume, position);
    return out.result();
}

ProfileWrite SettingsStore::storePlayerChoice(const DialogSettings &s)
{
    Writer out(m_profile);
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kPlayerKeys[i]), s.player.isOn(i));
    return out.result();
}

ProfileWrite SettingsStore::storeLastIndex(const QString &path)
{
    Writer out(m_profile);
    out.str(kGroup, key::LastGroup, path);
    return out.result();
}

ProfileWrite SettingsStore::storeCopyOptions(const CopyOptions &c)
{
    Writer out(m_profile);
    out.flag(kCopy, key::Auto, c.mode.isOn(0));
    out.flag(kCopy, key::Manual, c.mode.isOn(1));
    out.flag(kCopy, key::Move, c.move);
    out.flag(kCopy, key::MP3, c.mp3);
    out.flag(kCopy, key::Lyrics1, c.lyrics1);
    out.flag(kCopy, key::Lyrics2, c.lyrics2);
    return out.result();
}

ProfileWrite SettingsStore::storeAll(const DialogSettings &s, const std::function<void()> &afterSkin)
{
    Writer out(m_profile);
    out.str(kSetting, key::Winamp, s.winamp);
    out.str(kSetting, key::SCMPX, s.scmpx);
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kPlayerKeys[i]), s.player.isOn(i));
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kStartKeys[i]), s.startMode.isOn(i));
    for (int i = 0; i < 3; ++i)
        out.flag(kSetting, L(kQuitKeys[i]), s.quitPolicy.isOn(i));
    out.flag(kSetting, key::Size2Time, s.size2Time);
    out.flag(kSetting, key::PlayTime, s.playTime);
    out.num(kSetting, key::DrawInterval, s.drawInterval);
    out.str(kSetting, key::TextEditor, s.textEditor);
    out.str(kSetting, key::LyricsEditor, s.lyricsEditor);
    out.str(kSetting, key::J2, s.j2);
    out.str(kSetting, key::m2h, s.m2h);
    out.str(kSetting, key::ExplorerPath, s.explorerPath);
    out.num(kSetting, key::TotalTime, s.totalTime);
    out.flag(kSetting, key::ShowSelection, s.showSelection);
    out.flag(kSetting, key::AutoSelect, s.autoSelect);
    out.str(kSkin, key::TimeSkin, s.timeSkin);
    out.str(kSkin, key::ButtonSkin, s.buttonSkin);
    // The dialog's restart note comes between the skins and the volumes, and
    // only when everything before it was written.
    if (afterSkin && out.ok())
        afterSkin();
    out.num(kVolume, key::VolumeA, s.volA);
    out.num(kVolume, key::VolumeB, s.volB);
    out.num(kVolume, key::VolumeC, s.volC);
    out.flag(kJoyPad, key::UseJoyPad, s.useJoyPad);
    for (int i = 0; i < 8; ++i)
        out.num(kJoyPad, L(kJoyKeys[i]), s.joyBindings[i]);
    out.str(kJoyPad, key::Min, s.joyMin);
    out.str(kJoyPad, key::Max, s.joyMax);
    out.flag(kLyrics, key::ShowLyrics, s.showLyrics);
    out.str(kLyrics, key::FontName, s.lyricsFontName);
    out.num(kLyrics, key::FontSize, s.lyricsFontSize);
    out.num(kLyrics, key::FontColor, s.lyricsFontColor);
    out.num(kLyrics, key::BackColor, s.lyricsBackColor);
    out.flag(kLyrics, key::Bold, s.lyricsBold);
    out.flag(kLyrics, key::Italic, s.lyricsItalic);
    out.flag(kLyrics, key::NoLyricsHide, s.noLyricsHide);
    out.str(kLyrics, key::FindFolder, s.findFolder);
    out.flag(kGroup, key::Current, s.groupCurrent);
    out.flag(kGroup, key::Last, s.groupLast);
    out.flag(kGroup, key::Select, s.groupSelect);
    out.str(kClassName, key::Winamp, s.winampClass);
    out.str(kClassName, key::SCMPX, s.scmpxClass);
    for (int n = 1; n <= kTrackFieldCount; ++n)
        out.flag(kColumn, checkKey(n), s.columnShown[n - 1]);
    return out.result();
}

ProfileWrite SettingsStore::storeListFont(const ListLook &look)
{
    Writer out(m_profile);
    out.str(kFont, key::Name, look.fontName);
    out.num(kFont, key::Size, look.fontSize);
    out.flag(kFont, key::Bold, look.bold);
    out.flag(kFont, key::Italic, look.italic);
    return out.result();
}

ProfileWrite SettingsStore::storeListColor(int color)
{
    Writer out(m_profile);
    out.num(kFont, key::Color, color);
    return out.result();
}

ProfileWrite SettingsStore::storeListBackColor(int color)
{
    Writer out(m_profile);
    out.num(kFont, key::BackColor, color);
    return out.result();
}

ProfileWrite SettingsStore::storeLyricsWindowBounds(const WindowBounds &b)
{
    Writer out(m_profile);
    out.num(kLyrics, key::Top, b.top);
    out.num(kLyrics, key::Left, b.left);
    out.num(kLyrics, key::Width, b.width);
    out.num(kLyrics, key::Height, b.height);
    return out.result();
}

QString SettingsStore::failureText(const ProfileWrite &write) const
{
    return QStringLiteral("設定ファイルに書き込めませんでした。\n%1\n%2")
        .arg(write.error().path, write.error().message);
}

std::optional<QString> SettingsStore::failureToReport(const ProfileWrite &write)
{
    if (write.ok())
        return std::nullopt;
    QString text = failureText(write);
    if (m_reportedFailures.contains(text))
        return std::nullopt;
    m_reportedFailures.insert(text);
    return text;
}
