#pragma once
// INI files with the semantics of the Windows private-profile functions:
// names compare without regard to ASCII case, blanks around names and values
// are ignored, a value wholly inside a matching pair of quotes loses them, ";"
// starts a comment, the first of duplicate keys wins. Nothing is cached: every
// read opens the file and every write rewrites it through a temporary file and
// a rename while holding an exclusive lock, so that two processes never lose
// each other's keys and a crash leaves the old or the new file, never a torn one.
#include "platform/result.h"

#include <QString>
#include <optional>

// Why a write failed: the file and the reason.
struct ProfileError {
    QString path;
    QString message;
};
using ProfileWrite = Result<void, ProfileError>;

class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString &path() const { return m_path; }
    bool exists() const;

    // The raw value, or nothing when the key (or the file) is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    int readInt(const QString &section, const QString &key, int defaultValue) const;
    bool readFlag(const QString &section, const QString &key, bool defaultValue) const;

    // The callers decide how to report a failure. Names or values with a line break (or NUL), a key
    // with "=" and a section with "]" are refused and nothing is written.
    [[nodiscard]] ProfileWrite writeString(const QString &section, const QString &key, const QString &value);
    [[nodiscard]] ProfileWrite writeInt(const QString &section, const QString &key, int value);

    // "0x10" is 16, "-5" is -5, anything else that is not a whole number gives nothing.
    static std::optional<int> parseInt(const QString &text);
    // Pure: the file content after setting key=value (exposed for tests).
    static QByteArray withValue(const QByteArray &content, const QString &section, const QString &key,
                                const QString &value);
    static std::optional<QString> lookup(const QByteArray &content, const QString &section, const QString &key);

private:
    QString m_path;
};
