#include "tracks/findtotals.h"

#include "config/settingsstore.h"

#include <cmath>

namespace findtotals {

namespace {

struct BoxInfo {
    const char *caption;
    TrackField field;
};
// Box k stands for field k of the record.
const std::array<BoxInfo, kFindBoxCount> kBoxes = {{
    {"曲名", TrackField::Title},
    {"アーティスト", TrackField::Artist},
    {"アルバム", TrackField::Album},
    {"コメント", TrackField::Comment},
    {"サイズ", TrackField::Size},
    {"時間", TrackField::Time},
    {"ジャンル", TrackField::Genre},
    {"日付", TrackField::Date},
    {"著作権", TrackField::Copyright},
    {"エンジニア", TrackField::Engineer},
    {"ソース", TrackField::Source},
    {"ソフト", TrackField::Soft},
    {"ファイルパス", TrackField::Path},
}};
// The five-column list has Title, Artist, Comment and Path to search.
const std::array<BoxInfo, 4> kFiveColumnBoxes = {{
    {"曲名", TrackField::Title},
    {"アーティスト", TrackField::Artist},
    {"コメント", TrackField::Comment},
    {"ファイルパス", TrackField::Path},
}};

struct PanelFormat {
    const char *choice; // entry of the settings list
    const char *format; // time: hours, minutes, seconds; size: see totalPanelText
    int width;
};
const std::array<PanelFormat, kTotalPanelFormats> kPanelFormats = {{
    {"表示しない", "", 0},
    {"1:23:45", "%lld:%02lld:%02lld", 44},
    {"合計：1:23:45", "合計：%lld:%02lld:%02lld", 75},
    {"1時間23分45秒", "%lld時間%02lld分%02lld秒", 90},
    {"合計：1時間23分45秒", "合計：%lld時間%02lld分%02lld秒", 119},
    {"1h23m45s", "%lldh%02lldm%02llds", 63},
    {"Total:1h23m45s", "Total:%lldh%02lldm%02llds", 90},
    {"1h23min45sec", "%lldh%02lldmin%02lldsec", 83},
    {"Total:1h23min45sec", "Total:%lldh%02lldmin%02lldsec", 111},
    {"ファイルサイズの合計を表示", "%lld", 65},
    {"ファイルサイズの合計を表示 (KB)", "%7.2fKB", 65},
    {"ファイルサイズの合計を表示 (MB)", "%7.2fMB", 50},
}};

bool isScanfSpace(QChar c) { return c == QLatin1Char(' ') || (c.unicode() >= 0x09 && c.unicode() <= 0x0D); }

// scanf's "%d": blanks, a sign, digits; nothing read when no digit follows.
std::optional<qint64> scanInt(const QString &s, qsizetype &i)
{
    qsizetype p = i;
    while (p < s.size() && isScanfSpace(s[p]))
        ++p;
    bool negative = false;
    if (p < s.size() && (s[p] == QLatin1Char('+') || s[p] == QLatin1Char('-')))
        negative = s[p++] == QLatin1Char('-');
    const qsizetype digits = p;
    qint64 value = 0;
    while (p < s.size() && s[p] >= QLatin1Char('0') && s[p] <= QLatin1Char('9')) {
        if (value < (qint64(1) << 40)) // far beyond any play time; stops overflow
            value = value * 10 + (s[p].unicode() - '0');
        ++p;
    }
    if (p == digits)
        return std::nullopt;
    i = p;
    return negative ? -value : value;
}

template <typename Add> void forSelected(int rowCount, const std::vector<bool> &selection, Add add)
{
    const int n = std::min<qsizetype>(rowCount, qsizetype(selection.size()));
    for (int row = 0; row < n; ++row) {
        if (selection[row])
            add(row);
    }
}

} // namespace

FindBoxes defaultFindBoxes()
{
    FindBoxes boxes{};
    for (int i = 0; i < 4; ++i)
        boxes[i] = true;
    return boxes;
}

QString findBoxCaption(int box, bool fiveColumnList)
{
    if (box < 0 || box >= kFindBoxCount)
        return {};
    if (fiveColumnList && box < int(kFiveColumnBoxes.size()))
        return QString::fromUtf8(kFiveColumnBoxes[box].caption);
    return QString::fromUtf8(kBoxes[box].caption);
}

bool findBoxEnabled(int box, bool fiveColumnList)
{
    return box >= 0 && box < (fiveColumnList ? int(kFiveColumnBoxes.size()) : kFindBoxCount);
}

std::optional<TrackField> fieldForBox(int box, bool fiveColumnList)
{
    if (!findBoxEnabled(box, fiveColumnList))
        return std::nullopt;
    return fiveColumnList ? kFiveColumnBoxes[box].field : kBoxes[box].field;
}

QString asciiUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return out;
}

std::vector<bool> findRows(int rowCount, const FieldOf &fieldOf, std::vector<bool> selection, const QString &text,
                           const FindBoxes &boxes, bool fiveColumnList)
{
    selection.resize(std::max<std::size_t>(selection.size(), std::size_t(std::max(rowCount, 0))), false);
    const QString key = asciiUpper(text);
    for (int box = 0; box < kFindBoxCount; ++box) {
        const std::optional<TrackField> field = fieldForBox(box, fiveColumnList);
        if (!boxes[box] || !field)
            continue;
        for (int row = 0; row < rowCount; ++row) {
            if (!selection[row] && asciiUpper(fieldOf(row, *field)).contains(key))
                selection[row] = true;
        }
    }
    return selection;
}

std::vector<bool> findRows(const std::vector<TrackRecord> &rows, std::vector<bool> selection, const QString &text,
                           const FindBoxes &boxes, bool fiveColumnList)
{
    return findRows(
        int(rows.size()), [&](int row, TrackField f) { return rows[row][f]; }, std::move(selection), text, boxes,
        fiveColumnList);
}

QStringList loadFindHistory(const ProfileFile &settings)
{
    QStringList history;
    for (int i = 0; i < kHistorySize; ++i) {
        const QString text = settings.readString(settingskeys::kFind, settingskeys::historyKey(i), QString());
        if (!text.isEmpty())
            history.append(text);
    }
    return history;
}

QStringList addToFindHistory(QStringList history, const QString &text)
{
    history.removeIf([&](const QString &old) { return old.compare(text, Qt::CaseInsensitive) == 0; });
    history.append(text);
    while (history.size() > kHistorySize)
        history.removeFirst();
    return history;
}

ProfileWrite saveFindHistory(ProfileFile &settings, const QStringList &history)
{
    for (int i = 0; i < kHistorySize; ++i) {
        ProfileWrite written = settings.writeString(settingskeys::kFind, settingskeys::historyKey(i),
                                                    i < history.size() ? history[i] : QString());
        if (!written.ok())
            return written;
    }
    return {};
}

qint64 parsePlayTime(const QString &text)
{
    qsizetype i = 0;
    const std::optional<qint64> minutes = scanInt(text, i);
    if (!minutes)
        return 0;
    qint64 seconds = 0;
    if (i < text.size() && text[i] == QChar(0x5206)) { // 分
        ++i;
        seconds = scanInt(text, i).value_or(0);
    }
    return *minutes * 60 + seconds;
}

qint64 parseSizeBytes(const QString &text)
{
    QString number;
    qint64 unit = 1;
    for (QChar c : text) {
        if (c == QLatin1Char('K'))
            unit = 1024;
        else if (c == QLatin1Char('M'))
            unit = 1048576;
        else if (c != QLatin1Char(' ') && c != QLatin1Char('B'))
            number += c;
    }
    bool ok = false;
    if (unit == 1) {
        number.remove(QLatin1Char('.'));
        const qint64 bytes = number.toLongLong(&ok);
        return ok ? bytes : 0;
    }
    // With a unit the point is a decimal point: "1.5MB" is one and a half mebibytes.
    if (number.count(QLatin1Char('.')) > 1 || number.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return 0;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e12)
        return 0;
    return qint64(std::llround(value * double(unit)));
}

qint64 totalSeconds(int rowCount, const FieldOf &fieldOf, const std::vector<bool> &selection, TrackField field)
{
    qint64 total = 0;
    forSelected(rowCount, selection, [&](int row) { total += parsePlayTime(fieldOf(row, field)); });
    return total;
}

qint64 totalBytes(int rowCount, const FieldOf &fieldOf, const std::vector<bool> &selection, TrackField field)
{
    qint64 total = 0;
    forSelected(rowCount, selection, [&](int row) { total += parseSizeBytes(fieldOf(row, field)); });
    return total;
}

QString totalTimeMessage(qint64 seconds)
{
    if (seconds < 3600)
        return QString::asprintf("%lld分 %02lld秒", seconds / 60, seconds % 60);
    return QString::asprintf("%lld時間 %02lld分 %02lld秒", seconds / 3600, (seconds / 60) % 60, seconds % 60);
}

bool totalPanelShowsSize(int index) { return index >= 9 && index < kTotalPanelFormats; }

QString totalPanelChoice(int index)
{
    return (index >= 0 && index < kTotalPanelFormats) ? QString::fromUtf8(kPanelFormats[index].choice) : QString();
}

std::optional<TotalPanelText> totalPanelText(int index, qint64 seconds, qint64 bytes)
{
    if (index <= 0 || index >= kTotalPanelFormats)
        return std::nullopt;
    const PanelFormat &f = kPanelFormats[index];
    QString text;
    switch (index) {
    case 9:
        text = QString::asprintf(f.format, static_cast<long long>(bytes));
        break;
    case 10:
        text = QString::asprintf(f.format, double(bytes) / 1024.0);
        break;
    case 11:
        text = QString::asprintf(f.format, double(bytes) / 1048576.0);
        break;
    default:
        text = QString::asprintf(f.format, static_cast<long long>(seconds / 3600),
                                 static_cast<long long>((seconds / 60) % 60), static_cast<long long>(seconds % 60));
        break;
    }
    return TotalPanelText{text, f.width};
}

} // namespace findtotals
