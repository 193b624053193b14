#include "config/settingsstore.h"
#include "lyrics/ui/lyricsform.h"
#include "support/fakelauncher.h"
#include "support/scriptedprompts.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }
QStringList L(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *s : items)
        out << QString::fromUtf8(s);
    return out;
}

const QByteArray kSong = "My Song\r\n[00:10:00]first\r\n[00:15:50]second\r\n\r\n[00:20:00]third\r\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestLyricsForm : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    FakeLauncher m_launcher;
    std::unique_ptr<SettingsStore> m_settings;
    DialogSettings m_dialog;
    LyricsWindowSettings m_window;
    int m_tag = 0;
    QList<int> m_infoRows; // rows the window asked information for
    std::unique_ptr<TLyricsF> m_form;

    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    TLyricsF &form()
    {
        m_form = std::make_unique<TLyricsF>(
            LyricsFormContext{m_prompts,
                              m_launcher,
                              *m_settings,
                              m_dialog,
                              m_window,
                              m_tag,
                              [this](int row) {
                                  m_infoRows << row;
                                  QStringList lines{QStringLiteral("No Lyrics File"), QStringLiteral(" ")};
                                  if (row < 6)
                                      lines << QStringLiteral("Title : track %1").arg(row + 1)
                                            << QStringLiteral("Path : /m/%1.mp3").arg(row + 1);
                                  return lines;
                              },
                              {}});
        return *m_form;
    }

    TLyricsF &loaded(const QByteArray &bytes)
    {
        writeFile(path("song.txt"), bytes);
        TLyricsF &f = form();
        f.LyricsFile = path("song.txt");
        f.loadLyrics(0);
        return f;
    }

private slots:
    void init()
    {
        m_prompts.clear();
        m_launcher.clear();
        m_settings = std::make_unique<SettingsStore>(path("config/Tunov.ini"), nullptr, path("prog/"));
        m_dialog = DialogSettings{};
        m_window = LyricsWindowSettings{};
        m_tag = 0;
        m_infoRows.clear();
    }
    void cleanup()
    {
        m_form.reset();
        QFile::remove(path("config/Tunov.ini"));
    }

    void windowIsAnAlwaysOnTopToolWindow()
    {
        TLyricsF &f = form();
        QCOMPARE(f.windowTitle(), QStringLiteral("Lyrics"));
        QVERIFY(f.windowFlags() & Qt::Tool);
        QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(f.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.lyricsList()->selectionMode(), QAbstractItemView::SingleSelection);
        QStringList captions;
        for (QAction *a : f.popupMenu()->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{U("Lyricsをテキストエディタで編集(&E)"), U("LyricsをLyricsエディタで編集(&L)"),
                                        U("Lyricsをリロード(&R)")}));
    }

    void loadFillsBothListsAndShowsTheWindow()
    {
        TLyricsF &f = loaded(kSong);
        QCOMPARE(f.timeList(), (L({"00:00", "99:99", "00:10:00", "00:15:50", "99:99", "00:20:00", "99:99"})));
        QCOMPARE(f.displayList(), (L({" ", "My Song", "first", "second", "", "third", " "})));
        QCOMPARE(f.windowTitle(), QStringLiteral("My Song"));
        QCOMPARE(m_tag, 1);
        QVERIFY(f.isVisible());
    }

    void captionOfAFileWithoutTitleLine()
    {
        TLyricsF &f = loaded(kSong);
        writeFile(path("tagged.txt"), "[00:01]ab\n");
        f.LyricsFile = path("tagged.txt");
        f.loadLyrics(0);
        QCOMPARE(f.windowTitle(), QStringLiteral("Lyrics"));
        // Only short lines: the previous track's title must not stay.
        f.LyricsFile = path("song.txt");
        f.loadLyrics(0);
        writeFile(path("short.txt"), "a\nb\n");
        f.LyricsFile = path("short.txt");
        f.loadLyrics(0);
        QCOMPARE(f.windowTitle(), QStringLiteral("Lyrics"));
    }

    void followTime_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QStringList>("selected");
        QTest::newRow("example song") << kSong << L({"00:05:00:00", "00:15:49:99", "00:15:50:00", "00:25:00:00"})
                                      << L({" ", "first", "second", "third"});
        QTest::newRow("mm:ss tag from its second on")
            << QByteArray("[00:12]x\n") << L({"00:11:99:99", "00:12:00:00", "00:13:00:00"}) << L({" ", "x", "x"});
        QTest::newRow("untimed lines are never reached")
            << QByteArray("[00:01]a1\nplain line\n") << L({"98:59:99", "00:00:00"}) << L({"a1", " "});
    }

    void followTime()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, times);
        QFETCH(QStringList, selected);
        TLyricsF &f = loaded(file);
        QStringList got;
        for (const QString &t : times) {
            f.followTime(t);
            got << f.lyricsList()->item(f.selectedRow())->text();
        }
        QCOMPARE(got, selected);
    }

    void followTimeBringsBackADeselectedHighlight()
    {
        TLyricsF &f = loaded(kSong);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.followTime(QStringLiteral("00:10:00:00"));
        QCOMPARE(f.selectedRow(), 2);
        // Ctrl+click on the highlighted line takes the selection away.
        QListWidget *list = f.lyricsList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->item(2)).center());
        QCOMPARE(f.selectedRow(), -1);
        f.followTime(QStringLiteral("00:10:00:10"));
        QCOMPARE(f.selectedRow(), 2);
    }

    void searchFolderFallbackAndReload()
    {
        m_dialog.findFolder = path("found"); // without the trailing separator
        writeFile(path("found/track.txt"), "[00:00]old words\n");
        TLyricsF &f = form();
        f.LyricsFile = path("music/track.txt");
        f.loadLyrics(4);
        QCOMPARE(f.LyricsFile, path("found/track.txt"));
        QCOMPARE(f.LyricsFileTag, 4);
        QCOMPARE(f.displayList().value(1), QStringLiteral("old words"));

        writeFile(path("found/track.txt"), "[00:00]new words\n");
        f.LyricsReloadMnuClick();
        QCOMPARE(f.displayList().value(1), QStringLiteral("new words"));
        QVERIFY(m_infoRows.isEmpty());
    }

    void noLyricsFileShowsTrackInformation()
    {
        TLyricsF &f = loaded(kSong);
        f.LyricsFile = path("missing/sixth.txt");
        f.loadLyrics(5);
        QCOMPARE(f.displayList(), (L({"No Lyrics File", " ", "Title : track 6", "Path : /m/6.mp3"})));
        QCOMPARE(f.timeList(), L({"00:00"}));
        QCOMPARE(f.windowTitle(), QStringLiteral("Lyrics"));
        QCOMPARE(m_infoRows, QList<int>{5});
        f.followTime(QStringLiteral("00:00:10"));
        QCOMPARE(f.selectedRow(), 0);
        // No search folder set: the name is not looked up in the working directory.
        QCOMPARE(f.LyricsFile, path("missing/sixth.txt"));
    }

    void noLyricsHideClosesTheWindow()
    {
        m_dialog.noLyricsHide = true;
        TLyricsF &f = loaded(kSong);
        QVERIFY(f.isVisible());
        f.LyricsFile = path("missing.txt");
        f.loadLyrics(0);
        QCOMPARE(m_tag, 0);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.lyricsList()->count(), 0);
        QVERIFY(m_infoRows.isEmpty());
        // The next track with lyrics brings it back.
        f.LyricsFile = path("song.txt");
        f.loadLyrics(1);
        QCOMPARE(m_tag, 1);
        QVERIFY(f.isVisible());
    }

    void badFilesLoadWithoutHanging_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        QTest::newRow("empty") << QByteArray() << 2;
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe\x01[\x00]\x80\x81\n\x9f", 11) << -1;
        QTest::newRow("odd tags") << QByteArray("[\n[]\n[99:99:99]\n[aa:bb:cc]x\n") << 5;
        QTest::newRow("CR only") << QByteArray("ab\rcd\ref") << 5;
        QTest::newRow("10 MB in one line") << QByteArray(10 * 1024 * 1024, 'x') << 3;
    }

    void badFilesLoadWithoutHanging()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        TLyricsF &f = loaded(bytes);
        if (rows >= 0)
            QCOMPARE(f.lyricsList()->count(), rows);
        QCOMPARE(f.timeList().size(), f.lyricsList()->count());
        f.followTime(QStringLiteral("00:01:00"));
        f.centre();
        f.lyricsList()->grab(); // paints every visible row
        if (bytes.size() > TLyricsF::kMaxShownChars) {
            QCOMPARE(f.lyricsList()->item(1)->text().size(), TLyricsF::kMaxShownChars);
            QCOMPARE(f.displayList().at(1).size(), bytes.size());
        }
    }

    void centreKeepsSelectionInTheMiddle()
    {
        QByteArray file;
        for (int i = 0; i < 100; ++i)
            file += QStringLiteral("[00:%1:00]line %1\n").arg(i, 2, 10, QLatin1Char('0')).toLatin1();
        TLyricsF &f = loaded(file);
        const int visible = f.lyricsList()->viewport()->height() / f.rowHeight();
        QVERIFY(visible > 2);
        f.followTime(QStringLiteral("00:50:00:00")); // row 51 (after the leading space line)
        f.centre();
        QCOMPARE(f.lyricsList()->verticalScrollBar()->value(), 51 - visible / 2);
        f.followTime(QStringLiteral("00:01:00:00"));
        f.centre();
        QCOMPARE(f.lyricsList()->verticalScrollBar()->value(), 0);
    }

    void editors_data()
    {
        QTest::addColumn<bool>("lyricsEditor");
        QTest::addColumn<QString>("missingText");
        QTest::newRow("text editor") << false << U("テキストエディタのパスが設定されていません。");
        QTest::newRow("lyrics editor") << true << U("Lyricsエディタのパスが設定されていません。");
    }

    void editors()
    {
        QFETCH(bool, lyricsEditor);
        QFETCH(QString, missingText);
        TLyricsF &f = form();
        f.LyricsFile = path("a b.txt");
        QString &editor = lyricsEditor ? m_dialog.lyricsEditor : m_dialog.textEditor;
        auto run = [&] { lyricsEditor ? f.LyricsEdtMnu2Click() : f.LyricsEdtMnuClick(); };

        editor.clear();
        run();
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked()[0].title, U("Tunovia エラー"));
        QCOMPARE(m_prompts.asked()[0].text, missingText);
        QCOMPARE(m_prompts.asked()[0].icon, Prompts::Icon::Error);
        QVERIFY(m_launcher.requests().isEmpty());

        editor = QStringLiteral("/usr/bin/my editor");
        run();
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_launcher.requests().size(), 1);
        QCOMPARE(m_launcher.requests()[0].target, QStringLiteral("/usr/bin/my editor"));
        QCOMPARE(m_launcher.requests()[0].arguments, QStringList{path("a b.txt")});
        QCOMPARE(m_launcher.requests()[0].showWindow, int(Launcher::Normal));

        // The Windows default opens the file with the desktop's application.
        editor = QStringLiteral("notepad.exe");
        run();
        QCOMPARE(m_launcher.requests().size(), 2);
        QCOMPARE(int(m_launcher.requests()[1].kind), int(FakeLauncher::Kind::Document));
        QCOMPARE(m_launcher.requests()[1].target, path("a b.txt"));
        QCOMPARE(m_prompts.asked().size(), 1);

        // An editor that does not start is named in an error.
        editor = QStringLiteral("/usr/bin/my editor");
        m_launcher.succeed = false;
        run();
        m_launcher.succeed = true;
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(m_prompts.asked()[1].title, U("Tunovia エラー"));
        QCOMPARE(m_prompts.asked()[1].text, U("/usr/bin/my editorを起動できませんでした。"));
        QCOMPARE(m_prompts.asked()[1].icon, Prompts::Icon::Error);
    }

    void closingWritesBoundsAndClearsTag()
    {
        m_window.bounds = WindowBounds{120, 80, 300, 200};
        TLyricsF &f = loaded(kSong);
        QCOMPARE(f.geometry(), QRect(80, 120, 300, 200));
        f.setGeometry(90, 130, 310, 210);
        f.closeWindow();
        QVERIFY(!f.isVisible());
        QCOMPARE(m_tag, 0);
        const ProfileFile &p = m_settings->profile();
        const QString s = QStringLiteral("Lyrics");
        QCOMPARE(p.readInt(s, QStringLiteral("Top"), 0), 130);
        QCOMPARE(p.readInt(s, QStringLiteral("Left"), 0), 90);
        QCOMPARE(p.readInt(s, QStringLiteral("Width"), 0), 310);
        QCOMPARE(p.readInt(s, QStringLiteral("Height"), 0), 210);
        // Shown again where it was closed.
        f.showWindow();
        QCOMPARE(f.geometry(), QRect(90, 130, 310, 210));
    }

    void screenReadersAndScreensFindTheWindow()
    {
        m_window.bounds = WindowBounds{3000, 4000, 300, 200}; // stored for a screen that is gone
        TLyricsF &f = form();
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&f);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::Window);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Lyrics"));
        f.showWindow();
        QVERIFY(f.screen()->availableGeometry().contains(f.frameGeometry()));
        QCOMPARE(f.size(), QSize(300, 200));
    }

    void lookFromTheLyricsSettings()
    {
        m_dialog.lyricsFontName = QStringLiteral("IPAPGothic");
        m_dialog.lyricsFontSize = 20;
        m_dialog.lyricsBold = true;
        m_dialog.lyricsFontColor = 0x0000FF; // red as 0x00BBGGRR
        m_dialog.lyricsBackColor = 0xCCFFCC;
        TLyricsF &f = form();
        f.showWindow();
        const QListWidget *list = f.lyricsList();
        QCOMPARE(list->font().pointSize(), 20);
        QVERIFY(list->font().bold());
        QVERIFY(!list->font().italic());
        QCOMPARE(list->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(list->palette().color(QPalette::Base), QColor(0xCC, 0xFF, 0xCC));
    }
};

QTEST_MAIN(TestLyricsForm)
#include "test_lyricsform.moc"
