#include "platform/regularfile.h"

#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using regularfile::Failure;

class TestRegularFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile(path("nine"), "123456789");
        writeFile(path("ten"), "1234567890");
        writeFile(path("eleven"), "12345678901");
        writeFile(path("empty"), QByteArray());
        QVERIFY(QFile::link(path("ten"), path("link")));
        QDir().mkpath(path("folder"));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    }

    // Nothing that is not a regular file is read, and nothing blocks or runs
    // on: a FIFO without a writer and /dev/zero return at once.
    void readsOnlyRegularFilesWithinTheLimit_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("below the limit") << path("nine") << int(Failure::None) << QByteArray("123456789");
        QTest::newRow("at the limit") << path("ten") << int(Failure::None) << QByteArray("1234567890");
        QTest::newRow("past the limit") << path("eleven") << int(Failure::TooLarge) << QByteArray();
        QTest::newRow("empty") << path("empty") << int(Failure::None) << QByteArray();
        QTest::newRow("link to a file") << path("link") << int(Failure::None) << QByteArray("1234567890");
        QTest::newRow("missing") << path("none") << int(Failure::Missing) << QByteArray();
        QTest::newRow("inside a file") << path("ten/x") << int(Failure::Missing) << QByteArray();
        QTest::newRow("no name") << QString() << int(Failure::Missing) << QByteArray();
        QTest::newRow("folder") << path("folder") << int(Failure::NotRegular) << QByteArray();
        QTest::newRow("FIFO") << path("fifo") << int(Failure::NotRegular) << QByteArray();
        QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << int(Failure::NotRegular) << QByteArray();
    }
    void readsOnlyRegularFilesWithinTheLimit()
    {
        QFETCH(QString, file);
        QFETCH(int, failure);
        QFETCH(QByteArray, bytes);
        const regularfile::Read read = regularfile::read(file, 10);
        QCOMPARE(int(read.failure), failure);
        QCOMPARE(read.bytes, bytes);
        QCOMPARE(read.reason.isEmpty(), read.ok());

        QFile opened;
        const regularfile::Outcome outcome = regularfile::open(opened, file);
        QCOMPARE(outcome.ok(), failure == int(Failure::None) || failure == int(Failure::TooLarge));
        QCOMPARE(opened.isOpen(), outcome.ok());
    }

    void unreadableFileSaysWhy()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        writeFile(path("secret"), "x");
        QVERIFY(QFile::setPermissions(path("secret"), QFileDevice::WriteOwner));
        const regularfile::Read read = regularfile::read(path("secret"));
        QCOMPARE(read.failure, Failure::Unreadable);
        QVERIFY(!read.reason.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRegularFile)
#include "test_regularfile.moc"
