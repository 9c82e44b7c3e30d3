#include "app/command_line.h"
#include "app/main_window.h"
#include "app/resources/images.h"

#include <QtCore/QTextStream>
#include <QtWidgets/QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the folder of the backups, whatever the executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("varlo"));
    initVarloResources();
    MainWindow window;
    window.show();
    QTextStream errors(stderr);
    openFromCommandLine(window, QCoreApplication::arguments(), errors);
    return app.exec();
}
