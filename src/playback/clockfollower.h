#pragma once
// The playback clock and the lyrics that follow the playing file. On every
// tick of the draw timer it asks the applied player for its position, length
// and playing file, and tells the window what to show: the four digits, the
// time hint, and the lyrics of a file that started (looked up by its name in
// the current list when the player names no folder). It also keeps the
// last-file marker, which names the file whose lyrics are loaded.
#include "config/settingsstore.h"
#include "playback/clock.h"
#include "playback/player.h"

#include <array>
#include <functional>

class QTimer;

// What the clock shows through the window.
class ClockView {
public:
    virtual ~ClockView() = default;
    // The four digit images, each with `hint`; only when the digits change.
    virtual void showDigits(const std::array<int, 4> &digits, const QString &hint) = 0;
    // The hint of the time panel and its colon image; only when it changes.
    virtual void showHint(const QString &hint) = 0;
    virtual void showTimePanel(bool shown) = 0;

    // The lyrics window; none may exist.
    virtual bool hasLyricsWindow() const = 0;
    virtual int &lyricsTag() = 0; // 1 while Ctrl+K shows the window
    virtual void showLyricsWindow() = 0;
    virtual void closeLyricsWindow() = 0;
    // The player's own text for the playing file.
    virtual void setLyricsLabel(const QString &text) = 0;
    // Loads `lyricsFile` for the file `name`; `row` is its row in the list
    // (the row count when it is not there).
    virtual void loadLyrics(const QString &lyricsFile, const QString &name, int row) = 0;
    // Highlights the line of a "mm:ss:cc" time.
    virtual void followLyrics(const QString &timeText) = 0;
    // Scrolls the highlighted line to the middle.
    virtual void centreLyrics() = 0;

    // The tracks of the current list: the stored paths, and one row's path
    // resolved against the index file.
    virtual QStringList trackPaths() const = 0;
    virtual QString resolvedTrackPath(int row) const = 0;
};

class ClockFollower {
public:
    ClockFollower(std::function<Player &()> appliedPlayer, ClockView &view, DialogSettings &dialog,
                  SettingsStore &store);

    // One tick of the draw timer.
    void tick();
    // Ctrl+K: shows the lyrics window (with a 100 ms clock) without changing
    // the stored setting, or closes it again and goes back to the settings.
    void toggleLyrics(QTimer &drawTimer);

    const QString &lastFileMarker() const { return m_marker; }

private:
    void showTime(const Player::Time &time);
    void loadLyrics(const PlayingFile &file);

    std::function<Player &()> m_appliedPlayer;
    ClockView &m_view;
    DialogSettings &m_dialog;
    SettingsStore &m_store;
    playback::TimeDisplay m_display;
    QString m_hint;   // hint last put on the panel
    QString m_marker; // last-file marker
};
