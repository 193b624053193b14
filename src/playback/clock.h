#pragma once
// Pieces of the playback clock that do not touch widgets or players: time
// texts, the four-digit display state, the data file written by the Winamp
// plug-in, SCMPX's window title and position smoothing.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace playback {

// "mm:ss:cc" (minutes, seconds, hundredths) of a position; the key that is
// compared with lyrics time tags. Negative positions count as 0.
QString timeText(qint64 ms);

inline constexpr QLatin1StringView kBlankHint{" --:--"};
// " mmss" of the elapsed whole seconds; more than 99 minutes makes it longer.
QString digitsText(qint64 positionMs);
// " mm:ss" of a length in seconds.
QString hintText(qint64 lengthSeconds);
// Characters 1-4 of a digits text as digit values; anything else counts as 0.
std::array<int, 4> digitValues(const QString &digits);

// What the four digit images need after one tick. Pictures are replaced only
// when the shown digits change, and the blank state is set once.
class TimeDisplay {
public:
    struct Update {
        bool redraw = false; // give the four images the pictures of `digits`
        std::array<int, 4> digits{};
        QString hint; // always set on the panel and the colon image
    };
    // -1 for either value means no time is available.
    Update update(qint64 positionMs, qint64 lengthSeconds);
    bool blankShown() const { return m_blankShown; }

private:
    bool m_blankShown = false;
    QString m_lastDigits;
};

// Modification time as a DOS date and time: "yymmddhhmmss" with the year
// counted from 1980 and the seconds halved. Times outside the DOS range are
// clamped to it.
QString dosStamp(const QDateTime &modified);

// Name part after the last "/" or "\".
QString namePart(const QString &path);
// First row whose path has `name` as its name part (case ignored); the number
// of rows when none does.
int rowForName(const QStringList &trackPaths, const QString &name);

// SCMPX shows "<n>. <file name> - SCMPX" while it plays and "SCMPX" when idle.
bool isScmpxIdle(const QString &title);
// The file name part of a playing title: after the first space, without the
// last eight characters. Empty when the title has no such part.
QString scmpxFileName(const QString &title);

// SCMPX reports its position coarsely; between changes the clock adds 100 ms
// per tick (up to about a second) so that lyrics move smoothly.
class ScmpxInterpolator {
public:
    qint64 next(qint64 reportedMs);

private:
    qint64 m_counter = 0;
    qint64 m_last = 0;
};

// The data file "Tunov.dat" in Winamp's folder: the playing file's path and
// one LF. Read only when its modification stamp changes.
class DataFileWatcher {
public:
    enum class Result {
        Unreadable, // missing or unreadable: the tick ends quietly
        Unchanged,  // same stamp as the last-file marker
        NoFile,     // changed, but empty or "(null)": nothing to load
        Changed,    // changed and names `playingFile()`
    };

    // `winampExe` is the Winamp executable path setting.
    static QString pathFor(const QString &winampExe);

    explicit DataFileWatcher(QString dataFile = {}) : m_path(std::move(dataFile)) {}
    void setPath(const QString &dataFile) { m_path = dataFile; }
    QString path() const { return m_path; }

    // Compares the file's stamp with `marker` (case ignored) and, when it
    // differs, sets `marker` to it and reads the file.
    Result poll(QString &marker);
    QString stamp() const { return m_stamp; }             // of the last poll, for the `Window` label
    QString playingFile() const { return m_playingFile; } // of the last Changed poll

    // The path a data file names, without its line end; nothing when empty.
    static std::optional<QString> parseContent(const QByteArray &bytes);

private:
    QString m_path;
    QString m_stamp;
    QString m_playingFile;
};

} // namespace playback
