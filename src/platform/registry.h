#pragma once
// Read-only view of the current user's registry as Wine stores it in its text
// file (user.reg). Older Tunovia versions kept their settings there; they are
// imported once when no settings file exists yet. Nothing here ever writes.
//
// A missing file means every key is missing; a damaged file yields whatever
// could be read before and after the damage.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

class LegacyRegistry {
public:
    // An empty registry: every key is missing.
    LegacyRegistry() = default;
    // Parses the bytes of a registry file.
    explicit LegacyRegistry(QByteArrayView bytes);

    // $TUNOVIA_REGISTRY_FILE, else $WINEPREFIX/user.reg, else ~/.wine/user.reg.
    static QString defaultPath();
    static LegacyRegistry fromFile(const QString &path);
    static LegacyRegistry fromDefaultFile() { return fromFile(defaultPath()); }

    // Key paths look like "Software\Ravlen\Tunovia\Setting" (a leading "\" is
    // allowed); key paths and value names compare without regard to case.
    bool hasKey(const QString &keyPath) const;
    // A string value (plain or expandable); nothing when missing or of another type.
    std::optional<QString> string(const QString &keyPath, const QString &name) const;
    // A DWORD value; nothing when missing or of another type.
    std::optional<int> integer(const QString &keyPath, const QString &name) const;

    struct Value {
        enum class Type { String, Dword } type = Type::String;
        QString text;
        quint32 number = 0;
    };

private:
    const Value *find(const QString &keyPath, const QString &name) const;

    // Folded key path -> folded value name -> value. The default value has the name "".
    QHash<QString, QHash<QString, Value>> m_keys;
};
