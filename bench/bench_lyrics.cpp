// Lyrics window and clock costs: loading a long lyrics file, one clock tick
// when nothing changes, and how late the highlight follows a playing track.
//
//   QT_QPA_PLATFORM=offscreen TUNOVIA_NULL_AUDIO=1 bench_lyrics [track.mp3]
// (run from the source folder, the default track is a demo track; the main
// window takes the instance lock, so give it its own XDG_RUNTIME_DIR when a
// Tunovia is running)
#include "app/ui/mainform.h"
#include "config/settingsstore.h"
#include "lyrics/ui/lyricsform.h"
#include "platform/fakemediadevice.h"
#include "platform/launcher.h"
#include "platform/qtmediadevice.h"
#include "platform/ui/prompts.h"
#include "platform/windowbus.h"
#include "playback/builtinplayer.h"
#include "playback/playermessages.h"
#include "silentservices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray lyricsOf(int lines, int stepMs)
{
    QByteArray out = "Benchmark Song\r\n";
    for (int i = 0; i < lines; ++i) {
        const qint64 ms = qint64(i) * stepMs;
        out += QStringLiteral("[%1:%2:%3]line %4 of the song\r\n")
                   .arg(ms / 60000, 2, 10, QLatin1Char('0'))
                   .arg((ms / 1000) % 60, 2, 10, QLatin1Char('0'))
                   .arg((ms % 1000) / 10, 2, 10, QLatin1Char('0'))
                   .arg(i)
                   .toLatin1();
    }
    return out;
}

// The time a lyrics tag stands for, in ms.
qint64 tagMs(const QString &tag)
{
    const QStringList p = tag.split(u':');
    if (p.size() < 3)
        return -1;
    return p[0].toLongLong() * 60000 + p[1].toLongLong() * 1000 + p[2].toLongLong() * 10;
}

struct Window {
    QTemporaryDir dir;
    SilentPrompts prompts;
    NoLauncher launcher;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<TTunoviaF> w;

    explicit Window(int player, std::unique_ptr<MediaDevice> device)
    {
        settings =
            std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("Tunov.ini")), nullptr, dir.path() + u'/');
        w = std::make_unique<TTunoviaF>(MainServices{prompts, launcher, *settings});
        w->createLyricsWindow();
        w->connectClockAndLyrics();
        w->setMediaDevice(std::move(device));
        w->dialogSettings().player.checked = player;
        w->dialogSettings().winamp = dir.filePath(QStringLiteral("winamp/winamp"));
        w->applySettings();
        w->drawTimer().stop();
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("TUNOVIA_PROGRAM_DIR", QDir::tempPath().toUtf8());
    QApplication app(argc, argv);
    QTextStream out(stdout);

    // 1. Loading 2,000 lines into the window.
    {
        Window win(2, std::make_unique<FakeMediaDevice>(true));
        const QString file = win.dir.filePath(QStringLiteral("long.txt"));
        writeFile(file, lyricsOf(2000, 1000));
        TLyricsF *f = win.w->lyricsForm();
        f->LyricsFile = file;
        f->loadLyrics(0); // warm up
        QList<double> times;
        for (int i = 0; i < 30; ++i) {
            QElapsedTimer t;
            t.start();
            f->LyricsFile = file;
            f->loadLyrics(0);
            times << double(t.nsecsElapsed()) / 1e6;
        }
        std::sort(times.begin(), times.end());
        out << "load 2000 lines: median " << times[15] << " ms, max " << times.last() << " ms\n";
    }

    // 2. One clock tick when nothing changes (lyrics loaded, time unchanged).
    auto tickCost = [&](const char *label, Window &win) {
        for (int i = 0; i < 50; ++i)
            win.w->DrawTimerMMTimer(); // loads the lyrics once
        const int n = 5000;
        const double c0 = cpuMs();
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < n; ++i)
            win.w->DrawTimerMMTimer();
        const double cpu = (cpuMs() - c0) / n;
        out << "tick, nothing changes (" << label << "): " << cpu * 1000 << " us CPU, "
            << double(t.nsecsElapsed()) / 1e3 / n << " us wall\n";
    };
    {
        auto device = std::make_unique<FakeMediaDevice>(true);
        FakeMediaDevice *dev = device.get();
        Window win(2, std::move(device));
        const QString mp3 = win.dir.filePath(QStringLiteral("m/a.mp3"));
        writeFile(mp3, QByteArray(16000 * 600, '\0'));
        writeFile(win.dir.filePath(QStringLiteral("m/a.txt")), lyricsOf(2000, 250));
        win.w->builtinHandOver({mp3});
        win.w->MciTimerTimer();
        dev->advance(250 * 1000 + 5);
        dev->stop();
        tickCost("built-in player, 2000 lines", win);
    }
    {
        Window win(0, std::make_unique<FakeMediaDevice>(true));
        const QString mp3 = win.dir.filePath(QStringLiteral("m/a.mp3"));
        writeFile(win.dir.filePath(QStringLiteral("m/a.txt")), lyricsOf(2000, 250));
        writeFile(win.dir.filePath(QStringLiteral("winamp/Tunov.dat")), (mp3 + u'\n').toUtf8());
        MessageWindow winamp(QStringLiteral("Winamp v1.x"), [](quint32, qint64 wParam, qint64) -> qint64 {
            return wParam == 0 ? 250 * 1000 + 5 : 600;
        });
        tickCost("Winamp in process, data file stat, 2000 lines", win);
    }

    // 3. Highlight delay on a real track: how far the player's position is
    // past a line's tag when the window selects that line.
    const QString demo =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("data/demo/music/first/01 Morning.mp3");
    {
        auto device = std::make_unique<QtMediaDevice>();
        QtMediaDevice *dev = device.get();
        Window win(2, std::move(device));
        const QString mp3 = win.dir.filePath(QStringLiteral("t/track.mp3"));
        QDir().mkpath(QFileInfo(mp3).path());
        QFile::copy(demo, mp3);
        if (!dev->open(mp3)) {
            out << "highlight delay: cannot play " << demo << " (code " << dev->lastError() << ")\n";
            return 0;
        }
        dev->close();
        // Tags every 130 ms for up to ten minutes; only those within the track are reached.
        writeFile(win.dir.filePath(QStringLiteral("t/track.txt")), lyricsOf(4600, 130));
        TLyricsF *f = win.w->lyricsForm();
        qint64 worst = 0, sum = 0;
        int changes = 0;
        QObject::connect(f->lyricsList(), &QListWidget::currentRowChanged, [&](int row) {
            const qint64 tag = tagMs(f->timeList().value(row));
            if (tag <= 0 || !dev->isPlaying())
                return;
            const qint64 late = dev->position() - tag;
            worst = std::max(worst, late);
            sum += late;
            ++changes;
        });
        int started = 0;
        QObject::connect(win.w->builtinPlayer(), &BuiltinPlayer::fileStarted, [&] { ++started; });
        win.w->drawTimer().start();
        win.w->builtinHandOver({mp3});
        QElapsedTimer t;
        t.start();
        qint64 length = 0;
        // One pass over the track: the player starts it again at its end.
        while (started < 2 && t.elapsed() < 600 * 1000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (started == 1)
                length = std::max(length, dev->position());
        }
        win.w->builtinStopAndClose();
        out << "highlight delay over " << length << " ms (" << changes << " line changes, tags every 130 ms): max "
            << worst << " ms, mean " << (changes ? sum / changes : 0) << " ms\n";
    }
    return 0;
}
