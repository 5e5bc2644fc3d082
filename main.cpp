#include "ApplicationSetup.h"
#include "Module1.h"
#include "frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setup_application();

    Module1 settings;
    frmmain window(settings);
    window.Form_Load();
    return QApplication::exec();
}
