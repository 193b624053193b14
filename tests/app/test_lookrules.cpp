#include "app/looksettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Which files a skin folder supplies, and how a chosen font is kept.
class TestLookRules : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString folderWith(const char *name, const QStringList &files)
    {
        QString folder = m_dir.filePath(QString::fromLatin1(name)) + QLatin1Char('/');
        QDir().mkpath(folder);
        for (const QString &file : files) {
            QFile f(folder + file);
            if (!f.open(QIODevice::WriteOnly))
                qFatal("cannot write a skin file");
        }
        return folder;
    }

private slots:
    void timeSkinNeedsItsZeroPicture()
    {
        QVERIFY(looksettings::timeSkinFiles(folderWith("nozero", {QStringLiteral("1.bmp"), QStringLiteral("_.bmp")}))
                    .isEmpty());
        const QString skin = folderWith("time", {QStringLiteral("0.bmp")});
        const QStringList files = looksettings::timeSkinFiles(skin);
        QCOMPARE(files.size(), 11);
        QCOMPARE(files.first(), skin + QStringLiteral("0.bmp"));
        QCOMPARE(files[9], skin + QStringLiteral("9.bmp"));
        QCOMPARE(files.last(), skin + QStringLiteral("_.bmp"));
    }

    void buttonSkinNeedsPlayAndPressedNeedsClickPlay()
    {
        const QStringList normal{QStringLiteral("pre.bmp"), QStringLiteral("play.bmp")};
        const QStringList pressed{QStringLiteral("click_pre.bmp"), QStringLiteral("click_play.bmp")};
        const auto none = looksettings::buttonSkinFiles(folderWith("pressedonly", pressed), normal, pressed);
        QVERIFY(none.normal.isEmpty() && none.pressed.isEmpty());

        const QString plain = folderWith("plain", {QStringLiteral("play.bmp")});
        const auto normalOnly = looksettings::buttonSkinFiles(plain, normal, pressed);
        QCOMPARE(normalOnly.normal, (QStringList{plain + normal[0], plain + normal[1]}));
        QVERIFY(normalOnly.pressed.isEmpty());

        const QString full = folderWith("full", {QStringLiteral("play.bmp"), QStringLiteral("click_play.bmp")});
        QCOMPARE(looksettings::buttonSkinFiles(full, normal, pressed).pressed,
                 (QStringList{full + pressed[0], full + pressed[1]}));
    }

    void chosenFontIsKeptAsTheSettingsFileHoldsIt()
    {
        ListLook look;
        looksettings::takeFont(look, QString(40, QLatin1Char('x')), 14, true, false);
        QCOMPARE(look.fontName, QString(31, QLatin1Char('x')));
        QCOMPARE(look.fontSize, 14);
        QVERIFY(look.bold && !look.italic);
        QCOMPARE(looksettings::pointSize(look), 14);
        look.fontSize = 0;
        QCOMPARE(looksettings::pointSize(look), 9);
    }
};

QTEST_GUILESS_MAIN(TestLookRules)
#include "test_lookrules.moc"
