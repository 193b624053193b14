// What an index path opens, the fallback beside it, and the albums it lists.
#include "library/indexsource.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestIndexSource : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void openFindsTheKindAndFallsBackToTheDatBeside_data()
    {
        QTest::addColumn<QString>("index");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<int>("tracks");
        const QByteArray list = "\"a.mp3\",\"Alpha\",\"\",\"\",\"16000\"\r\n\"b.mp3\",\"Beta\",\"\",\"\",\"1\"\r\n";
        writeFile(path("index/tunovia.ini"), ";Tunovia  Index File\r\nx=albums/x.mdt\r\n");
        writeFile(path("index/tunovia.dat"), list);
        writeFile(path("bom/list.lst"), "\xEF\xBB\xBF" + list);
        writeFile(path("dat/tunovia.dat"), list);
        writeFile(path("fifo/tunovia.dat"), list);
        QVERIFY(::mkfifo(QFile::encodeName(path("fifo/tunovia.ini")).constData(), 0600) == 0);
        QDir().mkpath(path("none/tunovia.ini")); // a folder
        using K = IndexSource::Kind;
        QTest::newRow("index file") << path("index/tunovia.ini") << int(K::Index) << path("index/tunovia.ini") << 0;
        QTest::newRow("track list with BOM") << path("bom/list.lst") << int(K::TrackList) << path("bom/list.lst") << 2;
        QTest::newRow("missing") << path("dat/tunovia.ini") << int(K::TrackList) << path("dat/tunovia.dat") << 2;
        QTest::newRow("FIFO") << path("fifo/tunovia.ini") << int(K::TrackList) << path("fifo/tunovia.dat") << 2;
        QTest::newRow("folder, nothing beside") << path("none/tunovia.ini") << int(K::Unreadable) << QString() << 0;
        QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << int(K::Unreadable) << QString() << 0;
    }

    void openFindsTheKindAndFallsBackToTheDatBeside()
    {
        QFETCH(QString, index);
        QFETCH(int, kind);
        QFETCH(QString, opened);
        QFETCH(int, tracks);
        const IndexSource source = IndexSource::open(index);
        QCOMPARE(int(source.kind()), kind);
        QCOMPARE(source.path(), opened);
        QCOMPARE(int(source.trackList().size()), tracks);
    }

    void readAlbumsStopsAtTheFirstUnreadableAlbum()
    {
        const QString index = path("lib/tunovia.ini");
        writeFile(path("lib/albums/one.mdt"),
                  "\"../music/1.mp3\",\"1.mp3\",\"One\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                  "\"\",\"16000\"\r\n");
        writeFile(path("lib/music/1.txt"), "lyrics");
        writeFile(path("lib/albums/three.mdt"), "\"3.mp3\",\"3.mp3\",\"Three\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                                                "\"\",\"16000\"\r\n");
        const std::vector<indexfile::Entry> albums{{QStringLiteral("One"), QStringLiteral("albums/one.mdt")},
                                                   {QStringLiteral("One again"), path("lib/albums/one.mdt")},
                                                   {QStringLiteral("Gone"), QStringLiteral("albums/gone.mdt")},
                                                   {QStringLiteral("Three"), QStringLiteral("albums/three.mdt")}};
        const IndexSource::Albums read = IndexSource::readAlbums(albums, index, QString());
        QCOMPARE(read.read, 2);
        QCOMPARE(int(read.tracks.size()), 2);
        QCOMPARE(read.tracks[1][TrackField::Path], path("lib/music/1.mp3"));
        QCOMPARE(read.tracks[0].lyrics, LyricsState::BesideTrack);
        QVERIFY(read.error);
        QCOMPARE(read.error->path, path("lib/albums/gone.mdt"));

        QVERIFY(!IndexSource::readAlbums({albums[3]}, index, QString()).error);
        QCOMPARE(IndexSource::readAlbums({}, index, QString()).read, 0);
    }
};

QTEST_GUILESS_MAIN(TestIndexSource)
#include "test_indexsource.moc"
