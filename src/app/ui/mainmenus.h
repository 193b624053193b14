#pragma once
// The main window's menu bar and the track lists' pop-up menu, built from one
// table of captions, shortcuts, object names and commands.
class QMenu;
class TTunoviaF;

namespace mainmenus {

// Fills window's menu bar and gives the lists' pop-up menu ("PopupMenu1");
// each item runs its command on window.
QMenu *build(TTunoviaF &window);

} // namespace mainmenus
