#include "tracks/albumwriter.h"

#include "library/albumfile.h"

#include <QSaveFile>

namespace albumwriter {

std::vector<TrackRecord> rowsToWrite(const std::vector<TrackRecord> &rows, const std::vector<bool> &selection,
                                     bool selectedOnly)
{
    if (!selectedOnly)
        return rows;
    std::vector<TrackRecord> out;
    for (std::size_t i = 0; i < rows.size() && i < selection.size(); ++i) {
        if (selection[i])
            out.push_back(rows[i]);
    }
    return out;
}

Result<> saveAlbumFile(const QString &path, const std::vector<TrackRecord> &rows)
{
    // A line end inside a field (possible in a tag) would split the record.
    std::vector<TrackRecord> clean = rows;
    for (TrackRecord &row : clean) {
        for (QString &field : row.fields) {
            field.replace(QLatin1Char('\r'), QLatin1Char(' '));
            field.replace(QLatin1Char('\n'), QLatin1Char(' '));
        }
    }
    QSaveFile file(path);
    const QByteArray bytes = album::encodeAlbum(clean);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Result<>::failure(
            QStringLiteral("アルバムファイル %1 を作成できませんでした。(%2)").arg(path, file.errorString()));
    return {};
}

} // namespace albumwriter
