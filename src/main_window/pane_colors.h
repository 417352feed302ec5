#pragma once

// The panes' colours as 24-bit values with the bytes blue, green, red from high to low: the mode
// is read back from them, so the window and its tests compare these numbers.

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace quorvale {

constexpr int kBlack = 0;
constexpr int kGreen = 65280;
constexpr int kRed = 255;
constexpr int kWhite = 16777215;

inline QColor toColor(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
inline int toBgr(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

inline int backColor(const QWidget *w)
{
    return toBgr(w->palette().color(QPalette::Base));
}
inline int foreColor(const QWidget *w)
{
    return toBgr(w->palette().color(QPalette::Text));
}

} // namespace quorvale
