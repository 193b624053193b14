// Index files and album loading of the main window.
#include "app/ui/mainform.h"

#include <QFile>

void TTunoviaF::IniSelMnuClick() {}
void TTunoviaF::MakeGroupMnuClick() {}
void TTunoviaF::loadLegacyList(QFile &) {}
TTunoviaF::AlbumLoadOutcome TTunoviaF::selectAndLoadAlbums(QFile &) { return AlbumLoadOutcome::Cancelled; }
void TTunoviaF::openIndexFile(const QString &) {}
