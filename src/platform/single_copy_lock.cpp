#include "single_copy_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

namespace quorvale {
namespace {

// A copy writes its process id into the lock file the moment it creates it, so a file that
// still names no process after this long was left behind.
constexpr qint64 kUnverifiableAfterMs = 2000;

} // namespace

SingleCopyLock::SingleCopyLock(QString directory)
{
    if (directory.isEmpty())
        directory = defaultDirectory();
    m_path = QDir(directory).filePath(QStringLiteral("quorvale.lock"));
}

QString SingleCopyLock::defaultDirectory()
{
    // Per user, never a shared /tmp path: another user's copy must not block this one.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleCopyClaim SingleCopyLock::claim()
{
    if (m_lock && m_lock->isLocked())
        return {};
    const QString directory = QFileInfo(m_path).absolutePath();
    if (!QFileInfo(directory).isDir())
        return {SingleCopyClaim::Status::Failed, 76,
                QStringLiteral("Path not found: %1").arg(directory)};
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock whose holder no longer runs is removed at once; a live holder is never stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return {};
    if (removeUnverifiableLock() && m_lock->tryLock(0))
        return {};

    switch (m_lock->error()) {
    case QLockFile::LockFailedError:
        return {SingleCopyClaim::Status::AnotherCopyRuns, 0, {}};
    case QLockFile::PermissionError:
        return {SingleCopyClaim::Status::Failed, 70,
                QStringLiteral("Permission denied: %1").arg(m_path)};
    default:
        return {SingleCopyClaim::Status::Failed, 75,
                QStringLiteral("Path/File access error: %1").arg(m_path)};
    }
}

bool SingleCopyLock::isUnverifiable() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock->getLockInfo(&pid, &host, &application) &&
        (host.isEmpty() || host == QSysInfo::machineHostName()))
        return false; // QLockFile tells by the process whether it is stale
    const QFileInfo file(m_path);
    return file.exists() &&
           qAbs(file.lastModified().msecsTo(QDateTime::currentDateTime())) > kUnverifiableAfterMs;
}

bool SingleCopyLock::removeUnverifiableLock()
{
    // With a stale-lock time of 0, QLockFile never takes over a lock file that names no process
    // of this machine (empty, damaged, another host's): one such file would refuse every start
    // for good. It goes once it is old, and only when no live copy holds it: the removal takes
    // the file's own lock first and fails while a copy holds that. Qt's removal lock keeps two
    // starts from removing at the same time.
    if (m_lock->error() != QLockFile::LockFailedError || !isUnverifiable())
        return false;
    QLockFile removal(m_path + QLatin1String(".rmlock"));
    return removal.tryLock(0) && isUnverifiable() && m_lock->removeStaleLockFile();
}

} // namespace quorvale
