#include "tracks/genres.h"

#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/regularfile.h"
#include "platform/textcodec.h"

GenreTable GenreTable::fromBytes(const QByteArray &content)
{
    GenreTable table;
    // Decoded once so that the 256 lookups below only split UTF-8 lines.
    const QByteArray utf8 = text::decode(content).toUtf8();
    const QString section = QStringLiteral("Genre");
    for (int i = 0; i < kEntries; ++i) {
        table.m_names[i] = ProfileFile::lookup(utf8, section, QString::number(i));
    }
    return table;
}

GenreTable GenreTable::load(const QString &path)
{
    const regularfile::Read file = regularfile::read(path);
    if (!file)
        return {};
    return fromBytes(file.bytes);
}

QString GenreTable::defaultPath() { return paths::programFolder() + QStringLiteral("tunovia.gnr"); }

GenreTable GenreTable::loadDefault() { return load(defaultPath()); }

QString GenreTable::entry(int number) const
{
    return (number >= 0 && number < kEntries) ? m_names[number].value_or(QString()) : QString();
}

QString GenreTable::name(int number) const
{
    if (number < 0 || number >= kEntries || !m_names[number])
        return QStringLiteral(" ");
    return *m_names[number];
}
