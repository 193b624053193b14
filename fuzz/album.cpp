// Album files as the user keeps them: any bytes, any encoding.
#include "library/albumfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const std::vector<TrackRecord> tracks = album::parseAlbum(bytes, QStringLiteral("/music/albums/"));
    // What was read must write back out without trouble.
    (void)album::encodeAlbum(tracks);
    return 0;
}
