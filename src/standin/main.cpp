// tunovia-player: the outside player Tunovia hands its playlists to. It
// answers the window messages of the player it stands in for ("Winamp v1.x"
// by default, "SCMPX" with --scmpx or when started as "scmpx").
#include "platform/mediadevice.h"
#include "platform/paths.h"
#include "platform/windowbus.h"
#include "playback/playermessages.h"
#include "standin/playerengine.h"
#include "standin/playerwindow.h"
#include "standin/pluginhost.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr char kControlPath[] = "/player";
constexpr char kControlInterface[] = "org.tunovia.Player";

int g_signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char c = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &c, 1);
}

// Ends the event loop on SIGTERM and SIGINT, so plug-ins get their quit.
void quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char c;
        [[maybe_unused]] const auto got = ::read(g_signalPipe[0], &c, 1);
        app.quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

// A second start with a playlist hands the playlist to the running player,
// as the real players do, instead of opening a window nobody can find.
class PlayerControl : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tunovia.Player")
public:
    explicit PlayerControl(PlayerEngine &engine) : m_engine(engine) {}
public Q_SLOTS:
    void OpenPlaylist(const QString &path)
    {
        if (m_engine.loadPlaylist(path) && m_engine.count() > 0)
            m_engine.playIndex(0);
    }

private:
    PlayerEngine &m_engine;
};

int forwardToRunningPlayer(const QString &className, const QString &playlist)
{
    if (playlist.isEmpty())
        return 0;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusReply<QString> owner = bus.interface()->serviceOwner(WindowBus::busNameFor(className));
    if (!owner.isValid())
        return 1;
    QDBusMessage call = QDBusMessage::createMethodCall(
        owner.value(), QLatin1String(kControlPath), QLatin1String(kControlInterface), QStringLiteral("OpenPlaylist"));
    call << QFileInfo(playlist).absoluteFilePath();
    const QDBusMessage reply = bus.call(call, QDBus::Block, WindowBus::SendTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    bool headless = false;
    for (int i = 1; i < argc; ++i)
        headless = headless || qstrcmp(argv[i], "--headless") == 0;
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("tunovia-player"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tunovia's outside player."));
    parser.addHelpOption();
    const QCommandLineOption scmpxOption(QStringLiteral("scmpx"), QStringLiteral("Answer as SCMPX."));
    const QCommandLineOption headlessOption(QStringLiteral("headless"),
                                            QStringLiteral("No window and no audio output (a clock plays)."));
    const QCommandLineOption logOption(QStringLiteral("log"), QStringLiteral("Write every message received to FILE."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption classOption(
        QStringLiteral("class"), QStringLiteral("Window class name (default by mode)."), QStringLiteral("NAME"));
    parser.addOptions({scmpxOption, headlessOption, logOption, classOption});
    parser.addPositionalArgument(QStringLiteral("playlist"), QStringLiteral("m3u playlist to play."));
    parser.process(app);

    const bool scmpxMode =
        parser.isSet(scmpxOption) || QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() == QLatin1String("scmpx");
    const PlayerMode mode = scmpxMode ? PlayerMode::Scmpx : PlayerMode::Winamp;
    const QString className = parser.isSet(classOption)
                                  ? parser.value(classOption)
                                  : QLatin1String(scmpxMode ? scmpx::DefaultClassName : winamp::DefaultClassName);
    const QString playlist = parser.positionalArguments().value(0);

    PlayerEngine engine(mode, createMediaDevice(headless ? MediaDeviceKind::Fake : MediaDeviceKind::Real));

    std::unique_ptr<PlayerWindow> ui;
    if (!headless)
        ui = std::make_unique<PlayerWindow>(engine);

    MessageWindow *windowPtr = nullptr;
    auto window = std::make_unique<MessageWindow>(
        className,
        [&engine, &windowPtr](quint32 msg, qint64 wParam, qint64 lParam) {
            return engine.handleMessage(windowPtr && windowPtr->handlingPost(),
                                        windowPtr && windowPtr->handlingBusMessage(), msg, wParam, lParam);
        },
        engine.title(), ui.get());
    windowPtr = window.get();
    QObject::connect(&engine, &PlayerEngine::changed, window.get(),
                     [&engine, &window] { window->setTitle(engine.title()); });

    if (!window->ownsBusName() && QDBusConnection::sessionBus().isConnected())
        return forwardToRunningPlayer(className, playlist);

    // Opened only once this copy knows it is the player, so that a second
    // start never empties the running player's log. Messages are handled
    // from the event loop, so none is missed.
    QFile log;
    if (parser.isSet(logOption)) {
        log.setFileName(parser.value(logOption));
        if (log.open(QIODevice::WriteOnly | QIODevice::Truncate))
            engine.setLog(&log);
    }

    PlayerControl control(engine);
    window->exportObject(QLatin1String(kControlPath), &control);

    QObject::connect(&engine, &PlayerEngine::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    quitOnSignals(app);

    PluginHost plugins;
    // Winamp's plug-ins ask for Winamp's answers; as SCMPX they would write
    // "(null)" into Winamp's data file and delete it on quit.
    if (mode == PlayerMode::Winamp)
        plugins.loadAll(paths::programFolder() + QStringLiteral("Plugins"), window->handle().native());
    for (const QString &problem : plugins.problems())
        qWarning("%s", qUtf8Printable(problem));

    if (ui) {
        ui->setPlugins(plugins);
        bool ok = false;
        const int show = qEnvironmentVariableIntValue("TUNOVIA_SHOW_WINDOW", &ok);
        // The show-window numbers a starter passes: 0 hidden, 2, 6 and 7
        // minimised, any other (or none) shown.
        if (ok && (show == 2 || show == 6 || show == 7))
            ui->showMinimized();
        else if (!ok || show != 0)
            ui->show();
    }

    // Started from the running event loop, as a later hand-over would be:
    // audio back ends finish connecting there.
    if (!playlist.isEmpty() && engine.loadPlaylist(playlist) && engine.count() > 0)
        QTimer::singleShot(0, &engine, [&engine] { engine.playIndex(0); });

    const int rc = app.exec();
    plugins.quitAll();
    return rc;
}

#include "main.moc"
