// Outside players and volume, driven from the main window.
#include "app/ui/mainform.h"

void TTunoviaF::SpeedButton1Click() {}
void TTunoviaF::SpeedButton2Click() {}
void TTunoviaF::SpeedButton3Click() {}
void TTunoviaF::SpeedButton4Click() {}
void TTunoviaF::SpeedButton5Click() {}
void TTunoviaF::MP3ListViewDblClick() {}
void TTunoviaF::PlayerQuitMnuClick() { quitPlayer(); }
void TTunoviaF::UseWinampMnuClick() {}
void TTunoviaF::UseScmpxMnuClick() {}
void TTunoviaF::UseMciMnuClick() {}
void TTunoviaF::UseChangeMnuClick() {}
void TTunoviaF::VolDownMnuClick() {}
void TTunoviaF::VolUpMnuClick() {}
void TTunoviaF::VolAMnuClick() {}
void TTunoviaF::VolBMnuClick() {}
void TTunoviaF::VolCMnuClick() {}
void TTunoviaF::quitPlayer() {}
