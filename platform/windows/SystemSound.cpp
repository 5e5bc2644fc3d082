#include "SystemSound.h"

#include "WaveOutSound.h"

std::unique_ptr<SoundInterface> make_system_sound()
{
    return std::make_unique<WaveOutSound>();
}
