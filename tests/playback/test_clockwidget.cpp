#include "app/ui/builtinpictures.h"
#include "lyrics/ui/lyricsform.h"
#include "platform/fakemediadevice.h"
#include "platform/qtmediadevice.h"
#include "platform/windowbus.h"
#include "playback/builtinplayer.h"
#include "playback/clock.h"
#include "playback/playermessages.h"
#include "support/mainwindowfixture.h"
#include "tracks/trackmodel.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QtTest>
#include <memory>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

// Gives a file a distinct modification time, as a later write would.
void touch(const QString &path, int secondsFromNow)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(secondsFromNow), QFileDevice::FileModificationTime));
}

TrackRecord track(const QString &path, const QString &title)
{
    TrackRecord t;
    t[TrackField::Title] = title;
    t[TrackField::Path] = path;
    return t;
}

} // namespace

class TestClockWidget : public QObject, public MainWindowFixture {
    Q_OBJECT

    std::unique_ptr<MessageWindow> m_player;
    FakeMediaDevice *m_device = nullptr; // owned by the window
    qint64 m_pos = -1, m_len = -1;
    int m_timeRequests = 0;

    QString dataFile() const { return path(QStringLiteral("winamp/Tunov.dat")); }

    enum Player { Winamp = 0, Scmpx = 1, Builtin = 2 };

    TTunoviaF &makeWindow(Player player)
    {
        TTunoviaF &w = MainWindowFixture::makeWindow();
        w.createLyricsWindow();
        w.connectClockAndLyrics();
        auto device = std::make_unique<FakeMediaDevice>(true);
        m_device = device.get();
        w.setMediaDevice(std::move(device));
        DialogSettings &d = w.dialogSettings();
        d.player.checked = player;
        d.winamp = path(QStringLiteral("winamp/winamp"));
        d.playTime = true;
        d.showLyrics = true;
        w.applySettings();
        w.drawTimer().stop(); // ticks are run by hand
        return w;
    }

    void startPlayer(const QString &className, const QString &title = {})
    {
        m_player = std::make_unique<MessageWindow>(
            className,
            [this](quint32 msg, qint64 wParam, qint64 lParam) -> qint64 {
                if (msg != WM_USER || lParam != winamp::IpcGetOutputTime)
                    return 0;
                ++m_timeRequests;
                return wParam == 0 ? m_pos : m_len;
            },
            title);
    }

    static QList<int> shownDigits(TTunoviaF &w)
    {
        QList<int> out;
        for (int k = 1; k <= 4; ++k) {
            const QImage shown = w.findChild<QLabel *>(QStringLiteral("Time%1").arg(k))->pixmap().toImage();
            int value = -1;
            for (int d = 0; d < 10 && value < 0; ++d) {
                if (shown == BuiltinPictures::digit(d).toImage())
                    value = d;
            }
            out << value;
        }
        return out;
    }
    static QString hint(TTunoviaF &w, const char *name)
    {
        return w.findChild<QWidget *>(QLatin1String(name))->toolTip();
    }
    static QString selectedText(TTunoviaF &w)
    {
        const TLyricsF *f = w.lyricsForm();
        return f->selectedRow() < 0 ? QString() : f->displayList().at(f->selectedRow());
    }

private slots:
    void init()
    {
        clearDoubles();
        m_pos = m_len = -1;
        m_timeRequests = 0;
        QFile::remove(ini());
        QFile::remove(dataFile());
    }
    void cleanup()
    {
        m_player.reset();
        m_window.reset();
    }

    void winampDigitsHintsAndLyrics()
    {
        TTunoviaF &w = makeWindow(Winamp);
        startPlayer(QStringLiteral("Winamp v1.x"));
        const QString song = path(QStringLiteral("music/Song.mp3"));
        writeFile(path(QStringLiteral("music/Song.txt")), "Song Title\r\n[12:34:32]now\r\n[12:34:33]later\r\n");
        writeFile(dataFile(), (song + u'\n').toUtf8());
        m_pos = 754321;
        m_len = 245;
        w.DrawTimerMMTimer();

        QCOMPARE(shownDigits(w), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(hint(w, "Time1"), QStringLiteral(" 04:05"));
        QCOMPARE(hint(w, "Time4"), QStringLiteral(" 04:05"));
        QCOMPARE(hint(w, "TimePnl2"), QStringLiteral(" 04:05"));
        QCOMPARE(hint(w, "Img1"), QStringLiteral(" 04:05"));

        TLyricsF *f = w.lyricsForm();
        QCOMPARE(f->MP3FileName, QStringLiteral("Song.mp3"));
        QCOMPARE(f->LyricsFile, path(QStringLiteral("music/Song.txt")));
        QCOMPARE(f->Window, playback::dosStamp(QFileInfo(dataFile()).lastModified()));
        QCOMPARE(f->windowTitle(), QStringLiteral("Song Title"));
        QCOMPARE(selectedText(w), QStringLiteral("now")); // 12:34:32
        QCOMPARE(m_timeRequests, 3);                      // position, length, position again
    }

    void blankSetOnceAndDigitsRedrawnOnlyOnChange()
    {
        TTunoviaF &w = makeWindow(Winamp);
        startPlayer(QStringLiteral("Winamp v1.x"));
        auto *time1 = w.findChild<QLabel *>(QStringLiteral("Time1"));
        time1->setPixmap(BuiltinPictures::digit(7));
        w.DrawTimerMMTimer(); // Winamp stopped: both answers -1
        QCOMPARE(shownDigits(w), (QList<int>{0, 0, 0, 0}));
        QCOMPARE(hint(w, "TimePnl2"), QStringLiteral(" --:--"));
        QCOMPARE(hint(w, "Time2"), QStringLiteral(" --:--"));

        time1->setPixmap(BuiltinPictures::digit(7));
        w.DrawTimerMMTimer();
        QCOMPARE(shownDigits(w).first(), 7); // set once, not on every tick

        m_pos = 61000;
        m_len = 3600 * 2;
        w.DrawTimerMMTimer();
        QCOMPARE(shownDigits(w), (QList<int>{0, 1, 0, 1}));
        QCOMPARE(hint(w, "TimePnl2"), QStringLiteral(" 120:00"));
        time1->setPixmap(BuiltinPictures::digit(7));
        m_pos = 61900; // same second
        w.DrawTimerMMTimer();
        QCOMPARE(shownDigits(w).first(), 7);
    }

    void dataFileReadOnlyWhenItChanges()
    {
        TTunoviaF &w = makeWindow(Winamp);
        startPlayer(QStringLiteral("Winamp v1.x"));
        m_pos = 0;
        m_len = 10;
        const QString lyricsA = path(QStringLiteral("music/A.txt"));
        writeFile(lyricsA, "[00:00:00]first A\n");
        writeFile(path(QStringLiteral("music/B.txt")), "[00:00:00]first B\n");
        writeFile(dataFile(), (path(QStringLiteral("music/A.mp3")) + u'\n').toUtf8());
        touch(dataFile(), -60);
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("first A"));

        // Same data file: the lyrics are not read again.
        writeFile(lyricsA, "[00:00:00]changed A\n");
        w.DrawTimerMMTimer();
        QCOMPARE(w.lyricsForm()->displayList().value(1), QStringLiteral("first A"));

        // "(null)": nothing is loaded and the highlight does not move.
        writeFile(dataFile(), "(null)\n");
        touch(dataFile(), -30);
        m_pos = 5000;
        w.DrawTimerMMTimer();
        QCOMPARE(w.lyricsForm()->displayList().value(1), QStringLiteral("first A"));

        writeFile(dataFile(), (path(QStringLiteral("music/B.mp3")) + u'\n').toUtf8());
        touch(dataFile(), 0);
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("first B"));
        QCOMPARE(w.lyricsForm()->MP3FileName, QStringLiteral("B.mp3"));
    }

    void noPlayerWindowEndsTheTick()
    {
        TTunoviaF &w = makeWindow(Winamp);
        writeFile(path(QStringLiteral("music/A.txt")), "[00:00:00]first A\n");
        writeFile(dataFile(), (path(QStringLiteral("music/A.mp3")) + u'\n').toUtf8());
        w.DrawTimerMMTimer();
        QCOMPARE(w.lyricsForm()->lyricsList()->count(), 0);
        QCOMPARE(hint(w, "TimePnl2"), QString());
    }

    void sixthRowWithoutLyricsShowsItsInformation()
    {
        TTunoviaF &w = makeWindow(Winamp);
        startPlayer(QStringLiteral("Winamp v1.x"));
        m_pos = 1000;
        m_len = 10;
        for (int i = 1; i <= 6; ++i)
            w.model()->append(track(path(QStringLiteral("music/T%1.mp3").arg(i)), QStringLiteral("Track %1").arg(i)));
        // The data file names the sixth track in another case.
        writeFile(dataFile(), (path(QStringLiteral("music/t6.MP3")) + u'\n').toUtf8());
        w.DrawTimerMMTimer();
        const QStringList shown = w.lyricsForm()->displayList();
        QCOMPARE(shown, w.model()->trackInfoLines(5));
        QCOMPARE(shown.mid(0, 3), (QStringList{QStringLiteral("No Lyrics File"), QStringLiteral(" "),
                                               QStringLiteral("Title : Track 6")}));
        QCOMPARE(w.lyricsForm()->selectedRow(), 0);
    }

    void scmpxTitleNamesTheFileAndPositionIsSmoothed()
    {
        TTunoviaF &w = makeWindow(Scmpx);
        startPlayer(QStringLiteral("SCMPX"), QStringLiteral("12. Song Title.mp3 - SCMPX"));
        w.setCurrentIndexPath(path(QStringLiteral("index.ini")));
        w.model()->append(track(QStringLiteral("other/x.mp3"), QStringLiteral("x")));
        w.model()->append(track(QStringLiteral("music/Song Title.mp3"), QStringLiteral("Song")));
        writeFile(path(QStringLiteral("music/Song Title.txt")),
                  "[00:01:00]a\n[00:01:10]b\n[00:01:20]c\n[00:01:30]d\n[00:01:40]e\n");
        m_pos = 1000;
        m_len = 100;
        QStringList selected;
        for (int i = 0; i < 5; ++i) {
            w.DrawTimerMMTimer();
            selected << selectedText(w);
        }
        QCOMPARE(w.lyricsForm()->MP3FileName, QStringLiteral("Song Title.mp3"));
        QCOMPARE(w.lyricsForm()->Window, QStringLiteral("12. Song Title.mp3 - SCMPX"));
        QCOMPARE(selected, (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                        QStringLiteral("d"), QStringLiteral("e")}));

        m_player->setTitle(QStringLiteral("SCMPX")); // idle: no lyrics steps
        m_pos = 0;
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("e"));
    }

    void scmpxFileNotInTheListDoesNotKeepThePreviousLyrics()
    {
        TTunoviaF &w = makeWindow(Scmpx);
        startPlayer(QStringLiteral("SCMPX"), QStringLiteral("1. Known.mp3 - SCMPX"));
        w.setCurrentIndexPath(path(QStringLiteral("index.ini")));
        w.model()->append(track(QStringLiteral("music/Known.mp3"), QStringLiteral("Known")));
        writeFile(path(QStringLiteral("music/Known.txt")), "[00:00:00]known words\n");
        m_pos = 1000;
        m_len = 100;
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("known words"));

        // Not in the list and no lyrics in the search folder: no lyrics.
        m_player->setTitle(QStringLiteral("2. Stranger.mp3 - SCMPX"));
        w.DrawTimerMMTimer();
        QCOMPARE(w.lyricsForm()->MP3FileName, QStringLiteral("Stranger.mp3"));
        QCOMPARE(w.lyricsForm()->displayList(), w.model()->trackInfoLines(1));

        // Not in the list, but the search folder has its lyrics.
        w.dialogSettings().findFolder = path(QStringLiteral("found/"));
        writeFile(path(QStringLiteral("found/Other.txt")), "[00:00:00]found words\n");
        m_player->setTitle(QStringLiteral("3. Other.mp3 - SCMPX"));
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("found words"));
    }

    void builtinPlayerLoopsAndLyricsFollow()
    {
        TTunoviaF &w = makeWindow(Builtin);
        QStringList files;
        for (const char *name : {"a", "b", "c"}) {
            const QString mp3 = path(QStringLiteral("bi/%1.mp3").arg(QLatin1String(name)));
            writeFile(mp3, QByteArray(16000 * 2, '\0')); // two seconds for the fake device
            writeFile(path(QStringLiteral("bi/%1.txt").arg(QLatin1String(name))),
                      QStringLiteral("[00:00:00]%1 one\n[00:01:00]%1 two\n").arg(QLatin1String(name)).toUtf8());
            files << mp3;
        }
        w.DrawTimerMMTimer(); // not started: nothing shown yet
        QCOMPARE(w.lyricsForm()->lyricsList()->count(), 0);

        w.builtinHandOver(files);
        w.MciTimerTimer();
        QVERIFY(w.builtinPlayer()->isStarted());
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("a one"));
        m_device->advance(1500);
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("a two"));
        QCOMPARE(shownDigits(w), (QList<int>{0, 0, 0, 1}));
        QCOMPARE(hint(w, "TimePnl2"), QStringLiteral(" 00:02"));

        for (int i = 0; i < 3; ++i) {
            m_device->advance(2000);
            w.MciTimerTimer();
            w.DrawTimerMMTimer();
        }
        QCOMPARE(m_device->openHistory(), (QStringList{files[0], files[1], files[2], files[0]}));
        QCOMPARE(w.lyricsForm()->MP3FileName, QStringLiteral("a.mp3"));
        QCOMPARE(selectedText(w), QStringLiteral("a one"));

        w.builtinTransport(1); // previous from the first entry: the last
        QCOMPARE(m_device->fileName(), files[2]);
        w.DrawTimerMMTimer();
        QCOMPARE(selectedText(w), QStringLiteral("c one"));

        w.builtinStopAndClose();
        QVERIFY(!w.builtinPlayer()->isStarted());
        QVERIFY(!m_device->isOpen());
        QVERIFY(m_prompts.asked().isEmpty());
    }

    void builtinUnsupportedFile_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("timerOn");
        QTest::addColumn<int>("positionAfter");
        QTest::newRow("OK plays the next entry") << int(QMessageBox::Ok) << true << 1;
        QTest::newRow("Cancel ends at entry 0") << int(QMessageBox::Cancel) << false << 0;
    }

    void builtinUnsupportedFile()
    {
        QFETCH(int, answer);
        QFETCH(bool, timerOn);
        QFETCH(int, positionAfter);
        TTunoviaF &w = makeWindow(Builtin);
        const QString bad = path(QStringLiteral("bi/x.bad"));
        const QString good = path(QStringLiteral("bi/z.mp3"));
        writeFile(bad, "not audio");
        writeFile(good, QByteArray(16000, '\0'));
        m_prompts.answer(QMessageBox::StandardButton(answer));
        w.builtinHandOver({bad, good});
        w.MciTimerTimer();

        QCOMPARE(m_prompts.asked().size(), 1);
        const ScriptedPrompts::Asked &asked = m_prompts.asked().first();
        QCOMPARE(asked.title, QStringLiteral("Error"));
        QCOMPARE(asked.text, U("サポートされていないフォーマットです。\n「OK」で次の曲を再生します。"));
        QCOMPARE(asked.icon, Prompts::Icon::Error);
        QCOMPARE(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(w.builtinPlayer()->isTimerActive(), timerOn);
        QCOMPARE(w.builtinPlayer()->playlistPosition(), positionAfter);
        w.DrawTimerMMTimer(); // not started: the clock shows nothing
        QCOMPARE(hint(w, "TimePnl2"), QString());
        if (timerOn) {
            w.MciTimerTimer();
            QCOMPARE(m_device->fileName(), good);
        }
    }

    void lyricsOnOffCommand()
    {
        TTunoviaF &w = makeWindow(Builtin);
        QVERIFY(m_settings->profile().writeInt(QStringLiteral("Setting"), QStringLiteral("DrawInterval"), 4).ok());
        QCOMPARE(w.lyricsTag(), 1);
        QVERIFY(w.lyricsForm()->isVisible());

        w.KLyricsONOFF1Click();
        QCOMPARE(w.lyricsTag(), 0);
        QVERIFY(!w.lyricsForm()->isVisible());
        QCOMPARE(w.drawTimer().interval(), 500);
        QVERIFY(w.drawTimer().isActive());

        w.KLyricsONOFF1Click();
        QCOMPARE(w.lyricsTag(), 1);
        QVERIFY(w.lyricsForm()->isVisible());
        QCOMPARE(w.drawTimer().interval(), 100);
        QVERIFY(w.drawTimer().isActive());
        // Closing the window by its close box clears the Tag.
        w.lyricsForm()->close();
        QCOMPARE(w.lyricsTag(), 0);
    }

    void realDeviceEndToEnd()
    {
        // A demo track played for real (silent output): the digits advance
        // and the lyrics follow through the running timers.
        qputenv("TUNOVIA_NULL_AUDIO", "1");
        const QString demo = QFINDTESTDATA("../../data/demo/music/first/01 Morning.mp3");
        if (demo.isEmpty())
            QSKIP("demo library not found");
        {
            QtMediaDevice probe;
            if (!probe.open(demo))
                QSKIP("the media back end cannot play MP3 files here");
        }
        TTunoviaF &w = MainWindowFixture::makeWindow();
        w.createLyricsWindow();
        w.connectClockAndLyrics();
        w.setMediaDevice(std::make_unique<QtMediaDevice>());
        w.dialogSettings().player.checked = Builtin;
        w.applySettings();
        w.builtinHandOver({demo});
        QTRY_COMPARE_WITH_TIMEOUT(selectedText(w), QStringLiteral("The first light"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(selectedText(w), QStringLiteral("comes over the hill"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(shownDigits(w), (QList<int>{0, 0, 0, 1}), 5000);
        QCOMPARE(w.lyricsForm()->windowTitle(), QStringLiteral("Morning Tone"));
        w.builtinStopAndClose();
        QVERIFY(m_prompts.asked().isEmpty());
    }
};

QTEST_MAIN(TestClockWidget)
#include "test_clockwidget.moc"
