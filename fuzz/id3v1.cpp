// ID3v1 tags: the last 128 bytes of the input are the tag. A tag written back
// with nothing changed must read back as the same tag.
#include "tracks/id3v1.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(id3v1::kTagSize))
        return 0;
    const QByteArrayView last128(data + size - id3v1::kTagSize, id3v1::kTagSize);
    const std::optional<id3v1::TagFields> tag = id3v1::parseTag(last128);
    if (!tag)
        return 0;
    const QByteArray written = id3v1::encodeTag(*tag, last128);
    if (written.size() != id3v1::kTagSize)
        std::abort();
    const std::optional<id3v1::TagFields> again = id3v1::parseTag(written);
    if (!again || !(*again == *tag))
        std::abort();
    return 0;
}
