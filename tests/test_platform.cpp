// The real platform pieces, each driven for real: a modal message box closed by a helper, the
// (offscreen, in-process) clipboard, the single-copy lock in a temporary directory, and ending
// the event loop.

#include "desktop_platform.h"
#include "single_copy_lock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeySequence>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <cstring>

using namespace quorvale;

namespace {

// `--hold-lock DIR`: claims the lock in DIR, says what happened and holds it until stdin
// closes or the process is killed.
int holdLock(const char *directory)
{
    SingleCopyLock lock(QString::fromLocal8Bit(directory));
    const SingleCopyClaim claim = lock.claim();
    std::puts(claim.status == SingleCopyClaim::Status::Claimed ? "claimed" : "refused");
    std::fflush(stdout);
    char buffer[16];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
    }
    return 0;
}

struct Holder
{
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QString answer;

    explicit Holder(const QString &directory)
    {
        process->start(QCoreApplication::applicationFilePath(), {"--hold-lock", directory});
    }
    bool answered(int ms = 10000)
    {
        if (!process->waitForReadyRead(ms))
            return false;
        answer = QString::fromLatin1(process->readLine()).trimmed();
        return true;
    }
};

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxIsModalWithOneOkButton_data()
    {
        QTest::addColumn<int>("icon");
        QTest::newRow("information") << int(MessageBoxRequest::Icon::Information);
        QTest::newRow("no icon") << int(MessageBoxRequest::Icon::None);
    }
    void messageBoxIsModalWithOneOkButton()
    {
        QFETCH(int, icon);
        DesktopPlatform platform(QDir::tempPath());
        QString title, text;
        int buttons = 0;
        QMessageBox::Icon shownIcon = QMessageBox::Warning;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            shownIcon = box->icon();
            buttons = static_cast<int>(box->buttons().size());
            modal = box->isModal();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        platform.showMessage(nullptr, {QStringLiteral("Line one.\r\nLine <b>two</b> ;-)"),
                                       QStringLiteral("Nobody would read them!"),
                                       MessageBoxRequest::Icon(icon), QStringLiteral("x.hlp"), 3});
        QCOMPARE(title, QStringLiteral("Nobody would read them!"));
        QCOMPARE(text, QStringLiteral("Line one.\nLine <b>two</b> ;-)"));
        QCOMPARE(shownIcon, icon == int(MessageBoxRequest::Icon::Information)
                                ? QMessageBox::Information
                                : QMessageBox::NoIcon);
        QCOMPARE(buttons, 1);
        QVERIFY(modal);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // The box closes as the key goes down: a key typed right after it goes to the window below
    // instead of to the box.
    void messageBoxClosesAsTheKeyGoesDown_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("space bar") << "Space";
        QTest::newRow("Return") << "Return";
    }
    void messageBoxClosesAsTheKeyGoesDown()
    {
        QFETCH(QString, key);
        DesktopPlatform platform(QDir::tempPath());
        bool closedOnPress = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box && QTest::qWaitForWindowActive(box));
            const QKeyCombination pressed = QKeySequence::fromString(key)[0];
            QTest::keyPress(box->windowHandle(), pressed.key(), pressed.keyboardModifiers());
            closedOnPress = !box->isVisible();
            QTest::keyRelease(box->windowHandle(), pressed.key(), pressed.keyboardModifiers());
            box->close();
        });
        platform.showMessage(nullptr, {QStringLiteral("Input is limited to 300 characters."),
                                       QStringLiteral("Nobody would read them!"),
                                       MessageBoxRequest::Icon::Information,
                                       {},
                                       0});
        QVERIFY(closedOnPress);
    }

    void copyClearsTheClipboardFirst()
    {
        DesktopPlatform platform(QDir::tempPath());
        auto *data = new QMimeData;
        data->setText(QStringLiteral("earlier"));
        data->setData(QStringLiteral("application/x-other"), "bytes");
        QGuiApplication::clipboard()->setMimeData(data);
        platform.copyText(QStringLiteral(" 41"));
        const QMimeData *now = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(now->text(), QStringLiteral(" 41"));
        QVERIFY(!now->hasFormat(QStringLiteral("application/x-other")));
    }

    void endProgramLeavesTheEventLoopWithZero()
    {
        DesktopPlatform platform(QDir::tempPath());
        QTimer::singleShot(0, [&] { platform.endProgram(); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void lockIsHeldUntilReleased()
    {
        QTemporaryDir dir;
        auto first = std::make_unique<SingleCopyLock>(dir.path());
        QCOMPARE(first->claim().status, SingleCopyClaim::Status::Claimed);
        SingleCopyLock second(dir.path());
        QCOMPARE(second.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);
        // A program started meanwhile (the browser, say) must not keep the lock after release.
        QTemporaryDir elsewhere;
        Holder child(elsewhere.path());
        QVERIFY(child.answered());
        first.reset();
        QCOMPARE(second.claim().status, SingleCopyClaim::Status::Claimed);
        child.process->closeWriteChannel();
        QVERIFY(child.process->waitForFinished());
    }

    void liveHolderBlocksAndKilledHolderDoesNot()
    {
        QTemporaryDir dir;
        Holder holder(dir.path());
        QVERIFY(holder.answered());
        QCOMPARE(holder.answer, QStringLiteral("claimed"));

        SingleCopyLock mine(dir.path());
        QCOMPARE(mine.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);

        // A copy that has run for long is as alive as a new one.
        QFile file(mine.filePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                 QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(mine.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);

        holder.process->kill(); // SIGKILL: the lock file stays behind
        QVERIFY(holder.process->waitForFinished());
        QVERIFY(QFile::exists(mine.filePath()));
        QCOMPARE(mine.claim().status, SingleCopyClaim::Status::Claimed);
    }

    void simultaneousClaimsGiveOneHolder()
    {
        QTemporaryDir dir;
        std::vector<std::unique_ptr<Holder>> holders;
        holders.reserve(12);
        for (int i = 0; i < 12; ++i)
            holders.push_back(std::make_unique<Holder>(dir.path()));
        int claimed = 0;
        for (auto &h : holders) {
            QVERIFY(h->answered());
            if (h->answer == QLatin1String("claimed"))
                ++claimed;
        }
        QCOMPARE(claimed, 1);
        for (auto &h : holders) {
            h->process->closeWriteChannel();
            QVERIFY(h->process->waitForFinished());
        }
    }

    void missingDirectoryIsAFailure()
    {
        QTemporaryDir dir;
        SingleCopyLock lock(dir.filePath(QStringLiteral("missing/deeper")));
        const SingleCopyClaim claim = lock.claim();
        QCOMPARE(claim.status, SingleCopyClaim::Status::Failed);
        QVERIFY(claim.errorCode != 0);
        QVERIFY(claim.errorDescription.contains(
            QDir::toNativeSeparators(QStringLiteral("missing/deeper"))));
    }

    void defaultDirectoryIsPerUser()
    {
        const QString dir = SingleCopyLock::defaultDirectory();
        QVERIFY(!dir.isEmpty());
#ifdef Q_OS_WIN
        // In the user's profile, whatever TMP and TEMP say.
        QVERIFY2(dir.startsWith(QDir::homePath(), Qt::CaseInsensitive), qPrintable(dir));
        QVERIFY(!dir.startsWith(QDir::tempPath(), Qt::CaseInsensitive));
#else
        QVERIFY(dir != QDir::tempPath());
#endif
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0)
        return holdLock(argv[2]);
    QApplication app(argc, argv);
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_platform.moc"
