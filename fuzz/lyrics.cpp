// Lyrics files beside the tracks, and the line chosen while a track plays.
#include "lyrics/lyricsfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const lyrics::Lyrics parsed = lyrics::parse(QByteArrayView(data, qsizetype(size)));
    if (parsed.lines.size() < 2)
        std::abort(); // the start and end lines are always there
    for (const char *time : {"00:00:00", "01:23:45", "99:99:99"}) {
        const int line = lyrics::lineForTime(parsed.lines, QLatin1String(time));
        if (line >= parsed.lines.size())
            std::abort();
        (void)lyrics::centredTopRow(line, 7);
    }
    return 0;
}
