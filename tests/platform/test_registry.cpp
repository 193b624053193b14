#include "platform/registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A file as Wine writes it, with the usual neighbours of the keys we read.
const QByteArray kSample =
    QByteArrayLiteral("WINE REGISTRY Version 2\n"
                      ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
                      "\n"
                      "#arch=win32\n"
                      "\n"
                      "[Software\\\\Ravlen\\\\Tunovia\\\\Setting] 1234567890\n"
                      "#time=1d2b3c4d5e6f708\n"
                      "\"Winamp\"=\"C:\\\\Program Files\\\\Winamp\\\\winamp.exe\"\n"
                      "\"WinampCheck\"=dword:00000001\n"
                      "\"DrawInterval\"=dword:0000000a\n"
                      "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,\\\n"
                      "  15,16,17,18\n"
                      "\"SCMPX\"=\"D:\\\\scmpx\\\\scmpx.exe\"\n"
                      "\"Expand\"=str(2):\"%HOME%\\\\x\"\n"
                      "\"Packed\"=hex(4):0a,01,00,00\n"
                      "\"Negative\"=dword:ffffffff\n"
                      "@=\"the default\"\n"
                      "\n"
                      "[Software\\\\Ravlen\\\\Tunoia\\\\Font] 1234567891\n"
                      "\"Name\"=\"\\x30e1\\x30a4\\x30ea\\x30aa\"\n"
                      "\"Size\"=dword:00000009\n");

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private slots:
    void readsWineFile()
    {
        const LegacyRegistry reg(kSample);
        const QString setting = QStringLiteral("Software\\Ravlen\\Tunovia\\Setting");
        QVERIFY(reg.hasKey(setting));
        QVERIFY(reg.hasKey(QStringLiteral("\\SOFTWARE\\ravlen\\TUNOVIA\\setting")));
        QVERIFY(!reg.hasKey(QStringLiteral("Software\\Ravlen\\Tunovia")));
        QVERIFY(!reg.hasKey(QStringLiteral("Software\\Ravlen\\Tunovia\\Window")));

        QCOMPARE(reg.string(setting, QStringLiteral("winamp")),
                 QStringLiteral("C:\\Program Files\\Winamp\\winamp.exe"));
        // The wrapped binary value before it must not swallow this one.
        QCOMPARE(reg.string(setting, QStringLiteral("SCMPX")), QStringLiteral("D:\\scmpx\\scmpx.exe"));
        QCOMPARE(reg.string(setting, QStringLiteral("Expand")), QStringLiteral("%HOME%\\x"));
        QCOMPARE(reg.string(setting, QString()), QStringLiteral("the default"));
        QCOMPARE(reg.integer(setting, QStringLiteral("WinampCheck")), 1);
        QCOMPARE(reg.integer(setting, QStringLiteral("DRAWINTERVAL")), 10);
        QCOMPARE(reg.integer(setting, QStringLiteral("Packed")), 0x10a);
        QCOMPARE(reg.integer(setting, QStringLiteral("Negative")), -1);

        // Wrong type or missing: nothing.
        QCOMPARE(reg.integer(setting, QStringLiteral("Winamp")), std::nullopt);
        QCOMPARE(reg.string(setting, QStringLiteral("WinampCheck")), std::nullopt);
        QCOMPARE(reg.string(setting, QStringLiteral("Blob")), std::nullopt);
        QCOMPARE(reg.string(setting, QStringLiteral("J2")), std::nullopt);

        const QString font = QStringLiteral("Software\\Ravlen\\Tunoia\\Font");
        QCOMPARE(reg.string(font, QStringLiteral("Name")), QStringLiteral("メイリオ"));
        QCOMPARE(reg.integer(font, QStringLiteral("Size")), 9);
    }

    void stringEscapes_data()
    {
        QTest::addColumn<QByteArray>("escaped");
        QTest::addColumn<QString>("expected");
        QTest::newRow("backslash") << QByteArray("a\\\\b") << QStringLiteral("a\\b");
        QTest::newRow("quote") << QByteArray("say \\\"hi\\\"") << QStringLiteral("say \"hi\"");
        QTest::newRow("c escapes") << QByteArray("1\\n2\\t3\\r") << QStringLiteral("1\n2\t3\r");
        QTest::newRow("hex unit") << QByteArray("\\x3042") << QStringLiteral("あ");
        // Wine writes the short form when no hex digit follows.
        QTest::newRow("short hex then text") << QByteArray("\\xe9t\\xe9") << QStringLiteral("été");
        QTest::newRow("four digits at most") << QByteArray("\\x00410") << QStringLiteral("A0");
        QTest::newRow("surrogate pair") << QByteArray("\\xd83d\\xde00") << QStringLiteral("\U0001F600");
        QTest::newRow("octal") << QByteArray("a\\0b\\101") << QStringLiteral("a") + QChar(0) + QStringLiteral("bA");
        QTest::newRow("raw utf-8") << QByteArray("\xe6\xad\x8c") << QStringLiteral("歌");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void stringEscapes()
    {
        QFETCH(QByteArray, escaped);
        QFETCH(QString, expected);
        const LegacyRegistry reg("[K] 1\n\"V\"=\"" + escaped + "\"\n");
        QCOMPARE(reg.string(QStringLiteral("K"), QStringLiteral("V")), expected);
    }

    void keyNameEscapes()
    {
        const LegacyRegistry reg(QByteArrayLiteral("[A\\\\B\\]C\\\\\\x6b4c] 99\n\"\\\"q\\\"\"=dword:2\n"));
        QVERIFY(reg.hasKey(QStringLiteral("A\\B]C\\歌")));
        QCOMPARE(reg.integer(QStringLiteral("a\\b]c\\歌"), QStringLiteral("\"Q\"")), 2);
    }

    // Damage anywhere costs at most the damaged entry: what comes after still reads.
    void damagedInput_data()
    {
        QTest::addColumn<QByteArray>("damage");
        QTest::newRow("header without bracket") << QByteArray("[Broken\\\\Key 123\n\"A\"=dword:5\n");
        QTest::newRow("unterminated name") << QByteArray("\"A=dword:5\n");
        QTest::newRow("unterminated string") << QByteArray("\"A\"=\"never ends\n");
        QTest::newRow("string ends in backslash") << QByteArray("\"A\"=\"x\\\n");
        QTest::newRow("bad dword digits") << QByteArray("\"A\"=dword:xyz\n");
        QTest::newRow("dword too long") << QByteArray("\"A\"=dword:123456789\n");
        QTest::newRow("missing equals") << QByteArray("\"A\" dword:5\n");
        QTest::newRow("short hex(4)") << QByteArray("\"A\"=hex(4):01,02\n");
        QTest::newRow("nul bytes") << QByteArray("\"A\"=\"x\0y\0\0\"\n\0\0\0\n", 16);
        QTest::newRow("megabyte line") << QByteArray(1 << 20, 'q') + "\n";
        QTest::newRow("megabyte of escapes") << "\"A\"=\"" + QByteArray(1 << 20, '\\') + "\n";
        QByteArray garbage(4096, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 7919 + 13) % 256);
        QTest::newRow("binary garbage") << garbage + "\n";
        QTest::newRow("lone cr ends") << QByteArray("\"A\"=dword:1\r\"B\"=dword:2\r\n");
    }
    void damagedInput()
    {
        QFETCH(QByteArray, damage);
        const QByteArray before("WINE REGISTRY Version 2\n[Good] 1\n\"First\"=\"one\"\n");
        const QByteArray after("\n[Good\\\\Later] 2\n\"Second\"=dword:00000002\n");
        const LegacyRegistry reg(before + damage + after);
        QCOMPARE(reg.string(QStringLiteral("Good"), QStringLiteral("First")), QStringLiteral("one"));
        QCOMPARE(reg.integer(QStringLiteral("Good\\Later"), QStringLiteral("Second")), 2);
        // A broken value never lands under the previous key.
        QCOMPARE(reg.integer(QStringLiteral("Good"), QStringLiteral("A")), std::nullopt);
    }

    void truncatedFileKeepsWhatCameBefore()
    {
        for (qsizetype cut = 0; cut <= kSample.size(); ++cut) {
            const LegacyRegistry reg(kSample.left(cut));
            const auto winamp =
                reg.string(QStringLiteral("Software\\Ravlen\\Tunovia\\Setting"), QStringLiteral("Winamp"));
            // Either the whole value or none of it.
            if (winamp)
                QCOMPARE(*winamp, QStringLiteral("C:\\Program Files\\Winamp\\winamp.exe"));
        }
        QVERIFY(LegacyRegistry(kSample.left(kSample.size() - 1))
                    .integer(QStringLiteral("Software\\Ravlen\\Tunoia\\Font"), QStringLiteral("Size")));
    }

    void fileLocation()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString explicitFile = dir.filePath(QStringLiteral("my.reg"));
        qputenv("TUNOVIA_REGISTRY_FILE", QFile::encodeName(explicitFile));
        qputenv("WINEPREFIX", QFile::encodeName(dir.path()));
        QCOMPARE(LegacyRegistry::defaultPath(), explicitFile);
        qunsetenv("TUNOVIA_REGISTRY_FILE");
        QCOMPARE(LegacyRegistry::defaultPath(), dir.filePath(QStringLiteral("user.reg")));
        qunsetenv("WINEPREFIX");
        QVERIFY(LegacyRegistry::defaultPath().endsWith(QStringLiteral("/.wine/user.reg")));

        // Missing file: every key is missing.
        QVERIFY(!LegacyRegistry::fromFile(dir.filePath(QStringLiteral("absent.reg"))).hasKey(QStringLiteral("Good")));
        QFile f(explicitFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Good] 1\n\"X\"=dword:7\n");
        f.close();
        QCOMPARE(LegacyRegistry::fromFile(explicitFile).integer(QStringLiteral("Good"), QStringLiteral("X")), 7);
        // A device that never ends must not stall the reader.
        QVERIFY(!LegacyRegistry::fromFile(QStringLiteral("/dev/zero")).hasKey(QStringLiteral("Good")));
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "test_registry.moc"
