#pragma once

#include "SoundInterface.h"

#include <memory>

// The sound player of the system the program runs on.
std::unique_ptr<SoundInterface> make_system_sound();
