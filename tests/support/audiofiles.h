#pragma once
// Sound files made on the spot, for the media back end to open.
#include <QByteArray>
#include <QString>
#include <QtEndian>

// `ms` milliseconds of 16-bit mono PCM silence in a WAV file.
inline QByteArray silentWav(int ms, int rate = 8000)
{
    const quint32 samples = quint32(qint64(rate) * ms / 1000);
    const quint32 dataSize = samples * 2;
    QByteArray out;
    auto u32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto u16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF");
    u32(36 + dataSize);
    out.append("WAVEfmt ");
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(quint32(rate));
    u32(quint32(rate) * 2);
    u16(2);
    u16(16);
    out.append("data");
    u32(dataSize);
    out.append(QByteArray(int(dataSize), '\0'));
    return out;
}

// Bytes of a fixed pseudo-random sequence: no decoder finds audio in them.
inline QByteArray noiseBytes(int size)
{
    QByteArray out(size, '\0');
    quint32 seed = 12345;
    for (char &c : out) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 24);
    }
    return out;
}

// A real MP3 file of the demo library (a little under a second long).
inline QString demoMp3() { return QStringLiteral(TUNOVIA_SOURCE_DIR "/data/demo/music/first/01 Morning.mp3"); }
