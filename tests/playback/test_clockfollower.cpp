// The clock follower against a scripted player and a window that records
// what it is told.
#include "playback/clockfollower.h"

#include <QtTest>

namespace {

struct ScriptedPlayer final : Player {
    std::optional<Time> now;
    PlayingFile file;
    QString newMarker; // what a change sets the marker to
    qint64 lyricsMs = 0;

    HandOver handOver(const QStringList &, int) override { return {}; }
    bool isRunning() const override { return true; }
    void transport(int, Qt::KeyboardModifiers) override {}
    void quit() override {}
    void setVolume(int) override {}
    std::optional<Time> time() override { return now; }
    PlayingFile playingFile(QString &marker) override
    {
        if (file.state == PlayingFile::State::Changed)
            marker = newMarker;
        return file;
    }
    qint64 lyricsPosition() override { return lyricsMs; }
};

struct RecordingView final : ClockView {
    QStringList log;
    bool lyricsWindow = true;
    int tag = 0;
    QStringList tracks;

    void showDigits(const std::array<int, 4> &d, const QString &hint) override
    {
        log << QStringLiteral("digits %1%2%3%4%5").arg(d[0]).arg(d[1]).arg(d[2]).arg(d[3]).arg(hint);
    }
    void showHint(const QString &hint) override { log << QStringLiteral("hint") + hint; }
    void showTimePanel(bool) override {}
    bool hasLyricsWindow() const override { return lyricsWindow; }
    int &lyricsTag() override { return tag; }
    void showLyricsWindow() override {}
    void closeLyricsWindow() override {}
    void setLyricsLabel(const QString &text) override { log << QStringLiteral("label ") + text; }
    void loadLyrics(const QString &lyricsFile, const QString &name, int row) override
    {
        log << QStringLiteral("load %1 %2 %3").arg(lyricsFile, name).arg(row);
    }
    void followLyrics(const QString &timeText) override { log << QStringLiteral("follow ") + timeText; }
    void centreLyrics() override { log << QStringLiteral("centre"); }
    QStringList trackPaths() const override { return tracks; }
    QString resolvedTrackPath(int row) const override { return QStringLiteral("/index/") + tracks.at(row); }
};

PlayingFile changed(const QString &path, const QString &name)
{
    PlayingFile f;
    f.state = PlayingFile::State::Changed;
    f.label = QStringLiteral("L");
    f.path = path;
    f.name = name;
    return f;
}

} // namespace

class TestClockFollower : public QObject {
    Q_OBJECT

    ScriptedPlayer m_player;
    RecordingView m_view;
    DialogSettings m_dialog;
    SettingsStore m_store{QStringLiteral("/nonexistent/Tunov.ini"), nullptr, QStringLiteral("/nonexistent/")};
    std::unique_ptr<ClockFollower> m_follower;

private slots:
    void init()
    {
        m_player = ScriptedPlayer();
        m_view = RecordingView();
        m_dialog = DialogSettings();
        m_dialog.showLyrics = true;
        m_dialog.noLyricsHide = true; // the lyrics steps run while the window is hidden
        m_follower =
            std::make_unique<ClockFollower>([this]() -> Player & { return m_player; }, m_view, m_dialog, m_store);
    }

    void playerThatCannotBeAskedShowsNothing()
    {
        m_player.file = changed(QStringLiteral("/m/a.mp3"), QStringLiteral("a.mp3"));
        m_follower->tick();
        QVERIFY(m_view.log.isEmpty());
        QVERIFY(m_follower->lastFileMarker().isEmpty());
    }

    void digitsAndHintOnlyWhenTheyChange()
    {
        m_player.now = Player::Time{61000, 125};
        m_player.file.state = PlayingFile::State::Same;
        m_follower->tick();
        m_player.now = Player::Time{61900, 125};
        m_follower->tick();
        QCOMPARE(m_view.log.filter(QStringLiteral("digits")), QStringList{QStringLiteral("digits 0101 02:05")});
        QCOMPARE(m_view.log.filter(QStringLiteral("hint")), QStringList{QStringLiteral("hint 02:05")});
        QCOMPARE(m_view.log.count(QStringLiteral("centre")), 2);
    }

    void lyricsFileOfAChangedFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("findFolder");
        QTest::addColumn<QString>("load");
        QTest::newRow("named with folder") << QStringLiteral("/m/B.mp3") << QStringLiteral("B.mp3") << QString()
                                           << QStringLiteral("load /m/B.txt B.mp3 1");
        // A name only: the list's track (any case) gives the folder.
        QTest::newRow("name in the list") << QString() << QStringLiteral("b.MP3") << QStringLiteral("/found")
                                          << QStringLiteral("load /index/music/B.txt b.MP3 1");
        QTest::newRow("not in the list: search folder")
            << QString() << QStringLiteral("c.mp3") << QStringLiteral("/found")
            << QStringLiteral("load /found/c.txt c.mp3 2");
        QTest::newRow("not in the list, no search folder")
            << QString() << QStringLiteral("c.mp3") << QString() << QStringLiteral("load  c.mp3 2");
    }
    void lyricsFileOfAChangedFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, findFolder);
        QFETCH(QString, load);
        m_dialog.findFolder = findFolder;
        m_view.tracks = {QStringLiteral("music/A.mp3"), QStringLiteral("music/B.mp3")};
        m_player.now = Player::Time{2000, 10};
        m_player.file = changed(path, name);
        m_player.newMarker = QStringLiteral("marker");
        m_player.lyricsMs = 1500;
        m_follower->tick();
        QCOMPARE(m_view.log.mid(2), (QStringList{QStringLiteral("label L"), load, QStringLiteral("follow 00:01:50"),
                                                 QStringLiteral("centre")}));
        QCOMPARE(m_follower->lastFileMarker(), QStringLiteral("marker"));
    }

    void lyricsStepsFollowTheWindowState()
    {
        m_player.now = Player::Time{0, 1};
        m_player.file.label = QStringLiteral("idle");
        // Nothing to follow: the label is set, the highlight stays.
        m_follower->tick();
        QCOMPARE(m_view.log.mid(2), QStringList{QStringLiteral("label idle")});
        // No lyrics window: the clock alone.
        m_view.log.clear();
        m_view.lyricsWindow = false;
        m_follower->tick();
        QVERIFY(m_view.log.isEmpty());
        // Hidden on purpose (tag 0, not hiding itself): no lyrics steps.
        m_view.lyricsWindow = true;
        m_player.file.state = PlayingFile::State::Same;
        m_dialog.noLyricsHide = false;
        m_follower->tick();
        QVERIFY(m_view.log.isEmpty());
        // Lyrics off, but a window that hides itself: only centred.
        m_dialog.noLyricsHide = true;
        m_dialog.showLyrics = false;
        m_follower->tick();
        QCOMPARE(m_view.log, QStringList{QStringLiteral("centre")});
        // Ctrl+K shows it without the setting: it follows.
        m_view.log.clear();
        m_view.tag = 1;
        m_follower->tick();
        QCOMPARE(m_view.log, (QStringList{QStringLiteral("label idle"), QStringLiteral("follow 00:00:00"),
                                          QStringLiteral("centre")}));
    }
};

QTEST_MAIN(TestClockFollower)
#include "test_clockfollower.moc"
