#include "app/ui/aboutform.h"
#include "app/ui/builtinpictures.h"
#include "app/ui/titleform.h"
#include "app/ui/waitform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace BuiltinPictures;

class TestSmallWindows : public QObject {
    Q_OBJECT

private slots:
    void titleClosesOnEleventhTick_data();
    void titleClosesOnEleventhTick();
    void titleTimerRunsOnlyWithTag();
    void titleExecReturnsWhenTicksRunOut();
    void titleLook();
    void titleIgnoresEscAndStopsTicksWhenHidden();

    void waitWindowIsCaptionOnly();

    void aboutCentring_data();
    void aboutCentring();
    void aboutRunCentresOverOwnerAndOkCloses();
    void aboutCtrlDoubleClickTogglesCredits();
    void aboutBoxesStartWithCreditsHidden();
    void aboutLinksOpenTheirTargets();
    void picturesHaveAccessibleNames();

    void pictureSizes();
    void digitSegments_data();
    void digitSegments();
    void pressedButtonsLookDifferent();
    void lyricsStatePictures();
    void defaultSkinsRoundTrip();
    void defaultSkinsReportFailure();
};

void TestSmallWindows::titleClosesOnEleventhTick_data()
{
    QTest::addColumn<int>("counterAtStart");
    QTest::addColumn<int>("ticksToClose");
    QTest::newRow("fresh counter") << 0 << 11;
    QTest::newRow("counter already at 7") << 7 << 4;
    QTest::newRow("counter at 10") << 10 << 1;
    QTest::newRow("counter far past 10") << 40 << 1;
}

void TestSmallWindows::titleClosesOnEleventhTick()
{
    QFETCH(int, counterAtStart);
    QFETCH(int, ticksToClose);
    int counter = counterAtStart;
    TTitleF title(counter);
    title.Tag = 1;
    title.show();
    for (int tick = 1; tick < ticksToClose; ++tick) {
        title.Timer1Timer();
        QVERIFY2(title.isVisible(), qPrintable(QStringLiteral("closed early at tick %1").arg(tick)));
    }
    title.Timer1Timer();
    QVERIFY(!title.isVisible());
    QVERIFY(!title.Timer1->isActive());
    // The counter is program-wide and never reset.
    QCOMPARE(counter, counterAtStart + ticksToClose);
}

void TestSmallWindows::titleTimerRunsOnlyWithTag()
{
    int counter = 0;
    TTitleF quiet(counter);
    quiet.show();
    QVERIFY(!quiet.Timer1->isActive());

    TTitleF ticking(counter);
    ticking.Tag = 1;
    QVERIFY(!ticking.Timer1->isActive());
    ticking.show();
    QVERIFY(ticking.Timer1->isActive());
    QCOMPARE(ticking.Timer1->interval(), 100);
    QCOMPARE(counter, 0);
}

void TestSmallWindows::titleExecReturnsWhenTicksRunOut()
{
    int counter = 8;
    TTitleF title(counter);
    title.Tag = 1;
    QElapsedTimer clock;
    clock.start();
    title.exec();
    QCOMPARE(counter, 11);
    QVERIFY(clock.elapsed() < 5000);
}

void TestSmallWindows::titleIgnoresEscAndStopsTicksWhenHidden()
{
    int counter = 0;
    TTitleF title(counter);
    title.Tag = 1;
    QTimer::singleShot(150, &title, [&title] { QTest::keyClick(&title, Qt::Key_Escape); });
    title.exec();
    QCOMPARE(counter, 11);

    int other = 0;
    TTitleF closed(other);
    closed.Tag = 1;
    closed.show();
    closed.Timer1Timer();
    closed.hide();
    QVERIFY(!closed.Timer1->isActive());
    QCOMPARE(other, 1);
}

void TestSmallWindows::titleLook()
{
    int counter = 0;
    TTitleF title(counter);
    QCOMPARE(title.size(), QSize(360, 120));
    QVERIFY(title.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(title.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(title.VersionLbl->text(), QStringLiteral("Version 4.30"));
    QCOMPARE(title.VersionLbl->geometry(), QRect(215, 84, 129, 12));
    QVERIFY(title.VersionLbl->alignment().testFlag(Qt::AlignRight));
    QCOMPARE(title.LogoImg->pixmap().size(), QSize(360, 120));
    // The logo's corners are the black background.
    const QImage logo = logoImage();
    QCOMPARE(logo.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(logo.pixelColor(359, 119), QColor(Qt::black));
}

void TestSmallWindows::waitWindowIsCaptionOnly()
{
    TWaitF wait;
    QCOMPARE(wait.windowTitle(), QStringLiteral("Now Loading... Please wait..."));
    const Qt::WindowFlags flags = wait.windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(wait.width(), 147);
    QVERIFY(wait.height() <= 1);
    QVERIFY(wait.findChildren<QWidget *>().isEmpty());
    wait.popUp(); // must return at once
    QVERIFY(wait.isVisible());
    QVERIFY(!wait.isModal());
}

void TestSmallWindows::aboutCentring_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("even sizes") << QRect(100, 50, 494, 354) << QSize(309, 86) << QPoint(193, 184);
    QTest::newRow("odd owner width truncates") << QRect(0, 0, 495, 355) << QSize(309, 86) << QPoint(93, 134);
    QTest::newRow("odd box height truncates") << QRect(0, 0, 400, 300) << QSize(101, 87) << QPoint(150, 107);
    QTest::newRow("owner left of the screen") << QRect(-301, -11, 201, 21) << QSize(309, 86) << QPoint(-355, -44);
    QTest::newRow("box wider than owner") << QRect(10, 10, 100, 50) << QSize(309, 86) << QPoint(-94, -8);
}

void TestSmallWindows::aboutCentring()
{
    QFETCH(QRect, owner);
    QFETCH(QSize, box);
    QFETCH(QPoint, expected);
    QCOMPARE(TAboutF::centredOver(owner, box), expected);
}

void TestSmallWindows::aboutRunCentresOverOwnerAndOkCloses()
{
    QWidget owner;
    owner.setGeometry(121, 77, 495, 355);
    owner.show();
    QPoint seenAt;
    QString seenTitle;
    bool sawBox = false;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<TAboutF *>(QApplication::activeModalWidget());
        QVERIFY(box);
        sawBox = true;
        seenAt = box->pos();
        seenTitle = box->windowTitle();
        QCOMPARE(box->size(), QSize(309, 86));
        QCOMPARE(box->Button1->size(), QSize(121, 21));
        box->Button1->click();
    });
    TAboutF::run(&owner);
    QVERIFY(sawBox);
    QCOMPARE(seenTitle, QStringLiteral("バージョン情報"));
    QCOMPARE(seenAt, TAboutF::centredOver(owner.frameGeometry(), QSize(309, 86)));
    QVERIFY(owner.findChildren<TAboutF *>().isEmpty()); // released after use
}

void TestSmallWindows::aboutCtrlDoubleClickTogglesCredits()
{
    TAboutF box;
    box.show();
    QVERIFY(!box.EEggPnl->isVisible());

    QTest::mouseDClick(box.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(16, 16));
    QVERIFY(!box.EEggPnl->isVisible());

    QTest::mouseDClick(box.Image1, Qt::LeftButton, Qt::ControlModifier, QPoint(16, 16));
    QVERIFY(box.EEggPnl->isVisible());
    // The credits cover the labels.
    QVERIFY(box.EEggPnl->geometry().contains(box.ExLabel1->geometry().center()));

    QTest::mouseDClick(box.Image1, Qt::LeftButton, Qt::NoModifier, QPoint(16, 16));
    QVERIFY(box.EEggPnl->isVisible());
    QTest::mouseDClick(box.Image1, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, QPoint(16, 16));
    QVERIFY(!box.EEggPnl->isVisible());
}

void TestSmallWindows::aboutBoxesStartWithCreditsHidden()
{
    QWidget owner;
    owner.show();
    auto *first = new TAboutF(&owner);
    first->show();
    first->Image1DblClick(Qt::ControlModifier);
    QVERIFY(first->EEggPnl->isVisible());
    first->close();
    // Showing the same box again starts hidden too.
    first->show();
    QVERIFY(!first->EEggPnl->isVisible());
    delete first;

    auto *second = new TAboutF(&owner);
    second->show();
    QVERIFY(!second->EEggPnl->isVisible());
    delete second;
}

void TestSmallWindows::aboutLinksOpenTheirTargets()
{
    TAboutF box;
    QList<QUrl> opened;
    box.setUrlOpener([&](const QUrl &url) { opened.append(url); });
    box.show();
    QTest::mouseClick(box.MailLbl, Qt::LeftButton);
    QTest::mouseClick(box.WebImg, Qt::LeftButton);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0).scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened.at(0).path(), box.MailLbl->text());
    QCOMPARE(opened.at(1), TAboutF::kWebTarget);
    // A press that ends outside the link opens nothing.
    QTest::mousePress(box.MailLbl, Qt::LeftButton);
    QTest::mouseRelease(box.MailLbl, Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
    QCOMPARE(opened.size(), 2);
}

void TestSmallWindows::picturesHaveAccessibleNames()
{
    TAboutF box;
    int counter = 0;
    TTitleF title(counter);
    for (QWidget *w :
         {static_cast<QWidget *>(box.Image1), static_cast<QWidget *>(box.WebImg), static_cast<QWidget *>(box.ExLabel1),
          static_cast<QWidget *>(box.ExLabel2), static_cast<QWidget *>(box.MailLbl),
          static_cast<QWidget *>(box.EEggPnl), static_cast<QWidget *>(title.LogoImg)})
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
}

void TestSmallWindows::pictureSizes()
{
    for (int d = 0; d <= 9; ++d)
        QCOMPARE(digit(d).size(), QSize(14, 20));
    QCOMPARE(separator().height(), 20);
    for (ButtonPicture which : kAllButtonPictures) {
        const QSize expected = which == ButtonPicture::Play ? QSize(48, 20) : QSize(24, 20);
        QCOMPARE(button(which, false).size(), expected);
        QCOMPARE(button(which, true).size(), expected);
    }
    for (int state = 0; state <= 2; ++state)
        QCOMPARE(lyricsState(state).size(), QSize(16, 16));
    QCOMPARE(logo().size(), QSize(360, 120));
    QCOMPARE(icon().size(), QSize(32, 32));
}

void TestSmallWindows::digitSegments_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("lit");
    const char *lit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    for (int d = 0; d <= 9; ++d)
        QTest::addRow("%d", d) << d << QString::fromLatin1(lit[d]);
}

void TestSmallWindows::digitSegments()
{
    QFETCH(int, value);
    QFETCH(QString, lit);
    // Centre pixel of each segment of a 14 × 20 cell.
    const struct {
        char name;
        QPoint at;
    } centres[] = {{'a', {7, 2}},  {'b', {11, 6}}, {'c', {11, 14}}, {'d', {7, 17}},
                   {'e', {2, 14}}, {'f', {2, 6}},  {'g', {7, 10}}};
    const QImage image = digitImage(value);
    for (const auto &c : centres) {
        const bool bright = image.pixelColor(c.at).lightness() > 128;
        QVERIFY2(bright == lit.contains(QLatin1Char(c.name)),
                 qPrintable(QStringLiteral("segment %1 of %2").arg(QLatin1Char(c.name)).arg(value)));
    }
    // The background stays dark.
    QVERIFY(image.pixelColor(0, 0).lightness() < 40);
    QVERIFY(image.pixelColor(7, 6).lightness() < 40);
}

void TestSmallWindows::pressedButtonsLookDifferent()
{
    for (ButtonPicture which : kAllButtonPictures) {
        const QImage normal = buttonImage(which, false);
        const QImage pressed = buttonImage(which, true);
        QVERIFY2(normal != pressed, qPrintable(buttonFileName(which, false)));
        // Raised: the top-left inner edge is lighter than the bottom-right one;
        // pressed: the other way round.
        const int w = normal.width(), h = normal.height();
        QVERIFY(normal.pixelColor(1, 1).lightness() > normal.pixelColor(w - 2, h - 2).lightness());
        QVERIFY(pressed.pixelColor(1, 1).lightness() < pressed.pixelColor(w - 2, h - 2).lightness());
    }
    // No two buttons share a picture.
    for (int i = 0; i < kButtonPictureCount; ++i)
        for (int j = i + 1; j < kButtonPictureCount; ++j)
            if (buttonSize(kAllButtonPictures[i]) == buttonSize(kAllButtonPictures[j]))
                QVERIFY(buttonImage(kAllButtonPictures[i], false) != buttonImage(kAllButtonPictures[j], false));
}

void TestSmallWindows::lyricsStatePictures()
{
    auto opaquePixels = [](const QImage &image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y).alpha() > 0;
        return n;
    };
    const QImage beside = lyricsStateImage(0), folder = lyricsStateImage(1), both = lyricsStateImage(2);
    QVERIFY(opaquePixels(beside) > 40);
    QVERIFY(opaquePixels(folder) > 40);
    QVERIFY(beside != folder && folder != both && beside != both);
    QCOMPARE(opaquePixels(lyricsStateImage(-1)), 0);
    QCOMPARE(opaquePixels(lyricsStateImage(3)), 0);
}

void TestSmallWindows::defaultSkinsRoundTrip()
{
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    // One folder with the trailing "/" the settings use, one without.
    const QString timeDir = tmp.filePath(QStringLiteral("Skins/default/"));
    const QString buttonDir = tmp.filePath(QStringLiteral("Button_Skins/default"));
    QVERIFY(writeDefaultSkins(timeDir, buttonDir));

    QStringList expectedTime;
    for (int d = 0; d <= 9; ++d)
        expectedTime << QStringLiteral("%1.bmp").arg(d);
    expectedTime << QStringLiteral("_.bmp");
    QStringList expectedButtons;
    for (const char *name : {"pre", "play", "pause", "stop", "next", "winamp", "scmpx", "mci"}) {
        expectedButtons << QString::fromLatin1(name) + QStringLiteral(".bmp")
                        << QStringLiteral("click_") + QString::fromLatin1(name) + QStringLiteral(".bmp");
    }
    expectedTime.sort();
    expectedButtons.sort();
    QCOMPARE(QDir(timeDir).entryList(QDir::Files, QDir::Name), expectedTime);
    QCOMPARE(QDir(buttonDir).entryList(QDir::Files, QDir::Name), expectedButtons);

    auto same = [](const QString &file, const QImage &builtin) {
        QImage loaded(file);
        QVERIFY2(!loaded.isNull(), qPrintable(file));
        QCOMPARE(loaded.size(), builtin.size());
        QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32), builtin.convertToFormat(QImage::Format_RGB32));
    };
    for (int d = 0; d <= 9; ++d)
        same(QDir(timeDir).filePath(digitFileName(d)), digitImage(d));
    same(QDir(timeDir).filePath(QStringLiteral("_.bmp")), separatorImage());
    for (ButtonPicture which : kAllButtonPictures)
        for (bool pressed : {false, true})
            same(QDir(buttonDir).filePath(buttonFileName(which, pressed)), buttonImage(which, pressed));
}

void TestSmallWindows::defaultSkinsReportFailure()
{
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A folder cannot be made below a plain file.
    QVERIFY(!writeDefaultSkins(tmp.filePath(QStringLiteral("file/time")), tmp.filePath(QStringLiteral("buttons"))));
}

QTEST_MAIN(TestSmallWindows)
#include "test_smallwindows.moc"
