// Hostile input through the real panes: huge pastes, characters cut at the 300th position,
// control and layout characters, input method commits, undo and redo across the capacity, and
// pastes that carry no text. Nothing may crash, hang, exceed the capacity or lose the text.

#include "ascii_to_hex.h"
#include "hex_to_ascii.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QMimeData>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

QString raw(const QPlainTextEdit *pane)
{
    return pane->document()->toRawText();
}

bool hasHalfSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            if (i + 1 == text.size() || !text[i + 1].isLowSurrogate())
                return true;
            ++i;
        } else if (text[i].isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

// The pane that `name` names, made the input pane and given the focus.
QPlainTextEdit *inputPane(Window &w, const QString &name)
{
    if (name == QLatin1String("Text2"))
        w.hexMode();
    auto *pane = w.find<QPlainTextEdit>(qPrintable(name));
    pane->setFocus();
    return pane;
}

void drop(QPlainTextEdit *pane, const QMimeData &data)
{
    const QPoint at = pane->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane->viewport(), &enter);
    QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane->viewport(), &dropEvent);
}

void commit(QPlainTextEdit *pane, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(pane, &event);
}

// Puts `text` into the pane at the caret the way `path` names.
void insert(QPlainTextEdit *pane, const QString &path, const QString &text)
{
    if (path == QLatin1String("typing")) {
        typeKey(pane, Qt::Key_unknown, text);
    } else if (path == QLatin1String("ctrl+v")) {
        setClipboard(text);
        QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
    } else if (path == QLatin1String("shift+insert")) {
        setClipboard(text);
        QTest::keyClick(pane, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (path == QLatin1String("drop")) {
        QMimeData data;
        data.setText(text);
        drop(pane, data);
    } else if (path == QLatin1String("input method")) {
        commit(pane, text);
    } else {
        qFatal("unknown path %s", qPrintable(path));
    }
}

// A key that changes nothing, pressed and released in the pane: the converter runs.
void release(QPlainTextEdit *pane)
{
    QTest::keyClick(pane, Qt::Key_Shift);
}

} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT

private slots:
    void hugePasteIsCutBeforeInserting_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("path");
        for (const char *pane : {"Text1", "Text2"}) {
            // Ctrl+V types a control character that the hex pane's key filter discards.
            const QList<const char *> paths =
                pane == QByteArray("Text1") ? QList<const char *>{"ctrl+v", "shift+insert", "drop"}
                                            : QList<const char *>{"shift+insert", "drop"};
            for (const char *path : paths)
                QTest::addRow("%s %s", pane, path) << pane << path;
        }
    }
    void hugePasteIsCutBeforeInserting()
    {
        QFETCH(QString, pane);
        QFETCH(QString, path);
        Window w;
        QPlainTextEdit *p = inputPane(w, pane);
        int largestInsert = 0;
        connect(p->document(), &QTextDocument::contentsChange, p,
                [&](int, int, int added) { largestInsert = std::max(largestInsert, added); });

        const QString huge = QStringLiteral("41 ").repeated(700'000).left(2'000'000);
        QElapsedTimer timer;
        timer.start();
        insert(p, path, huge);
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(paneLength(p), 300);
        QCOMPARE(raw(p), huge.left(300));
        // The first text in an empty document is reported with the document's end: one more.
        QVERIFY2(largestInsert <= 301, qPrintable(QString::number(largestInsert)));

        // Still answering: a deletion brings the pane below the limit and it converts again.
        p->moveCursor(QTextCursor::End);
        QTest::keyClick(p, Qt::Key_Backspace);
        QPlainTextEdit *other = p == w.text1() ? w.text2() : w.text1();
        QVERIFY(!other->toPlainText().isEmpty());
    }

    void hugeInputMethodCommitIsCut()
    {
        Window w;
        QElapsedTimer timer;
        timer.start();
        commit(w.text1(), QString(2'000'000, QLatin1Char('k')));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(paneLength(w.text1()), 300);
    }

    // Whatever stands at the 300th position, the pane keeps whole characters only.
    void lastCharacterIsNeverSplit_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        const QString face = QString::fromUtf16(u"\U0001F600");
        const QString flag = QString::fromUtf16(u"\U0001F1E9\U0001F1EA");
        const QString accent = QString::fromUtf16(u"e\u0301");
        for (const char *path : {"typing", "shift+insert", "drop", "input method"}) {
            QTest::addRow("%s: emoji", path) << path << face << face;
            QTest::addRow("%s: two emoji", path) << path << face + face << face;
            QTest::addRow("%s: flag", path) << path << flag << flag.left(2);
            QTest::addRow("%s: combining accent", path) << path << accent << accent.left(1);
            QTest::addRow("%s: letter and emoji", path) << path << QLatin1String("a") + face << "a";
        }
    }
    void lastCharacterIsNeverSplit()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        Window w;
        fill(w.text1(), 299);
        insert(w.text1(), path, text);
        const QString now = raw(w.text1());
        QVERIFY(!hasHalfSurrogate(now));
        QCOMPARE(QString(now).remove(QLatin1Char('4')), kept); // a drop lands mid-text
        QCOMPARE(paneLength(w.text1()), 300);
        const int shown = w.messageCount();
        release(w.text1());
        QCOMPARE(w.messageCount(), shown + 1); // full: the limit box, nothing converted
        QCOMPARE(w.text2()->toPlainText(), QString());
    }

    // Control and layout characters reach the converter as their code-page codes.
    void specialCharactersArePastedAsCodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hex");
        QTest::newRow("NUL") << QString(QChar(0)) << " 0";
        QTest::newRow("ESC") << "\x1b"
                             << " 1B";
        QTest::newRow("tab") << "\t"
                             << " 9";
        QTest::newRow("lone CR") << "a\rb"
                                 << "61 D A 62";
        QTest::newRow("lone LF") << "a\nb"
                                 << "61 D A 62";
        QTest::newRow("CR LF") << "a\r\nb"
                               << "61 D A 62";
        QTest::newRow("line separator") << QString::fromUtf16(u"a\u2028b") << "61 D A 62";
        QTest::newRow("paragraph separator") << QString::fromUtf16(u"a\u2029b") << "61 D A 62";
        QTest::newRow("NBSP") << QString::fromUtf16(u"\u00A0") << " A0";
        QTest::newRow("right-to-left mark") << QString::fromUtf16(u"a\u200Fb") << "61 3F 62";
        QTest::newRow("right-to-left override") << QString::fromUtf16(u"\u202Eab") << "3F 61 62";
        QTest::newRow("byte order mark") << QString(QChar(0xFEFF)) << " 3F";
        QTest::newRow("noncharacter") << QString::fromUtf16(u"\uFFFF") << " 3F";
        QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) << " 3F";
        QTest::newRow("outside the code page") << QString::fromUtf16(u"\u03A9\u4E2D") << "3F 3F";
        QTest::newRow("euro") << QString::fromUtf16(u"\u20AC") << " 80";
        QTest::newRow("C1 control") << QString(QChar(0x85)) << " 3F";
    }
    void specialCharactersArePastedAsCodes()
    {
        QFETCH(QString, text);
        QFETCH(QString, hex);
        Window w;
        insert(w.text1(), QStringLiteral("shift+insert"), text);
        QCOMPARE(w.text2()->toPlainText(), hex);

        // The same text in the hex pane decodes without a fault: every piece is a marker here.
        Window h;
        QPlainTextEdit *pane = inputPane(h, QStringLiteral("Text2"));
        insert(pane, QStringLiteral("shift+insert"), text);
        const Decoding expected = hexToAscii(raw(pane).toStdU16String());
        QCOMPARE(h.text1()->toPlainText(), QString::fromStdU16String(expected.text));
        QVERIFY(expected.marked);
    }

    // Typed, the same characters go in as they are or not at all, and the output follows; the
    // hex pane takes only hex digits and blanks from them.
    void specialCharactersTyped_data() { specialCharactersArePastedAsCodes_data(); }
    void specialCharactersTyped()
    {
        QFETCH(QString, text);
        Window w;
        insert(w.text1(), QStringLiteral("typing"), text);
        QCOMPARE(w.text2()->toPlainText(),
                 QString::fromStdU16String(asciiToHex(raw(w.text1()).toStdU16String())));
        QVERIFY(paneLength(w.text1()) <= 4);

        Window h;
        QPlainTextEdit *pane = inputPane(h, QStringLiteral("Text2"));
        insert(pane, QStringLiteral("typing"), text);
        for (const QChar c : raw(pane))
            QVERIFY(c == QLatin1Char(' ') || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                    (c >= QLatin1Char('A') && c <= QLatin1Char('F')));
    }

    // Undo takes back exactly what went in, redo brings back no more than fits, and neither
    // loses the text that was there.
    void undoAndRedoAcrossTheLimit_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path : {"typing", "shift+insert", "drop", "input method"})
            QTest::newRow(path) << path;
    }
    void undoAndRedoAcrossTheLimit()
    {
        QFETCH(QString, path);
        Window w;
        QPlainTextEdit *p = w.text1();
        p->setPlainText(QString(297, QLatin1Char('4'))); // no undo step before the insertion
        p->moveCursor(QTextCursor::End);
        const QString before = raw(p);
        insert(p, path, QStringLiteral("xyz%&"));
        const QString full = raw(p);
        QCOMPARE(QString(full).remove(QLatin1Char('4')), QStringLiteral("xyz"));
        QCOMPARE(paneLength(p), 300);
        for (int round = 0; round < 3; ++round) {
            p->undo();
            QCOMPARE(raw(p), before);
            p->redo();
            QCOMPARE(raw(p), full);
        }

        // Replacing everything and taking it back restores the whole text.
        if (path == QLatin1String("drop"))
            return; // a drop does not replace the selection
        p->selectAll();
        insert(p, path, QStringLiteral("q"));
        QCOMPARE(raw(p), QStringLiteral("q"));
        p->undo();
        QCOMPARE(raw(p), full);
        p->redo();
        QCOMPARE(raw(p), QStringLiteral("q"));
    }

    // Keys typed one by one past the limit: what went in is one undo step, as anywhere else.
    void undoAfterTypingPastTheLimit_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("typed");
        QTest::newRow("Text1") << "Text1"
                               << "xyz";
        QTest::newRow("Text2") << "Text2"
                               << "ABC";
    }
    void undoAfterTypingPastTheLimit()
    {
        QFETCH(QString, pane);
        QFETCH(QString, typed);
        Window w;
        QPlainTextEdit *p = inputPane(w, pane);
        const QString before(298, QLatin1Char('4'));
        p->setPlainText(before);
        p->moveCursor(QTextCursor::End);
        typeText(p, typed);
        const QString full = before + typed.left(2);
        QCOMPARE(raw(p), full);
        for (int round = 0; round < 3; ++round) {
            p->undo();
            QCOMPARE(raw(p), before);
            p->redo();
            QCOMPARE(raw(p), full);
        }
    }

    // A paste or drop that carries no text leaves the pane as it was.
    void pasteWithoutText_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("no format at all") << QString() << QByteArray();
        QTest::newRow("empty text") << "text/plain" << QByteArray();
        QTest::newRow("an image only") << "image/png" << QByteArray("\x89PNG\r\n\x1a\n", 8);
        QTest::newRow("binary only") << "application/octet-stream" << QByteArray(64, '\0');
        QTest::newRow("rich text only") << "text/html" << QByteArray("<b>bold</b>");
    }
    void pasteWithoutText()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, data);
        for (const char *name : {"Text1", "Text2"}) {
            Window w;
            QPlainTextEdit *p = inputPane(w, QString::fromLatin1(name));
            typeText(p, QStringLiteral("41 42"));
            const QString before = raw(p);

            auto *mime = new QMimeData;
            if (!format.isEmpty())
                mime->setData(format, data);
            QGuiApplication::clipboard()->setMimeData(mime); // the clipboard owns it
            QTest::keyClick(p, Qt::Key_Insert, Qt::ShiftModifier);
            p->paste();
            QMimeData dropped;
            if (!format.isEmpty())
                dropped.setData(format, data);
            drop(p, dropped);
            QCOMPARE(raw(p), before);
        }
    }
};

QTEST_MAIN(TestHostileInput)
#include "test_hostile_input.moc"
