// The lock on Windows: LockFileEx on a file in the user's temporary folder. The folder is the
// user's own (and, on a terminal server, the logon session's own), so another user's copy never
// blocks this one; Windows ends the lock with the process that holds it.

#include "single_copy_lock.h"

#include <QDir>

#include <windows.h>

namespace quorvale {
namespace {

// What stands at the path in place of a lock file, in words; empty for a regular file.
QString whatStandsAt(const wchar_t *path)
{
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {};
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return QStringLiteral("a symbolic link");
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return QStringLiteral("a directory");
    return {};
}

} // namespace

SingleCopyLock::~SingleCopyLock()
{
    // Closing ends the lock; the file stays for the next start to lock again.
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

QString SingleCopyLock::defaultDirectory()
{
    return QDir::tempPath();
}

SingleCopyClaim SingleCopyLock::lockFile()
{
    const QString native = QDir::toNativeSeparators(m_path);
    const auto *path = reinterpret_cast<const wchar_t *>(native.utf16());
    // FILE_FLAG_OPEN_REPARSE_POINT: a link or junction at the path is opened as itself, never
    // followed. Without FILE_SHARE_DELETE nobody removes the file while it is held. The handle
    // is not inheritable, so a program started from here (the browser) never keeps the lock.
    const HANDLE file =
        CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (const QString what = whatStandsAt(path); !what.isEmpty())
            return notALockFile(what);
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT)
            return permissionDenied();
        return accessError(qt_error_string(int(error)));
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        CloseHandle(file);
        const QString what = whatStandsAt(path);
        return notALockFile(what.isEmpty() ? QStringLiteral("not a regular file") : what);
    }
    OVERLAPPED at = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        if (error == ERROR_LOCK_VIOLATION)
            return {SingleCopyClaim::Status::AnotherCopyRuns, 0, {}};
        return accessError(qt_error_string(int(error)));
    }
    m_handle = reinterpret_cast<qintptr>(file);
    return {};
}

} // namespace quorvale
