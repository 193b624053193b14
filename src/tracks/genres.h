#pragma once
// Genre names from "tunovia.gnr" beside the program: section "Genre", keys
// 0-255 in decimal. The file is read once per operation into a GenreTable
// that the operation passes around.
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

class GenreTable {
public:
    static constexpr int kEntries = 256;

    GenreTable() = default; // no names at all
    static GenreTable fromBytes(const QByteArray &content);
    // A missing or unreadable file gives an empty table.
    static GenreTable load(const QString &path);
    // programFolder() + "tunovia.gnr"
    static QString defaultPath();
    static GenreTable loadDefault();

    // The stored name, or "" when there is none (the tag editor's list entry).
    QString entry(int number) const;
    // The name shown in the track list: a single space when the key is missing.
    QString name(int number) const;

private:
    std::array<std::optional<QString>, kEntries> m_names;
};

// The track list's genre text for a tag's genre number.
inline QString GenreName(const GenreTable &table, int number) { return table.name(number); }
