#pragma once

// A started main window on a recording platform, and ways to drive real events into it.

#include "frmMain.h"
#include "pane.h"
#include "pane_colors.h"
#include "recording_platform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace quorvale::testing {

struct Window
{
    RecordingPlatform platform;
    std::unique_ptr<frmMain> window;

    // `page`: the system's code page that the platform reports.
    explicit Window(bool load = true, int page = 1252)
    {
        platform.page = page;
        window = std::make_unique<frmMain>(platform);
        if (load)
            start();
    }

    void start()
    {
        window->Form_Load();
        window->showCentred();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget> T *find(const char *name) const
    {
        auto *w = window->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control named %s", name);
        return w;
    }
    Pane *text1() const { return find<Pane>("Text1"); }
    Pane *text2() const { return find<Pane>("Text2"); }
    QPushButton *button(const char *name) const { return find<QPushButton>(name); }
    QAction *action(const char *name) const { return find<QAction>(name); }
    QString hidden() const { return find<QLabel>("lblHIDDEN")->text(); }
    int messageCount() const { return static_cast<int>(platform.messages.size()); }
    void hexMode() const { action("menuHEXto")->trigger(); }
};

// The offscreen clipboard lives inside this process; nothing reaches the user's.
inline void setClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

// Pastes n characters into the pane and leaves the caret at the end.
inline void fill(QPlainTextEdit *pane, int n, QChar c = QLatin1Char('4'))
{
    setClipboard(QString(n, c));
    pane->paste();
    pane->moveCursor(QTextCursor::End);
}

// The pane's length in code-page characters, counted here on its own: one per character, two
// per line break.
inline int paneLength(const QPlainTextEdit *pane)
{
    int n = 0;
    const QList<uint> codePoints = pane->document()->toRawText().toUcs4();
    for (const uint c : codePoints)
        n += c == '\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator ? 2 : 1;
    return n;
}

// One key press and release carrying `text`, as a real keyboard delivers it.
inline void typeKey(QWidget *w, int key, const QString &text,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
}

// Types each character of `text`; "\n" is the Return key.
inline void typeText(QWidget *w, const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    for (const uint codePoint : codePoints) {
        const auto cp32 = static_cast<char32_t>(codePoint);
        const QString one = QString::fromUcs4(&cp32, 1);
        const QChar c = one.front();
        if (c == QLatin1Char('\n')) {
            typeKey(w, Qt::Key_Return, QStringLiteral("\r"));
            continue;
        }
        const QChar upper = c.toUpper();
        const int key = upper.unicode() < 0x80 && upper.isLetterOrNumber() ? int(upper.unicode())
                        : c == QLatin1Char(' ')                            ? int(Qt::Key_Space)
                                                                           : int(Qt::Key_unknown);
        typeKey(w, key, one);
    }
}

// Sends keys as the keyboard does, through the main window's window-system side: shortcuts
// first, then an open menu or the focused widget, whichever has the keyboard at that moment.
// Characters are typed as they are; a key in angle brackets is pressed and released as named
// ("<Alt+A>", "<Space>"), or only pressed ("<+Space>") or only released ("<-Space>"), as when
// keys roll. Nothing else runs in between, as when keys come faster than a timer.
inline void keyboard(const Window &w, const QString &keys)
{
    QWindow *window = w.window->windowHandle();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const qsizetype close = keys.indexOf(QLatin1Char('>'), i);
        if (keys.at(i) != QLatin1Char('<') || close < 0) {
            QTest::keyClick(window, keys.at(i).toLatin1());
            continue;
        }
        QString name = keys.mid(i + 1, close - i - 1);
        const QChar half = name.front();
        if (half == QLatin1Char('+') || half == QLatin1Char('-'))
            name.remove(0, 1);
        const QKeyCombination key = QKeySequence::fromString(name)[0];
        if (half == QLatin1Char('+'))
            QTest::keyPress(window, key.key(), key.keyboardModifiers());
        else if (half == QLatin1Char('-'))
            QTest::keyRelease(window, key.key(), key.keyboardModifiers());
        else
            QTest::keyClick(window, key.key(), key.keyboardModifiers());
        i = close;
    }
}

} // namespace quorvale::testing
