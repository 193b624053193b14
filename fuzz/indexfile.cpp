// Index files: parsed, then lines inserted into a folder the input picks,
// then the result parsed again, as the add-album and add-folder dialogs do.
#include "library/indexfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const indexfile::Tree tree = indexfile::parse(file);
    if (tree.folders.empty())
        std::abort(); // the root always exists
    for (size_t f = 0; f < tree.folders.size(); ++f)
        (void)tree.entriesWithSubfolders(int(f));

    // The last byte picks the target folder, one past the end included.
    const int target = size ? int(data[size - 1] % (tree.folders.size() + 1)) : 0;
    QStringList lines = indexfile::folderLines(QStringLiteral("新しいフォルダ"));
    lines.append(indexfile::entryLine(QStringLiteral("アルバム"), QStringLiteral("albums/a.mdt")));
    const QByteArray inserted = indexfile::insertLines(file, target, lines);
    const indexfile::Tree after = indexfile::parse(inserted);
    if (target < int(tree.folders.size()) && after.folders.size() != tree.folders.size() + 1)
        std::abort(); // the inserted folder must be read back
    return 0;
}
