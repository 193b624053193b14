// The older five-field track list, opened in place of an index file.
#include "library/albumfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    if (album::isLegacyTrackList(bytes))
        (void)album::parseLegacyList(bytes);
    return 0;
}
