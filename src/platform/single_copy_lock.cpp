#include "single_copy_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace quorvale {
namespace {

// A copy that has just ended may hold its lock a moment longer (Windows releases the locks of an
// ended process when its resources allow), so a start that finds the lock held looks again a few
// times before it calls the other copy running.
constexpr int kClaimTries = 7;
constexpr unsigned long kClaimRetryMs = 50;

// Codes of the start-up error report.
constexpr int kPathNotFound = 76;
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccessError = 75;

SingleCopyClaim failure(int code, const QString &description)
{
    return {SingleCopyClaim::Status::Failed, code, description};
}

} // namespace

SingleCopyLock::SingleCopyLock(QString directory)
{
    if (directory.isEmpty())
        directory = defaultDirectory();
    m_path = QDir(directory).filePath(fileName());
}

SingleCopyClaim SingleCopyLock::claim()
{
    if (m_handle != -1)
        return {};
    const QString directory = QFileInfo(m_path).absolutePath();
    if (!QFileInfo(directory).isDir())
        return failure(
            kPathNotFound,
            QStringLiteral("Path not found: %1").arg(QDir::toNativeSeparators(directory)));
    SingleCopyClaim claim = lockFile();
    for (int tries = 1;
         tries < kClaimTries && claim.status == SingleCopyClaim::Status::AnotherCopyRuns; ++tries) {
        QThread::msleep(kClaimRetryMs);
        claim = lockFile();
    }
    return claim;
}

SingleCopyClaim SingleCopyLock::permissionDenied() const
{
    return failure(kPermissionDenied,
                   QStringLiteral("Permission denied: %1").arg(QDir::toNativeSeparators(m_path)));
}

SingleCopyClaim SingleCopyLock::accessError(const QString &reason) const
{
    return failure(kPathFileAccessError, QStringLiteral("Path/File access error: %1: %2")
                                             .arg(QDir::toNativeSeparators(m_path), reason));
}

SingleCopyClaim SingleCopyLock::notALockFile(const QString &what) const
{
    return failure(kPathFileAccessError,
                   QStringLiteral("Path/File access error: %1 is %2, not a lock file")
                       .arg(QDir::toNativeSeparators(m_path), what));
}

} // namespace quorvale
