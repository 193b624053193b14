#include "playback/playercontrol.h"

#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/textcodec.h"
#include "platform/u8.h"
#include "playback/playermessages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <array>

namespace {

constexpr std::array<qint64, 5> kScmpxTransport{scmpx::Previous, 0, scmpx::Pause, scmpx::Stop, scmpx::Next};

} // namespace

PlayerControl::PlayerControl(Launcher &launcher, PlayerWindows &windows, SettingsStore &store, DialogSettings &dialog,
                             const ClassNames &classNames, PlayerHooks hooks)
    : m_launcher(launcher), m_windows(windows), m_store(store), m_dialog(dialog), m_classNames(classNames),
      m_hooks(std::move(hooks))
{
    m_startWatch.setInterval(WindowWatchMs);
    QObject::connect(&m_startWatch, &QTimer::timeout, &m_startWatch, [this] {
        if (!m_windows.find(m_startClass).isNull()) {
            m_startWatch.stop();
            applyVolume();
        } else if (m_startClock.elapsed() >= WindowWaitMs) {
            m_startWatch.stop();
        }
    });
}

// ---- rules ----

int PlayerControl::volumeValue(int position)
{
    // Integer form of position x 0.1 x 255, truncated; exact for every step.
    return std::clamp(position, 0, 10) * 255 / 10;
}

qint64 PlayerControl::transportCode(PlayerKind player, int button, Qt::KeyboardModifiers modifiers)
{
    if (button < 1 || button > 5)
        return 0;
    switch (player) {
    case PlayerKind::Winamp: {
        const qint64 plain = winamp::Previous + (button - 1);
        // Shift wins when both are held.
        if (modifiers & Qt::ShiftModifier)
            return winamp::ShiftCode(plain);
        if (modifiers & Qt::ControlModifier)
            return winamp::CtrlCode(plain);
        return plain;
    }
    case PlayerKind::Scmpx:
        return kScmpxTransport[size_t(button - 1)];
    case PlayerKind::Builtin:
        break;
    }
    return 0;
}

QByteArray PlayerControl::playlistBytes(const QStringList &paths)
{
    QString content;
    for (const QString &path : paths)
        content += path + QStringLiteral("\r\n");
    return text::encodeForSystem(content);
}

QString PlayerControl::playlistPathFor(PlayerKind player, const QString &executable)
{
    const QString name = player == PlayerKind::Scmpx ? QStringLiteral("SCMPX.m3u") : QStringLiteral("WINAMP.m3u");
    // Absolute, so a running player with another working folder finds it too.
    return QFileInfo(paths::folderPart(paths::fromWindows(executable)) + name).absoluteFilePath();
}

int PlayerControl::showWindowValue(const RadioGroup &startMode)
{
    if (startMode.isOn(1))
        return Launcher::Minimize;
    if (startMode.isOn(2))
        return Launcher::Hide;
    return Launcher::Normal;
}

// ---- state ----

PlayerKind PlayerControl::chosenPlayer() const
{
    if (m_dialog.usesScmpx())
        return PlayerKind::Scmpx;
    if (m_dialog.usesBuiltin())
        return PlayerKind::Builtin;
    return PlayerKind::Winamp;
}

PlayerKind PlayerControl::appliedPlayer() const
{
    return m_hooks.appliedPlayer ? m_hooks.appliedPlayer() : chosenPlayer();
}

void PlayerControl::sendCommands(const QString &className, std::initializer_list<qint64> codes)
{
    const WindowHandle window = m_windows.find(className);
    if (window.isNull())
        return;
    for (qint64 code : codes)
        m_windows.send(window, WM_COMMAND, code, 0);
}

// ---- hand-over ----

bool PlayerControl::checkExecutable(PlayerKind chosen)
{
    if (chosen == PlayerKind::Builtin)
        return true;
    const bool isWinamp = chosen == PlayerKind::Winamp;
    const QString &path = isWinamp ? m_dialog.winamp : m_dialog.scmpx;
    const char *problem = nullptr;
    if (path.isEmpty())
        problem = isWinamp ? "Winampのパスを設定してください。" : "SCMPXのパスを設定してください。";
    else if (!QFileInfo(path).isFile()) // a folder cannot be started either
        problem = isWinamp ? "Winampのパスが間違っています。" : "SCMPXのパスが間違っています。";
    if (!problem)
        return true;
    if (m_hooks.error)
        m_hooks.error(U(problem));
    return false;
}

void PlayerControl::stopOtherPlayers()
{
    const PlayerKind applied = appliedPlayer();
    // With the built-in player applied, Winamp is stopped before SCMPX.
    if (applied == PlayerKind::Builtin)
        sendCommands(m_classNames.winamp, {winamp::Stop, winamp::Close});
    if (applied != PlayerKind::Scmpx)
        sendCommands(m_classNames.scmpx, {scmpx::Stop, scmpx::Close});
    if (applied == PlayerKind::Scmpx)
        sendCommands(m_classNames.winamp, {winamp::Stop, winamp::Close});
    if (applied != PlayerKind::Builtin && m_hooks.builtinStopAndClose)
        m_hooks.builtinStopAndClose();
}

void PlayerControl::sendScmpxPlaylist(const QString &playlistPath)
{
    const WindowHandle window = m_windows.find(m_classNames.scmpx);
    if (window.isNull())
        return;
    m_windows.send(window, WM_USER, 0, scmpx::PathBegin);
    for (const char byte : QFile::encodeName(playlistPath))
        m_windows.post(window, WM_USER, scmpx::pathCharParam(byte), scmpx::PathChar);
    m_windows.post(window, WM_USER, 0, scmpx::PathChar);
    m_windows.send(window, WM_USER, 0, scmpx::Play);
}

void PlayerControl::awaitStartedWindow(const QString &className)
{
    m_startClass = className;
    m_startClock.start();
    m_startWatch.start();
}

void PlayerControl::handOver()
{
    m_startWatch.stop();
    m_store.loadSettings(m_dialog);
    const PlayerKind chosen = chosenPlayer();
    if (!checkExecutable(chosen))
        return;
    stopOtherPlayers();
    const int show = showWindowValue(m_dialog.startMode);
    const QStringList tracks = m_hooks.selectedPaths ? m_hooks.selectedPaths() : QStringList();

    if (chosen == PlayerKind::Builtin) {
        if (m_hooks.builtinHandOver)
            m_hooks.builtinHandOver(tracks);
    } else {
        const QString executable = chosen == PlayerKind::Winamp ? m_dialog.winamp : m_dialog.scmpx;
        const QString playlist = playlistPathFor(chosen, executable);
        QStringList arguments;
        if (!tracks.isEmpty()) {
            // Written whole and renamed into place: a player reading its
            // playlist never sees half of it.
            QSaveFile file(playlist);
            if (!file.open(QIODevice::WriteOnly) || file.write(playlistBytes(tracks)) < 0 || !file.commit()) {
                // Starting the player now would play the previous list.
                if (m_hooks.error)
                    m_hooks.error(U("プレイリストを書き込めませんでした。\n%1").arg(playlist));
                return;
            }
            arguments << playlist;
        }
        const QString &className = chosen == PlayerKind::Winamp ? m_classNames.winamp : m_classNames.scmpx;
        const bool wasRunning = !m_windows.find(className).isNull();
        // Only a list written just now is ours to remove; an older one stays.
        if (m_launcher.startDetached(executable, arguments, show)) {
            // The volume sent below reaches no window while the new player
            // is still starting.
            if (!wasRunning)
                awaitStartedWindow(className);
        } else if (!tracks.isEmpty()) {
            QFile::remove(playlist);
        }
        if (appliedPlayer() == PlayerKind::Scmpx)
            sendScmpxPlaylist(playlist);
    }
    applyVolume();
}

// ---- transport and quit ----

void PlayerControl::transport(int button)
{
    if (button < 1 || button > 5)
        return;
    switch (appliedPlayer()) {
    case PlayerKind::Builtin:
        if (m_hooks.builtinTransport)
            m_hooks.builtinTransport(button);
        return;
    case PlayerKind::Winamp: {
        const Qt::KeyboardModifiers held = m_hooks.modifiers ? m_hooks.modifiers() : Qt::NoModifier;
        sendCommands(m_classNames.winamp, {transportCode(PlayerKind::Winamp, button, held)});
        return;
    }
    case PlayerKind::Scmpx: {
        if (button == 2) {
            const WindowHandle window = m_windows.find(m_classNames.scmpx);
            if (!window.isNull())
                m_windows.send(window, WM_USER, 0, scmpx::Play);
            return;
        }
        sendCommands(m_classNames.scmpx, {transportCode(PlayerKind::Scmpx, button, Qt::NoModifier)});
        return;
    }
    }
}

void PlayerControl::quit()
{
    switch (appliedPlayer()) {
    case PlayerKind::Winamp:
        sendCommands(m_classNames.winamp, {winamp::Stop, winamp::Close});
        break;
    case PlayerKind::Scmpx:
        sendCommands(m_classNames.scmpx, {scmpx::Stop, scmpx::Close});
        break;
    case PlayerKind::Builtin:
        if (m_hooks.builtinStopAndClose)
            m_hooks.builtinStopAndClose();
        break;
    }
}

// ---- player choice ----

void PlayerControl::choosePlayer(PlayerKind player)
{
    m_dialog.player.checked = int(player);
    const StoreResult result = m_store.savePlayerChoice(m_dialog);
    if (result) {
        // A failed write ends the command; the window keeps its player.
        if (m_hooks.storeError)
            m_hooks.storeError(result);
        return;
    }
    if (m_hooks.applySettings)
        m_hooks.applySettings();
}

void PlayerControl::cyclePlayer()
{
    if (m_dialog.usesWinamp())
        choosePlayer(PlayerKind::Scmpx);
    else if (m_dialog.usesScmpx())
        choosePlayer(PlayerKind::Builtin);
    else
        choosePlayer(PlayerKind::Winamp);
}

// ---- volume ----

void PlayerControl::applyVolume()
{
    const int v = volumeValue(m_hooks.volumePosition ? m_hooks.volumePosition() : 10);
    if (appliedPlayer() == PlayerKind::Winamp) {
        const WindowHandle window = m_windows.find(m_classNames.winamp);
        if (!window.isNull())
            m_windows.send(window, WM_USER, v, winamp::IpcSetVolume);
        return;
    }
    // The built-in player's volume is not controlled; SCMPX gets it then too.
    const WindowHandle window = m_windows.find(m_classNames.scmpx);
    if (window.isNull())
        return;
    const qint64 version = m_windows.send(window, WM_USER, 0, scmpx::GetVersion);
    m_windows.send(window, WM_USER, version == scmpx::InvertedVolumeVersion ? 255 - v : v, scmpx::SetVolume);
}

void PlayerControl::setVolumeAndApply(int position)
{
    if (m_hooks.setVolumePosition)
        m_hooks.setVolumePosition(std::clamp(position, 0, 10));
    applyVolume();
}

void PlayerControl::volumePreset(int which)
{
    const std::array<int, 3> presets{m_dialog.volA, m_dialog.volB, m_dialog.volC};
    if (which < 0 || which > 2)
        return;
    // A preset thumb higher up (smaller position) means louder.
    setVolumeAndApply(10 - presets[size_t(which)]);
}

void PlayerControl::volumeDown()
{
    const int position = m_hooks.volumePosition ? m_hooks.volumePosition() : 10;
    setVolumeAndApply(position > 0 ? position - 1 : position);
}

void PlayerControl::volumeUp()
{
    const int position = m_hooks.volumePosition ? m_hooks.volumePosition() : 10;
    setVolumeAndApply(position < 10 ? position + 1 : position);
}
