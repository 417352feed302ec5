// The window commands: Clear All, Copy, Exit, Hide and About, from buttons, menus and mnemonics.

#include "window_fixture.h"

#include <QDialog>
#include <QTimer>

using namespace quorvale;
using namespace quorvale::testing;

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void clearAllEmptiesBothPanes_data()
    {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("byMnemonic");
        QTest::newRow("ASCII to HEX, button") << false << false;
        QTest::newRow("ASCII to HEX, Alt+A") << false << true;
        QTest::newRow("HEX to ASCII, button") << true << false;
        QTest::newRow("HEX to ASCII, Alt+A") << true << true;
    }
    void clearAllEmptiesBothPanes()
    {
        QFETCH(bool, hex);
        QFETCH(bool, byMnemonic);
        Window w;
        if (hex) {
            w.hexMode();
            typeText(w.text2(), QStringLiteral("41 4"));
        } else {
            typeText(w.text1(), QStringLiteral("Hi"));
        }
        const int colour = foreColor(w.text1());
        const QString hidden = w.hidden();
        const auto array = w.window->inputArray();
        for (int i = 0; i < 2; ++i) { // twice is the same as once
            if (byMnemonic)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
            else
                QTest::mouseClick(w.button("cmdClear"), Qt::LeftButton);
            // A mnemonic presses the button visibly first: the click comes a moment later.
            QTRY_COMPARE(w.text1()->toPlainText(), QString());
            QCOMPARE(w.text2()->toPlainText(), QString());
            QCOMPARE(QApplication::focusWidget(), hex ? w.text2() : w.text1());
        }
        // Nothing else changes: no conversion runs.
        QCOMPARE(foreColor(w.text1()), colour);
        QCOMPARE(w.hidden(), hidden);
        QVERIFY(w.window->inputArray() == array);
        QVERIFY(w.platform.clipboardLog.isEmpty());
    }

    void copyPutsTheOutputPane_data()
    {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<bool>("byMnemonic");
        QTest::newRow("HEX codes, button") << false << false;
        QTest::newRow("HEX codes, Alt+C") << false << true;
        QTest::newRow("decoded text, button") << true << false;
        QTest::newRow("decoded text, Alt+C") << true << true;
    }
    void copyPutsTheOutputPane()
    {
        QFETCH(bool, hex);
        QFETCH(bool, byMnemonic);
        Window w;
        QString expected;
        if (hex) {
            w.hexMode();
            typeText(w.text2(), QStringLiteral("48 69 21 20"));
            expected = QStringLiteral("Hi! ");
        } else {
            typeText(w.text1(), QStringLiteral("A"));
            expected = QStringLiteral(" 41"); // unchanged, leading blank included
        }
        w.button("cmdClear")->setFocus();
        if (byMnemonic)
            QTest::keyClick(w.button("cmdClear"), Qt::Key_C, Qt::AltModifier);
        else
            QTest::mouseClick(w.button("cmdCopy"), Qt::LeftButton);
        QTRY_COMPARE(w.platform.clipboardLog.size(), 2);
        QCOMPARE(w.platform.clipboardLog, (QStringList{"clear", "text:" + expected}));
        QCOMPARE(QApplication::focusWidget(), hex ? w.text2() : w.text1());
    }

    void copyOfAnEmptyOutputDoesNothing()
    {
        Window w;
        typeText(w.text1(), QStringLiteral("x"));
        QTest::keyClick(w.text1(), Qt::Key_Backspace);
        w.button("cmdExit")->setFocus();
        w.button("cmdCopy")->click();
        QVERIFY(w.platform.clipboardLog.isEmpty());
        QCOMPARE(QApplication::focusWidget(), w.button("cmdExit"));
    }

    void copyAfterASwitchTakesTheOldText()
    {
        Window w;
        typeText(w.text1(), QString::fromUtf16(u"A\nB\u00A0C"));
        typeKey(w.text1(), Qt::Key_Return, QStringLiteral("\r"), Qt::ShiftModifier);
        w.hexMode();
        w.button("cmdCopy")->click();
        // The new output pane still holds what was typed, copied as it stands: line breaks as
        // "\n", the no-break space kept.
        QCOMPARE(w.platform.clipboardText(), QString::fromUtf16(u"A\nB\u00A0C\n"));
    }

    void exitEndsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("hex");
        QTest::newRow("button") << "button" << false;
        QTest::newRow("Alt+X") << "mnemonic" << false;
        QTest::newRow("menu") << "menu" << false;
        QTest::newRow("menu, HEX to ASCII") << "menu" << true;
    }
    void exitEndsTheProgram()
    {
        QFETCH(QString, how);
        QFETCH(bool, hex);
        Window w;
        if (hex)
            w.hexMode();
        typeText(hex ? w.text2() : w.text1(), QStringLiteral("41"));
        if (how == "button")
            w.button("cmdExit")->click();
        else if (how == "mnemonic")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier);
        else
            w.action("menuExit")->trigger();
        QTRY_COMPARE(w.platform.endProgramCalls, 1);
        QVERIFY(!w.window->isVisible());
        QVERIFY(w.platform.messages.isEmpty());
    }

    void hideMinimisesAndKeepsEverything()
    {
        Window w;
        w.hexMode();
        typeText(w.text2(), QStringLiteral("41"));
        w.action("menuHide")->trigger();
        QVERIFY(w.window->isMinimized());
        w.window->showNormal();
        QVERIFY(!w.window->isMinimized());
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("A"));
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("41"));
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Quorvale - HEX to ASCII mode"));
        QCOMPARE(w.button("cmdCopy")->text(), QStringLiteral("&Copy ASCII"));
    }

    void aboutOpensModally()
    {
        Window w;
        QString modal;
        bool windowBlocked = false;
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            modal = dialog->metaObject()->className();
            windowBlocked = QApplication::activeModalWidget() != w.window.get();
            dialog->close();
        });
        w.action("menuAbout")->trigger();
        QCOMPARE(modal, QStringLiteral("quorvale::frmabout"));
        QVERIFY(windowBlocked);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
