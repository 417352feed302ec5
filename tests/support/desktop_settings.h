#pragma once

// The desktop's colour scheme and default font as a user may set them, for the windows built
// while a DesktopSettings lives; and the contrast of text as the widgets render it.

#include "desktop_scheme.h"
#include "window_system.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <algorithm>

namespace quorvale::testing {

enum class Scheme
{
    Desktop, // whatever the platform gives: its own style and palette
    Light,   // Fusion's own palette; the schemes below are Fusion's too, as Linux desktops use it
    Dark,    // a dark scheme whose link colour is the standard blue, unreadable on it
    HighContrast,
};

inline QPalette schemePalette(Scheme scheme)
{
    if (scheme == Scheme::Desktop)
        return QApplication::palette();
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette p = QApplication::style()->standardPalette();
    const auto set = [&p](QColor window, QColor base, QColor text, QColor link) {
        for (const auto role : {QPalette::Window, QPalette::Button})
            p.setColor(role, window);
        p.setColor(QPalette::Base, base);
        p.setColor(QPalette::AlternateBase, base);
        for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            p.setColor(role, text);
        p.setColor(QPalette::Link, link);
    };
    switch (scheme) {
    case Scheme::Desktop:
    case Scheme::Light:
        break;
    case Scheme::Dark:
        set(QColor(0x222020), QColor(0x1a1818), QColor(0xeeeeee), QColor(0, 0, 255));
        break;
    case Scheme::HighContrast:
        set(Qt::black, Qt::black, Qt::white, Qt::yellow);
        break;
    }
    return p;
}

// Sets the scheme and, when `pointSize` is given, the default font; puts them back at the end.
class DesktopSettings
{
public:
    explicit DesktopSettings(Scheme scheme, qreal pointSize = 0)
        : m_style(QApplication::style()->name()), m_palette(QApplication::palette()),
          m_font(QApplication::font())
    {
        QApplication::setPalette(schemePalette(scheme));
        if (pointSize > 0) {
            QFont font = m_font;
            font.setPointSizeF(pointSize);
            QApplication::setFont(font);
        }
    }
    ~DesktopSettings()
    {
        if (QApplication::style()->name() != m_style)
            QApplication::setStyle(m_style);
        QApplication::setPalette(m_palette);
        QApplication::setFont(m_font);
    }
    DesktopSettings(const DesktopSettings &) = delete;
    DesktopSettings &operator=(const DesktopSettings &) = delete;

private:
    QString m_style;
    QPalette m_palette;
    QFont m_font;
};

// The contrast of the text inside `area` of a rendered window: the background is the colour
// that most of the area shows, the text the pixel that stands out from it the most.
inline qreal renderedContrast(const QImage &window, const QRect &area)
{
    const QImage part = window.copy(area.intersected(window.rect()));
    QHash<QRgb, int> counts;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            ++counts[part.pixel(x, y)];
    const QColor background(std::max_element(counts.cbegin(), counts.cend()).key());
    qreal best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrastRatio(QColor(it.key()), background));
    return best;
}

// Where `child` lies in the window's rendering.
inline QRect areaIn(const QWidget *window, const QWidget *child, QRect rect = {})
{
    if (rect.isNull())
        rect = child->rect();
    return QRect(child->mapTo(window, rect.topLeft()), rect.size());
}

// Whether the button's caption, in the button's font, fits inside the style's contents rectangle.
inline bool captionFits(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QSize caption = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    return caption.width() <= contents.width() && caption.height() <= contents.height();
}

} // namespace quorvale::testing
