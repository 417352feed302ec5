// The two modes: what each switch sets, the hex pane's decoding and key filter, the focus rules
// of the mouse, the right-click menu and the tooltips.

#include "screen_reader.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QScrollBar>
#include <QTimer>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

const QString kAsciiTip = QStringLiteral("Enter ASCII characters to be converted to HEX ");
const QString kHexTip = QStringLiteral("Enter HEX values to be converted to ASCII ");

// Presses `key` in the pop-up menu once it is open (Escape dismisses it).
void answerPopup(int key, QString *shownTitle = nullptr)
{
    QTimer::singleShot(0, [key, shownTitle] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        if (shownTitle)
            *shownTitle = menu->objectName();
        QTest::keyClick(menu, static_cast<Qt::Key>(key));
    });
}

// Runs steps on the window: a mode, a command, a key, focus on a pane, or else text to type
// into the focused pane.
void run(const Window &w, const QStringList &steps)
{
    for (const QString &step : steps) {
        QWidget *focus = QApplication::focusWidget();
        if (step == "hex")
            w.hexMode();
        else if (step == "ascii")
            w.action("menuASCII")->trigger();
        else if (step == "clear")
            w.button("cmdClear")->click();
        else if (step == "copy")
            w.button("cmdCopy")->click();
        else if (step == "upper")
            w.text1()->setFocus();
        else if (step == "lower")
            w.text2()->setFocus();
        else if (step == "right")
            QTest::keyClick(focus, Qt::Key_Right);
        else if (step == "backspace")
            QTest::keyClick(focus, Qt::Key_Backspace);
        else
            typeText(focus, step);
    }
}

void verifyMode(const Window &w, bool asciiToHex)
{
    QCOMPARE(backColor(w.text1()), asciiToHex ? kWhite : 0);
    QCOMPARE(foreColor(w.text1()), asciiToHex ? 0 : kGreen);
    QCOMPARE(backColor(w.text2()), asciiToHex ? 0 : kWhite);
    QCOMPARE(foreColor(w.text2()), asciiToHex ? kGreen : 0);
    // The window's focus widget: offscreen, a closed pop-up leaves no window active.
    QCOMPARE(w.window->focusWidget(), asciiToHex ? w.text1() : w.text2());
    QCOMPARE(w.action("menuASCII")->isEnabled(), !asciiToHex);
    QCOMPARE(w.action("menuHEXto")->isEnabled(), asciiToHex);
    QCOMPARE(w.button("cmdCopy")->text(),
             asciiToHex ? QStringLiteral("&Copy HEX") : QStringLiteral("&Copy ASCII"));
    QCOMPARE(w.window->windowTitle(), asciiToHex ? QStringLiteral("Quorvale - ASCII to HEX mode")
                                                 : QStringLiteral("Quorvale - HEX to ASCII mode"));
    QCOMPARE(w.text1()->accessibleName(),
             asciiToHex ? QStringLiteral("ASCII input") : QStringLiteral("ASCII output"));
    QCOMPARE(w.text2()->accessibleName(),
             asciiToHex ? QStringLiteral("HEX output") : QStringLiteral("HEX input"));
}

// The identities of the panes' scroll bars' palettes, under which the style caches its pictures.
QList<qint64> scrollBarPalettes(const Window &w)
{
    return {w.text1()->verticalScrollBar()->palette().cacheKey(),
            w.text2()->verticalScrollBar()->palette().cacheKey()};
}

} // namespace

class TestModes : public QObject
{
    Q_OBJECT

private slots:
    void switchesSetTheWholeState()
    {
        Window w;
        const QList<qint64> scrollBars = scrollBarPalettes(w);
        QTest::keyClicks(w.text1(), "Hi");
        w.hexMode();
        verifyMode(w, false);
        // A switch reads and converts nothing.
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("Hi"));
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("48 69"));
        QCOMPARE(w.text2()->hoverTip(), kHexTip);
        QCOMPARE(w.text1()->hoverTip(), QString());

        w.action("menuASCII")->trigger();
        verifyMode(w, true);
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("Hi"));
        QCOMPARE(w.text1()->hoverTip(), kAsciiTip);
        QCOMPARE(w.text2()->hoverTip(), QString());

        // Running the current mode's switch again sets the same values.
        w.action("menuASCII")->trigger();
        verifyMode(w, true);

        // The colours change, the scroll bars' palettes do not: a new one at every switch or
        // red decoding left new pictures of them in the style's cache each time.
        w.hexMode();
        typeText(w.text2(), QStringLiteral(" 4"));
        QCOMPARE(foreColor(w.text1()), kRed);
        w.action("menuASCII")->trigger();
        QCOMPARE(scrollBarPalettes(w), scrollBars);
    }

    // The switch is done before the next key is handled, so that key goes to the new input
    // pane, also where the desktop animates menus (a menu rolling open takes the keyboard only
    // once it is fully open).
    void switchFromTheMenuBarByKeyboard_data()
    {
        QTest::addColumn<bool>("animated");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("asciiToHex");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<QString>("text2");
        QTest::newRow("HEX to ASCII") << false << "ab<Alt+M>h 41" << false << "abA"
                                      << "61 62 41";
        QTest::newRow("HEX to ASCII, animated menus") << true << "ab<Alt+M>h 41" << false << "abA"
                                                      << "61 62 41";
        QTest::newRow("and back") << false << "<Alt+M>h41<Alt+M>ab" << true << "Ab"
                                  << "41 62";
    }
    void switchFromTheMenuBarByKeyboard()
    {
        QFETCH(bool, animated);
        QFETCH(QString, keys);
        QFETCH(bool, asciiToHex);
        QApplication::setEffectEnabled(Qt::UI_General, animated);
        QApplication::setEffectEnabled(Qt::UI_AnimateMenu, animated);
        Window w;
        keyboard(w, keys);
        QApplication::setEffectEnabled(Qt::UI_General, false);
        verifyMode(w, asciiToHex);
        QTEST(w.text1()->toPlainText(), "text1");
        QTEST(w.text2()->toPlainText(), "text2");
    }

    void rightClickMenuSwitches_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::newRow("input pane") << "Text1";
        QTest::newRow("output pane") << "Text2";
    }
    void rightClickMenuSwitches()
    {
        QFETCH(QString, pane);
        Window w;
        auto *clicked = w.find<QPlainTextEdit>(qPrintable(pane));
        QString shown;
        answerPopup(Qt::Key_H, &shown);
        QTest::mouseClick(clicked->viewport(), Qt::RightButton);
        QCOMPARE(shown, QStringLiteral("menuMode"));
        verifyMode(w, false);

        answerPopup(Qt::Key_A);
        QTest::mouseClick(clicked->viewport(), Qt::RightButton);
        verifyMode(w, true);

        // Each press of a double click opens the menu: the second switches back.
        QList<int> answers{Qt::Key_H, Qt::Key_A};
        QTimer answering;
        connect(&answering, &QTimer::timeout, [&answers] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                menu && !answers.isEmpty())
                QTest::keyClick(menu, Qt::Key(answers.takeFirst()));
        });
        answering.start(0);
        QTest::mouseDClick(w.window->windowHandle(), Qt::RightButton, {},
                           clicked->viewport()->mapTo(w.window.get(), QPoint(20, 10)));
        answering.stop();
        QVERIFY(answers.isEmpty());
        verifyMode(w, true);
    }

    void dismissedMenuChangesNothing()
    {
        Window w;
        w.hexMode();
        answerPopup(Qt::Key_Escape);
        QTest::mouseClick(w.text2()->viewport(), Qt::RightButton);
        verifyMode(w, false);
        // Clicked in the output pane: the focus goes on to the input pane.
        answerPopup(Qt::Key_Escape);
        QTest::mouseClick(w.text1()->viewport(), Qt::RightButton);
        verifyMode(w, false);
    }

    void clicksInTheOutputPaneFocusTheInputPane_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("left") << int(Qt::LeftButton) << false;
        QTest::newRow("middle") << int(Qt::MiddleButton) << false;
        // The second press of a double click too: typing after it is not lost in the output pane.
        QTest::newRow("left double click") << int(Qt::LeftButton) << true;
    }
    void clicksInTheOutputPaneFocusTheInputPane()
    {
        QFETCH(int, button);
        QFETCH(bool, doubleClick);
        Window w;
        const auto click = [&](QPlainTextEdit *pane) {
            if (doubleClick)
                QTest::mouseDClick(w.window->windowHandle(), Qt::MouseButton(button), {},
                                   pane->viewport()->mapTo(w.window.get(), QPoint(20, 10)));
            else
                QTest::mouseClick(pane->viewport(), Qt::MouseButton(button));
        };
        click(w.text2());
        QCOMPARE(QApplication::focusWidget(), w.text1());
        w.hexMode();
        click(w.text1());
        QCOMPARE(QApplication::focusWidget(), w.text2());
        click(w.text2());
        QCOMPARE(QApplication::focusWidget(), w.text2());
    }

    void tooltipsFollowTheFocusOnly()
    {
        Window w;
        // Tab still reaches the output pane; its focus sets the same tooltips.
        QTest::keyClick(w.text1(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.text2());
        QCOMPARE(w.text1()->hoverTip(), kAsciiTip);
        QCOMPARE(w.text2()->hoverTip(), QString());
        // The switch moves the focus to the pane that has it already: no focus event, so the
        // tooltips stay until the focus next arrives.
        w.hexMode();
        QCOMPARE(w.text1()->hoverTip(), kAsciiTip);
        QCOMPARE(w.text2()->hoverTip(), QString());
        w.text1()->setFocus();
        QCOMPARE(w.text1()->hoverTip(), QString());
        QCOMPARE(w.text2()->hoverTip(), kHexTip);
    }

    void hexPaneDecodes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("color");
        QTest::newRow("41 42") << "41 42"
                               << "AB" << kGreen;
        QTest::newRow("Hi!") << "48 69 21"
                             << "Hi!" << kGreen;
        QTest::newRow("half a code") << "41 4"
                                     << "A[!]" << kRed;
        QTest::newRow("no blank") << "4142"
                                  << "A[!]" << kRed;
        QTest::newRow("two blanks") << "41  42 43"
                                    << "A[!][!]" << kRed;
        QTest::newRow("7F alone") << "7F"
                                  << "" << kGreen;
        QTest::newRow("7F between") << "41 7F 42"
                                    << "AB" << kGreen;
        QTest::newRow("control code") << "00"
                                      << "[!]" << kRed;
        QTest::newRow("blank") << "20"
                               << " " << kGreen;
        QTest::newRow("leading blank") << " 41"
                                       << "[!]" << kRed;
        QTest::newRow("trailing blank") << "41 42 "
                                        << "AB" << kGreen;
        QTest::newRow("marker look-alike") << "5B 21 5D"
                                           << "[!]" << kRed;
        QTest::newRow("typed lower case") << "4a 7e"
                                          << "J~" << kGreen;
    }
    void hexPaneDecodes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, color);
        Window w;
        w.hexMode();
        typeText(w.text2(), typed);
        QCOMPARE(w.text1()->toPlainText(), text);
        QCOMPARE(foreColor(w.text1()), color);
        QCOMPARE(w.text1()->accessibleDescription().isEmpty(), color == kGreen);
    }

    void emptiedHexPaneKeepsTheColour()
    {
        Window w;
        w.hexMode();
        typeText(w.text2(), QStringLiteral("4"));
        QCOMPARE(foreColor(w.text1()), kRed);
        QTest::keyClick(w.text2(), Qt::Key_Backspace);
        QCOMPARE(w.text1()->toPlainText(), QString());
        QCOMPARE(foreColor(w.text1()), kRed);
        QCOMPARE(int(w.window->inputArray().size()), 2);
    }

    void hexLimit()
    {
        Window w;
        w.hexMode();
        setClipboard(QStringLiteral("41 ").repeated(99) + QStringLiteral("4"));
        w.text2()->paste();
        QTest::keyClick(w.text2(), Qt::Key_1);
        QCOMPARE(w.text1()->toPlainText(), QString(100, QLatin1Char('A')));
        QCOMPARE(w.messageCount(), 0);
        QTest::keyClick(w.text2(), Qt::Key_Space);
        QCOMPARE(w.text1()->toPlainText(), QString());
        QCOMPARE(w.messageCount(), 1);
        QCOMPARE(w.platform.messages.front().request.title,
                 QStringLiteral("Nobody would read them!"));
    }

    void pastedTextIsDecodedUnfiltered()
    {
        Window w;
        w.hexMode();
        setClipboard(QStringLiteral("4a"));
        QTest::keyClick(w.text2(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("4a"));
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("[!]"));
        QCOMPARE(foreColor(w.text1()), kRed);
    }

    // What each typed character does in the hex pane, with the text that a real keyboard sends.
    void hexKeyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("entered");
        QTest::newRow("a") << int(Qt::Key_A) << "a" << 0 << "A";
        QTest::newRow("f") << int(Qt::Key_F) << "f" << 0 << "F";
        QTest::newRow("B") << int(Qt::Key_B) << "B" << int(Qt::ShiftModifier) << "B";
        QTest::newRow("7") << int(Qt::Key_7) << "7" << 0 << "7";
        QTest::newRow("blank") << int(Qt::Key_Space) << " " << 0 << " ";
        QTest::newRow("G") << int(Qt::Key_G) << "G" << int(Qt::ShiftModifier) << "";
        QTest::newRow("g") << int(Qt::Key_G) << "g" << 0 << "";
        QTest::newRow("z") << int(Qt::Key_Z) << "z" << 0 << "";
        QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << 0 << "";
        QTest::newRow("colon") << int(Qt::Key_Colon) << ":" << 0 << "";
        QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << 0 << "";
        QTest::newRow("Escape") << int(Qt::Key_Escape) << "\x1b" << 0 << "";
        QTest::newRow("accented") << int(Qt::Key_Eacute) << QString(QChar(0xE9)) << 0 << "";
        QTest::newRow("outside the page")
            << int(Qt::Key_unknown) << QString(QChar(0x0663)) << 0 << "";
        QTest::newRow("Ctrl+C as xcb sends it")
            << int(Qt::Key_C) << "\x03" << int(Qt::ControlModifier) << "";
        QTest::newRow("Ctrl+V as xcb sends it")
            << int(Qt::Key_V) << "\x16" << int(Qt::ControlModifier) << "";
        QTest::newRow("Ctrl+V as QTest sends it")
            << int(Qt::Key_V) << "v" << int(Qt::ControlModifier) << "";
        QTest::newRow("Ctrl+X as xcb sends it")
            << int(Qt::Key_X) << "\x18" << int(Qt::ControlModifier) << "";
    }
    void hexKeyFilter()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        QFETCH(QString, entered);
        Window w;
        setClipboard(QStringLiteral("41"));
        w.hexMode();
        typeKey(w.text2(), key, text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.text2()->toPlainText(), entered);

        // The output pane takes none of them.
        w.action("menuASCII")->trigger();
        w.text2()->setFocus();
        typeKey(w.text2(), key, text, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.text2()->toPlainText(), entered);
    }

    void editingKeysKeepWorkingInTheHexPane()
    {
        Window w;
        w.hexMode();
        typeText(w.text2(), QStringLiteral("41 42"));
        QTest::keyClick(w.text2(), Qt::Key_Home);
        typeKey(w.text2(), Qt::Key_Delete, QStringLiteral("\x7f")); // as xcb sends it
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("1 42"));
        QTest::keyClick(w.text2(), Qt::Key_End);
        QTest::keyClick(w.text2(), Qt::Key_Backspace);
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("1 4"));
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("[!]")); // pieces "1 ", then none

        // In the other mode even Backspace is refused there, while Delete still deletes.
        w.action("menuASCII")->trigger();
        w.text2()->setFocus();
        QTest::keyClick(w.text2(), Qt::Key_Backspace);
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("1 4"));
        QTest::keyClick(w.text2(), Qt::Key_Home);
        QTest::keyClick(w.text2(), Qt::Key_Delete);
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral(" 4"));
    }

    void upperPaneRefusesTypingAsOutputButStillConverts()
    {
        Window w;
        typeText(w.text1(), QStringLiteral("AB"));
        w.hexMode();
        // The caret stands after the last conversion's output, so typing goes on at its end.
        typeText(w.text2(), QStringLiteral(" 43"));
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("ABC"));
        w.button("cmdClear")->click();
        typeText(w.text2(), QStringLiteral("43"));
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("C"));
        w.text1()->setFocus(); // by keyboard the output pane can still get the focus
        typeText(w.text1(), QStringLiteral("xy"));
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("C"));
        // ...and its key releases rebuild the hex pane from it.
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral(" 43"));
    }

    void releaseInTheOutputHexPaneDecodesIt()
    {
        Window w;
        typeText(w.text1(), QStringLiteral("A\nB"));
        QTest::keyClick(w.text1(), Qt::Key_Tab); // the Tab release does not count
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("A\nB"));
        QTest::keyClick(w.text2(), Qt::Key_Right);
        // "41 D A 42": the pieces are 41, "D " and " 4".
        QCOMPARE(w.text1()->toPlainText(), QStringLiteral("A[!][!]"));
        QCOMPARE(foreColor(w.text1()), kRed);
    }

    // What a screen reader hears after the steps, and how it describes the upper pane: the
    // marker exactly while it shows in red, and never instead of the tooltip.
    void whatAScreenReaderHears_data()
    {
        const QString note =
            QStringLiteral("Holds a code that is not a printable character, shown as [!]");
        const QString tipAndNote = kAsciiTip.trimmed() + ". " + note;
        const QString hexTitle = QStringLiteral("Quorvale - HEX to ASCII mode");
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QString>("upperPane"); // its description as presented

        QTest::newRow("codes as typed")
            << QStringList{} << QStringList{"AB"} << QStringList{"41", "42"} << kAsciiTip;
        QTest::newRow("emptied") << QStringList{"A"} << QStringList{"backspace"}
                                 << QStringList{"empty"} << kAsciiTip;
        QTest::newRow("unchanged: silent")
            << QStringList{"A"} << QStringList{"right"} << QStringList{} << kAsciiTip;
        QTest::newRow("switch") << QStringList{} << QStringList{"hex"} << QStringList{hexTitle}
                                << QString();
        QTest::newRow("marker coming and going")
            << QStringList{"hex"} << QStringList{"41 42"}
            << QStringList{"Unknown code shown", "A, no unknown code", "Unknown code shown",
                           "B, no unknown code"}
            << QString();
        QTest::newRow("half a code")
            << QStringList{"hex"} << QStringList{"41 4"}
            << QStringList{"Unknown code shown", "A, no unknown code", "Unknown code shown"}
            << note;
        QTest::newRow("blank, and 7F that adds nothing")
            << QStringList{"hex"} << QStringList{"20 7F"}
            << QStringList{"Unknown code shown", "blank, no unknown code", "Unknown code shown",
                           "no unknown code"}
            << QString();
        QTest::newRow("a second marker") << QStringList{"hex", "41 4"} << QStringList{" 42"}
                                         << QStringList{"unknown code"} << note;
        QTest::newRow("switched back") << QStringList{"hex", "41 4"} << QStringList{"ascii"}
                                       << QStringList{"Quorvale - ASCII to HEX mode"} << kAsciiTip;
        QTest::newRow("cleared") << QStringList{"hex", "41 4"} << QStringList{"clear"}
                                 << QStringList{"Both panes cleared"} << QString();
        QTest::newRow("hex pane emptied, colour kept")
            << QStringList{"hex", "4"} << QStringList{"backspace"} << QStringList{"empty"}
            << QString();
        QTest::newRow("decoded into the input pane")
            << QStringList{"A", "lower"} << QStringList{"right"}
            << QStringList{"Unknown code shown"} << tipAndNote;
        // A switch that leaves the focus where it was changes no tooltip, but the description
        // follows the pane's new role at once.
        QTest::newRow("output pane, its old tip not told")
            << QStringList{"lower", "hex"} << QStringList{"4"} << QStringList{"Unknown code shown"}
            << note;
        QTest::newRow("input pane again, focus staying")
            << QStringList{"hex", "upper"} << QStringList{"ascii"}
            << QStringList{"Quorvale - ASCII to HEX mode"} << kAsciiTip;
        QTest::newRow("tip going, marker staying")
            << QStringList{"lower", "hex", "4"} << QStringList{"upper"} << QStringList{} << note;
        QTest::newRow("marker edited away")
            << QStringList{"A", "lower", "right", "upper"} << QStringList{"backspace"}
            << QStringList{"21"} << kAsciiTip;
        QTest::newRow("copied") << QStringList{"A"} << QStringList{"copy"}
                                << QStringList{"Copied to the clipboard"} << kAsciiTip;
        QTest::newRow("nothing to copy")
            << QStringList{} << QStringList{"copy"} << QStringList{"Nothing to copy"} << kAsciiTip;
    }
    void whatAScreenReaderHears()
    {
        QFETCH(QStringList, setup);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, heard);
        QFETCH(QString, upperPane);
        ScreenReader reader;
        Window w;
        run(w, setup);
        reader.heard();
        run(w, steps);
        QCOMPARE(reader.heard(), heard);
        QAccessibleInterface *upper = QAccessible::queryAccessibleInterface(w.text1());
        QCOMPARE(upper->text(QAccessible::Description), upperPane);
        QCOMPARE(upper->text(QAccessible::Help), upperPane); // where Windows also looks
    }
};

QTEST_MAIN(TestModes)
#include "test_modes.moc"
