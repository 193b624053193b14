// Writes the built-in pictures as the default skin folders at build time:
//   makeskins <time skin folder> <button skin folder>
#include "app/ui/builtinpictures.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: makeskins <time skin folder> <button skin folder>\n");
        return 2;
    }
    if (!BuiltinPictures::writeDefaultSkins(args.at(1), args.at(2))) {
        std::fprintf(stderr, "makeskins: could not write the skin pictures\n");
        return 1;
    }
    return 0;
}
