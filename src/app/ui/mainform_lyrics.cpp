// The playback clock, the built-in player and the lyrics window, as the main
// window drives them.
#include "app/ui/mainform.h"

void TTunoviaF::createLyricsWindow() {}
void TTunoviaF::KLyricsONOFF1Click() {}
void TTunoviaF::closeLyricsWindow() {}
void TTunoviaF::showLyricsWindow() {}
void TTunoviaF::builtinTransport(int) {}
void TTunoviaF::builtinHandOver(const QStringList &) {}
void TTunoviaF::builtinStopAndClose() {}
