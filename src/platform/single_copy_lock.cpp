#include "single_copy_lock.h"

#include <QDir>
#include <QFileInfo>

namespace quorvale {
namespace {

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
    m_path = QDir(directory).filePath(QStringLiteral("quorvale.lock"));
}

SingleCopyClaim SingleCopyLock::claim()
{
    if (m_handle != -1)
        return {};
    const QString directory = QFileInfo(m_path).absolutePath();
    if (!QFileInfo(directory).isDir())
        return failure(kPathNotFound, QStringLiteral("Path not found: %1").arg(directory));
    return lockFile();
}

SingleCopyClaim SingleCopyLock::permissionDenied() const
{
    return failure(kPermissionDenied, QStringLiteral("Permission denied: %1").arg(m_path));
}

SingleCopyClaim SingleCopyLock::accessError(const QString &reason) const
{
    return failure(kPathFileAccessError,
                   QStringLiteral("Path/File access error: %1: %2").arg(m_path, reason));
}

SingleCopyClaim SingleCopyLock::notALockFile(const QString &what) const
{
    return failure(
        kPathFileAccessError,
        QStringLiteral("Path/File access error: %1 is %2, not a lock file").arg(m_path, what));
}

} // namespace quorvale
