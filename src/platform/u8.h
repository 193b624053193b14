#pragma once
// Source files are UTF-8, so user-visible texts (Japanese included) are
// written as plain literals and converted with U().
#include <QString>

inline QString U(const char *s) { return QString::fromUtf8(s); }
