// The playback clock, the built-in player and the lyrics window, as the main
// window drives them.
#include "app/ui/mainform.h"

#include "lyrics/ui/lyricsform.h"
#include "platform/mediadevice.h"
#include "platform/paths.h"
#include "platform/ui/prompts.h"
#include "platform/windowbus.h"
#include "playback/builtinplayback.h"
#include "playback/builtinplayer.h"
#include "playback/clock.h"
#include "playback/playermessages.h"
#include "tracks/trackmodel.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>

using BuiltinPictures::ButtonPicture;

// Program-wide state of the clock.
class ClockState : public QObject {
public:
    explicit ClockState(TTunoviaF &window) : QObject(&window) {}

    playback::TimeDisplay display;
    playback::ScmpxInterpolator scmpx;
    playback::DataFileWatcher dataFile;
    QString marker; // last-file marker
    QString hint;   // hint last put on the panel
    bool connected = false;
};

ClockState &TTunoviaF::clockState()
{
    if (!m_clockState)
        m_clockState = new ClockState(*this);
    return *m_clockState;
}

const QString &TTunoviaF::lastFileMarker() const
{
    static const QString none;
    return m_clockState ? m_clockState->marker : none;
}

void TTunoviaF::connectClockAndLyrics()
{
    ClockState &state = clockState();
    if (state.connected)
        return;
    state.connected = true;
    connect(&m_DrawTimer, &QTimer::timeout, this, &TTunoviaF::DrawTimerMMTimer);
    connect(&m_MciTimer, &QTimer::timeout, this, &TTunoviaF::MciTimerTimer);
}

// ---- lyrics window ----

void TTunoviaF::createLyricsWindow()
{
    if (m_LyricsF)
        return;
    LyricsFormContext context{m_services.prompts,
                              m_services.launcher,
                              m_services.settings,
                              m_dialog,
                              m_lyricsWindow,
                              m_lyricsTag,
                              [this](int row) {
                                  const TrackModel *model = playingModel();
                                  return model ? model->trackInfoLines(row) : QStringList();
                              },
                              [this](const StoreResult &result) { reportStoreError(result); }};
    m_LyricsF = new TLyricsF(std::move(context), this);
}

void TTunoviaF::showLyricsWindow()
{
    if (m_LyricsF)
        m_LyricsF->showWindow();
}

void TTunoviaF::closeLyricsWindow()
{
    if (m_LyricsF)
        m_LyricsF->closeWindow();
    else
        m_lyricsTag = 0;
}

void TTunoviaF::KLyricsONOFF1Click()
{
    m_dialog.playTime = true;
    if (m_lyricsTag == 1) {
        m_lyricsTag = 0;
        m_services.settings.loadSettings(m_dialog);
        m_DrawTimer.setInterval(100 * (m_dialog.drawInterval + 1));
        if (m_dialog.playTime) {
            m_DrawTimer.start();
            m_TimePnl->show();
        } else {
            m_DrawTimer.stop();
            m_TimePnl->hide();
        }
        closeLyricsWindow();
    } else {
        m_lyricsTag = 1;
        m_TimePnl->show();
        m_DrawTimer.setInterval(100);
        m_DrawTimer.start();
        showLyricsWindow();
    }
}

// ---- the clock ----

TrackModel *TTunoviaF::playingModel() const
{
    return m_currentList == m_MP3ListView ? m_model : m_model2;
}

int TTunoviaF::rowOfName(const QString &name) const
{
    const TrackModel *model = playingModel();
    const int rows = model ? model->size() : 0;
    for (int i = 0; i < rows; ++i) {
        if (playback::namePart(model->track(i)[TrackField::Path]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return rows;
}

void TTunoviaF::showTime(qint64 positionMs, qint64 lengthSeconds)
{
    ClockState &state = clockState();
    const playback::TimeDisplay::Update u = state.display.update(positionMs, lengthSeconds);
    if (u.redraw) {
        for (size_t k = 0; k < m_timeDigits.size(); ++k) {
            m_timeDigits[k]->setPixmap(m_digitPictures[size_t(u.digits[k])]);
            m_timeDigits[k]->setToolTip(u.hint);
        }
    }
    if (u.hint != state.hint) {
        state.hint = u.hint;
        m_TimePnl->setToolTip(u.hint);
        m_Img1->setToolTip(u.hint);
    }
}

void TTunoviaF::loadLyricsFor(const QString &marker, const QString &lyricsFile, const QString &name)
{
    clockState().marker = marker;
    m_LyricsF->LyricsFile = lyricsFile;
    m_LyricsF->MP3FileName = name;
    m_LyricsF->loadLyrics(rowOfName(name));
}

void TTunoviaF::DrawTimerMMTimer()
{
    ClockState &state = clockState();
    const bool useWinamp = !m_imageButtons[size_t(ButtonPicture::Winamp)]->isHidden();
    const bool useScmpx = !useWinamp && !m_imageButtons[size_t(ButtonPicture::Scmpx)]->isHidden();
    const auto position = [](const WindowHandle &w) { return WindowBus::send(w, WM_USER, 0, winamp::IpcGetOutputTime); };

    // 1. Position and length of the applied player.
    WindowHandle player;
    BuiltinPlayer *builtin = nullptr;
    qint64 pos = -1, len = -1;
    if (useWinamp || useScmpx) {
        player = WindowBus::findWindow(useWinamp ? m_classNames.winamp : m_classNames.scmpx);
        if (!player)
            return;
        pos = position(player);
        len = WindowBus::send(player, WM_USER, 1, winamp::IpcGetOutputTime);
    } else {
        builtin = builtinSource().existing();
        if (!builtin || !builtin->isStarted())
            return;
        pos = builtin->device().position();
        len = builtin->device().length() / 1000;
    }

    // 2. Digits, redrawn only when they change.
    showTime(pos, len);

    // 3. Lyrics steps run while the window is meant to show, or always when
    // it hides itself for tracks without lyrics (so it can come back).
    if (!m_LyricsF || (!m_dialog.noLyricsHide && m_lyricsTag == 0))
        return;
    // Ctrl+K shows the window without changing the stored lyrics setting;
    // the window it shows follows the track as well.
    const bool lyricsOn = m_dialog.showLyrics || m_lyricsTag == 1;
    if (lyricsOn && useWinamp) {
        // 4. The plug-in's data file names the playing file.
        state.dataFile.setPath(playback::DataFileWatcher::pathFor(m_dialog.winamp));
        const auto result = state.dataFile.poll(state.marker);
        if (result == playback::DataFileWatcher::Result::Unreadable)
            return;
        m_LyricsF->Window = state.dataFile.stamp();
        if (result == playback::DataFileWatcher::Result::NoFile)
            return;
        if (result == playback::DataFileWatcher::Result::Changed) {
            const QString file = state.dataFile.playingFile();
            loadLyricsFor(state.marker, paths::lyricsNameFor(file), playback::namePart(file));
        }
        m_LyricsF->followTime(playback::timeText(position(player)));
    } else if (lyricsOn && useScmpx) {
        // 5. SCMPX shows the playing file in its title.
        const QString title = WindowBus::windowText(player);
        m_LyricsF->Window = title;
        if (playback::isScmpxIdle(title))
            return;
        if (title.compare(state.marker, Qt::CaseInsensitive) != 0) {
            const QString name = playback::scmpxFileName(title);
            const int row = rowOfName(name);
            // A file that is not in the list has no folder to look in but the
            // search folder; the previous track's lyrics must not stay.
            const QString folder = paths::withTrailingSlash(m_dialog.findFolder);
            QString lyricsFile = folder.isEmpty() ? QString() : folder + paths::lyricsNameFor(name);
            if (row < playingModel()->size()) {
                // Relative track paths are relative to the index file.
                lyricsFile = paths::lyricsNameFor(TrackModel::resolvedPath(playingModel()->track(row), m_currentIndexPath));
            }
            loadLyricsFor(title, lyricsFile, name);
        }
        m_LyricsF->followTime(playback::timeText(state.scmpx.next(position(player))));
    } else if (lyricsOn && builtin) {
        // 6. The built-in player's playlist entry.
        const QString entry = builtin->currentFile();
        m_LyricsF->Window = entry;
        if (entry.compare(state.marker, Qt::CaseInsensitive) != 0)
            loadLyricsFor(entry, paths::lyricsNameFor(entry), paths::namePart(entry));
        m_LyricsF->followTime(playback::timeText(builtin->device().position()));
    }

    // 7. Keep the highlighted line in the middle.
    m_LyricsF->centre();
}
