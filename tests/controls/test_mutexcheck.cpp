#include "controls/mutexcheck.h"
#include "platform/instancelock.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstring>

namespace {

// Child mode: take the guard, say so, then live until killed (at most a minute).
// With "--spawn-sleeper" it first leaves a long-lived grandchild behind, which
// must not inherit the lock.
int holdLock(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MutexCheck guard;
    guard.setMutexId(QString::fromLocal8Bit(argv[2]));
    guard.check();
    if (argc > 3 && std::strcmp(argv[3], "--spawn-sleeper") == 0)
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {QStringLiteral("--sleep")});
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    QThread::sleep(60);
    return 0;
}

} // namespace

class TestMutexCheck : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;
    QList<QProcess *> m_children;

    QProcess *start(const QString &id, const QStringList &extra = {})
    {
        auto *p = new QProcess(this);
        p->setProgram(QCoreApplication::applicationFilePath());
        p->setArguments(QStringList{QStringLiteral("--hold-lock"), id} + extra);
        p->start();
        m_children.append(p);
        return p;
    }
    static bool waitHeld(QProcess *p)
    {
        while (!p->canReadLine()) {
            if (!p->waitForReadyRead(10000))
                return false;
        }
        return p->readLine() == "held\n";
    }
    static void killHard(QProcess *p)
    {
        p->kill(); // SIGKILL: no chance to clean up
        p->waitForFinished(10000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }
    void cleanup()
    {
        for (QProcess *p : std::as_const(m_children)) {
            if (p->state() != QProcess::NotRunning)
                killHard(p);
            delete p;
        }
        m_children.clear();
    }

    void secondCopyExitsSilentlyWithMinusOne()
    {
        QProcess *first = start(QStringLiteral("Tunovia"));
        QVERIFY(waitHeld(first));
        QProcess *second = start(QStringLiteral("Tunovia"));
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 255);
        QCOMPARE(second->readAllStandardOutput(), QByteArray());
        QCOMPARE(second->readAllStandardError(), QByteArray());
        QCOMPARE(first->state(), QProcess::Running);
    }

    void killedHolderReleasesTheLock()
    {
        // The grandchild outlives its parent; had it inherited the lock
        // descriptor, the guard would stay taken after the kill.
        QProcess *first = start(QStringLiteral("Tunovia"), {QStringLiteral("--spawn-sleeper")});
        QVERIFY(waitHeld(first));
        killHard(first);
        QProcess *next = start(QStringLiteral("Tunovia"));
        QVERIFY(waitHeld(next));
    }

    void differentIdentifiersDoNotBlock()
    {
        QProcess *a = start(QStringLiteral("Tunovia"));
        QProcess *b = start(QStringLiteral("Other"));
        QVERIFY(waitHeld(a));
        QVERIFY(waitHeld(b));
        // A "/" in the identifier does not reach into another folder.
        QProcess *c = start(QStringLiteral("sub/Tunovia"));
        QVERIFY(waitHeld(c));
        QVERIFY(instancelock::lockPath(QStringLiteral("sub/Tunovia")).startsWith(m_runtime.path() + QLatin1Char('/')));
        QCOMPARE(instancelock::lockPath(QStringLiteral("sub/Tunovia")).count(QLatin1Char('/')),
                 m_runtime.path().count(QLatin1Char('/')) + 1);
    }

    void lockInThisProcess()
    {
        // The lock belongs to the process: asking again here succeeds, while
        // another process is still turned away.
        QCOMPARE(instancelock::tryAcquire(QStringLiteral("InProcess")), instancelock::Result::Acquired);
        QCOMPARE(instancelock::tryAcquire(QStringLiteral("InProcess")), instancelock::Result::Acquired);
        QProcess *child = start(QStringLiteral("InProcess"));
        QVERIFY(child->waitForFinished(10000));
        QCOMPARE(child->exitCode(), 255);

        // Without a usable folder the program runs unguarded instead of not at all.
        qputenv("XDG_RUNTIME_DIR", "/proc");
        QCOMPARE(instancelock::tryAcquire(QStringLiteral("Nowhere")), instancelock::Result::Unavailable);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    void emptyIdentifierGuardsNothing()
    {
        MutexCheck guard;
        QCOMPARE(guard.property("MutexID").toString(), QString());
        guard.check(); // would end this test run if it locked anything shared
        QVERIFY(guard.checked());
        QProcess *a = start(QString());
        QProcess *b = start(QString());
        QVERIFY(waitHeld(a));
        QVERIFY(waitHeld(b));
    }
};

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--hold-lock") == 0)
        return holdLock(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--sleep") == 0) {
        QThread::sleep(5);
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestMutexCheck tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "test_mutexcheck.moc"
