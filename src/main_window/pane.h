#pragma once

#include "code_page.h"
#include "key_filter.h"

#include <QPlainTextEdit>
#include <QSet>

#include <functional>

namespace quorvale {

// One of the two text panes of the main window.
//
// A pane turns Qt's events into the few the main window handles: a typed character (as a key
// code of the pane's code page, which the handler may change or discard), the release of a key
// that was pressed in the pane, the focus arriving and a mouse button going down. It also holds
// at most 300 characters, however text arrives, except for what the program writes itself.
class Pane : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit Pane(QWidget *parent = nullptr);

    std::function<void(KeyAscii &)> onKeyPress;
    std::function<void()> onKeyUp;
    std::function<void()> onGotFocus;
    std::function<void(int button)> onMouseDown; // 1 left, 2 right, 4 middle

    // The text as the converters read it: line breaks kept as separators, NBSP kept.
    QString paneText() const;

    // Replaces the whole text with the program's own output, which the capacity never cuts.
    void setProgramText(const QString &text);

    // Sets the palette's text colour, repainting only the text area.
    void setTextColor(const QColor &color);

    // The tooltip shown when the pointer rests on the pane ("" for none). It is not Qt's tooltip
    // property, which screen readers would be told whenever the description is empty: the
    // tooltip changes only when a pane gets the focus, and may be out of date meanwhile.
    void setHoverTip(const QString &tip);
    QString hoverTip() const { return m_hoverTip; }

    // What screen readers are told the pane is for, at every moment ("" for nothing)...
    void setAccessibleTip(const QString &tip);
    // ...and a statement about its text ("" for none), told along with it.
    void setAccessibleNote(const QString &note);

    // Line breaks count two characters, as CR LF.
    static constexpr std::size_t kCapacity = codepage::kPaneCapacity;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    bool event(QEvent *event) override;

private:
    void enforceCapacity(int position, int removed, int added);
    qsizetype roomFor(const QTextCursor &replacing) const;
    // What of the typed `text` fits into the pane ("" when nothing does).
    QString fittingTyped(int key, const QString &text) const;
    void describe();
    // Runs the window's handling of a button going down; says whether the pane still places the
    // caret for it.
    bool mouseDown(const QMouseEvent *event);

    QSet<quint64> m_pressedKeys;
    QString m_hoverTip;
    QString m_tip;
    QString m_note;
    bool m_programWriting = false;
    bool m_cutting = false;
};

} // namespace quorvale
