#pragma once
// Reading a file that the user named. Only a regular file is read: a folder,
// a device such as /dev/zero or a FIFO counts as a file that cannot be opened,
// and trying one never blocks. Every read has an upper bound.
#include <QByteArray>
#include <QString>

class QFile;

namespace regularfile {

// Far above any index, album, lyrics, playlist or settings file. A larger file
// is refused rather than read in part.
inline constexpr qint64 kTextLimit = qint64(64) * 1024 * 1024;

enum class Failure { None, Missing, NotRegular, Unreadable, TooLarge };

struct Outcome {
    Failure failure = Failure::None;
    QString reason;  // in the system's words, for messages; empty on success
    qint64 size = 0; // the file's length when it was opened
    bool ok() const { return failure == Failure::None; }
    explicit operator bool() const { return ok(); }
};

struct Read : Outcome {
    QByteArray bytes;
};

// A read-only descriptor of the regular file at `path` for the caller to
// close, or -1 with `outcome` telling why. `seenAsRegular`: the caller has
// just listed it as one (a folder scan), which saves a stat.
int openDescriptor(const QString &path, Outcome &outcome, bool seenAsRegular = false);
// `file` opened read-only on the regular file at `path`.
Outcome open(QFile &file, const QString &path);
// The whole file; a file longer than `limit` bytes fails with TooLarge.
Read read(const QString &path, qint64 limit = kTextLimit);

} // namespace regularfile
