// Settings files: one lookup and one write on whatever the file holds. A
// value just written must be the one read back.
#include "platform/profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString section = QStringLiteral("Setting");
    const QString key = QStringLiteral("Skin");
    (void)ProfileFile::lookup(content, QStringLiteral("Genre"), QStringLiteral("0"));
    (void)ProfileFile::lookup(content, section, key);
    const QString value = QStringLiteral("スキン 1");
    const QByteArray written = ProfileFile::withValue(content, section, key, value);
    if (ProfileFile::lookup(written, section, key) != value)
        std::abort();
    return 0;
}
