// How long the main window waits on an outside player that has stopped
// answering: it shows the play time (100 ms clock) of a stand-in player that
// is then stopped with SIGSTOP. First the longest stall of its event loop
// while it notices; then "プレイヤーを...に設定" (Winamp and SCMPX in turn)
// is queued every 700 ms, like a key press, and each figure is the time from
// queueing to the command having run.
//
//   dbus-run-session -- env QT_QPA_PLATFORM=offscreen build/bench/bench_frozen_player
// (finds the stand-in in TUNOVIA_BIN_DIR, else in ../bin beside itself; give
// it its own XDG_RUNTIME_DIR when a Tunovia is running)
#include "app/ui/mainform.h"
#include "config/settingsstore.h"
#include "platform/fakemediadevice.h"
#include "platform/launcher.h"
#include "platform/ui/prompts.h"
#include "platform/windowbus.h"
#include "silentservices.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <chrono>
#include <csignal>
#include <memory>
#include <thread>
#include <vector>

namespace {

void spin(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("TUNOVIA_PROGRAM_DIR", QDir::tempPath().toUtf8());
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString binDir = qEnvironmentVariableIsSet("TUNOVIA_BIN_DIR")
                               ? qEnvironmentVariable("TUNOVIA_BIN_DIR")
                               : QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");

    QTemporaryDir dir;
    SilentPrompts prompts;
    NoLauncher launcher;
    SettingsStore settings(dir.filePath(QStringLiteral("Tunov.ini")), nullptr, dir.path() + u'/');
    TTunoviaF w(MainServices{prompts, launcher, settings});
    w.createLyricsWindow();
    w.connectClockAndLyrics();
    w.setMediaDevice(std::make_unique<FakeMediaDevice>(true));
    w.dialogSettings().player.checked = 0;
    w.dialogSettings().playTime = true;
    w.dialogSettings().drawInterval = 0;
    w.applySettings();

    QProcess player;
    player.setProcessChannelMode(QProcess::ForwardedChannels);
    player.start(binDir + QStringLiteral("/tunovia-player"), {QStringLiteral("--headless")});
    if (!player.waitForStarted()) {
        out << "cannot start " << binDir << "/tunovia-player\n";
        return 1;
    }
    QElapsedTimer wait;
    wait.start();
    while (WindowBus::findWindow(QStringLiteral("Winamp v1.x")).isNull() && wait.elapsed() < 10000)
        spin(50);
    spin(500); // the clock runs against a player that answers

    auto *toScmpx = w.findChild<QAction *>(QStringLiteral("UseScmpxMnu"));
    auto *toWinamp = w.findChild<QAction *>(QStringLiteral("UseWinampMnu"));
    if (!toScmpx || !toWinamp) {
        out << "menu commands not found\n";
        return 1;
    }

    // Commands are queued from another thread at fixed times, so a main
    // window that is stuck in a call does not delay the queueing itself.
    constexpr int kCommands = 12;
    std::vector<qint64> took(kCommands, -1);
    // 1. The clock's first question to the stopped player runs out of time:
    // the one wait the main window pays.
    ::kill(pid_t(player.processId()), SIGSTOP);
    qint64 stall = 0;
    {
        QElapsedTimer phase, gap;
        phase.start();
        gap.start();
        while (phase.elapsed() < 3 * WindowBus::SendTimeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            stall = std::max(stall, gap.restart());
        }
    }
    out << "player stopped: the main window's longest stall while noticing it " << stall << " ms\n";

    // 2. Then menu commands, with the clock still asking every 100 ms.
    QElapsedTimer clock;
    clock.start();
    std::thread queuer([&] {
        for (int i = 0; i < kCommands; ++i) {
            const qint64 queued = clock.elapsed();
            QAction *action = i % 2 == 0 ? toScmpx : toWinamp;
            QMetaObject::invokeMethod(
                &w,
                [&, i, queued, action] {
                    action->trigger();
                    took[size_t(i)] = clock.elapsed() - queued;
                },
                Qt::QueuedConnection);
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
        }
    });
    while (took.back() < 0 && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    queuer.join();
    qint64 worst = 0;
    for (int i = 0; i < kCommands; ++i) {
        out << "command " << i + 1 << " (" << (i % 2 == 0 ? "SCMPX" : "Winamp") << "): " << took[size_t(i)] << " ms\n";
        worst = std::max(worst, took[size_t(i)]);
    }
    out << "player stopped and noticed: a menu command takes effect after at most " << worst << " ms\n";

    ::kill(pid_t(player.processId()), SIGCONT);
    player.terminate();
    player.waitForFinished(10000);
    return 0;
}
