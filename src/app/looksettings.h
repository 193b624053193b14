#pragma once
// The rules behind the look of the main window's track lists, apart from the
// widgets: which look belongs to which list, the font a stored look asks for,
// how a chosen font is recorded, and which files a skin folder supplies.
#include "config/settingsstore.h"

#include <QString>
#include <QStringList>

// Fonts, colours and column widths of the two track lists.
struct ListLooks {
    ListLooks();

    ListLook five;     // the five-column list of an older track list file
    ListLook thirteen; // the album list
    ColumnWidths widths;

    ListLook &of(bool fiveList) { return fiveList ? five : thirteen; }
};

namespace looksettings {

// A look without a stored size is drawn at 9 points.
int pointSize(const ListLook &look);
// Records a font chosen for a list; the name is cut as the settings file keeps it.
void takeFont(ListLook &look, const QString &family, int pointSize, bool bold, bool italic);

// The time skin behind a folder prefix: "0.bmp" to "9.bmp", then the
// separator "_.bmp". None without "0.bmp"; the pictures in use then stay.
QStringList timeSkinFiles(const QString &prefix);

struct ButtonSkinFiles {
    QStringList normal;  // empty: the button pictures in use stay
    QStringList pressed; // empty: the normal pictures serve pressed too
};
// The button skin behind a folder prefix, for the pictures' file names in
// button order. Only a folder with "play.bmp" is a skin; its pressed pictures
// count only when "click_play.bmp" is there too.
ButtonSkinFiles buttonSkinFiles(const QString &prefix, const QStringList &normalNames, const QStringList &pressedNames);

// What the window says when a skin picture cannot be read.
QString skinErrorText(const QString &file);

} // namespace looksettings
