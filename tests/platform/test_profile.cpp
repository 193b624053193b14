#include "platform/profile.h"
#include "platform/textcodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace {

const QString kSection = QStringLiteral("Keys");

// Long enough that a torn write would show, and self-checking: every value
// names its own key.
QString valueFor(const QString &key) { return QStringLiteral("<%1|%2>").arg(key, QString(200, u'x')); }

// Child mode: write <count> keys "<prefix><n>" into <file>, saying "go" after
// the first one so the parent can time its kill.
int writeKeys(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ProfileFile profile(QFile::decodeName(argv[2]));
    const QString prefix = QString::fromLocal8Bit(argv[3]);
    const int count = std::atoi(argv[4]);
    for (int i = 0; i < count; ++i) {
        const QString key = prefix + QString::number(i);
        if (!profile.writeString(kSection, key, valueFor(key)).ok())
            return 2;
        if (i == 0) {
            std::fputs("go\n", stdout);
            std::fflush(stdout);
        }
    }
    return 0;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Every key line of the file, checked for a whole value; returns the key names.
QStringList completeKeys(const QByteArray &content, QString *problem)
{
    QStringList keys;
    int sections = 0;
    const QList<QByteArray> lines = content.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (i == lines.size() - 1) {
            if (!line.isEmpty())
                *problem = QStringLiteral("last line has no line end");
            break;
        }
        if (!line.endsWith('\r')) {
            *problem = QStringLiteral("line %1 does not end in CR LF").arg(i);
            return keys;
        }
        line.chop(1);
        if (line.startsWith('[')) {
            ++sections;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        const QString key = QString::fromUtf8(line.left(eq));
        if (eq < 0 || QString::fromUtf8(line.mid(eq + 1)) != valueFor(key)) {
            *problem = QStringLiteral("torn line %1: %2").arg(i).arg(QString::fromUtf8(line.left(60)));
            return keys;
        }
        keys.append(key);
    }
    if (sections > 1)
        *problem = QStringLiteral("section written %1 times").arg(sections);
    return keys;
}

QByteArray garbage(int size)
{
    QByteArray g(size, '\0');
    for (int i = 0; i < size; ++i) {
        const char c = char((i * 7919 + 13) % 256);
        g[i] = (c == '\r' || c == '\n') ? '\0' : c;
    }
    return g;
}

QByteArray cp932(const QString &s) { return text::toCp932(s); }

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    QProcess *startWriter(const QString &prefix, int count)
    {
        auto *p = new QProcess(this);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--write-keys"), m_path, prefix, QString::number(count)});
        return p;
    }

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("%1.ini").arg(QString::fromLatin1(QTest::currentTestFunction())));
        QFile::remove(m_path);
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("expected"); // invalid: the key is missing

        const QVariant missing;
        auto str = [](const char *s) { return QVariant(QString::fromUtf8(s)); };
        QTest::newRow("names ignore case") << QByteArray("[setting]\r\nwinamp=/a\r\n") << "SETTING"
                                           << "WinAmp" << str("/a");
        QTest::newRow("blanks around names and values") << QByteArray(" [ S ] \r\n\t Key \t=  in  side \t\r\n") << "S"
                                                        << "Key" << str("in  side");
        QTest::newRow("double quotes") << QByteArray("[S]\r\nKey=\" x \"\r\n") << "S"
                                       << "Key" << str(" x ");
        QTest::newRow("single quotes") << QByteArray("[S]\r\nKey='x'\r\n") << "S"
                                       << "Key" << str("x");
        QTest::newRow("mismatched quotes") << QByteArray("[S]\r\nKey=\"x'\r\n") << "S"
                                           << "Key" << str("\"x'");
        QTest::newRow("lone quote") << QByteArray("[S]\r\nKey=\"\r\n") << "S"
                                    << "Key" << str("\"");
        QTest::newRow("empty value is present") << QByteArray("[S]\r\nKey=\r\n") << "S"
                                                << "Key" << str("");
        QTest::newRow("equals inside value") << QByteArray("[S]\r\nKey=a=b\r\n") << "S"
                                             << "Key" << str("a=b");
        QTest::newRow("comment") << QByteArray("[S]\r\n;Key=1\r\n  ; Key=2\r\n") << "S"
                                 << "Key" << missing;
        QTest::newRow("comment before the key") << QByteArray("[S]\r\n;Key=1\r\nKey=2\r\n") << "S"
                                                << "Key" << str("2");
        QTest::newRow("first duplicate wins") << QByteArray("[S]\r\nKey=1\r\nkey=2\r\n") << "S"
                                              << "Key" << str("1");
        QTest::newRow("duplicate section") << QByteArray("[S]\r\nA=1\r\n[T]\r\nKey=0\r\n[s]\r\nKey=3\r\n") << "S"
                                           << "Key" << str("3");
        QTest::newRow("other section only") << QByteArray("[T]\r\nKey=1\r\n[S]\r\n") << "S"
                                            << "Key" << missing;
        QTest::newRow("key before any section") << QByteArray("Key=1\r\n[S]\r\n") << "S"
                                                << "Key" << missing;
        QTest::newRow("LF only") << QByteArray("[S]\nA=1\nKey=v\n") << "S"
                                 << "Key" << str("v");
        QTest::newRow("CR only") << QByteArray("[S]\rA=1\rKey=v\rB=2") << "S"
                                 << "Key" << str("v");
        QTest::newRow("no final line end") << QByteArray("[S]\r\nKey=v") << "S"
                                           << "Key" << str("v");
        QTest::newRow("NUL on another line") << QByteArray("[S]\r\nA=x\0y\r\nKey=v\r\n", 20) << "S"
                                             << "Key" << str("v");
        QTest::newRow("megabyte line") << "[S]\r\nJunk=" + QByteArray(1 << 20, 'j') + "\r\nKey=v\r\n"
                                       << "S"
                                       << "Key" << str("v");
        QTest::newRow("binary garbage first") << garbage(5000) + "\r\n[S]\r\nKey=v\r\n"
                                              << "S"
                                              << "Key" << str("v");
        QTest::newRow("CP932") << "[S]\r\nKey=" + cp932(QStringLiteral("ＭＳ Ｐゴシック")) + "\r\n"
                               << "S"
                               << "Key" << QVariant(QStringLiteral("ＭＳ Ｐゴシック"));
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[S]\r\nKey=\xE6\xAD\x8C\r\n") << "S"
                                        << "Key" << QVariant(QStringLiteral("歌"));
    }
    void reads()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QVariant, expected);
        QVERIFY(writeFile(m_path, content));
        const ProfileFile profile(m_path);
        const auto got = profile.value(section, key);
        QCOMPARE(got.has_value(), expected.isValid());
        if (got)
            QCOMPARE(*got, expected.toString());
        QCOMPARE(profile.readString(section, key, QStringLiteral("dflt")),
                 expected.isValid() ? expected.toString() : QStringLiteral("dflt"));
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("new file") << QByteArray() << "S"
                                  << "Key" << QByteArray("[S]\r\nKey=v\r\n");
        QTest::newRow("replaced in place, rest untouched")
            << QByteArray("; c\n[S]\n A = 1 \nkey = 'old'\n[T]\nX=1") << "s"
            << "KEY" << QByteArray("; c\n[S]\n A = 1 \nKEY=v\n[T]\nX=1");
        QTest::newRow("replaced on the last line") << QByteArray("[S]\r\nKey=old") << "S"
                                                   << "Key" << QByteArray("[S]\r\nKey=v\r\n");
        QTest::newRow("added at the end of its section")
            << QByteArray("[S]\r\nA=1\r\n;note\r\n\r\n[T]\r\nB=2\r\n") << "S"
            << "Key" << QByteArray("[S]\r\nA=1\r\n;note\r\nKey=v\r\n\r\n[T]\r\nB=2\r\n");
        QTest::newRow("added to a last section without line end") << QByteArray("[S]\r\nA=1") << "S"
                                                                  << "Key" << QByteArray("[S]\r\nA=1\r\nKey=v\r\n");
        QTest::newRow("added to an empty section") << QByteArray("[S]\r\n[T]\r\n") << "S"
                                                   << "Key" << QByteArray("[S]\r\nKey=v\r\n[T]\r\n");
        QTest::newRow("section added at the end") << QByteArray("[T]\r\nB=2") << "S"
                                                  << "Key" << QByteArray("[T]\r\nB=2\r\n[S]\r\nKey=v\r\n");
        QTest::newRow("only the first duplicate") << QByteArray("[S]\r\nKey=1\r\nKey=2\r\n") << "S"
                                                  << "Key" << QByteArray("[S]\r\nKey=v\r\nKey=2\r\n");
        QTest::newRow("key in a duplicate section") << QByteArray("[S]\r\nA=1\r\n[T]\r\n[s]\r\nkey=2\r\n") << "S"
                                                    << "Key" << QByteArray("[S]\r\nA=1\r\n[T]\r\n[s]\r\nKey=v\r\n");
        QTest::newRow("missing key goes to the first section")
            << QByteArray("[S]\r\nA=1\r\n[T]\r\n[S]\r\nB=2\r\n") << "S"
            << "Key" << QByteArray("[S]\r\nA=1\r\nKey=v\r\n[T]\r\n[S]\r\nB=2\r\n");
        QTest::newRow("CR only kept") << QByteArray("[S]\rA=1\r[T]\r") << "S"
                                      << "Key" << QByteArray("[S]\rA=1\rKey=v\r\n[T]\r");
        QTest::newRow("NUL and garbage kept")
            << QByteArray("[S]\r\nA=x\0y\r\n", 12) + garbage(3000) + "\r\nKey=1\r\n"
            << "S"
            << "Key" << QByteArray("[S]\r\nA=x\0y\r\n", 12) + garbage(3000) + "\r\nKey=v\r\n";
        QTest::newRow("megabyte line kept") << "[S]\r\nJunk=" + QByteArray(1 << 20, 'j') << "S"
                                            << "Key"
                                            << "[S]\r\nJunk=" + QByteArray(1 << 20, 'j') + "\r\nKey=v\r\n";
    }
    void writes()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            QVERIFY(writeFile(m_path, before));
        ProfileFile profile(m_path);
        QCOMPARE(profile.writeString(section, key, QStringLiteral("v")).ok(), true);
        QCOMPARE(readFile(m_path), after);
        QCOMPARE(profile.value(section, key), QStringLiteral("v"));
    }

    void encodingFollowsContent()
    {
        ProfileFile profile(m_path);
        const QByteArray cp932File = "[Lyrics]\r\nFontName=" + cp932(QStringLiteral("ＭＳ Ｐゴシック")) + "\r\n";

        // A CP932 file stays CP932.
        QVERIFY(writeFile(m_path, cp932File));
        QVERIFY(profile.writeString(QStringLiteral("Setting"), QStringLiteral("J2"), QStringLiteral("/曲/j2")).ok());
        QCOMPARE(readFile(m_path), cp932File + "[Setting]\r\nJ2=" + cp932(QStringLiteral("/曲/j2")) + "\r\n");

        // A plain ASCII file takes CP932 for Japanese text.
        QVERIFY(writeFile(m_path, "[S]\r\nA=1\r\n"));
        QVERIFY(profile.writeString(QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("歌")).ok());
        QCOMPARE(readFile(m_path), "[S]\r\nA=1\r\nB=" + cp932(QStringLiteral("歌")) + "\r\n");

        // Text without a CP932 form turns the file into UTF-8; nothing is lost.
        QVERIFY(writeFile(m_path, cp932File));
        const QString emoji = QStringLiteral("Ärger \U0001F600");
        QVERIFY(profile.writeString(QStringLiteral("Lyrics"), QStringLiteral("FindFolder"), emoji).ok());
        const QByteArray converted = readFile(m_path);
        QVERIFY(text::isValidUtf8(converted));
        QCOMPARE(QString::fromUtf8(converted),
                 QStringLiteral("[Lyrics]\r\nFontName=ＭＳ Ｐゴシック\r\nFindFolder=Ärger \U0001F600\r\n"));
        QCOMPARE(profile.value(QStringLiteral("Lyrics"), QStringLiteral("FontName")),
                 QStringLiteral("ＭＳ Ｐゴシック"));

        // ...and stays UTF-8 for text that CP932 could hold.
        QVERIFY(profile.writeString(QStringLiteral("Lyrics"), QStringLiteral("Next"), QStringLiteral("歌")).ok());
        QCOMPARE(readFile(m_path), converted + QByteArray("Next=\xE6\xAD\x8C\r\n"));

        // A new section's name counts as new text as well.
        QVERIFY(writeFile(m_path, cp932File));
        QVERIFY(profile.writeString(QStringLiteral("Été"), QStringLiteral("K"), QStringLiteral("v")).ok());
        QCOMPARE(QString::fromUtf8(readFile(m_path)),
                 QStringLiteral("[Lyrics]\r\nFontName=ＭＳ Ｐゴシック\r\n[Été]\r\nK=v\r\n"));

        // A byte-order mark survives a rewrite.
        QVERIFY(writeFile(m_path, "\xEF\xBB\xBF[S]\r\nKey=1\r\n"));
        QVERIFY(profile.writeString(QStringLiteral("S"), QStringLiteral("Key"), QStringLiteral("2")).ok());
        QCOMPARE(readFile(m_path), QByteArray("\xEF\xBB\xBF[S]\r\nKey=2\r\n"));
    }

    void refusedWrites_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("LF in value") << "S"
                                     << "Key"
                                     << "a\n[Evil]\nX=1";
        QTest::newRow("CR in value") << "S"
                                     << "Key"
                                     << "a\rb";
        QTest::newRow("NUL in value") << "S"
                                      << "Key" << QStringLiteral("a") + QChar(0);
        QTest::newRow("equals in key") << "S"
                                       << "K=ey"
                                       << "v";
        QTest::newRow("empty key") << "S"
                                   << " "
                                   << "v";
        QTest::newRow("comment key") << "S"
                                     << ";Key"
                                     << "v";
        QTest::newRow("bracket in section") << "S]x"
                                            << "Key"
                                            << "v";
        QTest::newRow("LF in section") << "S\n"
                                       << "Key"
                                       << "v";
    }
    void refusedWrites()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QByteArray before("[S]\r\nKey=old\r\n");
        QVERIFY(writeFile(m_path, before));
        ProfileFile profile(m_path);
        const auto error = profile.writeString(section, key, value);
        QVERIFY(!error.ok());
        QVERIFY(!error.error().message.isEmpty());
        QCOMPARE(readFile(m_path), before);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << QString();
        QTest::newRow("windows path") << QStringLiteral("C:\\Program Files\\Winamp\\winamp.exe");
        QTest::newRow("inner quotes") << QStringLiteral("a \"b\" c");
        QTest::newRow("brackets and semicolon") << QStringLiteral("[x];y");
        QTest::newRow("japanese") << QStringLiteral("ＭＳ Ｐゴシック");
        QTest::newRow("long") << QString(5000, u'z');
    }
    void roundTrip()
    {
        QFETCH(QString, value);
        ProfileFile profile(m_path);
        QVERIFY(profile.writeString(QStringLiteral("S"), QStringLiteral("Key"), value).ok());
        QVERIFY(profile.writeString(QStringLiteral("S"), QStringLiteral("After"), QStringLiteral("1")).ok());
        QCOMPARE(profile.readString(QStringLiteral("S"), QStringLiteral("Key"), QStringLiteral("dflt")), value);
        QCOMPARE(profile.readInt(QStringLiteral("S"), QStringLiteral("After"), 0), 1);
    }

    void parseInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected"); // invalid: not a number
        const QVariant none;
        QTest::newRow("decimal") << "42" << QVariant(42);
        QTest::newRow("negative") << "-5" << QVariant(-5);
        QTest::newRow("plus") << "+7" << QVariant(7);
        QTest::newRow("system colour") << "-16777211" << QVariant(-16777211);
        QTest::newRow("hex") << "0x10" << QVariant(16);
        QTest::newRow("upper hex") << "0X1f" << QVariant(31);
        QTest::newRow("hex colour") << "0x00CCFFCC" << QVariant(13434828);
        QTest::newRow("hex wraps to negative") << "0xFFFFFFFF" << QVariant(-1);
        QTest::newRow("bare 0x") << "0x" << none;
        QTest::newRow("hex overflow") << "0x100000000" << none;
        QTest::newRow("hex with sign") << "0x-5" << none;
        QTest::newRow("hex with blank") << "0x 5" << none;
        QTest::newRow("not hex") << "0xg" << none;
        QTest::newRow("letters") << "abc" << none;
        QTest::newRow("trailing letters") << "12abc" << none;
        QTest::newRow("exponent") << "1e3" << none;
        QTest::newRow("empty") << "" << none;
        QTest::newRow("sign only") << "-" << none;
        QTest::newRow("max") << "2147483647" << QVariant(2147483647);
        QTest::newRow("min") << "-2147483648" << QVariant(int(-2147483647 - 1));
        QTest::newRow("overflow") << "2147483648" << none;
        QTest::newRow("far overflow") << "99999999999999999999" << none;
        QTest::newRow("fullwidth digits") << "１２" << none;
    }
    void parseInt()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        const auto got = ProfileFile::parseInt(text);
        QCOMPARE(got.has_value(), expected.isValid());
        if (got)
            QCOMPARE(*got, expected.toInt());

        QVERIFY(writeFile(m_path, "[S]\r\nKey=" + text.toUtf8() + "\r\n"));
        const ProfileFile profile(m_path);
        QCOMPARE(profile.readInt(QStringLiteral("S"), QStringLiteral("Key"), 77),
                 expected.isValid() ? expected.toInt() : 77);
    }

    void flagsAndMissingFile()
    {
        const ProfileFile absent(m_dir.filePath(QStringLiteral("absent/Tunov.ini")));
        QVERIFY(!absent.exists());
        QCOMPARE(absent.readInt(QStringLiteral("S"), QStringLiteral("Key"), 5), 5);
        QCOMPARE(absent.readFlag(QStringLiteral("S"), QStringLiteral("Key"), true), true);

        QVERIFY(writeFile(m_path, "[S]\r\nTwo=2\r\nZero=0\r\nEmpty=\r\nJunk=yes\r\n"));
        const ProfileFile profile(m_path);
        QCOMPARE(profile.readFlag(QStringLiteral("S"), QStringLiteral("Two"), false), true);
        QCOMPARE(profile.readFlag(QStringLiteral("S"), QStringLiteral("Zero"), true), false);
        QCOMPARE(profile.readFlag(QStringLiteral("S"), QStringLiteral("Empty"), true), true);
        QCOMPARE(profile.readFlag(QStringLiteral("S"), QStringLiteral("Junk"), false), false);
    }

    void writeCreatesFolderAndReportsFailure()
    {
        ProfileFile nested(m_dir.filePath(QStringLiteral("a/b/Tunov.ini")));
        QVERIFY(nested.writeInt(QStringLiteral("Volume"), QStringLiteral("Volume"), -3).ok());
        QCOMPARE(readFile(nested.path()), QByteArray("[Volume]\r\nVolume=-3\r\n"));

        ProfileFile impossible(QStringLiteral("/proc/tunovia-test/Tunov.ini"));
        const auto error = impossible.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
        QVERIFY(!error.ok());
        QCOMPARE(error.error().path, impossible.path());

        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("dir.ini")));
        ProfileFile folder(m_dir.filePath(QStringLiteral("dir.ini")));
        QVERIFY(!folder.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")).ok());
    }

    // A FIFO in the settings file's place is neither waited for nor replaced.
    void fifoInPlaceOfTheFile()
    {
        QCOMPARE(::mkfifo(QFile::encodeName(m_path).constData(), 0600), 0);
        ProfileFile fifo(m_path);
        QCOMPARE(fifo.readInt(QStringLiteral("S"), QStringLiteral("Key"), 5), 5);
        QVERIFY(!fifo.writeString(QStringLiteral("S"), QStringLiteral("Key"), QStringLiteral("v")).ok());
        QVERIFY(!QFileInfo(m_path).isFile());
    }

    // A writer killed at any moment leaves the old or the new file, never a
    // torn one, and earlier keys are never lost.
    void killedWriterNeverTearsTheFile()
    {
        QStringList expected;
        int leftovers = 0;
        for (int round = 0; round < 30; ++round) {
            const QString prefix = QStringLiteral("R%1_").arg(round);
            QProcess *writer = startWriter(prefix, 100000);
            QVERIFY(writer->waitForReadyRead(20000));
            QThread::msleep(QRandomGenerator::global()->bounded(0, 40));
            writer->kill();
            QVERIFY(writer->waitForFinished(10000));
            QCOMPARE(writer->exitStatus(), QProcess::CrashExit);
            delete writer;

            QString problem;
            const QStringList keys = completeKeys(readFile(m_path), &problem);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            // The keys of earlier rounds, then this round's in order without a gap.
            QCOMPARE(keys.mid(0, expected.size()), expected);
            for (qsizetype i = expected.size(); i < keys.size(); ++i)
                QCOMPARE(keys[i], prefix + QString::number(i - expected.size()));
            QVERIFY(keys.size() > expected.size()); // the "go" came after one whole write
            expected = keys;

            const ProfileFile profile(m_path);
            QCOMPARE(profile.value(kSection, expected.back()), valueFor(expected.back()));
        }
        // Temporary files of killed writers may remain beside the file, but never pile up beyond one per kill.
        const QStringList files = QDir(m_dir.path()).entryList(QDir::Files);
        for (const QString &f : files) {
            if (f.startsWith(QStringLiteral("killedWriterNeverTearsTheFile.ini.")) &&
                !f.endsWith(QStringLiteral(".lock"))) {
                ++leftovers;
                qInfo("left: %s", qPrintable(f));
            }
        }
        QVERIFY(leftovers <= 30);
        qInfo("%lld keys written, %d temporary files left", static_cast<long long>(expected.size()), leftovers);
    }

    // Two processes writing at once lose nothing, and a reader meanwhile only
    // ever sees whole files.
    void concurrentWritersLoseNothing()
    {
        constexpr int kEach = 200;
        QProcess *a = startWriter(QStringLiteral("A"), kEach);
        QProcess *b = startWriter(QStringLiteral("B"), kEach);
        int reads = 0;
        while (a->state() != QProcess::NotRunning || b->state() != QProcess::NotRunning) {
            QString problem;
            completeKeys(readFile(m_path), &problem);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            ++reads;
            a->waitForFinished(1);
            b->waitForFinished(1);
        }
        QCOMPARE(a->exitCode(), 0);
        QCOMPARE(b->exitCode(), 0);

        QString problem;
        QStringList keys = completeKeys(readFile(m_path), &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(keys.size(), 2 * kEach);
        keys.sort();
        keys.removeDuplicates();
        QCOMPARE(keys.size(), 2 * kEach);
        qInfo("%d reads while writing", reads);
        delete a;
        delete b;
    }
};

int main(int argc, char **argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "--write-keys") == 0)
        return writeKeys(argc, argv);
    QCoreApplication app(argc, argv);
    TestProfile tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "test_profile.moc"
