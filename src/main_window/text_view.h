#pragma once

// Qt strings and the core's UTF-16 strings share one encoding: these pass text across without
// conversion.

#include <QString>
#include <QStringView>

#include <string_view>

namespace quorvale {

inline std::u16string_view toView(QStringView text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())};
}

inline QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

} // namespace quorvale
