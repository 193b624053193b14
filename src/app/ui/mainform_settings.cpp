// The settings dialog and the joypad, as the main window drives them.
#include "app/ui/mainform.h"

void TTunoviaF::createSettingsDialog() {}
