#include "app/main_window.h"
#include "app/resources/images.h"

#include <QtWidgets/QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the folder of the backups, whatever the executable is called.
    QCoreApplication::setApplicationName(QStringLiteral("varlo"));
    initVarloResources();
    MainWindow window;
    window.show();
    return app.exec();
}
