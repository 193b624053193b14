// Outside players and volume, driven from the main window.
#include "app/ui/mainform.h"

#include "controls/ui/dtrackbar.h"
#include "platform/ui/prompts.h"
#include "playback/playercontrol.h"
#include "tracks/trackmodel.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QToolButton>
#include <QTreeView>

using BuiltinPictures::ButtonPicture;

PlayerControl &TTunoviaF::playerControl()
{
    if (m_playerControl)
        return *m_playerControl;
    m_playerWindows = std::make_shared<PlayerWindows>();

    PlayerHooks hooks;
    hooks.appliedPlayer = [this] {
        // The hand-over button that shows names the player (hidden while the
        // window itself is, so ask the button, not the screen).
        if (!m_imageButtons[size_t(ButtonPicture::Winamp)]->isHidden())
            return PlayerKind::Winamp;
        if (!m_imageButtons[size_t(ButtonPicture::Scmpx)]->isHidden())
            return PlayerKind::Scmpx;
        return PlayerKind::Builtin;
    };
    hooks.selectedPaths = [this] {
        QStringList out;
        auto *model = qobject_cast<TrackModel *>(m_currentList->model());
        if (!model || !m_currentList->selectionModel())
            return out;
        // Rows ascend in the model's order, which is the order the list shows.
        for (int row : TrackModel::selectedRows(m_currentList->selectionModel()->selection()))
            out << TrackModel::resolvedPath(model->track(row), m_currentIndexPath);
        return out;
    };
    hooks.error = [this](const QString &text) { m_services.prompts.error(this, text); };
    hooks.modifiers = [this] {
        return playerModifiers ? playerModifiers() : QGuiApplication::queryKeyboardModifiers();
    };
    hooks.volumePosition = [this] { return m_VolumeBar->value(); };
    hooks.setVolumePosition = [this](int position) { m_VolumeBar->setValue(position); };
    hooks.applySettings = [this] { applySettings(); };
    hooks.storeError = [this](const StoreResult &result) { reportStoreError(result); };
    hooks.builtinTransport = [this](int button) { builtinTransport(button); };
    hooks.builtinHandOver = [this](const QStringList &paths) { builtinHandOver(paths); };
    hooks.builtinStopAndClose = [this] { builtinStopAndClose(); };

    m_playerControl = std::make_shared<PlayerControl>(m_services.launcher, *m_playerWindows, m_services.settings,
                                                      m_dialog, m_classNames, std::move(hooks));
    return *m_playerControl;
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
