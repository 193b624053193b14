#include "platform/regularfile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace regularfile {

namespace {

void fail(Outcome &outcome, Failure failure, int error = 0)
{
    outcome.failure = failure;
    switch (failure) {
    case Failure::None:
        outcome.reason.clear();
        break;
    case Failure::Missing:
        outcome.reason = QStringLiteral("no such file");
        break;
    case Failure::NotRegular:
        outcome.reason = QStringLiteral("not a regular file");
        break;
    case Failure::TooLarge:
        outcome.reason = QStringLiteral("file too large");
        break;
    case Failure::Unreadable:
        outcome.reason = QString::fromLocal8Bit(std::strerror(error));
        break;
    }
}

Failure failureFor(int error) { return (error == ENOENT || error == ENOTDIR) ? Failure::Missing : Failure::Unreadable; }

} // namespace

int openDescriptor(const QString &path, Outcome &outcome, bool seenAsRegular)
{
    outcome = {};
    if (path.isEmpty()) {
        fail(outcome, Failure::Missing);
        return -1;
    }
    const QByteArray native = QFile::encodeName(path);
    // Looked at before opening, so that a device is never opened at all.
    struct stat st {};
    if (!seenAsRegular) {
        if (::stat(native.constData(), &st) != 0) {
            const int error = errno;
            fail(outcome, failureFor(error), error);
            return -1;
        }
        if (!S_ISREG(st.st_mode)) {
            fail(outcome, Failure::NotRegular);
            return -1;
        }
    }
    // O_NONBLOCK and a second look: a FIFO put in the file's place between
    // the two calls can neither block the open nor be read.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        fail(outcome, failureFor(error), error);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fail(outcome, Failure::NotRegular);
        return -1;
    }
    outcome.size = qint64(st.st_size);
    return fd;
}

Outcome open(QFile &file, const QString &path)
{
    Outcome outcome;
    const int fd = openDescriptor(path, outcome);
    if (fd < 0)
        return outcome;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        outcome.failure = Failure::Unreadable;
        outcome.reason = file.errorString();
    }
    return outcome;
}

Read read(const QString &path, qint64 limit)
{
    Read result;
    const int fd = openDescriptor(path, result);
    if (fd < 0)
        return result;
    if (result.size <= limit)
        result.bytes.reserve(qsizetype(result.size));
    // Up to the end, which a regular file may move while it is read: the
    // limit still holds.
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            fail(result, Failure::Unreadable, error);
            break;
        }
        if (n == 0)
            break;
        if (result.bytes.size() + n > limit) {
            fail(result, Failure::TooLarge);
            break;
        }
        result.bytes.append(chunk, qsizetype(n));
    }
    ::close(fd);
    if (!result.ok())
        result.bytes.clear();
    return result;
}

} // namespace regularfile
