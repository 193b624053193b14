#pragma once
// Path rules shared by every file format. The separator is "/"; paths written
// on Windows ("\", "X:") are understood when read.
#include <QString>

namespace paths {

// Settings folder: $TUNOVIA_CONFIG_DIR, else $XDG_CONFIG_HOME/tunovia, else ~/.config/tunovia.
QString settingsDir();
// Folder of the running executable, where the program's own files live
// ($TUNOVIA_PROGRAM_DIR overrides it, for tests). Ends without "/".
QString programDir();
// programDir() + "/"
QString programFolder();

// "/x" or "X:..." (a drive-letter path counts as absolute; it will simply not exist).
bool isAbsolute(const QString &path);
// "\" becomes "/".
QString fromWindows(QString path);
// Everything up to and including the last "/" ("" when there is none).
QString folderPart(const QString &path);
// Everything after the last "/".
QString namePart(const QString &path);
// Track path rule: absolute as it stands, otherwise relative to `baseFolder`
// (which ends with "/").
QString resolveAgainst(const QString &baseFolder, const QString &path);
// Album-file rule: "./" and "../" steps from `baseFolder` (ends with "/"); a
// "../" at the root stays at the root.
QString resolveDotted(const QString &baseFolder, const QString &path);
// The path with its last three characters replaced by "txt".
QString lyricsNameFor(const QString &path);
// A folder setting with a trailing "/" appended when missing (empty stays empty).
QString withTrailingSlash(const QString &folder);

} // namespace paths
