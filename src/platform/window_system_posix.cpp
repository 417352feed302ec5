#include "window_system.h"

#include "code_page.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstring>

namespace quorvale {

// Without a display of either kind and with no platform asked for, Qt would abort with a page
// about platform plugins.
const char *missingWindowSystem(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return nullptr;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return nullptr;
    return "quorvale: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it in a "
           "desktop session, or try: xvfb-run quorvale\n";
}

void showCommandLineText(const QString &text, CommandLineText kind)
{
    std::fputs(qPrintable(text), kind == CommandLineText::Answer ? stdout : stderr);
}

// Qt's own default without a desktop is 9 points, KDE Plasma's 10 and GNOME's 11: the largest
// of them, so that none of these desktops grows the window, and at 11 points every caption
// still fits the layout.
double standardFontPointSize()
{
    return 11.0;
}

// The names that the C library reads for character handling, in its order; an empty one counts
// as unset. The name alone decides, whether or not that locale is installed.
int systemCodePage()
{
    for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QByteArray name = qgetenv(variable);
        if (!name.isEmpty())
            return codepage::forLocale(name.toStdString());
    }
    return codepage::kWestern;
}

} // namespace quorvale
