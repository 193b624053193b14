#pragma once
// The main window as the players and the playback clock see it, and the
// player control and clock that drive them.
#include "app/ui/mainform.h"
#include "playback/builtinplayback.h"
#include "playback/builtinplayer.h"
#include "playback/clockfollower.h"
#include "playback/playercontrol.h"
#include "playback/windowplayers.h"

class MainPlayers final : public PlayerHost, public PlayerFailureSink, public ClockView {
public:
    explicit MainPlayers(TTunoviaF &w);

    // PlayerHost and PlayerFailureSink
    PlayerKind appliedPlayer() const override;
    QStringList selectedPaths() const override;
    void error(const QString &text) override;
    Qt::KeyboardModifiers modifiers() const override;
    int volumePosition() const override;
    void setVolumePosition(int position) override;
    void applySettings() override { w.applySettings(); }
    void storeError(const ProfileWrite &result) override { w.reportStoreError(result); }
    bool showFailure(const QString &title, const QString &text, bool withCancel) override;
    void showException(const QString &text) override;

    // ClockView
    void showDigits(const std::array<int, 4> &digits, const QString &hint) override;
    void showHint(const QString &hint) override;
    void showTimePanel(bool shown) override;
    bool hasLyricsWindow() const override { return w.m_LyricsF; }
    int &lyricsTag() override { return w.m_lyricsTag; }
    void showLyricsWindow() override { w.showLyricsWindow(); }
    void closeLyricsWindow() override { w.closeLyricsWindow(); }
    void setLyricsLabel(const QString &text) override;
    void loadLyrics(const QString &lyricsFile, const QString &name, int row) override;
    void followLyrics(const QString &timeText) override;
    void centreLyrics() override;
    QStringList trackPaths() const override;
    QString resolvedTrackPath(int row) const override;

    TTunoviaF &w;
    PlayerWindows windows;
    BuiltinPlayerSource builtin{*this, w.m_MciTimer};
    PlayerControl control{PlayerContext{*this, w.m_services.launcher, windows, w.m_dialog, w.m_classNames, &builtin},
                          w.m_services.settings};
    ClockFollower clock{[this]() -> Player & { return control.appliedPlayer(); }, *this, w.m_dialog,
                        w.m_services.settings};
};
