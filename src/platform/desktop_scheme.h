#pragma once

// What the desktop's colour scheme and text size ask of the fixed layouts.

#include <QColor>
#include <QRect>

class QPalette;

namespace quorvale {

// Normal text needs this contrast against its background to stay readable (WCAG 2.1, 1.4.3).
inline constexpr qreal kReadableContrast = 4.5;

// The contrast of two colours, from 1 (the same) to 21 (black on white), by their relative
// luminance as WCAG 2.1 defines it.
qreal contrastRatio(const QColor &a, const QColor &b);

// `preferred` when it reads well on the palette's window background, else the palette's link
// colour when that does, else `preferred` lightened (on a dark background) or darkened (on a
// light one) just far enough.
QColor readableLinkColour(const QColor &preferred, const QPalette &palette);

// How much larger than the platform's standard the desktop's default font is, and so how much
// the fixed layouts and their own fonts grow: exactly 1 at the standard size or below.
qreal textScale();

// Pixel sizes and positions drawn for the standard font, grown by a text scale.
class LayoutScale
{
public:
    explicit LayoutScale(qreal factor = textScale()) : m_factor(factor) {}

    qreal factor() const { return m_factor; }
    int operator()(int pixels) const { return qRound(pixels * m_factor); }
    qreal operator()(qreal size) const { return size * m_factor; }
    QPoint operator()(const QPoint &p) const { return QPoint((*this)(p.x()), (*this)(p.y())); }
    QRect operator()(const QRect &r) const
    {
        return QRect((*this)(r.x()), (*this)(r.y()), (*this)(r.width()), (*this)(r.height()));
    }

private:
    qreal m_factor;
};

} // namespace quorvale
