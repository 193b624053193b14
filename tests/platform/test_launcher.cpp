#include "platform/launcher.h"

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
