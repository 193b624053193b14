// m3u playlists: the lines read from a dropped playlist, and the stand-in
// player loading the same bytes from a file.
#include "platform/fakemediadevice.h"
#include "standin/playerengine.h"
#include "tracks/trackfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &line : trackfiles::playlistLines(bytes))
        (void)trackfiles::resolvePlaylistEntry(line, QStringLiteral("/nonexistent/list/"));

    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("list.m3u"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    PlayerEngine engine(PlayerMode::Winamp, std::make_unique<FakeMediaDevice>());
    if (!engine.loadPlaylist(path))
        std::abort();
    for (int i = 0; i < engine.count(); ++i)
        (void)engine.entry(i);
    (void)engine.title();
    return 0;
}
