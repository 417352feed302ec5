#pragma once

// What a screen reader hears from the main window beyond its widgets: short spoken messages,
// and a label that nobody sees.

#include <QAccessible>
#include <QLabel>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>

namespace quorvale {

// Speaks short messages through a screen reader while the focus stays where it is. Does nothing
// when no assistive technology listens.
class Announcer
{
public:
    explicit Announcer(QWidget *window);
    ~Announcer();
    Announcer(const Announcer &) = delete;
    Announcer &operator=(const Announcer &) = delete;

    // Whether anyone listens; when not, callers need not even work out their messages.
    static bool listening();
    void announce(const QString &message);

    // Hands every message to `listener` alone while it is set, as the tests do.
    static void setListener(std::function<void(const QString &)> listener);

private:
    static std::function<void(const QString &)> &listener();

    QPointer<QWidget> m_window;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // This Qt has no announcement event. Screen readers speak a notification the moment it
    // appears, wherever the focus is: each message is one, outside the window's tree, and the
    // last few stay readable for a screen reader that lags behind.
    std::deque<QAccessible::Id> m_recent;
#endif
};

// A label that screen readers pass over: never presented, its changing text never reported.
class UnpresentedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit UnpresentedLabel(QWidget *parent);
};

} // namespace quorvale
