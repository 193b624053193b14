// Sorting dropped paths: the order rows and index files are handed over in,
// and the subfolder question asked at most once per drop.
#include "support/testfiles.h"
#include "tracks/dropsorter.h"

#include <QTemporaryDir>
#include <QTest>

class TestDropSorter : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_events;
    int m_folderAsks = 0;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Records every hand-over as one line; `answer` is the subfolder answer.
    DropSorter::Handlers recorder(bool answer)
    {
        DropSorter::Handlers h;
        h.askSubfolders = [this, answer] {
            m_events << QStringLiteral("ask");
            return answer;
        };
        h.lyricsFolder = [this] {
            ++m_folderAsks;
            return QString();
        };
        h.addTracks = [this](std::vector<TrackRecord> rows) {
            QStringList names;
            for (const TrackRecord &r : rows)
                names << QFileInfo(r[TrackField::Path]).fileName() +
                             (r.lyrics == LyricsState::BesideTrack ? QStringLiteral("+") : QString());
            m_events << names.join(u' ');
        };
        h.openIndexFile = [this](const QString &p) { m_events << QFileInfo(p).fileName(); };
        return h;
    }

private slots:
    void initTestCase()
    {
        for (const char *name : {"one.mp3", "f1/three.mp3", "f1/sub/four.mp3", "f2/five.mp3", "Six.MP3", "two.mp3"})
            writeFile(path(QString::fromLatin1(name)), QByteArray(1000, 'x'));
        writeFile(path(QStringLiteral("one.txt")), "lyrics");
        writeFile(path(QStringLiteral("list.m3u")), "two.mp3\r\n");
    }

    void init()
    {
        m_events.clear();
        m_folderAsks = 0;
    }

    void rowsBeforeAnIndexFileComeFirstAndFoldersAskOnce()
    {
        const QStringList dropped{path(QStringLiteral("one.mp3")),   path(QStringLiteral("list.m3u")),
                                  path(QStringLiteral("index.ini")), path(QStringLiteral("f1")),
                                  path(QStringLiteral("f2/")),       path(QStringLiteral("Six.MP3"))};
        DropSorter(GenreTable()).sort(dropped, recorder(false));
        QCOMPARE(m_events, (QStringList{QStringLiteral("one.mp3+ two.mp3"), QStringLiteral("index.ini"),
                                        QStringLiteral("ask"), QStringLiteral("three.mp3 five.mp3 Six.MP3")}));
        QCOMPARE(m_folderAsks, 2); // the search folder is read again after the index file

        m_events.clear();
        DropSorter(GenreTable()).sort({path(QStringLiteral("f1"))}, recorder(true));
        QCOMPARE(m_events, (QStringList{QStringLiteral("ask"), QStringLiteral("four.mp3 three.mp3")}));
    }

    void filesAndPlaylistsAskNothing()
    {
        DropSorter(GenreTable())
            .sort({path(QStringLiteral("list.m3u")), path(QStringLiteral("gone.mp3"))}, recorder(true));
        QCOMPARE(m_events, QStringList{QStringLiteral("two.mp3")});
        m_events.clear();
        DropSorter(GenreTable()).sort({path(QStringLiteral("gone.mp3"))}, recorder(true));
        QVERIFY(m_events.isEmpty()); // no rows, no hand-over
    }

    void pathRules()
    {
        QCOMPARE(DropSorter::extensionOf(QStringLiteral("/a.b/Song.MP3")), QStringLiteral("mp3"));
        QCOMPARE(DropSorter::extensionOf(QStringLiteral("/a.b/folder")), QStringLiteral("b/folder"));
        QCOMPARE(DropSorter::extensionOf(QStringLiteral("/Folder")), QStringLiteral("/folder"));
        QCOMPARE(DropSorter::folderPattern(QStringLiteral("/m/a//"), false), QStringLiteral("/m/a/*.mp3"));
        QCOMPARE(DropSorter::folderPattern(QStringLiteral("/"), true), QStringLiteral("/*.*"));
    }
};

QTEST_GUILESS_MAIN(TestDropSorter)
#include "test_dropsorter.moc"
