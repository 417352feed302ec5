#include "pane.h"

#include "code_page.h"
#include "text_view.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>

namespace quorvale {
namespace {

// A physical key: its scan code where the platform reports one, which stays the same when a
// tool remaps a spare key for one character and the release comes without Qt's key code.
quint64 keyIdentity(const QKeyEvent *event)
{
    if (event->nativeScanCode() != 0)
        return (quint64{1} << 32) | event->nativeScanCode();
    return static_cast<quint32>(event->key());
}

// The key code of one typed character: control characters as they are, everything else as its
// byte in the code page ('?' for a character the page does not hold).
KeyAscii keyAsciiOf(char32_t codePoint)
{
    if (codePoint < 0x20 || codePoint == 0x7F)
        return static_cast<KeyAscii>(codePoint);
    return codepage::fromCodePoint(codePoint);
}

// Gives a scroll bar the desktop's palette as its own, every role set, so that it no longer
// follows the pane's. The style keeps its pictures of scroll bars in the pixmap cache under the
// identity of their palette, and each palette change of the pane gives the scroll bars a new
// one, though none of their colours change: every mode switch and every change of the text
// colour left new pictures in the cache, never used again, until the cache was full (10 MiB).
void keepOwnPalette(QScrollBar *bar)
{
    QPalette own = QApplication::palette(bar);
    own.setResolveMask(~QPalette::ResolveMask{});
    bar->setPalette(own);
}

} // namespace

Pane::Pane(QWidget *parent) : QPlainTextEdit(parent)
{
    keepOwnPalette(verticalScrollBar());
    keepOwnPalette(horizontalScrollBar());
    setTabChangesFocus(true);
    // The panes have no edit menu of their own; a right click belongs to the main window.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(document(), &QTextDocument::contentsChange, this, &Pane::enforceCapacity);
}

QString Pane::paneText() const
{
    return document()->toRawText();
}

void Pane::setProgramText(const QString &text)
{
    m_programWriting = true;
    setPlainText(text);
    m_programWriting = false;
    // The caret goes after the output, where typing in this pane would go on.
    moveCursor(QTextCursor::End);
}

void Pane::setTextColor(const QColor &color)
{
    QPalette changed = palette();
    if (changed.color(QPalette::Text) == color)
        return;
    changed.setColor(QPalette::Text, color);

    // A palette change repaints the whole pane, frame and scroll bar included, which costs as
    // much again as writing the text that comes with it. Only the text uses this colour, so
    // updates are held back while the palette changes and only the text area is repainted.
    QList<QWidget *> held = findChildren<QWidget *>();
    held.append(this);
    held.removeIf([](const QWidget *w) { return w->testAttribute(Qt::WA_UpdatesDisabled); });
    for (QWidget *w : std::as_const(held))
        w->setAttribute(Qt::WA_UpdatesDisabled, true);
    setPalette(changed);
    for (QWidget *w : std::as_const(held))
        w->setAttribute(Qt::WA_UpdatesDisabled, false);
    viewport()->update();
}

void Pane::setHoverTip(const QString &tip)
{
    m_hoverTip = tip;
}

void Pane::setAccessibleTip(const QString &tip)
{
    if (tip == m_tip)
        return;
    m_tip = tip;
    describe();
}

void Pane::setAccessibleNote(const QString &note)
{
    if (note == m_note)
        return;
    m_note = note;
    describe();
}

bool Pane::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        if (m_hoverTip.isEmpty()) {
            event->ignore();
            return false;
        }
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), m_hoverTip, this);
        return true;
    }
    return QPlainTextEdit::event(event);
}

void Pane::describe()
{
    QString description = m_tip.isEmpty() ? m_note : m_tip;
    if (!m_tip.isEmpty() && !m_note.isEmpty())
        description = m_tip.trimmed() + QStringLiteral(". ") + m_note;
    if (description == accessibleDescription())
        return;
    setAccessibleDescription(description);
    // Windows screen readers look for it as the description or as the help text, which Qt takes
    // from What's This.
    setWhatsThis(description);
}

void Pane::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        m_pressedKeys.insert(keyIdentity(event));

    const QString text = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // What's This holds the description for screen readers only: Shift+F1 does not show it.
    if (event->key() == Qt::Key_F1 && modifiers == Qt::ShiftModifier) {
        event->accept();
        return;
    }
    // Delete deletes, whatever text a platform attaches to it: it types no character.
    if (text.isEmpty() || event->key() == Qt::Key_Delete || !onKeyPress) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Alt+letter is a menu key; where no menu takes it, it types nothing either.
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    // Ctrl+letter types a control character (Ctrl+C is 3), as a real keyboard reports it; the
    // original event goes on, so that the pane's own shortcut for it still works.
    if (modifiers.testFlag(Qt::ControlModifier) && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z) {
        KeyAscii keyAscii = event->key() - Qt::Key_A + 1;
        onKeyPress(keyAscii);
        if (keyAscii == 0)
            event->accept();
        else
            QPlainTextEdit::keyPressEvent(event);
        return;
    }

    QString passed;
    bool changed = false;
    const QList<uint> codePoints = text.toUcs4();
    for (const uint value : codePoints) {
        const auto codePoint = static_cast<char32_t>(value);
        const KeyAscii typed = keyAsciiOf(codePoint);
        KeyAscii keyAscii = typed;
        onKeyPress(keyAscii);
        if (keyAscii == typed) {
            passed += QString::fromUcs4(&codePoint, 1);
            continue;
        }
        changed = true;
        if (keyAscii >= 1 && keyAscii <= 255)
            passed += QChar(codepage::toChar(static_cast<std::uint8_t>(keyAscii)));
        else if (keyAscii != 0)
            passed += QString::fromUcs4(&codePoint, 1);
    }
    // Typed text is cut before it goes in, as a paste is: typing makes no undo step of its own,
    // so a cut after it would join the step before and undo would take back too much.
    const QString typed = changed ? passed : text;
    const QString fitting = typed.isEmpty() ? typed : fittingTyped(event->key(), typed);
    if (!changed && fitting == text) {
        QPlainTextEdit::keyPressEvent(event);
    } else if (fitting.isEmpty()) {
        event->accept();
    } else {
        QKeyEvent replaced(event->type(), event->key(), modifiers, event->nativeScanCode(),
                           event->nativeVirtualKey(), event->nativeModifiers(), fitting,
                           event->isAutoRepeat(), event->count());
        QPlainTextEdit::keyPressEvent(&replaced);
        event->setAccepted(replaced.isAccepted());
    }
}

QString Pane::fittingTyped(int key, const QString &text) const
{
    const bool lineBreak = key == Qt::Key_Return || key == Qt::Key_Enter;
    const char16_t first = text.front().unicode();
    if (!lineBreak && (first < 0x20 || first == 0x7F))
        return text; // Backspace, Escape and the like insert nothing
    const qsizetype room = roomFor(textCursor());
    if (lineBreak)
        return room >= 2 ? text : QString();
    return text.left(static_cast<qsizetype>(codepage::fittingPrefix(toView(text), room)));
}

void Pane::keyReleaseEvent(QKeyEvent *event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    // Only the last release of a held key counts, and only for a key pressed in this pane: the
    // Return that closed a message box, or the Tab that brought the focus here, was not.
    if (event->isAutoRepeat() || !m_pressedKeys.remove(keyIdentity(event)))
        return;
    if (onKeyUp)
        onKeyUp();
}

void Pane::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    if (onGotFocus)
        onGotFocus();
}

void Pane::focusOutEvent(QFocusEvent *event)
{
    m_pressedKeys.clear();
    QPlainTextEdit::focusOutEvent(event);
}

void Pane::mousePressEvent(QMouseEvent *event)
{
    if (mouseDown(event))
        QPlainTextEdit::mousePressEvent(event);
    else
        event->accept();
}

// The second press of a double click comes as a double click, but it is a button going down
// all the same: the right button opens the menu again, and the focus does not stay in the
// output pane, where everything typed would be discarded.
void Pane::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (mouseDown(event))
        QPlainTextEdit::mouseDoubleClickEvent(event);
    else
        event->accept();
}

bool Pane::mouseDown(const QMouseEvent *event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton:
        button = 1;
        break;
    case Qt::RightButton:
        button = 2;
        break;
    case Qt::MiddleButton:
        button = 4;
        break;
    default:
        break;
    }
    if (onMouseDown)
        onMouseDown(button);
    // The right button only opens the main window's menu; a click whose focus went on to the
    // other pane does not place the caret here.
    return event->button() != Qt::RightButton && hasFocus();
}

qsizetype Pane::roomFor(const QTextCursor &replacing) const
{
    const auto kept =
        codepage::length(toView(paneText())) - codepage::length(toView(replacing.selectedText()));
    return kept >= kCapacity ? 0 : static_cast<qsizetype>(kCapacity - kept);
}

void Pane::insertFromMimeData(const QMimeData *source)
{
    // Under X11, a paste while nothing owns the clipboard hands over data without any format,
    // and Qt's own insertion crashes on it.
    if (!source || !source->hasText())
        return;

    // Cut before inserting: a huge paste never enters the document. Every kept character takes
    // at most two UTF-16 units, so the head is enough; CR LF and lone CRs become line breaks
    // on insertion, so they are counted as such.
    const qsizetype room = roomFor(textCursor());
    QString head = source->text().left(2 * room + 2);
    head.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    head.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    head.truncate(static_cast<qsizetype>(codepage::fittingPrefix(toView(head), room)));
    if (head.isEmpty())
        return;

    QMimeData fitting;
    fitting.setText(head);
    QPlainTextEdit::insertFromMimeData(&fitting);
}

void Pane::enforceCapacity(int position, int /*removed*/, int added)
{
    // Every edit passes here (typing, input methods, drops, undo), so this is where the pane
    // refuses what lies beyond its capacity: the excess is cut from the end of what was just
    // inserted, within the same undo step.
    if (added <= 0 || m_programWriting || m_cutting)
        return;
    const QString text = paneText();
    const std::size_t total = codepage::length(toView(text));
    if (total <= kCapacity)
        return;

    const qsizetype end = std::min<qsizetype>(position + added, text.size());
    const qsizetype start = std::clamp<qsizetype>(position, 0, end);
    const std::u16string_view inserted = toView(QStringView(text).mid(start, end - start));
    const std::size_t before = total - codepage::length(inserted);
    const std::size_t room = before >= kCapacity ? 0 : kCapacity - before;
    const auto keep = static_cast<qsizetype>(codepage::fittingPrefix(inserted, room));

    m_cutting = true;
    QTextCursor cursor(document());
    cursor.joinPreviousEditBlock();
    cursor.setPosition(static_cast<int>(start + keep));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    m_cutting = false;
}

} // namespace quorvale
