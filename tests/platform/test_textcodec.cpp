#include "platform/textcodec.h"

#include <QTest>

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    void cp932Decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii") << QByteArray("Track 01") << QStringLiteral("Track 01");
        QTest::newRow("kana and kanji") << QByteArray("\x83\x65\x83\x58\x83\x67\x95\x5C")
                                        << QString::fromUtf8("テスト表");
        QTest::newRow("wave dash, as Windows maps it") << QByteArray("\x81\x60") << QString::fromUtf8("～");
        QTest::newRow("half-width kana") << QByteArray("\xB6\xC5") << QString::fromUtf8("ｶﾅ");
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void cp932Decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(text::fromCp932(bytes), expected);
        QCOMPARE(text::decode(bytes), expected);
    }

    void callsDoNotShareState()
    {
        // A field cut after the lead byte of a double-byte character: the
        // lead byte must not join the first byte of the next field.
        const QString cut = text::fromCp932("AB\x83");
        QVERIFY(cut.startsWith(QStringLiteral("AB")));
        QCOMPARE(text::fromCp932("\x65X"), QStringLiteral("eX"));
        QCOMPARE(text::fromCp932("\x83\x65"), QString::fromUtf8("テ"));
    }

    void roundTrip()
    {
        const QString s = QString::fromUtf8("夕暮れ Ｍｏｒｎｉｎｇ ｶﾅ ①");
        QVERIFY(text::fitsCp932(s));
        QCOMPARE(text::fromCp932(text::toCp932(s)), s);
        QVERIFY(!text::fitsCp932(QString::fromUtf8("😀")));
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "test_textcodec.moc"
