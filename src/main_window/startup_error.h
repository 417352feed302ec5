#pragma once

#include <QString>

namespace quorvale {

// A failure during the main window's start-up, as its error report shows it.
struct StartupFailure
{
    int code = 0;
    QString description;
    QString helpFile;
    int helpContext = 0;
};

// Codes of the failures that the report gives a hint of their own.
inline constexpr int kComponentMissing = 339;    // a part of the program is missing or damaged
inline constexpr int kUnexpectedFailure = 50003; // an unexpected failure inside the program

// The report's text, line breaks as CR LF.
QString startupErrorPrompt(const StartupFailure &failure);

} // namespace quorvale
