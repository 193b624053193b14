#include "app/commandline.h"

#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void indexPath_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QStringList{} << false << QString();
        QTest::newRow("/r= folder") << QStringList{QStringLiteral("/r=/music/")} << true
                                    << QStringLiteral("/music/tunovia.ini");
        QTest::newRow("/R= upper case") << QStringList{QStringLiteral("/R=/music/")} << true
                                        << QStringLiteral("/music/tunovia.ini");
        QTest::newRow("/r= white space ends it")
            << QStringList{QStringLiteral("/r=/my music/")} << true << QStringLiteral("/mytunovia.ini");
        QTest::newRow("/r= without slash appends directly")
            << QStringList{QStringLiteral("/r=/music")} << true << QStringLiteral("/musictunovia.ini");
        QTest::newRow("/i= file") << QStringList{QStringLiteral("/i=/lib/rock.ini")} << true
                                  << QStringLiteral("/lib/rock.ini");
        QTest::newRow("/I= tab ends it") << QStringList{QStringLiteral("/I=/lib/a.ini\tjunk")} << true
                                         << QStringLiteral("/lib/a.ini");
        QTest::newRow("/x= ignored") << QStringList{QStringLiteral("/x=foo")} << false << QString();
        QTest::newRow("plain relative path")
            << QStringList{QStringLiteral("my index.ini")} << true << QStringLiteral("my index.ini");
        QTest::newRow("absolute path is a path")
            << QStringList{QStringLiteral("/home/u/index.ini")} << true << QStringLiteral("/home/u/index.ini");
        QTest::newRow("only the first argument counts")
            << QStringList{QStringLiteral("/x=1"), QStringLiteral("/i=/b.ini")} << false << QString();
        QTest::newRow("long argument is not cut")
            << QStringList{QStringLiteral("/i=/") + QString(400, QLatin1Char('a'))} << true
            << QStringLiteral("/") + QString(400, QLatin1Char('a'));
    }
    void indexPath()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, changes);
        QFETCH(QString, expected);
        const auto result = indexPathFromCommandLine(args);
        QCOMPARE(result.has_value(), changes);
        if (changes)
            QCOMPARE(*result, expected);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
