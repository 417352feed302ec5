#pragma once

#include "platform.h"

#include <QLockFile>
#include <QString>

#include <memory>

namespace quorvale {

// The lock that keeps a second copy from starting: a lock file in a per-user directory, held for
// the whole run. A copy that crashed or was killed leaves a stale lock that the next start takes
// over, so only a live copy ever blocks; so does a lock file left empty or damaged.
class SingleCopyLock
{
public:
    // `directory` empty: the user's runtime directory.
    explicit SingleCopyLock(QString directory = {});

    SingleCopyClaim claim();
    QString filePath() const { return m_path; }

    static QString defaultDirectory();

private:
    bool isUnverifiable() const;
    bool removeUnverifiableLock();

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace quorvale
