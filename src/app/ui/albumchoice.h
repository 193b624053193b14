#pragma once
// The album dialog of the show sequence on the index file at `indexPath`:
// what was chosen, and the index file the dialog ended on.
#include "app/lifecycle.h"

class Launcher;
class SettingsStore;
class Prompts;
class QWidget;

Lifecycle::AlbumChoice chooseAlbums(QWidget *parent, Prompts &prompts, SettingsStore &settings, Launcher &launcher,
                                    const QString &indexPath);
