#include "app/commandline.h"

namespace {
QString upToWhiteSpace(const QString &s)
{
    qsizetype end = 0;
    while (end < s.size() && !s.at(end).isSpace())
        ++end;
    return s.left(end);
}
} // namespace

std::optional<QString> indexPathFromCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return std::nullopt;
    const QString &arg = arguments.constFirst();
    // Options look like "/x=..."; anything else, "/home/..." included, is a path.
    const bool isOption = arg.size() >= 3 && arg.startsWith(QLatin1Char('/')) && arg.at(2) == QLatin1Char('=');
    if (!isOption)
        return arg;
    const QChar option = arg.at(1).toLower();
    const QString value = upToWhiteSpace(arg.mid(3));
    if (option == QLatin1Char('r'))
        return value + QStringLiteral("tunovia.ini");
    if (option == QLatin1Char('i'))
        return value;
    return std::nullopt;
}
