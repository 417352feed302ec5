// The window commands: Clear All, Copy, Exit, Hide and About, from buttons, menus and mnemonics.

#include "window_fixture.h"

#include <QAccessible>
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
                keyboard(w, QStringLiteral("<Alt+A>"));
            else
                QTest::mouseClick(w.button("cmdClear"), Qt::LeftButton);
            QCOMPARE(w.text1()->toPlainText(), QString());
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
            keyboard(w, QStringLiteral("<Alt+C>"));
        else
            QTest::mouseClick(w.button("cmdCopy"), Qt::LeftButton);
        QCOMPARE(w.platform.clipboardLog, (QStringList{"clear", "text:" + expected}));
        QCOMPARE(QApplication::focusWidget(), hex ? w.text2() : w.text1());
    }

    // Keys come faster than any timer: a command given from the keyboard has done its work
    // before the next key is handled, wherever that key goes.
    void keysTypedAfterACommandFollowIt_data()
    {
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<QString>("copied");
        QTest::newRow("Alt+A") << false << "abc<Alt+A>XY"
                               << "XY"
                               << "58 59" << QString();
        QTest::newRow("Alt+C") << false << "ab<Alt+C>Z"
                               << "abZ"
                               << "61 62 5A"
                               << "61 62";
        QTest::newRow("Space on Clear All") << false << "abc<Tab><Tab><+Space>X<-Space>Y"
                                            << "XY"
                                            << "58 59" << QString();
        QTest::newRow("Return on Clear All") << false << "abc<Tab><Tab><Return>XY"
                                             << "XY"
                                             << "58 59" << QString();
        QTest::newRow("Space on Copy") << false << "ab<Tab><Tab><Tab><+Space>Z<-Space>"
                                       << "abZ"
                                       << "61 62 5A"
                                       << "61 62";
        QTest::newRow("keypad Enter on Copy") << false << "ab<Tab><Tab><Tab><Enter>Z"
                                              << "abZ"
                                              << "61 62 5A"
                                              << "61 62";
        QTest::newRow("HEX to ASCII, Alt+A") << true << "41<Alt+A>42"
                                             << "B"
                                             << "42" << QString();
        QTest::newRow("HEX to ASCII, Alt+C") << true << "41 42<Alt+C> 43"
                                             << "ABC"
                                             << "41 42 43"
                                             << "AB";
    }
    void keysTypedAfterACommandFollowIt()
    {
        QFETCH(bool, hex);
        QFETCH(QString, keys);
        Window w;
        if (hex)
            w.hexMode();
        keyboard(w, keys);
        QTEST(w.text1()->toPlainText(), "text1");
        QTEST(w.text2()->toPlainText(), "text2");
        QTEST(w.platform.clipboardText(), "copied");
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
            keyboard(w, QStringLiteral("<Alt+X>"));
        else
            w.action("menuExit")->trigger();
        QCOMPARE(w.platform.endProgramCalls, 1);
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

    // The access key a screen reader is told for each control is the key that triggers it, as
    // Windows writes it: Alt and the upper-case letter, or inside an open menu the letter alone.
    void accessKeysAsTheyWork_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("key");
        QTest::newRow("Clear All") << "cmdClear"
                                   << "Alt+A";
        QTest::newRow("Copy") << "cmdCopy"
                              << "Alt+C";
        QTest::newRow("Exit, lower-case x") << "cmdExit"
                                            << "Alt+X";
        QTest::newRow("menu bar") << "menuProject"
                                  << "Alt+P";
        QTest::newRow("item of an open menu") << "menuAbout"
                                              << "A";
        QTest::newRow("menu's Exit") << "menuExit"
                                     << "X";
        QTest::newRow("disabled item") << "menuASCII"
                                       << "A";
    }
    void accessKeysAsTheyWork()
    {
        QFETCH(QString, control);
        Window w;
        QObject *target = w.window->findChild<QObject *>(control);
        if (auto *menu = qobject_cast<QMenu *>(target))
            target = menu->menuAction();
        // Menu items are reached as a screen reader reaches them, through their menus.
        std::function<QAccessibleInterface *(QAccessibleInterface *)> find =
            [&](QAccessibleInterface *node) -> QAccessibleInterface * {
            if (node->object() == target)
                return node;
            for (int i = 0; i < node->childCount(); ++i)
                if (QAccessibleInterface *found = find(node->child(i)))
                    return found;
            return nullptr;
        };
        QAccessibleInterface *item = find(QAccessible::queryAccessibleInterface(w.window.get()));
        QVERIFY(item);
        QTEST(item->text(QAccessible::Accelerator), "key");
    }

    void aboutOpensModally()
    {
        Window w;
        QString modal;
        QString okKey;
        bool windowBlocked = false;
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            modal = dialog->metaObject()->className();
            windowBlocked = QApplication::activeModalWidget() != w.window.get();
            // The default button: Qt would tell "Enter".
            okKey = QAccessible::queryAccessibleInterface(dialog->findChild<QPushButton *>())
                        ->text(QAccessible::Accelerator);
            dialog->close();
        });
        w.action("menuAbout")->trigger();
        QCOMPARE(modal, QStringLiteral("quorvale::frmabout"));
        QCOMPARE(okKey, QStringLiteral("Alt+O"));
        QVERIFY(windowBlocked);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
