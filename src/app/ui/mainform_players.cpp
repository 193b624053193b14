// Players and volume, driven from the main window.
#include "app/ui/mainform.h"

#include "controls/ui/dtrackbar.h"
#include "platform/mediadevice.h"
#include "platform/ui/prompts.h"
#include "playback/builtinplayback.h"
#include "playback/builtinplayer.h"
#include "playback/playercontrol.h"
#include "playback/windowplayers.h"
#include "tracks/trackmodel.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QToolButton>
#include <QTreeView>

using BuiltinPictures::ButtonPicture;

// The window as the players see it, and the players it drives.
class MainPlayerHost final : public PlayerHost, public PlayerFailureSink {
public:
    explicit MainPlayerHost(TTunoviaF &w) : w(w) {}

    PlayerKind appliedPlayer() const override
    {
        // The hand-over button that shows names the player (hidden while the
        // window itself is, so ask the button, not the screen).
        if (!w.m_imageButtons[size_t(ButtonPicture::Winamp)]->isHidden())
            return PlayerKind::Winamp;
        if (!w.m_imageButtons[size_t(ButtonPicture::Scmpx)]->isHidden())
            return PlayerKind::Scmpx;
        return PlayerKind::Builtin;
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
    void storeError(const StoreResult &result) override { w.reportStoreError(result); }

    bool showFailure(const QString &title, const QString &text, bool withCancel) override
    {
        const auto buttons = withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
        return w.m_services.prompts.message(&w, title, text, Prompts::Icon::Error, buttons) == QMessageBox::Ok;
    }
    void showException(const QString &text) override { w.m_services.prompts.exception(&w, text); }

    TTunoviaF &w;
    PlayerWindows windows;
    BuiltinPlayerSource builtin{*this, w.m_MciTimer};
    PlayerControl control{PlayerContext{*this, w.m_services.launcher, windows, w.m_dialog, w.m_classNames, &builtin},
                          w.m_services.settings};
};

PlayerControl &TTunoviaF::playerControl()
{
    if (!m_players)
        m_players = std::make_shared<MainPlayerHost>(*this);
    return m_players->control;
}

BuiltinPlayerSource &TTunoviaF::builtinSource()
{
    playerControl();
    return m_players->builtin;
}

void TTunoviaF::connectPlayerControls()
{
    if (m_volumeBarConnected)
        return;
    m_volumeBarConnected = true;
    // Only the user's moves reach the player here: positions set by the
    // program (start-up, presets, up/down) are applied by their own command,
    // once each.
    connect(m_VolumeBar, &QAbstractSlider::actionTriggered, this, [this](int) {
        // The new position is not the value yet while the action is reported.
        QTimer::singleShot(0, this, &TTunoviaF::VolumeBarChange);
    });
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

// ---- the built-in player ----

BuiltinPlayer *TTunoviaF::builtinPlayer() { return &builtinSource().player(); }
void TTunoviaF::setMediaDevice(std::unique_ptr<MediaDevice> device) { builtinSource().setDevice(std::move(device)); }
void TTunoviaF::MciTimerTimer() { builtinSource().tick(); }
void TTunoviaF::builtinHandOver(const QStringList &paths) { builtinPlayer()->handOver(paths); }
void TTunoviaF::builtinStopAndClose() { playerControl().player(PlayerKind::Builtin).quit(); }
void TTunoviaF::builtinTransport(int button) { playerControl().player(PlayerKind::Builtin).transport(button, {}); }
