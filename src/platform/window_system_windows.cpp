#include "window_system.h"

#include "code_page.h"

#include <QCoreApplication>
#include <QString>

#include <cstdio>

#include <windows.h>

namespace quorvale {

const char *missingWindowSystem(int, char *[])
{
    return nullptr;
}

void showCommandLineText(const QString &text, CommandLineText kind)
{
    // A console, or handles that the starting program handed over (a pipe, a file), read the
    // text as on Linux; a start from Explorer or a shortcut has neither.
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (GetConsoleWindow() || (startup.dwFlags & STARTF_USESTDHANDLES)) {
        std::fputs(qPrintable(text), kind == CommandLineText::Answer ? stdout : stderr);
        return;
    }
    const QString title = QCoreApplication::applicationName();
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(text.utf16()),
                reinterpret_cast<const wchar_t *>(title.utf16()),
                MB_OK | MB_SETFOREGROUND |
                    (kind == CommandLineText::Answer ? MB_ICONINFORMATION : MB_ICONERROR));
}

// Qt's default on Windows: the desktop's message font, 9-point Segoe UI as Windows sets it up.
double standardFontPointSize()
{
    return 9.0;
}

int systemCodePage()
{
    return codepage::forAnsiCodePage(GetACP());
}

} // namespace quorvale
