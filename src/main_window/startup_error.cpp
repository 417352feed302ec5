#include "startup_error.h"

namespace quorvale {

QString startupErrorPrompt(const StartupFailure &failure)
{
    QString hint;
    if (failure.code == kComponentMissing)
        hint = QStringLiteral("Re-install the program to fix this.");
    else if (failure.code == kUnexpectedFailure)
        hint = QStringLiteral(
            "Re-install the program to fix this, or get the latest vbruntimes at Velmoran.");
    else
        hint = QStringLiteral("Please inform the author with the error description above.");

    // A number converted to text carries a leading blank where a sign would stand.
    const QString code = failure.code < 0 ? QString::number(failure.code)
                                          : QLatin1Char(' ') + QString::number(failure.code);
    return QStringLiteral("An Error was generated:\r\nDescription: Error") + code +
           QStringLiteral(" - ") + failure.description + QStringLiteral("\r\n\r\n") + hint;
}

} // namespace quorvale
