#include "controls/ui/animatewindow.h"
#include "controls/ui/dtrackbar.h"
#include "controls/ui/folderdialog.h"
#include "controls/ui/outlineanimation.h"
#include "controls/ui/screenfit.h"
#include "support/scriptedprompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestControls : public QObject {
    Q_OBJECT

private slots:
    void folderTrailingSeparator_data();
    void folderTrailingSeparator();
    void folderDefaults();
    void folderCancelLeavesDirectoryEmpty();
    void folderChoosePreselectsStartAndReportsSelection();
    void folderStatusTextFollowsWhileOpen();
    void folderThroughPromptService();

    void trackBarBandOffByDefault();
    void trackBarBandSwitchedOnLive();
    void trackBarBandGeometry_data();
    void trackBarBandGeometry();

    void animateWindowOnePerForm();
    void animateWindowReportsMinimiseAndRestore();

    void outlineSteps();

    void screenFit_data();
    void screenFit();
};

void TestControls::folderTrailingSeparator_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("stored");
    QTest::newRow("folder with slash") << QStringLiteral("/home/me/Music/") << QStringLiteral("/home/me/Music");
    QTest::newRow("folder without") << QStringLiteral("/home/me/Music") << QStringLiteral("/home/me/Music");
    QTest::newRow("root keeps its slash") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("two characters") << QStringLiteral("a/") << QStringLiteral("a");
    QTest::newRow("only one separator goes") << QStringLiteral("/x//") << QStringLiteral("/x/");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("windows folder") << QStringLiteral("C:\\Music\\") << QStringLiteral("C:\\Music");
    QTest::newRow("windows drive root") << QStringLiteral("D:\\") << QStringLiteral("D:\\");
    QTest::newRow("four characters") << QStringLiteral("C:\\a\\") << QStringLiteral("C:\\a");
}

void TestControls::folderTrailingSeparator()
{
    QFETCH(QString, given);
    QFETCH(QString, stored);
    TFolderDialog dialog;
    dialog.setRootDir(given);
    dialog.setProperty("StartDir", given);
    QCOMPARE(dialog.rootDir(), stored);
    QCOMPARE(dialog.property("StartDir").toString(), stored);
}

void TestControls::folderDefaults()
{
    TFolderDialog dialog;
    QCOMPARE(dialog.listedFlags(), TFolderDialog::ListedFlags(TFolderDialog::lfReturnOnlyFSDirs));
    QVERIFY(dialog.caption().isEmpty());
    QVERIFY(dialog.directory().isEmpty());
    QVERIFY(!dialog.isOpen());
    QVERIFY(!dialog.dialog());
}

void TestControls::folderCancelLeavesDirectoryEmpty()
{
    QTemporaryDir tmp;
    QWidget owner;
    TFolderDialog dialog(&owner);
    dialog.setCaption(QStringLiteral("コピー先のフォルダ"));
    dialog.setStartDir(tmp.path() + QLatin1Char('/'));
    QSignalSpy shown(&dialog, &TFolderDialog::shown);
    QSignalSpy closed(&dialog, &TFolderDialog::closed);
    QString title;
    connect(&dialog, &TFolderDialog::shown, this, [&] {
        QVERIFY(dialog.dialog());
        title = dialog.dialog()->windowTitle();
        QTimer::singleShot(0, dialog.dialog(), &QDialog::reject);
    });
    QVERIFY(!dialog.Execute());
    QVERIFY(dialog.directory().isEmpty());
    QCOMPARE(title, QStringLiteral("コピー先のフォルダ"));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!dialog.isOpen());
    QVERIFY(!dialog.dialog());
}

void TestControls::folderChoosePreselectsStartAndReportsSelection()
{
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("first")));
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("second")));
    const QString first = QDir(tmp.path()).filePath(QStringLiteral("first"));
    const QString second = QDir(tmp.path()).filePath(QStringLiteral("second"));

    TFolderDialog dialog;
    dialog.setStartDir(first + QLatin1Char('/'));
    QStringList preselected;
    QStringList duringSelection;
    connect(&dialog, &TFolderDialog::selectionChanged, this, [&] { duringSelection << dialog.directory(); });
    connect(&dialog, &TFolderDialog::shown, this, [&] {
        QTimer::singleShot(0, dialog.dialog(), [&] {
            QFileDialog *fd = dialog.dialog();
            preselected = fd->selectedFiles();
            // Highlight the other folder in the list as a click would, once
            // the background listing knows it.
            auto *view = fd->findChild<QListView *>(QStringLiteral("listView"));
            QVERIFY(view);
            auto *model = qobject_cast<QFileSystemModel *>(view->model());
            QVERIFY(model);
            QTRY_VERIFY(model->index(second).isValid());
            view->selectionModel()->setCurrentIndex(model->index(second),
                                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            static_cast<QDialog *>(fd)->accept(); // QFileDialog::accept checks the choice
        });
    });
    QVERIFY(dialog.Execute());
    QCOMPARE(preselected, QStringList{first});
    QCOMPARE(dialog.directory(), second);
    QVERIFY(!duringSelection.isEmpty());
    QCOMPARE(duringSelection.last(), second);
}

void TestControls::folderStatusTextFollowsWhileOpen()
{
    TFolderDialog dialog;
    dialog.setListedFlags(TFolderDialog::lfReturnOnlyFSDirs | TFolderDialog::lfStatusText);
    dialog.setStatusText(QStringLiteral("最初"));
    QString before, after;
    connect(&dialog, &TFolderDialog::shown, this, [&] {
        QTimer::singleShot(0, dialog.dialog(), [&] {
            auto *status = dialog.dialog()->findChild<QLabel *>(QStringLiteral("StatusText"));
            QVERIFY(status);
            before = status->text();
            dialog.setStatusText(QStringLiteral("次"));
            after = status->text();
            dialog.dialog()->reject();
        });
    });
    QVERIFY(!dialog.Execute());
    QCOMPARE(before, QStringLiteral("最初"));
    QCOMPARE(after, QStringLiteral("次"));
    // After closing the text is only stored.
    dialog.setStatusText(QStringLiteral("後"));
    QCOMPARE(dialog.statusText(), QStringLiteral("後"));
}

void TestControls::folderThroughPromptService()
{
    ScriptedPrompts prompts;
    TFolderDialog dialog;
    dialog.setPrompts(&prompts);
    dialog.setCaption(QStringLiteral("フォルダの選択"));
    dialog.setStartDir(QStringLiteral("/music/"));
    QSignalSpy shown(&dialog, &TFolderDialog::shown);
    QSignalSpy closed(&dialog, &TFolderDialog::closed);

    prompts.answerText(QStringLiteral("/data/songs/"));
    QVERIFY(dialog.Execute());
    QCOMPARE(dialog.directory(), QStringLiteral("/data/songs"));
    QCOMPARE(prompts.asked().size(), 1);
    QCOMPARE(prompts.asked().at(0).title, QStringLiteral("フォルダの選択"));
    QCOMPARE(prompts.asked().at(0).initial, QStringLiteral("/music"));

    prompts.answerCancel();
    QVERIFY(!dialog.Execute());
    QVERIFY(dialog.directory().isEmpty());
    QCOMPARE(shown.count(), 2);
    QCOMPARE(closed.count(), 2);
}

namespace {
void setUpBar(QSlider &bar)
{
    bar.setRange(0, 10);
    bar.setValue(10); // handle at the far end, away from the band
    bar.resize(200, 30);
}
} // namespace

void TestControls::trackBarBandOffByDefault()
{
    TDisRangeTrackBar bar;
    QVERIFY(!bar.enableSelRange());
    QVERIFY(!bar.property("EnableSelRange").toBool());
    setUpBar(bar);
    bar.setSelection(2, 6);
    QVERIFY(bar.selectionBandRect().isEmpty());
    // Without the flag it paints exactly like a plain slider.
    QSlider plain(Qt::Horizontal);
    setUpBar(plain);
    QCOMPARE(bar.grab().toImage(), plain.grab().toImage());
}

void TestControls::trackBarBandSwitchedOnLive()
{
    TDisRangeTrackBar bar;
    setUpBar(bar);
    bar.setSelection(2, 6);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const WId before = bar.winId();
    const QImage off = bar.grab().toImage();

    bar.setProperty("EnableSelRange", true);
    QCOMPARE(bar.winId(), before);
    const QRect band = bar.selectionBandRect();
    QVERIFY(!band.isEmpty());
    const QImage on = bar.grab().toImage();
    QCOMPARE(on.pixelColor(band.center()).rgb(), bar.selectionBandColor().rgb());
    QVERIFY(off.pixelColor(band.center()).rgb() != bar.selectionBandColor().rgb());
    // The band lies on the groove, under the handle's level.
    QVERIFY(band.top() >= 0 && band.bottom() < bar.height());

    bar.setEnableSelRange(false);
    QCOMPARE(bar.grab().toImage(), off);
}

void TestControls::trackBarBandGeometry_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("visible");
    QTest::newRow("ordinary") << 2 << 6 << true;
    QTest::newRow("reversed") << 6 << 2 << true;
    QTest::newRow("empty") << 4 << 4 << false;
    QTest::newRow("clamped to range") << -5 << 3 << true;
    QTest::newRow("wholly outside") << 20 << 30 << false;
}

void TestControls::trackBarBandGeometry()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(bool, visible);
    TDisRangeTrackBar bar;
    setUpBar(bar);
    bar.setEnableSelRange(true);
    bar.setSelection(start, end);
    QCOMPARE(!bar.selectionBandRect().isEmpty(), visible);
    if (!visible)
        return;
    // The band grows with the selection and lies inside the control.
    const QRect band = bar.selectionBandRect();
    QVERIFY(bar.rect().contains(band));
    bar.setSelection(qMin(start, end), qMax(start, end) + 2);
    QVERIFY(bar.selectionBandRect().width() > band.width());
    QCOMPARE(bar.selectionBandRect().left(), band.left());

    TDisRangeTrackBar vertical(Qt::Vertical);
    vertical.setRange(0, 10);
    vertical.resize(30, 200);
    vertical.setEnableSelRange(true);
    vertical.setSelection(start, end);
    QVERIFY(vertical.selectionBandRect().height() > vertical.selectionBandRect().width());
}

void TestControls::animateWindowOnePerForm()
{
    QWidget form, other;
    auto *first = new TAnimateWindow(&form);
    QCOMPARE(first->parent(), &form);
    try {
        TAnimateWindow second(&form);
        QFAIL("a second one on the same form was accepted");
    } catch (const AnimateWindowError &e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("AnimateWindowはフォームに一つしか置けません"));
    }
    // The failed attempt must not have unregistered the first one.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, TAnimateWindow{&form});
    TAnimateWindow onOther(&other);
    delete first;
    TAnimateWindow again(&form); // the form is free again
    QCOMPARE(again.form(), &form);
}

void TestControls::animateWindowReportsMinimiseAndRestore()
{
    QWidget form;
    TAnimateWindow animator(&form);
    QSignalSpy minimized(&animator, &TAnimateWindow::minimized);
    QSignalSpy restored(&animator, &TAnimateWindow::restored);
    form.setWindowState(Qt::WindowMinimized);
    QCOMPARE(minimized.count(), 1);
    QCOMPARE(restored.count(), 0);
    form.setWindowState(Qt::WindowNoState);
    QCOMPARE(restored.count(), 1);
    form.setWindowState(Qt::WindowMaximized);
    form.setWindowState(Qt::WindowNoState);
    QCOMPARE(minimized.count(), 1);
    QCOMPARE(restored.count(), 1);
    form.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    form.setWindowState(Qt::WindowMaximized);
    QCOMPARE(minimized.count(), 2);
    QCOMPARE(restored.count(), 2);
}

void TestControls::outlineSteps()
{
    const QRect from(0, 0, 100, 100), to(200, 100, 300, 50);
    QCOMPARE(OutlineAnimation::stepRect(from, to, 0), from);
    QCOMPARE(OutlineAnimation::stepRect(from, to, OutlineAnimation::kSteps), to);
    QCOMPARE(OutlineAnimation::stepRect(from, to, 50), QRect(100, 50, 200, 75));
    QCOMPARE(OutlineAnimation::stepRect(from, to, 500), to);
    QVERIFY(OutlineAnimation::isSuppressed()); // tests run offscreen
}

void TestControls::screenFit_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QList<QRect>>("areas");
    QTest::addColumn<QRect>("expected");
    const QRect small(0, 0, 1280, 1024);
    const QRect right(1280, 0, 1920, 1080);
    QTest::newRow("on screen stays") << QRect(100, 100, 494, 354) << QList<QRect>{small} << QRect(100, 100, 494, 354);
    QTest::newRow("screen gone") << QRect(4000, 3000, 494, 354) << QList<QRect>{small} << QRect(786, 670, 494, 354);
    QTest::newRow("above and left") << QRect(-900, -50, 400, 300) << QList<QRect>{small} << QRect(0, 0, 400, 300);
    QTest::newRow("partly off the bottom")
        << QRect(200, 900, 400, 300) << QList<QRect>{small} << QRect(200, 724, 400, 300);
    QTest::newRow("across two screens stays")
        << QRect(1200, 100, 200, 200) << QList<QRect>{small, right} << QRect(1200, 100, 200, 200);
    QTest::newRow("nearest of two") << QRect(3500, 100, 300, 200) << QList<QRect>{small, right}
                                    << QRect(2900, 100, 300, 200);
    // Overhangs the short screen's bottom: it goes to the screen it mostly covers.
    QTest::newRow("mostly on the second")
        << QRect(1240, 1000, 300, 200) << QList<QRect>{small, right} << QRect(1280, 880, 300, 200);
    QTest::newRow("larger than the screen")
        << QRect(5000, 5000, 2000, 1500) << QList<QRect>{small} << QRect(0, 0, 2000, 1500);
    QTest::newRow("screen with an origin")
        << QRect(0, 0, 100, 100) << QList<QRect>{QRect(-1920, 30, 1920, 1050)} << QRect(-100, 30, 100, 100);
    QTest::newRow("no screens") << QRect(4000, 3000, 10, 10) << QList<QRect>{} << QRect(4000, 3000, 10, 10);
}

void TestControls::screenFit()
{
    QFETCH(QRect, frame);
    QFETCH(QList<QRect>, areas);
    QFETCH(QRect, expected);
    QCOMPARE(screenfit::ontoNearestArea(frame, areas), expected);
}

QTEST_MAIN(TestControls)
#include "test_controls.moc"
