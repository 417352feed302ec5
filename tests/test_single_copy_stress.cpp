// The single-copy lock under stress, with real processes: many starts at once, holders that
// die, lock files left in any state, directories that cannot be used and several users.
//
// The test executable is also its own helper: started with --claim it plays one start of the
// program (see claimAndHold below), so no display and no window are needed.

#include "single_copy_lock.h"
#include "window_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <iostream>
#include <string>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace quorvale;
using namespace quorvale::testing;

namespace {

// Where the lock's default directory comes from: the runtime directory on Linux, the temporary
// folder on Windows.
#ifdef Q_OS_WIN
const QStringList kUserDirVariables = {QStringLiteral("TMP"), QStringLiteral("TEMP")};
#else
const QStringList kUserDirVariables = {QStringLiteral("XDG_RUNTIME_DIR")};
#endif

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

// One start of the program in a helper process: waits until the file `go` appears (so that
// many helpers claim at the same instant), claims the lock of the user's own directory
// (kUserDirVariables), prints what happened and, holding the lock, waits for its standard input
// to close.
int claimAndHold(const QString &go)
{
    while (!QFile::exists(go))
        QThread::usleep(500);
    SingleCopyLock lock;
    const SingleCopyClaim claim = lock.claim();
    switch (claim.status) {
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

// A private runtime directory, as the session manager makes it for each user.
QString makeRuntimeDir(const QTemporaryDir &root, const QString &user)
{
    QString dir = root.filePath(user);
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

// Helper processes that all claim at once, once `go()` is called.
class Starts
{
public:
    Starts(const QTemporaryDir &root, QString runtimeDir)
        : m_go(root.filePath(QStringLiteral("go"))), m_runtimeDir(std::move(runtimeDir))
    {
        QFile::remove(m_go);
    }
    ~Starts()
    {
        for (QProcess *p : m_processes) {
            p->kill();
            p->waitForFinished(5000);
            delete p;
        }
    }
    Starts(const Starts &) = delete;
    Starts &operator=(const Starts &) = delete;

    QProcess *start()
    {
        auto *p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &variable : kUserDirVariables)
            env.insert(variable, m_runtimeDir);
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel); // a sanitizer's report
        p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--claim"), m_go});
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

    // What one helper reported.
    static QString outcome(QProcess *p)
    {
        QElapsedTimer timer;
        timer.start();
        while (!p->canReadLine() && timer.elapsed() < 30000)
            p->waitForReadyRead(100);
        return QString::fromLatin1(p->readLine()).trimmed();
    }

    const QList<QProcess *> &processes() const { return m_processes; }

private:
    QString m_go;
    QString m_runtimeDir;
    QList<QProcess *> m_processes;
};

// One start in its own process, claimed at once; returns the holder (or the refused helper).
QString startOne(Starts &starts, QProcess **holder = nullptr)
{
    QProcess *p = starts.start();
    starts.go();
    if (holder)
        *holder = p;
    return Starts::outcome(p);
}

QString lockPath(const QString &runtimeDir)
{
    return QDir(runtimeDir).filePath(QStringLiteral("quorvale.lock"));
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
        QTemporaryDir root;
        const QString runtime = makeRuntimeDir(root, QStringLiteral("user"));
        for (int round = 0; round < 2; ++round) {
            if (before == QLatin1String("killed")) {
                Starts first(root, runtime);
                QCOMPARE(startOne(first), QStringLiteral("claimed"));
            } // killed here
            if (before == QLatin1String("empty"))
                writeFile(lockPath(runtime), {}, 10);

            Starts starts(root, runtime);
            for (int i = 0; i < 30; ++i)
                starts.start();
            starts.go();
            int claimed = 0;
            int refused = 0;
            for (QProcess *p : starts.processes()) {
                const QString result = Starts::outcome(p);
                claimed += result == QLatin1String("claimed") ? 1 : 0;
                refused += result == QLatin1String("refused") ? 1 : 0;
            }
            QCOMPARE(claimed, 1);
            QCOMPARE(refused, 29);
            for (QProcess *p : starts.processes()) {
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
        QTemporaryDir root;
        const QString runtime = makeRuntimeDir(root, QStringLiteral("user"));
        Starts starts(root, runtime);
        QProcess *holder = nullptr;
        QCOMPARE(startOne(starts, &holder), QStringLiteral("claimed"));
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
        QVERIFY2(claim.errorDescription.contains(code == 76 ? dir : lock) &&
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
                .arg(lockPath(root.path()))));
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Quorvale"));
        QCOMPARE(w.platform.endProgramCalls, 0);
    }

    void twoUsersNeverBlockEachOther()
    {
        QTemporaryDir root;
        const QString alice = makeRuntimeDir(root, QStringLiteral("alice"));
        const QString bob = makeRuntimeDir(root, QStringLiteral("bob"));
        Starts aliceStarts(root, alice);
        Starts bobStarts(root, bob);
        QProcess *aliceCopy = aliceStarts.start();
        QProcess *bobCopy = bobStarts.start();
        aliceStarts.go();
        bobStarts.go();
        QCOMPARE(Starts::outcome(aliceCopy), QStringLiteral("claimed"));
        QCOMPARE(Starts::outcome(bobCopy), QStringLiteral("claimed"));
        // Each user's second start is still refused.
        QCOMPARE(startOne(aliceStarts), QStringLiteral("refused"));
        QCOMPARE(startOne(bobStarts), QStringLiteral("refused"));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && argv[1] == std::string("--claim")) {
        QCoreApplication app(argc, argv);
        return claimAndHold(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    TestSingleCopyStress test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_single_copy_stress.moc"
