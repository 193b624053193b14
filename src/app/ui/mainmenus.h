#pragma once
// The main window's menu bar and the track lists' pop-up menu, built from one
// table of captions, shortcuts, object names and commands.
class QMenu;
class TTunoviaF;

namespace mainmenus {

// Fills window's menu bar and gives the lists' pop-up menu ("PopupMenu1");
// each item runs its command on window.
QMenu *build(TTunoviaF &window);

// The command joypad action `action` runs (see config/joypadactions.h);
// nullptr for "none" and for numbers out of range.
using Command = void (TTunoviaF::*)();
Command joypadCommand(int action);

} // namespace mainmenus
