// The real platform pieces, each driven for real: a modal message box closed by a helper, the
// (offscreen, in-process) clipboard, the single-copy lock in a temporary directory, and ending
// the event loop.

#include "desktop_platform.h"
#include "emulation.h"
#include "lock_holder.h"
#include "window_system.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeySequence>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace quorvale;
using namespace quorvale::testing;

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
        QUORVALE_SKIP_UNDER_EMULATOR();
        QTemporaryDir dir;
        auto first = std::make_unique<SingleCopyLock>(dir.path());
        QCOMPARE(first->claim().status, SingleCopyClaim::Status::Claimed);
        SingleCopyLock second(dir.path());
        QCOMPARE(second.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);
        // A program started meanwhile (the browser, say) must not keep the lock after release.
        QTemporaryDir elsewhere;
        LockHolders child(elsewhere.path());
        QCOMPARE(child.startOne(), QStringLiteral("claimed"));
        first.reset();
        QCOMPARE(second.claim().status, SingleCopyClaim::Status::Claimed);
    }

    void liveHolderBlocksAndKilledHolderDoesNot()
    {
        QUORVALE_SKIP_UNDER_EMULATOR();
        QTemporaryDir dir;
        LockHolders holders(dir.path());
        QProcess *holder = nullptr;
        QCOMPARE(holders.startOne(&holder), QStringLiteral("claimed"));

        SingleCopyLock mine(dir.path());
        QCOMPARE(mine.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);

        // A copy that has run for long is as alive as a new one.
        QFile file(mine.filePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                 QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(mine.claim().status, SingleCopyClaim::Status::AnotherCopyRuns);

        holder->kill(); // SIGKILL: the lock file stays behind
        QVERIFY(holder->waitForFinished());
        QVERIFY(QFile::exists(mine.filePath()));
        QCOMPARE(mine.claim().status, SingleCopyClaim::Status::Claimed);
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

    // The locale of character handling as the C library reads it: LC_ALL, LC_CTYPE, then LANG,
    // an empty one skipped. Windows asks the system's ANSI code page instead.
    void codePageFollowsTheLocale_data()
    {
        QTest::addColumn<QStringList>("locales"); // LC_ALL, LC_CTYPE, LANG; "-" unset
        QTest::addColumn<int>("page");
        QTest::newRow("LANG") << QStringList{"-", "-", "ru_RU.UTF-8"} << 1251;
        QTest::newRow("LC_CTYPE first") << QStringList{"-", "el_GR", "ru_RU"} << 1253;
        QTest::newRow("LC_ALL first") << QStringList{"he_IL", "el_GR", "ru_RU"} << 1255;
        QTest::newRow("empty skipped") << QStringList{"", "tr_TR", "-"} << 1254;
        QTest::newRow("none") << QStringList{"-", "-", "-"} << 1252;
    }
    void codePageFollowsTheLocale()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows gives the system's ANSI code page, not a locale name");
#endif
        QFETCH(QStringList, locales);
        QFETCH(int, page);
        const char *names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
        for (int i = 0; i < 3; ++i)
            locales[i] == "-" ? qunsetenv(names[i]) : qputenv(names[i], locales[i].toLatin1());
        QCOMPARE(DesktopPlatform().codePage(), page);
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
    if (const auto status = lockHolderMain(argc, argv))
        return *status;
    QApplication app(argc, argv);
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_platform.moc"
