#include "link_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace quorvale {
namespace {

// The label as screen readers meet it: a link named by its address, whose press action does
// what a click does. It takes no focus, so the press comes through the screen reader's own
// commands.
class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(LinkLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            emit label()->clicked();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    LinkLabel *label() const { return static_cast<LinkLabel *>(widget()); }
};

QAccessibleInterface *linkFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("quorvale::LinkLabel") && object && object->isWidgetType())
        return new LinkAccessible(static_cast<LinkLabel *>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QLabel(parent)
{
    // Before the text: setting it makes Qt look up the label's accessibility by its class.
    QAccessible::installFactory(linkFactory);
    // Movements count with or without a button held.
    setMouseTracking(true);
    setText(text);
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    event->accept();
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release both on the label; sliding off first cancels it.
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

} // namespace quorvale
