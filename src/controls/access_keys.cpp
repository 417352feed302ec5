#include "access_keys.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

namespace quorvale {
namespace {

// The caption as it shows: the underlining "&" gone, "&&" as "&".
QString shownCaption(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption.at(i);
    }
    return shown;
}

// A push button as Qt presents it, with its access key as it works.
class AccessibleButton : public QAccessibleWidget
{
public:
    explicit AccessibleButton(QPushButton *button) : QAccessibleWidget(button, QAccessible::Button)
    {
        addControllingSignal(QStringLiteral("clicked()"));
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? shownCaption(button()->text())
                                                        : widget()->accessibleName();
        case QAccessible::Accelerator: {
            QString key = accessKey(button()->text(), false);
            if (key.isEmpty() && button()->isDefault())
                return QKeySequence(Qt::Key_Enter).toString(QKeySequence::NativeText);
            return key;
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        state.defaultButton = button()->isDefault();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (widget()->isEnabled())
            button()->animateClick();
    }

    QStringList keyBindingsForAction(const QString &action) const override
    {
        const QString key = text(QAccessible::Accelerator);
        return action == pressAction() && !key.isEmpty() ? QStringList{key} : QStringList{};
    }

private:
    QPushButton *button() const { return static_cast<QPushButton *>(widget()); }
};

// An item of a pop-up menu (neither a separator nor a submenu) as Qt presents it, with the
// letter that chooses it as its access key.
class AccessibleMenuItem : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    AccessibleMenuItem(QAction *action, QMenu *menu) : m_action(action), m_menu(menu) {}

    bool isValid() const override { return !m_action.isNull() && !m_menu.isNull(); }
    QObject *object() const override { return m_action; }
    QWindow *window() const override { return m_menu ? m_menu->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_menu);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return shownCaption(m_action->text());
        if (t != QAccessible::Accelerator)
            return {};
        if (!m_action->shortcut().isEmpty())
            return m_action->shortcut().toString(QKeySequence::NativeText);
        return accessKey(m_action->text(), true);
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        return m_menu->actionGeometry(m_action).translated(m_menu->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_menu->isVisible() || !m_action->isVisible();
        state.focused = m_menu->activeAction() == m_action;
        state.hotTracked = m_menu->style()->styleHint(QStyle::SH_Menu_MouseTracking) != 0;
        state.disabled = !m_action->isEnabled();
        state.checkable = m_action->isCheckable();
        state.checked = m_action->isChecked();
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && m_action->isEnabled())
            m_action->trigger();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QAction> m_action;
    QPointer<QMenu> m_menu;
};

// The one pop-up menu that holds `action`, or null (in the menu bar, or in several places).
QMenu *onlyMenuOf(const QAction *action)
{
    QMenu *menu = nullptr;
    for (QObject *holder : action->associatedObjects()) {
        auto *asMenu = qobject_cast<QMenu *>(holder);
        if (!asMenu || menu)
            return nullptr;
        menu = asMenu;
    }
    return menu;
}

// Qt asks the factories by class name, the most derived class first.
QAccessibleInterface *accessKeyFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("QPushButton")) {
        auto *button = qobject_cast<QPushButton *>(object);
        if (button && !button->isCheckable() && !button->menu())
            return new AccessibleButton(button);
    } else if (className == QLatin1String("QAction")) {
        auto *action = qobject_cast<QAction *>(object);
        if (action && !action->isSeparator() && !action->menu())
            if (QMenu *menu = onlyMenuOf(action))
                return new AccessibleMenuItem(action, menu);
    }
    return nullptr;
}

} // namespace

QString accessKey(const QString &caption, bool inMenu)
{
    const QKeySequence altKey = QKeySequence::mnemonic(caption);
    if (altKey.isEmpty())
        return {};
    const QKeySequence key = inMenu ? QKeySequence(altKey[0].key()) : altKey;
    return key.toString(QKeySequence::NativeText);
}

void tellAccessKeysAsTheyWork()
{
    QAccessible::installFactory(accessKeyFactory);
}

} // namespace quorvale
