#include "app/ui/mainplayers.h"

#include "lyrics/ui/lyricsform.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>

using BuiltinPictures::ButtonPicture;

MainPlayers::MainPlayers(TTunoviaF &w) : w(w) {}

PlayerKind MainPlayers::appliedPlayer() const
{
    // The hand-over button that shows names the player (hidden while the
    // window itself is, so ask the button, not the screen).
    if (!w.m_toolBar->imageButton(ButtonPicture::Winamp)->isHidden())
        return PlayerKind::Winamp;
    return w.m_toolBar->imageButton(ButtonPicture::Scmpx)->isHidden() ? PlayerKind::Builtin : PlayerKind::Scmpx;
}

QStringList MainPlayers::selectedPaths() const
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

void MainPlayers::error(const QString &text) { w.m_services.prompts.error(&w, text); }

Qt::KeyboardModifiers MainPlayers::modifiers() const
{
    return w.playerModifiers ? w.playerModifiers() : QGuiApplication::queryKeyboardModifiers();
}

int MainPlayers::volumePosition() const { return w.volumePosition(); }

void MainPlayers::setVolumePosition(int position) { w.setVolume(position); }

bool MainPlayers::showFailure(const QString &title, const QString &text, bool withCancel)
{
    const auto buttons = withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    return w.m_services.prompts.message(&w, title, text, Prompts::Icon::Error, buttons) == QMessageBox::Ok;
}

void MainPlayers::showException(const QString &text) { w.m_services.prompts.exception(&w, text); }

void MainPlayers::showDigits(const std::array<int, 4> &digits, const QString &hint)
{
    const auto &pictures = w.m_toolBar->digitPictures();
    const auto &labels = w.m_toolBar->timeDigits();
    for (size_t k = 0; k < labels.size(); ++k) {
        labels[k]->setPixmap(pictures[size_t(digits[k])]);
        labels[k]->setToolTip(hint);
    }
}

void MainPlayers::showHint(const QString &hint)
{
    w.m_toolBar->timePanel()->setToolTip(hint);
    w.m_toolBar->separator()->setToolTip(hint);
}

void MainPlayers::showTimePanel(bool shown) { w.m_toolBar->timePanel()->setVisible(shown); }

void MainPlayers::setLyricsLabel(const QString &text) { w.m_LyricsF->Window = text; }

void MainPlayers::loadLyrics(const QString &lyricsFile, const QString &name, int row)
{
    w.m_LyricsF->LyricsFile = lyricsFile;
    w.m_LyricsF->MP3FileName = name;
    w.m_LyricsF->loadLyrics(row);
}

void MainPlayers::followLyrics(const QString &timeText) { w.m_LyricsF->followTime(timeText); }

void MainPlayers::centreLyrics() { w.m_LyricsF->centre(); }

QStringList MainPlayers::trackPaths() const
{
    QStringList out;
    for (int i = 0, rows = w.playingModel() ? w.playingModel()->size() : 0; i < rows; ++i)
        out << w.playingModel()->track(i)[TrackField::Path];
    return out;
}

QString MainPlayers::resolvedTrackPath(int row) const
{
    return TrackModel::resolvedPath(w.playingModel()->track(row), w.m_currentIndexPath);
}
