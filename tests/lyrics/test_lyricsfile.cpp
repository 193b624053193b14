#include "lyrics/lyricsfile.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using lyrics::Line;

namespace {

QString joinTags(const lyrics::Lyrics &l)
{
    QStringList out;
    for (const Line &line : l.lines)
        out << line.tag;
    return out.join(u'|');
}

QString joinTexts(const lyrics::Lyrics &l)
{
    QStringList out;
    for (const Line &line : l.lines)
        out << line.text;
    return out.join(u'|');
}

const QByteArray kSong = "My Song\r\n[00:10:00]first\r\n[00:15:50]second\r\n\r\n[00:20:00]third\r\n";

} // namespace

class TestLyricsFile : public QObject {
    Q_OBJECT

private slots:
    void formatTable_data();
    void formatTable();
    void caption_data();
    void caption();
    void encodings_data();
    void encodings();
    void longFieldsKeptWhole();
    void followTime_data();
    void followTime();
    void followTimeKeepsSelectionWhenNothingQualifies();
    void readFileMissing();
    void centredTopRow();
};

void TestLyricsFile::formatTable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("tags"); // without the leading 00:00 and trailing 99:99 pairs
    QTest::addColumn<QString>("texts");

    QTest::newRow("example song") << kSong << "99:99|00:10:00|00:15:50|99:99|00:20:00"
                                  << "My Song|first|second||third";
    QTest::newRow("LF only, no final line end") << QByteArray("ab\n[1]cd") << "99:99|1"
                                                << "ab|cd";
    QTest::newRow("lone CR ends lines too") << QByteArray("ab\r[1]cd\r\rx\r") << "99:99|1|99:99"
                                            << "ab|cd|";
    QTest::newRow("one character adds nothing") << QByteArray("a\n[\nb") << ""
                                                << "";
    QTest::newRow("one double-byte character is a line")
        << QByteArray("\xE3\x81\x82\n") << "99:99" << QString::fromUtf8("\xE3\x81\x82");
    QTest::newRow("bracket without close") << QByteArray("[00:10:00 no close\nok") << "99:99"
                                           << "ok";
    QTest::newRow("empty tag and empty text") << QByteArray("[]\n[x]") << "|x"
                                              << "|";
    QTest::newRow("first close bracket ends the tag") << QByteArray("[00:01]a]b[c]") << "00:01"
                                                      << "a]b[c]";
    QTest::newRow("close bracket at position 0 only") << QByteArray("]x") << "99:99"
                                                      << "]x";
    QTest::newRow("odd tags kept as written") << QByteArray("[99:99:99]late\n[aa:bb:cc]odd") << "99:99:99|aa:bb:cc"
                                              << "late|odd";
    QTest::newRow("empty file") << QByteArray() << ""
                                << "";
    QTest::newRow("only line ends") << QByteArray("\r\n\n") << "99:99|99:99"
                                    << "|";
    QTest::newRow("NUL bytes dropped") << QByteArray("[0\0001]a\0b\n", 9) << "01"
                                       << "ab";
}

void TestLyricsFile::formatTable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, tags);
    QFETCH(QString, texts);

    const lyrics::Lyrics l = lyrics::parse(bytes);
    QVERIFY(l.lines.size() >= 2);
    QCOMPARE(l.lines.first(), (Line{QStringLiteral("00:00"), QStringLiteral(" ")}));
    QCOMPARE(l.lines.last(), (Line{QStringLiteral("99:99"), QStringLiteral(" ")}));
    const lyrics::Lyrics inner{l.lines.mid(1, l.lines.size() - 2), {}};
    QCOMPARE(joinTags(inner), tags);
    QCOMPARE(joinTexts(inner), texts);
}

void TestLyricsFile::caption_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("has");
    QTest::addColumn<QString>("caption");

    QTest::newRow("title line") << kSong << true << "My Song";
    QTest::newRow("tagged first line") << QByteArray("[00:01]x\nTitle") << true << "Lyrics";
    QTest::newRow("unclosed bracket still counts") << QByteArray("[abc\nTitle") << true << "Lyrics";
    QTest::newRow("short and empty lines skipped") << QByteArray("\na\nTitle\nOther") << true << "Title";
    QTest::newRow("no line long enough") << QByteArray("\nx\n") << false << "";
}

void TestLyricsFile::caption()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, has);
    QFETCH(QString, caption);
    const lyrics::Lyrics l = lyrics::parse(bytes);
    QCOMPARE(l.caption.has_value(), has);
    if (has)
        QCOMPARE(*l.caption, caption);
}

void TestLyricsFile::encodings_data()
{
    const QString text = QStringLiteral("[00:01:00]夜空ノムコウ\r\n表示～テスト\r\n");
    QTest::addColumn<QByteArray>("bytes");

    QStringEncoder sjis("Windows-31J");
    QStringEncoder le(QStringConverter::Utf16LE);
    QStringEncoder be(QStringConverter::Utf16BE);
    QTest::newRow("CP932") << QByteArray(sjis.encode(text));
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBF" + text.toUtf8());
    QTest::newRow("UTF-16LE BOM") << QByteArray("\xFF\xFE" + QByteArray(le.encode(text)));
    QTest::newRow("UTF-16BE BOM") << QByteArray("\xFE\xFF" + QByteArray(be.encode(text)));
}

void TestLyricsFile::encodings()
{
    QFETCH(QByteArray, bytes);
    const lyrics::Lyrics l = lyrics::parse(bytes);
    QCOMPARE(l.lines.size(), 4);
    QCOMPARE(l.lines.at(1), (Line{QStringLiteral("00:01:00"), QStringLiteral("夜空ノムコウ")}));
    QCOMPARE(l.lines.at(2), (Line{QStringLiteral("99:99"), QStringLiteral("表示～テスト")}));
    QCOMPARE(*l.caption, QStringLiteral("Lyrics"));
}

void TestLyricsFile::longFieldsKeptWhole()
{
    const QByteArray tag(150, '1');
    const QByteArray text(5000, 'x');
    const QByteArray longLine(2000, 'y');
    const lyrics::Lyrics l = lyrics::parse("[" + tag + "]" + text + "\n" + longLine + "\nend");
    QCOMPARE(l.lines.size(), 5);
    QCOMPARE(l.lines.at(1).tag.toLatin1(), tag);
    QCOMPARE(l.lines.at(1).text.toLatin1(), text);
    QCOMPARE(l.lines.at(2).text.toLatin1(), longLine);
    QCOMPARE(l.lines.at(3).text, QStringLiteral("end"));
}

void TestLyricsFile::followTime_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("index");

    // Lines of kSong: 0 " ", 1 My Song, 2 first, 3 second, 4 "", 5 third, 6 " ".
    QTest::newRow("before first tag") << kSong << "00:05:00:00" << 0;
    QTest::newRow("just before second") << kSong << "00:15:49:99" << 2;
    QTest::newRow("exactly at second") << kSong << "00:15:50:00" << 3;
    QTest::newRow("clock form exactly") << kSong << "00:10:00" << 2;
    QTest::newRow("after last tag") << kSong << "00:25:00:00" << 5;
    QTest::newRow("untimed lines never chosen") << kSong << "98:59:99" << 5;
    QTest::newRow("mm:ss tag from its second on") << QByteArray("[00:12]x") << "00:12:00:00" << 1;
    QTest::newRow("mm:ss tag not before it") << QByteArray("[00:12]x") << "00:11:99" << 0;
    QTest::newRow("later duplicate wins") << QByteArray("[00:01]a\n[00:01]b") << "00:02:00" << 2;
    QTest::newRow("out of order: last qualifying from the end")
        << QByteArray("[00:30]a\n[00:10]b\n[00:20]c") << "00:25:00" << 3;
}

void TestLyricsFile::followTime()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, time);
    QFETCH(int, index);
    QCOMPARE(lyrics::lineForTime(lyrics::parse(bytes).lines, time), index);
}

void TestLyricsFile::followTimeKeepsSelectionWhenNothingQualifies()
{
    const QList<Line> lines{{QStringLiteral("00:10"), QStringLiteral("a")},
                            {QStringLiteral("99:99"), QStringLiteral(" ")}};
    QCOMPARE(lyrics::lineForTime(lines, QStringLiteral("00:09:99")), -1);
    QCOMPARE(lyrics::lineForTime({}, QStringLiteral("00:00:00")), -1);
}

void TestLyricsFile::readFileMissing()
{
    QTemporaryDir dir;
    QVERIFY(!lyrics::readFile(dir.filePath(QStringLiteral("none.txt"))).ok());
    QFile f(dir.filePath(QStringLiteral("song.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kSong);
    f.close();
    const auto l = lyrics::readFile(f.fileName());
    QVERIFY(l.ok());
    QCOMPARE(l->lines.size(), 7);
}

void TestLyricsFile::centredTopRow()
{
    QCOMPARE(lyrics::centredTopRow(3, 15), 0);
    QCOMPARE(lyrics::centredTopRow(7, 15), 0);
    QCOMPARE(lyrics::centredTopRow(8, 15), 1);
    QCOMPARE(lyrics::centredTopRow(20, 16), 12);
    QCOMPARE(lyrics::centredTopRow(-1, 15), 0);
}

QTEST_GUILESS_MAIN(TestLyricsFile)
#include "test_lyricsfile.moc"
