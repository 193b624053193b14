// The lyrics window and the clock's timers, as the main window drives them.
#include "app/ui/mainform.h"

#include "lyrics/ui/lyricsform.h"
#include "tracks/trackmodel.h"

#include <QTreeView>

void TTunoviaF::connectClockAndLyrics()
{
    if (std::exchange(m_clockConnected, true))
        return;
    connect(&m_DrawTimer, &QTimer::timeout, this, &TTunoviaF::DrawTimerMMTimer);
    connect(&m_MciTimer, &QTimer::timeout, this, &TTunoviaF::MciTimerTimer);
}

TrackModel *TTunoviaF::playingModel() const { return m_currentList == m_MP3ListView ? m_model : m_model2; }

void TTunoviaF::createLyricsWindow()
{
    if (m_LyricsF)
        return;
    const auto infoLines = [this](int row) {
        const TrackModel *model = playingModel();
        return model ? model->trackInfoLines(row) : QStringList();
    };
    LyricsFormContext context{m_services.prompts,  m_services.launcher,
                              m_services.settings, m_dialog,
                              m_lyricsWindow,      m_lyricsTag,
                              infoLines,           [this](const ProfileWrite &result) { reportStoreError(result); }};
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
