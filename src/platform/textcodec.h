#pragma once
// Tunovia's files come from Windows (Shift-JIS) or from Linux (UTF-8). These
// are the only places where bytes become text and text becomes bytes.
#include <QByteArray>
#include <QString>

namespace text {

enum class Encoding { Utf8, Utf8Bom, Cp932 };

// BOM means UTF-8, else valid UTF-8 means UTF-8, else CP932 (Windows-31J).
Encoding detect(QByteArrayView bytes);
QString decode(QByteArrayView bytes, Encoding encoding);
QString decode(QByteArrayView bytes); // detect() then decode()

bool isValidUtf8(QByteArrayView bytes);
// True when every character of `text` has a CP932 form.
bool fitsCp932(const QString &text);
QByteArray toCp932(const QString &text); // characters without a CP932 form become "?"
QString fromCp932(QByteArrayView bytes);
// For bytes that carry no word on their encoding (ID3v1 fields): CP932 when
// they are valid CP932, otherwise Windows-1252, which Western tools write, so
// that "Caf\xE9" reads "Café" instead of losing its last letter.
QString fromCp932OrWindows1252(QByteArrayView bytes);
// CP932 when every character fits, otherwise UTF-8 (nothing is lost).
QByteArray encodeForFile(const QString &text);
// Text that names files of this system for another program (playlists, the
// data file): UTF-8 always, since that is what the file names are.
QByteArray encodeForSystem(const QString &text);
// Bytes from a player: kept when they are UTF-8, else read as CP932 and
// given as UTF-8.
QByteArray toSystemBytes(QByteArrayView bytes);
QByteArray encode(const QString &text, Encoding encoding);

// Number of bytes of a CP932 lead byte's character (1 or 2).
inline bool isCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

} // namespace text
