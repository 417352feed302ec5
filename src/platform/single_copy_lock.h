#pragma once

#include "platform.h"

#include <QString>

namespace quorvale {

// The lock that keeps a second copy from starting: a kernel lock on a file in a per-user
// directory, held for the whole run (flock on Linux, LockFileEx on Windows). The kernel ends the
// lock with the process that holds it, so a copy that crashed or was killed never blocks the next
// start, whatever its file still says; nothing is ever judged stale, rewritten or removed.
//
// Anything else standing at the file's path (a directory, a symbolic link, a pipe, a file that
// cannot be opened) is a failure of the check, reported with the path and what is wrong: it is
// never followed, changed or taken for a running copy.
class SingleCopyLock
{
public:
    // `directory` empty: the user's runtime directory.
    explicit SingleCopyLock(QString directory = {});
    ~SingleCopyLock();
    SingleCopyLock(const SingleCopyLock &) = delete;
    SingleCopyLock &operator=(const SingleCopyLock &) = delete;

    SingleCopyClaim claim();
    QString filePath() const { return m_path; }

    // The user's own: the runtime directory on Linux; on Windows the folder Quorvale in the
    // user's local application data folder, made when missing.
    static QString defaultDirectory();
    // The lock file's name in that directory: on Windows it names the logon session, so that
    // each session of the user (console, remote desktop) has a copy of its own.
    static QString fileName();

private:
    // The platform's part: opens and locks the file at m_path, whose directory is there.
    SingleCopyClaim lockFile();
    // Failures, worded alike on every platform, the path with the platform's own separators.
    SingleCopyClaim permissionDenied() const;
    SingleCopyClaim accessError(const QString &reason) const;
    SingleCopyClaim notALockFile(const QString &what) const;

    QString m_path;
    // The open, locked file (a descriptor, or a Windows handle) while this copy holds the lock.
    qintptr m_handle = -1;
};

} // namespace quorvale
