#include "platform/launcher.h"
#include "support/fakelauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

// Child mode: write what this process was given (show-window value, then
// each argument) to the file named first, in one atomic step.
int record(int argc, char **argv)
{
    QSaveFile out(QFile::decodeName(argv[2]));
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    out.write(qgetenv("TUNOVIA_SHOW_WINDOW"));
    out.write("\n");
    for (int i = 3; i < argc; ++i) {
        out.write(argv[i]);
        out.write("\n");
    }
    return out.commit() ? 0 : 1;
}

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void argumentsArriveUntouched_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("showWindow");
        QTest::newRow("none, hidden") << QStringList() << 0;
        QTest::newRow("path with blanks") << QStringList{QStringLiteral("/music/My Songs/WINAMP.m3u")} << 5;
        // A shell would expand, split or run these.
        QTest::newRow("shell syntax") << QStringList{QStringLiteral("$HOME"), QStringLiteral("a;touch x"),
                                                     QStringLiteral("\"quoted\""), QStringLiteral("*"),
                                                     QStringLiteral("`id`")}
                                      << 6;
        QTest::newRow("empty argument kept") << QStringList{QString(), QStringLiteral("b")} << 5;
        QTest::newRow("japanese") << QStringList{QStringLiteral("/歌/曲.mp3")} << 5;
    }
    void argumentsArriveUntouched()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, showWindow);
        const QString outFile = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'));
        SystemLauncher launcher;
        QVERIFY(launcher.startDetached(QCoreApplication::applicationFilePath(),
                                       QStringList{QStringLiteral("--record"), outFile} + arguments, showWindow));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(outFile), 10000);
        QFile f(outFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString got = QString::fromLocal8Bit(f.readAll());
        QCOMPARE(got, (QStringList{QString::number(showWindow)} + arguments).join(u'\n') + u'\n');
    }

    void editorChoice_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<bool>("desktopOpens");
        QTest::newRow("notepad.exe") << QStringLiteral("notepad.exe") << true;
        QTest::newRow("any case") << QStringLiteral("NotePad.EXE") << true;
        QTest::newRow("Windows folder") << QStringLiteral("C:\\WINDOWS\\notepad.exe") << true;
        QTest::newRow("missing Linux folder") << QStringLiteral("/nowhere/notepad.exe") << true;
        QTest::newRow("real program of that name") << QStringLiteral("<dir>/notepad.exe") << false;
        QTest::newRow("other editor") << QStringLiteral("/usr/bin/my editor") << false;
        QTest::newRow("similar name") << QStringLiteral("notepad.exe.sh") << false;
    }
    void editorChoice()
    {
        QFETCH(QString, editor);
        QFETCH(bool, desktopOpens);
        editor.replace(QStringLiteral("<dir>"), m_dir.path());
        if (editor.startsWith(m_dir.path())) {
            QFile program(editor);
            QVERIFY(program.open(QIODevice::WriteOnly));
            program.write("#!/bin/sh\n");
            program.close();
            program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
        }
        FakeLauncher launcher;
        const QString file = QStringLiteral("/music/a b.txt");
        QVERIFY(launcher.startEditor(editor, file));
        QCOMPARE(launcher.requests().size(), 1);
        const FakeLauncher::Request &r = launcher.requests()[0];
        if (desktopOpens) {
            QCOMPARE(int(r.kind), int(FakeLauncher::Kind::Document));
            QCOMPARE(r.target, file);
        } else {
            QCOMPARE(int(r.kind), int(FakeLauncher::Kind::Start));
            QCOMPARE(r.target, editor);
            QCOMPARE(r.arguments, QStringList{file});
            QCOMPARE(r.showWindow, int(Launcher::Normal));
        }
        launcher.succeed = false;
        QVERIFY(!launcher.startEditor(editor, file));
    }

    void failedStartIsReported()
    {
        SystemLauncher launcher;
        QVERIFY(!launcher.startDetached(QString(), {}, 5));
        QVERIFY(!launcher.startDetached(m_dir.filePath(QStringLiteral("no-such-program")), {}, 5));
        QVERIFY(!launcher.startDetached(QStringLiteral("tunovia-no-such-program-in-path"), {}, 5));
        QVERIFY(!launcher.openDocument(QString()));
        QVERIFY(!launcher.openFolder(QString()));
    }
};

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--record") == 0)
        return record(argc, argv);
    QCoreApplication app(argc, argv);
    TestLauncher tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "test_launcher.moc"
