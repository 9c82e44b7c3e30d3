#include "app/varlo_a.h"
#include "app/resources/images.h"

#include <QtWidgets/QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitVarloResources();
    VarloA window;
    window.show();
    return app.exec();
}
