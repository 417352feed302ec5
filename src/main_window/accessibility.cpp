#include "accessibility.h"

#include <QAccessibleWidget>

namespace quorvale {
namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// A notification that holds one message. It belongs to no widget, so that its text never
// changes under a screen reader that reads it late.
class Notification : public QAccessibleInterface
{
public:
    Notification(QWidget *window, const QString &message) : m_window(window), m_message(message) {}

    bool isValid() const override { return !m_window.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_window ? m_window->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_window);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? m_message : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }

private:
    QPointer<QWidget> m_window;
    QString m_message;
};

// How many messages stay readable.
constexpr std::size_t kKeptNotifications = 16;
#endif

class UnpresentedAccessible : public QAccessibleWidget
{
public:
    explicit UnpresentedAccessible(QWidget *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
};

// Qt gives a widget the accessibility of its class; a factory is asked by class name, the
// most derived class first.
QAccessibleInterface *unpresentedFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("quorvale::UnpresentedLabel") && object &&
        object->isWidgetType())
        return new UnpresentedAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *window) : m_window(window) {}

Announcer::~Announcer()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    for (const QAccessible::Id id : m_recent)
        QAccessible::deleteAccessibleInterface(id);
#endif
}

std::function<void(const QString &)> &Announcer::listener()
{
    static std::function<void(const QString &)> listener;
    return listener;
}

void Announcer::setListener(std::function<void(const QString &)> listener)
{
    Announcer::listener() = std::move(listener);
}

bool Announcer::listening()
{
    return listener() || QAccessible::isActive();
}

void Announcer::announce(const QString &message)
{
    if (listener()) {
        listener()(message);
        return;
    }
    if (!QAccessible::isActive() || !m_window)
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(m_window, message);
    QAccessible::updateAccessibility(&event);
#else
    auto *notification = new Notification(m_window, message);
    m_recent.push_back(QAccessible::registerAccessibleInterface(notification));
    QAccessibleEvent shown(notification, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    if (m_recent.size() > kKeptNotifications) {
        QAccessible::deleteAccessibleInterface(m_recent.front());
        m_recent.pop_front();
    }
#endif
}

UnpresentedLabel::UnpresentedLabel(QWidget *parent) : QLabel(parent)
{
    QAccessible::installFactory(unpresentedFactory);
}

} // namespace quorvale
