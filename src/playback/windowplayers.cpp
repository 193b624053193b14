#include "playback/windowplayers.h"

#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/u8.h"
#include "playback/playercontrol.h"
#include "playback/playermessages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>

// ---- shared ----

QString WindowPlayer::playlistPathFor(const QString &executable, const QString &playlistName)
{
    // Absolute, so a running player with another working folder finds it too.
    return QFileInfo(paths::folderPart(paths::fromWindows(executable)) + playlistName).absoluteFilePath();
}

bool WindowPlayer::canHandOver()
{
    const QString &path = m_context.dialog.*m_traits.executable;
    const char *problem = nullptr;
    if (path.isEmpty())
        problem = m_traits.noPathText;
    else if (!QFileInfo(path).isFile()) // a folder cannot be started either
        problem = m_traits.wrongPathText;
    if (!problem)
        return true;
    m_context.host.error(U(problem));
    return false;
}

Player::HandOver WindowPlayer::handOver(const QStringList &tracks, int showWindow)
{
    const QString executable = m_context.dialog.*m_traits.executable;
    HandOver result;
    result.playlistFile = playlistPathFor(executable, QLatin1String(m_traits.playlistName));
    const QString &playlist = result.playlistFile;
    QStringList arguments;
    if (!tracks.isEmpty()) {
        // Written whole and renamed into place: a player reading its
        // playlist never sees half of it.
        QSaveFile file(playlist);
        if (!file.open(QIODevice::WriteOnly) || file.write(PlayerControl::playlistBytes(tracks)) < 0 ||
            !file.commit()) {
            // Starting the player now would play the previous list.
            m_context.host.error(U("プレイリストを書き込めませんでした。\n%1").arg(playlist));
            result.ok = false;
            return result;
        }
        arguments << playlist;
    }
    const bool wasRunning = isRunning();
    // Only a list written just now is ours to remove; an older one stays.
    if (m_context.launcher.startDetached(executable, arguments, showWindow)) {
        // The volume sent at the end of the hand-over reaches no window
        // while the new player is still starting.
        result.awaitWindow = !wasRunning;
    } else if (!tracks.isEmpty()) {
        QFile::remove(playlist);
    }
    return result;
}

bool WindowPlayer::isRunning() const { return !window().isNull(); }

void WindowPlayer::sendCommands(std::initializer_list<qint64> codes)
{
    const WindowHandle w = window();
    if (w.isNull())
        return;
    for (qint64 code : codes)
        m_context.windows.send(w, WM_COMMAND, code, 0);
}

void WindowPlayer::quit() { sendCommands({m_traits.stop, m_traits.close}); }

std::optional<Player::Time> WindowPlayer::time()
{
    m_clockWindow = window();
    if (m_clockWindow.isNull())
        return std::nullopt;
    Time t;
    t.positionMs = position();
    t.lengthSeconds = m_context.windows.send(m_clockWindow, WM_USER, 1, winamp::IpcGetOutputTime);
    return t;
}

qint64 WindowPlayer::position() { return m_context.windows.send(m_clockWindow, WM_USER, 0, winamp::IpcGetOutputTime); }

// ---- Winamp ----

WinampPlayer::WinampPlayer(PlayerContext &context)
    : WindowPlayer(context,
                   {&DialogSettings::winamp, &ClassNames::winamp, "WINAMP.m3u", "Winampのパスを設定してください。",
                    "Winampのパスが間違っています。", winamp::Stop, winamp::Close})
{
}

qint64 WinampPlayer::transportCode(int button, Qt::KeyboardModifiers modifiers)
{
    if (button < 1 || button > 5)
        return 0;
    const qint64 plain = winamp::Previous + (button - 1);
    // Shift wins when both are held.
    if (modifiers & Qt::ShiftModifier)
        return winamp::ShiftCode(plain);
    if (modifiers & Qt::ControlModifier)
        return winamp::CtrlCode(plain);
    return plain;
}

void WinampPlayer::transport(int button, Qt::KeyboardModifiers modifiers)
{
    sendCommands({transportCode(button, modifiers)});
}

void WinampPlayer::setVolume(int value)
{
    const WindowHandle w = window();
    if (!w.isNull())
        m_context.windows.send(w, WM_USER, value, winamp::IpcSetVolume);
}

PlayingFile WinampPlayer::playingFile(QString &marker)
{
    PlayingFile out;
    m_dataFile.setPath(playback::DataFileWatcher::pathFor(m_context.dialog.winamp));
    const auto result = m_dataFile.poll(marker);
    if (result == playback::DataFileWatcher::Result::Unreadable)
        return out;
    out.label = m_dataFile.stamp();
    if (result == playback::DataFileWatcher::Result::NoFile)
        return out;
    out.state = PlayingFile::State::Same;
    if (result == playback::DataFileWatcher::Result::Changed) {
        out.state = PlayingFile::State::Changed;
        out.path = m_dataFile.playingFile();
        out.name = playback::namePart(out.path);
    }
    return out;
}

// ---- SCMPX ----

ScmpxPlayer::ScmpxPlayer(PlayerContext &context)
    : WindowPlayer(context, {&DialogSettings::scmpx, &ClassNames::scmpx, "SCMPX.m3u", "SCMPXのパスを設定してください。",
                             "SCMPXのパスが間違っています。", scmpx::Stop, scmpx::Close})
{
}

void ScmpxPlayer::transport(int button, Qt::KeyboardModifiers)
{
    static constexpr std::array<qint64, 5> kCodes{scmpx::Previous, 0, scmpx::Pause, scmpx::Stop, scmpx::Next};
    if (button < 1 || button > 5)
        return;
    if (button == 2) { // play is a request, not a command
        const WindowHandle w = window();
        if (!w.isNull())
            m_context.windows.send(w, WM_USER, 0, scmpx::Play);
        return;
    }
    sendCommands({kCodes[size_t(button - 1)]});
}

void ScmpxPlayer::sendVolume(PlayerContext &context, int value)
{
    const WindowHandle w = context.windows.find(context.classNames.scmpx);
    if (w.isNull())
        return;
    const qint64 version = context.windows.send(w, WM_USER, 0, scmpx::GetVersion);
    context.windows.send(w, WM_USER, version == scmpx::InvertedVolumeVersion ? 255 - value : value, scmpx::SetVolume);
}

void ScmpxPlayer::playlistWritten(const QString &playlistFile)
{
    const WindowHandle w = window();
    if (w.isNull())
        return;
    m_context.windows.send(w, WM_USER, 0, scmpx::PathBegin);
    for (const char byte : QFile::encodeName(playlistFile))
        m_context.windows.post(w, WM_USER, scmpx::pathCharParam(byte), scmpx::PathChar);
    m_context.windows.post(w, WM_USER, 0, scmpx::PathChar);
    m_context.windows.send(w, WM_USER, 0, scmpx::Play);
}

PlayingFile ScmpxPlayer::playingFile(QString &marker)
{
    PlayingFile out;
    const QString title = m_context.windows.text(m_clockWindow);
    out.label = title;
    if (playback::isScmpxIdle(title))
        return out;
    out.state = PlayingFile::State::Same;
    if (title.compare(marker, Qt::CaseInsensitive) != 0) {
        marker = title;
        out.state = PlayingFile::State::Changed;
        out.name = playback::scmpxFileName(title);
    }
    return out;
}
