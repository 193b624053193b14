// The lyrics of a track played by the real stand-in player follow its clock:
// the plug-in loaded by the player names the file in Tunov.dat, the main
// window's clock reads it, loads the lyrics beside the track and moves the
// highlight as the player's position advances.
#include "app/ui/builtinpictures.h"
#include "lyrics/ui/lyricsform.h"
#include "platform/launcher.h"
#include "platform/textcodec.h"
#include "platform/windowbus.h"
#include "playback/clock.h"
#include "playback/playermessages.h"
#include "support/mainwindowfixture.h"
#include "support/standinplayer.h"
#include "support/testfiles.h"
#include "tracks/trackmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

#include <csignal>
#include <sys/types.h>

namespace {

QString secondsText(const QList<int> &seconds)
{
    QStringList out;
    for (int s : seconds)
        out << QString::number(s);
    return out.join(u' ');
}

// A process that still runs this test's player (the id may have been reused).
bool playerRunning(qint64 pid)
{
    return pid > 0 && readFile(QStringLiteral("/proc/%1/cmdline").arg(pid)).contains("tunovia-player");
}

} // namespace

class TestEndToEndLyrics : public QObject, public BasicMainWindowFixture<SystemLauncher> {
    Q_OBJECT

    QString m_class;
    QString m_pidFile;

    qint64 playerPid() const { return readFile(m_pidFile).trimmed().toLongLong(); }

    // The stand-in as the configured Winamp, headless under this test's class
    // name, with gen_tunly.so in its Plugins/. exec keeps the process id the
    // wrapper records, so the test can make sure the player has ended.
    QString makeWrapper(const QString &folder)
    {
        QDir().mkpath(folder + QStringLiteral("Plugins"));
        if (!QFile::copy(builtFile("gen_tunly.so"), folder + QStringLiteral("Plugins/gen_tunly.so")))
            return {};
        m_pidFile = folder + QStringLiteral("pid");
        QString wrapper = folder + QStringLiteral("player");
        const QString script =
            QStringLiteral("#!/bin/sh\ncd '%1' || exit 1\necho $$ > pid\n"
                           "TUNOVIA_PROGRAM_DIR='%1' exec '%2' --headless --class '%3' --log run.log \"$@\"\n")
                .arg(folder, builtFile("tunovia-player"), m_class);
        if (!writeFile(wrapper, script.toUtf8()))
            return {};
        QFile::setPermissions(wrapper, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return wrapper;
    }

    // Whole seconds the four digit images show (mm ss), -1 for a foreign picture.
    int shownSeconds() const
    {
        int digits[4];
        for (int k = 0; k < 4; ++k) {
            const auto *label = m_window->findChild<QLabel *>(QStringLiteral("Time%1").arg(k + 1));
            const QImage shown = label ? label->pixmap().toImage() : QImage();
            digits[k] = -1;
            for (int d = 0; d < 10 && digits[k] < 0; ++d) {
                if (shown == BuiltinPictures::digit(d).toImage())
                    digits[k] = d;
            }
            if (digits[k] < 0)
                return -1;
        }
        return (digits[0] * 10 + digits[1]) * 60 + digits[2] * 10 + digits[3];
    }

    QString selectedText() const
    {
        const TLyricsF *f = m_window->lyricsForm();
        return f->selectedRow() < 0 ? QString() : f->displayList().at(f->selectedRow());
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("no session bus");
        QVERIFY(QFileInfo::exists(builtFile("tunovia-player")));
        QVERIFY(QFileInfo::exists(builtFile("gen_tunly.so")));
        QVERIFY(m_dir.isValid());
        usePrivateRuntime();
        // The plug-in finds the player's path in the same settings file.
        qputenv("TUNOVIA_CONFIG_DIR", QFile::encodeName(path(QStringLiteral("config"))));
        qputenv("TUNOVIA_FAKE_MEDIA", "1");
    }

    void cleanup()
    {
        closeLeftoverPlayer(m_class);
        const qint64 pid = playerPid();
        if (playerRunning(pid)) {
            if (!QTest::qWaitFor([pid] { return !playerRunning(pid); }, 5000))
                ::kill(pid_t(pid), SIGKILL);
        }
        m_window.reset();
        m_settings.reset();
    }

    void winampLyricsFollowThePlayersClock()
    {
        m_class = QStringLiteral("lyrics e2e %1").arg(QCoreApplication::applicationPid());
        // Non-ASCII names cross the playlist, the data file and the lyrics name.
        const QString track = path(QString::fromUtf8("曲/朝の歌.mp3"));
        const QString lyricsFile = path(QString::fromUtf8("曲/朝の歌.txt"));
        // 20 s on the stand-in's headless clock (16000 bytes a second).
        QVERIFY(writeFile(track, QByteArray(20 * 16000, 'x')));
        // Lyrics made on Windows: CP932 and CR LF.
        QVERIFY(
            writeFile(lyricsFile, text::toCp932(QString::fromUtf8("朝の歌\r\n[00:00:00]first\r\n[00:02:00]second\r\n"
                                                                  "[00:04:00]third\r\n"))));
        QVERIFY(writeFile(path(QStringLiteral("list.dat")),
                          QString::fromUtf8("\"曲\\朝の歌.mp3\",\"朝の歌\",\"X\",\"\",\"320000\"\r\n").toUtf8()));

        const QString folder = path(QStringLiteral("winamp/"));
        const QString wrapper = makeWrapper(folder);
        QVERIFY(!wrapper.isEmpty());
        const QString ini = path(QStringLiteral("config/Tunov.ini"));
        QVERIFY(writeFile(ini, "[Setting]\r\nWinamp=" + QFile::encodeName(wrapper) +
                                   "\r\nWinampCheck=1\r\nSCMPXCheck=0\r\nMCICheck=0\r\nPlayTime=1\r\n"
                                   "[Lyrics]\r\nShowLyrics=1\r\nNoLyricsHide=0\r\n"
                                   "[ClassName]\r\nWinamp=" +
                                   m_class.toUtf8() + "\r\n[Plug-In]\r\nInterval=50\r\n"));

        TTunoviaF &w = makeWindow();
        w.createLyricsWindow();
        w.setCurrentIndexPath(path(QStringLiteral("list.dat")));
        w.show();
        QTRY_VERIFY(w.legacyListShown());
        QTRY_COMPARE(w.legacyModel()->size(), 1);
        QVERIFY(w.drawTimer().isActive());
        QCOMPARE(w.drawTimer().interval(), 100);
        QVERIFY(w.lyricsForm()->isVisible());
        QCOMPARE(w.lyricsTag(), 1);

        // Every line the highlight moves to, with the player's position at
        // that moment (asked afterwards, so never below the clock's).
        QStringList highlighted;
        QList<qint64> positions;
        QObject recording; // ends the connections with this function
        connect(w.lyricsForm()->lyricsList(), &QListWidget::currentRowChanged, &recording, [&](int row) {
            if (row < 0)
                return;
            highlighted << w.lyricsForm()->displayList().value(row);
            positions << WindowBus::send(WindowBus::findWindow(m_class), WM_USER, 0, winamp::IpcGetOutputTime);
        });
        // The digits, sampled while the track plays.
        QList<int> seconds;
        QTimer sampler;
        sampler.setInterval(20);
        connect(&sampler, &QTimer::timeout, &sampler, [&] {
            const int s = shownSeconds();
            if (seconds.isEmpty() || seconds.last() != s)
                seconds << s;
        });
        sampler.start();

        w.legacyModel()->selectAll(w.currentList()->selectionModel());
        w.MP3ListViewDblClick();
        QTRY_VERIFY_WITH_TIMEOUT(!WindowBus::findWindow(m_class).isNull(), 20000);
        const QString dat = folder + QStringLiteral("Tunov.dat");
        QTRY_COMPARE_WITH_TIMEOUT(readFile(dat), QFile::encodeName(track) + '\n', 10000);

        TLyricsF *f = w.lyricsForm();
        QTRY_COMPARE_WITH_TIMEOUT(f->MP3FileName, QString::fromUtf8("朝の歌.mp3"), 10000);
        QCOMPARE(f->LyricsFile, lyricsFile);
        QCOMPARE(f->windowTitle(), QString::fromUtf8("朝の歌"));
        QCOMPARE(f->displayList(),
                 (QStringList{QStringLiteral(" "), QString::fromUtf8("朝の歌"), QStringLiteral("first"),
                              QStringLiteral("second"), QStringLiteral("third"), QStringLiteral(" ")}));
        QCOMPARE(f->Window, playback::dosStamp(QFileInfo(dat).lastModified()));

        QTRY_COMPARE_WITH_TIMEOUT(selectedText(), QStringLiteral("third"), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(seconds.last() >= 4, 5000);
        sampler.stop();
        QCOMPARE(highlighted.mid(0, 3),
                 (QStringList{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}));
        QVERIFY2(positions.at(1) >= 2000, qPrintable(QString::number(positions.at(1))));
        QVERIFY2(positions.at(2) >= 4000, qPrintable(QString::number(positions.at(2))));
        // The digits only move forward while the track plays, through several values.
        QVERIFY2(std::is_sorted(seconds.cbegin(), seconds.cend()) && seconds.first() >= 0 && seconds.size() >= 3,
                 qPrintable(QStringLiteral("seconds shown: %1").arg(secondsText(seconds))));
        QCOMPARE(w.findChild<QWidget *>(QStringLiteral("TimePnl2"))->toolTip(), QStringLiteral(" 00:20"));

        // Quitting ends the player, and its plug-in removes the data file.
        const qint64 pid = playerPid();
        QVERIFY(playerRunning(pid));
        w.PlayerQuitMnuClick();
        QTRY_VERIFY_WITH_TIMEOUT(WindowBus::findWindow(m_class).isNull(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!playerRunning(pid), 10000);
        QVERIFY(!QFile::exists(dat));
        QVERIFY(m_prompts.asked().isEmpty());
    }
};

QTEST_MAIN(TestEndToEndLyrics)
#include "test_endtoend_lyrics.moc"
