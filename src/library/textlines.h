#pragma once
// Line splitting shared by the library's text formats. A line ends at LF,
// CR LF or a lone CR (files from old Macs); the last line counts even without
// a line end. Line ends are never part of the line handed on.
#include <QStringView>

namespace textlines {

template <typename Fn> void forEachLine(QStringView text, Fn &&fn)
{
    const QChar *p = text.data();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        fn(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && p[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        fn(text.sliced(start));
}

} // namespace textlines
