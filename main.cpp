#include "ApplicationSetup.h"
#include "Module1.h"
#include "SoundPlayer.h"
#include "frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setup_application();

    SoundPlayer sound;
    Module1 settings;
    frmmain window(settings, sound);
    window.Form_Load();
    return QApplication::exec();
}
