// Quorvale: converts text to hexadecimal character codes and back, live, as the user types.

#include "command_line.h"
#include "desktop_platform.h"
#include "frmMain.h"
#include "window_system.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("Quorvale"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVALE_VERSION));

    // --help and --version need no display.
    quorvale::CommandLine commandLine;
    if (const auto status = commandLine.answer(argc, argv))
        return *status;
    if (const char *missing = quorvale::missingWindowSystem(argc, argv)) {
        std::fputs(missing, stderr);
        return 1;
    }

    QApplication app(argc, argv);
    if (const auto status = commandLine.rejectUnknown(QApplication::arguments()))
        return *status;
    QApplication::setDesktopFileName(QStringLiteral("quorvale"));

    quorvale::DesktopPlatform platform;
    quorvale::frmMain window(platform);
    if (!window.Form_Load())
        return 0;
    window.showCentred();
    return app.exec();
}
