#include "FontConfigWarmUp.h"

#include <dlfcn.h>

FontConfigWarmUp::FontConfigWarmUp()
{
    // fontconfig comes in with Qt's GUI library. Reading its configuration files is most of the
    // font database's first use; where it is not loaded, Qt uses no fontconfig and there is nothing
    // to warm.
    using Init = int (*)();
    if (const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        thread_ = std::thread(init);
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    wait();
}

void FontConfigWarmUp::wait()
{
    if (thread_.joinable())
        thread_.join();
}
