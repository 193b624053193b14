#include "controls/ui/dtrackbar.h"
#include "support/mainwindowfixture.h"
#include "support/testfiles.h"
#include "tracks/trackmodel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <memory>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

// "caption|shortcut" per item, "-" for a separator.
QStringList describe(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions()) {
        if (a->isSeparator())
            out << QStringLiteral("-");
        else
            out << a->text() + QLatin1Char('|') + a->shortcut().toString();
    }
    return out;
}

} // namespace

class TestMainForm : public QObject, public MainWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { useProgramFolder(); }

    void init()
    {
        clearDoubles();
        QFile::remove(ini());
        QDir(programFolder() + QStringLiteral("help")).removeRecursively();
    }

    void cleanup() { m_window.reset(); }

    void mainMenuMatchesTheTable()
    {
        TTunoviaF &w = makeWindow();
        QCOMPARE(w.windowTitle(), QStringLiteral("Tunovia"));
        const QList<QAction *> top = w.menuBar()->actions();
        QStringList titles;
        for (QAction *a : top)
            titles << a->text();
        QCOMPARE(titles, (QStringList{U("ファイル(&F)"), U("編集(&E)"), U("プレイコントロール(&P)"),
                                      U("ボリューム(&V)"), U("設定(&S)"), U("ヘルプ(&H)")}));
        QCOMPARE(describe(top[0]->menu()),
                 (QStringList{U("アルバム選択(&A)...|Ctrl+L"), U("インデックスファイル選択(&G)...|Ctrl+G"), U("-"),
                              U("インデックスファイルの新規作成(&N)|"), U("アルバムファイル(.mdt)の作成(&M)|Ctrl+D"),
                              U("-"), U("曲リストをクリア(&C)|"), U("-"), U("エクスプローラ起動(&E)|"), U("-"),
                              U("終了(&X)|Ctrl+Q")}));
        QCOMPARE(describe(top[1]->menu()),
                 (QStringList{U("全て選択(&A)|Ctrl+A"), U("選択を反転(&I)|"), U("全て解除(&R)|"), U("-"),
                              U("選択ファイルをコピー(&C)...|Ctrl+C"), U("-"), U("&J2に選択ファイルを渡す|Ctrl+J"),
                              U("&m2hに選択ファイルを渡す|Ctrl+M"), U("-"), U("リストから削除(&D)|Del"), U("-"),
                              U("検索(&F)...|Ctrl+F"), U("-"), U("選択ファイルの合計時間計算...|Ctrl+T"), U("-"),
                              U("ID3タグ編集(&E)...|Ctrl+I")}));
        QCOMPARE(describe(top[2]->menu()),
                 (QStringList{U("前の曲|F1"), U("再生|F2"), U("一時停止|F3"), U("停止|F4"), U("次の曲|F5"), U("-"),
                              U("プレイヤーに選択ファイルを渡す|F9"), U("プレイヤーの終了|F10"), U("-"),
                              U("プレイヤーをWinampに設定|Ctrl+W"), U("プレイヤーをSCMPXに設定|Ctrl+S"),
                              U("プレイヤーを内蔵のに設定|Ctrl+Z"), U("プレイヤーを順に切替|Ctrl+X")}));
        QCOMPARE(describe(top[3]->menu()),
                 (QStringList{U("ボリュームダウン(&D)|F11"), U("ボリュームアップ(&U)|F12"), U("-"),
                              U("ボリューム-&A|F6"), U("ボリューム-&B|F7"), U("ボリューム-&C|F8")}));
        QCOMPARE(describe(top[4]->menu()),
                 (QStringList{U("各種設定(&S)...|"), U("-"), U("フォントの種類(&F)...|"), U("フォントの色(&C)...|"),
                              U("背景色(&B)...|"), U("-"), U("Lyrics表示 ON/OFF|Ctrl+K")}));
        QCOMPARE(describe(top[5]->menu()), (QStringList{U("目次(&C)|"), U("-"), U("バージョン情報(&A)...|")}));
    }

    void contextMenuMatchesTheTable()
    {
        TTunoviaF &w = makeWindow();
        auto *menu = w.findChild<QMenu *>(QStringLiteral("PopupMenu1"));
        QVERIFY(menu);
        QCOMPARE(describe(menu), (QStringList{U("&MP3プレイヤーに選択ファイルを渡す|"),
                                              U("M&P3プレイヤー終了|"),
                                              U("-"),
                                              U("前の曲(&Z)|"),
                                              U("再生(&X)|"),
                                              U("一時停止(&C)|"),
                                              U("停止(&V)|"),
                                              U("次の曲(&B)|"),
                                              U("-"),
                                              U("ボリューム-A(&1)|"),
                                              U("ボリューム-B(&2)|"),
                                              U("ボリューム-C(&3)|"),
                                              U("-"),
                                              U("全て選択(&A)|"),
                                              U("選択を反転(&I)|"),
                                              U("全て解除(&R)|"),
                                              U("-"),
                                              U("選択ファイルのコピー...|"),
                                              U("-"),
                                              U("リストから削除(&D)|"),
                                              U("-"),
                                              U("選択ファイルの合計時間計算...|"),
                                              U("-"),
                                              U("ID3タグ編集(&E)...|")}));
        QCOMPARE(menu->defaultAction()->text(), U("&MP3プレイヤーに選択ファイルを渡す"));
    }

    void listsCarryTheirColumnCaptions()
    {
        TTunoviaF &w = makeWindow();
        QStringList captions;
        for (int c = 0; c < w.listView2()->model()->columnCount(); ++c)
            captions << w.listView2()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(captions.mid(0, 13), (QStringList{U("曲名"), U("アーティスト"), U("アルバム"), U("コメント"),
                                                   U("サイズ"), U("時間"), U("ジャンル"), U("日付"), U("著作権"),
                                                   U("エンジニア"), U("ソース"), U("ソフト"), U("ファイルパス")}));
        QCOMPARE(w.listView2()->model()->columnCount(), 14);
        QCOMPARE(w.listView2()->columnWidth(13), 0);
        captions.clear();
        for (int c = 0; c < w.listView()->model()->columnCount(); ++c)
            captions << w.listView()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(captions, (QStringList{U("曲名"), U("アーティスト"), U("コメント"), U("サイズ"), U("ファイルパス")}));
    }

    void imageButtonsHaveAccessibleNames()
    {
        TTunoviaF &w = makeWindow();
        for (const char *name : {"RunWinamp", "RunScmpx", "RunMci", "SpeedButton1", "SpeedButton2", "SpeedButton3",
                                 "SpeedButton4", "SpeedButton5", "PlayerQuitBtn", "ListBtn", "ReportBtn"}) {
            auto *b = w.findChild<QToolButton *>(QString::fromLatin1(name));
            QVERIFY2(b, name);
            QVERIFY2(!b->accessibleName().isEmpty(), name);
        }
        QCOMPARE(w.findChild<QToolButton *>(QStringLiteral("SpeedButton2"))->toolTip(), QStringLiteral("Play/Restart"));
        QVERIFY(w.findChild<QToolButton *>(QStringLiteral("ReportBtn"))->isChecked());
    }

    void startWithoutSettingsOrIndexShowsAnEmptyListQuietly()
    {
        TTunoviaF &w = makeWindow();
        w.FormCreate({});
        QVERIFY(w.titleTicks() >= 11);
        QCOMPARE(w.currentIndexPath(), programFolder() + QStringLiteral("tunovia.ini"));
        w.FormShow();
        QCOMPARE(w.currentList(), w.listView2());
        QCOMPARE(w.model()->rowCount(), 0);
        QVERIFY(m_prompts.asked().isEmpty());
        QVERIFY(!QFile::exists(ini())); // nothing is written at start-up without an index file
    }

    void unwritableSettingsAreReportedAndTheProgramGoesOn()
    {
        const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
        QFile b(blocker);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.close();
        QFile index(programFolder() + QStringLiteral("tunovia.ini"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("\"legacy\",\"list\"\r\n");
        index.close();
        m_settings = std::make_unique<SettingsStore>(blocker + QStringLiteral("/Tunov.ini"), nullptr, programFolder());
        m_window = std::make_unique<TTunoviaF>(MainServices{m_prompts, m_launcher, *m_settings});
        m_window->FormShow();
        QVERIFY(!m_prompts.asked().isEmpty());
        QCOMPARE(m_prompts.asked()[0].icon, Prompts::Icon::Error);
        QVERIFY(m_prompts.asked()[0].text.contains(QStringLiteral("Tunov.ini")));
        QVERIFY(m_window->legacyListShown());
        QFile::remove(programFolder() + QStringLiteral("tunovia.ini"));
    }

    void unwritableSettingsAreReportedOncePerRun()
    {
        writeFile(m_dir.filePath(QStringLiteral("blocker")), {});
        writeFile(programFolder() + QStringLiteral("tunovia.ini"), "\"legacy\",\"list\"\r\n");
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("blocker/Tunov.ini")), nullptr,
                                                     programFolder());
        m_window = std::make_unique<TTunoviaF>(MainServices{m_prompts, m_launcher, *m_settings});
        m_window->createLyricsWindow();
        m_window->setCurrentIndexPath(programFolder() + QStringLiteral("tunovia.ini"));
        m_window->dialogSettings().winamp = QStringLiteral("/opt/player"); // no player prompt
        m_window->FormShow();                                              // writes the last index
        m_window->FormShow();
        m_window->close(); // lyrics window, columns, bounds and volume
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked()[0].icon, Prompts::Icon::Error);
        QFile::remove(programFolder() + QStringLiteral("tunovia.ini"));
    }

    void registrySettingsOutliveTheFirstStart()
    {
        writeFile(programFolder() + QStringLiteral("tunovia.ini"), "\"legacy\",\"list\"\r\n");
        const LegacyRegistry registry{QByteArrayView("WINE REGISTRY Version 2\n\n"
                                                     "[Software\\\\Ravlen\\\\Tunovia\\\\Setting] 1\n"
                                                     "\"SCMPX\"=\"/opt/scmpx/scmpx\"\n")};
        for (int start = 1; start <= 2; ++start) {
            m_window.reset();
            m_settings = std::make_unique<SettingsStore>(ini(), &registry, programFolder());
            m_window = std::make_unique<TTunoviaF>(MainServices{m_prompts, m_launcher, *m_settings});
            m_window->setCurrentIndexPath(programFolder() + QStringLiteral("tunovia.ini"));
            m_window->FormShow();
            m_window->close();
            QCOMPARE(m_window->dialogSettings().scmpx, QStringLiteral("/opt/scmpx/scmpx"));
            QVERIFY(m_prompts.asked().isEmpty()); // no "set up the player" prompt
        }
        QFile::remove(programFolder() + QStringLiteral("tunovia.ini"));
    }

    void missingLastIndexIsReportedThenAsked()
    {
        QDir().mkpath(QFileInfo(ini()).path());
        QFile f(ini());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Group]\r\nLast=1\r\nLastGroup=/nowhere/gone.ini\r\n");
        f.close();
        TTunoviaF &w = makeWindow();
        m_prompts.answerCancel(); // the open dialog
        w.FormCreate({});
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(m_prompts.asked()[0].title, QStringLiteral("Tunovia - Error"));
        QCOMPARE(m_prompts.asked()[0].text, U("前回終了時のグループが見つかりません。"));
        QCOMPARE(m_prompts.asked()[0].icon, Prompts::Icon::Error);
        QCOMPARE(m_prompts.asked()[1].kind, ScriptedPrompts::Kind::OpenFile);
        QCOMPARE(m_prompts.asked()[1].title, U("グループファイルの選択"));
        QCOMPARE(w.currentIndexPath(), programFolder() + QStringLiteral("tunovia.ini"));
    }

    void commandLineOverridesTheStartupChoice()
    {
        TTunoviaF &w = makeWindow();
        w.FormCreate({QStringLiteral("/r=/media/music/")});
        QCOMPARE(w.currentIndexPath(), QStringLiteral("/media/music/tunovia.ini"));
    }

    void relativeIndexPathIsTakenFromTheWorkingFolder()
    {
        // Held as given, the album folder would be joined to the index
        // folder twice when tracks are handed to a player.
        TTunoviaF &w = makeWindow();
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        w.FormCreate({QStringLiteral("demo/tunovia.ini")});
        QDir::setCurrent(before);
        QCOMPARE(w.currentIndexPath(), m_dir.path() + QStringLiteral("/demo/tunovia.ini"));
    }

    void exitAsksAndNoKeepsRunningWithoutWriting()
    {
        TTunoviaF &w = makeWindow();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        m_prompts.clear();
        m_prompts.answer(QMessageBox::No);
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked()[0].title, U("終了確認"));
        QCOMPARE(m_prompts.asked()[0].text, U("終了してもいいですか？"));
        QCOMPARE(m_prompts.asked()[0].icon, Prompts::Icon::Question);
        QCOMPARE(m_prompts.asked()[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(w.isVisible());
        QVERIFY(!QFile::exists(ini()));
    }

    void closingStoresColumnsWindowAndVolumeInThatOrder()
    {
        TTunoviaF &w = makeWindow();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(50); // let the show sequence run
        m_prompts.clear();
        w.volumeBar()->setValue(7);
        m_prompts.answer(QMessageBox::Yes);
        auto *quit = w.findChild<QAction *>(QStringLiteral("ExitMnu"));
        quit->trigger();
        QVERIFY(!w.isVisible());
        const QByteArray content = readFile(ini());
        const qsizetype column = content.indexOf("[Column]");
        const qsizetype window = content.indexOf("[Window]");
        const qsizetype volume = content.indexOf("[Volume]");
        QVERIFY(column >= 0 && window > column && volume > window);
        QVERIFY(content.contains("Volume=7\r\n"));
        QVERIFY(content.contains("Title=150\r\n"));
    }

    void volumeBarHasATickAtEveryStep()
    {
        TTunoviaF &w = makeWindow();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        TDisRangeTrackBar *bar = w.volumeBar();
        QCOMPARE(bar->maximum() - bar->minimum(), 10);
        QCOMPARE(bar->tickInterval(), 1);
        // Drawn, too, in the room the tool bar leaves.
        const QImage withTicks = bar->grab().toImage();
        bar->setTickPosition(QSlider::NoTicks);
        QVERIFY(bar->grab().toImage() != withTicks);
    }

    void boundsStoredForAScreenThatIsGone()
    {
        TTunoviaF &w = makeWindow("[Window]\r\nTop=3000\r\nLeft=4000\r\nWidth=500\r\nHeight=360\r\n");
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(50); // let the show sequence run
        QVERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));
        QCOMPARE(w.size(), QSize(500, 360));
    }

    void quitPolicyAskUsesItsText()
    {
        QDir().mkpath(QFileInfo(ini()).path());
        QFile f(ini());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Setting]\r\nPlayerQuitAsk=1\r\nPlayerQuitNo=0\r\n");
        f.close();
        TTunoviaF &w = makeWindow();
        m_prompts.answer(QMessageBox::No);
        w.close();
        QVERIFY(!m_prompts.asked().isEmpty());
        QCOMPARE(m_prompts.asked().last().text, U("MP3プレイヤーを終了しますか？"));
        QCOMPARE(m_prompts.asked().last().title, QStringLiteral("Tunovia"));
    }

    void helpOpensIndexThenDummyThenReports()
    {
        TTunoviaF &w = makeWindow();
        auto *help = w.findChild<QAction *>(QStringLiteral("Contents1"));
        help->trigger();
        QCOMPARE(m_launcher.requests().size(), 0);
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked()[0].text,
                 U("ヘルプが見つかりません。\nRavlen "
                   "Worksからhtmlヘルプをダウンロードして\nhelpフォルダに解凍しておいてください。\n"));
        QCOMPARE(m_prompts.asked()[0].icon, Prompts::Icon::Error);

        QDir().mkpath(programFolder() + QStringLiteral("help"));
        QFile dummy(programFolder() + QStringLiteral("help/dummy.html"));
        QVERIFY(dummy.open(QIODevice::WriteOnly));
        dummy.close();
        help->trigger();
        QCOMPARE(m_launcher.requests().size(), 1);
        QCOMPARE(m_launcher.requests()[0].target, programFolder() + QStringLiteral("help/dummy.html"));

        QFile index(programFolder() + QStringLiteral("help/index.html"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.close();
        help->trigger();
        QCOMPARE(m_launcher.requests().last().target, programFolder() + QStringLiteral("help/index.html"));
    }

    void aboutBoxOpensCentredOverTheWindow()
    {
        TTunoviaF &w = makeWindow();
        w.setGeometry(100, 80, 494, 354);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QString caption;
        QRect boxGeometry;
        QTimer::singleShot(200, this, [&] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                caption = box->windowTitle();
                // The frame is the window manager's; the box centres its own size.
                boxGeometry = QRect(box->frameGeometry().topLeft(), box->size());
                box->close();
            }
        });
        w.findChild<QAction *>(QStringLiteral("AboutMnu"))->trigger();
        QCOMPARE(caption, U("バージョン情報"));
        const QRect main = w.frameGeometry();
        QCOMPARE(boxGeometry.left(), main.left() + main.width() / 2 - boxGeometry.width() / 2);
        QCOMPARE(boxGeometry.top(), main.top() + main.height() / 2 - boxGeometry.height() / 2);
    }

    void joypadBindingsOutsideTheListDoNothing()
    {
        TTunoviaF &w = makeWindow();
        TrackRecord t;
        t[TrackField::Title] = QStringLiteral("a");
        w.model()->append(t);
        w.model()->append(t);
        w.dialogSettings().joyBindings[4] = 99;
        w.runJoypadBinding(5);
        w.runJoypadBinding(0);
        w.runJoypadBinding(9);
        QCOMPARE(w.listView2()->selectionModel()->selectedRows().size(), 0);
        w.dialogSettings().joyBindings[4] = 8; // select all
        w.runJoypadBinding(5);
        QCOMPARE(w.listView2()->selectionModel()->selectedRows().size(), 2);
        w.runJoypadAction(9); // invert
        QCOMPARE(w.listView2()->selectionModel()->selectedRows().size(), 0);
    }

    void columnClicksShareOneSortStateAndCompareAsText()
    {
        TTunoviaF &w = makeWindow();
        for (const char *size : {"9000", "10000", "800"}) {
            TrackRecord t;
            t[TrackField::Size] = QString::fromLatin1(size);
            t[TrackField::Title] = QString::fromLatin1(size);
            w.model()->append(t);
        }
        auto sizes = [&] {
            QStringList out;
            for (int r = 0; r < w.model()->rowCount(); ++r)
                out << w.model()->track(r)[TrackField::Size];
            return out;
        };
        w.MP3ListViewColumnClick(4);
        QCOMPARE(sizes(), (QStringList{QStringLiteral("10000"), QStringLiteral("800"), QStringLiteral("9000")}));
        w.MP3ListViewColumnClick(4);
        QCOMPARE(sizes(), (QStringList{QStringLiteral("9000"), QStringLiteral("800"), QStringLiteral("10000")}));
        w.MP3ListViewColumnClick(4);
        QCOMPARE(sizes().first(), QStringLiteral("10000"));
        // Another column starts ascending again.
        w.MP3ListViewColumnClick(0);
        QCOMPARE(sizes().first(), QStringLiteral("10000"));
        w.MP3ListViewColumnClick(0);
        QCOMPARE(sizes().first(), QStringLiteral("9000"));
    }

    void doubleClickHandsOverOnceAnywhereInTheList()
    {
        TTunoviaF &w = makeWindow();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(50);
        TrackRecord t;
        t[TrackField::Title] = QStringLiteral("one");
        w.model()->append(t);
        QWidget *viewport = w.listView2()->viewport();
        const QPoint onRow = w.listView2()->visualRect(w.model()->index(0, 0)).center();
        const QPoint below(10, viewport->height() - 5);
        QVERIFY(!w.listView2()->indexAt(below).isValid());
        for (const QPoint &at : {onRow, below}) {
            m_prompts.clear();
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
            // No player path yet: the hand-over says so, once per double click.
            QCOMPARE(m_prompts.asked().size(), 1);
            QCOMPARE(m_prompts.asked()[0].text, U("Winampのパスを設定してください。"));
        }
    }

    void selectAllAndDeleteFromTheKeyboard()
    {
        TTunoviaF &w = makeWindow();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(50);
        for (const char *title : {"one", "two", "three"}) {
            TrackRecord t;
            t[TrackField::Title] = QString::fromLatin1(title);
            w.model()->append(t);
        }
        w.listView2()->setFocus();
        QTest::keyClick(w.listView2(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.listView2()->selectionModel()->selectedRows().size(), 3);
        QTest::keyClick(w.listView2(), Qt::Key_Delete);
        QCOMPARE(w.model()->rowCount(), 0);
    }
};

QTEST_MAIN(TestMainForm)
#include "test_mainform.moc"
