#include "platform/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace text {

namespace {
constexpr const char *kCp932Name = "Windows-31J";
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned int cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else
            return false;
        if (i + len > n)
            return false;
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

Encoding detect(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8Bom;
    return isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp932;
}

QString fromCp932(QByteArrayView bytes)
{
    // Opening a converter by name costs more than decoding a tag field, so
    // each thread keeps one. Stateless: the lead byte of a character cut off
    // at the end of one call must not carry over into the next.
    thread_local QStringDecoder decoder(kCp932Name, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QString fromCp932OrWindows1252(QByteArrayView bytes)
{
    // With ICU an error sticks to the decoder (resetState() keeps it, and a
    // moved-to decoder reports none), so after one a new decoder is built in
    // place for the next call.
    thread_local std::optional<QStringDecoder> strict;
    if (!strict)
        strict.emplace(kCp932Name, QStringConverter::Flag::Stateless);
    if (strict->isValid()) {
        QString text = strict->decode(bytes);
        if (!strict->hasError())
            return text;
        strict.reset();
    }
    thread_local QStringDecoder western("windows-1252", QStringConverter::Flag::Stateless);
    if (!western.isValid())
        return QString::fromLatin1(bytes);
    return western.decode(bytes);
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Bom:
        return QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    case Encoding::Utf8:
        return QString::fromUtf8(bytes);
    case Encoding::Cp932:
        return fromCp932(bytes);
    }
    return {};
}

QString decode(QByteArrayView bytes) { return decode(bytes, detect(bytes)); }

bool fitsCp932(const QString &text)
{
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return true;
    QStringEncoder encoder(kCp932Name);
    if (!encoder.isValid())
        return false;
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return false;
    // ICU substitutes unmappable characters; a round trip tells.
    return fromCp932(bytes) == text;
}

QByteArray toCp932(const QString &text)
{
    QStringEncoder encoder(kCp932Name);
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray out;
    out.reserve(text.size() * 2);
    // Encode per code point so that a character without a CP932 form becomes
    // exactly one "?" and never takes its neighbours with it.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString ch = text.mid(i, len);
        if (ch.at(0).unicode() < 0x80) {
            out.append(char(ch.at(0).unicode()));
        } else {
            QStringEncoder one(kCp932Name);
            const QByteArray b = one.encode(ch);
            if (one.hasError() || b.isEmpty() || fromCp932(b) != ch)
                out.append('?');
            else
                out.append(b);
        }
        i += len;
    }
    return out;
}

QByteArray encodeForFile(const QString &text) { return fitsCp932(text) ? toCp932(text) : text.toUtf8(); }

QByteArray encodeForSystem(const QString &text) { return text.toUtf8(); }

QByteArray toSystemBytes(QByteArrayView bytes)
{
    return isValidUtf8(bytes) ? bytes.toByteArray() : fromCp932(bytes).toUtf8();
}

QByteArray encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        return text.toUtf8();
    case Encoding::Cp932:
        return toCp932(text);
    }
    return {};
}

} // namespace text
