#include "desktop_scheme.h"

#include "window_system.h"

#include <QApplication>
#include <QFontInfo>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace quorvale {
namespace {

qreal linear(qreal channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

qreal luminance(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

bool readableOn(const QColor &text, const QColor &background)
{
    return contrastRatio(text, background) >= kReadableContrast;
}

QColor mix(const QColor &from, const QColor &to, qreal t)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                            from.greenF() + (to.greenF() - from.greenF()) * t,
                            from.blueF() + (to.blueF() - from.blueF()) * t);
}

} // namespace

qreal contrastRatio(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableLinkColour(const QColor &preferred, const QPalette &palette)
{
    const QColor background = palette.color(QPalette::Window);
    if (readableOn(preferred, background))
        return preferred;
    if (readableOn(palette.color(QPalette::Link), background))
        return palette.color(QPalette::Link);
    // White or black ends the search: on any background one of them gives at least 4.58 : 1.
    const QColor end = contrastRatio(Qt::white, background) >= contrastRatio(Qt::black, background)
                           ? QColor(Qt::white)
                           : QColor(Qt::black);
    constexpr int steps = 20;
    for (int step = 1; step < steps; ++step) {
        const QColor candidate = mix(preferred, end, qreal(step) / steps);
        if (readableOn(candidate, background))
            return candidate.toRgb();
    }
    return end;
}

qreal textScale()
{
    const QFont font = QApplication::font();
    // A font given in pixels has no point size of its own.
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    return std::max(1.0, points / standardFontPointSize());
}

} // namespace quorvale
