// The show sequence end to end on the demo library: the album dialog opens,
// albums are chosen and their tracks fill the list.
#include "library/ui/datselform.h"
#include "platform/paths.h"
#include "support/mainwindowfixture.h"
#include "tracks/trackmodel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <functional>

#include <sys/stat.h>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

QString demoIndex() { return QStringLiteral(TUNOVIA_SOURCE_DIR "/data/demo/tunovia.ini"); }

QTreeWidgetItem *folderNamed(QTreeWidget *tree, const QString &name)
{
    QTreeWidgetItemIterator it(tree);
    for (; *it; ++it)
        if ((*it)->text(0) == name)
            return *it;
    return nullptr;
}

} // namespace

class TestShowSequence : public QObject, public MainWindowFixture {
    Q_OBJECT

public:
    TestShowSequence() : MainWindowFixture(QStringLiteral("Tunov.ini"), QString()) {}

private:
    TTunoviaF &makeWindow(const QString &indexPath)
    {
        m_window.reset();
        QFile::remove(ini());
        MainWindowFixture::makeWindow();
        m_window->setCurrentIndexPath(indexPath);
        m_prompts.clear();
        return *m_window;
    }

    // Runs `act` on the album dialog as soon as the show sequence opens it.
    void whenDialogOpens(std::function<void(TDataSelectF *)> act)
    {
        auto *timer = new QTimer(this);
        timer->setInterval(20);
        connect(timer, &QTimer::timeout, this, [timer, act] {
            if (auto *dialog = qobject_cast<TDataSelectF *>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                act(dialog);
            }
        });
        timer->start();
    }

    static void chooseAlbums(TDataSelectF *dialog, const QString &folder, int count)
    {
        dialog->folderTree()->setCurrentItem(folderNamed(dialog->folderTree(), folder));
        for (int i = 0; i < count; ++i)
            dialog->albumList()->item(i)->setSelected(true);
        dialog->AlbumListClick();
        dialog->okButton()->click();
    }

private slots:
    void demoLibraryLoadsChosenAlbums()
    {
        TTunoviaF &w = makeWindow(demoIndex());
        QString caption;
        whenDialogOpens([&](TDataSelectF *dialog) {
            caption = dialog->windowTitle();
            QVERIFY(!dialog->okButton()->isEnabled());
            chooseAlbums(dialog, U("スタジオ"), 2);
        });
        w.FormShow();
        QCOMPARE(caption, U("Tunovia デモライブラリ"));
        QCOMPARE(w.currentList(), w.listView2());
        QCOMPARE(w.model()->rowCount(), 6);
        QCOMPARE(w.model()->track(0)[TrackField::Title], QStringLiteral("Morning Tone"));
        QCOMPARE(w.model()->track(1)[TrackField::Title], U("夕暮れ"));
        QCOMPARE(w.model()->track(3)[TrackField::Album], QStringLiteral("Second Album"));
        QVERIFY(QFile::exists(w.model()->track(1)[TrackField::Path]));
        QCOMPARE(w.model()->track(0).lyrics, LyricsState::BesideTrack);
        QCOMPARE(w.model()->track(2).lyrics, LyricsState::None);
        // No player configured yet: the prompt follows the load.
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked()[0].text, U("MP3プレイヤーの設定をしてください。"));
        QCOMPARE(m_prompts.asked()[0].title, QStringLiteral("Tunovia"));
        // The opened index file is remembered.
        QCOMPARE(m_settings->readStartupGroup().lastGroup, demoIndex());
    }

    void cancelledDialogKeepsTheTracksAndAsksNothing()
    {
        TTunoviaF &w = makeWindow(demoIndex());
        whenDialogOpens([](TDataSelectF *dialog) { chooseAlbums(dialog, U("ライブ"), 1); });
        w.FormShow();
        QCOMPARE(w.model()->rowCount(), 3);
        m_prompts.clear();
        whenDialogOpens([](TDataSelectF *dialog) { dialog->reject(); });
        w.DataOpenMnuClick();
        QCOMPARE(w.model()->rowCount(), 3);
        QVERIFY(m_prompts.asked().isEmpty());
    }

    void unreadableAlbumStopsLoadingAndKeepsEarlierAlbums()
    {
        const QString index = m_dir.filePath(QStringLiteral("broken.ini"));
        QFile f(index);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("good=" TUNOVIA_SOURCE_DIR "/data/demo/albums/live.mdt\r\nbad=missing.mdt\r\n"
                "later=" TUNOVIA_SOURCE_DIR "/data/demo/albums/classics.mdt\r\n");
        f.close();
        TTunoviaF &w = makeWindow(index);
        whenDialogOpens([](TDataSelectF *dialog) { chooseAlbums(dialog, U("root"), 3); });
        w.FormShow();
        QCOMPARE(w.model()->rowCount(), 3);
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked()[0].text, U("データファイルがロードできませんでした。"));
        QCOMPARE(m_prompts.asked()[0].icon, Prompts::Icon::None);
    }

    void legacyListOpensTheFiveColumnListWithoutDialog_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("plain") << QByteArray();
        QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBF");
    }

    void legacyListOpensTheFiveColumnListWithoutDialog()
    {
        QFETCH(QByteArray, start);
        const QString index = m_dir.filePath(QStringLiteral("legacy.lst"));
        QFile f(index);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(start);
        f.write("\"C:\\music\\a.mp3\",\"Alpha\",\"Artist A\",\"note\",\"4000000\"\r\n"
                "\"b.mp3\",\"Beta\",\"Artist B\",\"\",\"1234KB\"\r\n");
        f.close();
        TTunoviaF &w = makeWindow(index);
        w.FormShow();
        QVERIFY(w.legacyListShown());
        QCOMPARE(w.currentList(), w.listView());
        QVERIFY(w.listView()->isVisibleTo(&w) || !w.isVisible());
        QCOMPARE(w.legacyModel()->rowCount(), 2);
        QCOMPARE(w.legacyModel()->text(0, 0), QStringLiteral("Alpha"));
        // Size shown as time by default.
        QCOMPARE(w.legacyModel()->text(0, 3), U("4分10秒"));
        QCOMPARE(w.legacyModel()->headerData(3, Qt::Horizontal).toString(), U("時間"));
    }

    void vanishedIndexShowsTheListCommandsActOn()
    {
        // Commands act on the current list, so the one shown must be it.
        const QString index = m_dir.filePath(QStringLiteral("gone/legacy.lst"));
        writeFile(index, "\"a.mp3\",\"Alpha\",\"\",\"\",\"16000\"\r\n");
        TTunoviaF &w = makeWindow(index);
        w.FormShow();
        QCOMPARE(w.currentList(), w.listView());
        QVERIFY(QFile::remove(index));
        m_prompts.clear();
        w.FormShow();
        QCOMPARE(w.currentList(), w.listView2());
        QVERIFY(w.listView2()->isVisibleTo(&w));
        QVERIFY(!w.listView()->isVisibleTo(&w));
        QVERIFY(!w.legacyListShown());
        QVERIFY(m_prompts.asked().isEmpty());
    }

    void missingIndexFallsBackToTunoviaDatBesideIt()
    {
        const QString folder = m_dir.filePath(QStringLiteral("fallback/"));
        QDir().mkpath(folder);
        QFile dat(folder + QStringLiteral("tunovia.dat"));
        QVERIFY(dat.open(QIODevice::WriteOnly));
        dat.write("\"x.mp3\",\"From dat\",\"\",\"\",\"16000\"\r\n");
        dat.close();
        TTunoviaF &w = makeWindow(folder + QStringLiteral("tunovia.ini"));
        w.FormShow();
        QCOMPARE(w.currentIndexPath(), folder + QStringLiteral("tunovia.dat"));
        QCOMPARE(w.legacyModel()->rowCount(), 1);
        QCOMPARE(m_settings->readStartupGroup().lastGroup, folder + QStringLiteral("tunovia.dat"));
    }

    // Such a file counts as one that cannot be opened: the sequence goes on
    // to "tunovia.dat" beside it instead of waiting for it for ever.
    void indexThatIsNoRegularFileFallsBack_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<bool>("datBeside");
        const QString fifo = m_dir.filePath(QStringLiteral("fifo/tunovia.ini"));
        QDir().mkpath(QFileInfo(fifo).path());
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0 || QFileInfo(fifo).exists());
        writeFile(m_dir.filePath(QStringLiteral("fifo/tunovia.dat")), "\"x.mp3\",\"From dat\",\"\",\"\",\"16000\"\r\n");
        QTest::newRow("FIFO") << fifo << true;
        QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << false;
        QTest::newRow("folder") << m_dir.filePath(QStringLiteral("fifo")) << false;
    }
    void indexThatIsNoRegularFileFallsBack()
    {
        QFETCH(QString, index);
        QFETCH(bool, datBeside);
        TTunoviaF &w = makeWindow(index);
        w.FormShow();
        if (datBeside) {
            const QString dat = paths::folderPart(index) + QStringLiteral("tunovia.dat");
            QCOMPARE(w.currentIndexPath(), dat);
            QCOMPARE(w.legacyModel()->rowCount(), 1);
            QCOMPARE(m_settings->readStartupGroup().lastGroup, dat);
        } else {
            QVERIFY(m_prompts.asked().isEmpty());
            QCOMPARE(w.currentList(), w.listView2());
            QCOMPARE(w.model()->rowCount(), 0);
            QVERIFY(m_settings->readStartupGroup().lastGroup != index); // nothing was opened
        }
    }

    void newIndexFileShowsOnlyTheRoot()
    {
        TTunoviaF &w = makeWindow(demoIndex());
        const QString fresh = m_dir.filePath(QStringLiteral("new.ini"));
        m_prompts.answerText(fresh);
        int folders = -1;
        int albums = -1;
        whenDialogOpens([&](TDataSelectF *dialog) {
            folders = dialog->folderTree()->topLevelItemCount() + dialog->folderTree()->topLevelItem(0)->childCount();
            albums = dialog->albumList()->count();
            dialog->reject();
        });
        w.MakeGroupMnuClick();
        QCOMPARE(m_prompts.asked()[0].title, U("インデックスファイルの新規作成"));
        QCOMPARE(folders, 1);
        QCOMPARE(albums, 0);
        QFile f(fresh);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(";Tunovia  Index File\r\n"));
        QCOMPARE(w.currentIndexPath(), fresh);
    }
};

QTEST_MAIN(TestShowSequence)
#include "test_showsequence.moc"
