// The single-copy lock under stress, with real processes: many starts at once, holders that
// die, lock files left in any state, directories that cannot be used and several users.
//
// The helper processes are the test executable itself, started as lock holders (lock_holder.h).

#include "emulation.h"
#include "lock_holder.h"
#include "window_fixture.h"

#include <QFileInfo>
#include <QTemporaryDir>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace quorvale;
using namespace quorvale::testing;

namespace {

// Why a kind of unusable lock path cannot be made here; empty when it can.
QString cannotMake(const QString &kind)
{
#ifdef Q_OS_WIN
    if (kind.contains(QLatin1String("link")))
        return QStringLiteral("QFile::link makes a shortcut on Windows, an ordinary file");
    if (kind == QLatin1String("pipe"))
        return QStringLiteral("Windows has no named pipes in the file system");
    if (kind == QLatin1String("read-only"))
        return QStringLiteral("a folder's read-only attribute does not stop new files");
#else
    Q_UNUSED(kind);
#endif
    return {};
}

// Whether this process can write the file at `path`, or make a file in the directory `path`;
// leaves nothing behind.
bool canWrite(const QString &path)
{
    if (QFileInfo(path).isDir()) {
        QFile probe(QDir(path).filePath(QStringLiteral("probe")));
        return probe.open(QIODevice::WriteOnly) && probe.remove();
    }
    return QFile(path).open(QIODevice::ReadWrite);
}

// A named pipe at `path`; Windows has none in the file system, and its row is skipped.
bool makeNamedPipe(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return false;
#else
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#endif
}

// A private runtime directory, as the session manager makes it for each user.
QString makeRuntimeDir(const QTemporaryDir &root, const QString &user)
{
    QString dir = root.filePath(user);
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

QString lockPath(const QString &runtimeDir)
{
    return QDir(runtimeDir).filePath(SingleCopyLock::fileName());
}

void writeFile(const QString &path, const QByteArray &contents, int secondsOld)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contents);
    f.close();
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsOld),
                          QFileDevice::FileModificationTime));
}

// What stands at a path, without following a link: its kind, a link's target, a file's
// contents and time.
QString describe(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("link to ") + info.symLinkTarget();
    if (!info.exists())
        return QStringLiteral("nothing");
    if (info.isDir())
        return QStringLiteral("directory of ") +
               QDir(path)
                   .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden)
                   .join(QLatin1Char(','));
    if (!info.isFile())
        return QStringLiteral("special file");
    QFile file(path);
    return QStringLiteral("file ") + info.lastModified().toString(Qt::ISODateWithMs) +
           (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex())
                                           : QString());
}

// A process id that no process has now.
qint64 deadPid()
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-functions")});
    p.waitForStarted();
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}

} // namespace

class TestSingleCopyStress : public QObject
{
    Q_OBJECT

private slots:
    // 30 starts at the same instant, whatever the last run left behind: a holder killed with
    // SIGKILL never blocks.
    void simultaneousStartsGiveExactlyOneHolder_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("nothing") << "nothing";
        QTest::newRow("a killed holder's lock") << "killed";
        QTest::newRow("an empty lock file") << "empty";
    }
    void simultaneousStartsGiveExactlyOneHolder()
    {
        QFETCH(QString, before);
        QUORVALE_SKIP_UNDER_EMULATOR();
        QTemporaryDir root;
        const QString runtime = makeRuntimeDir(root, QStringLiteral("user"));
        for (int round = 0; round < 2; ++round) {
            if (before == QLatin1String("killed")) {
                LockHolders first(runtime);
                QCOMPARE(first.startOne(), QStringLiteral("claimed"));
            } // killed here
            if (before == QLatin1String("empty"))
                writeFile(lockPath(runtime), {}, 10);

            LockHolders holders(runtime);
            for (int i = 0; i < 30; ++i)
                holders.start();
            holders.go();
            int claimed = 0;
            int refused = 0;
            for (QProcess *p : holders.processes()) {
                const QString result = LockHolders::outcome(p);
                claimed += result == QLatin1String("claimed") ? 1 : 0;
                refused += result == QLatin1String("refused") ? 1 : 0;
            }
            QCOMPARE(claimed, 1);
            QCOMPARE(refused, 29);
            for (QProcess *p : holders.processes()) {
                if (p->state() == QProcess::NotRunning || p->waitForFinished(200))
                    QCOMPARE(p->exitCode(), 0); // the refused ones ended cleanly
            }
        }
    }

    // Lock files that no live copy holds, whatever is in them and however new.
    void leftOverLockFileIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("secondsOld");
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        const QByteArray dead = QByteArray::number(deadPid());
        QTest::newRow("empty") << QByteArray() << 10;
        QTest::newRow("empty, just written") << QByteArray() << 0;
        QTest::newRow("blank line") << QByteArray("\n") << 10;
        QTest::newRow("binary") << QByteArray("\x00\xff\x1a\x7f", 4) << 10;
        QTest::newRow("text") << QByteArray("locked by hand\n") << 10;
        QTest::newRow("dead process") << dead + "\nquorvale\n" + host + "\n" << 10;
        QTest::newRow("process id out of range") << "99999999999999\nquorvale\n" + host + "\n"
                                                 << 10;
        QTest::newRow("negative process id") << "-1\nquorvale\n" + host + "\n" << 10;
        QTest::newRow("another machine") << dead + "\nquorvale\nsomewhere-else\n" << 10;
        QTest::newRow("huge") << QByteArray(1 << 20, 'x') << 10;
    }
    void leftOverLockFileIsTakenOver()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, secondsOld);
        QTemporaryDir root;
        const QString runtime = makeRuntimeDir(root, QStringLiteral("user"));
        writeFile(lockPath(runtime), contents, secondsOld);

        SingleCopyLock lock(runtime);
        QCOMPARE(lock.claim().status, SingleCopyClaim::Status::Claimed);
        SingleCopyLock second(runtime);
        QCOMPARE(second.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);
    }

    // A live copy keeps the lock even when its file has been emptied or overwritten.
    void liveHolderKeepsADamagedLock()
    {
        QUORVALE_SKIP_UNDER_EMULATOR();
        QTemporaryDir root;
        const QString runtime = makeRuntimeDir(root, QStringLiteral("user"));
        LockHolders holders(runtime);
        QProcess *holder = nullptr;
        QCOMPARE(holders.startOne(&holder), QStringLiteral("claimed"));
        writeFile(lockPath(runtime), "garbage", 10);

        SingleCopyLock lock(runtime);
        QCOMPARE(lock.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);
        holder->closeWriteChannel();
        QVERIFY(holder->waitForFinished(10000));
    }

    // Anything but a live copy that keeps the lock from being taken is a failure that names the
    // path and what is wrong there; nothing found at the path is followed, changed or removed.
    void unusableLockPathFails_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("what");
        QTest::newRow("missing directory") << "missing" << 76 << "Path not found";
        QTest::newRow("a file for the directory") << "file" << 76 << "Path not found";
        QTest::newRow("read-only directory") << "read-only" << 70 << "Permission denied";
        QTest::newRow("a directory") << "directory" << 75 << "is a directory";
        QTest::newRow("a dangling link") << "dangling link" << 75 << "is a symbolic link";
        QTest::newRow("a link to a directory") << "link to directory" << 75 << "is a symbolic link";
        QTest::newRow("a link to a file") << "link to file" << 75 << "is a symbolic link";
        QTest::newRow("a named pipe") << "pipe" << 75 << "is a named pipe";
        QTest::newRow("a read-only file") << "read-only file" << 70 << "Permission denied";
    }
    void unusableLockPathFails()
    {
        QFETCH(QString, kind);
        QFETCH(int, code);
        QFETCH(QString, what);
        if (const QString reason = cannotMake(kind); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        QTemporaryDir root;
        QString dir = root.filePath(QStringLiteral("runtime"));
        if (kind == QLatin1String("file")) {
            writeFile(dir, "not a directory", 0);
        } else if (kind != QLatin1String("missing")) {
            QDir().mkpath(dir);
        }
        const QString lock = lockPath(dir);
        const QString elsewhere = root.filePath(QStringLiteral("elsewhere"));
        if (kind == QLatin1String("directory"))
            QVERIFY(QDir().mkdir(lock));
        else if (kind == QLatin1String("dangling link"))
            QVERIFY(QFile::link(elsewhere, lock));
        else if (kind == QLatin1String("link to directory"))
            QVERIFY(QDir().mkdir(elsewhere) && QFile::link(elsewhere, lock));
        else if (kind == QLatin1String("link to file")) {
            writeFile(elsewhere, "someone's file", 10);
            QVERIFY(QFile::link(elsewhere, lock));
        } else if (kind == QLatin1String("pipe")) {
            QVERIFY(makeNamedPipe(lock));
        } else if (kind == QLatin1String("read-only file")) {
            writeFile(lock, {}, 10);
            QVERIFY(QFile::setPermissions(lock, QFile::ReadOwner));
        } else if (kind == QLatin1String("read-only"))
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        if (kind.startsWith(QLatin1String("read-only")) &&
            canWrite(kind == QLatin1String("read-only") ? dir : lock))
            QSKIP("this user (root) writes whatever the permissions say");
        const QString before = describe(lock) + describe(elsewhere);

        SingleCopyLock lockFile(dir);
        const SingleCopyClaim claim = lockFile.claim();
        QCOMPARE(claim.status, SingleCopyClaim::Status::Failed);
        QCOMPARE(claim.errorCode, code);
        QVERIFY2(
            claim.errorDescription.contains(QDir::toNativeSeparators(code == 76 ? dir : lock)) &&
                claim.errorDescription.contains(what),
            qPrintable(claim.errorDescription));
        QCOMPARE(describe(lock) + describe(elsewhere), before);
    }

    // The failure is reported in the start-up error report, and then the window opens as the
    // steps before the failure left it.
    void unusableDirectoryIsReportedAndTheWindowOpens()
    {
        QTemporaryDir root;
        QVERIFY(QDir().mkdir(lockPath(root.path())));
        SingleCopyLock lock(root.path());
        Window w(false);
        w.platform.singleCopyAnswer = lock.claim();
        w.start();
        QCOMPARE(w.messageCount(), 1);
        QCOMPARE(w.platform.messages.front().request.title, QStringLiteral("Error"));
        QVERIFY(w.platform.messages.front().request.prompt.contains(
            QStringLiteral("Error 75 - Path/File access error: %1 is a directory")
                .arg(QDir::toNativeSeparators(lockPath(root.path())))));
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Quorvale"));
        QCOMPARE(w.platform.endProgramCalls, 0);
    }

    void twoUsersNeverBlockEachOther()
    {
        QUORVALE_SKIP_UNDER_EMULATOR();
        QTemporaryDir root;
        const QString alice = makeRuntimeDir(root, QStringLiteral("alice"));
        const QString bob = makeRuntimeDir(root, QStringLiteral("bob"));
        LockHolders aliceHolders(alice);
        LockHolders bobHolders(bob);
        QProcess *aliceCopy = aliceHolders.start();
        QProcess *bobCopy = bobHolders.start();
        aliceHolders.go();
        bobHolders.go();
        QCOMPARE(LockHolders::outcome(aliceCopy), QStringLiteral("claimed"));
        QCOMPARE(LockHolders::outcome(bobCopy), QStringLiteral("claimed"));
        // Each user's second start is still refused.
        QCOMPARE(aliceHolders.startOne(), QStringLiteral("refused"));
        QCOMPARE(bobHolders.startOne(), QStringLiteral("refused"));
    }
};

int main(int argc, char *argv[])
{
    if (const auto status = lockHolderMain(argc, argv))
        return *status;
    QApplication app(argc, argv);
    TestSingleCopyStress test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_single_copy_stress.moc"
