#include "NativeWindowSystem.h"

// Qt scales a window on X11 by the screen it belongs to, whatever it was created on, and the window manager
// alone knows the frame it draws (WindowManagerHints).

bool NativeWindowSystem::made_at_another_scale(QWidget &, const QScreen &)
{
    return false;
}

std::optional<SystemFrame> NativeWindowSystem::frame(QWidget &, const QScreen &)
{
    return std::nullopt;
}

bool NativeWindowSystem::move_outer_corner(QWidget &, QPoint)
{
    return false;
}
