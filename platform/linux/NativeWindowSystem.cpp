#include "NativeWindowSystem.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

// The window manager alone knows the frame it draws (WindowManagerHints).

// A hidden window that Qt moves to a screen of another scale keeps its size in pixels at the old one until Qt
// hears back from the X server, and Qt's own events about the move can come in either order with the
// server's: now and then that left a dialog on a monitor scaled by 2 reckoned at scale 1, twice its size in
// Qt, its native window showing a quarter of it.
bool NativeWindowSystem::made_at_another_scale(QWidget &window, const QScreen &screen)
{
    const QWindow *handle = window.internalWinId() ? window.windowHandle() : nullptr;
    return handle && handle->screen() && handle->screen()->devicePixelRatio() != screen.devicePixelRatio();
}

std::optional<SystemFrame> NativeWindowSystem::frame(QWidget &, const QScreen &)
{
    return std::nullopt;
}

bool NativeWindowSystem::move_outer_corner(QWidget &, QPoint)
{
    return false;
}
