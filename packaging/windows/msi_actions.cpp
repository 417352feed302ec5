// The MSI package's custom actions around Quorvale's single-copy lock, as the NSIS installer
// has them:
// - CheckQuorvaleClosed keeps an install, upgrade or uninstall away from a running Quorvale:
//   files of a running program are never replaced or removed (Windows Installer would schedule
//   them for a reboot instead).
// - RemoveLockFiles removes the lock files of a Quorvale that no longer runs when Quorvale is
//   uninstalled, so that the uninstall leaves nothing behind.
//
// While Quorvale runs it holds a lock on the first byte of its lock file,
// %LOCALAPPDATA%\Quorvale\quorvale-<logon session>.lock, the folder as the shell reports it.
// The installed files are the user's in every session, so the lock of each session is asked.
//
// The DLL runs from Windows Installer's temporary copy, with no DLL of the program beside it:
// it is linked statically and uses the Windows API only.

#include <windows.h>

#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <string>

namespace {

// The folder of the lock files, with a trailing backslash; empty if the shell has none.
std::wstring lockFolder()
{
    PWSTR appData = nullptr;
    std::wstring folder;
    if (SUCCEEDED(
            SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &appData)))
        folder = std::wstring(appData) + L"\\Quorvale\\";
    CoTaskMemFree(appData);
    return folder;
}

// Calls found(name, data) for each lock file's name in folder until it returns true; returns
// whether one did.
template <typename Found> bool anyLockFile(const std::wstring &folder, Found found)
{
    if (folder.empty())
        return false;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"quorvale-*.lock").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool any = false;
    do
        any = found(folder + data.cFileName, data);
    while (!any && FindNextFileW(search, &data));
    FindClose(search);
    return any;
}

// Whether a copy of Quorvale holds the lock file at path. A file that cannot be opened or
// locked for any other reason (a file system without byte-range locks) does not count: it
// must not keep the package out for ever.
bool heldByQuorvale(const std::wstring &path)
{
    // Not following a link at the lock's place, as the program does not.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED at{};
    bool held = false;
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        UnlockFileEx(file, 0, 1, 0, &at);
    else
        held = GetLastError() == ERROR_LOCK_VIOLATION;
    CloseHandle(file);
    return held;
}

} // namespace

// With a user interface the user is asked to close Quorvale (Retry) or to cancel (status 1602);
// without one (/qn) the installation ends at once with status 1603, before anything changed.
extern "C" __declspec(dllexport) UINT __stdcall CheckQuorvaleClosed(MSIHANDLE install)
{
    const std::wstring folder = lockFolder();
    while (anyLockFile(folder, [](const std::wstring &path, const WIN32_FIND_DATAW &) {
        return heldByQuorvale(path);
    })) {
        PMSIHANDLE record = MsiCreateRecord(0);
        MsiRecordSetStringW(record, 0, L"Quorvale is running. Close it, then choose Retry.");
        // Without a user interface nobody answers (0); the message still goes to the log.
        const int answer = MsiProcessMessage(
            install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_RETRYCANCEL | MB_ICONEXCLAMATION),
            record);
        if (answer == IDRETRY)
            continue;
        return answer == IDCANCEL ? ERROR_INSTALL_USEREXIT : ERROR_INSTALL_FAILURE;
    }
    return ERROR_SUCCESS;
}

// Only the program's own lock files go: plain, empty files. A link at a lock's place (a
// directory, a junction, a symbolic link) or a file with content is the user's and stays.
// Windows Installer removes the folder after this, if it is empty then.
extern "C" __declspec(dllexport) UINT __stdcall RemoveLockFiles(MSIHANDLE)
{
    anyLockFile(lockFolder(), [](const std::wstring &path, const WIN32_FIND_DATAW &data) {
        if (!(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
            data.nFileSizeHigh == 0 && data.nFileSizeLow == 0)
            DeleteFileW(path.c_str());
        return false;
    });
    return ERROR_SUCCESS;
}
