// Players, volume and the playback clock, driven from the main window.
#include "app/ui/mainform.h"

#include "controls/ui/dtrackbar.h"
#include "lyrics/ui/lyricsform.h"
#include "platform/mediadevice.h"
#include "platform/ui/prompts.h"
#include "playback/builtinplayback.h"
#include "playback/builtinplayer.h"
#include "playback/clockfollower.h"
#include "playback/playercontrol.h"
#include "playback/windowplayers.h"
#include "tracks/trackmodel.h"

#include <QFrame>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>

using BuiltinPictures::ButtonPicture;

// The window as the players and the clock see it, and what drives them.
class MainPlayers final : public PlayerHost, public PlayerFailureSink, public ClockView {
public:
    explicit MainPlayers(TTunoviaF &w) : w(w) {}

    PlayerKind appliedPlayer() const override
    {
        // The hand-over button that shows names the player (hidden while the
        // window itself is, so ask the button, not the screen).
        if (!w.m_imageButtons[size_t(ButtonPicture::Winamp)]->isHidden())
            return PlayerKind::Winamp;
        return w.m_imageButtons[size_t(ButtonPicture::Scmpx)]->isHidden() ? PlayerKind::Builtin : PlayerKind::Scmpx;
    }
    QStringList selectedPaths() const override
    {
        QStringList out;
        auto *model = qobject_cast<TrackModel *>(w.m_currentList->model());
        if (!model || !w.m_currentList->selectionModel())
            return out;
        // Rows ascend in the model's order, which is the order the list shows.
        for (int row : TrackModel::selectedRows(w.m_currentList->selectionModel()->selection()))
            out << TrackModel::resolvedPath(model->track(row), w.m_currentIndexPath);
        return out;
    }
    void error(const QString &text) override { w.m_services.prompts.error(&w, text); }
    Qt::KeyboardModifiers modifiers() const override
    {
        return w.playerModifiers ? w.playerModifiers() : QGuiApplication::queryKeyboardModifiers();
    }
    int volumePosition() const override { return w.m_VolumeBar->value(); }
    void setVolumePosition(int position) override { w.m_VolumeBar->setValue(position); }
    void applySettings() override { w.applySettings(); }
    void storeError(const ProfileWrite &result) override { w.reportStoreError(result); }
    bool showFailure(const QString &title, const QString &text, bool withCancel) override
    {
        const auto buttons = withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
        return w.m_services.prompts.message(&w, title, text, Prompts::Icon::Error, buttons) == QMessageBox::Ok;
    }
    void showException(const QString &text) override { w.m_services.prompts.exception(&w, text); }

    void showDigits(const std::array<int, 4> &digits, const QString &hint) override
    {
        for (size_t k = 0; k < w.m_timeDigits.size(); ++k) {
            w.m_timeDigits[k]->setPixmap(w.m_digitPictures[size_t(digits[k])]);
            w.m_timeDigits[k]->setToolTip(hint);
        }
    }
    void showHint(const QString &hint) override
    {
        w.m_TimePnl->setToolTip(hint);
        w.m_Img1->setToolTip(hint);
    }
    void showTimePanel(bool shown) override { w.m_TimePnl->setVisible(shown); }
    bool hasLyricsWindow() const override { return w.m_LyricsF; }
    int &lyricsTag() override { return w.m_lyricsTag; }
    void showLyricsWindow() override { w.showLyricsWindow(); }
    void closeLyricsWindow() override { w.closeLyricsWindow(); }
    void setLyricsLabel(const QString &text) override { w.m_LyricsF->Window = text; }
    void loadLyrics(const QString &lyricsFile, const QString &name, int row) override
    {
        w.m_LyricsF->LyricsFile = lyricsFile;
        w.m_LyricsF->MP3FileName = name;
        w.m_LyricsF->loadLyrics(row);
    }
    void followLyrics(const QString &timeText) override { w.m_LyricsF->followTime(timeText); }
    void centreLyrics() override { w.m_LyricsF->centre(); }
    QStringList trackPaths() const override
    {
        QStringList out;
        for (int i = 0, rows = w.playingModel() ? w.playingModel()->size() : 0; i < rows; ++i)
            out << w.playingModel()->track(i)[TrackField::Path];
        return out;
    }
    QString resolvedTrackPath(int row) const override
    {
        return TrackModel::resolvedPath(w.playingModel()->track(row), w.m_currentIndexPath);
    }

    TTunoviaF &w;
    PlayerWindows windows;
    BuiltinPlayerSource builtin{*this, w.m_MciTimer};
    PlayerControl control{PlayerContext{*this, w.m_services.launcher, windows, w.m_dialog, w.m_classNames, &builtin},
                          w.m_services.settings};
    ClockFollower clock{[this]() -> Player & { return control.appliedPlayer(); }, *this, w.m_dialog,
                        w.m_services.settings};
};

MainPlayers &TTunoviaF::players()
{
    if (!m_players)
        m_players = std::make_shared<MainPlayers>(*this);
    return *m_players;
}
PlayerControl &TTunoviaF::playerControl() { return players().control; }

void TTunoviaF::connectPlayerControls()
{
    if (std::exchange(m_volumeBarConnected, true))
        return;
    // Only the user's moves reach the player here: positions set by the
    // program (start-up, presets, up/down) are applied by their own command,
    // once each. The new position is not the value yet while the action is
    // reported.
    connect(m_VolumeBar, &QAbstractSlider::actionTriggered, this,
            [this](int) { QTimer::singleShot(0, this, &TTunoviaF::VolumeBarChange); });
}

void TTunoviaF::VolumeBarChange() { playerControl().applyVolume(); }
void TTunoviaF::SpeedButton1Click() { playerControl().transport(1); }
void TTunoviaF::SpeedButton2Click() { playerControl().transport(2); }
void TTunoviaF::SpeedButton3Click() { playerControl().transport(3); }
void TTunoviaF::SpeedButton4Click() { playerControl().transport(4); }
void TTunoviaF::SpeedButton5Click() { playerControl().transport(5); }
void TTunoviaF::MP3ListViewDblClick() { playerControl().handOver(); }
void TTunoviaF::PlayerQuitMnuClick() { quitPlayer(); }
void TTunoviaF::quitPlayer() { playerControl().quit(); }
void TTunoviaF::UseWinampMnuClick() { playerControl().choosePlayer(PlayerKind::Winamp); }
void TTunoviaF::UseScmpxMnuClick() { playerControl().choosePlayer(PlayerKind::Scmpx); }
void TTunoviaF::UseMciMnuClick() { playerControl().choosePlayer(PlayerKind::Builtin); }
void TTunoviaF::UseChangeMnuClick() { playerControl().cyclePlayer(); }
void TTunoviaF::VolDownMnuClick() { playerControl().volumeDown(); }
void TTunoviaF::VolUpMnuClick() { playerControl().volumeUp(); }
void TTunoviaF::VolAMnuClick() { playerControl().volumePreset(0); }
void TTunoviaF::VolBMnuClick() { playerControl().volumePreset(1); }
void TTunoviaF::VolCMnuClick() { playerControl().volumePreset(2); }

// ---- the built-in player and the clock ----

BuiltinPlayer *TTunoviaF::builtinPlayer() { return &players().builtin.player(); }
void TTunoviaF::setMediaDevice(std::unique_ptr<MediaDevice> device) { players().builtin.setDevice(std::move(device)); }
void TTunoviaF::MciTimerTimer() { players().builtin.tick(); }
void TTunoviaF::builtinHandOver(const QStringList &paths) { builtinPlayer()->handOver(paths); }
void TTunoviaF::builtinStopAndClose() { playerControl().player(PlayerKind::Builtin).quit(); }
void TTunoviaF::builtinTransport(int button) { playerControl().player(PlayerKind::Builtin).transport(button, {}); }
void TTunoviaF::DrawTimerMMTimer() { players().clock.tick(); }
void TTunoviaF::KLyricsONOFF1Click() { players().clock.toggleLyrics(m_DrawTimer); }

const QString &TTunoviaF::lastFileMarker() const
{
    static const QString none;
    return m_players ? m_players->clock.lastFileMarker() : none;
}
