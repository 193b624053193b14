#include "tracks/findtotals.h"

#include <QTemporaryDir>
#include <QTest>

using namespace findtotals;

namespace {

TrackRecord row(const QString &title, const QString &artist, const QString &path = QString(),
                const QString &time = QString(), const QString &size = QString())
{
    TrackRecord r;
    r[TrackField::Title] = title;
    r[TrackField::Artist] = artist;
    r[TrackField::Album] = QStringLiteral("Album");
    r[TrackField::Comment] = QStringLiteral("comment");
    r[TrackField::Path] = path;
    r[TrackField::Time] = time;
    r[TrackField::Size] = size;
    return r;
}

FieldOf fieldsOf(const std::vector<TrackRecord> &rows)
{
    return [&rows](int i, TrackField f) { return rows[i][f]; };
}

using Flags = std::vector<bool>;

FindBoxes only(std::initializer_list<int> boxes)
{
    FindBoxes b{};
    for (int i : boxes)
        b[i] = true;
    return b;
}

} // namespace

Q_DECLARE_METATYPE(Flags)
Q_DECLARE_METATYPE(FindBoxes)

class TestFindTotals : public QObject {
    Q_OBJECT

private slots:
    void find_data();
    void find();
    void fiveColumnBoxes();
    void history();
    void historyStored();
    void playTimeText_data();
    void playTimeText();
    void sizeText_data();
    void sizeText();
    void totalMessage_data();
    void totalMessage();
    void panel_data();
    void panel();
    void totalsOverSelectedRows();
};

void TestFindTotals::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FindBoxes>("boxes");
    QTest::addColumn<Flags>("before");
    QTest::addColumn<Flags>("after");
    const FindBoxes def = defaultFindBoxes();
    QTest::newRow("abc in title and artist")
        << QStringLiteral("abc") << def << Flags(4, false) << Flags{true, true, false, false};
    QTest::newRow("upper key") << QStringLiteral("ABC") << def << Flags(4, false) << Flags{true, true, false, false};
    QTest::newRow("Japanese") << QStringLiteral("夜") << def << Flags(4, false) << Flags{false, false, true, false};
    QTest::newRow("only grows") << QStringLiteral("abc") << def << Flags{false, false, false, true}
                                << Flags{true, true, false, true};
    QTest::newRow("no match keeps selection")
        << QStringLiteral("zzz") << def << Flags{false, false, true, false} << Flags{false, false, true, false};
    QTest::newRow("path box only") << QStringLiteral("/music/") << only({12}) << Flags(4, false)
                                   << Flags{false, false, false, true};
    QTest::newRow("path not searched by default")
        << QStringLiteral("/music/") << def << Flags(4, false) << Flags(4, false);
    QTest::newRow("empty text selects all") << QString() << only({5}) << Flags(4, false) << Flags(4, true);
    QTest::newRow("no box, nothing") << QString() << FindBoxes{} << Flags(4, false) << Flags(4, false);
    // Only ASCII letters fold: "É" is not the upper case of "é" here.
    QTest::newRow("non-ASCII not folded") << QStringLiteral("É") << def << Flags(4, false) << Flags(4, false);
    QTest::newRow("short selection grows")
        << QStringLiteral("abc") << def << Flags{} << Flags{true, true, false, false};
}

void TestFindTotals::find()
{
    QFETCH(QString, text);
    QFETCH(FindBoxes, boxes);
    QFETCH(Flags, before);
    QFETCH(Flags, after);
    const std::vector<TrackRecord> rows{
        row(QStringLiteral("Xabcx"), QStringLiteral("Someone")),
        row(QStringLiteral("Other"), QStringLiteral("ABCDE")),
        row(QStringLiteral("夜明け"), QStringLiteral("café")),
        row(QStringLiteral("Plain"), QStringLiteral("Plain"), QStringLiteral("/music/plain.mp3")),
    };
    QCOMPARE(findRows(rows, before, text, boxes, false), after);
}

void TestFindTotals::fiveColumnBoxes()
{
    // In the five-column list box 3 is the comment and box 4 the path.
    QCOMPARE(fieldForBox(2, true), std::optional<TrackField>(TrackField::Comment));
    QCOMPARE(fieldForBox(3, true), std::optional<TrackField>(TrackField::Path));
    QCOMPARE(fieldForBox(4, true), std::nullopt);
    QCOMPARE(fieldForBox(12, false), std::optional<TrackField>(TrackField::Path));
    QCOMPARE(findBoxCaption(2, true), QStringLiteral("コメント"));
    QCOMPARE(findBoxCaption(2, false), QStringLiteral("アルバム"));
    QVERIFY(!findBoxEnabled(4, true) && findBoxEnabled(12, false));

    std::vector<TrackRecord> rows{row(QStringLiteral("t"), QStringLiteral("a"), QStringLiteral("/p/x.mp3"))};
    rows[0][TrackField::Album] = QStringLiteral("needle");
    // Box 3 checked: searches Comment, not Album; box 6 (time) is ignored.
    QCOMPARE(findRows(rows, {}, QStringLiteral("needle"), only({2, 5}), true), Flags{false});
    QCOMPARE(findRows(rows, {}, QStringLiteral("X.MP3"), only({3}), true), Flags{true});
}

void TestFindTotals::history()
{
    QStringList h{QStringLiteral("one"), QStringLiteral("Two"), QStringLiteral("three")};
    QCOMPARE(addToFindHistory(h, QStringLiteral("two")),
             (QStringList{QStringLiteral("one"), QStringLiteral("three"), QStringLiteral("two")}));
    QCOMPARE(addToFindHistory(h, QString()).last(), QString());

    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << QString::number(i);
    const QStringList eleven = addToFindHistory(ten, QStringLiteral("new"));
    QCOMPARE(eleven.size(), 10);
    QCOMPARE(eleven.first(), QStringLiteral("1"));
    QCOMPARE(eleven.last(), QStringLiteral("new"));
    // A repeat at full length drops nothing but moves the entry.
    const QStringList moved = addToFindHistory(ten, QStringLiteral("0"));
    QCOMPARE(moved.size(), 10);
    QCOMPARE(moved.first(), QStringLiteral("1"));
    QCOMPARE(moved.last(), QStringLiteral("0"));
}

void TestFindTotals::historyStored()
{
    QTemporaryDir dir;
    ProfileFile ini(dir.filePath(QStringLiteral("Tunov.ini")));
    QVERIFY(ini.writeString(QStringLiteral("Find"), QStringLiteral("History0"), QStringLiteral("a")).ok());
    QVERIFY(ini.writeString(QStringLiteral("Find"), QStringLiteral("History1"), QString()).ok());
    QVERIFY(ini.writeString(QStringLiteral("Find"), QStringLiteral("History2"), QStringLiteral("b")).ok());
    QVERIFY(ini.writeString(QStringLiteral("Find"), QStringLiteral("History9"), QStringLiteral("z")).ok());
    QCOMPARE(loadFindHistory(ini), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("z")}));

    QVERIFY(saveFindHistory(ini, addToFindHistory(loadFindHistory(ini), QStringLiteral("A"))).ok());
    QCOMPARE(ini.readString(QStringLiteral("Find"), QStringLiteral("History0"), QString()), QStringLiteral("b"));
    QCOMPARE(ini.readString(QStringLiteral("Find"), QStringLiteral("History2"), QString()), QStringLiteral("A"));
    // The old tenth entry does not come back as a duplicate.
    QCOMPARE(loadFindHistory(ini), (QStringList{QStringLiteral("b"), QStringLiteral("z"), QStringLiteral("A")}));
}

void TestFindTotals::playTimeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("plain") << QStringLiteral("3分30秒") << qint64(210);
    QTest::newRow("long") << QStringLiteral("75分00秒") << qint64(4500);
    QTest::newRow("blanks") << QStringLiteral(" 2分 5秒") << qint64(125);
    QTest::newRow("minutes only") << QStringLiteral("5分") << qint64(300);
    QTest::newRow("no 分") << QStringLiteral("12") << qint64(720);
    QTest::newRow("blank before 分") << QStringLiteral("1 分30秒") << qint64(60);
    QTest::newRow("text") << QStringLiteral("abc") << qint64(0);
    QTest::newRow("empty") << QString() << qint64(0);
}

void TestFindTotals::playTimeText()
{
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    QCOMPARE(parsePlayTime(text), seconds);
}

void TestFindTotals::sizeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("bytes");
    QTest::newRow("bytes") << QStringLiteral("1024") << qint64(1024);
    QTest::newRow("over 2 GB") << QStringLiteral("3000000000") << qint64(3000000000LL);
    QTest::newRow("KB") << QStringLiteral("3KB") << qint64(3072);
    QTest::newRow("MB with blank") << QStringLiteral("2 MB") << qint64(2097152);
    QTest::newRow("fraction MB") << QStringLiteral("1.5MB") << qint64(1572864);
    QTest::newRow("fraction KB") << QStringLiteral("2.5 KB") << qint64(2560);
    QTest::newRow("last unit wins") << QStringLiteral("1K M") << qint64(1048576);
    QTest::newRow("dot without unit") << QStringLiteral("1.234") << qint64(1234);
    QTest::newRow("garbage") << QStringLiteral("12x") << qint64(0);
    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("two points") << QStringLiteral("1.2.3MB") << qint64(0);
}

void TestFindTotals::sizeText()
{
    QFETCH(QString, text);
    QFETCH(qint64, bytes);
    QCOMPARE(parseSizeBytes(text), bytes);
}

void TestFindTotals::totalMessage_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << QStringLiteral("0分 00秒");
    QTest::newRow("59") << qint64(59) << QStringLiteral("0分 59秒");
    QTest::newRow("3:30 + 2:45") << qint64(375) << QStringLiteral("6分 15秒");
    QTest::newRow("3599") << qint64(3599) << QStringLiteral("59分 59秒");
    QTest::newRow("3600") << qint64(3600) << QStringLiteral("1時間 00分 00秒");
    QTest::newRow("3725") << qint64(3725) << QStringLiteral("1時間 02分 05秒");
    QTest::newRow("100 h") << qint64(360000) << QStringLiteral("100時間 00分 00秒");
}

void TestFindTotals::totalMessage()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(totalTimeMessage(seconds), text);
}

void TestFindTotals::panel_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    const qint64 t = 3725;
    QTest::newRow("1") << 1 << t << qint64(0) << QStringLiteral("1:02:05") << 44;
    QTest::newRow("2") << 2 << t << qint64(0) << QStringLiteral("合計：1:02:05") << 75;
    QTest::newRow("3") << 3 << t << qint64(0) << QStringLiteral("1時間02分05秒") << 90;
    QTest::newRow("4") << 4 << t << qint64(0) << QStringLiteral("合計：1時間02分05秒") << 119;
    QTest::newRow("5") << 5 << t << qint64(0) << QStringLiteral("1h02m05s") << 63;
    QTest::newRow("6") << 6 << t << qint64(0) << QStringLiteral("Total:1h02m05s") << 90;
    QTest::newRow("7") << 7 << t << qint64(0) << QStringLiteral("1h02min05sec") << 83;
    QTest::newRow("8") << 8 << t << qint64(0) << QStringLiteral("Total:1h02min05sec") << 111;
    QTest::newRow("1 at 0") << 1 << qint64(0) << qint64(0) << QStringLiteral("0:00:00") << 44;
    QTest::newRow("1 at 59") << 1 << qint64(59) << qint64(0) << QStringLiteral("0:00:59") << 44;
    QTest::newRow("1 at 1 h") << 1 << qint64(3600) << qint64(0) << QStringLiteral("1:00:00") << 44;
    QTest::newRow("9") << 9 << t << qint64(3072) << QStringLiteral("3072") << 65;
    QTest::newRow("9 over 2 GB") << 9 << t << qint64(3000001024LL) << QStringLiteral("3000001024") << 65;
    QTest::newRow("10") << 10 << t << qint64(3072) << QStringLiteral("   3.00KB") << 65;
    QTest::newRow("10 wide") << 10 << t << qint64(3000000000LL) << QStringLiteral("2929687.50KB") << 65;
    QTest::newRow("11") << 11 << t << qint64(1572864) << QStringLiteral("   1.50MB") << 50;
    QTest::newRow("11 over 2 GB") << 11 << t << qint64(3LL << 30) << QStringLiteral("3072.00MB") << 50;
}

void TestFindTotals::panel()
{
    QFETCH(int, index);
    QFETCH(qint64, seconds);
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QFETCH(int, width);
    const std::optional<TotalPanelText> p = totalPanelText(index, seconds, bytes);
    QVERIFY(p);
    QCOMPARE(p->text, text);
    QCOMPARE(p->width, width);
    QCOMPARE(totalPanelShowsSize(index), index >= 9);
}

void TestFindTotals::totalsOverSelectedRows()
{
    QVERIFY(!totalPanelText(0, 10, 10));
    QVERIFY(!totalPanelText(12, 10, 10));
    QCOMPARE(totalPanelChoice(10), QStringLiteral("ファイルサイズの合計を表示 (KB)"));

    const std::vector<TrackRecord> rows{
        row(QStringLiteral("a"), {}, {}, QStringLiteral("3分30秒"), QStringLiteral("1500000000")),
        row(QStringLiteral("b"), {}, {}, QStringLiteral("2分45秒"), QStringLiteral("1500000000")),
        row(QStringLiteral("c"), {}, {}, QStringLiteral("60分00秒"), QStringLiteral("1024")),
    };
    const Flags sel{true, true, false};
    QCOMPARE(totalSeconds(3, fieldsOf(rows), sel, TrackField::Time), qint64(375));
    QCOMPARE(totalBytes(3, fieldsOf(rows), sel, TrackField::Size), qint64(3000000000LL));
    QCOMPARE(totalBytes(3, fieldsOf(rows), Flags{false, false, true}, TrackField::Size), qint64(1024));
    QCOMPARE(totalSeconds(3, fieldsOf(rows), Flags{}, TrackField::Time), qint64(0));
}

QTEST_GUILESS_MAIN(TestFindTotals)
#include "test_findtotals.moc"
