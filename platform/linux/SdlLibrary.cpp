#include "SdlLibrary.h"

#include "PlatformLog.h"

#include <dlfcn.h>

#include <memory>

namespace {

constexpr const char *kFileName = "libSDL2-2.0.so.0";

std::unique_ptr<SdlLibrary> open_library()
{
    // Never closed: SDL's threads may still run code of it when the program ends.
    void *handle = dlopen(kFileName, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        qCWarning(lcPlatform, "sound off: %s", dlerror());
        return nullptr;
    }
    auto library = std::make_unique<SdlLibrary>();
    bool complete = true;
#define OCHRE_SDL_LOOK_UP(name)                                                                                        \
    library->name = reinterpret_cast<decltype(library->name)>(dlsym(handle, "SDL_" #name));                            \
    if (library->name == nullptr) {                                                                                    \
        qCWarning(lcPlatform, "sound off: %s has no SDL_%s", kFileName, #name);                                        \
        complete = false;                                                                                              \
    }
    OCHRE_SDL_FUNCTIONS(OCHRE_SDL_LOOK_UP)
#undef OCHRE_SDL_LOOK_UP
    return complete ? std::move(library) : nullptr;
}

} // namespace

const SdlLibrary *SdlLibrary::load()
{
    static const std::unique_ptr<SdlLibrary> library = open_library();
    return library.get();
}
