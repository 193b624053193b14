#pragma once
// The lyrics window: the lyrics of the playing track, one line per row, with
// the row of the current time selected and kept in the middle. The clock
// tells it which file plays (loadLyrics) and what the time is (followTime).
#include "config/settingsstore.h"
#include "lyrics/lyricsfile.h"

#include <QWidget>
#include <functional>

class Launcher;
class Prompts;
class QListWidget;
class QMenu;

// What the window shares with the main window. The references must outlive
// the window; `tag` is the window's Tag (1 while it is meant to be visible),
// which the main window reads and writes too.
struct LyricsFormContext {
    Prompts &prompts;
    Launcher &launcher;
    SettingsStore &settings;
    const DialogSettings &dialog; // font, colours, search folder, NoLyricsHide, editors
    LyricsWindowSettings &window; // bounds, written back on close
    int &tag;
    // Lines shown for a track without lyrics ("No Lyrics File", " ", then the
    // row's information when the row exists).
    std::function<QStringList(int row)> trackInfo;
    // Reports a failed settings write.
    std::function<void(const ProfileWrite &)> reportStoreError;
};

class TLyricsF : public QWidget {
    Q_OBJECT
public:
    // Longest text a row shows; longer lines are kept whole in the list's data
    // but a screen row stops here (laying out megabytes of one line would
    // freeze the window).
    static constexpr int kMaxShownChars = 4096;

    explicit TLyricsF(LyricsFormContext context, QWidget *parent = nullptr);
    ~TLyricsF() override;

    // Hidden values shared with the clock.
    QString Window;        // newest last-file marker
    QString MP3FileName;   // name of the playing file
    QString LyricsFile;    // full path of the lyrics file to load
    int LyricsFileTag = 0; // track index of the last load, used by Reload

    // Reads `LyricsFile` (or the same name in the search folder) into the lists.
    void loadLyrics(int index);
    // Selects the last line whose time tag is not above `timeText`.
    void followTime(const QString &timeText);
    // Scrolls so that the selected line sits in the middle.
    void centre();

    // Shows the window with its stored bounds, font and colours.
    void showWindow();
    // Writes the bounds and hides the window; Tag becomes 0.
    void closeWindow();

    // Pop-up menu commands.
    void LyricsEdtMnuClick();
    void LyricsEdtMnu2Click();
    void LyricsReloadMnuClick();

    QListWidget *lyricsList() const { return m_LyricsList; }
    QMenu *popupMenu() const { return m_PopupMenu; }
    const QStringList &timeList() const { return m_TimeList; }
    QStringList displayList() const;
    int selectedRow() const;
    int rowHeight() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCloseQuery();
    void applyLook();
    void addRow(const QString &text);
    void startEditor(const QString &editor, const QString &missingText);

    LyricsFormContext m_ctx;
    QListWidget *m_LyricsList = nullptr;
    QMenu *m_PopupMenu = nullptr;
    QStringList m_TimeList;
    QList<lyrics::Line> m_timeLines; // m_TimeList in the form lineForTime takes
    int m_lastTop = -1;
};
