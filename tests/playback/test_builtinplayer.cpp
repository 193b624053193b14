#include "platform/fakemediadevice.h"
#include "platform/qtmediadevice.h"
#include "playback/builtinplayer.h"
#include "support/audiofiles.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <utility>

namespace {

struct Report {
    QString title;
    QString text;
    bool withCancel;
};

class RecordingSink final : public PlayerFailureSink {
public:
    QList<Report> reports;
    QStringList exceptions;
    QList<bool> answers;                // OK = true; OK when none is left
    std::function<void()> whileShowing; // runs once, as if from the box's event loop

    bool showFailure(const QString &title, const QString &text, bool withCancel) override
    {
        reports.append({title, text, withCancel});
        if (auto hook = std::exchange(whileShowing, nullptr))
            hook();
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    void showException(const QString &text) override
    {
        exceptions.append(text);
        if (auto hook = std::exchange(whileShowing, nullptr))
            hook();
    }
};

// A device whose open() lets other events run first, as a real back end's
// nested event loop does.
class SlowOpenDevice final : public MediaDevice {
public:
    explicit SlowOpenDevice(FakeMediaDevice &inner) : m_inner(inner) {}
    std::function<void()> whileOpening;

    bool open(const QString &file) override
    {
        if (auto hook = std::exchange(whileOpening, nullptr))
            hook();
        return m_inner.open(file);
    }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    QString fileName() const override { return m_inner.fileName(); }
    bool play() override { return m_inner.play(); }
    bool stop() override { return m_inner.stop(); }
    bool seek(qint64 ms) override { return m_inner.seek(ms); }
    bool seekToEnd() override { return m_inner.seekToEnd(); }
    qint64 position() const override { return m_inner.position(); }
    qint64 length() const override { return m_inner.length(); }
    bool isPlaying() const override { return m_inner.isPlaying(); }
    void setVolume(int percent) override { m_inner.setVolume(percent); }
    int volume() const override { return m_inner.volume(); }
    int lastError() const override { return m_inner.lastError(); }

private:
    FakeMediaDevice &m_inner;
};

} // namespace

class TestBuiltinPlayer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loopsOverPlaylist();
    void nextSeeksToEndAndTickMovesOn();
    void previousWrapsToLast();
    void handOverKeepsPositionInRange_data();
    void handOverKeepsPositionInRange();
    void emptyHandOverResumesOldPlaylist();
    void transportNeedsStart();
    void stopThenPlayRestarts();
    void pauseToggleKeepsPosition();
    void failureOutcomes_data();
    void failureOutcomes();
    void nothingToPlayIsNotAFailure();
    void unsupportedFileOkSkipsToNext();
    void failureWhilePlayingStopsPlayer();
    void previousFailureIsReportedAsException();
    void stopAndClose();
    void eventsDuringAnOpenDoNotOpenAnotherFile_data();
    void eventsDuringAnOpenDoNotOpenAnotherFile();
    void stopAndCloseDuringAnOpenIsNotAFailure_data();
    void stopAndCloseDuringAnOpenIsNotAFailure();
    void transportDuringAnOpenActsOnTheNewFile_data();
    void transportDuringAnOpenActsOnTheNewFile();
    void stopAndCloseWhileAFailureShows_data();
    void stopAndCloseWhileAFailureShows();
    void realTimerTicks();
    void realDeviceLoops();
    void realDeviceAfterAnUndecodableFile_data();
    void realDeviceAfterAnUndecodableFile();
    void realDevicePreviousOntoAnUndecodableFile();

private:
    QString file(const QString &name, int bytes = 16000 * 2);
    QString noiseFile(); // undecodable, named .mp3
    void advanceAndTick(qint64 ms);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeMediaDevice> m_dev;
    std::unique_ptr<RecordingSink> m_sink;
    std::unique_ptr<BuiltinPlayer> m_player;
    QStringList m_three;
};

QString TestBuiltinPlayer::file(const QString &name, int bytes)
{
    QString path = m_dir->filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(QByteArray(bytes, 'x'));
    return path;
}

QString TestBuiltinPlayer::noiseFile()
{
    QString path = m_dir->filePath(QStringLiteral("noise.mp3"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(noiseBytes(20000));
    return path;
}

void TestBuiltinPlayer::advanceAndTick(qint64 ms)
{
    m_dev->advance(ms);
    m_player->tick();
}

void TestBuiltinPlayer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_dev = std::make_unique<FakeMediaDevice>(true);
    m_sink = std::make_unique<RecordingSink>();
    m_player = std::make_unique<BuiltinPlayer>(*m_dev, *m_sink);
    m_three = {file(QStringLiteral("1.mp3")), file(QStringLiteral("2.mp3")), file(QStringLiteral("3.mp3"))};
}

void TestBuiltinPlayer::cleanup()
{
    m_player.reset();
    m_sink.reset();
    m_dev.reset();
    m_dir.reset();
}

void TestBuiltinPlayer::loopsOverPlaylist()
{
    QSignalSpy started(m_player.get(), &BuiltinPlayer::startedChanged);
    m_player->handOver(m_three);
    QVERIFY(m_player->isTimerActive());
    QVERIFY(!m_player->isStarted());
    m_player->tick();
    QVERIFY(m_player->isStarted());
    QCOMPARE(started.size(), 1);
    QVERIFY(m_dev->isPlaying());

    advanceAndTick(1999); // still inside the 2 s file
    QCOMPARE(m_dev->openHistory().size(), 1);
    for (int i = 0; i < 4; ++i)
        advanceAndTick(2000);
    QCOMPARE(m_dev->openHistory(), (QStringList{m_three[0], m_three[1], m_three[2], m_three[0], m_three[1]}));
    QCOMPARE(m_player->playlistPosition(), 1);
    QCOMPARE(m_player->currentFile(), m_three[1]);
    QVERIFY(m_sink->reports.isEmpty());
}

void TestBuiltinPlayer::nextSeeksToEndAndTickMovesOn()
{
    m_player->handOver(m_three);
    m_player->tick();
    m_player->next();
    QVERIFY(!m_dev->isPlaying());
    QCOMPARE(m_dev->openHistory().size(), 1); // the timer does the move
    m_player->tick();
    QCOMPARE(m_player->currentFile(), m_three[1]);
    QVERIFY(m_dev->isPlaying());
}

void TestBuiltinPlayer::previousWrapsToLast()
{
    m_player->handOver(m_three);
    m_player->tick();
    m_player->previous();
    QCOMPARE(m_player->playlistPosition(), 2);
    QCOMPARE(m_dev->fileName(), m_three[2]);
    QVERIFY(m_dev->isPlaying());
    m_player->previous();
    QCOMPARE(m_dev->fileName(), m_three[1]);
}

void TestBuiltinPlayer::handOverKeepsPositionInRange_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("startsAt");
    QTest::newRow("position 5 is out of range") << 5 << 0;
    QTest::newRow("position 2 is just out of range") << 2 << 0;
    QTest::newRow("position 1 is kept") << 1 << 1;
    QTest::newRow("negative") << -3 << 0;
}

void TestBuiltinPlayer::handOverKeepsPositionInRange()
{
    QFETCH(int, before);
    QFETCH(int, startsAt);
    m_player->setPlaylistPosition(before);
    m_player->handOver({m_three[0], m_three[1]});
    QCOMPARE(m_player->playlistPosition(), before); // not reset by the hand-over itself
    m_player->tick();
    QCOMPARE(m_player->playlistPosition(), startsAt);
    QCOMPARE(m_dev->fileName(), m_three[startsAt]);
}

void TestBuiltinPlayer::emptyHandOverResumesOldPlaylist()
{
    m_player->handOver(m_three);
    m_player->tick();
    advanceAndTick(2000);
    QCOMPARE(m_player->playlistPosition(), 1);
    m_player->stopAndClose();
    m_player->handOver({});
    QCOMPARE(m_player->playlist(), m_three);
    m_player->tick();
    QCOMPARE(m_dev->fileName(), m_three[1]);
}

void TestBuiltinPlayer::transportNeedsStart()
{
    m_player->handOver(m_three); // timer on, nothing opened yet
    m_player->previous();
    m_player->playRestart();
    m_player->pauseToggle();
    m_player->stop();
    m_player->next();
    QVERIFY(m_dev->openHistory().isEmpty());
    QCOMPARE(m_player->playlistPosition(), 0);
}

void TestBuiltinPlayer::stopThenPlayRestarts()
{
    m_player->handOver(m_three);
    m_player->tick();
    m_dev->advance(1500);
    m_player->stop();
    QCOMPARE(m_dev->position(), 0);
    QVERIFY(!m_dev->isPlaying());
    advanceAndTick(5000); // stopped: the timer waits
    QCOMPARE(m_dev->openHistory().size(), 1);
    m_player->playRestart();
    QVERIFY(m_dev->isPlaying());
    QCOMPARE(m_dev->fileName(), m_three[0]);
    m_dev->advance(700);
    m_player->playRestart(); // while playing: back to the start
    QCOMPARE(m_dev->position(), 0);
    QVERIFY(m_dev->isPlaying());
}

void TestBuiltinPlayer::pauseToggleKeepsPosition()
{
    m_player->handOver(m_three);
    m_player->tick();
    m_dev->advance(800);
    m_player->pauseToggle();
    QVERIFY(!m_dev->isPlaying());
    advanceAndTick(3000);
    QCOMPARE(m_dev->position(), 800);
    m_player->pauseToggle();
    m_dev->advance(200);
    QCOMPARE(m_dev->position(), 1000);
}

void TestBuiltinPlayer::failureOutcomes_data()
{
    QTest::addColumn<int>("kind"); // 0 unsupported, 1 no device, 2 missing file
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withCancel");
    QTest::addColumn<bool>("timerAfter");
    QTest::addColumn<int>("positionAfter");

    const QString unsupported = QStringLiteral("サポートされていないフォーマットです。\n「OK」で次の曲を再生します。");
    QTest::newRow("277 OK") << 0 << true << unsupported << true << true << 2;
    QTest::newRow("277 Cancel") << 0 << false << unsupported << true << false << 0;
    QTest::newRow("263") << 1 << true
                         << QStringLiteral("MP3 を再生するのに必要なデバイスがインストールされていません。") << false
                         << false << 0;
    QTest::newRow("other code") << 2 << true << QStringLiteral("未知のエラーです。ErrorCode(275)") << false << false
                                << 0;
}

void TestBuiltinPlayer::failureOutcomes()
{
    QFETCH(int, kind);
    QFETCH(bool, answer);
    QFETCH(QString, text);
    QFETCH(bool, withCancel);
    QFETCH(bool, timerAfter);
    QFETCH(int, positionAfter);

    QStringList list = m_three;
    if (kind == 0)
        list[1] = file(QStringLiteral("2.bad"));
    if (kind == 1)
        m_dev->setNoOutputDevice(true);
    if (kind == 2)
        list[1] = m_dir->filePath(QStringLiteral("gone.mp3"));
    m_player->setPlaylistPosition(1);
    m_sink->answers = {answer};
    m_player->handOver(list);
    m_player->tick();

    QCOMPARE(m_sink->reports.size(), 1);
    QCOMPARE(m_sink->reports[0].title, QStringLiteral("Error"));
    QCOMPARE(m_sink->reports[0].text, text);
    QCOMPARE(m_sink->reports[0].withCancel, withCancel);
    QVERIFY(!m_player->isStarted());
    QCOMPARE(m_player->isTimerActive(), timerAfter);
    QCOMPARE(m_player->playlistPosition(), positionAfter);
}

void TestBuiltinPlayer::nothingToPlayIsNotAFailure()
{
    // A hand-over with nothing selected before anything was ever handed over.
    m_player->handOver({});
    m_player->tick();
    QVERIFY(m_sink->reports.isEmpty());
    QVERIFY(!m_player->isStarted());
    QVERIFY(!m_player->isTimerActive());
}

void TestBuiltinPlayer::unsupportedFileOkSkipsToNext()
{
    // The unsupported file is the last one: OK wraps to the first.
    const QStringList list{m_three[0], file(QStringLiteral("x.bad"))};
    m_player->handOver(list);
    m_player->tick();
    advanceAndTick(2000);
    QCOMPARE(m_sink->reports.size(), 1);
    QVERIFY(m_player->isTimerActive());
    QCOMPARE(m_player->playlistPosition(), 0);
    m_player->tick();
    QVERIFY(m_player->isStarted());
    QCOMPARE(m_dev->openHistory(), (QStringList{m_three[0], m_three[0]}));
}

void TestBuiltinPlayer::failureWhilePlayingStopsPlayer()
{
    m_player->handOver(m_three);
    m_player->tick();
    QFile::remove(m_three[1]);
    advanceAndTick(2000);
    QCOMPARE(m_sink->reports.size(), 1);
    QCOMPARE(m_sink->reports[0].text, QStringLiteral("未知のエラーです。ErrorCode(275)"));
    QVERIFY(!m_player->isStarted());
    QVERIFY(!m_player->isTimerActive());
    QCOMPARE(m_player->playlistPosition(), 0);
}

void TestBuiltinPlayer::previousFailureIsReportedAsException()
{
    const QStringList list{m_three[0], m_three[1], file(QStringLiteral("3.bad"))};
    m_player->handOver(list);
    m_player->tick();
    m_player->previous();
    QCOMPARE(m_sink->exceptions.size(), 1);
    QVERIFY(m_sink->reports.isEmpty());
    QVERIFY(m_player->isStarted());
    // Nothing is open, so the next tick moves on to the entry after it.
    m_player->tick();
    QCOMPARE(m_dev->fileName(), m_three[0]);
}

void TestBuiltinPlayer::stopAndClose()
{
    m_player->handOver(m_three);
    m_player->tick();
    m_player->stopAndClose();
    QVERIFY(!m_player->isStarted());
    QVERIFY(!m_player->isTimerActive());
    QVERIFY(!m_dev->isOpen());
    m_player->next(); // ignored once closed
    QVERIFY(!m_dev->isOpen());
}

void TestBuiltinPlayer::stopAndCloseDuringAnOpenIsNotAFailure_data()
{
    QTest::addColumn<int>("during"); // 0 first open, 1 move to the next file, 2 Previous
    QTest::newRow("first open") << 0;
    QTest::newRow("next file") << 1;
    QTest::newRow("previous") << 2;
}

void TestBuiltinPlayer::stopAndCloseDuringAnOpenIsNotAFailure()
{
    QFETCH(int, during);
    SlowOpenDevice device(*m_dev);
    BuiltinPlayer player(device, *m_sink);
    QSignalSpy fileStarted(&player, &BuiltinPlayer::fileStarted);
    player.handOver(m_three);
    if (during > 0)
        player.tick(); // plays 1
    device.whileOpening = [&] { player.stopAndClose(); };
    if (during == 2) {
        player.previous();
    } else {
        m_dev->advance(2000);
        player.tick();
    }
    QVERIFY(m_sink->reports.isEmpty());
    QVERIFY(m_sink->exceptions.isEmpty());
    QVERIFY(!device.isOpen());
    QVERIFY(!player.isStarted());
    QVERIFY(!player.isTimerActive());
    QCOMPARE(fileStarted.size(), during > 0 ? 1 : 0);

    // The player starts again normally afterwards.
    player.handOver({});
    player.tick();
    QVERIFY(player.isStarted());
    QVERIFY(device.isOpen());
}

void TestBuiltinPlayer::eventsDuringAnOpenDoNotOpenAnotherFile_data()
{
    QTest::addColumn<bool>("byPrevious"); // else the timer's move to the next file
    QTest::newRow("tick while Previous opens") << true;
    QTest::newRow("Previous while a tick opens") << false;
}

void TestBuiltinPlayer::eventsDuringAnOpenDoNotOpenAnotherFile()
{
    QFETCH(bool, byPrevious);
    SlowOpenDevice device(*m_dev);
    BuiltinPlayer player(device, *m_sink);
    player.handOver(m_three);
    player.tick(); // plays 1
    // While the device opens, the other event arrives: the closed device
    // looks finished to a tick, and Previous would step back once more.
    device.whileOpening = [&] { byPrevious ? player.tick() : player.previous(); };
    if (byPrevious) {
        player.previous(); // 1 -> 3
    } else {
        m_dev->advance(2000);
        player.tick(); // 1 -> 2
    }
    const QString expected = byPrevious ? m_three[2] : m_three[1];
    QCOMPARE(m_dev->openHistory(), (QStringList{m_three[0], expected}));
    QCOMPARE(player.currentFile(), expected);
    QCOMPARE(m_dev->fileName(), expected);
    QVERIFY(player.isStarted());
    QVERIFY(m_sink->reports.isEmpty() && m_sink->exceptions.isEmpty());
}

void TestBuiltinPlayer::transportDuringAnOpenActsOnTheNewFile_data()
{
    QTest::addColumn<int>("button");     // 2 play, 3 pause, 4 stop, 5 next
    QTest::addColumn<bool>("firstOpen"); // else the move to the next file
    QTest::addColumn<bool>("playing");
    QTest::addColumn<qint64>("position");
    for (bool first : {true, false}) {
        const char *when = first ? "first open" : "next file";
        QTest::addRow("stop, %s", when) << 4 << first << false << qint64(0);
        QTest::addRow("pause, %s", when) << 3 << first << false << qint64(0);
        QTest::addRow("next, %s", when) << 5 << first << false << qint64(2000);
        QTest::addRow("play, %s", when) << 2 << first << true << qint64(0);
    }
}

void TestBuiltinPlayer::transportDuringAnOpenActsOnTheNewFile()
{
    // A joypad button pressed while the device opens is carried out on the
    // file once it plays, as if it had waited for the open.
    QFETCH(int, button);
    QFETCH(bool, firstOpen);
    QFETCH(bool, playing);
    QFETCH(qint64, position);
    SlowOpenDevice device(*m_dev);
    BuiltinPlayer player(device, *m_sink);
    player.handOver(m_three);
    if (!firstOpen)
        player.tick(); // plays 1
    device.whileOpening = [&] {
        switch (button) {
        case 2:
            player.playRestart();
            break;
        case 3:
            player.pauseToggle();
            break;
        case 4:
            player.stop();
            break;
        case 5:
            player.next();
            break;
        }
    };
    m_dev->advance(2000);
    player.tick();
    const QString opened = firstOpen ? m_three[0] : m_three[1];
    QCOMPARE(m_dev->fileName(), opened);
    QVERIFY(player.isStarted());
    QCOMPARE(device.isPlaying(), playing);
    QCOMPARE(device.position(), position);
    QVERIFY(m_sink->reports.isEmpty() && m_sink->exceptions.isEmpty());
}

void TestBuiltinPlayer::stopAndCloseWhileAFailureShows_data()
{
    QTest::addColumn<bool>("unsupported"); // else an unknown error
    QTest::addColumn<bool>("answer");
    QTest::newRow("277 OK") << true << true;
    QTest::newRow("277 Cancel") << true << false;
    QTest::newRow("missing file") << false << true;
}

void TestBuiltinPlayer::stopAndCloseWhileAFailureShows()
{
    // The player is switched away (joypad) while its error box is up.
    QFETCH(bool, unsupported);
    QFETCH(bool, answer);
    const QStringList list{m_three[0],
                           unsupported ? file(QStringLiteral("2.bad")) : m_dir->filePath(QStringLiteral("gone.mp3"))};
    m_sink->answers = {answer};
    m_sink->whileShowing = [&] { m_player->stopAndClose(); };
    m_player->handOver(list);
    m_player->tick();
    advanceAndTick(2000);
    QCOMPARE(m_sink->reports.size(), 1);
    // Stopped means stopped, whatever the answer.
    QVERIFY(!m_player->isTimerActive());
    QVERIFY(!m_player->isStarted());

    // A later hand-over plays.
    m_player->handOver({m_three[1]});
    m_player->tick();
    QVERIFY(m_player->isStarted());
    QCOMPARE(m_dev->fileName(), m_three[1]);
    QVERIFY(m_dev->isPlaying());
    QCOMPARE(m_sink->reports.size(), 1);
}

void TestBuiltinPlayer::realTimerTicks()
{
    FakeMediaDevice dev; // real clock
    dev.setLengthOverride(300);
    BuiltinPlayer player(dev, *m_sink);
    QSignalSpy files(&player, &BuiltinPlayer::fileStarted);
    player.handOver(m_three);
    QTRY_COMPARE_WITH_TIMEOUT(files.size(), 2, 3000); // first tick starts, a later one moves on
    QCOMPARE(files.at(1).at(0).toString(), m_three[1]);
}

void TestBuiltinPlayer::realDeviceLoops()
{
    qputenv("TUNOVIA_NULL_AUDIO", "1");
    QStringList list;
    for (const char *name : {"a.wav", "b.wav"}) {
        const QString path = m_dir->filePath(QLatin1String(name));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(silentWav(400));
        list << path;
    }
    QtMediaDevice dev;
    if (!dev.open(list[0]))
        QSKIP("the media back end cannot play WAV files here");
    dev.close();
    BuiltinPlayer player(dev, *m_sink);
    QSignalSpy files(&player, &BuiltinPlayer::fileStarted);
    player.handOver(list);
    QTRY_VERIFY_WITH_TIMEOUT(files.size() >= 3, 10000);
    QCOMPARE(files.at(1).at(0).toString(), list[1]);
    QCOMPARE(files.at(2).at(0).toString(), list[0]);
    QVERIFY(m_sink->reports.isEmpty());
    player.stopAndClose();
}

void TestBuiltinPlayer::realDeviceAfterAnUndecodableFile_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK plays the next entry") << true;
    QTest::newRow("Cancel, then a new hand-over") << false;
}

void TestBuiltinPlayer::realDeviceAfterAnUndecodableFile()
{
    QFETCH(bool, answer);
    qputenv("TUNOVIA_NULL_AUDIO", "1");
    const QString noise = noiseFile();
    QtMediaDevice dev;
    BuiltinPlayer player(dev, *m_sink);
    QSignalSpy files(&player, &BuiltinPlayer::fileStarted);
    m_sink->answers = {answer};
    player.handOver({noise, demoMp3()});
    QTRY_COMPARE_WITH_TIMEOUT(m_sink->reports.size(), 1, 5000);
    QCOMPARE(m_sink->reports[0].text, BuiltinPlayer::failureText(MediaDevice::UnsupportedFile));
    QCOMPARE(player.isTimerActive(), answer);
    QCOMPARE(player.playlistPosition(), answer ? 1 : 0);
    if (!answer) {
        QTest::qWait(700);
        QVERIFY(files.isEmpty());
        player.handOver({demoMp3()});
    }
    QTRY_COMPARE_WITH_TIMEOUT(files.size(), 1, 5000);
    QCOMPARE(files[0][0].toString(), demoMp3());
    QVERIFY(player.isStarted());
    QVERIFY(dev.isPlaying());
    QCOMPARE(m_sink->reports.size(), 1);
    player.stopAndClose();
}

void TestBuiltinPlayer::realDevicePreviousOntoAnUndecodableFile()
{
    qputenv("TUNOVIA_NULL_AUDIO", "1");
    const QString noise = noiseFile();
    QtMediaDevice dev;
    BuiltinPlayer player(dev, *m_sink);
    QSignalSpy files(&player, &BuiltinPlayer::fileStarted);
    player.handOver({demoMp3(), noise});
    QTRY_COMPARE_WITH_TIMEOUT(files.size(), 1, 5000);

    // The report is answered only after several ticks; under it nothing moves.
    qsizetype filesUnderTheBox = -1;
    m_sink->whileShowing = [&] {
        QTest::qWait(3 * BuiltinPlayer::kTickMs);
        filesUnderTheBox = files.size() - 1;
    };
    player.previous();
    QCOMPARE(m_sink->exceptions, QStringList{BuiltinPlayer::errorText(MediaDevice::UnsupportedFile)});
    QCOMPARE(filesUnderTheBox, 0);
    QVERIFY(m_sink->reports.isEmpty());
    // Then the timer moves on, to the entry after the undecodable one.
    QTRY_COMPARE_WITH_TIMEOUT(files.size(), 2, 5000);
    QCOMPARE(files[1][0].toString(), demoMp3());
    QVERIFY(m_sink->reports.isEmpty());
    player.stopAndClose();
}

QTEST_GUILESS_MAIN(TestBuiltinPlayer)
#include "test_builtinplayer.moc"
