#pragma once

// Copies of the program that hold the single-copy lock, each in a process of its own: the test
// executable started with `--hold-lock GO` plays one start of the program, with no display and
// no window. lockHolderMain() at the top of a test's main() makes it one.

#include "single_copy_lock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <cstring>
#include <iostream>
#include <optional>
#include <string>

namespace quorvale::testing {

// The holder: waits until the file GO appears (so that many holders claim at the same instant),
// claims the lock in DIRECTORY as a start of the program claims it in the user's own, prints what
// happened and, holding the lock, waits for its standard input to close. A holder whose test
// ended before GO appeared gives up after a minute. Returns nullopt when this process was not
// started as a holder.
inline std::optional<int> lockHolderMain(int argc, char *argv[])
{
    if (argc != 4 || std::strcmp(argv[1], "--hold-lock") != 0)
        return std::nullopt;
    QCoreApplication app(argc, argv);
    const QString go = QString::fromLocal8Bit(argv[2]);
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(go)) {
        if (waited.elapsed() > 60000)
            return 1;
        QThread::usleep(500);
    }
    SingleCopyLock lock(QString::fromLocal8Bit(argv[3]));
    switch (lock.claim().status) {
    case SingleCopyClaim::Status::Claimed:
        std::cout << "claimed" << std::endl;
        break;
    case SingleCopyClaim::Status::AnotherCopyRuns:
        std::cout << "refused" << std::endl;
        return 0;
    case SingleCopyClaim::Status::Failed:
        std::cout << "failed" << std::endl;
        return 0;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

// Holders of one user, whose own directory is `directory`, that all claim at once when `go()` is
// called; any still running are killed at the end.
class LockHolders
{
public:
    explicit LockHolders(QString directory)
        : m_go(QDir(directory).filePath(QStringLiteral(".go"))), m_directory(std::move(directory))
    {
        QFile::remove(m_go);
    }
    ~LockHolders()
    {
        for (QProcess *p : std::as_const(m_processes)) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
    }
    LockHolders(const LockHolders &) = delete;
    LockHolders &operator=(const LockHolders &) = delete;

    QProcess *start()
    {
        auto *p = new QProcess;
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel); // a sanitizer's report
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--hold-lock"), m_go, m_directory});
        m_processes.append(p);
        return p;
    }

    void go()
    {
        for (QProcess *p : std::as_const(m_processes))
            QVERIFY(p->waitForStarted(10000));
        QFile go(m_go);
        QVERIFY(go.open(QIODevice::WriteOnly));
    }

    // What one holder reported: "claimed", "refused" or "failed".
    static QString outcome(QProcess *p)
    {
        QElapsedTimer timer;
        timer.start();
        while (!p->canReadLine() && timer.elapsed() < 30000)
            p->waitForReadyRead(100);
        return QString::fromLatin1(p->readLine()).trimmed();
    }

    // One more holder, claiming at once; `holder` receives its process.
    QString startOne(QProcess **holder = nullptr)
    {
        QProcess *p = start();
        go();
        if (holder)
            *holder = p;
        return outcome(p);
    }

    const QList<QProcess *> &processes() const { return m_processes; }

private:
    QString m_go;
    QString m_directory;
    QList<QProcess *> m_processes;
};

} // namespace quorvale::testing
