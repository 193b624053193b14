// The window-message bus: names, the direct path inside one process, and
// messages to the stand-in player in another process.
#include "platform/windowbus.h"
#include "playback/playermessages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Set in the child run of noSessionBus.
constexpr char kNoBusChild[] = "TUNOVIA_TEST_NO_BUS_CHILD";

QString standinPath() { return qEnvironmentVariable("TUNOVIA_BIN_DIR") + QStringLiteral("/tunovia-player"); }

QStringList logLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestWindowBus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void escapedClassNames_data();
    void escapedClassNames();
    void localWindowIsCalledDirectly();
    void localPostsAreHandledBeforeLaterSends();
    void nativeHandleOnlyForLiveLocalWindows();
    void missingWindowGivesZero();
    void messagesReachAnotherProgramInOrder();
    void firstOwnerKeepsTheName();
    void hangingWindowGivesUpAfterTwoSeconds();
    void silentWindowCountsAsGoneUntilItAnswers();
    void noSessionBus();
    void noSessionBusChild();

private:
    bool needBus();
    void startStandin(QProcess &process, const QString &className, const QString &log, const QStringList &extra = {});
};

bool TestWindowBus::needBus() { return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"); }

void TestWindowBus::startStandin(QProcess &process, const QString &className, const QString &log,
                                 const QStringList &extra)
{
    QStringList args{QStringLiteral("--headless"), QStringLiteral("--class"), className};
    if (!log.isEmpty())
        args << QStringLiteral("--log") << log;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(standinPath(), args + extra);
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(!WindowBus::findWindow(className).isNull(), 10000);
}

void TestWindowBus::escapedClassNames_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("busName");
    QTest::newRow("winamp") << QStringLiteral("Winamp v1.x") << QStringLiteral("org.tunovia.Window.Winamp_20v1_2ex");
    QTest::newRow("scmpx") << QStringLiteral("SCMPX") << QStringLiteral("org.tunovia.Window.SCMPX");
    QTest::newRow("empty") << QString() << QStringLiteral("org.tunovia.Window._");
    QTest::newRow("leading digit") << QStringLiteral("9x9") << QStringLiteral("org.tunovia.Window._39x9");
    QTest::newRow("underscore is escaped too") << QStringLiteral("a_b") << QStringLiteral("org.tunovia.Window.a_5fb");
    QTest::newRow("dash and dot") << QStringLiteral("-.") << QStringLiteral("org.tunovia.Window._2d_2e");
    QTest::newRow("utf-8 bytes") << QString::fromUtf8("曲") << QStringLiteral("org.tunovia.Window._e6_9b_b2");
}

void TestWindowBus::escapedClassNames()
{
    QFETCH(QString, className);
    QFETCH(QString, busName);
    QCOMPARE(WindowBus::busNameFor(className), busName);
}

void TestWindowBus::localWindowIsCalledDirectly()
{
    QList<qint64> seen;
    MessageWindow window(
        QStringLiteral("Local-1"),
        [&](quint32 msg, qint64 w, qint64 l) {
            seen << msg << w << l;
            return w + l;
        },
        QStringLiteral("Local title"));
    const WindowHandle found = WindowBus::findWindow(QStringLiteral("Local-1"));
    QVERIFY(found.isLocal());
    QCOMPARE(found, window.handle());
    QCOMPARE(WindowBus::send(found, WM_USER, -5, 1LL << 40), (1LL << 40) - 5);
    QCOMPARE(seen, (QList<qint64>{WM_USER, -5, 1LL << 40}));
    QCOMPARE(WindowBus::windowText(found), QStringLiteral("Local title"));
    window.setTitle(QStringLiteral("Changed"));
    QCOMPARE(WindowBus::windowText(found), QStringLiteral("Changed"));
}

void TestWindowBus::localPostsAreHandledBeforeLaterSends()
{
    QStringList order;
    MessageWindow *self = nullptr;
    MessageWindow window(QStringLiteral("Local-2"), [&](quint32, qint64 w, qint64) {
        order << QStringLiteral("%1%2").arg(self->handlingPost() ? QLatin1Char('p') : QLatin1Char('s')).arg(w);
        return 0;
    });
    self = &window;
    const WindowHandle h = WindowBus::findWindow(QStringLiteral("Local-2"));
    WindowBus::post(h, WM_USER, 1, 0);
    WindowBus::post(h, WM_USER, 2, 0);
    QVERIFY(order.isEmpty());          // posts wait for the event loop...
    WindowBus::send(h, WM_USER, 3, 0); // ...or for the next send
    WindowBus::post(h, WM_USER, 4, 0);
    QTRY_COMPARE(order,
                 (QStringList{QStringLiteral("p1"), QStringLiteral("p2"), QStringLiteral("s3"), QStringLiteral("p4")}));
}

void TestWindowBus::nativeHandleOnlyForLiveLocalWindows()
{
    int dummy = 0;
    QVERIFY(WindowHandle::fromNative(nullptr).isNull());
    QVERIFY(WindowHandle::fromNative(&dummy).isNull());
    WindowHandle stale;
    {
        MessageWindow window(QStringLiteral("Local-3"), [](quint32, qint64, qint64) { return 7; });
        const WindowHandle h = WindowHandle::fromNative(window.handle().native());
        QVERIFY(h.isLocal());
        QCOMPARE(WindowBus::send(h, WM_USER, 0, 0), 7);
        stale = h;
    }
    QVERIFY(stale.isNull());
    QCOMPARE(WindowBus::send(stale, WM_USER, 0, 0), 0);
    QVERIFY(WindowBus::findWindow(QStringLiteral("Local-3")).isNull());
}

void TestWindowBus::missingWindowGivesZero()
{
    const WindowHandle none = WindowBus::findWindow(QStringLiteral("No such window class"));
    QVERIFY(none.isNull());
    QCOMPARE(WindowBus::send(none, WM_USER, 0, 105), 0);
    WindowBus::post(none, WM_USER, 0, 105);
    QCOMPARE(WindowBus::windowText(none), QString());
}

void TestWindowBus::messagesReachAnotherProgramInOrder()
{
    if (!needBus())
        QSKIP("no session bus");
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("log.txt"));
    const QString cls = QStringLiteral("Order-%1").arg(QCoreApplication::applicationPid());
    QProcess player;
    startStandin(player, cls, log);
    const WindowHandle h = WindowBus::findWindow(cls);
    QVERIFY(!h.isLocal());
    QVERIFY(h.busName().startsWith(QLatin1Char(':')));

    QCOMPARE(WindowBus::windowText(h), QStringLiteral("Winamp"));
    QCOMPARE(WindowBus::send(h, WM_USER, 0, winamp::IpcGetOutputTime), -1); // nothing plays

    QStringList expected;
    for (int i = 0; i < 40; ++i) {
        // A run of posts with a send in the middle: the log keeps the order made.
        const qint64 w = i % 2 ? -i : i * 1000000000LL;
        if (i == 20) {
            WindowBus::send(h, WM_USER, 7, 999);
            expected << QStringLiteral("send 0x0400 7 999");
        }
        WindowBus::post(h, WM_USER, w, 100);
        expected << QStringLiteral("post 0x0400 %1 100").arg(w);
    }
    WindowBus::send(h, WM_COMMAND, winamp::Close, 0);
    expected << QStringLiteral("send 0x0111 40001 0");
    QVERIFY(player.waitForFinished(10000));
    QCOMPARE(player.exitCode(), 0);

    QStringList got = logLines(log);
    got.removeFirst(); // the 105 request above
    QCOMPARE(got, expected);

    // The handle outlives its window; calls through it now give 0.
    QCOMPARE(WindowBus::send(h, WM_USER, 0, winamp::IpcGetListPos), 0);
    QCOMPARE(WindowBus::windowText(h), QString());
}

void TestWindowBus::firstOwnerKeepsTheName()
{
    if (!needBus())
        QSKIP("no session bus");
    const QString cls = QStringLiteral("Twice-%1").arg(QCoreApplication::applicationPid());
    QProcess first;
    startStandin(first, cls, QString());
    const QString owner = WindowBus::findWindow(cls).busName();

    // A second start with no playlist has nothing to hand over and ends.
    QProcess second;
    second.start(standinPath(), {QStringLiteral("--headless"), QStringLiteral("--class"), cls});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(WindowBus::findWindow(cls).busName(), owner);

    first.terminate();
    QVERIFY(first.waitForFinished(10000));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QTRY_VERIFY(WindowBus::findWindow(cls).isNull());
}

void TestWindowBus::hangingWindowGivesUpAfterTwoSeconds()
{
    if (!needBus())
        QSKIP("no session bus");
    const QString cls = QStringLiteral("Hang-%1").arg(QCoreApplication::applicationPid());
    QProcess player;
    startStandin(player, cls, QString());
    const WindowHandle h = WindowBus::findWindow(cls);
    ::kill(pid_t(player.processId()), SIGSTOP);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(WindowBus::send(h, WM_USER, 0, winamp::IpcGetListPos), 0);
    const qint64 waited = clock.elapsed();
    ::kill(pid_t(player.processId()), SIGCONT);
    QVERIFY2(waited >= 1900 && waited < 5000, qPrintable(QString::number(waited)));
    player.terminate();
    QVERIFY(player.waitForFinished(10000));
}

void TestWindowBus::silentWindowCountsAsGoneUntilItAnswers()
{
    if (!needBus())
        QSKIP("no session bus");
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("log.txt"));
    const QString cls = QStringLiteral("Silent-%1").arg(QCoreApplication::applicationPid());
    QProcess player;
    startStandin(player, cls, log);
    const WindowHandle h = WindowBus::findWindow(cls);
    const auto pid = pid_t(player.processId());
    ::kill(pid, SIGSTOP);
    QCOMPARE(WindowBus::send(h, WM_USER, 1, 1), 0); // runs out of time

    // A tick's worth of calls for two seconds: none of them waits again, and
    // none reaches the player.
    QElapsedTimer clock;
    clock.start();
    qint64 longest = 0;
    while (clock.elapsed() < 2 * WindowBus::SendTimeoutMs) {
        QElapsedTimer one;
        one.start();
        QVERIFY(WindowBus::findWindow(cls).isNull());
        QCOMPARE(WindowBus::send(h, WM_USER, 2, 2), 0);
        WindowBus::post(h, WM_USER, 3, 3);
        QCOMPARE(WindowBus::windowText(h), QString());
        longest = qMax(longest, one.elapsed());
        QTest::qWait(100);
    }
    QVERIFY2(longest < WindowBus::SendTimeoutMs / 2, qPrintable(QString::number(longest)));

    // Once it runs again it is found again.
    ::kill(pid, SIGCONT);
    QTRY_VERIFY_WITH_TIMEOUT(!WindowBus::findWindow(cls).isNull(), 5000);
    QCOMPARE(WindowBus::send(h, WM_USER, 0, winamp::IpcGetOutputTime), -1);
    QCOMPARE(logLines(log), (QStringList{QStringLiteral("send 0x0400 1 1"), QStringLiteral("send 0x0400 0 105")}));
    player.terminate();
    QVERIFY(player.waitForFinished(10000));
}

void TestWindowBus::noSessionBus()
{
    // The session bus is chosen once per process, so this runs in a child.
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kNoBusChild), QStringLiteral("1"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("noSessionBusChild")});
    QVERIFY(child.waitForFinished(30000));
    const QString out = QString::fromUtf8(child.readAll());
    QVERIFY2(child.exitCode() == 0, qPrintable(out));
    QVERIFY2(out.contains(QLatin1String("PASS   : TestWindowBus::noSessionBusChild")), qPrintable(out));
}

void TestWindowBus::noSessionBusChild()
{
    if (qEnvironmentVariableIsEmpty(kNoBusChild))
        QSKIP("part of noSessionBus");
    const WindowHandle remote = WindowBus::findWindow(QStringLiteral("Winamp v1.x"));
    QVERIFY(remote.isNull());
    QCOMPARE(WindowBus::send(remote, WM_USER, 0, 105), 0);
    QCOMPARE(WindowBus::windowText(remote), QString());

    // Windows of this process still answer without a bus.
    MessageWindow window(QStringLiteral("Winamp v1.x"), [](quint32, qint64, qint64) { return 42; });
    QVERIFY(!window.ownsBusName());
    QCOMPARE(WindowBus::send(WindowBus::findWindow(QStringLiteral("Winamp v1.x")), WM_USER, 0, 0), 42);
}

QTEST_GUILESS_MAIN(TestWindowBus)
#include "test_windowbus.moc"
