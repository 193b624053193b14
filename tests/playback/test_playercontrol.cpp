// Player control: hand-over, transport, quit, player choice and volume, as
// the players see them (in-process windows that record every message) and
// as the main window drives them.
#include "app/ui/mainform.h"
#include "config/settingsstore.h"
#include "controls/ui/dtrackbar.h"
#include "platform/textcodec.h"
#include "platform/windowbus.h"
#include "playback/builtinplayback.h"
#include "playback/builtinplayer.h"
#include "playback/playercontrol.h"
#include "playback/playermessages.h"
#include "playback/windowplayers.h"
#include "support/fakelauncher.h"
#include "support/scriptedprompts.h"
#include "support/testfiles.h"
#include "tracks/trackmodel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <memory>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

// A player window in this process that records what reaches it, in order:
// "send 273 40047 0", "post 1024 -26 100".
struct FakePlayer {
    // `both`, when given, gets every line too, prefixed with `name`, so the
    // order across two players shows.
    explicit FakePlayer(const QString &className, QStringList *both = nullptr, const QString &name = {})
    {
        window = std::make_unique<MessageWindow>(className, [=, this](quint32 msg, qint64 w, qint64 l) -> qint64 {
            log << QStringLiteral("%1 %2 %3 %4")
                       .arg(window->handlingPost() ? QLatin1String("post") : QLatin1String("send"))
                       .arg(msg)
                       .arg(w)
                       .arg(l);
            if (both)
                both->append(name + u' ' + log.constLast());
            return msg == WM_USER && l == scmpx::GetVersion ? version : 0;
        });
    }
    QStringList log;
    qint64 version = 0;
    std::unique_ptr<MessageWindow> window;
};

QString sendCmd(qint64 code) { return QStringLiteral("send 273 %1 0").arg(code); }
QString sendUser(qint64 w, qint64 l) { return QStringLiteral("send 1024 %1 %2").arg(w).arg(l); }

} // namespace

Q_DECLARE_METATYPE(PlayerKind)

class TestPlayerControl : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    FakeLauncher m_launcher;
    ScriptedPrompts m_prompts;
    std::unique_ptr<SettingsStore> m_store;
    DialogSettings m_dialog;
    ClassNames m_classes;
    PlayerWindows m_windows;
    std::unique_ptr<FakePlayer> m_winamp, m_scmpx;
    QStringList m_both; // what both players got, in order

    // What the window would supply.
    PlayerKind m_applied = PlayerKind::Winamp;
    QStringList m_selected;
    QStringList m_errors;
    Qt::KeyboardModifiers m_modifiers;
    int m_volume = 10;
    QStringList m_builtin; // calls into the built-in player
    int m_applies = 0;

    QString ini() const { return m_dir.filePath(QStringLiteral("config/Tunov.ini")); }
    QString prog() const { return m_dir.filePath(QString::fromUtf8("prog 曲/")); }
    QString winampExe() const { return prog() + QStringLiteral("winamp"); }
    QString scmpxExe() const { return prog() + QStringLiteral("scmpx"); }

    // The settings file the hand-over reloads; player 0/1/2, start mode 0/1/2.
    void writeSettings(int player, const QString &winamp, const QString &scmpx, int startMode = 0)
    {
        QByteArray s = "[Setting]\r\nWinamp=" + winamp.toUtf8() + "\r\nSCMPX=" + scmpx.toUtf8() + "\r\n";
        const char *players[3] = {"WinampCheck", "SCMPXCheck", "MCICheck"};
        const char *modes[3] = {"RunNormal", "RunMinimize", "RunHide"};
        for (int i = 0; i < 3; ++i) {
            s += QByteArray(players[i]) + '=' + (i == player ? '1' : '0') + "\r\n";
            s += QByteArray(modes[i]) + '=' + (i == startMode ? '1' : '0') + "\r\n";
        }
        writeFile(ini(), s);
    }

    // The window's side, answered from the members above.
    struct FakeHost final : PlayerHost {
        TestPlayerControl &t;
        explicit FakeHost(TestPlayerControl &t) : t(t) {}
        PlayerKind appliedPlayer() const override { return t.m_applied; }
        QStringList selectedPaths() const override { return t.m_selected; }
        void error(const QString &text) override { t.m_errors << text; }
        Qt::KeyboardModifiers modifiers() const override { return t.m_modifiers; }
        int volumePosition() const override { return t.m_volume; }
        void setVolumePosition(int p) override { t.m_volume = p; }
        void applySettings() override { ++t.m_applies; }
        void storeError(const ProfileWrite &) override {}
    };
    // The built-in player, recording the calls into it; its volume goes
    // where the real one sends it.
    struct FakeBuiltin final : Player, PlayerFailureSink {
        QStringList &calls;
        QTimer timer;
        BuiltinPlayerSource source{*this, timer};
        BuiltinPlayback real;
        FakeBuiltin(QStringList &calls, PlayerContext &context) : calls(calls), real(context, source) {}
        HandOver handOver(const QStringList &p, int) override
        {
            calls << QStringLiteral("handOver ") + p.join(u'|');
            return {};
        }
        bool isRunning() const override { return true; }
        void transport(int b, Qt::KeyboardModifiers) override { calls << QStringLiteral("transport %1").arg(b); }
        void quit() override { calls << QStringLiteral("stop"); }
        void setVolume(int value) override { real.setVolume(value); }
        std::optional<Time> time() override { return std::nullopt; }
        PlayingFile playingFile(QString &) override { return {}; }
        qint64 lyricsPosition() override { return 0; }
        bool showFailure(const QString &, const QString &, bool) override { return true; }
        void showException(const QString &) override {}
    };
    FakeHost m_host{*this};

    std::unique_ptr<PlayerControl> makeControl()
    {
        const auto factory = [this](PlayerKind kind, PlayerContext &context) -> std::unique_ptr<Player> {
            if (kind == PlayerKind::Builtin)
                return std::make_unique<FakeBuiltin>(m_builtin, context);
            return makePlayer(kind, context);
        };
        return std::make_unique<PlayerControl>(PlayerContext{m_host, m_launcher, m_windows, m_dialog, m_classes},
                                               *m_store, factory);
    }

    // Messages the players got, without the volume that ends every hand-over.
    static QStringList withoutVolume(QStringList log)
    {
        log.removeIf([](const QString &l) { return l.endsWith(QLatin1String(" 122")) || l.endsWith(sendUser(0, 0)); });
        return log;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir().mkpath(prog());
        // The window's single-instance lock must not meet another Tunovia of this user.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
        writeFile(winampExe(), "#!/bin/sh\n");
        writeFile(scmpxExe(), "#!/bin/sh\n");
        const QString tag = QString::number(QCoreApplication::applicationPid());
        m_classes.winamp = QStringLiteral("Winamp v1.x test ") + tag;
        m_classes.scmpx = QStringLiteral("SCMPX test ") + tag;
    }

    void init()
    {
        m_launcher.clear();
        m_launcher.succeed = true;
        m_prompts.clear();
        QFile::remove(ini());
        QFile::remove(prog() + QStringLiteral("WINAMP.m3u"));
        QFile::remove(prog() + QStringLiteral("SCMPX.m3u"));
        m_store = std::make_unique<SettingsStore>(ini(), nullptr, prog());
        m_dialog = DialogSettings();
        m_both.clear();
        m_winamp = std::make_unique<FakePlayer>(m_classes.winamp, &m_both, QStringLiteral("winamp"));
        m_scmpx = std::make_unique<FakePlayer>(m_classes.scmpx, &m_both, QStringLiteral("scmpx"));
        m_applied = PlayerKind::Winamp;
        m_selected.clear();
        m_errors.clear();
        m_modifiers = Qt::NoModifier;
        m_volume = 10;
        m_builtin.clear();
        m_applies = 0;
    }

    void cleanup()
    {
        m_winamp.reset();
        m_scmpx.reset();
    }

    // ---- playlist ----

    void playlistBytes_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii, CR LF after every line")
            << QStringList{QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")}
            << QByteArray("/m/a.mp3\r\n/m/b.mp3\r\n");
        // The names are this system's, so UTF-8 even where CP932 would do.
        QTest::newRow("double-byte") << QStringList{U("/曲/ア.mp3")}
                                     << QByteArray("/\xE6\x9B\xB2/\xE3\x82\xA2.mp3\r\n");
        // In CP932 these are C3 BD, which a player would take for UTF-8 "ý".
        QTest::newRow("half-width kana") << QStringList{U("/m/ﾃｽ.mp3")}
                                         << QByteArray("/m/\xEF\xBE\x83\xEF\xBD\xBD.mp3\r\n");
        QTest::newRow("outside CP932") << QStringList{U("/曲/a.mp3"), U("/é🎵/b.mp3")}
                                       << U("/曲/a.mp3\r\n/é🎵/b.mp3\r\n").toUtf8();
        QTest::newRow("nothing") << QStringList{} << QByteArray();
    }
    void playlistBytes()
    {
        QFETCH(QStringList, paths);
        QFETCH(QByteArray, bytes);
        QCOMPARE(PlayerControl::playlistBytes(paths), bytes);
        // What the player reads back is what was handed over.
        if (!paths.isEmpty())
            QCOMPARE(text::decode(bytes), paths.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }

    void handOverWritesPlaylistAndStartsPlayer_data()
    {
        QTest::addColumn<int>("startMode");
        QTest::addColumn<int>("show");
        QTest::newRow("normal") << 0 << 5;
        QTest::newRow("minimised") << 1 << 6;
        QTest::newRow("hidden") << 2 << 0;
    }
    void handOverWritesPlaylistAndStartsPlayer()
    {
        QFETCH(int, startMode);
        QFETCH(int, show);
        writeSettings(0, winampExe(), QString(), startMode);
        m_selected = {U("/music/曲 b.mp3"), QStringLiteral("/music/a.mp3")};
        makeControl()->handOver();

        const QString playlist = prog() + QStringLiteral("WINAMP.m3u");
        QCOMPARE(readFile(playlist), U("/music/曲 b.mp3\r\n/music/a.mp3\r\n").toUtf8());
        QCOMPARE(m_launcher.requests().size(), 1);
        const auto &r = m_launcher.requests().first();
        // Program as stored and exactly one argument: no quoting, no shell.
        QCOMPARE(r.target, winampExe());
        QCOMPARE(r.arguments, QStringList{playlist});
        QCOMPARE(r.showWindow, show);
        QVERIFY(m_errors.isEmpty());
        // The other players were stopped first, the volume sent last.
        QCOMPARE(m_scmpx->log, (QStringList{sendCmd(40022), sendCmd(40001)}));
        QCOMPARE(m_winamp->log, QStringList{sendUser(255, 122)});
        QCOMPARE(m_builtin, QStringList{QStringLiteral("stop")});
    }

    void nothingSelectedStartsWithoutArgument()
    {
        writeSettings(0, winampExe(), QString());
        const QString playlist = prog() + QStringLiteral("WINAMP.m3u");
        writeFile(playlist, "/old.mp3\r\n");
        makeControl()->handOver();
        QCOMPARE(m_launcher.requests().size(), 1);
        QVERIFY(m_launcher.requests().first().arguments.isEmpty());
        QCOMPARE(readFile(playlist), QByteArray("/old.mp3\r\n"));
        // A failed start does not take the old list with it either.
        m_launcher.succeed = false;
        makeControl()->handOver();
        QCOMPARE(readFile(playlist), QByteArray("/old.mp3\r\n"));
    }

    void failedStartDeletesPlaylist()
    {
        writeSettings(1, QString(), scmpxExe());
        m_applied = PlayerKind::Scmpx;
        m_selected = {QStringLiteral("/m/a.mp3")};
        m_launcher.succeed = false;
        makeControl()->handOver();
        QCOMPARE(m_launcher.requests().size(), 1);
        QVERIFY(!QFile::exists(prog() + QStringLiteral("SCMPX.m3u")));
        QVERIFY(m_errors.isEmpty()); // nothing is reported
        // A running SCMPX is still told to load it.
        QVERIFY(m_scmpx->log.contains(sendUser(0, scmpx::PathBegin)));
    }

    void unwritablePlaylistStartsNothing()
    {
        // A folder where the playlist should be: the list cannot be written.
        const QString folder = m_dir.filePath(QStringLiteral("blocked/"));
        QDir().mkpath(folder + QStringLiteral("WINAMP.m3u"));
        writeFile(folder + QStringLiteral("winamp"), "x");
        writeSettings(0, folder + QStringLiteral("winamp"), QString());
        m_selected = {QStringLiteral("/m/a.mp3")};
        makeControl()->handOver();
        // Starting now would play whatever list was there before.
        QVERIFY(m_launcher.requests().isEmpty());
        QCOMPARE(m_errors.size(), 1);
        QVERIFY(m_errors.first().startsWith(U("プレイリストを書き込めませんでした。")));
        QVERIFY(QFileInfo(folder + QStringLiteral("WINAMP.m3u")).isDir());
    }

    void pathProblemsStopEverything_data()
    {
        QTest::addColumn<int>("player");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("winamp empty") << 0 << QString() << U("Winampのパスを設定してください。");
        QTest::newRow("winamp missing") << 0 << QStringLiteral("/no/such/winamp")
                                        << U("Winampのパスが間違っています。");
        QTest::newRow("scmpx empty") << 1 << QString() << U("SCMPXのパスを設定してください。");
        QTest::newRow("scmpx missing") << 1 << QStringLiteral("/no/such/scmpx") << U("SCMPXのパスが間違っています。");
        // A folder is no program: it is named as wrong instead of failing silently.
        QTest::newRow("winamp is a folder") << 0 << QStringLiteral("/tmp") << U("Winampのパスが間違っています。");
        QTest::newRow("scmpx is a folder") << 1 << QStringLiteral("/") << U("SCMPXのパスが間違っています。");
    }
    void pathProblemsStopEverything()
    {
        QFETCH(int, player);
        QFETCH(QString, path);
        QFETCH(QString, message);
        // The other player's path is fine: only the chosen one is checked.
        writeSettings(player, player == 0 ? path : winampExe(), player == 1 ? path : scmpxExe());
        m_applied = player == 0 ? PlayerKind::Winamp : PlayerKind::Scmpx;
        m_selected = {QStringLiteral("/m/a.mp3")};
        makeControl()->handOver();
        QCOMPARE(m_errors, QStringList{message});
        QVERIFY(m_launcher.requests().isEmpty());
        QVERIFY(m_winamp->log.isEmpty());
        QVERIFY(m_scmpx->log.isEmpty());
        QVERIFY(m_builtin.isEmpty());
    }

    void scmpxGetsPlaylistPathByteWise()
    {
        writeSettings(1, QString(), scmpxExe());
        m_applied = PlayerKind::Scmpx;
        m_selected = {QStringLiteral("/m/a.mp3")};
        m_scmpx->version = scmpx::InvertedVolumeVersion;
        m_volume = 3;
        makeControl()->handOver();

        const QString playlist = prog() + QStringLiteral("SCMPX.m3u");
        QStringList expected{sendUser(0, scmpx::PathBegin)};
        const QByteArray bytes = QFile::encodeName(playlist);
        QVERIFY(bytes.contains("\xe6\x9b\xb2")); // 曲: bytes above 0x7F
        for (char b : bytes)
            expected << QStringLiteral("post 1024 %1 100").arg(int(qint8(b)));
        expected << QStringLiteral("post 1024 0 100") << sendUser(0, scmpx::Play);
        // Then the volume: version request, inverted value for 2464.
        expected << sendUser(0, 0) << sendUser(255 - 76, 122);
        QCOMPARE(m_scmpx->log, expected);
        QVERIFY(m_scmpx->log.contains(QStringLiteral("post 1024 -26 100")));
        QCOMPARE(m_winamp->log, (QStringList{sendCmd(40047), sendCmd(40001)}));
    }

    void startedPlayerGetsVolumeOnceItsWindowAppears_data()
    {
        QTest::addColumn<int>("player");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("winamp") << 0 << QStringList{sendUser(76, 122)};
        // The stand-in's SCMPX reports the inverted-scale version.
        QTest::newRow("scmpx") << 1 << QStringList{sendUser(0, 0), sendUser(255 - 76, 122)};
    }
    void startedPlayerGetsVolumeOnceItsWindowAppears()
    {
        QFETCH(int, player);
        QFETCH(QStringList, expected);
        const bool winamp = player == 0;
        writeSettings(player, winampExe(), scmpxExe());
        m_applied = winamp ? PlayerKind::Winamp : PlayerKind::Scmpx;
        m_selected = {QStringLiteral("/m/a.mp3")};
        (winamp ? m_winamp : m_scmpx).reset(); // not running yet
        const auto control = makeControl();
        control->handOver();
        QCOMPARE(m_launcher.requests().size(), 1);

        // The bar moves while the player starts: the window gets what it shows then.
        m_volume = 3;
        QTest::qWait(3 * PlayerControl::WindowWatchMs);
        auto &started = winamp ? m_winamp : m_scmpx;
        started = std::make_unique<FakePlayer>(winamp ? m_classes.winamp : m_classes.scmpx);
        started->version = scmpx::InvertedVolumeVersion;
        QTRY_COMPARE(started->log, expected);
        QTest::qWait(3 * PlayerControl::WindowWatchMs); // once, not on every look
        QCOMPARE(started->log, expected);
    }

    void builtinHandOverGoesToBuiltinPlayer()
    {
        writeSettings(2, QString(), QString()); // no path check for the built-in player
        m_applied = PlayerKind::Builtin;
        m_selected = {QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")};
        makeControl()->handOver();
        QVERIFY(m_errors.isEmpty());
        QVERIFY(m_launcher.requests().isEmpty());
        QCOMPARE(m_builtin, QStringList{QStringLiteral("handOver /m/a.mp3|/m/b.mp3")});
        const QString w = QStringLiteral("winamp "), s = QStringLiteral("scmpx ");
        QCOMPARE(withoutVolume(m_both),
                 (QStringList{w + sendCmd(40047), w + sendCmd(40001), s + sendCmd(40022), s + sendCmd(40001)}));
    }

    // ---- transport and quit ----

    void transportCodes_data()
    {
        QTest::addColumn<PlayerKind>("applied");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("winamp");
        QTest::addColumn<QString>("scmpx");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("winamp previous") << PlayerKind::Winamp << 1 << 0 << sendCmd(40044) << QString();
        QTest::newRow("winamp play") << PlayerKind::Winamp << 2 << 0 << sendCmd(40045) << QString();
        QTest::newRow("winamp next") << PlayerKind::Winamp << 5 << 0 << sendCmd(40048) << QString();
        QTest::newRow("winamp shift previous") << PlayerKind::Winamp << 1 << shift << sendCmd(40144) << QString();
        QTest::newRow("winamp ctrl stop") << PlayerKind::Winamp << 4 << ctrl << sendCmd(40157) << QString();
        QTest::newRow("winamp shift+ctrl next: shift wins")
            << PlayerKind::Winamp << 5 << (shift | ctrl) << sendCmd(40148) << QString();
        QTest::newRow("winamp alt is plain")
            << PlayerKind::Winamp << 3 << int(Qt::AltModifier) << sendCmd(40046) << QString();
        QTest::newRow("scmpx previous") << PlayerKind::Scmpx << 1 << shift << QString() << sendCmd(40024);
        QTest::newRow("scmpx play is a request") << PlayerKind::Scmpx << 2 << 0 << QString() << sendUser(0, 102);
        QTest::newRow("scmpx pause") << PlayerKind::Scmpx << 3 << 0 << QString() << sendCmd(40058);
        QTest::newRow("scmpx stop") << PlayerKind::Scmpx << 4 << 0 << QString() << sendCmd(40022);
        QTest::newRow("scmpx next") << PlayerKind::Scmpx << 5 << ctrl << QString() << sendCmd(40023);
        QTest::newRow("builtin") << PlayerKind::Builtin << 5 << shift << QString() << QString();
    }
    void transportCodes()
    {
        QFETCH(PlayerKind, applied);
        QFETCH(int, button);
        QFETCH(int, modifiers);
        QFETCH(QString, winamp);
        QFETCH(QString, scmpx);
        m_applied = applied;
        m_modifiers = Qt::KeyboardModifiers(modifiers);
        makeControl()->transport(button);
        QCOMPARE(m_winamp->log, winamp.isEmpty() ? QStringList() : QStringList{winamp});
        QCOMPARE(m_scmpx->log, scmpx.isEmpty() ? QStringList() : QStringList{scmpx});
        QCOMPARE(m_builtin, applied == PlayerKind::Builtin ? QStringList{QStringLiteral("transport %1").arg(button)}
                                                           : QStringList());
    }

    void quitGoesToAppliedPlayer()
    {
        auto control = makeControl();
        control->quit();
        QCOMPARE(m_winamp->log, (QStringList{sendCmd(40047), sendCmd(40001)}));
        m_applied = PlayerKind::Scmpx;
        control->quit();
        QCOMPARE(m_scmpx->log, (QStringList{sendCmd(40022), sendCmd(40001)}));
        m_applied = PlayerKind::Builtin;
        control->quit();
        QCOMPARE(m_builtin, QStringList{QStringLiteral("stop")});
        QCOMPARE(m_winamp->log.size() + m_scmpx->log.size(), 4);
    }

    // ---- volume ----

    void volumeValues()
    {
        const int expected[11] = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
        for (int p = 0; p <= 10; ++p)
            QCOMPARE(PlayerControl::volumeValue(p), expected[p]);
    }

    void volumeReachesAppliedPlayer_data()
    {
        QTest::addColumn<PlayerKind>("applied");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("winamp");
        QTest::addColumn<QStringList>("scmpx");
        QTest::newRow("winamp at 3") << PlayerKind::Winamp << 3 << 0 << QStringList{sendUser(76, 122)} << QStringList();
        QTest::newRow("scmpx 2464 at 10")
            << PlayerKind::Scmpx << 10 << 2464 << QStringList() << QStringList{sendUser(0, 0), sendUser(0, 122)};
        QTest::newRow("scmpx other at 10")
            << PlayerKind::Scmpx << 10 << 2463 << QStringList() << QStringList{sendUser(0, 0), sendUser(255, 122)};
        QTest::newRow("scmpx 2464 at 0") << PlayerKind::Scmpx << 0 << 2464 << QStringList()
                                         << QStringList{sendUser(0, 0), sendUser(255, 122)};
        QTest::newRow("builtin: scmpx still told")
            << PlayerKind::Builtin << 5 << 0 << QStringList() << QStringList{sendUser(0, 0), sendUser(127, 122)};
    }
    void volumeReachesAppliedPlayer()
    {
        QFETCH(PlayerKind, applied);
        QFETCH(int, position);
        QFETCH(int, version);
        QFETCH(QStringList, winamp);
        QFETCH(QStringList, scmpx);
        m_applied = applied;
        m_volume = position;
        m_scmpx->version = version;
        makeControl()->applyVolume();
        QCOMPARE(m_winamp->log, winamp);
        QCOMPARE(m_scmpx->log, scmpx);
    }

    void presetsAndSteps_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("bar");
        QTest::newRow("preset A at 10") << QStringLiteral("A") << 7 << 0;
        QTest::newRow("preset B at 5") << QStringLiteral("B") << 7 << 5;
        QTest::newRow("preset C at 0") << QStringLiteral("C") << 7 << 10;
        QTest::newRow("up") << QStringLiteral("up") << 4 << 5;
        QTest::newRow("up at 10 stays") << QStringLiteral("up") << 10 << 10;
        QTest::newRow("down") << QStringLiteral("down") << 4 << 3;
        QTest::newRow("down at 0 stays") << QStringLiteral("down") << 0 << 0;
    }
    void presetsAndSteps()
    {
        QFETCH(QString, command);
        QFETCH(int, start);
        QFETCH(int, bar);
        m_volume = start;
        auto control = makeControl();
        if (command == QLatin1String("up"))
            control->volumeUp();
        else if (command == QLatin1String("down"))
            control->volumeDown();
        else
            control->volumePreset(command.at(0).unicode() - 'A');
        QCOMPARE(m_volume, bar);
        // Sent exactly once, also when the bar did not move.
        QCOMPARE(m_winamp->log, QStringList{sendUser(PlayerControl::volumeValue(bar), 122)});
    }

    // ---- player choice ----

    void playerChoiceWritesThreeKeys()
    {
        const QByteArray before = "; mine\r\n[Setting]\r\nWinamp=/x/winamp\r\nWinampCheck=1\r\nSCMPXCheck=0\r\n"
                                  "MCICheck=0\r\nRunHide=1\r\n[Other]\r\nKey=v\r\n";
        writeFile(ini(), before);
        m_dialog.winamp = QStringLiteral("/changed/in/memory"); // not written by these commands
        auto control = makeControl();
        control->choosePlayer(PlayerKind::Scmpx);
        QByteArray expected = before;
        expected.replace("WinampCheck=1\r\nSCMPXCheck=0", "WinampCheck=0\r\nSCMPXCheck=1");
        QCOMPARE(readFile(ini()), expected);
        QCOMPARE(m_applies, 1);

        // The cycle: SCMPX -> built-in -> Winamp -> SCMPX, written each time.
        const char *const cycle[3][3] = {{"0", "0", "1"}, {"1", "0", "0"}, {"0", "1", "0"}};
        for (const auto &keys : cycle) {
            control->cyclePlayer();
            ProfileFile profile(ini());
            QCOMPARE(profile.readString(QStringLiteral("Setting"), QStringLiteral("WinampCheck"), {}),
                     QLatin1String(keys[0]));
            QCOMPARE(profile.readString(QStringLiteral("Setting"), QStringLiteral("SCMPXCheck"), {}),
                     QLatin1String(keys[1]));
            QCOMPARE(profile.readString(QStringLiteral("Setting"), QStringLiteral("MCICheck"), {}),
                     QLatin1String(keys[2]));
        }
        QVERIFY(m_dialog.usesScmpx());
        QCOMPARE(m_applies, 4);
    }

    // ---- through the main window ----

    void mainWindowHandsOverSelectionInListOrder()
    {
        writeSettings(0, winampExe(), QString());
        TTunoviaF w(MainServices{m_prompts, m_launcher, *m_store});
        w.setCurrentIndexPath(QStringLiteral("/idx/groups.ini"));
        auto track = [](const char *title, const char *path) {
            TrackRecord t;
            t[TrackField::Title] = QString::fromUtf8(title);
            t[TrackField::Path] = QString::fromUtf8(path);
            return t;
        };
        w.model()->setTracks({track("c", "music/c.mp3"), track("a", "/abs/a.mp3"), track("b", "music/b.mp3"),
                              track("d", "music/d.mp3")});
        w.model()->sortByState(1); // by title: a b c d
        QItemSelectionModel *sel = w.currentList()->selectionModel();
        for (int row : {0, 2, 1}) // selected out of order; the list order counts
            sel->select(w.model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.MP3ListViewDblClick();
        QCOMPARE(readFile(prog() + QStringLiteral("WINAMP.m3u")),
                 QByteArray("/abs/a.mp3\r\n/idx/music/b.mp3\r\n/idx/music/c.mp3\r\n"));
        QCOMPARE(m_launcher.requests().size(), 1);
        QVERIFY(m_prompts.asked().isEmpty());
    }

    void mainWindowPathMessage()
    {
        writeSettings(0, QString(), QString());
        TTunoviaF w(MainServices{m_prompts, m_launcher, *m_store});
        w.MP3ListViewDblClick();
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked().first().title, U("Tunovia エラー"));
        QCOMPARE(m_prompts.asked().first().text, U("Winampのパスを設定してください。"));
        QCOMPARE(m_prompts.asked().first().icon, Prompts::Icon::Error);
        QVERIFY(m_launcher.requests().isEmpty());
    }

    void mainWindowChoiceShowsButtonAndVolumeBarSends()
    {
        // The window's own class names are the defaults; route them to the fakes.
        writeFile(ini(), QByteArray());
        m_winamp = std::make_unique<FakePlayer>(QStringLiteral("Winamp v1.x"));
        m_scmpx = std::make_unique<FakePlayer>(QStringLiteral("SCMPX"));
        TTunoviaF w(MainServices{m_prompts, m_launcher, *m_store});
        w.connectPlayerControls();
        auto *runScmpx = w.findChild<QToolButton *>(QStringLiteral("RunScmpx"));
        auto *runWinamp = w.findChild<QToolButton *>(QStringLiteral("RunWinamp"));
        w.UseChangeMnuClick(); // Winamp -> SCMPX
        QVERIFY(!runScmpx->isHidden());
        QVERIFY(runWinamp->isHidden());
        QVERIFY(w.dialogSettings().usesScmpx());

        w.volumeBar()->setValue(10);
        w.volumeBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); // the user moves it
        QTRY_COMPARE(m_scmpx->log, (QStringList{sendUser(0, 0), sendUser(229, 122)}));
        // Set by the program: no message.
        w.volumeBar()->setValue(2);
        QTest::qWait(20);
        QCOMPARE(m_scmpx->log.size(), 2);

        w.UseWinampMnuClick();
        w.playerModifiers = [] { return Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier); };
        w.SpeedButton5Click();
        QCOMPARE(m_winamp->log, QStringList{sendCmd(40148)});
        w.VolCMnuClick();
        QCOMPARE(w.volumePosition(), 10);
        QCOMPARE(m_winamp->log.last(), sendUser(255, 122));
        w.PlayerQuitMnuClick();
        QCOMPARE(m_winamp->log.mid(m_winamp->log.size() - 2), (QStringList{sendCmd(40047), sendCmd(40001)}));
    }
};

QTEST_MAIN(TestPlayerControl)
#include "test_playercontrol.moc"
