// The lifecycle's steps as a window sees them: their order, the fallback when
// nothing can be opened, the album load, the quit policy and the apply step.
#include "app/lifecycle.h"
#include "support/fakelauncher.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

class FakeWindow final : public Lifecycle::Window {
public:
    QStringList log;
    bool answerYes = false;
    Lifecycle::AlbumChoice choice;

    void tell(Icon, const QString &, const QString &text) override { log << QStringLiteral("tell ") + text; }
    bool askYesNo(const QString &, const QString &text) override
    {
        log << QStringLiteral("ask ") + text;
        return answerYes;
    }
    QString chooseIndexFile(const QString &) override { return {}; }
    QString chooseNewIndexFile(const QString &) override { return {}; }
    Lifecycle::AlbumChoice chooseAlbums(const QString &) override
    {
        log << QStringLiteral("album dialog");
        return choice;
    }
    void runSettingsDialog() override { log << QStringLiteral("settings dialog"); }
    void showTitle() override {}
    void releaseTitle() override { log << QStringLiteral("release title"); }
    WindowBounds bounds() const override { return {0, 0, 494, 354}; }
    void placeAt(const WindowBounds &) override {}
    int volume() const override { return 10; }
    void setVolume(int) override {}
    void restoreLook() override { log << QStringLiteral("look"); }
    void saveColumnWidths() override { log << QStringLiteral("columns"); }
    void acceptDrops() override { log << QStringLiteral("drops"); }
    void showListKind(bool legacy) override { log << (legacy ? QStringLiteral("five") : QStringLiteral("thirteen")); }
    void showTrackList(std::vector<TrackRecord> tracks) override
    {
        log << QStringLiteral("track list %1").arg(tracks.size());
    }
    void showWaiting(bool shown) override { log << (shown ? QStringLiteral("wait") : QStringLiteral("done")); }
    void showAlbumTracks(std::vector<TrackRecord> tracks, bool keep) override
    {
        log << QStringLiteral("albums %1%2").arg(tracks.size()).arg(keep ? QStringLiteral(" kept") : QString());
    }
    void applySettings() override { log << QStringLiteral("apply"); }
    void selectAll() override { log << QStringLiteral("select all"); }
    void focusWholeRows() override { log << QStringLiteral("focus rows"); }
    void hideLyrics() override { log << QStringLiteral("hide lyrics"); }
    void stopTimers() override { log << QStringLiteral("stop timers"); }
    void closePlayer() override { log << QStringLiteral("quit player"); }
};

const QByteArray kTrackList = "\"a.mp3\",\"Alpha\",\"\",\"\",\"16000\"\r\n\"b.mp3\",\"Beta\",\"\",\"\",\"1\"\r\n";
const char *const kLive = TUNOVIA_SOURCE_DIR "/data/demo/albums/live.mdt";

} // namespace

class TestLifecycle : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    FakeLauncher m_launcher;
    FakeWindow m_window;
    QString m_indexPath;
    DialogSettings m_dialog;
    LyricsWindowSettings m_lyricsWindow;
    ClassNames m_classNames;
    int m_lyricsTag = 0;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Lifecycle> m_lifecycle;

    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    Lifecycle &make(const QByteArray &settings, const QString &indexPath)
    {
        writeFile(path("Tunov.ini"), settings);
        m_store = std::make_unique<SettingsStore>(path("Tunov.ini"), nullptr, path("prog/"));
        m_window = FakeWindow();
        m_dialog = DialogSettings();
        m_indexPath = indexPath;
        const Lifecycle::State state{m_indexPath, m_dialog, m_lyricsWindow, m_classNames, m_lyricsTag};
        m_lifecycle = std::make_unique<Lifecycle>(m_window, *m_store, m_launcher, state);
        return *m_lifecycle;
    }

private slots:
    void trackListShowsThenAsksForAPlayer()
    {
        writeFile(path("list/old.lst"), kTrackList);
        make("[Setting]\r\nAutoSelect=1\r\n", path("list/old.lst")).show();
        QCOMPARE(m_window.log, (QStringList{U("look"), U("drops"), U("five"), U("track list 2"), U("look"),
                                            U("release title"), U("apply"), U("select all"), U("focus rows"),
                                            U("tell MP3プレイヤーの設定をしてください。"), U("hide lyrics"),
                                            U("columns"), U("settings dialog"), U("apply")}));
        QCOMPARE(m_store->readStartupGroup().lastGroup, path("list/old.lst"));
    }

    void nothingToOpenShowsTheAlbumListAndKeepsThePath()
    {
        make("[Setting]\r\nAutoSelect=1\r\nWinamp=/opt/w\r\n", path("gone/tunovia.ini")).show();
        QCOMPARE(m_window.log, (QStringList{U("look"), U("drops"), U("thirteen"), U("apply"), U("select all")}));
        QCOMPARE(m_indexPath, path("gone/tunovia.ini"));
        QVERIFY(m_store->readStartupGroup().lastGroup != m_indexPath); // nothing was opened
    }

    void albumsLoadUpToTheFirstFailure_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("albums");
        QTest::addColumn<QStringList>("steps");
        const QString live = QString::fromUtf8(kLive);
        const QString fail = U("tell データファイルがロードできませんでした。");
        QTest::newRow("cancelled") << false << QStringList{live} << QStringList{U("apply")};
        QTest::newRow("all read") << true << QStringList{live, live}
                                  << QStringList{U("wait"),  U("albums 6 kept"), U("look"),      U("done"),
                                                 U("apply"), U("select all"),    U("focus rows")};
        QTest::newRow("second missing") << true << QStringList{live, U("gone.mdt"), live}
                                        << QStringList{U("wait"), U("albums 3 kept"), U("look"),      U("done"),
                                                       fail,      U("apply"),         U("select all")};
        QTest::newRow("first missing") << true << QStringList{U("gone.mdt")}
                                       << QStringList{U("wait"), U("albums 0 kept"), U("done"),
                                                      fail,      U("apply"),         U("select all")};
    }

    void albumsLoadUpToTheFirstFailure()
    {
        QFETCH(bool, accepted);
        QFETCH(QStringList, albums);
        QFETCH(QStringList, steps);
        writeFile(path("lib/tunovia.ini"), ";Tunovia  Index File\r\n");
        Lifecycle &lifecycle = make("[Setting]\r\nAutoSelect=1\r\nWinamp=/opt/w\r\n", path("lib/tunovia.ini"));
        m_window.choice.indexPath = path("lib/other.ini"); // the dialog switched files
        m_window.choice.accepted = accepted;
        m_window.choice.keepTracks = true;
        for (const QString &album : albums)
            m_window.choice.albums.push_back({album, album});
        lifecycle.show();
        QCOMPARE(m_window.log.mid(0, 5),
                 (QStringList{U("look"), U("drops"), U("thirteen"), U("release title"), U("album dialog")}));
        QCOMPARE(m_window.log.mid(5), steps);
        QCOMPARE(m_indexPath, path("lib/other.ini"));
    }

    void closeQueryQuitsThePlayerByPolicy_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("quits");
        QTest::addColumn<bool>("asked");
        QTest::newRow("quit") << QByteArray("PlayerQuitYes=1\r\nPlayerQuitNo=0\r\n") << false << 1 << false;
        QTest::newRow("keep") << QByteArray("PlayerQuitNo=1\r\n") << true << 0 << false;
        QTest::newRow("ask, yes") << QByteArray("PlayerQuitAsk=1\r\nPlayerQuitNo=0\r\n") << true << 1 << true;
        QTest::newRow("ask, no") << QByteArray("PlayerQuitAsk=1\r\nPlayerQuitNo=0\r\n") << false << 0 << true;
        // Started hidden, the player is quit for that, and once more by the policy.
        QTest::newRow("hidden start, quit")
            << QByteArray("RunHide=1\r\nRunNormal=0\r\nPlayerQuitYes=1\r\nPlayerQuitNo=0\r\n") << false << 2 << false;
        QTest::newRow("hidden start, keep") << QByteArray("RunHide=1\r\nRunNormal=0\r\n") << false << 1 << false;
    }

    void closeQueryQuitsThePlayerByPolicy()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, yes);
        QFETCH(int, quits);
        QFETCH(bool, asked);
        writeFile(path("tools/~Tunov~.m3u"), "x");
        Lifecycle &lifecycle = make("[Setting]\r\nJ2=" + path("tools/j2.exe").toUtf8() + "\r\n" + settings, {});
        m_window.answerYes = yes;
        m_lyricsTag = 1;
        lifecycle.closeQuery();
        QCOMPARE(m_lyricsTag, 0);
        QCOMPARE(m_window.log.mid(0, 2), (QStringList{U("hide lyrics"), U("stop timers")}));
        QCOMPARE(m_window.log.count(U("quit player")), quits);
        QCOMPARE(m_window.log.contains(U("ask MP3プレイヤーを終了しますか？")), asked);
        QVERIFY(!QFile::exists(path("tools/~Tunov~.m3u")));
    }

    void lyricsWindowWaitsOnTheFirstApplyOnly()
    {
        Lifecycle &lifecycle = make({}, {});
        m_dialog.noLyricsHide = true;
        m_dialog.drawInterval = 3;
        QVERIFY(!lifecycle.display().lyricsWindow);
        QCOMPARE(m_dialog.drawInterval, 0);
        const Lifecycle::Display second = lifecycle.display();
        QVERIFY(second.lyricsWindow);
        QCOMPARE(second.clockInterval, 100);
        m_dialog.showLyrics = false;
        m_dialog.drawInterval = 2;
        QCOMPARE(lifecycle.display().clockInterval, 300);
        m_dialog.playTime = false;
        QCOMPARE(lifecycle.display().clockInterval, 0);
        m_dialog.player.checked = -1; // none on: the built-in player's button
        QCOMPARE(lifecycle.display().player, 2);
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "test_lifecycle.moc"
