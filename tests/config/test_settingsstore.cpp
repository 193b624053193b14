#include "config/settingsstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

const QByteArray kRegistry = QByteArrayLiteral("WINE REGISTRY Version 2\n"
                                               ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                                               "[Software\\\\Ravlen\\\\Tunovia\\\\Setting] 1600000000\n"
                                               "\"Winamp\"=\"C:\\\\Program Files\\\\Winamp\\\\winamp.exe\"\n"
                                               "\"SCMPXCheck\"=dword:00000001\n"
                                               "\"DrawInterval\"=dword:00000003\n\n"
                                               "[Software\\\\Ravlen\\\\Tunovia\\\\Volume] 1600000000\n"
                                               "\"VolumeB\"=dword:00000007\n\n"
                                               "[Software\\\\Ravlen\\\\Tunoia\\\\Font] 1600000000\n"
                                               "\"Name\"=\"An Extremely Long Font Family Name That Goes On\"\n"
                                               "\"Size\"=dword:0000000b\n\n"
                                               "[Software\\\\Ravlen\\\\Tunovia\\\\Window] 1600000000\n"
                                               "\"Left\"=dword:00000064\n"
                                               "\"Width\"=dword:00000320\n\n"
                                               "[Software\\\\Ravlen\\\\Tunovia\\\\Column] 1600000000\n"
                                               "\"Title\"=dword:000000c8\n"
                                               "\"Album\"=dword:0000004b\n");

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString ini() const { return m_dir.filePath(QStringLiteral("Tunov.ini")); }

private slots:
    void init() { QFile::remove(ini()); }

    void missingFileKeepsDesignDefaults()
    {
        SettingsStore store(ini(), nullptr, QStringLiteral("/opt/tunovia/"));
        DialogSettings s;
        store.loadSettings(s);
        QVERIFY(s.usesWinamp());
        QCOMPARE(s.textEditor, QStringLiteral("notepad.exe"));
        QCOMPARE(s.timeSkin, QStringLiteral("/opt/tunovia/Skins/default/"));
        QCOMPARE(s.buttonSkin, QStringLiteral("/opt/tunovia/Button_Skins/default/"));
        QCOMPARE(s.joyBindings, (std::array<int, 8>{0, 0, 1, 5, 2, 4, 6, 8}));
        QCOMPARE(s.lyricsBackColor, 0xCCFFCC);
        QVERIFY(!QFile::exists(ini())); // reading never creates the file
    }

    void missingKeyLeavesCurrentValueButFixedDefaultsReset()
    {
        writeFile(ini(), "[Setting]\r\nWinamp=/usr/bin/player\r\n");
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        s.j2 = QStringLiteral("/keep/j2");
        s.drawInterval = 5; // fixed default 0 when missing
        s.volB = 3;         // current value kept when missing
        s.joyBindings[0] = 9;
        s.columnShown[2] = false; // "Check3": fixed default 1
        store.loadSettings(s);
        QCOMPARE(s.winamp, QStringLiteral("/usr/bin/player"));
        QCOMPARE(s.j2, QStringLiteral("/keep/j2"));
        QCOMPARE(s.drawInterval, 0);
        QCOMPARE(s.volB, 3);
        QCOMPARE(s.joyBindings[0], 0);
        QVERIFY(s.columnShown[2]);
    }

    void folderSettingsGetTheirFinalSlash()
    {
        writeFile(ini(), "[Setting]\r\nExplorerPath=/home/u\r\n[Skin]\r\nTimeSkin=/skins/mine\r\n"
                         "ButtonSkin=/skins/buttons/\r\n[Lyrics]\r\nFindFolder=/歌詞\r\n");
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        store.loadSettings(s);
        QCOMPARE(s.explorerPath, QStringLiteral("/home/u")); // opened as it stands, never a prefix
        QCOMPARE(s.timeSkin, QStringLiteral("/skins/mine/"));
        QCOMPARE(s.buttonSkin, QStringLiteral("/skins/buttons/"));
        QCOMPARE(s.findFolder, QString::fromUtf8("/歌詞/"));
        s.findFolder.clear();
        LyricsWindowSettings window;
        store.restoreLyricsWindow(window, s);
        QCOMPARE(s.findFolder, QString::fromUtf8("/歌詞/"));

        // An empty folder stays empty: no search folder, not the root.
        writeFile(ini(), "[Lyrics]\r\nFindFolder=\r\n");
        store.loadSettings(s);
        QCOMPARE(s.findFolder, QString());
    }

    void integerParsing_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("hex") << QByteArray("0x10") << 16;
        QTest::newRow("decimal") << QByteArray("7") << 7;
        QTest::newRow("text gives default") << QByteArray("abc") << 5;
        QTest::newRow("empty gives default") << QByteArray("") << 5;
        QTest::newRow("negative") << QByteArray("-3") << -3;
    }
    void integerParsing()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        writeFile(ini(), "[Volume]\r\nVolumeB=" + value + "\r\n");
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        store.loadSettings(s);
        QCOMPARE(s.volB, expected);
    }

    void radioGroupsBehaveLikeRadioButtons()
    {
        writeFile(ini(), "[Setting]\r\nWinampCheck=1\r\nSCMPXCheck=1\r\nRunNormal=0\r\nPlayerQuitAsk=1\r\n");
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        store.loadSettings(s);
        QCOMPARE(s.player.checked, 1);     // the later "on" wins
        QCOMPARE(s.startMode.checked, -1); // turned off, none on
        QCOMPARE(s.quitPolicy.checked, 2);
    }

    void fontNamesAreCutTo31Characters()
    {
        const QByteArray longName(40, 'F');
        writeFile(ini(), "[Lyrics]\r\nFontName=" + longName + "\r\n[Font]\r\nName=" + longName + "\r\n");
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        store.loadSettings(s);
        QCOMPARE(s.lyricsFontName.size(), 31);
        ListLook five, thirteen;
        store.restoreFonts(five, thirteen);
        QCOMPARE(five.fontName, QString(31, QLatin1Char('F')));
        QCOMPARE(thirteen.fontName, QString(31, QLatin1Char('F')));
    }

    void registryImportRunsOnlyWithoutSettingsFile()
    {
        const LegacyRegistry registry{QByteArrayView(kRegistry)};
        SettingsStore store(ini(), &registry, QStringLiteral("/p/"));
        DialogSettings s;
        store.loadSettings(s);
        QCOMPARE(s.winamp, QStringLiteral("C:\\Program Files\\Winamp\\winamp.exe"));
        QVERIFY(s.usesScmpx());
        QCOMPARE(s.drawInterval, 3); // survives the fixed default of the read that follows
        QCOMPARE(s.volB, 7);
        WindowBounds b{1, 2, 3, 4};
        store.restoreWindowBounds(b);
        QCOMPARE(b.left, 100);
        QCOMPARE(b.width, 800);
        QCOMPARE(b.top, 1);
        ListLook five, thirteen;
        store.restoreFonts(five, thirteen);
        QCOMPARE(thirteen.fontName, QStringLiteral("An Extremely Long Font Family N"));
        QCOMPARE(thirteen.fontSize, 11);
        QCOMPARE(five.fontSize, 11);
        ColumnWidths w;
        store.restoreColumns(false, w);
        QCOMPARE(w.thirteen[0], 200);
        QCOMPARE(w.thirteen[2], 75);

        // Once the file exists the registry is ignored.
        QVERIFY(store.storeLastIndex(QStringLiteral("/lib/index.ini")).ok());
        // The album load that follows restores the fonts again: the imported
        // name is still the one in use.
        ListLook five2, thirteen2;
        store.restoreFonts(five2, thirteen2);
        QCOMPARE(five2.fontName, QStringLiteral("An Extremely Long Font Family N"));
        QCOMPARE(thirteen2.fontName, QStringLiteral("An Extremely Long Font Family N"));
        DialogSettings fresh;
        store.loadSettings(fresh);
        QVERIFY(fresh.winamp.isEmpty());
        QVERIFY(fresh.usesWinamp());
        QCOMPARE(readFile(ini()), QByteArray("[Group]\r\nLastGroup=/lib/index.ini\r\n"));
    }

    void importedValuesAreWrittenInStoreOrder()
    {
        const LegacyRegistry registry{QByteArrayView(kRegistry)};
        SettingsStore store(ini(), &registry, QStringLiteral("/p/"));
        QVERIFY(store.storeLegacyImport().ok());
        const QByteArray written = readFile(ini());
        QCOMPARE(written, QByteArray("[Setting]\r\nWinamp=C:\\Program Files\\Winamp\\winamp.exe\r\n"
                                     "SCMPXCheck=1\r\nDrawInterval=3\r\n"
                                     "[Volume]\r\nVolumeB=7\r\n"
                                     "[Column]\r\nTitle=200\r\nAlbum=75\r\n"
                                     "[Window]\r\nLeft=100\r\nWidth=800\r\n"
                                     "[Font]\r\nName=An Extremely Long Font Family N\r\nSize=11\r\n"));
        QVERIFY(store.storeLegacyImport().ok()); // once the file exists, nothing more
        QCOMPARE(readFile(ini()), written);

        // The next start reads the same from the file alone.
        SettingsStore next(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        next.loadSettings(s);
        QCOMPARE(s.winamp, QStringLiteral("C:\\Program Files\\Winamp\\winamp.exe"));
        QVERIFY(s.usesScmpx());
        QCOMPARE(s.drawInterval, 3);
        QCOMPARE(s.volB, 7);
    }

    void everyImportedValueReadsBackFromTheFile()
    {
        // Every value the old versions kept, none at its default: the import
        // at the first start and the file at the next must agree on each.
        QByteArray reg = QByteArrayLiteral(
            "WINE REGISTRY Version 2\n\n"
            "[Software\\\\Ravlen\\\\Tunovia\\\\Setting] 1600000000\n"
            "\"Winamp\"=\"w.exe\"\n\"SCMPX\"=\"s.exe\"\n\"J2\"=\"j2.exe\"\n"
            "\"WinampCheck\"=dword:00000000\n\"SCMPXCheck\"=dword:00000001\n"
            "\"RunNormal\"=dword:00000000\n\"RunMinimize\"=dword:00000000\n\"RunHide\"=dword:00000001\n"
            "\"PlayerQuitYes\"=dword:00000000\n\"PlayerQuitNo\"=dword:00000000\n\"PlayerQuitAsk\"=dword:00000001\n"
            "\"PlayTime\"=dword:00000000\n\"DrawInterval\"=dword:00000004\n\"ShowSelection\"=dword:00000001\n"
            "\"AutoSelect\"=dword:00000001\n\"Size2Time\"=dword:00000000\n\n"
            "[Software\\\\Ravlen\\\\Tunovia\\\\Volume] 1600000000\n"
            "\"VolumeA\"=dword:00000003\n\"VolumeB\"=dword:00000002\n\"VolumeC\"=dword:00000001\n\n"
            "[Software\\\\Ravlen\\\\Tunovia\\\\ClassName] 1600000000\n\"Winamp\"=\"WA\"\n\"SCMPX\"=\"SC\"\n\n"
            "[Software\\\\Ravlen\\\\Tunovia\\\\Window] 1600000000\n"
            "\"Top\"=dword:0000000a\n\"Left\"=dword:0000000b\n\"Width\"=dword:0000000c\n\"Height\"=dword:0000000d\n\n"
            "[Software\\\\Ravlen\\\\Tunoia\\\\Font] 1600000000\n"
            "\"Name\"=\"Mono\"\n\"Size\"=dword:0000000e\n\"Color\"=dword:00000005\n\"BackColor\"=dword:00000006\n\n"
            "[Software\\\\Ravlen\\\\Tunovia\\\\Column] 1600000000\n");
        for (int i = 0; i < kTrackFieldCount; ++i)
            reg += QByteArray("\"") + kTrackFieldNames[i] + "\"=dword:000000" + QByteArray::number(0x20 + i, 16) + "\n";
        const LegacyRegistry registry{QByteArrayView(reg)};

        auto check = [](SettingsStore &store) {
            DialogSettings s;
            store.loadSettings(s);
            QCOMPARE(s.winamp, QStringLiteral("w.exe"));
            QCOMPARE(s.scmpx, QStringLiteral("s.exe"));
            QCOMPARE(s.j2, QStringLiteral("j2.exe"));
            QCOMPARE(s.player.checked, 1);
            QCOMPARE(s.startMode.checked, 2);
            QCOMPARE(s.quitPolicy.checked, 2);
            QCOMPARE(s.playTime, false);
            QCOMPARE(s.drawInterval, 4);
            QCOMPARE(s.showSelection, true);
            QCOMPARE(s.autoSelect, true);
            QCOMPARE(s.size2Time, false);
            QCOMPARE(s.volA, 3);
            QCOMPARE(s.volB, 2);
            QCOMPARE(s.volC, 1);
            ClassNames names;
            store.restoreClassNames(names);
            QCOMPARE(names.winamp, QStringLiteral("WA"));
            QCOMPARE(names.scmpx, QStringLiteral("SC"));
            WindowBounds b;
            store.restoreWindowBounds(b);
            QCOMPARE(b, (WindowBounds{10, 11, 12, 13}));
            ListLook five, thirteen;
            store.restoreFonts(five, thirteen);
            QCOMPARE(thirteen.fontName, QStringLiteral("Mono"));
            QCOMPARE(thirteen.fontSize, 14);
            QCOMPARE(thirteen.color, 5);
            QCOMPARE(thirteen.backColor, 6);
            ColumnWidths w;
            store.restoreColumns(false, w);
            for (int i = 0; i < kTrackFieldCount; ++i)
                QCOMPARE(w.thirteen[i], 0x20 + i);
        };
        SettingsStore first(ini(), &registry, QStringLiteral("/p/"));
        check(first);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(first.storeLegacyImport().ok());
        SettingsStore next(ini(), nullptr, QStringLiteral("/p/"));
        check(next);
    }

    void columnRestoreBringsHiddenColumnsBackAtDefaultWidth()
    {
        writeFile(ini(), "[Column]\r\nCheck3=0\r\nAlbum=80\r\nTitle=0\r\nArtist=120\r\n");
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        ColumnWidths w;
        w.thirteen[2] = 33;
        store.restoreColumns(false, w);
        QCOMPARE(w.thirteen[2], 0);   // Album hidden
        QCOMPARE(w.thirteen[0], 150); // a stored 0 becomes the default width
        QCOMPARE(w.thirteen[1], 120);

        // Ticked again: the stored width is read back.
        writeFile(ini(), "[Column]\r\nCheck3=1\r\nAlbum=0\r\n");
        store.restoreColumns(false, w);
        QCOMPARE(w.thirteen[2], 100);
    }

    void fiveColumnWidthsAreSharedByName()
    {
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        ColumnWidths w;
        w.five = {11, 22, 33, 44, 55};
        DialogSettings s;
        QVERIFY(store.storeColumnWidths(true, w, s).ok());
        ColumnWidths back;
        store.restoreColumns(false, back);
        QCOMPARE(back.thirteen[0], 11);
        QCOMPARE(back.thirteen[1], 22);
        QCOMPARE(back.thirteen[3], 33);
        QCOMPARE(back.thirteen[4], 44);
        QCOMPARE(back.thirteen[12], 55);
        QCOMPARE(back.thirteen[2], 100); // Album untouched
    }

    void hiddenColumnsKeepTheirLastWidthInTheFile()
    {
        writeFile(ini(), "[Column]\r\nAlbum=90\r\n");
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        s.columnShown[2] = false;
        ColumnWidths w;
        w.thirteen[2] = 0;
        QVERIFY(store.storeColumnWidths(false, w, s).ok());
        QVERIFY(readFile(ini()).contains("Album=90\r\n"));
    }

    void storeAllThenLoadGivesTheSameSettings()
    {
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        s.winamp = QStringLiteral("/opt/プレイヤー/player");
        s.player.checked = 2;
        s.startMode.checked = 1;
        s.quitPolicy.checked = 2;
        s.drawInterval = 4;
        s.totalTime = 7;
        s.joyBindings = {18, 17, 16, 15, 14, 13, 12, 11};
        s.joyMin = QStringLiteral("abc");
        s.lyricsBold = true;
        s.columnShown[5] = false;
        s.groupCurrent = false;
        s.groupLast = true;
        QVERIFY(store.storeAll(s).ok());
        DialogSettings back;
        store.loadSettings(back);
        QCOMPARE(back.winamp, s.winamp);
        QCOMPARE(back.player.checked, 2);
        QCOMPARE(back.startMode.checked, 1);
        QCOMPARE(back.quitPolicy.checked, 2);
        QCOMPARE(back.drawInterval, 4);
        QCOMPARE(back.totalTime, 7);
        QCOMPARE(back.joyBindings, s.joyBindings);
        QCOMPARE(back.joyMin, QStringLiteral("abc"));
        QVERIFY(back.lyricsBold);
        QVERIFY(!back.columnShown[5]);
        QVERIFY(back.groupLast);
        QVERIFY(!back.groupCurrent);
    }

    void damagedFileGivesDefaultsAndWritesKeepTheRest()
    {
        QByteArray garbage("\x00\xff\xfe[Setting\r\nWinamp=/a\x00b\r[Volume]\rVolumeA=0x\r");
        garbage += QByteArray(2 * 1024 * 1024, 'x'); // one very long line without an end
        writeFile(ini(), garbage);
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        DialogSettings s;
        store.loadSettings(s);
        QCOMPARE(s.volA, 10); // "0x" is not a number
        QVERIFY(store.storeMainVolume(4).ok());
        const QByteArray after = readFile(ini());
        QVERIFY(after.startsWith(garbage));
        QCOMPARE(store.restoreMainVolume(), 4);
    }

    void startupGroupUsesFixedDefaults()
    {
        SettingsStore store(ini(), nullptr, QStringLiteral("/p/"));
        auto g = store.readStartupGroup();
        QVERIFY(!g.current && !g.last && !g.select);
        QCOMPARE(g.lastGroup, QStringLiteral("/p/tunovia.ini"));
    }

    void failedWriteStopsTheOperation()
    {
        const QString blocked = m_dir.filePath(QStringLiteral("file-not-folder"));
        writeFile(blocked, "x");
        SettingsStore store(blocked + QStringLiteral("/Tunov.ini"), nullptr, QStringLiteral("/p/"));
        const ProfileWrite r = store.storeWindowBounds({1, 2, 3, 4});
        QVERIFY(!r.ok());
        QVERIFY(!r.error().message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
