#include "NativeWindowSystem.h"

#include "WindowHandle.h"

#include <QScreen>
#include <QWindow>

#include <dwmapi.h>
#include <shellscalingapi.h>

namespace {

QRect to_rect(const RECT &rect)
{
    return {QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)};
}

// The monitor showing the screen. Qt keeps a screen's top-left corner in the system's pixels whatever
// its scale, so that screens of different scales do not overlap.
HMONITOR monitor_handle(const QScreen &screen)
{
    const QPoint corner = screen.geometry().topLeft();
    return MonitorFromPoint(POINT{corner.x(), corner.y()}, MONITOR_DEFAULTTONEAREST);
}

// What the user sees of the window: Windows 10 and 11 count invisible resize borders in its rectangle,
// and DWM reports the frame without them once the window is shown. Where it reports none (before, or
// without DWM), the rectangle.
QRect seen_frame(HWND handle, const QRect &outer)
{
    RECT bounds{};
    if (FAILED(DwmGetWindowAttribute(handle, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds)))
        return outer;
    const QRect seen = to_rect(bounds);
    return !seen.isEmpty() && outer.contains(seen) ? seen : outer;
}

} // namespace

// Windows gives a window the scale of the monitor it is created on, and a window that exists keeps it while
// hidden.
bool NativeWindowSystem::made_at_another_scale(QWidget &window, const QScreen &screen)
{
    const HWND handle = window.internalWinId() ? window_handle(window) : nullptr;
    UINT dpi_x = 0;
    UINT dpi_y = 0;
    if (!handle || FAILED(GetDpiForMonitor(monitor_handle(screen), MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)))
        return false;
    return GetDpiForWindow(handle) != dpi_x;
}

// The window's rectangle, frame included, is what Windows places and what it reports as the window's size.
std::optional<SystemFrame> NativeWindowSystem::frame(QWidget &window, const QScreen &screen)
{
    const HWND handle = window_handle(window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT outer{};
    if (!handle || !GetMonitorInfoW(monitor_handle(screen), &monitor) || !GetWindowRect(handle, &outer))
        return std::nullopt;
    return SystemFrame{to_rect(outer), seen_frame(handle, to_rect(outer)), to_rect(monitor.rcMonitor),
                       int(monitor.rcWork.top)};
}

bool NativeWindowSystem::move_outer_corner(QWidget &window, QPoint corner)
{
    const HWND handle = window_handle(window);
    return handle
           && SetWindowPos(handle, nullptr, corner.x(), corner.y(), 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}
