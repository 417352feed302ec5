#pragma once

// A listening screen reader for the tests: what the main window announces, recorded until the
// end of the scope. (Offscreen, Qt has no accessibility bridge that could listen.)

#include "accessibility.h"

#include <QStringList>

#include <utility>

namespace quorvale::testing {

class ScreenReader
{
public:
    ScreenReader()
    {
        Announcer::setListener([this](const QString &message) { m_heard << message; });
    }
    ~ScreenReader() { Announcer::setListener(nullptr); }
    ScreenReader(const ScreenReader &) = delete;
    ScreenReader &operator=(const ScreenReader &) = delete;

    // What was announced since the last call.
    QStringList heard() { return std::exchange(m_heard, {}); }

private:
    QStringList m_heard;
};

} // namespace quorvale::testing
