// Typing into the upper pane: live hex codes below, the 300-character capacity of the panes by
// every path, which key releases convert, and the colour that decoded text is shown in.

#include "ascii_to_hex.h"
#include "pane.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

// The colours of the text that the window shows in a pane: "red", "green", both or none, read
// from what was last painted, not from the palette.
QString shownTextColours(const Window &w, const QPlainTextEdit *pane)
{
    const QRect area(pane->viewport()->mapTo(w.window.get(), QPoint()), pane->viewport()->size());
    const QImage shown = w.window->screen()
                             ->grabWindow(w.window->winId())
                             .toImage()
                             .copy(area)
                             .convertToFormat(QImage::Format_RGB32);
    bool red = false;
    bool green = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            red = red || (c.red() > 160 && c.green() < 90 && c.blue() < 90);
            green = green || (c.green() > 160 && c.red() < 90 && c.blue() < 90);
        }
    }
    return red && green ? QStringLiteral("both")
           : red        ? QStringLiteral("red")
           : green      ? QStringLiteral("green")
                        : QStringLiteral("none");
}

} // namespace

class TestTyping : public QObject
{
    Q_OBJECT

private slots:
    void typedTextIsConverted_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("hidden");
        const auto row = [](const char *name, const QString &typed, const char *hex,
                            const char *hidden, int page = 1252) {
            QTest::newRow(name) << page << typed << QString::fromLatin1(hex)
                                << QString::fromLatin1(hidden);
        };
        row("A", "A", " 41", "41");
        row("AB", "AB", "41 42", "42");
        row("ABC", "ABC", "41 42 43", "43");
        row("line break", "A\nB", "41 D A 42", "42");
        row("euro and y umlaut", QString::fromUtf16(u"\u20AC\u00FF"), "80 FF", "FF");
        row("outside the code page", QString::fromUtf16(u"\u03A9"), " 3F", "3F");
        row("emoji", QString::fromUtf16(u"\U0001F600!"), "3F 21", "21");
        row("Greek in its page", QString::fromUtf16(u"\u03A9"), " D9", "D9", 1253);
        row("Russian", QString::fromUtf16(u"\u041C\u0438\u0440!"), "CC E8 F0 21", "21", 1251);
        row("Vietnamese letter and tone", QString::fromUtf16(u"\u1EC7"), "EA F2", "F2", 1258);
        // Right-to-left scripts in the order typed, whatever the pane shows; Thai's marks are
        // characters of their own.
        row("Hebrew", QString::fromUtf16(u"\u05E9\u05DC\u05D5\u05DD 12"), "F9 EC E5 ED 20 31 32",
            "32", 1255);
        row("Arabic", QString::fromUtf16(u"\u0633\u0644\u0627\u0645"), "D3 E1 C7 E3", "E3", 1256);
        row("Thai", QString::fromUtf16(u"\u0E17\u0E35\u0E48"), "B7 D5 E8", "E8", 874);
    }
    void typedTextIsConverted()
    {
        QFETCH(int, page);
        QFETCH(QString, typed);
        QFETCH(QString, hex);
        QFETCH(QString, hidden);
        Window w(true, page);
        typeText(w.text1(), typed);
        QCOMPARE(w.text2()->toPlainText(), hex);
        QCOMPARE(w.hidden(), hidden);
        QCOMPARE(int(w.window->inputArray().size()),
                 int(hex.split(' ', Qt::SkipEmptyParts).size()) + 1);
        // Backspace takes the last character typed, and only that.
        QTest::keyClick(w.text1(), Qt::Key_Backspace);
        const QString left = typed.chopped(typed.back().isLowSurrogate() ? 2 : 1);
        QCOMPARE(w.text1()->toPlainText(), left);
        QCOMPARE(w.text2()->toPlainText(),
                 QString::fromStdU16String(asciiToHex(left.toStdU16String())));
    }

    void deletingEverythingEmptiesTheOutput()
    {
        Window w;
        QTest::keyClicks(w.text1(), "ABCDE");
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(w.text1(), Qt::Key_Backspace);
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("41 42"));
        QCOMPARE(int(w.window->inputArray().size()), 3);
        QTest::keyClick(w.text1(), Qt::Key_Backspace);
        QTest::keyClick(w.text1(), Qt::Key_Backspace);
        QCOMPARE(w.text2()->toPlainText(), QString());
        QCOMPARE(int(w.window->inputArray().size()), 2); // an empty text leaves the array
        QCOMPARE(w.hidden(), QStringLiteral("41"));
    }

    void releaseWithoutChangeRebuildsTheSame()
    {
        Window w;
        QTest::keyClicks(w.text1(), "AB");
        w.text2()->setPlainText(QStringLiteral("stale"));
        QTest::keyClick(w.text1(), Qt::Key_Left);
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("41 42"));
        w.text2()->setPlainText(QStringLiteral("stale"));
        QTest::keyClick(w.text1(), Qt::Key_Shift);
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("41 42"));
    }

    void limitShowsTheBoxOncePerRelease()
    {
        Window w;
        fill(w.text1(), 298);
        QTest::keyClick(w.text1(), Qt::Key_A);
        QCOMPARE(w.text2()->toPlainText().size(), 299 * 3 - 1); // the program's text is never cut
        QCOMPARE(w.messageCount(), 0);

        Qt::CursorShape during = Qt::ArrowCursor;
        w.platform.whileMessageShown = [&](const MessageBoxRequest &) {
            during = w.text2()->viewport()->cursor().shape();
        };
        QTest::keyClick(w.text1(), Qt::Key_B);
        QCOMPARE(paneLength(w.text1()), 300);
        QCOMPARE(w.text2()->toPlainText(), QString());
        QCOMPARE(w.messageCount(), 1);
        const MessageBoxRequest &box = w.platform.messages.front().request;
        QCOMPARE(box.prompt,
                 QStringLiteral(
                     "Input is limited to 300 characters.\r\nDon't write your novels in HEX! ;-)"));
        QCOMPARE(box.title, QStringLiteral("Nobody would read them!"));
        QCOMPARE(box.icon, MessageBoxRequest::Icon::Information);
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(w.text2()->viewport()->cursor().shape(), Qt::IBeamCursor);

        QTest::keyClick(w.text1(), Qt::Key_C); // refused, but its release still counts
        QCOMPARE(paneLength(w.text1()), 300);
        QTest::keyClick(w.text1(), Qt::Key_Left);
        QCOMPARE(w.messageCount(), 3);

        QTest::keyClick(w.text1(), Qt::Key_End);
        QTest::keyClick(w.text1(), Qt::Key_Backspace);
        QCOMPARE(w.messageCount(), 4); // End still at 300
        QCOMPARE(w.text2()->toPlainText().size(), 299 * 3 - 1);
    }

    // Qt hands the pane the release of the Return or Escape that closed the box; acting on it
    // would open the box again, forever.
    void releasesOfKeysNotPressedHereDoNothing()
    {
        Window w;
        fill(w.text1(), 300);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(w.text1(), &release);
        QKeyEvent escape(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier,
                         QStringLiteral("\x1b"));
        QApplication::sendEvent(w.text1(), &escape);
        QCOMPARE(w.messageCount(), 0);
    }

    void autoRepeatGivesOneRelease()
    {
        Window w;
        fill(w.text1(), 300);
        const auto send = [&](QEvent::Type type, bool repeat) {
            QKeyEvent e(type, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"), repeat);
            QApplication::sendEvent(w.text1(), &e);
        };
        send(QEvent::KeyPress, false);
        for (int i = 0; i < 5; ++i) {
            send(QEvent::KeyRelease, true);
            send(QEvent::KeyPress, true);
        }
        send(QEvent::KeyRelease, false);
        QCOMPARE(w.messageCount(), 1);
    }

    void focusLossForgetsPressedKeys()
    {
        Window w;
        fill(w.text1(), 300);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QApplication::sendEvent(w.text1(), &press); // moves the focus on
        QVERIFY(!w.text1()->hasFocus());
        w.text1()->setFocus();
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
        QApplication::sendEvent(w.text1(), &release);
        QCOMPARE(w.messageCount(), 0);
    }

    void altLetterTypesNothing()
    {
        Window w;
        typeKey(w.text1(), Qt::Key_Q, QStringLiteral("q"), Qt::AltModifier);
        QCOMPARE(w.text1()->toPlainText(), QString());
    }

    // The capacity holds however text arrives.
    void capacityHoldsOnEveryPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("typing") << "typing";
        QTest::newRow("return") << "return";
        QTest::newRow("paste") << "paste";
        QTest::newRow("shift+insert") << "shift+insert";
        QTest::newRow("drop") << "drop";
        QTest::newRow("input method") << "input method";
        QTest::newRow("insertPlainText") << "insertPlainText";
    }
    void capacityHoldsOnEveryPath()
    {
        QFETCH(QString, path);
        for (const char *name : {"Text1", "Text2"}) {
            Window w;
            auto *pane = w.find<QPlainTextEdit>(name);
            if (pane == w.text2())
                w.hexMode(); // typing reaches the input pane only
            pane->setFocus();
            fill(pane, 299);
            pane->moveCursor(QTextCursor::End);
            const QString more = QStringLiteral("ab"); // hex digits: the hex pane takes them too
            if (path == "typing") {
                typeText(pane, more);
            } else if (path == "return") {
                typeKey(pane, Qt::Key_Return, QStringLiteral("\r")); // CR LF needs two
            } else if (path == "paste") {
                setClipboard(more);
                pane->paste();
            } else if (path == "shift+insert") {
                setClipboard(more);
                QTest::keyClick(pane, Qt::Key_Insert, Qt::ShiftModifier);
            } else if (path == "drop") {
                QMimeData data;
                data.setText(more);
                const QPoint at = pane->viewport()->rect().center();
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(pane->viewport(), &enter);
                QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(pane->viewport(), &drop);
            } else if (path == "input method") {
                QInputMethodEvent commit;
                commit.setCommitString(more);
                QApplication::sendEvent(pane, &commit);
            } else {
                pane->insertPlainText(more);
            }
            QVERIFY2(paneLength(pane) <= 300, qPrintable(pane->objectName()));
            if (path != "return")
                QCOMPARE(paneLength(pane), 300);
        }
    }

    // Pasted Windows line ends become one line break each, which counts two.
    void pastedLineEndsCountAsOneBreak()
    {
        Window w;
        fill(w.text1(), 293);
        setClipboard(QStringLiteral("a\r\nb\r\nc\r\n"));
        w.text1()->paste();
        QCOMPARE(w.text1()->toPlainText().right(5), QStringLiteral("a\nb\nc"));
        QCOMPARE(paneLength(w.text1()), 300);
    }

    // The decoded text turns red and back on screen, however little of the pane is repainted.
    void decodedTextIsShownInItsColour_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("colour");
        QTest::newRow("incomplete code") << "4"
                                         << "red";
        QTest::newRow("complete code") << "41"
                                       << "green";
        QTest::newRow("one more incomplete") << "41 4"
                                             << "red";
        QTest::newRow("long output") << QString("41 ").repeated(60) + "4"
                                     << "red";
    }
    void decodedTextIsShownInItsColour()
    {
        QFETCH(QString, typed);
        QFETCH(QString, colour);
        Window w;
        w.hexMode();
        typeText(w.text2(), typed);
        QTRY_COMPARE(shownTextColours(w, w.text1()), colour);
    }

    void textColourChangeAloneIsShown()
    {
        Window w;
        auto *pane = qobject_cast<Pane *>(w.text2());
        QVERIFY(pane);
        pane->setProgramText(QStringLiteral("41 42"));
        QTRY_COMPARE(shownTextColours(w, pane), QStringLiteral("green"));
        pane->setTextColor(Qt::red);
        QTRY_COMPARE(shownTextColours(w, pane), QStringLiteral("red"));
    }
};

QTEST_MAIN(TestTyping)
#include "test_typing.moc"
