// The stand-in player, headless, driven over the session bus as Tunovia
// drives the outside players; its plug-in reports the playing file.
#include "platform/textcodec.h"
#include "platform/windowbus.h"
#include "playback/playermessages.h"
#include "support/audiofiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

QString binDir() { return qEnvironmentVariable("TUNOVIA_BIN_DIR"); }

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The messages that came over the bus, without the plug-in's own polls.
QStringList busLog(const QString &path)
{
    QStringList lines;
    const QStringList all = QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : all) {
        if (!line.endsWith(QLatin1String(" 125")) && !line.endsWith(QLatin1String(" 211")))
            lines << line;
    }
    return lines;
}

} // namespace

class TestStandin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void winampTransportAndPluginReport();
    void unplayableEntriesAreSkipped();
    void scmpxReceivesPlaylistByteWise();
    void secondStartHandsOverThePlaylist();
    void runsWithoutSessionBus();
    void realDevicePlaysThePlaylistAtStart_data();
    void realDevicePlaysThePlaylistAtStart();

private:
    WindowHandle start(const QStringList &args, const QString &className, bool headless = true);
    qint64 send(quint32 msg, qint64 w, qint64 l) { return WindowBus::send(m_window, msg, w, l); }
    qint64 position() { return send(WM_USER, 0, winamp::IpcGetOutputTime); }
    qint64 listPos() { return send(WM_USER, 0, winamp::IpcGetListPos); }

    QTemporaryDir m_dir;
    QString m_prog;  // the player's folder, with Plugins/
    QString m_music; // the "mp3" files
    QString m_log;
    std::unique_ptr<QProcess> m_player;
    WindowHandle m_window;
    QString m_class;
};

void TestStandin::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        QSKIP("no session bus");
    QVERIFY(m_dir.isValid());
    m_prog = m_dir.filePath(QStringLiteral("prog"));
    m_music = m_dir.filePath(QString::fromUtf8("曲 music"));
    QVERIFY(QDir().mkpath(m_prog + QStringLiteral("/Plugins")));
    QVERIFY(QFile::link(binDir() + QStringLiteral("/gen_tunly.so"), m_prog + QStringLiteral("/Plugins/gen_tunly.so")));
    // 160000 bytes play 10 s on the clock-driven device, 16000 bytes 1 s.
    writeFile(m_music + QStringLiteral("/a.mp3"), QByteArray(160000, 'a'));
    writeFile(m_music + QStringLiteral("/b.mp3"), QByteArray(160000, 'b'));
    writeFile(m_music + QStringLiteral("/c.mp3"), QByteArray(160000, 'c'));
    writeFile(m_music + QStringLiteral("/short.mp3"), QByteArray(16000, 's'));
    writeFile(m_music + QStringLiteral("/broken.bad"), QByteArray(16000, 'x'));
    writeFile(m_dir.filePath(QStringLiteral("config/Tunov.ini")),
              "[Setting]\r\nWinamp=" + QFile::encodeName(m_prog) + "/tunovia-player\r\n[Plug-In]\r\nInterval=50\r\n");
}

void TestStandin::init()
{
    m_class = QStringLiteral("%1-%2")
                  .arg(QString::fromLatin1(QTest::currentTestFunction()))
                  .arg(QCoreApplication::applicationPid());
    m_log = m_dir.filePath(QStringLiteral("%1.log").arg(QString::fromLatin1(QTest::currentTestFunction())));
}

void TestStandin::cleanup()
{
    if (m_player && m_player->state() != QProcess::NotRunning) {
        m_player->terminate();
        m_player->waitForFinished(10000);
    }
    m_player.reset();
    m_window = WindowHandle();
}

WindowHandle TestStandin::start(const QStringList &args, const QString &className, bool headless)
{
    m_player = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUNOVIA_CONFIG_DIR"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("TUNOVIA_PROGRAM_DIR"), m_prog);
    m_player->setProcessEnvironment(env);
    m_player->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QStringList mode = headless ? QStringList{QStringLiteral("--headless")} : QStringList{};
    m_player->start(binDir() + QStringLiteral("/tunovia-player"),
                    mode + QStringList{QStringLiteral("--class"), className, QStringLiteral("--log"), m_log} + args);
    if (!m_player->waitForStarted())
        return {};
    for (int i = 0; i < 200 && WindowBus::findWindow(className).isNull(); ++i)
        QTest::qWait(50);
    return WindowBus::findWindow(className);
}

void TestStandin::winampTransportAndPluginReport()
{
    // Relative lines resolve against the playlist's folder; CR LF and a
    // comment line as a Windows program writes them.
    const QString playlist = m_dir.filePath(QStringLiteral("WINAMP.m3u"));
    writeFile(playlist, "#EXTM3U\r\n" + QFile::encodeName(QString::fromUtf8("曲 music/a.mp3")) + "\r\n" +
                            QFile::encodeName(m_music + QStringLiteral("/b.mp3")) + "\r\n" +
                            QFile::encodeName(QString::fromUtf8("曲 music\\c.mp3")) + "\r\n");
    m_window = start({playlist}, m_class);
    QVERIFY(!m_window.isNull());
    const QString dat = m_prog + QStringLiteral("/Tunov.dat");
    const QByteArray a = QFile::encodeName(m_music + QStringLiteral("/a.mp3"));
    const QByteArray b = QFile::encodeName(m_music + QStringLiteral("/b.mp3"));
    const QByteArray c = QFile::encodeName(m_music + QStringLiteral("/c.mp3"));

    QTRY_COMPARE(readFile(dat), a + '\n');
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("1. a.mp3 - Winamp"));
    QCOMPARE(send(WM_USER, 1, winamp::IpcGetOutputTime), 10);
    QVERIFY(position() >= 0);
    // The entry text's address is only for plug-ins inside the player.
    QCOMPARE(send(WM_USER, 0, winamp::IpcGetPlaylistFile), 0);

    send(WM_COMMAND, winamp::Next, 0);
    QCOMPARE(listPos(), 1);
    QTRY_COMPARE(readFile(dat), b + '\n');

    // Pause holds the position; pause again goes on.
    send(WM_COMMAND, winamp::Pause, 0);
    const qint64 held = position();
    QTest::qWait(250);
    QCOMPARE(position(), held);
    send(WM_COMMAND, winamp::Pause, 0);
    QTRY_VERIFY(position() > held);

    // Shift + Next skips 5 s into the track, Shift + Previous back again.
    const qint64 before = position();
    send(WM_COMMAND, winamp::ShiftCode(winamp::Next), 0);
    QVERIFY(position() >= before + 5000);
    send(WM_COMMAND, winamp::ShiftCode(winamp::Previous), 0);
    QVERIFY(position() < before + 5000);

    // Ctrl jumps to the ends of the list; plain Previous wraps from the first.
    send(WM_COMMAND, winamp::CtrlCode(winamp::Next), 0);
    QCOMPARE(listPos(), 2);
    QTRY_COMPARE(readFile(dat), c + '\n');
    send(WM_COMMAND, winamp::CtrlCode(winamp::Previous), 0);
    QCOMPARE(listPos(), 0);
    send(WM_COMMAND, winamp::Previous, 0);
    QCOMPARE(listPos(), 2);

    // Stopped: no time; play starts the current entry again.
    send(WM_COMMAND, winamp::Stop, 0);
    QCOMPARE(position(), -1);
    QCOMPARE(send(WM_USER, 1, winamp::IpcGetOutputTime), -1);
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("Winamp"));
    send(WM_COMMAND, winamp::Play, 0);
    QVERIFY(position() >= 0);
    QCOMPARE(listPos(), 2);

    send(WM_USER, 76, winamp::IpcSetVolume);
    send(WM_COMMAND, winamp::Stop, 0);
    send(WM_COMMAND, winamp::Close, 0);
    QVERIFY(m_player->waitForFinished(10000));
    QCOMPARE(m_player->exitCode(), 0);
    QVERIFY(!QFile::exists(dat)); // the plug-in's quit ran

    const QStringList expected{
        QStringLiteral("send 0x0400 1 105"),
        QStringLiteral("send 0x0400 0 105"),
        QStringLiteral("send 0x0111 40048 0"),
        QStringLiteral("send 0x0111 40046 0"),
    };
    const QStringList got = busLog(m_log);
    QCOMPARE(got.mid(0, 4), expected);
    QVERIFY(got.contains(QStringLiteral("send 0x0111 40148 0")));
    QCOMPARE(got.mid(got.size() - 3),
             (QStringList{QStringLiteral("send 0x0400 76 122"), QStringLiteral("send 0x0111 40047 0"),
                          QStringLiteral("send 0x0111 40001 0")}));
}

void TestStandin::unplayableEntriesAreSkipped()
{
    const QString playlist = m_dir.filePath(QStringLiteral("skip.m3u"));
    writeFile(playlist, QFile::encodeName(m_music) + "/missing.mp3\n" + QFile::encodeName(m_music) + "/broken.bad\n" +
                            QFile::encodeName(m_music) + "/short.mp3\n" + QFile::encodeName(m_music) + "/a.mp3\n");
    m_window = start({playlist}, m_class);
    QVERIFY(!m_window.isNull());
    QTRY_COMPARE(listPos(), 2);
    QCOMPARE(send(WM_USER, 1, winamp::IpcGetOutputTime), 1);
    // At the end of a track the next one plays.
    QTRY_COMPARE_WITH_TIMEOUT(listPos(), 3, 5000);
    QVERIFY(position() >= 0);
}

void TestStandin::scmpxReceivesPlaylistByteWise()
{
    // A playlist in a folder whose name has multi-byte characters.
    const QString playlist = m_music + QStringLiteral("/SCMPX.m3u");
    writeFile(playlist, "b.mp3\r\na.mp3\r\n");
    QFile::remove(m_prog + QStringLiteral("/Tunov.dat"));
    m_window = start({QStringLiteral("--scmpx")}, m_class);
    QVERIFY(!m_window.isNull());
    QCOMPARE(send(WM_USER, 0, scmpx::GetVersion), scmpx::InvertedVolumeVersion);
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("SCMPX"));
    QCOMPARE(send(WM_USER, 0, scmpx::GetOutputTime), -1);

    const QByteArray path = QFile::encodeName(playlist);
    send(WM_USER, 0, scmpx::PathBegin);
    QStringList expected{QStringLiteral("send 0x0400 0 0"), QStringLiteral("send 0x0400 0 105"),
                         QStringLiteral("send 0x0400 0 101")};
    for (char byte : path) {
        WindowBus::post(m_window, WM_USER, scmpx::pathCharParam(byte), scmpx::PathChar);
        expected << QStringLiteral("post 0x0400 %1 100").arg(qint8(byte));
    }
    WindowBus::post(m_window, WM_USER, 0, scmpx::PathChar);
    send(WM_USER, 0, scmpx::Play);
    expected << QStringLiteral("post 0x0400 0 100") << QStringLiteral("send 0x0400 0 102");

    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("1. b.mp3 - SCMPX"));
    QCOMPARE(send(WM_USER, 1, scmpx::GetOutputTime), 10);
    send(WM_COMMAND, scmpx::Next, 0);
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("2. a.mp3 - SCMPX"));
    send(WM_COMMAND, scmpx::Previous, 0);
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("1. b.mp3 - SCMPX"));
    send(WM_COMMAND, scmpx::Pause, 0);
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("1. b.mp3 - SCMPX"));
    send(WM_COMMAND, scmpx::Stop, 0);
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("SCMPX"));
    // Play without a new path plays the loaded list again.
    send(WM_USER, 0, scmpx::Play);
    QCOMPARE(WindowBus::windowText(m_window), QStringLiteral("1. b.mp3 - SCMPX"));
    // Winamp's plug-in has no host here: it neither polls nor touches
    // Winamp's data file (its poll interval is 50 ms).
    QTest::qWait(200);
    QVERIFY(!QFile::exists(m_prog + QStringLiteral("/Tunov.dat")));
    send(WM_COMMAND, scmpx::Close, 0);
    QVERIFY(m_player->waitForFinished(10000));
    QVERIFY(!readFile(m_log).contains(" 125\n"));

    const QStringList got = busLog(m_log);
    QCOMPARE(got.mid(0, expected.size()), expected);
    QVERIFY(std::any_of(expected.cbegin(), expected.cend(),
                        [](const QString &l) { return l.startsWith(QLatin1String("post 0x0400 -")); }));
}

void TestStandin::secondStartHandsOverThePlaylist()
{
    const QString first = m_dir.filePath(QStringLiteral("first.m3u"));
    const QString second = m_dir.filePath(QStringLiteral("second.m3u"));
    writeFile(first, QFile::encodeName(m_music) + "/a.mp3\n");
    // A list made on Windows: CP932, "\\" and relative names.
    writeFile(second, text::toCp932(QString::fromUtf8("曲 music\\c.mp3\r\n曲 music\\b.mp3\r\n")));
    m_window = start({first}, m_class);
    QVERIFY(!m_window.isNull());
    QTRY_COMPARE(WindowBus::windowText(m_window), QStringLiteral("1. a.mp3 - Winamp"));

    QProcess again;
    again.start(binDir() + QStringLiteral("/tunovia-player"),
                {QStringLiteral("--headless"), QStringLiteral("--class"), m_class, second});
    QVERIFY(again.waitForFinished(10000));
    QCOMPARE(again.exitCode(), 0);
    QCOMPARE(WindowBus::findWindow(m_class), m_window);
    QTRY_COMPARE(WindowBus::windowText(m_window), QStringLiteral("1. c.mp3 - Winamp"));
}

void TestStandin::runsWithoutSessionBus()
{
    // No bus: nobody can reach the player, but it plays and its plug-in,
    // which talks to it directly, still reports the file.
    const QString playlist = m_dir.filePath(QStringLiteral("nobus.m3u"));
    writeFile(playlist, QFile::encodeName(m_music) + "/b.mp3\n");
    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    env.insert(QStringLiteral("TUNOVIA_CONFIG_DIR"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("TUNOVIA_PROGRAM_DIR"), m_prog);
    player.setProcessEnvironment(env);
    player.start(binDir() + QStringLiteral("/tunovia-player"), {QStringLiteral("--headless"), playlist});
    const QString dat = m_prog + QStringLiteral("/Tunov.dat");
    QTRY_COMPARE_WITH_TIMEOUT(readFile(dat), QFile::encodeName(m_music + QStringLiteral("/b.mp3")) + '\n', 10000);
    player.terminate();
    QVERIFY(player.waitForFinished(10000));
    QCOMPARE(player.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFile::exists(dat));
}

QTEST_GUILESS_MAIN(TestStandin)
void TestStandin::realDevicePlaysThePlaylistAtStart_data()
{
    QTest::addColumn<bool>("undecodableFirst");
    QTest::newRow("one file") << false;
    QTest::newRow("after an undecodable file") << true;
}

void TestStandin::realDevicePlaysThePlaylistAtStart()
{
    // With the real media device (into the silent fallback output), the
    // playlist given at start plays without a Play message.
    QFETCH(bool, undecodableFirst);
    qputenv("TUNOVIA_NULL_AUDIO", "1");
    const QString track = m_dir.filePath(QStringLiteral("silence.mp3"));
    writeFile(track, silentWav(4000));
    const QString noise = m_dir.filePath(QStringLiteral("noise.mp3"));
    writeFile(noise, noiseBytes(20000));
    const QString playlist = m_dir.filePath(QStringLiteral("real.m3u"));
    const QByteArray first = undecodableFirst ? QFile::encodeName(noise) + "\r\n" : QByteArray();
    writeFile(playlist, first + QFile::encodeName(track) + "\r\n");
    m_window = start({playlist}, m_class, false);
    qunsetenv("TUNOVIA_NULL_AUDIO");
    QVERIFY(!m_window.isNull());
    QTRY_VERIFY_WITH_TIMEOUT(position() > 0, 3000);
    QCOMPARE(listPos(), undecodableFirst ? 1 : 0);
}

#include "test_standin.moc"
