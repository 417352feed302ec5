// The lock on Linux and other POSIX systems: flock on a file in the user's runtime directory.

#include "single_copy_lock.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvale {
namespace {

// What stands at the path in place of a lock file, in words; empty for a regular file.
QString whatStandsAt(const QByteArray &path)
{
    struct stat st = {};
    if (::lstat(path.constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("a symbolic link");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("a directory");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("a named pipe");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("a socket");
    return QStringLiteral("a device");
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

SingleCopyLock::~SingleCopyLock()
{
    // Closing ends the lock; the file stays for the next start to lock again. Removing it could
    // let two starts lock two different files.
    if (m_handle != -1)
        ::close(int(m_handle));
}

QString SingleCopyLock::defaultDirectory()
{
    // Per user, never a shared /tmp path: another user's copy must not block this one.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString SingleCopyLock::fileName()
{
    return QStringLiteral("quorvale.lock");
}

SingleCopyClaim SingleCopyLock::lockFile()
{
    const QByteArray path = QFile::encodeName(m_path);
    // O_NOFOLLOW: a link at the path is never followed, nor a file made where it points.
    // O_NONBLOCK: opening a pipe does not wait for a writer. O_CLOEXEC: programs started from
    // here, such as the browser, do not inherit the lock and hold it after this copy has ended.
    const int fd =
        ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        if (const QString what = whatStandsAt(path); !what.isEmpty())
            return notALockFile(what);
        if (error == EACCES || error == EPERM || error == EROFS)
            return permissionDenied();
        return accessError(systemError(error));
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        const QString what = whatStandsAt(path);
        return notALockFile(what.isEmpty() ? QStringLiteral("not a regular file") : what);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return {SingleCopyClaim::Status::AnotherCopyRuns, 0, {}};
        return accessError(systemError(error));
    }
    m_handle = fd;
    return {};
}

} // namespace quorvale
