#include "library/albumfile.h"
#include "tracks/albumwriter.h"
#include "tracks/genres.h"
#include "tracks/trackfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace trackfiles;

namespace {

// A few bytes of fake frame data and, when a title is given, an ID3v1 tag.
void makeMp3(const QString &path, const QString &title = QString(), int genre = 17, int audioBytes = 600)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write fixture");
    QByteArray audio(audioBytes, '\x55');
    audio[0] = char(0xFF);
    f.write(audio);
    f.close();
    if (!title.isEmpty()) {
        id3v1::TagFields tag;
        tag.title = title;
        tag.artist = QStringLiteral("Artist");
        tag.year = QStringLiteral("2001");
        tag.genre = genre;
        if (!id3v1::WriteTag(path, tag).ok())
            qFatal("cannot tag fixture");
    }
}

QStringList titles(const std::vector<TrackRecord> &rows)
{
    QStringList out;
    for (const TrackRecord &r : rows)
        out << r[TrackField::Title];
    return out;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write fixture");
    f.write(bytes);
}

} // namespace

class TestTrackFiles : public QObject {
    Q_OBJECT

private slots:
    void nameRule_data();
    void nameRule();
    void playTime_data();
    void playTime();
    void genreTable();
    void shippedGenreFile();
    void trackRecordFields();
    void wildcard_data();
    void wildcard();
    void playlistLines_data();
    void playlistLines();
    void playlistResolution();
    void folderScan_data();
    void folderScan();
    void folderScanSurvivesLoopsAndBrokenLinks();
    void albumFileWrittenAndReadBack();

private:
    QTemporaryDir m_dir;
};

void TestTrackFiles::nameRule_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("qualifies");
    QTest::newRow("upper") << QStringLiteral("/a/song.MP3") << true;
    QTest::newRow("mixed") << QStringLiteral("/a/song.mP3") << true;
    QTest::newRow("no dot") << QStringLiteral("songmp3") << true;
    QTest::newRow("mp4") << QStringLiteral("song.mp4") << false;
    QTest::newRow("rmp") << QStringLiteral("song.rmp") << false;
    QTest::newRow("mp3 then slash") << QStringLiteral("dir.mp3/") << false;
    QTest::newRow("too short") << QStringLiteral("p3") << false;
}

void TestTrackFiles::nameRule()
{
    QFETCH(QString, path);
    QFETCH(bool, qualifies);
    QCOMPARE(qualifiesAsTrack(path), qualifies);
}

void TestTrackFiles::playTime_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << QStringLiteral("0分00秒");
    QTest::newRow("7999") << qint64(7999) << QStringLiteral("0分00秒");
    QTest::newRow("8000 rounds up") << qint64(8000) << QStringLiteral("0分01秒");
    QTest::newRow("16000") << qint64(16000) << QStringLiteral("0分01秒");
    QTest::newRow("23999") << qint64(23999) << QStringLiteral("0分01秒");
    QTest::newRow("59.5 s") << qint64(952000) << QStringLiteral("1分00秒");
    QTest::newRow("one hour, no hour part") << qint64(57600000) << QStringLiteral("60分00秒");
    QTest::newRow("past 2 GB") << qint64(3200000000LL) << QStringLiteral("3333分20秒");
}

void TestTrackFiles::playTime()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(album::playTimeText(estimatedSeconds(bytes)), text);
}

void TestTrackFiles::genreTable()
{
    const QByteArray ini = "; genres\r\n[Other]\r\n1=Wrong\r\n[genre]\r\n 0 = Blues \r\n07=Padded\r\n"
                           "7=Funk\r\n12=\r\n255=\"None\"\r\n256=Beyond\r\n1=First\r\n1=Second\r\n";
    const GenreTable table = GenreTable::fromBytes(ini);
    QCOMPARE(table.name(0), QStringLiteral("Blues"));
    QCOMPARE(table.name(1), QStringLiteral("First"));
    QCOMPARE(table.name(7), QStringLiteral("Funk")); // "07" is another key
    QCOMPARE(table.name(12), QString());             // present but empty
    QCOMPARE(table.entry(12), QString());
    QCOMPARE(table.name(255), QStringLiteral("None"));
    QCOMPARE(table.name(2), QStringLiteral(" "));
    QCOMPARE(table.entry(2), QString());
    QCOMPARE(table.name(256), QStringLiteral(" "));
    QCOMPARE(table.name(-1), QStringLiteral(" "));
    QCOMPARE(GenreTable::load(m_dir.filePath(QStringLiteral("none.gnr"))).name(0), QStringLiteral(" "));

    // CP932 names from a Windows-made file.
    QCOMPARE(GenreTable::fromBytes("[Genre]\r\n146=\x83\x41\x83\x6A\x83\x81\r\n").name(146), QStringLiteral("アニメ"));
}

void TestTrackFiles::shippedGenreFile()
{
    const QString path = QStringLiteral(TUNOVIA_SOURCE_DIR "/data/tunovia.gnr");
    QVERIFY(QFileInfo::exists(path));
    const GenreTable table = GenreTable::load(path);
    QCOMPARE(table.name(0), QStringLiteral("Blues"));
    QCOMPARE(table.name(17), QStringLiteral("Rock"));
    QCOMPARE(table.name(79), QStringLiteral("Hard Rock"));
    QCOMPARE(table.name(146), QStringLiteral("JPop"));
    QCOMPARE(table.name(191), QStringLiteral("Psybient"));
    QCOMPARE(table.name(192), QStringLiteral(" "));
    for (int i = 0; i < 192; ++i)
        QVERIFY2(!table.entry(i).trimmed().isEmpty(), qPrintable(QString::number(i)));
}

void TestTrackFiles::trackRecordFields()
{
    const GenreTable genres = GenreTable::fromBytes("[Genre]\r\n17=Rock\r\n");
    const QString tagged = m_dir.filePath(QStringLiteral("rec/tagged.mp3"));
    makeMp3(tagged, QStringLiteral("曲"), 17, 16000 - 128);
    const std::optional<TrackRecord> row = AddTrackFile(tagged, genres);
    QVERIFY(row);
    QCOMPARE((*row)[TrackField::Title], QStringLiteral("曲"));
    QCOMPARE((*row)[TrackField::Artist], QStringLiteral("Artist"));
    QCOMPARE((*row)[TrackField::Date], QStringLiteral("2001"));
    QCOMPARE((*row)[TrackField::Genre], QStringLiteral("Rock"));
    QCOMPARE((*row)[TrackField::Size], QStringLiteral("16000"));
    QCOMPARE((*row)[TrackField::Time], QStringLiteral("0分01秒"));
    QCOMPARE((*row)[TrackField::Path], tagged);
    QVERIFY((*row)[TrackField::Copyright].isEmpty() && (*row)[TrackField::Soft].isEmpty());

    const QString plain = m_dir.filePath(QStringLiteral("rec/plain.Mp3"));
    makeMp3(plain);
    const std::optional<TrackRecord> untagged = AddTrackFile(plain, genres);
    QVERIFY(untagged);
    QCOMPARE((*untagged)[TrackField::Title], QStringLiteral("plain.Mp3"));
    QCOMPARE((*untagged)[TrackField::Genre], QStringLiteral(" "));
    QVERIFY((*untagged)[TrackField::Date].isEmpty());

    QVERIFY(!AddTrackFile(m_dir.filePath(QStringLiteral("rec/missing.mp3")), genres));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("rec/folder.mp3"))));
    QVERIFY(!AddTrackFile(m_dir.filePath(QStringLiteral("rec/folder.mp3")), genres));
    makeMp3(m_dir.filePath(QStringLiteral("rec/song.mp4")));
    QVERIFY(!AddTrackFile(m_dir.filePath(QStringLiteral("rec/song.mp4")), genres));
}

void TestTrackFiles::wildcard_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("*.* plain") << QStringLiteral("*.*") << QStringLiteral("a.mp3") << true;
    QTest::newRow("*.* no dot") << QStringLiteral("*.*") << QStringLiteral("Music") << true;
    QTest::newRow("*.* dot file") << QStringLiteral("*.*") << QStringLiteral(".hidden") << true;
    QTest::newRow("*.mp3 case") << QStringLiteral("*.mp3") << QStringLiteral("SONG.MP3") << true;
    QTest::newRow("*.mp3 no dot") << QStringLiteral("*.mp3") << QStringLiteral("songmp3") << false;
    QTest::newRow("*.mp3 longer ext") << QStringLiteral("*.mp3") << QStringLiteral("a.mp3x") << false;
    QTest::newRow("*.mp3 two dots") << QStringLiteral("*.mp3") << QStringLiteral("a.b.mp3") << true;
    QTest::newRow("*.mp3 folder") << QStringLiteral("*.mp3") << QStringLiteral("Live") << false;
    QTest::newRow("? one") << QStringLiteral("a?c.mp3") << QStringLiteral("abc.mp3") << true;
    QTest::newRow("? not zero") << QStringLiteral("a?c.mp3") << QStringLiteral("ac.mp3") << false;
    QTest::newRow("? not two") << QStringLiteral("a?c.mp3") << QStringLiteral("abbc.mp3") << false;
    QTest::newRow("? double-byte") << QStringLiteral("?.mp3") << QStringLiteral("曲.mp3") << true;
    QTest::newRow("backtracking") << QStringLiteral("*ab*ab") << QStringLiteral("xabyabzab") << true;
    QTest::newRow("trailing dot") << QStringLiteral("*.") << QStringLiteral("README") << true;
    QTest::newRow("trailing dot, has ext") << QStringLiteral("*.") << QStringLiteral("a.txt") << false;
    QTest::newRow("name.*") << QStringLiteral("song.*") << QStringLiteral("song") << true;
    QTest::newRow("exact, other case") << QStringLiteral("Song.Mp3") << QStringLiteral("sONG.mP3") << true;
    QTest::newRow("non-ASCII case") << QStringLiteral("ÄB*") << QStringLiteral("äbc") << true;
}

void TestTrackFiles::wildcard()
{
    QFETCH(QString, mask);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(wildcardMatch(mask, name), matches);
}

void TestTrackFiles::playlistLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    const QStringList ab{QStringLiteral("a.mp3"), QStringLiteral("b.mp3")};
    QTest::newRow("CR LF") << QByteArray("a.mp3\r\nb.mp3\r\n") << ab;
    QTest::newRow("LF, no final end") << QByteArray("a.mp3\nb.mp3") << ab;
    QTest::newRow("CR only") << QByteArray("a.mp3\rb.mp3\r") << ab;
    QTest::newRow("blank lines") << QByteArray("\r\n\r\na.mp3\r\n\r\nb.mp3") << ab;
    QTest::newRow("backslash") << QByteArray("sub\\c.mp3") << QStringList{QStringLiteral("sub/c.mp3")};
    QTest::newRow("CP932 with 0x5C trail byte") << QByteArray("\x95\x5C.mp3") << QStringList{QStringLiteral("表.mp3")};
    QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBF#EXTM3U\nx.mp3")
                               << QStringList{QStringLiteral("#EXTM3U"), QStringLiteral("x.mp3")};
    QTest::newRow("spaces kept") << QByteArray(" a.mp3 ") << QStringList{QStringLiteral(" a.mp3 ")};
}

void TestTrackFiles::playlistLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    QCOMPARE(trackfiles::playlistLines(content), lines);
}

void TestTrackFiles::playlistResolution()
{
    const QString root = m_dir.filePath(QStringLiteral("pl"));
    makeMp3(root + QStringLiteral("/lists/near.mp3"), QStringLiteral("near"));
    makeMp3(root + QStringLiteral("/lists/sub/deep.mp3"), QStringLiteral("deep"));
    makeMp3(root + QStringLiteral("/cwd/far.mp3"), QStringLiteral("far"));
    makeMp3(root + QStringLiteral("/cwd/near.mp3"), QStringLiteral("shadowed"));
    makeMp3(root + QStringLiteral("/abs/abs.mp3"), QStringLiteral("absolute"));
    const QString playlist = root + QStringLiteral("/lists/list.m3u");
    writeBytes(playlist, QByteArray("#EXTM3U\r\n#EXTINF:1,x\r\nnear.mp3\r\nsub\\deep.mp3\r\nmissing.mp3\r\n") +
                             QFile::encodeName(root + QStringLiteral("/abs/abs.mp3")) + "\r\nsub\r\nfar.mp3");

    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(root + QStringLiteral("/cwd"));
    const std::vector<TrackRecord> rows = AddPlaylistFile(playlist, GenreTable{});
    QDir::setCurrent(oldCwd);

    QCOMPARE(titles(rows), (QStringList{QStringLiteral("near"), QStringLiteral("deep"), QStringLiteral("absolute"),
                                        QStringLiteral("far")}));
    // Stored paths are absolute, so they stay valid after the current directory changes.
    QCOMPARE(rows[0][TrackField::Path], root + QStringLiteral("/lists/near.mp3"));
    QCOMPARE(rows[1][TrackField::Path], root + QStringLiteral("/lists/sub/deep.mp3"));
    QCOMPARE(rows[3][TrackField::Path], root + QStringLiteral("/cwd/far.mp3"));

    QVERIFY(AddPlaylistFile(root + QStringLiteral("/lists/none.m3u"), GenreTable{}).empty());
    writeBytes(root + QStringLiteral("/lists/binary.m3u"), QByteArray("\0\xFF\x01near.mp3\0\r\n\xFE", 16));
    QVERIFY(AddPlaylistFile(root + QStringLiteral("/lists/binary.m3u"), GenreTable{}).empty());
}

void TestTrackFiles::folderScan_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("expected");
    // Name order, subfolders where they are met.
    QTest::newRow("*.*") << QStringLiteral("*.*")
                         << QStringList{QStringLiteral("A"),       QStringLiteral("b"),      QStringLiteral("inner"),
                                        QStringLiteral("songmp3"), QStringLiteral("deeper"), QStringLiteral("x"),
                                        QStringLiteral("z")};
    QTest::newRow("*.mp3") << QStringLiteral("*.mp3")
                           << QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("inner"),
                                          QStringLiteral("z")};
}

void TestTrackFiles::folderScan()
{
    QFETCH(QString, mask);
    QFETCH(QStringList, expected);
    const QString root = m_dir.filePath(QStringLiteral("scan"));
    if (!QFileInfo::exists(root)) {
        makeMp3(root + QStringLiteral("/z.mp3"), QStringLiteral("z"));
        makeMp3(root + QStringLiteral("/b.mp3"), QStringLiteral("b"));
        makeMp3(root + QStringLiteral("/A.MP3"), QStringLiteral("A"));
        makeMp3(root + QStringLiteral("/songmp3"), QStringLiteral("songmp3"));
        makeMp3(root + QStringLiteral("/c.txt"), QStringLiteral("not a track"));
        makeMp3(root + QStringLiteral("/Sub/x.mp3"), QStringLiteral("x"));
        makeMp3(root + QStringLiteral("/Sub/more/deeper.mp3"), QStringLiteral("deeper"));
        makeMp3(root + QStringLiteral("/dir.mp3/inner.mp3"), QStringLiteral("inner"));
    }
    const std::vector<TrackRecord> rows = AddFolder(root + QLatin1Char('/') + mask, GenreTable{});
    QCOMPARE(titles(rows), expected);
    QCOMPARE(rows[2][TrackField::Path], root + QStringLiteral("/dir.mp3/inner.mp3"));
}

void TestTrackFiles::folderScanSurvivesLoopsAndBrokenLinks()
{
    const QString root = m_dir.filePath(QStringLiteral("loop"));
    makeMp3(root + QStringLiteral("/a/one.mp3"), QStringLiteral("one"));
    QVERIFY(QFile::link(root, root + QStringLiteral("/a/back")));
    QVERIFY(QFile::link(root + QStringLiteral("/nowhere.mp3"), root + QStringLiteral("/a/broken.mp3")));
    // Opening a FIFO for reading would block for ever.
    const QString fifo = root + QStringLiteral("/a/pipe.mp3");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!AddTrackFile(fifo, GenreTable{}));
    QCOMPARE(titles(AddFolder(root + QStringLiteral("/*.*"), GenreTable{})), QStringList{QStringLiteral("one")});
    QVERIFY(AddFolder(root + QStringLiteral("/missing/*.*"), GenreTable{}).empty());
}

void TestTrackFiles::albumFileWrittenAndReadBack()
{
    const QString folder = m_dir.filePath(QStringLiteral("album"));
    makeMp3(folder + QStringLiteral("/1.mp3"), QStringLiteral("One"));
    makeMp3(folder + QStringLiteral("/2.mp3"), QStringLiteral("Two"));
    makeMp3(folder + QStringLiteral("/3.mp3"));
    std::vector<TrackRecord> rows = AddFolder(folder + QStringLiteral("/*.mp3"), GenreTable{});
    QCOMPARE(rows.size(), std::size_t(3));
    rows[1][TrackField::Comment] = QStringLiteral("two\r\nlines");

    const std::vector<bool> selection{true, false, true};
    QCOMPARE(titles(albumwriter::rowsToWrite(rows, selection, true)),
             (QStringList{QStringLiteral("One"), QStringLiteral("3.mp3")}));
    QVERIFY(albumwriter::rowsToWrite(rows, {false, false, false}, true).empty());

    const QString mdt = folder + QStringLiteral("/out.mdt");
    QVERIFY(albumwriter::saveAlbumFile(mdt, rows).ok());
    QFile f(mdt);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.count("\r\n"), 3); // the comment's line end did not split the record
    const std::vector<TrackRecord> back = album::parseAlbum(bytes, folder + QLatin1Char('/'));
    QCOMPARE(back.size(), rows.size());
    rows[1][TrackField::Comment] = QStringLiteral("two  lines");
    for (std::size_t i = 0; i < rows.size(); ++i)
        QCOMPARE(back[i].fields, rows[i].fields);

    // Nothing selected: an empty album file.
    QVERIFY(albumwriter::saveAlbumFile(mdt, albumwriter::rowsToWrite(rows, {}, true)).ok());
    QCOMPARE(QFileInfo(mdt).size(), qint64(0));

    const Result<> error = albumwriter::saveAlbumFile(folder + QStringLiteral("/no/such/dir/x.mdt"), rows);
    QVERIFY(!error.ok() && error.error().contains(QStringLiteral("x.mdt")));
}

QTEST_GUILESS_MAIN(TestTrackFiles)
#include "test_trackfiles.moc"
