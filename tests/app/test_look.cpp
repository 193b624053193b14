// Skins, list fonts and colours, and the list style buttons of the main window.
#include "app/ui/builtinpictures.h"
#include "support/mainwindowfixture.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {

// A plain-coloured BMP of the given size.
void writeBmp(const QString &path, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "BMP"));
}

QRgb centreOf(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    return image.pixel(image.width() / 2, image.height() / 2);
}

} // namespace

class TestLook : public QObject, public MainWindowFixture {
    Q_OBJECT

public:
    TestLook() : MainWindowFixture(QStringLiteral("Tunov.ini")) {}

private:
    // Every window starts from exactly these settings, with nothing asked yet.
    TTunoviaF &makeWindow(const QByteArray &settings = {})
    {
        MainWindowFixture::makeWindow(settings);
        m_prompts.clear();
        return *m_window;
    }

    QString skinFolder(const char *name)
    {
        QString folder = m_dir.filePath(QString::fromLatin1(name)) + QLatin1Char('/');
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        return folder;
    }

private slots:
    void initTestCase() { usePrivateRuntime(); }
    void cleanup() { m_window.reset(); }

    void timeSkinReplacesTheDigits()
    {
        const QString skin = skinFolder("digits");
        for (int i = 0; i < 10; ++i)
            writeBmp(skin + QStringLiteral("%1.bmp").arg(i), {14, 20}, QColor(10 * i, 0, 200));
        writeBmp(skin + QStringLiteral("_.bmp"), {6, 20}, Qt::red);
        TTunoviaF &w = makeWindow("[Skin]\r\nTimeSkin=" + skin.toUtf8() + "\r\n");
        w.FormShow();
        auto *time1 = w.findChild<QLabel *>(QStringLiteral("Time1"));
        QCOMPARE(QColor(centreOf(time1->pixmap())), QColor(0, 0, 200));
        QCOMPARE(QColor(centreOf(w.findChild<QLabel *>(QStringLiteral("Img1"))->pixmap())), QColor(Qt::red));
        QVERIFY(m_prompts.asked().isEmpty() || m_prompts.asked()[0].icon != Prompts::Icon::Error);
    }

    void skinFoldersWithoutTrailingSlashAreFound()
    {
        const QString skin = skinFolder("noslash");
        for (int i = 0; i < 10; ++i)
            writeBmp(skin + QStringLiteral("%1.bmp").arg(i), {14, 20}, Qt::blue);
        writeBmp(skin + QStringLiteral("_.bmp"), {6, 20}, Qt::blue);
        const QString buttons = skinFolder("noslash-buttons");
        for (auto which : BuiltinPictures::kAllButtonPictures)
            writeBmp(buttons + BuiltinPictures::buttonFileName(which, false), BuiltinPictures::buttonSize(which),
                     Qt::green);
        TTunoviaF &w = makeWindow("[Skin]\r\nTimeSkin=" + skin.chopped(1).toUtf8() +
                                  "\r\nButtonSkin=" + buttons.chopped(1).toUtf8() + "\r\n");
        w.FormShow();
        QCOMPARE(QColor(centreOf(w.findChild<QLabel *>(QStringLiteral("Time1"))->pixmap())), QColor(Qt::blue));
        auto *play = w.findChild<QToolButton *>(QStringLiteral("SpeedButton2"));
        QCOMPARE(QColor(play->icon().pixmap(48, 20).toImage().pixel(24, 10)), QColor(Qt::green));
    }

    void buttonSkinWithoutPressedPicturesShowsNoChangeWhenPressed()
    {
        const QString skin = skinFolder("buttons");
        for (auto which : BuiltinPictures::kAllButtonPictures)
            writeBmp(skin + BuiltinPictures::buttonFileName(which, false), BuiltinPictures::buttonSize(which),
                     Qt::green);
        TTunoviaF &w = makeWindow("[Skin]\r\nButtonSkin=" + skin.toUtf8() + "\r\n");
        w.FormShow();
        auto *play = w.findChild<QToolButton *>(QStringLiteral("SpeedButton2"));
        const QImage before = play->icon().pixmap(48, 20).toImage();
        QCOMPARE(QColor(before.pixel(24, 10)), QColor(Qt::green));
        QTest::mousePress(play, Qt::LeftButton);
        QCOMPARE(play->icon().pixmap(48, 20).toImage(), before);
        QTest::mouseRelease(play, Qt::LeftButton);
    }

    void builtinButtonsShowTheirPressedPicture()
    {
        TTunoviaF &w = makeWindow();
        auto *stop = w.findChild<QToolButton *>(QStringLiteral("SpeedButton4"));
        const QImage normal = stop->icon().pixmap(24, 20).toImage();
        QTest::mousePress(stop, Qt::LeftButton);
        QVERIFY(stop->icon().pixmap(24, 20).toImage() != normal);
        QTest::mouseRelease(stop, Qt::LeftButton);
        QCOMPARE(stop->icon().pixmap(24, 20).toImage(), normal);
    }

    void brokenSkinIsReportedAndEarlierPicturesStay()
    {
        const QString skin = skinFolder("broken");
        writeBmp(skin + QStringLiteral("0.bmp"), {14, 20}, Qt::yellow);
        QFile bad(skin + QStringLiteral("1.bmp"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a bitmap");
        bad.close();
        TTunoviaF &w = makeWindow("[Skin]\r\nTimeSkin=" + skin.toUtf8() + "\r\n");
        w.FormShow();
        bool reported = false;
        for (const auto &a : m_prompts.asked())
            reported = reported || (a.icon == Prompts::Icon::Error && a.text.contains(QStringLiteral("1.bmp")));
        QVERIFY(reported);
    }

    void fontMenuTakesNameSizeAndStyleButNotColour()
    {
        TTunoviaF &w = makeWindow();
        const QColor textBefore = w.listView2()->palette().color(QPalette::Text);
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPointSize(14);
        chosen.setBold(true);
        m_prompts.answerFont(chosen);
        w.FontMnuClick();
        QCOMPARE(w.listView2()->font().pointSize(), 14);
        QVERIFY(w.listView2()->font().bold());
        QCOMPARE(w.listView2()->palette().color(QPalette::Text), textBefore);
        const QByteArray file = readFile(ini());
        QVERIFY(file.contains("[Font]\r\nName=DejaVu Sans\r\nSize=14\r\nBold=1\r\nItalic=0\r\n"));
        QVERIFY(!file.contains("Color="));
    }

    void defaultTextColoursFollowTheDesktopOnlyInTheAlbumList()
    {
        // A style whose own text colour is not black tells the two apart.
        struct RedTextStyle : QProxyStyle {
            using QProxyStyle::QProxyStyle;
            QPalette standardPalette() const override
            {
                QPalette p = QProxyStyle::standardPalette();
                p.setColor(QPalette::Text, Qt::red);
                return p;
            }
        };
        const QString styleBefore = QApplication::style()->name();
        QApplication::setStyle(new RedTextStyle(QStyleFactory::create(styleBefore)));
        TTunoviaF &w = makeWindow();
        w.FormShow();
        const QColor album = w.listView2()->palette().color(QPalette::Text);
        const QColor legacy = w.listView()->palette().color(QPalette::Text);
        m_window.reset();
        QApplication::setStyle(styleBefore);
        QCOMPARE(album, QColor(Qt::red));
        QCOMPARE(legacy, QColor(Qt::black));
    }

    void colourMenusWriteColourValuesAndCancelWritesNothing()
    {
        TTunoviaF &w = makeWindow();
        m_prompts.answerColor(QColor(0x11, 0x22, 0x33));
        w.FontColorMnuClick();
        QVERIFY(readFile(ini()).contains("Color=3351057\r\n")); // 0x00332211
        m_prompts.answerColor(QColor(0xFF, 0xFF, 0xCC));
        w.BackColorMnuClick();
        QVERIFY(readFile(ini()).contains("BackColor=13434879\r\n")); // 0x00CCFFFF
        const QByteArray before = readFile(ini());
        m_prompts.answerCancel();
        w.BackColorMnuClick();
        m_prompts.answerCancel();
        w.FontMnuClick();
        QCOMPARE(readFile(ini()), before);
    }

    void unfocusedSelectionFollowsANewColourWhenNotKeptVisible()
    {
        TTunoviaF &w = makeWindow();
        w.FormShow();
        m_prompts.answerColor(QColor(0xFF, 0xFF, 0xCC));
        w.BackColorMnuClick();
        m_prompts.answerColor(QColor(0x11, 0x22, 0x33));
        w.FontColorMnuClick();
        const QPalette p = w.listView2()->palette();
        QCOMPARE(p.color(QPalette::Inactive, QPalette::Highlight), QColor(0xFF, 0xFF, 0xCC));
        QCOMPARE(p.color(QPalette::Inactive, QPalette::HighlightedText), QColor(0x11, 0x22, 0x33));
    }

    void fontChangeOnTheFiveColumnListReachesBothListsAtTheNextShow()
    {
        const QString legacy = m_dir.filePath(QStringLiteral("legacy.lst"));
        QFile f(legacy);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"a.mp3\",\"A\",\"\",\"\",\"1\"\r\n");
        f.close();
        TTunoviaF &w = makeWindow();
        w.setCurrentIndexPath(legacy);
        w.FormShow();
        QCOMPARE(w.currentList(), w.listView());
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(15);
        m_prompts.answerFont(chosen);
        w.FontMnuClick();
        QCOMPARE(w.listView()->font().pointSize(), 15);
        QVERIFY(w.listView2()->font().pointSize() != 15);
        w.FormShow();
        QCOMPARE(w.listView2()->font().pointSize(), 15);
    }

    void listButtonsSwitchTheStyleOfTheCurrentList()
    {
        TTunoviaF &w = makeWindow();
        w.findChild<QToolButton *>(QStringLiteral("ListBtn"))->click();
        QVERIFY(w.listView2()->isHeaderHidden());
        QVERIFY(w.listView2()->isColumnHidden(1));
        QVERIFY(!w.listView()->isHeaderHidden());
        w.findChild<QToolButton *>(QStringLiteral("ReportBtn"))->click();
        QVERIFY(!w.listView2()->isHeaderHidden());
        QVERIFY(!w.listView2()->isColumnHidden(1));
    }

    void plainListStyleKeepsTheStoredColumnWidths()
    {
        TTunoviaF &w = makeWindow("[Column]\r\nArtist=123\r\nPath=222\r\n");
        w.FormShow();
        QCOMPARE(w.listView2()->columnWidth(1), 123);
        w.findChild<QToolButton *>(QStringLiteral("ListBtn"))->click();
        // A reload while the plain style is on must not mistake the hidden
        // columns for zero-width (hidden by setting) ones.
        w.FormShow();
        w.close();
        const QByteArray file = readFile(ini());
        QVERIFY(file.contains("Artist=123\r\n"));
        QVERIFY(file.contains("Path=222\r\n"));
        w.findChild<QToolButton *>(QStringLiteral("ReportBtn"))->click();
        QCOMPARE(w.listView2()->columnWidth(1), 123);
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
