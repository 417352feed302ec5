#pragma once

#include <QLabel>

namespace quorvale {

// A label that reports the mouse moving over it and a left click on it, so that its owner
// decides what a click does. QLabel's own links would open the browser by themselves and take
// the keyboard focus.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

signals:
    void mouseMoved();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace quorvale
