#pragma once
// Index files: a tree of folders naming album files.
//
//   ;Tunovia  Index File        header, an ordinary comment
//   ;title=Caption              dialog caption (keyword without regard to case)
//   ;root=My Music              name of the root folder
//   ;;{ Rock                    folder start (one optional space after ";;{")
//   <TAB>name=path              album entry, split at the first "="
//   ;;}                         folder end
//
// TABs are removed anywhere before a line is looked at. Folders are numbered
// in file order (root 0), which is their depth-first order. There are no
// limits on the number of folders or entries.
#include "platform/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace indexfile {

struct Entry {
    QString name;
    QString path; // as written, relative to the index file's folder unless absolute
};

struct Folder {
    QString name;
    int parent = -1; // -1 for the root
    int depth = 0;   // root 0
    std::vector<int> children;
    std::vector<Entry> entries;
};

struct Tree {
    QString title;               // empty when the file has no ;title line
    std::vector<Folder> folders; // index = folder number; [0] is the root
    const Folder &root() const { return folders.front(); }
    // Entries of `folder` followed by those of every folder below it, in folder order.
    std::vector<Entry> entriesWithSubfolders(int folder) const;
};

// Reads decoded text / file bytes. Never fails: what cannot be read as
// anything else is skipped (a line without "=" or with an empty name), a
// folder end with no open folder is ignored, open folders close at the end.
Tree parseText(QStringView text);
Tree parse(QByteArrayView bytes);

// The tree of the file, or the reason it cannot be read (in the system's
// words); a dialog then shows parseText({}), the root alone.
[[nodiscard]] Result<Tree> readFile(const QString &path);

// The content of a new index file.
QByteArray newFileContent();
// Lines as the dialog inserts them (text, without line end).
QString entryLine(const QString &name, const QString &path);
QStringList folderLines(const QString &name);
// Whether a name can be stored as an entry and read back unchanged.
bool isValidEntryName(const QString &name);

// Inserts `lines` into the file's bytes: in front of the first line when
// `target` is 0, else right after the start line of folder `target`, each
// line indented with the TABs of the line it is put in front of. A target
// past the last folder (or negative) leaves the bytes unchanged. Lines keep
// their own bytes and line ends; new lines end in CR LF and are encoded like
// the rest of the file (a CP932 file that cannot hold them becomes UTF-8, so
// nothing is lost).
QByteArray insertLines(const QByteArray &file, int target, const QStringList &lines);

// Writes the whole file through a temporary file and a rename; a failure
// is the reason in the system's words.
[[nodiscard]] Result<> saveFile(const QString &path, const QByteArray &bytes);

// One pass of adjacent exchanges over the album names, comparing their CP932
// bytes as unsigned; the paths move with their names.
void sortOnePass(QStringList &names, QStringList &paths);

} // namespace indexfile
