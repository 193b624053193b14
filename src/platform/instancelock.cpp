#include "platform/instancelock.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace instancelock {

namespace {

// The identifier becomes one file name: no folder steps, no NUL.
QString fileNameFor(const QString &id)
{
    QString name = id;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    return name + QStringLiteral(".lock");
}

} // namespace

QString lockPath(const QString &id)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + QLatin1Char('/') + fileNameFor(id);
    // The temporary folder is shared by all users: keep one user's lock from
    // blocking (or being unreadable to) another's.
    return QDir::tempPath() + QStringLiteral("/%1-").arg(::getuid()) + fileNameFor(id);
}

Result tryAcquire(const QString &id)
{
    static QSet<QString> heldHere;
    const QString where = lockPath(id);
    if (heldHere.contains(where))
        return Result::Acquired;
    const QByteArray path = QFile::encodeName(where);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Result::Unavailable;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        heldHere.insert(where);
        return Result::Acquired; // fd stays open on purpose
    }
    const int err = errno;
    ::close(fd);
    return err == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
}

} // namespace instancelock
