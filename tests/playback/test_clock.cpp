#include "playback/clock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace playback;

class TestClock : public QObject {
    Q_OBJECT

private slots:
    void timeText_data();
    void timeText();
    void digitsAndHint_data();
    void digitsAndHint();
    void displaySetsBlankOnceAndRedrawsOnChange();
    void dosStamp_data();
    void dosStamp();
    void scmpxTitle_data();
    void scmpxTitle();
    void scmpxInterpolation();
    void rowForName();
    void dataFilePath();
    void dataFileContent_data();
    void dataFileContent();
    void dataFileWatcher();
};

void TestClock::timeText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("hundredths truncate") << qint64(9) << "00:00:00";
    QTest::newRow("example") << qint64(754321) << "12:34:32";
    QTest::newRow("minute boundary") << qint64(59999) << "00:59:99";
    QTest::newRow("over 99 minutes") << qint64(100 * 60000 + 1010) << "100:01:01";
    QTest::newRow("no time") << qint64(-1) << "00:00:00";
}

void TestClock::timeText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(playback::timeText(ms), text);
}

void TestClock::digitsAndHint_data()
{
    QTest::addColumn<qint64>("pos");
    QTest::addColumn<qint64>("len");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shown");
    QTest::newRow("example") << qint64(754321) << qint64(245) << " 1234"
                             << " 04:05"
                             << "1234";
    QTest::newRow("start") << qint64(999) << qint64(0) << " 0000"
                           << " 00:00"
                           << "0000";
    QTest::newRow("99:59") << qint64(5999999) << qint64(6000) << " 9959"
                           << " 100:00"
                           << "9959";
    QTest::newRow("over 99 minutes shows chars 1-4") << qint64(6000000) << qint64(7200) << " 10000"
                                                     << " 120:00"
                                                     << "1000";
}

void TestClock::digitsAndHint()
{
    QFETCH(qint64, pos);
    QFETCH(qint64, len);
    QFETCH(QString, digits);
    QFETCH(QString, hint);
    QFETCH(QString, shown);
    QCOMPARE(digitsText(pos), digits);
    QCOMPARE(hintText(len), hint);
    const auto v = digitValues(digits);
    QCOMPARE(QString::asprintf("%d%d%d%d", v[0], v[1], v[2], v[3]), shown);
}

void TestClock::displaySetsBlankOnceAndRedrawsOnChange()
{
    TimeDisplay d;
    auto u = d.update(-1, -1);
    QVERIFY(u.redraw);
    QCOMPARE(u.digits, (std::array<int, 4>{0, 0, 0, 0}));
    QCOMPARE(u.hint, QStringLiteral(" --:--"));
    QVERIFY(d.blankShown());
    u = d.update(5000, -1); // either value missing means no time
    QVERIFY(!u.redraw);
    QCOMPARE(u.hint, QStringLiteral(" --:--"));

    u = d.update(754321, 245);
    QVERIFY(u.redraw);
    QCOMPARE(u.digits, (std::array<int, 4>{1, 2, 3, 4}));
    QCOMPARE(u.hint, QStringLiteral(" 04:05"));
    QVERIFY(!d.blankShown());
    u = d.update(754999, 245); // same second: pictures stay
    QVERIFY(!u.redraw);
    QCOMPARE(u.hint, QStringLiteral(" 04:05"));
    QVERIFY(d.update(755000, 245).redraw);

    // Back from blank to the very same time: it must be drawn again.
    QVERIFY(d.update(-1, -1).redraw);
    QVERIFY(d.update(755000, 245).redraw);
}

void TestClock::dosStamp_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("stamp");
    QTest::newRow("plain") << QDateTime(QDate(2003, 7, 9), QTime(8, 5, 59)) << "230709080529";
    QTest::newRow("odd second halves down") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 1)) << "191231235900";
    QTest::newRow("epoch") << QDateTime(QDate(1980, 1, 1), QTime(0, 0, 0)) << "000101000000";
    QTest::newRow("before 1980 clamps") << QDateTime(QDate(1970, 6, 1), QTime(12, 0, 0)) << "000101000000";
    QTest::newRow("three-digit year") << QDateTime(QDate(2085, 2, 3), QTime(4, 5, 6)) << "1050203040503";
}

void TestClock::dosStamp()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, stamp);
    QCOMPARE(playback::dosStamp(time), stamp);
}

void TestClock::scmpxTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("idle");
    QTest::addColumn<QString>("name");
    QTest::newRow("playing") << "12. Song Title.mp3 - SCMPX" << false << "Song Title.mp3";
    QTest::newRow("japanese") << "3. 夜空.mp3 - SCMPX" << false << "夜空.mp3";
    QTest::newRow("idle") << "SCMPX" << true << "";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("no space") << "1.x.mp3-SCMPX!!" << false << "";
    QTest::newRow("too short") << "1. - SCMPX" << false << "";
}

void TestClock::scmpxTitle()
{
    QFETCH(QString, title);
    QFETCH(bool, idle);
    QFETCH(QString, name);
    QCOMPARE(isScmpxIdle(title), idle);
    QCOMPARE(scmpxFileName(title), name);
}

void TestClock::scmpxInterpolation()
{
    ScmpxInterpolator s;
    QList<qint64> got;
    for (int i = 0; i < 5; ++i)
        got << s.next(5000);
    QCOMPARE(got, (QList<qint64>{5000, 5100, 5200, 5300, 5400}));
    QCOMPARE(s.next(6000), 6000); // a new report starts over
    for (int i = 0; i < 10; ++i)
        s.next(6000);
    QCOMPARE(s.next(6000), 7100); // counter went past 1000 ...
    QCOMPARE(s.next(6000), 6000); // ... and wraps to 0
}

void TestClock::rowForName()
{
    const QStringList rows{QStringLiteral("/m/a/One.mp3"), QStringLiteral("C:\\old\\two.MP3"),
                           QStringLiteral("/m/b/one.mp3"), QStringLiteral("three.mp3")};
    QCOMPARE(playback::rowForName(rows, QStringLiteral("one.mp3")), 0);
    QCOMPARE(playback::rowForName(rows, QStringLiteral("TWO.mp3")), 1);
    QCOMPARE(playback::rowForName(rows, QStringLiteral("three.mp3")), 3);
    QCOMPARE(playback::rowForName(rows, QStringLiteral("four.mp3")), 4);
    QCOMPARE(playback::rowForName({}, QStringLiteral("x")), 0);
}

void TestClock::dataFilePath()
{
    QCOMPARE(DataFileWatcher::pathFor(QStringLiteral("/opt/winamp/winamp.exe")),
             QStringLiteral("/opt/winamp/Tunov.dat"));
    QCOMPARE(DataFileWatcher::pathFor(QStringLiteral("C:\\Winamp\\winamp.exe")), QStringLiteral("C:/Winamp/Tunov.dat"));
    QCOMPARE(DataFileWatcher::pathFor(QStringLiteral("winamp")), QStringLiteral("Tunov.dat"));
}

void TestClock::dataFileContent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("path"); // empty: nothing to load
    QTest::newRow("path and LF") << QByteArray("/m/a b.mp3\n") << "/m/a b.mp3";
    QTest::newRow("CR LF") << QByteArray("/m/a.mp3\r\n") << "/m/a.mp3";
    QTest::newRow("no line end keeps last char") << QByteArray("/m/a.mp3") << "/m/a.mp3";
    QTest::newRow("only the first line") << QByteArray("/m/a.mp3\n/m/b.mp3\n") << "/m/a.mp3";
    QTest::newRow("CP932") << QByteArray("/m/\x89\xCC.mp3\n") << QStringLiteral("/m/歌.mp3");
    QTest::newRow("null") << QByteArray("(null)\n") << "";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("only LF") << QByteArray("\n") << "";
}

void TestClock::dataFileContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, path);
    const auto got = DataFileWatcher::parseContent(bytes);
    QCOMPARE(got.value_or(QString()), path);
}

void TestClock::dataFileWatcher()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tunov.dat"));
    DataFileWatcher w(path);
    QString marker;
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::Unreadable);
    QVERIFY(marker.isEmpty());

    auto write = [&](const QByteArray &bytes, const QDateTime &mtime) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.flush();
        QVERIFY(f.setFileTime(mtime, QFileDevice::FileModificationTime));
    };
    const QDateTime t0(QDate(2020, 5, 6), QTime(10, 20, 30));
    write("/m/one.mp3\n", t0);
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::Changed);
    QCOMPARE(w.playingFile(), QStringLiteral("/m/one.mp3"));
    QCOMPARE(w.stamp(), QStringLiteral("400506102015"));
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::Unchanged);

    // Rewritten within the same two-second step: still noticed.
    write("/m/two.mp3\n", t0.addMSecs(700));
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::Changed);
    QCOMPARE(w.playingFile(), QStringLiteral("/m/two.mp3"));
    QCOMPARE(w.stamp(), QStringLiteral("400506102015"));

    write("(null)\n", t0.addSecs(4));
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::NoFile);
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::Unchanged); // not re-read

    // A marker set by another player (a playlist entry) forces a re-read.
    write("/m/one.mp3\n", t0.addSecs(8));
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::Changed);
    marker = QStringLiteral("/m/other.mp3");
    QCOMPARE(w.poll(marker), DataFileWatcher::Result::Changed);
    QCOMPARE(w.playingFile(), QStringLiteral("/m/one.mp3"));
}

QTEST_GUILESS_MAIN(TestClock)
#include "test_clock.moc"
