#include "platform/profile.h"
#include "support/testfiles.h"
#include "tracks/filecopy.h"
#include "tracks/genres.h"
#include "tracks/ui/copyform.h"
#include "tracks/ui/findform.h"
#include "tracks/ui/tageditform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

TrackRecord track(const QString &path, const QString &title = QStringLiteral("t"))
{
    TrackRecord r;
    r[TrackField::Path] = path;
    r[TrackField::Title] = title;
    return r;
}

std::vector<bool> flags(const QByteArray &pattern)
{
    std::vector<bool> out;
    for (char c : pattern)
        out.push_back(c == '1');
    return out;
}

QByteArray pattern(const std::vector<bool> &flags)
{
    QByteArray out;
    for (bool f : flags)
        out += f ? '1' : '0';
    return out;
}

QString joined(const std::vector<int> &order)
{
    QStringList parts;
    for (int i : order)
        parts << QString::number(i + 1);
    return parts.join(QLatin1Char(','));
}

} // namespace

class TestTrackForms : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    // ---- block moves of the copy list ----

    void blockMoves_data()
    {
        QTest::addColumn<QByteArray>("selected");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QByteArray>("selectedAfter");
        QTest::newRow("2,3 of 4 up") << QByteArray("0110") << true << "2,3,1,4" << QByteArray("1100");
        QTest::newRow("block at the top stays") << QByteArray("1100") << true << "1,2,3,4" << QByteArray("1100");
        QTest::newRow("two blocks up") << QByteArray("0101") << true << "2,1,4,3" << QByteArray("1010");
        QTest::newRow("2,3 of 4 down") << QByteArray("0110") << false << "1,4,2,3" << QByteArray("0011");
        QTest::newRow("block at the bottom stays") << QByteArray("0011") << false << "1,2,3,4" << QByteArray("0011");
        QTest::newRow("nothing selected") << QByteArray("0000") << true << "1,2,3,4" << QByteArray("0000");
        QTest::newRow("empty list") << QByteArray() << false << "" << QByteArray();
    }

    void blockMoves()
    {
        QFETCH(QByteArray, selected);
        QFETCH(bool, up);
        QFETCH(QString, order);
        QFETCH(QByteArray, selectedAfter);
        std::vector<bool> sel = flags(selected);
        const std::vector<int> result = up ? filecopy::moveSelectedUp(sel) : filecopy::moveSelectedDown(sel);
        QCOMPARE(joined(result), order);
        QCOMPARE(pattern(sel), selectedAfter);
    }

    void copyListUpButtonMovesRowsWithTheirSelection()
    {
        TCopyF dialog(CopyOptions{});
        dialog.setTracks({track(QStringLiteral("/a/1.mp3"), QStringLiteral("one")),
                          track(QStringLiteral("/a/2.mp3"), QStringLiteral("two")),
                          track(QStringLiteral("/a/3.mp3"), QStringLiteral("three")),
                          track(QStringLiteral("/a/4.mp3"), QStringLiteral("four"))});
        QCOMPARE(dialog.CopyList->topLevelItem(2)->text(6), QStringLiteral("/a/3.mp3"));
        dialog.CopyList->topLevelItem(1)->setSelected(true);
        dialog.CopyList->topLevelItem(2)->setSelected(true);
        QTest::mouseClick(dialog.UpBtn, Qt::LeftButton);
        QCOMPARE(dialog.order(), (std::vector<int>{1, 2, 0, 3}));
        QCOMPARE(dialog.CopyList->topLevelItem(0)->text(0), QStringLiteral("two"));
        QVERIFY(dialog.CopyList->topLevelItem(0)->isSelected());
        QVERIFY(dialog.CopyList->topLevelItem(1)->isSelected());
        QVERIFY(!dialog.CopyList->topLevelItem(2)->isSelected());
        QTest::mouseClick(dialog.UpBtn, Qt::LeftButton);
        QCOMPARE(dialog.order(), (std::vector<int>{1, 2, 0, 3}));
        QTest::mouseClick(dialog.DownBtn, Qt::LeftButton);
        QTest::mouseClick(dialog.DownBtn, Qt::LeftButton);
        QCOMPARE(dialog.order(), (std::vector<int>{0, 3, 1, 2}));
    }

    void copyDialogShowsAndReturnsItsOptions()
    {
        CopyOptions in;
        in.mode.checked = 1;
        in.move = true;
        in.mp3 = false;
        in.lyrics2 = false;
        TCopyF dialog(in);
        QCOMPARE(dialog.windowTitle(), U("選択ファイルのコピー"));
        QVERIFY(dialog.ManualCopy->isChecked());
        QVERIFY(!dialog.AutoCopy->isChecked());
        QVERIFY(dialog.MoveChk->isChecked());
        QVERIFY(!dialog.CopyMP3Chk->isChecked());
        QVERIFY(dialog.CopySameLyricsChk->isChecked());
        dialog.AutoCopy->setChecked(true);
        dialog.CopyFindLyricsChk->setChecked(true);
        const CopyOptions out = dialog.options();
        QCOMPARE(out.mode.checked, 0);
        QVERIFY(out.move && !out.mp3 && out.lyrics1 && out.lyrics2);
        QStringList headers;
        for (int c = 0; c < dialog.CopyList->columnCount(); ++c)
            headers << dialog.CopyList->headerItem()->text(c);
        QCOMPARE(headers, (QStringList{U("曲名"), U("アーティスト"), U("アルバム"), U("コメント"), U("サイズ"),
                                       U("時間"), U("ファイルパス")}));
    }

    // ---- copying files ----

    void filesOfATrackFollowThePathRule()
    {
        const filecopy::TrackFiles rel = filecopy::filesOf(
            track(QStringLiteral("sub/a.mp3")), QStringLiteral("/music/index.ini"), QStringLiteral("/lyrics"));
        QCOMPARE(rel.mp3, QStringLiteral("/music/sub/a.mp3"));
        QCOMPARE(rel.lyricsBeside, QStringLiteral("/music/sub/a.txt"));
        QCOMPARE(rel.lyricsInFindFolder, QStringLiteral("/lyrics/a.txt"));
        const filecopy::TrackFiles abs =
            filecopy::filesOf(track(QStringLiteral("/x/b.MP3")), QStringLiteral("/music/index.ini"), QString());
        QCOMPARE(abs.mp3, QStringLiteral("/x/b.MP3"));
        QCOMPARE(abs.lyricsBeside, QStringLiteral("/x/b.txt"));
        QVERIFY(abs.lyricsInFindFolder.isEmpty()); // no search folder set
    }

    void copyIntoFolderCountsOnlyFilesThatWereCopied()
    {
        writeFile(path("src/a.mp3"), "AAAA");
        writeFile(path("src/a.txt"), "lyrics a");
        writeFile(path("src/b.mp3"), "BBBBBB");
        writeFile(path("src/b.txt"), "lyrics b");
        QDir().mkpath(path("find"));
        QDir().mkpath(path("out"));
        filecopy::CopyRun run({true, true, true}, false);
        for (const char *name : {"src/a.mp3", "src/b.mp3"})
            run.intoFolder(filecopy::filesOf(track(path(name)), path("index.ini"), path("find")), path("out/"));
        QCOMPARE(run.count(), 4); // the two search-folder lyrics do not exist
        QCOMPARE(readFile(path("out/a.mp3")), QByteArray("AAAA"));
        QCOMPARE(readFile(path("out/b.txt")), QByteArray("lyrics b"));
        QVERIFY(QFile::exists(path("src/a.mp3")));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden).size(), 4);
    }

    void moveDeletesOnlySourcesThatWereCopied()
    {
        writeFile(path("src/a.mp3"), "AAAA");
        writeFile(path("src/a.txt"), "lyrics a");
        writeFile(path("find/a.txt"), "found lyrics");
        QDir().mkpath(path("out/a.txt")); // a folder in the way of the lyrics
        filecopy::CopyRun run({true, true, true}, true);
        run.intoFolder(filecopy::filesOf(track(path("src/a.mp3")), QString(), path("find")), path("out"));
        QCOMPARE(run.count(), 1);
        QVERIFY(!QFile::exists(path("src/a.mp3")));
        QCOMPARE(readFile(path("out/a.mp3")), QByteArray("AAAA"));
        QCOMPARE(readFile(path("src/a.txt")), QByteArray("lyrics a"));
        QCOMPARE(readFile(path("find/a.txt")), QByteArray("found lyrics"));
        QVERIFY(QFileInfo(path("out/a.txt")).isDir());
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden).size(), 1); // no leftovers
    }

    void failedCopyKeepsSourceAndExistingTarget()
    {
        writeFile(path("src/a.mp3"), "new");
        QVERIFY(!filecopy::transferFile(path("src/a.mp3"), path("missing/a.mp3"), true).ok());
        QCOMPARE(readFile(path("src/a.mp3")), QByteArray("new"));
        QVERIFY(!filecopy::transferFile(path("src/none.mp3"), path("src/copy.mp3"), false).ok());
        QVERIFY(!QFile::exists(path("src/copy.mp3")));
        // Moving a file onto itself must not delete it.
        QVERIFY(!filecopy::transferFile(path("src/a.mp3"), path("src/../src/a.mp3"), true).ok());
        QCOMPARE(readFile(path("src/a.mp3")), QByteArray("new"));
    }

    void copyReplacesAnExistingTarget()
    {
        writeFile(path("src/a.mp3"), "fresh bytes");
        writeFile(path("out/a.mp3"), "old");
        QVERIFY(filecopy::transferFile(path("src/a.mp3"), path("out/a.mp3"), false).ok());
        QCOMPARE(readFile(path("out/a.mp3")), QByteArray("fresh bytes"));
        QCOMPARE(QFileInfo(path("out/a.mp3")).lastModified(), QFileInfo(path("src/a.mp3")).lastModified());
    }

    void movingTwoTracksOfTheSameNameKeepsTheSecond()
    {
        writeFile(path("one/song.mp3"), "first");
        writeFile(path("two/song.mp3"), "second");
        QDir().mkpath(path("out"));
        filecopy::CopyRun run({true, false, false}, true);
        run.intoFolder(filecopy::filesOf(track(path("one/song.mp3")), QString(), QString()), path("out"));
        run.intoFolder(filecopy::filesOf(track(path("two/song.mp3")), QString(), QString()), path("out"));
        QCOMPARE(run.count(), 1);
        QCOMPARE(readFile(path("out/song.mp3")), QByteArray("first"));
        QCOMPARE(readFile(path("two/song.mp3")), QByteArray("second"));
    }

    void copyToTargetNamesLyricsAfterTheTarget()
    {
        writeFile(path("src/a.mp3"), "mp3");
        writeFile(path("src/a.txt"), "beside");
        writeFile(path("find/a.txt"), "found");
        filecopy::CopyRun run({true, true, true}, false);
        run.toTarget(filecopy::filesOf(track(path("src/a.mp3")), QString(), path("find")), path("out/new.mp3"));
        QCOMPARE(run.count(), 0); // no such folder yet
        QDir().mkpath(path("out"));
        filecopy::CopyRun again({true, true, true}, false);
        again.toTarget(filecopy::filesOf(track(path("src/a.mp3")), QString(), path("find")), path("out/new.mp3"));
        QCOMPARE(again.count(), 3);
        QCOMPARE(readFile(path("out/new.mp3")), QByteArray("mp3"));
        QCOMPARE(readFile(path("out/new.txt")), QByteArray("found")); // the search-folder copy comes last
    }

    // ---- tag editor ----

    void tagEditorShowsTheTagAndAllGenres()
    {
        const GenreTable genres = GenreTable::fromBytes("[Genre]\r\n0=Blues\r\n17=Rock\r\n");
        id3v1::TagFields tag;
        tag.title = U("曲名テスト");
        tag.artist = QStringLiteral("Artist");
        tag.year = QStringLiteral("1998");
        tag.genre = 17;
        TTagEditF dialog(QStringLiteral("/music/a b.mp3"), tag, genres);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("a b.mp3"));
        QCOMPARE(dialog.FileName->text(), QStringLiteral("/music/a b.mp3"));
        QVERIFY(dialog.FileName->isReadOnly());
        QCOMPARE(dialog.Title->text(), U("曲名テスト"));
        QCOMPARE(dialog.GenreList->count(), 256);
        QCOMPARE(dialog.GenreList->currentIndex(), 17);
        QCOMPARE(dialog.GenreList->currentText(), QStringLiteral("Rock"));
        QCOMPARE(dialog.GenreList->itemText(1), QString());
        QVERIFY(!dialog.GenreList->isEditable());
        QCOMPARE(dialog.Button1->text(), U("設定(&E)"));
        QCOMPARE(dialog.Button2->text(), U("ｷｬﾝｾﾙ(ESC)"));

        id3v1::TagFields untagged;
        untagged.title = QStringLiteral("file name that is thirty-one b");
        TTagEditF plain(QStringLiteral("/x.mp3"), untagged, GenreTable());
        QCOMPARE(plain.GenreList->currentIndex(), 255);
        plain.GenreList->setCurrentIndex(0);
        QCOMPARE(plain.fields().genre, 0);
        QCOMPARE(plain.fields().title, untagged.title);
    }

    void tagEditorLimitsFieldsInBytes_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("ascii title") << "Title" << QString(35, QLatin1Char('x')) << QString(30, QLatin1Char('x'));
        QTest::newRow("double-byte title") << "Title" << QString(16, QChar(0x3042)) << QString(15, QChar(0x3042));
        QTest::newRow("year") << "Year"
                              << "19989"
                              << "1998";
        QTest::newRow("fits") << "Comment"
                              << "short"
                              << "short";
    }

    void tagEditorLimitsFieldsInBytes()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        TTagEditF dialog(QStringLiteral("/x.mp3"), id3v1::TagFields{}, GenreTable());
        auto *edit = dialog.findChild<QLineEdit *>(field);
        QVERIFY(edit);
        edit->clear();
        // Typed through an input method, as Japanese text is.
        QInputMethodEvent input;
        input.setCommitString(typed);
        QApplication::sendEvent(edit, &input);
        QCOMPARE(edit->text(), kept);
    }

    // A full field refuses what does not fit; the text already there is never cut.
    void tagEditorKeepsTextWhenFull_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("cursorAfter");
        const QString full = QStringLiteral("a") + QString(29, QLatin1Char('b'));
        QTest::newRow("typed at the start of a full field") << full << 0 << "Z" << full << 0;
        QTest::newRow("typed in the middle of a full field") << full << 5 << "Z" << full << 5;
        QTest::newRow("long text into the middle")
            << "ab" << 1 << QString(40, QLatin1Char('x'))
            << QStringLiteral("a") + QString(28, QLatin1Char('x')) + QStringLiteral("b") << 29;
        QTest::newRow("double-byte into one free byte")
            << QString(29, QLatin1Char('c')) << 3 << U("あ") << QString(29, QLatin1Char('c')) << 3;
        QTest::newRow("double-byte into two free bytes")
            << QString(28, QLatin1Char('c')) << 0 << U("ああ") << U("あ") + QString(28, QLatin1Char('c')) << 1;
    }

    void tagEditorKeepsTextWhenFull()
    {
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(int, cursorAfter);
        TTagEditF dialog(QStringLiteral("/x.mp3"), id3v1::TagFields{}, GenreTable());
        dialog.Title->setText(before);
        dialog.Title->setCursorPosition(cursor);
        QInputMethodEvent input;
        input.setCommitString(typed);
        QApplication::sendEvent(dialog.Title, &input);
        QCOMPARE(dialog.Title->text(), kept);
        QCOMPARE(dialog.Title->cursorPosition(), cursorAfter);
    }

    // ---- find dialog ----

    void findDialogKeepsItsHistory()
    {
        ProfileFile settings(path("Tunov.ini"));
        QVERIFY(settings.writeString(QStringLiteral("Find"), QStringLiteral("History0"), QStringLiteral("abc")).ok());
        QVERIFY(settings.writeString(QStringLiteral("Find"), QStringLiteral("History1"), QStringLiteral("def")).ok());
        {
            TFindF dialog(settings, false);
            QCOMPARE(dialog.windowTitle(), U("検索"));
            QCOMPARE(dialog.historyEntries(), (QStringList{QStringLiteral("abc"), QStringLiteral("def")}));
            QCOMPARE(dialog.FindTextBox->maxVisibleItems(), 10);
            dialog.FindTextBox->setEditText(QStringLiteral("ABC"));
            dialog.OkBtnClick();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(dialog.saveResult().ok());
            QCOMPARE(dialog.findText(), QStringLiteral("ABC"));
        }
        QCOMPARE(settings.readString(QStringLiteral("Find"), QStringLiteral("History0"), {}), QStringLiteral("def"));
        QCOMPARE(settings.readString(QStringLiteral("Find"), QStringLiteral("History1"), {}), QStringLiteral("ABC"));
        {
            TFindF dialog(settings, false);
            dialog.FindTextBox->setEditText(QStringLiteral("never saved"));
            dialog.CancelBtn->click();
        }
        QCOMPARE(settings.readString(QStringLiteral("Find"), QStringLiteral("History2"), {}), QString());
    }

    void findDialogBoxes()
    {
        ProfileFile settings(path("Tunov.ini"));
        TFindF dialog(settings, false);
        QStringList captions;
        for (QCheckBox *box : dialog.CheckBox)
            captions << box->text();
        QCOMPARE(captions, (QStringList{U("曲名"), U("アーティスト"), U("アルバム"), U("コメント"), U("サイズ"),
                                        U("時間"), U("ジャンル"), U("日付"), U("著作権"), U("エンジニア"), U("ソース"),
                                        U("ソフト"), U("ファイルパス")}));
        findtotals::FindBoxes expected = findtotals::defaultFindBoxes();
        QCOMPARE(dialog.boxes(), expected);
        dialog.InvBtn->click();
        for (bool &b : expected)
            b = !b;
        QCOMPARE(dialog.boxes(), expected);
        dialog.AllYesBtn->click();
        expected.fill(true);
        QCOMPARE(dialog.boxes(), expected);
        dialog.AllNoBtn->click();
        expected.fill(false);
        QCOMPARE(dialog.boxes(), expected);

        TFindF legacy(settings, true);
        QCOMPARE(legacy.CheckBox[2]->text(), U("コメント"));
        QCOMPARE(legacy.CheckBox[3]->text(), U("ファイルパス"));
        QVERIFY(legacy.CheckBox[3]->isEnabled() && legacy.CheckBox[3]->isChecked());
        for (int i = 4; i < 13; ++i)
            QVERIFY(!legacy.CheckBox[size_t(i)]->isEnabled() && !legacy.CheckBox[size_t(i)]->isChecked());
        legacy.AllYesBtn->click();
        QVERIFY(!legacy.boxes()[4]);
    }
};

QTEST_MAIN(TestTrackForms)
#include "test_trackforms.moc"
