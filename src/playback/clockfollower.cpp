#include "playback/clockfollower.h"

#include "platform/paths.h"

#include <QTimer>

ClockFollower::ClockFollower(std::function<Player &()> appliedPlayer, ClockView &view, DialogSettings &dialog,
                             SettingsStore &store)
    : m_appliedPlayer(std::move(appliedPlayer)), m_view(view), m_dialog(dialog), m_store(store)
{
}

void ClockFollower::showTime(const Player::Time &time)
{
    // Digits are redrawn only when they change.
    const playback::TimeDisplay::Update u = m_display.update(time.positionMs, time.lengthSeconds);
    if (u.redraw)
        m_view.showDigits(u.digits, u.hint);
    if (u.hint != m_hint) {
        m_hint = u.hint;
        m_view.showHint(u.hint);
    }
}

void ClockFollower::loadLyrics(const PlayingFile &file)
{
    const QStringList tracks = m_view.trackPaths();
    const int row = playback::rowForName(tracks, file.name);
    QString lyricsFile;
    if (!file.path.isEmpty()) {
        lyricsFile = paths::lyricsNameFor(file.path);
    } else if (row < tracks.size()) {
        // Relative track paths are relative to the index file.
        lyricsFile = paths::lyricsNameFor(m_view.resolvedTrackPath(row));
    } else {
        // A file that is not in the list has no folder to look in but the
        // search folder; the previous track's lyrics must not stay.
        const QString folder = paths::withTrailingSlash(m_dialog.findFolder);
        if (!folder.isEmpty())
            lyricsFile = folder + paths::lyricsNameFor(file.name);
    }
    m_view.loadLyrics(lyricsFile, file.name, row);
}

void ClockFollower::tick()
{
    Player &player = m_appliedPlayer();
    const std::optional<Player::Time> time = player.time();
    if (!time)
        return;
    showTime(*time);

    // The lyrics steps run while the window is meant to show, or always when
    // it hides itself for tracks without lyrics (so it can come back).
    if (!m_view.hasLyricsWindow() || (!m_dialog.noLyricsHide && m_view.lyricsTag() == 0))
        return;
    // Ctrl+K shows the window without changing the stored lyrics setting;
    // the window it shows follows the track as well.
    if (m_dialog.showLyrics || m_view.lyricsTag() == 1) {
        const PlayingFile file = player.playingFile(m_marker);
        if (file.label)
            m_view.setLyricsLabel(*file.label);
        if (file.state == PlayingFile::State::None)
            return;
        if (file.state == PlayingFile::State::Changed)
            loadLyrics(file);
        m_view.followLyrics(playback::timeText(player.lyricsPosition()));
    }
    m_view.centreLyrics();
}

void ClockFollower::toggleLyrics(QTimer &drawTimer)
{
    m_dialog.playTime = true;
    int &tag = m_view.lyricsTag();
    if (tag == 1) {
        tag = 0;
        m_store.loadSettings(m_dialog);
        drawTimer.setInterval(100 * (m_dialog.drawInterval + 1));
        if (m_dialog.playTime)
            drawTimer.start();
        else
            drawTimer.stop();
        m_view.showTimePanel(m_dialog.playTime);
        m_view.closeLyricsWindow();
    } else {
        tag = 1;
        m_view.showTimePanel(true);
        drawTimer.setInterval(100);
        drawTimer.start();
        m_view.showLyricsWindow();
    }
}
