#include "desktop_platform.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    quorvale::DesktopPlatform platform;
    quorvale::frmMain window(platform);
    window.show();
    return app.exec();
}
