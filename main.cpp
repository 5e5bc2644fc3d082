#include "ApplicationSetup.h"
#include "FontConfigWarmUp.h"
#include "Module1.h"
#include "PlatformChoice.h"
#include "SystemSound.h"
#include "frmmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    FontConfigWarmUp fonts;
    PlatformChoice command_line(argc, argv);
    QApplication app(command_line.argc(), command_line.argv());
    setup_application();
    fonts.wait();

    const std::unique_ptr<SoundInterface> sound = make_system_sound();
    Module1 settings;
    frmmain window(settings, *sound);
    window.Form_Load();
    return QApplication::exec();
}
