// Track commands of the main window: album building, drops, tags, find,
// totals, copy and the outside tools.
#include "app/ui/mainform.h"

#include <QDragEnterEvent>
#include <QDropEvent>

void TTunoviaF::MakeMdtMnuClick() {}
void TTunoviaF::RunExploreMnuClick() {}
void TTunoviaF::FileCopyClick() {}
void TTunoviaF::RunJ2Click() {}
void TTunoviaF::Runm2hClick() {}
void TTunoviaF::Find1Click() {}
void TTunoviaF::TotalTimeMnuClick() {}
void TTunoviaF::TagEditMnuClick() {}
void TTunoviaF::updateTotalDisplay() {}
void TTunoviaF::dragEnterEvent(QDragEnterEvent *event) { QMainWindow::dragEnterEvent(event); }
void TTunoviaF::dropEvent(QDropEvent *event) { QMainWindow::dropEvent(event); }
