#include "SystemSound.h"

#include "SoundPlayer.h"

std::unique_ptr<SoundInterface> make_system_sound()
{
    return std::make_unique<SoundPlayer>();
}
