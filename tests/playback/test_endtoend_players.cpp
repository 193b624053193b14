// The main window hands tracks to the real stand-in player (started through
// the real launcher) and controls it over the session bus; the plug-in that
// the player loads reports the playing file.
#include "controls/ui/dtrackbar.h"
#include "platform/launcher.h"
#include "platform/windowbus.h"
#include "support/mainwindowfixture.h"
#include "support/standinplayer.h"
#include "support/testfiles.h"
#include "tracks/trackmodel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTest>
#include <QTreeView>

namespace {

// The player's log without the polls of the plug-in and the clock.
QStringList commandLog(const QString &path)
{
    QStringList out;
    for (const QString &line : QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!line.endsWith(QLatin1String(" 105")) && !line.endsWith(QLatin1String(" 125")) &&
            !line.endsWith(QLatin1String(" 211")))
            out << line;
    }
    return out;
}

} // namespace

class TestEndToEndPlayers : public QObject, public BasicMainWindowFixture<SystemLauncher> {
    Q_OBJECT

    QString m_class;

    QString music(const char *name) const { return path(QStringLiteral("music/")) + QLatin1String(name); }

    // The stand-in as the configured player: a wrapper that runs it headless
    // under this test's class name, with its program folder (and Plugins/)
    // beside the wrapper. Run n logs to "run<n>.log" and appends n to "exits"
    // when it ends, so the test knows when a second start has finished.
    QString makeWrapper(const QString &folder, const QString &mode)
    {
        QString wrapper = folder + QStringLiteral("player");
        const QString script =
            QStringLiteral(
                "#!/bin/sh\ncd '%1' || exit 1\nn=$(($(cat count 2>/dev/null || echo 0) + 1))\necho $n > count\n"
                "TUNOVIA_PROGRAM_DIR='%1' '%2' --headless %3 --class '%4' --log \"run$n.log\" \"$@\"\n"
                "echo $n >> exits\n")
                .arg(folder, builtFile("tunovia-player"), mode, m_class);
        if (!writeFile(wrapper, script.toUtf8()))
            return {};
        QFile::setPermissions(wrapper, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return wrapper;
    }

    void trigger(const char *actionName)
    {
        auto *action = m_window->findChild<QAction *>(QLatin1String(actionName));
        QVERIFY2(action, actionName);
        action->trigger();
    }

    // Shows the window on a legacy list of the three tracks and selects them.
    void openWindowOnList(const QByteArray &settings)
    {
        QVERIFY(writeFile(ini(), settings));
        makeWindow();
        m_window->connectPlayerControls();
        m_window->setCurrentIndexPath(path(QStringLiteral("list.dat")));
        m_window->show();
        QTRY_VERIFY(m_window->legacyListShown());
        QTRY_COMPARE(m_window->legacyModel()->size(), 3);
        m_window->legacyModel()->selectAll(m_window->currentList()->selectionModel());
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("no session bus");
        QVERIFY(QFileInfo::exists(builtFile("tunovia-player")));
        QVERIFY(QFileInfo::exists(builtFile("gen_tunly.so")));
        QVERIFY(m_dir.isValid());
        usePrivateRuntime();
        qputenv("TUNOVIA_CONFIG_DIR", QFile::encodeName(path(QStringLiteral("config"))));
        qputenv("TUNOVIA_FAKE_MEDIA", "1");
        // 160000 bytes play 10 s on the stand-in's clock.
        for (const char *name : {"a.mp3", "b.mp3", "c.mp3"})
            QVERIFY(writeFile(music(name), QByteArray(160000, name[0])));
        // A list made on Windows: relative paths with "\".
        QVERIFY(writeFile(path(QStringLiteral("list.dat")), "\"music\\a.mp3\",\"A\",\"X\",\"\",\"160000\"\r\n"
                                                            "\"music\\b.mp3\",\"B\",\"X\",\"\",\"160000\"\r\n"
                                                            "\"music\\c.mp3\",\"C\",\"X\",\"\",\"160000\"\r\n"));
    }

    void init()
    {
        m_class = QStringLiteral("%1 %2")
                      .arg(QLatin1String(QTest::currentTestFunction()))
                      .arg(QCoreApplication::applicationPid());
    }

    void cleanup()
    {
        closeLeftoverPlayer(m_class);
        m_window.reset();
        m_settings.reset();
    }

    void winampPlaysControlsAndQuits()
    {
        const QString folder = path(QStringLiteral("winamp/"));
        const QString log = folder + QStringLiteral("run1.log");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("Plugins")));
        QVERIFY(QFile::copy(builtFile("gen_tunly.so"), folder + QStringLiteral("Plugins/gen_tunly.so")));
        const QString wrapper = makeWrapper(folder, QString());
        QVERIFY(!wrapper.isEmpty());
        openWindowOnList("[Setting]\r\nWinamp=" + QFile::encodeName(wrapper) +
                         "\r\nWinampCheck=1\r\nSCMPXCheck=0\r\nMCICheck=0\r\n[ClassName]\r\nWinamp=" +
                         m_class.toUtf8() + "\r\n[Plug-In]\r\nInterval=50\r\n");

        m_window->volumeBar()->setValue(3);
        trigger("HandOverMnu"); // F9
        QCOMPARE(readFile(folder + QStringLiteral("WINAMP.m3u")),
                 QFile::encodeName(music("a.mp3") + QStringLiteral("\r\n") + music("b.mp3") + QStringLiteral("\r\n") +
                                   music("c.mp3") + QStringLiteral("\r\n")));
        QTRY_VERIFY_WITH_TIMEOUT(!WindowBus::findWindow(m_class).isNull(), 20000);
        const QString dat = folder + QStringLiteral("Tunov.dat");
        QTRY_COMPARE_WITH_TIMEOUT(readFile(dat), QFile::encodeName(music("a.mp3")) + '\n', 10000);
        // The volume follows once the hand-over's window watch sees the player (every 100 ms).
        QTRY_VERIFY_WITH_TIMEOUT(commandLog(log).contains(QStringLiteral("send 0x0400 76 122")), 10000);

        trigger("NextMnu");
        QTRY_COMPARE_WITH_TIMEOUT(readFile(dat), QFile::encodeName(music("b.mp3")) + '\n', 10000);
        trigger("PlayMnuItem");
        trigger("PauseMnu");
        trigger("VolBMnu"); // preset B at 5
        trigger("VolDownMnu");
        trigger("StopMnu");
        trigger("PlayerQuitMnu");
        QTRY_VERIFY_WITH_TIMEOUT(WindowBus::findWindow(m_class).isNull(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(dat), 10000); // the plug-in's quit

        QCOMPARE(commandLog(log).join(u'\n'),
                 (QStringList{
                     QStringLiteral("send 0x0400 76 122"), // the bar, once the window is there
                     QStringLiteral("send 0x0111 40048 0"),
                     QStringLiteral("send 0x0111 40045 0"),
                     QStringLiteral("send 0x0111 40046 0"),
                     QStringLiteral("send 0x0400 127 122"),
                     QStringLiteral("send 0x0400 102 122"),
                     QStringLiteral("send 0x0111 40047 0"), // stop
                     QStringLiteral("send 0x0111 40047 0"), // quit: stop, close
                     QStringLiteral("send 0x0111 40001 0"),
                 }
                      .join(u'\n')));
        QVERIFY(m_prompts.asked().isEmpty());
    }

    void scmpxLoadsHandedOverListByteWise()
    {
        const QString folder = path(QString::fromUtf8("曲 scmpx/")); // bytes above 0x7F in the path
        const QString log = folder + QStringLiteral("run1.log");
        QVERIFY(QDir().mkpath(folder));
        const QString wrapper = makeWrapper(folder, QStringLiteral("--scmpx"));
        QVERIFY(!wrapper.isEmpty());
        openWindowOnList("[Setting]\r\nSCMPX=" + QFile::encodeName(wrapper) +
                         "\r\nWinampCheck=0\r\nSCMPXCheck=1\r\nMCICheck=0\r\n[ClassName]\r\nSCMPX=" + m_class.toUtf8() +
                         "\r\n");

        trigger("HandOverMnu");
        QTRY_VERIFY_WITH_TIMEOUT(!WindowBus::findWindow(m_class).isNull(), 20000);
        const WindowHandle player = WindowBus::findWindow(m_class);
        QTRY_COMPARE_WITH_TIMEOUT(WindowBus::windowText(player), QStringLiteral("1. a.mp3 - SCMPX"), 10000);
        trigger("NextMnu");
        QTRY_COMPARE(WindowBus::windowText(player), QStringLiteral("2. b.mp3 - SCMPX"));

        // A second hand-over while it runs: only the last track, loaded by
        // the byte-wise path.
        const qsizetype before = commandLog(log).size();
        m_window->currentList()->selectionModel()->clearSelection();
        m_window->currentList()->selectionModel()->select(m_window->legacyModel()->index(2, 0),
                                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QByteArray pathBytes = QFile::encodeName(folder + QStringLiteral("SCMPX.m3u"));
        trigger("HandOverMnu");
        QTRY_COMPARE(WindowBus::windowText(player), QStringLiteral("1. c.mp3 - SCMPX"));
        // The second start found the first player and ended.
        QTRY_COMPARE_WITH_TIMEOUT(readFile(folder + QStringLiteral("exits")), QByteArray("2\n"), 20000);
        QStringList expected{QStringLiteral("send 0x0400 0 101")};
        for (char b : pathBytes)
            expected << QStringLiteral("post 0x0400 %1 100").arg(int(qint8(b)));
        expected << QStringLiteral("post 0x0400 0 100") << QStringLiteral("send 0x0400 0 102")
                 << QStringLiteral("send 0x0400 0 0") << QStringLiteral("send 0x0400 0 122"); // 2464: inverted
        QCOMPARE(commandLog(log).mid(before).join(u'\n'), expected.join(u'\n'));

        trigger("PlayerQuitMnu");
        QTRY_VERIFY_WITH_TIMEOUT(WindowBus::findWindow(m_class).isNull(), 10000);
        QTRY_COMPARE(readFile(folder + QStringLiteral("exits")), QByteArray("2\n1\n"));
    }
};

QTEST_MAIN(TestEndToEndPlayers)
#include "test_endtoend_players.moc"
