#include "library/albumfile.h"
#include "platform/textcodec.h"
#include "tracks/trackmodel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAlbumFile : public QObject {
    Q_OBJECT
private:
    static QString u(const char *s) { return QString::fromUtf8(s); }

    // Album lines are full of double quotes; tests write them as single quotes.
    static QByteArray q(const char *s)
    {
        QByteArray b(s);
        b.replace('\'', '"');
        return b;
    }

    static void writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void timeFromSize_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("time");
        QTest::newRow("bytes") << u("4000000") << u("4分10秒");
        QTest::newRow("mega with decimals") << u("3.45MB") << u("3分46秒");
        QTest::newRow("kilo has no decimals") << u("1234KB") << u("1分19秒");
        QTest::newRow("spaced units") << u("1 234 KB") << u("1分19秒");
        QTest::newRow("later unit wins") << u("345KM") << u("3分46秒");
        QTest::newRow("no digits") << u("abc") << u("0分00秒");
        QTest::newRow("empty") << QString() << u("0分00秒");
        QTest::newRow("half rounds up") << u("8000") << u("0分01秒");
        QTest::newRow("just under half") << u("7999") << u("0分00秒");
        QTest::newRow("minutes past an hour") << u("96000000") << u("100分00秒");
        QTest::newRow("digits then junk") << u("16000xyz99") << u("0分01秒");
        QTest::newRow("negative is no size") << u("-16000") << u("0分00秒");
        QTest::newRow("huge does not overflow") << u("99999999999999999999999999M") << u("109226666666分40秒");
    }
    void timeFromSize()
    {
        QFETCH(QString, size);
        QFETCH(QString, time);
        QCOMPARE(album::timeFromSize(size), time);
    }

    void fieldSplitting_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("expect"); // Title, Artist, Genre, Date, Copyright, Size
        QTest::newRow("plain") << q("'/m/a.mp3','a.mp3','T','A','Al','C','Rock','1999','Cp','E','S','So','123'")
                               << QStringList{u("T"), u("A"), u("Rock"), u("1999"), u("Cp"), u("123")};
        // Genre ends at its first quote whatever follows, so the fields after it shift.
        QTest::newRow("quote in genre")
            << q("'/m/a.mp3','a.mp3','T','A','Al','C','Ro'ck','1999','Cp','E','S','So','123'")
            << QStringList{u("T"), u("A"), u("Ro"), QString(), u("1999"), u("So")};
        QTest::newRow("quote-comma in title")
            << q("'/m/a.mp3','a.mp3','T',x','A','Al','C','Rock','1999','Cp','E','S','So','123'")
            << QStringList{u("T"), QString(), u("C"), u("Rock"), u("1999"), u("So")};
        QTest::newRow("lone quote in title is kept")
            << q("'/m/a.mp3','a.mp3','5' single','A','Al','C','Rock','1999','Cp','E','S','So','123'")
            << QStringList{u("5\" single"), u("A"), u("Rock"), u("1999"), u("Cp"), u("123")};
        QTest::newRow("rest of line after size ignored")
            << q("'/m/a.mp3','a.mp3','T','A','Al','C','G','D','Cp','E','S','So','123'junk,'more'")
            << QStringList{u("T"), u("A"), u("G"), u("D"), u("Cp"), u("123")};
        QTest::newRow("short line fills with empty")
            << q("'/m/a.mp3','a.mp3','T','A'")
            << QStringList{u("T"), u("A"), QString(), QString(), QString(), QString()};
    }
    void fieldSplitting()
    {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, expect);
        const auto rows = album::parseAlbum(line + "\r\n", u("/x/"));
        QCOMPARE(rows.size(), size_t(1));
        const TrackRecord &t = rows.front();
        const QStringList got{t[TrackField::Title], t[TrackField::Artist],    t[TrackField::Genre],
                              t[TrackField::Date],  t[TrackField::Copyright], t[TrackField::Size]};
        QCOMPARE(got, expect);
        QCOMPARE(t[TrackField::Path], u("/m/a.mp3"));
    }

    void pathResolution_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("resolved");
        // Album file /Music/A/list.mdt.
        QTest::newRow("parent") << u("..\\x.mp3") << u("/Music/x.mp3");
        QTest::newRow("two parents") << u("..\\..\\x.mp3") << u("/x.mp3");
        QTest::newRow("parents past the root stop there") << u("../../../../x.mp3") << u("/x.mp3");
        QTest::newRow("dot slash") << u(".\\x.mp3") << u("/Music/A/x.mp3");
        QTest::newRow("dot name") << u(".hidden.mp3") << u("/Music/A/.hidden.mp3");
        QTest::newRow("plain relative") << u("x.mp3") << u("/Music/A/x.mp3");
        QTest::newRow("relative subfolder") << u("sub\\x.mp3") << u("/Music/A/sub/x.mp3");
        QTest::newRow("absolute") << u("/y/x.mp3") << u("/y/x.mp3");
        QTest::newRow("windows rooted") << u("\\y\\x.mp3") << u("/y/x.mp3");
        QTest::newRow("drive letter kept") << u("C:\\y\\x.mp3") << u("C:/y/x.mp3");
        // The CP932 trail byte 0x5C of 表 must not be taken for a separator.
        QTest::newRow("double-byte name") << u("表\\x.mp3") << u("/Music/A/表/x.mp3");
    }
    void pathResolution()
    {
        QFETCH(QString, stored);
        QFETCH(QString, resolved);
        const QString line =
            u("\"") + stored + u("\",\"x\",\"T\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"1\"\r\n");
        const auto rows = album::parseAlbum(text::toCp932(line), u("/Music/A/"));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows.front()[TrackField::Path], resolved);
    }

    void writeThenReadGivesSameRows()
    {
        std::vector<TrackRecord> rows(3);
        const char *titles[] = {"春の歌", "Second, \"quoted\" title", ""};
        for (int i = 0; i < 3; ++i) {
            TrackRecord &t = rows[size_t(i)];
            for (int f = 0; f < kTrackFieldCount; ++f)
                t.fields[size_t(f)] = u("f%1-%2").arg(f).arg(i);
            t[TrackField::Title] = u(titles[i]);
            t[TrackField::Genre] = i == 2 ? QString() : u("J-Pop");
            t[TrackField::Size] = QString::number(1000000 * (i + 1));
            t[TrackField::Time] = u("stale");
            t[TrackField::Path] = u("/music/アルバム/%1.mp3").arg(i);
        }
        const QByteArray bytes = album::encodeAlbum(rows);
        QVERIFY(!text::isValidUtf8(bytes)); // Japanese that fits CP932 is written as CP932
        QVERIFY(bytes.startsWith("\"/music/"));
        QVERIFY(bytes.contains("\",\"0.mp3\",\""));
        QVERIFY(bytes.endsWith("\"3000000\"\r\n"));

        const auto back = album::parseAlbum(bytes, u("/elsewhere/"));
        QCOMPARE(back.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            TrackRecord expect = rows[i];
            expect[TrackField::Time] = album::timeFromSize(expect[TrackField::Size]);
            QCOMPARE(back[i].fields, expect.fields);
        }
        QCOMPARE(back[0][TrackField::Time], u("1分03秒"));
    }

    void badInputNeverFails_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        const QByteArray good = q("'/m/a.mp3','a.mp3','T','A','Al','C','G','D','Cp','E','S','So','16000'");
        QTest::newRow("blank lines skipped") << QByteArray("\r\n\n   \r\n" + good + "\r\n\r\n") << 1;
        QTest::newRow("cr only line ends") << QByteArray(good + "\r" + good + "\r") << 2;
        QTest::newRow("no final line end") << QByteArray(good + "\n" + good) << 2;
        QTest::newRow("100 KB line") << QByteArray("\"" + QByteArray(100 * 1024, 'x') + "\"\r\n" + good) << 2;
        QTest::newRow("nul bytes") << QByteArray(good + QByteArray("\0\0\0\n", 4) + good) << 2;
        QTest::newRow("nul-only line") << QByteArray("\0\0\n", 3) << 0;
        QTest::newRow("invalid cp932") << QByteArray("\"/m/\x81\xFF\x82.mp3\",\"x\",\"\x84\"\r\n") << 1;
        QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF" + good) << 1;
        QTest::newRow("single quote char") << QByteArray("\"") << 1;
        QTest::newRow("empty") << QByteArray() << 0;
    }
    void badInputNeverFails()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        const auto parsed = album::parseAlbum(bytes, u("/m/"));
        QCOMPARE(int(parsed.size()), rows);
    }

    void bomIsNotPartOfThePath()
    {
        const auto rows = album::parseAlbum(QByteArray("\xEF\xBB\xBF\"/m/a.mp3\",\"a\",\"T\"\n"), u("/m/"));
        QCOMPARE(rows.front()[TrackField::Path], u("/m/a.mp3"));
        QCOMPARE(rows.front()[TrackField::Title], u("T"));
    }

    void readAlbumFileRefusesWhatIsNoFile()
    {
        QTemporaryDir dir;
        QVERIFY(album::readAlbumFile(dir.path()).error.has_value());
        QVERIFY(album::readAlbumFile(dir.filePath(u("missing.mdt"))).error.has_value());
        QVERIFY(album::readAlbumFile(u("/dev/zero")).error.has_value());

        const QString locked = dir.filePath(u("locked.mdt"));
        writeBytes(locked, "\"/a.mp3\"\r\n");
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        if (QFile(locked).open(QIODevice::ReadOnly))
            QSKIP("running with permission to read everything");
        QVERIFY(album::readAlbumFile(locked).error.has_value());
    }

    void readAlbumFileResolvesAndFindsLyrics()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(u("A"));
        QDir(dir.path()).mkpath(u("find"));
        writeBytes(dir.filePath(u("one.txt")), "");
        writeBytes(dir.filePath(u("find/two.txt")), "");
        writeBytes(dir.filePath(u("both.txt")), "");
        writeBytes(dir.filePath(u("find/both.txt")), "");
        const QString mdt = dir.filePath(u("A/list.mdt"));
        writeBytes(mdt, "\"..\\one.mp3\",\"\",\"1\"\r\n\"../two.mp3\",\"\",\"2\"\r\n"
                        "\"../both.mp3\",\"\",\"3\"\r\n\"../none.mp3\",\"\",\"4\"\r\n");
        LyricsProbe probe(dir.filePath(u("find")));
        const auto read = album::readAlbumFile(mdt, &probe);
        QVERIFY(!read.error);
        QCOMPARE(read.tracks.size(), size_t(4));
        QCOMPARE(read.tracks[0][TrackField::Path], dir.filePath(u("one.mp3")));
        QCOMPARE(read.tracks[0].lyrics, LyricsState::BesideTrack);
        QCOMPARE(read.tracks[1].lyrics, LyricsState::InFindFolder);
        QCOMPARE(read.tracks[2].lyrics, LyricsState::Both);
        QCOMPARE(read.tracks[3].lyrics, LyricsState::None);
    }

    void albumPathForEntry()
    {
        QCOMPARE(album::albumPathFor(u("b.mdt"), u("/lib/index.ini")), u("/lib/b.mdt"));
        QCOMPARE(album::albumPathFor(u("sub\\b.mdt"), u("/lib/index.ini")), u("/lib/sub/b.mdt"));
        QCOMPARE(album::albumPathFor(u("/abs/b.mdt"), u("/lib/index.ini")), u("/abs/b.mdt"));
    }

    void legacyList()
    {
        const QByteArray bytes = "\"C:\\m\\a.mp3\",\"Title\",\"Artist\",\"Comment\",\"4000000\"\r\n"
                                 "\r\n\"rel\\b.mp3\",\"T2\",\"A2\",\"C2\",\"3.45MB\"";
        QVERIFY(album::isLegacyTrackList(bytes));
        QVERIFY(album::isLegacyTrackList("\xEF\xBB\xBF\"x\""));
        QVERIFY(!album::isLegacyTrackList(";Tunovia  Index File\r\n"));
        QVERIFY(!album::isLegacyTrackList(""));
        const auto rows = album::parseLegacyList(bytes);
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(rows[0][TrackField::Path], u("C:/m/a.mp3"));
        QCOMPARE(rows[0][TrackField::Title], u("Title"));
        QCOMPARE(rows[0][TrackField::Comment], u("Comment"));
        QCOMPARE(rows[0][TrackField::Size], u("4000000"));
        QCOMPARE(rows[0][TrackField::Time], u("4分10秒"));
        QCOMPARE(rows[1][TrackField::Path], u("rel/b.mp3")); // kept relative
        QCOMPARE(rows[1][TrackField::Time], u("3分46秒"));
    }
};

QTEST_GUILESS_MAIN(TestAlbumFile)
#include "test_albumfile.moc"
