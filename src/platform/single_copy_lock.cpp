#include "single_copy_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorvale {

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

} // namespace quorvale
