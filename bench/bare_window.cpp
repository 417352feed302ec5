// The smallest program with Quorvale's menu bar: what start-up is measured against.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QMainWindow window;
    QMenu *project = window.menuBar()->addMenu(QStringLiteral("   &Project"));
    project->addAction(QStringLiteral("&About"));
    project->addAction(QStringLiteral("&Hide"));
    project->addSeparator();
    project->addAction(QStringLiteral("E&xit"));
    QMenu *mode = window.menuBar()->addMenu(QStringLiteral("&Mode"));
    mode->addAction(QStringLiteral("&ASCII to HEX"));
    mode->addAction(QStringLiteral("&HEX to ASCII"));

    // The program's client area, so that both windows cover the same pixels.
    window.resize(328, 176 + window.menuBar()->sizeHint().height());
    window.show();
    return app.exec();
}
