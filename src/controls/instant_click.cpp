#include "instant_click.h"

#include <QAbstractButton>
#include <QBasicTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcutEvent>

namespace quorvale {
namespace {

// As long as Qt shows a button pressed by its access key.
constexpr int kShownPressedMs = 100;

bool clicksButton(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

class InstantClick : public QObject
{
public:
    explicit InstantClick(QAbstractButton *button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_button)
            return false;
        switch (event->type()) {
        case QEvent::Shortcut:
            // An access key that several controls share only moves the focus, as in Qt.
            if (static_cast<QShortcutEvent *>(event)->isAmbiguous())
                return false;
            click();
            return true;
        case QEvent::KeyPress:
            if (!clicksButton(static_cast<QKeyEvent *>(event)))
                return false;
            if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
                click();
            return true;
        case QEvent::KeyRelease:
            // The press has clicked already; Qt would click again on the release.
            return clicksButton(static_cast<QKeyEvent *>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // The mouse takes the button over: it is down while the mouse holds it.
            m_shownPressed.stop();
            return false;
        default:
            return false;
        }
    }

    void timerEvent(QTimerEvent *event) override
    {
        if (event->timerId() != m_shownPressed.timerId())
            return;
        m_shownPressed.stop();
        m_button->setDown(false);
    }

private:
    void click()
    {
        // The command may close the window or the dialog that holds the button.
        const QPointer<QAbstractButton> button = m_button;
        button->click();
        if (!button || !button->isEnabled())
            return;
        button->setDown(true);
        m_shownPressed.start(kShownPressedMs, this);
    }

    QAbstractButton *m_button;
    QBasicTimer m_shownPressed;
};

} // namespace

void clickAtOnce(QAbstractButton *button)
{
    new InstantClick(button);
}

} // namespace quorvale
