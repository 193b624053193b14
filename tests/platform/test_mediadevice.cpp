#include "platform/fakemediadevice.h"
#include "platform/qtmediadevice.h"
#include "support/audiofiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz frames whose side information is
// all zero: every decoder plays them as silence.
QByteArray silentMp3(int frames)
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x00);
    return frame.repeated(frames);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace

class TestMediaDevice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fakeOpenOutcomes_data();
    void fakeOpenOutcomes();
    void fakeClock();
    void fakeNoOutputDevice();
    void closedDeviceRefusesCommands();
    void realDevicePlays_data();
    void realDevicePlays();
    void realDeviceRejectsBadFiles_data();
    void realDeviceRejectsBadFiles();

private:
    QTemporaryDir m_dir;
};

void TestMediaDevice::initTestCase()
{
    // Test machines have no sound card; the back end's silent sink will do.
    qputenv("TUNOVIA_NULL_AUDIO", "1");
}

void TestMediaDevice::fakeOpenOutcomes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("error");
    QTest::addColumn<qint64>("length");

    QTest::newRow("one second at 128 kbit/s") << "a.mp3" << 16000 << true << 0 << qint64(1000);
    QTest::newRow("rounds down") << "b.mp3" << 16015 << true << 0 << qint64(1000);
    QTest::newRow("empty file") << "c.mp3" << 0 << true << 0 << qint64(0);
    QTest::newRow("unsupported") << "d.BAD" << 16000 << false << 277 << qint64(0);
    QTest::newRow("missing") << "" << -1 << false << 275 << qint64(0);
}

void TestMediaDevice::fakeOpenOutcomes()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(bool, ok);
    QFETCH(int, error);
    QFETCH(qint64, length);

    const QString path =
        size >= 0 ? writeFile(m_dir, name, QByteArray(size, 'x')) : m_dir.filePath(QStringLiteral("none.mp3"));
    FakeMediaDevice dev(true);
    QCOMPARE(dev.open(path), ok);
    QCOMPARE(dev.lastError(), error);
    QCOMPARE(dev.isOpen(), ok);
    QCOMPARE(dev.length(), length);
    QCOMPARE(dev.openHistory().size(), ok ? 1 : 0);
}

void TestMediaDevice::fakeClock()
{
    const QString path = writeFile(m_dir, QStringLiteral("clock.mp3"), QByteArray(16000 * 3, 'x'));
    FakeMediaDevice dev(true);
    QVERIFY(dev.open(path));
    QVERIFY(!dev.isPlaying());
    dev.advance(500);
    QCOMPARE(dev.position(), 0); // not playing: the clock does not count

    QVERIFY(dev.play());
    dev.advance(1200);
    QCOMPARE(dev.position(), 1200);
    QVERIFY(dev.stop());
    dev.advance(700);
    QCOMPARE(dev.position(), 1200); // a stop keeps the position
    QVERIFY(dev.play());
    dev.advance(300);
    QCOMPARE(dev.position(), 1500);

    QVERIFY(dev.seek(2900));
    dev.advance(500);
    QCOMPARE(dev.position(), 3000); // never past the end
    QVERIFY(!dev.isPlaying());

    QVERIFY(dev.play()); // at the end, play starts over
    dev.advance(100);
    QCOMPARE(dev.position(), 100);
    QVERIFY(dev.seekToEnd());
    QCOMPARE(dev.position(), dev.length());
    QVERIFY(!dev.isPlaying());

    dev.close();
    QCOMPARE(dev.position(), 0);
    QCOMPARE(dev.length(), 0);
}

void TestMediaDevice::fakeNoOutputDevice()
{
    const QString path = writeFile(m_dir, QStringLiteral("dev.mp3"), QByteArray(100, 'x'));
    FakeMediaDevice dev(true);
    dev.setNoOutputDevice(true);
    QVERIFY(!dev.open(path));
    QCOMPARE(dev.lastError(), 263);
}

void TestMediaDevice::closedDeviceRefusesCommands()
{
    FakeMediaDevice fake(true);
    QtMediaDevice real;
    for (MediaDevice *dev : {static_cast<MediaDevice *>(&fake), static_cast<MediaDevice *>(&real)}) {
        QVERIFY(!dev->play());
        QCOMPARE(dev->lastError(), int(MediaDevice::NotOpen));
        QVERIFY(!dev->seek(10));
        QVERIFY(!dev->seekToEnd());
        QVERIFY(!dev->stop());
        QCOMPARE(dev->position(), 0);
        QVERIFY(!dev->isPlaying());
    }
}

void TestMediaDevice::realDevicePlays_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("length");
    QTest::newRow("wav") << "silence.wav" << silentWav(1500) << qint64(1500);
    QTest::newRow("mp3") << "silence.mp3" << silentMp3(58) << qint64(58 * 1152 * 1000 / 44100);
}

void TestMediaDevice::realDevicePlays()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, length);
    const QString path = writeFile(m_dir, name, bytes);
    QtMediaDevice dev;
    if (!dev.open(path)) {
        if (dev.lastError() == MediaDevice::NoOutputDevice)
            QSKIP("no audio output device");
        if (dev.lastError() == MediaDevice::UnsupportedFile)
            QSKIP("no decoder for this format in the media back end");
        QFAIL(qPrintable(QStringLiteral("open failed with %1").arg(dev.lastError())));
    }
    QCOMPARE(dev.fileName(), path);
    QVERIFY2(qAbs(dev.length() - length) <= 60, qPrintable(QString::number(dev.length())));

    QVERIFY(dev.play());
    QTRY_VERIFY_WITH_TIMEOUT(dev.position() > 200, 5000);
    QVERIFY(dev.isPlaying());
    QVERIFY(dev.stop());
    QTRY_VERIFY_WITH_TIMEOUT(!dev.isPlaying(), 2000);
    const qint64 paused = dev.position();
    QTest::qWait(300);
    QVERIFY(qAbs(dev.position() - paused) < 50);

    // Natural end: the position reaches the length and playing stops.
    QVERIFY(dev.play());
    QTRY_VERIFY_WITH_TIMEOUT(!dev.isPlaying(), 5000);
    QCOMPARE(dev.position(), dev.length());

    QVERIFY(dev.seek(0));
    QVERIFY(dev.play());
    QVERIFY(dev.seekToEnd());
    QVERIFY(!dev.isPlaying());
    QCOMPARE(dev.position(), dev.length());
    dev.close();
    QVERIFY(!dev.isOpen());
}

void TestMediaDevice::realDeviceRejectsBadFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");
    QTest::newRow("text") << QByteArray("this is not audio at all\n").repeated(200) << 277;
    QTest::newRow("zero bytes") << QByteArray() << 277;
    QTest::newRow("truncated header") << silentWav(1000).left(20) << 277;
    QTest::newRow("random bytes") << noiseBytes(20000) << 277;
}

void TestMediaDevice::realDeviceRejectsBadFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    QtMediaDevice dev(3000);
    const QString missing = m_dir.filePath(QStringLiteral("missing.mp3"));
    QVERIFY(!dev.open(missing));
    QCOMPARE(dev.lastError(), int(MediaDevice::FileNotFound));

    const QString path = writeFile(m_dir, QStringLiteral("bad.mp3"), bytes);
    QElapsedTimer t;
    t.start();
    const bool ok = dev.open(path);
    if (dev.lastError() == MediaDevice::NoOutputDevice)
        QSKIP("no audio output device");
    QVERIFY(!ok);
    QCOMPARE(dev.lastError(), error);
    QVERIFY(!dev.isOpen());
    QVERIFY(t.elapsed() < 3500);

    // The failure stays with that file: a valid one opens and plays after it.
    QVERIFY2(dev.open(demoMp3()), qPrintable(QString::number(dev.lastError())));
    QCOMPARE(dev.lastError(), 0);
    QVERIFY(dev.play());
    QTRY_VERIFY_WITH_TIMEOUT(dev.position() > 100, 5000);
}

QTEST_GUILESS_MAIN(TestMediaDevice)
#include "test_mediadevice.moc"
