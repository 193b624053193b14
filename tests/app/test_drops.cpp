// The main window's track tools: drops, album files, the tag editor, find,
// totals, copy and move, and the outside tools.
#include "controls/ui/folderdialog.h"
#include "library/albumfile.h"
#include "support/mainwindowfixture.h"
#include "support/testfiles.h"
#include "tracks/id3v1.h"
#include "tracks/trackmodel.h"
#include "tracks/ui/copyform.h"
#include "tracks/ui/findform.h"
#include "tracks/ui/tageditform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <functional>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

// `audio` bytes of sound, then a tag titled `title` unless it is empty.
void writeMp3(const QString &path, const QString &title, int audio = 1000)
{
    QByteArray bytes(audio, char(0x55));
    if (!title.isEmpty()) {
        id3v1::TagFields tag;
        tag.title = title;
        tag.artist = QStringLiteral("Artist");
        tag.album = QStringLiteral("Album");
        tag.year = QStringLiteral("1998");
        tag.genre = 17;
        bytes += id3v1::encodeTag(tag);
    }
    writeFile(path, bytes);
}

// Handles the modal dialogs of type D that open while `run` runs, one step
// per dialog in the order they open; dialogs beyond the steps are cancelled.
template <typename D> int withModals(const std::function<void()> &run, const QList<std::function<void(D *)>> &steps)
{
    int handled = 0;
    QPointer<D> last;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!dialog || dialog == last)
            return;
        last = dialog;
        if (handled < steps.size())
            steps[handled](dialog);
        else
            dialog->reject();
        ++handled;
    });
    poll.start();
    run();
    poll.stop();
    return handled;
}

QStringList titles(const TrackModel *model)
{
    QStringList out;
    for (int r = 0; r < model->size(); ++r)
        out << model->track(r)[TrackField::Title];
    return out;
}

TrackRecord row(const QString &title, const QString &path = {}, const QString &time = {}, const QString &size = {})
{
    TrackRecord r;
    r[TrackField::Title] = title;
    r[TrackField::Path] = path;
    r[TrackField::Time] = time;
    r[TrackField::Size] = size;
    return r;
}

} // namespace

class TestDrops : public QObject, public MainWindowFixture {
    Q_OBJECT

    QString music(const char *name = "") const { return m_dir.path() + QStringLiteral("/music/") + U(name); }

    TTunoviaF &makeWindow()
    {
        MainWindowFixture::makeWindow();
        m_window->folderDialog()->setPrompts(&m_prompts);
        m_window->setAcceptDrops(true); // as the show sequence does
        return *m_window;
    }

    void drop(TTunoviaF &w, const QStringList &paths)
    {
        auto *mime = new QMimeData;
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << QUrl::fromLocalFile(p);
        mime->setUrls(urls);
        // The drop goes to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &event);
        QVERIFY(event.isAccepted());
        QTest::qWait(20); // the drop is handled once the drag source has been released
        delete mime;
    }

    void select(TTunoviaF &w, const QList<int> &rows)
    {
        w.currentList()->selectionModel()->select(w.model()->rowsSelection(rows), QItemSelectionModel::ClearAndSelect);
    }

    // root/{a.mp3, b.mp3 (untagged), notes.txt, sub/c.mp3, z.mp3}, other/d.mp3; a and b have lyrics beside.
    void makeTree()
    {
        writeMp3(music("root/a.mp3"), QStringLiteral("Alpha"));
        writeFile(music("root/a.txt"), "lyrics a");
        writeMp3(music("root/b.mp3"), QString(), 1600);
        writeFile(music("root/b.txt"), "lyrics b");
        writeFile(music("root/notes.txt"), "not a track");
        writeMp3(music("root/sub/c.mp3"), QStringLiteral("Gamma"));
        writeMp3(music("root/z.mp3"), QStringLiteral("Zeta"), 16000);
        writeMp3(music("other/d.mp3"), QStringLiteral("Delta"));
    }

private slots:
    void initTestCase()
    {
        useProgramFolder();
        usePrivateRuntime();
    }

    void init()
    {
        clearDoubles();
        QFile::remove(ini());
        QDir(music()).removeRecursively();
        makeTree();
    }

    void cleanup() { m_window.reset(); }

    // ---- drops ----

    void dropOfFilesAsksNothing()
    {
        TTunoviaF &w = makeWindow();
        writeMp3(music("root/LOUD.MP3"), QStringLiteral("Loud"));
        writeFile(music("root/x.rmp"), "rmp");
        drop(w, {music("root/LOUD.MP3"), music("root/x.rmp"), music("root/a.mp3")});
        QCOMPARE(titles(w.model()), (QStringList{QStringLiteral("Loud"), QStringLiteral("Alpha")}));
        QVERIFY(m_prompts.asked().isEmpty());
        QCOMPARE(w.model()->track(0).lyrics, LyricsState::None);
        QCOMPARE(w.model()->track(1).lyrics, LyricsState::BesideTrack);
        QCOMPARE(w.model()->track(1)[TrackField::Path], music("root/a.mp3"));
    }

    void dropOfFoldersAsksOnce_data()
    {
        QTest::addColumn<bool>("subfolders");
        QTest::addColumn<QStringList>("expected");
        // b.mp3 is untagged: its title is its file name.
        QTest::newRow("no") << false << QStringList{U("Alpha"), U("b.mp3"), U("Zeta"), U("Delta")};
        QTest::newRow("yes") << true << QStringList{U("Alpha"), U("b.mp3"), U("Gamma"), U("Zeta"), U("Delta")};
    }

    void dropOfFoldersAsksOnce()
    {
        QFETCH(bool, subfolders);
        QFETCH(QStringList, expected);
        TTunoviaF &w = makeWindow();
        m_prompts.answer(subfolders ? QMessageBox::Yes : QMessageBox::No);
        drop(w, {music("root"), music("other/")});
        QCOMPARE(titles(w.model()), expected);
        QCOMPARE(m_prompts.asked().size(), 1);
        const auto &q = m_prompts.asked().first();
        QCOMPARE(q.title, U("確認"));
        QCOMPARE(q.text, U("サブフォルダ以下も検索しますか？"));
        QCOMPARE(q.icon, Prompts::Icon::Question);
        // The next drop asks again.
        drop(w, {music("other")});
        QCOMPARE(m_prompts.asked().size(), 2);
    }

    void dropOfPlaylistAndIndexFile()
    {
        TTunoviaF &w = makeWindow();
        writeFile(music("root/list.m3u"), "z.mp3\r\nmissing.mp3\r\n" + music("other/d.mp3").toUtf8());
        const QString index = music("elsewhere/new.ini");
        drop(w, {music("root/list.m3u"), index});
        QCOMPARE(titles(w.model()), (QStringList{QStringLiteral("Zeta"), QStringLiteral("Delta")}));
        QCOMPARE(w.currentIndexPath(), index);
        QVERIFY(m_prompts.asked().isEmpty()); // neither is taken as a folder
    }

    void dragEnterTakesOnlyFiles()
    {
        TTunoviaF &w = makeWindow();
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QDragEnterEvent plain(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &plain);
        QVERIFY(!plain.isAccepted());
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(music("root"))});
        QDragEnterEvent local(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &local);
        QVERIFY(local.isAccepted());
    }

    // ---- album file ----

    void albumFileWrittenAndReadBack()
    {
        TTunoviaF &w = makeWindow();
        m_prompts.answer(QMessageBox::No);
        drop(w, {music("root")});
        select(w, {0, 2});
        m_prompts.clear();
        const QString out = music("album.mdt");
        m_prompts.answer(QMessageBox::Yes);
        m_prompts.answerText(out);
        w.MakeMdtMnuClick();
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(m_prompts.asked()[0].text, U("選択されているファイルだけを出力の対象にしますか？"));
        QCOMPARE(m_prompts.asked()[1].kind, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(m_prompts.asked()[1].title, U("アルバムファイル(.mdt)の作成"));
        QVERIFY(m_prompts.asked()[1].confirmOverwrite);
        const QByteArray bytes = readFile(out);
        const QByteArray first = "\"" + music("root/a.mp3").toUtf8() +
                                 "\",\"a.mp3\",\"Alpha\",\"Artist\",\"Album\",\"\","
                                 "\" \",\"1998\",\"\",\"\",\"\",\"\",\"1128\"\r\n";
        QVERIFY2(bytes.startsWith(first), bytes.constData());
        QCOMPARE(bytes.count("\r\n"), 2);

        const album::AlbumRead back = album::readAlbumFile(out);
        QVERIFY(!back.error);
        QCOMPARE(back.tracks.size(), size_t(2));
        for (int i : {0, 1}) {
            const TrackRecord &written = w.model()->track(i == 0 ? 0 : 2);
            QCOMPARE(back.tracks[size_t(i)].fields, written.fields); // Time recomputed from Size
        }
    }

    void albumFileOptionsAndFailures()
    {
        TTunoviaF &w = makeWindow();
        m_prompts.answer(QMessageBox::No);
        drop(w, {music("root")});
        w.currentList()->selectionModel()->clearSelection();

        // Only selected rows, none selected: an empty file.
        m_prompts.answer(QMessageBox::Yes);
        m_prompts.answerText(music("empty.mdt"));
        w.MakeMdtMnuClick();
        QVERIFY(QFile::exists(music("empty.mdt")));
        QCOMPARE(readFile(music("empty.mdt")).size(), 0);

        // All rows.
        m_prompts.answer(QMessageBox::No);
        m_prompts.answerText(music("all.mdt"));
        w.MakeMdtMnuClick();
        QCOMPARE(readFile(music("all.mdt")).count("\r\n"), 3);

        // Cancelled save dialog: nothing written.
        m_prompts.clear();
        m_prompts.answer(QMessageBox::No);
        m_prompts.answerCancel();
        w.MakeMdtMnuClick();
        QCOMPARE(m_prompts.asked().size(), 2);

        // A file that cannot be created is reported by name.
        m_prompts.clear();
        const QString bad = music("no such folder/x.mdt");
        m_prompts.answer(QMessageBox::No);
        m_prompts.answerText(bad);
        w.MakeMdtMnuClick();
        QCOMPARE(m_prompts.asked().size(), 3);
        QCOMPARE(m_prompts.asked()[2].title, U("Tunovia エラー"));
        QCOMPARE(m_prompts.asked()[2].icon, Prompts::Icon::Error);
        QVERIFY(m_prompts.asked()[2].text.contains(bad));
        QVERIFY(!QFile::exists(bad));
    }

    void albumCommandIsOffForTheFiveColumnList()
    {
        TTunoviaF &w = makeWindow();
        auto *action = w.findChild<QAction *>(QStringLiteral("MakeMdtMnu"));
        QVERIFY(action);
        const QString legacy = music("legacy.ini");
        writeFile(legacy, "\"/x/a.mp3\",\"T\",\"A\",\"C\",\"1000\"\r\n");
        drop(w, {legacy});
        QVERIFY(w.legacyListShown());
        QVERIFY(!action->isEnabled());
        m_prompts.clear();
        w.MakeMdtMnuClick();
        QVERIFY(m_prompts.asked().isEmpty());
    }

    void dropOntoTheFiveColumnListShowsTheAlbumList()
    {
        TTunoviaF &w = makeWindow();
        const QString legacy = music("legacy.ini");
        writeFile(legacy, "\"/x/a.mp3\",\"T\",\"A\",\"C\",\"1000\"\r\n");
        drop(w, {legacy});
        QVERIFY(w.legacyListShown());
        drop(w, {music("root/a.mp3")});
        QVERIFY(!w.legacyListShown());
        QCOMPARE(w.currentList(), w.listView2());
        QVERIFY(!w.listView2()->isHidden());
        QVERIFY(w.listView()->isHidden());
        QCOMPARE(titles(w.model()), QStringList{QStringLiteral("Alpha")});
        QVERIFY(w.findChild<QAction *>(QStringLiteral("MakeMdtMnu"))->isEnabled());
    }

    // ---- tag editor ----

    void tagEditorVisitsSelectedRowsInOrder()
    {
        TTunoviaF &w = makeWindow();
        m_prompts.answer(QMessageBox::No);
        drop(w, {music("root")}); // a (tagged), b (untagged, 1600 bytes), z (tagged)
        w.model()->append(row(QStringLiteral("gone"), music("root/gone.mp3")));
        select(w, {0, 1, 2, 3});
        const QByteArray zBefore = readFile(music("root/z.mp3"));
        QStringList captions;
        const int shown = withModals<TTagEditF>([&] { w.TagEditMnuClick(); },
                                                {[&](TTagEditF *d) {
                                                     captions << d->windowTitle();
                                                     d->Title->setText(QStringLiteral("AB"));
                                                     d->Button1->click();
                                                 },
                                                 [&](TTagEditF *d) {
                                                     captions << d->windowTitle();
                                                     QCOMPARE(d->Title->text(), QStringLiteral("b.mp3"));
                                                     QCOMPARE(d->GenreList->currentIndex(), 255);
                                                     d->Year->setText(QStringLiteral("98"));
                                                     d->GenreList->setCurrentIndex(0);
                                                     d->Button1->click();
                                                 },
                                                 [&](TTagEditF *d) {
                                                     captions << d->windowTitle();
                                                     d->Title->setText(QStringLiteral("changed"));
                                                     d->Button2->click();
                                                 },
                                                 [&](TTagEditF *d) {
                                                     captions << d->windowTitle();
                                                     d->Button1->click();
                                                 }});
        QCOMPARE(shown, 4);
        QCOMPARE(captions, (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("z.mp3"),
                                        QStringLiteral("gone.mp3")}));

        const QByteArray a = readFile(music("root/a.mp3"));
        QCOMPARE(a.size(), 1128); // rewritten in place
        QCOMPARE(a.mid(1000, 36), QByteArray("TAGAB\0", 6) + QByteArray(27, ' ') + QByteArray("Art"));
        const QByteArray b = readFile(music("root/b.mp3"));
        QCOMPARE(b.size(), 1600 + 128); // appended
        QCOMPARE(b.mid(1600 + 93, 4), QByteArray("98\0 ", 4));
        QCOMPARE(b.at(b.size() - 1), '\0');
        QCOMPARE(readFile(music("root/z.mp3")), zBefore); // cancelled

        // The missing file is named in an error and nothing is created.
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(m_prompts.asked()[1].title, U("Tunovia エラー"));
        QVERIFY(m_prompts.asked()[1].text.contains(music("root/gone.mp3")));
        QVERIFY(!QFile::exists(music("root/gone.mp3")));
        // The list keeps what it showed.
        QCOMPARE(w.model()->track(0)[TrackField::Title], QStringLiteral("Alpha"));
    }

    // ---- find and totals ----

    // Tag bytes that are not CP932 (Latin-1 from a Western tool) read the same
    // in the track list, the album file and the tag editor, and saving only
    // the year leaves them as they were.
    void westernTagShownAlikeAndKept()
    {
        QByteArray tag = QByteArray("TAGCaf\xE9").leftJustified(33, '\0');
        tag += QByteArray("M\xFCller").leftJustified(30, '\0') + QByteArray(30, '\0') + "1998";
        tag += QByteArray(30, '\0') + char(17);
        const QString path = music("west/cafe.mp3");
        writeFile(path, QByteArray(1000, char(0x55)) + tag);
        TTunoviaF &w = makeWindow();
        drop(w, {path});
        QCOMPARE(w.model()->track(0)[TrackField::Title], U("Café"));
        QCOMPARE(w.model()->track(0)[TrackField::Artist], U("Müller"));

        const QString out = music("west.mdt");
        m_prompts.answer(QMessageBox::No);
        m_prompts.answerText(out);
        w.MakeMdtMnuClick();
        const album::AlbumRead back = album::readAlbumFile(out);
        QCOMPARE(back.tracks.size(), size_t(1));
        QCOMPARE(back.tracks[0][TrackField::Title], U("Café"));

        select(w, {0});
        const int shown = withModals<TTagEditF>([&] { w.TagEditMnuClick(); }, {[&](TTagEditF *d) {
                                                    QCOMPARE(d->Title->text(), U("Café"));
                                                    QCOMPARE(d->Artist->text(), U("Müller"));
                                                    d->Year->setText(QStringLiteral("2001"));
                                                    d->Button1->click();
                                                }});
        QCOMPARE(shown, 1);
        tag.replace(93, 4, "2001");
        QCOMPARE(readFile(path).right(128), tag);
    }

    void findAddsMatchesToTheSelection()
    {
        TTunoviaF &w = makeWindow();
        TrackRecord artist = row(QStringLiteral("other"));
        artist[TrackField::Artist] = QStringLiteral("ABCDE");
        w.model()->append({row(QStringLiteral("Xabcx")), artist,
                           row(QStringLiteral("none"), QStringLiteral("/abc/p.mp3")), row(QStringLiteral("kept"))});
        select(w, {3});
        const int shown = withModals<TFindF>([&] { w.Find1Click(); }, {[](TFindF *d) {
                                                 d->FindTextBox->setEditText(QStringLiteral("abc"));
                                                 d->OkBtn->click();
                                             }});
        QCOMPARE(shown, 1);
        QCOMPARE(TrackModel::selectedRows(w.currentList()->selectionModel()->selection()), (QList<int>{0, 1, 3}));
        QCOMPARE(m_settings->profile().readString(QStringLiteral("Find"), QStringLiteral("History0"), {}),
                 QStringLiteral("abc"));

        // Only the path box: the path row is found too.
        withModals<TFindF>([&] { w.Find1Click(); }, {[](TFindF *d) {
                               d->AllNoBtn->click();
                               d->CheckBox[12]->setChecked(true);
                               QCOMPARE(d->historyEntries(), QStringList{QStringLiteral("abc")});
                               d->FindTextBox->setEditText(QStringLiteral("/ABC/"));
                               d->OkBtn->click();
                           }});
        QCOMPARE(TrackModel::selectedRows(w.currentList()->selectionModel()->selection()), (QList<int>{0, 1, 2, 3}));
    }

    void totalPanel_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("1") << 1 << "1:02:05" << 44;
        QTest::newRow("2") << 2 << U("合計：1:02:05") << 75;
        QTest::newRow("3") << 3 << U("1時間02分05秒") << 90;
        QTest::newRow("4") << 4 << U("合計：1時間02分05秒") << 119;
        QTest::newRow("5") << 5 << "1h02m05s" << 63;
        QTest::newRow("6") << 6 << "Total:1h02m05s" << 90;
        QTest::newRow("7") << 7 << "1h02min05sec" << 83;
        QTest::newRow("8") << 8 << "Total:1h02min05sec" << 111;
        QTest::newRow("9 bytes") << 9 << "3072" << 65;
        QTest::newRow("10 KB") << 10 << "   3.00KB" << 65;
        QTest::newRow("11 MB") << 11 << "   0.00MB" << 50;
        QTest::newRow("0 leaves the panel") << 0 << "0:00:00" << -1;
    }

    void totalPanel()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(int, width);
        TTunoviaF &w = makeWindow();
        w.model()->append({row(QStringLiteral("a"), {}, U("60分00秒"), QStringLiteral("1024")),
                           row(QStringLiteral("b"), {}, U("2分05秒"), QStringLiteral("2048")),
                           row(QStringLiteral("unselected"), {}, U("9分00秒"), QStringLiteral("9"))});
        select(w, {0, 1});
        w.dialogSettings().totalTime = index;
        w.updateTotalDisplay();
        auto *panel = w.findChild<QLabel *>(QStringLiteral("TotalTimePnl"));
        QCOMPARE(panel->text(), text);
        if (width > 0)
            QVERIFY(panel->width() >= width);
    }

    void totalsBeyondTwoGigabytes()
    {
        TTunoviaF &w = makeWindow();
        w.model()->append({row(QStringLiteral("a"), {}, {}, QStringLiteral("1500000000")),
                           row(QStringLiteral("b"), {}, {}, QStringLiteral("1500000000"))});
        w.dialogSettings().totalTime = 9;
        w.AllCheckMnuClick();
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("TotalTimePnl"))->text(), QStringLiteral("3000000000"));
    }

    void totalTimeMessage()
    {
        TTunoviaF &w = makeWindow();
        w.model()->append({row(QStringLiteral("a"), {}, U("3分30秒")), row(QStringLiteral("b"), {}, U("2分45秒")),
                           row(QStringLiteral("c"), {}, U("60分00秒"))});
        select(w, {0, 1});
        w.TotalTimeMnuClick();
        select(w, {0, 1, 2});
        w.TotalTimeMnuClick();
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(m_prompts.asked()[0].text, U("6分 15秒"));
        QCOMPARE(m_prompts.asked()[0].title, QStringLiteral("Tunovia"));
        QCOMPARE(m_prompts.asked()[1].text, U("1時間 06分 15秒"));
    }

    // ---- copy and move ----

    void copyIntoOneFolder()
    {
        TTunoviaF &w = makeWindow();
        m_prompts.answer(QMessageBox::No);
        drop(w, {music("root")});
        select(w, {0, 1});
        m_prompts.clear();
        const QString out = music("out");
        QDir().mkpath(out);
        m_prompts.answerText(out);
        QStringList listed;
        withModals<TCopyF>([&] { w.FileCopyClick(); }, {[&](TCopyF *d) {
                               listed << d->CopyList->topLevelItem(0)->text(0) << d->CopyList->topLevelItem(1)->text(0);
                               d->OkBtn->click();
                           }});
        QCOMPARE(listed, (QStringList{QStringLiteral("Alpha"), QStringLiteral("b.mp3")}));
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(m_prompts.asked()[0].kind, ScriptedPrompts::Kind::Folder);
        QCOMPARE(m_prompts.asked()[1].text, U("4 個のファイルをコピーしました。"));
        QCOMPARE(readFile(out + QStringLiteral("/b.txt")), QByteArray("lyrics b"));
        QVERIFY(QFile::exists(music("root/a.mp3")));
        QCOMPARE(m_settings->profile().value(QStringLiteral("Copy"), QStringLiteral("Auto")), QStringLiteral("1"));
    }

    void moveWithSearchFolderLyricsAndAFailure()
    {
        TTunoviaF &w = makeWindow();
        m_prompts.answer(QMessageBox::No);
        drop(w, {music("root")});
        writeFile(music("lyrics/z.txt"), "found z");
        w.dialogSettings().findFolder = music("lyrics/");
        select(w, {0, 2}); // a (lyrics beside), z (lyrics in the search folder)
        const QString out = music("out");
        QDir().mkpath(out);
        QDir().mkpath(out + QStringLiteral("/a.mp3")); // blocks the copy of a.mp3
        m_prompts.clear();
        m_prompts.answerText(out);
        withModals<TCopyF>([&] { w.FileCopyClick(); }, {[&](TCopyF *d) {
                               d->MoveChk->setChecked(true);
                               d->OkBtn->click();
                           }});
        QCOMPARE(m_prompts.asked().last().text, U("3 個のファイルを移動しました。"));
        QCOMPARE(readFile(music("root/a.mp3")).size(), 1128); // its copy failed: kept
        QVERIFY(!QFile::exists(music("root/a.txt")));
        QVERIFY(!QFile::exists(music("root/z.mp3")));
        QVERIFY(!QFile::exists(music("lyrics/z.txt")));
        QCOMPARE(readFile(out + QStringLiteral("/z.txt")), QByteArray("found z"));
        QCOMPARE(m_settings->profile().value(QStringLiteral("Copy"), QStringLiteral("Move")), QStringLiteral("1"));
    }

    void copyOptionsSavedOnlyAfterOk()
    {
        TTunoviaF &w = makeWindow();
        w.model()->append(row(QStringLiteral("a"), music("root/a.mp3")));
        select(w, {0});
        withModals<TCopyF>([&] { w.FileCopyClick(); }, {[](TCopyF *d) {
                               d->MoveChk->setChecked(true);
                               d->CancelBtn->click();
                           }});
        QVERIFY(!m_settings->profile().value(QStringLiteral("Copy"), QStringLiteral("Move")));
        // OK with the folder choice cancelled: saved, nothing copied, no message.
        m_prompts.answerCancel();
        withModals<TCopyF>([&] { w.FileCopyClick(); }, {[](TCopyF *d) {
                               d->CopyMP3Chk->setChecked(false);
                               d->OkBtn->click();
                           }});
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_settings->profile().value(QStringLiteral("Copy"), QStringLiteral("MP3")), QStringLiteral("0"));
        // No selection: no dialog at all.
        w.currentList()->selectionModel()->clearSelection();
        QCOMPARE(withModals<TCopyF>([&] { w.FileCopyClick(); }, {}), 0);
    }

    void copyOneTargetPerTrack()
    {
        TTunoviaF &w = makeWindow();
        m_prompts.answer(QMessageBox::No);
        drop(w, {music("root")});
        select(w, {0, 1});
        m_prompts.clear();
        m_prompts.answerCancel();                   // a is skipped
        m_prompts.answerText(music("out/bee.mp3")); // b
        QDir().mkpath(music("out"));
        withModals<TCopyF>([&] { w.FileCopyClick(); }, {[](TCopyF *d) {
                               d->ManualCopy->setChecked(true);
                               d->OkBtn->click();
                           }});
        QCOMPARE(m_prompts.asked().size(), 2); // two save dialogs, no summary
        QCOMPARE(m_prompts.asked()[0].title, U("Alpha のコピー"));
        QVERIFY(!m_prompts.asked()[0].confirmOverwrite); // the copy replaces without asking
        QCOMPARE(m_prompts.asked()[0].initial, music("root/a.mp3"));
        QCOMPARE(readFile(music("out/bee.mp3")).size(), 1600);
        QCOMPARE(readFile(music("out/bee.txt")), QByteArray("lyrics b"));
        QCOMPARE(QDir(music("out")).entryList(QDir::Files).size(), 2);
    }

    // Neither dialog opens in the working folder: first beside the tracks,
    // then where the last copy went.
    void copyDialogsStartWhereItMakesSense()
    {
        TTunoviaF &w = makeWindow();
        drop(w, {music("root/a.mp3"), music("other/d.mp3")});
        select(w, {1, 0});
        const QString out = music("out");
        QDir().mkpath(out);
        m_prompts.clear();
        m_prompts.answerText(out);
        withModals<TCopyF>([&] { w.FileCopyClick(); }, {[](TCopyF *d) { d->OkBtn->click(); }});
        QCOMPARE(m_prompts.asked()[0].kind, ScriptedPrompts::Kind::Folder);
        QCOMPARE(m_prompts.asked()[0].initial, music("root"));

        m_prompts.clear();
        m_prompts.answerText(music("out/one.mp3"));
        m_prompts.answerCancel();
        withModals<TCopyF>([&] { w.FileCopyClick(); }, {[](TCopyF *d) {
                               d->ManualCopy->setChecked(true);
                               d->OkBtn->click();
                           }});
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(m_prompts.asked()[0].initial, out + QStringLiteral("/a.mp3"));
        QCOMPARE(m_prompts.asked()[1].initial, out + QStringLiteral("/d.mp3"));
    }

    // ---- outside tools ----

    void toolHandOver_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("J2") << "J2" << U("J2のパスを設定してください。");
        QTest::newRow("m2h") << "m2h" << U("m2hのパスを設定してください。");
    }

    void toolHandOver()
    {
        QFETCH(QString, key);
        QFETCH(QString, message);
        TTunoviaF &w = makeWindow();
        w.setCurrentIndexPath(music("index.ini"));
        w.model()->append({row(QStringLiteral("a"), QStringLiteral("a.mp3")),
                           row(QStringLiteral("x"), QStringLiteral("/x.mp3")), row(QStringLiteral("b"), U("ﾃｽ.mp3"))});
        select(w, {0, 2});
        auto run = [&] { key == QLatin1String("J2") ? w.RunJ2Click() : w.Runm2hClick(); };

        run(); // no path set
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked()[0].title, U("Tunovia エラー"));
        QCOMPARE(m_prompts.asked()[0].text, message);
        QVERIFY(m_launcher.requests().isEmpty());

        const QString tool = m_dir.filePath(QStringLiteral("tools/") + key + QStringLiteral("/tool"));
        QDir().mkpath(QFileInfo(tool).path());
        QVERIFY(m_settings->profile().writeString(QStringLiteral("Setting"), key, tool).ok());
        run();
        const QString playlist = QFileInfo(tool).path() + QStringLiteral("/~Tunov~.m3u");
        // UTF-8, as the tool's system names files: in CP932 "ﾃｽ" would pass for "ý".
        QCOMPARE(readFile(playlist),
                 (music("a.mp3") + QStringLiteral("\r\n") + music("ﾃｽ.mp3") + QStringLiteral("\r\n")).toUtf8());
        QCOMPARE(m_launcher.requests().size(), 1);
        QCOMPARE(m_launcher.requests()[0].target, tool);
        QCOMPARE(m_launcher.requests()[0].arguments, QStringList{playlist});
        QCOMPARE(m_launcher.requests()[0].showWindow, int(Launcher::Normal));

        // A tool that does not start takes its playlist with it.
        m_launcher.succeed = false;
        run();
        QVERIFY(!QFile::exists(playlist));
        QCOMPARE(m_prompts.asked().size(), 1);
    }

    void explorerOpensTheStartFolder()
    {
        TTunoviaF &w = makeWindow();
        w.dialogSettings().explorerPath = music();
        w.RunExploreMnuClick();
        QCOMPARE(m_launcher.requests().size(), 1);
        QCOMPARE(m_launcher.requests()[0].kind, FakeLauncher::Kind::Folder);
        QCOMPARE(m_launcher.requests()[0].target, music());

        // No start folder set: the file manager opens all the same.
        w.dialogSettings().explorerPath.clear();
        w.RunExploreMnuClick();
        QCOMPARE(m_launcher.requests().size(), 2);
        QCOMPARE(m_launcher.requests()[1].kind, FakeLauncher::Kind::Folder);
        QCOMPARE(m_launcher.requests()[1].target, QDir::homePath());
    }
};

QTEST_MAIN(TestDrops)
#include "test_drops.moc"
