#include "WindowSystem.h"

#include "NativeWindowSystem.h"

namespace {

WindowSystem *stand_in_system = nullptr;

} // namespace

WindowSystem &window_system()
{
    static NativeWindowSystem native;
    return stand_in_system ? *stand_in_system : native;
}

void stand_in_window_system(WindowSystem *stand_in)
{
    stand_in_system = stand_in;
}
