#include "ApplicationSetup.h"
#include "Module1.h"
#include "PlatformChoice.h"
#include "frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    PlatformChoice command_line(argc, argv);
    QApplication app(command_line.argc(), command_line.argv());
    setup_application();

    Module1 settings;
    frmmain window(settings);
    window.Form_Load();
    return QApplication::exec();
}
