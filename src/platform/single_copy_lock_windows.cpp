// The lock on Windows: LockFileEx on a file in the folder Quorvale of the user's local
// application data folder, as the shell reports it (never TMP or TEMP, which a shell or an
// administrator may point anywhere, even at a folder that every user shares). The file's name
// carries the logon session, so the lock is this user's and this session's; the installer asks
// the same lock. Windows ends the lock with the process that holds it; this copy unlocks it
// itself as it ends, as Microsoft recommends, since that release may come late.

#include "single_copy_lock.h"

#include <QDir>

#include <windows.h>

#include <shlobj.h>

namespace quorvale {
namespace {

// What stands at the path in place of a lock file, in words; empty for a regular file.
QString whatStandsAt(const wchar_t *path)
{
    WIN32_FIND_DATAW found = {};
    const HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    FindClose(search);
    // For a reparse point dwReserved0 holds its tag.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT)
            return QStringLiteral("a junction");
        if (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK)
            return QStringLiteral("a symbolic link");
        return QStringLiteral("a reparse point");
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return QStringLiteral("a directory");
    return {};
}

} // namespace

SingleCopyLock::~SingleCopyLock()
{
    // Unlocked, then closed; the file stays for the next start to lock again.
    if (m_handle != -1) {
        const auto file = reinterpret_cast<HANDLE>(m_handle);
        OVERLAPPED at = {};
        UnlockFileEx(file, 0, 1, 0, &at);
        CloseHandle(file);
    }
}

QString SingleCopyLock::defaultDirectory()
{
    PWSTR appData = nullptr;
    QString directory;
    if (SUCCEEDED(
            SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &appData)))
        directory = QString::fromWCharArray(appData) + QStringLiteral("\\Quorvale");
    CoTaskMemFree(appData);
    if (directory.isEmpty())
        return {};
    // Made on first use; one that exists (or anything else there) is left as it is, and the
    // claim reports what it finds.
    CreateDirectoryW(reinterpret_cast<const wchar_t *>(directory.utf16()), nullptr);
    return QDir::fromNativeSeparators(directory);
}

QString SingleCopyLock::fileName()
{
    DWORD session = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session))
        session = 0;
    return QStringLiteral("quorvale-%1.lock").arg(session);
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
