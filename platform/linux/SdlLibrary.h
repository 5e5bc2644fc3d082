#pragma once

#include <SDL.h>

// The functions of SDL the sound player calls, taken from the shared library when sound is first
// needed. Linked, SDL and the thirty-odd libraries it depends on would be loaded before main() and
// delay every start, also of a user who never hears a sound.
struct SdlLibrary {
    // clang-format off
#define OCHRE_SDL_FUNCTIONS(F)                                                                               \
    F(SetHintWithPriority) F(InitSubSystem) F(QuitSubSystem) F(GetError) F(GetCurrentAudioDriver)            \
    F(GetNumAudioDevices) F(OpenAudioDevice) F(PauseAudioDevice) F(GetAudioDeviceStatus) F(CloseAudioDevice) \
    F(TLSCleanup)
    // clang-format on
#define OCHRE_SDL_POINTER(name) decltype(&SDL_##name) name = nullptr;
    OCHRE_SDL_FUNCTIONS(OCHRE_SDL_POINTER)
#undef OCHRE_SDL_POINTER

    // Loads the library on first call and keeps it; nullptr when it or one of its functions is missing.
    // The first call can take a while (the library and its dependencies are read from disk).
    static const SdlLibrary *load();
};
