// Quorvale: converts text to hexadecimal character codes and back, live, as the user types.

#include "desktop_platform.h"
#include "frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Without a display of either kind and with no platform asked for, Qt would abort with a page
// about platform plugins. A platform that was asked for (QT_QPA_PLATFORM, Qt's -platform
// option) is left to Qt, which reports on it itself.
bool noWindowSystem(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (noWindowSystem(argc, argv)) {
        std::fputs("quorvale: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it "
                   "in a desktop session, or try: xvfb-run quorvale\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvale"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVALE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quorvale"));

    quorvale::DesktopPlatform platform;
    quorvale::frmMain window(platform);
    if (!window.Form_Load())
        return 0;
    window.showCentred();
    return app.exec();
}
