#pragma once
// The program's one optional argument names the index file:
//   /r=FOLDER/  -> FOLDER/ + "tunovia.ini"  (the folder must end with "/")
//   /i=FILE     -> FILE
//   /x=...      -> ignored (any other option)
//   PATH        -> PATH as a whole (absolute paths begin with "/" too)
// In the /r= and /i= forms white space ends the value.
#include <QString>
#include <QStringList>
#include <optional>

// `arguments` excludes the program name. Nothing when the index path stays as it was.
std::optional<QString> indexPathFromCommandLine(const QStringList &arguments);
