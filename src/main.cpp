// Quorvale: converts text to hexadecimal character codes and back, live, as the user types.

#include "desktop_platform.h"
#include "frmMain.h"
#include "window_system.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (const char *missing = quorvale::missingWindowSystem(argc, argv)) {
        std::fputs(missing, stderr);
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
