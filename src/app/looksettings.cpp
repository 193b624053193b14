#include "app/looksettings.h"

#include "config/wincolor.h"
#include "platform/u8.h"

#include <QFileInfo>

// The album list draws in the desktop's text colour, the older list in black.
ListLooks::ListLooks() { thirteen.color = wincolor::kWindowText; }

namespace looksettings {

int pointSize(const ListLook &look) { return look.fontSize > 0 ? look.fontSize : 9; }

void takeFont(ListLook &look, const QString &family, int pointSize, bool bold, bool italic)
{
    look.fontName = SettingsStore::cutFontName(family);
    look.fontSize = pointSize;
    look.bold = bold;
    look.italic = italic;
}

QStringList timeSkinFiles(const QString &prefix)
{
    if (!QFileInfo::exists(prefix + QStringLiteral("0.bmp")))
        return {};
    QStringList files;
    for (int i = 0; i < 10; ++i)
        files << prefix + QStringLiteral("%1.bmp").arg(i);
    files << prefix + QStringLiteral("_.bmp");
    return files;
}

ButtonSkinFiles buttonSkinFiles(const QString &prefix, const QStringList &normalNames, const QStringList &pressedNames)
{
    ButtonSkinFiles files;
    if (!QFileInfo::exists(prefix + QStringLiteral("play.bmp")))
        return files;
    for (const QString &name : normalNames)
        files.normal << prefix + name;
    if (QFileInfo::exists(prefix + QStringLiteral("click_play.bmp"))) {
        for (const QString &name : pressedNames)
            files.pressed << prefix + name;
    }
    return files;
}

QString skinErrorText(const QString &file) { return U("画像を読み込めませんでした。\n%1").arg(file); }

} // namespace looksettings
