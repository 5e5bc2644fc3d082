#include "WindowManagerHints.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <optional>

#include <windows.h>

#include <dwmapi.h>
#include <shellscalingapi.h>

// Windows draws the frame itself and knows its size as soon as a window exists, and a window owned by
// another is never given a taskbar button of its own.

namespace {

// Only the windows platform's ids are window handles: another platform's id, taken for one, can name
// some other program's window, and a call on it waits for that program to answer.
HWND window_handle(QWidget &window)
{
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        return nullptr;
    return reinterpret_cast<HWND>(window.winId());
}

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

std::optional<MONITORINFO> monitor_of(const QScreen &screen)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor_handle(screen), &info))
        return std::nullopt;
    return info;
}

// Whether a window exists at another scale than the monitor showing the screen has.
bool scaled_for_another_monitor(QWidget &window, const QScreen &screen)
{
    const HWND handle = window.internalWinId() ? window_handle(window) : nullptr;
    UINT dpi_x = 0;
    UINT dpi_y = 0;
    if (!handle || FAILED(GetDpiForMonitor(monitor_handle(screen), MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y)))
        return false;
    return GetDpiForWindow(handle) != dpi_x;
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

// Where the window's rectangle goes for what the user sees of it to be placed on the monitor.
std::optional<QPoint> placed_outer_corner(HWND handle, const MONITORINFO &monitor, Placement placement)
{
    RECT outer_rect{};
    if (!GetWindowRect(handle, &outer_rect))
        return std::nullopt;
    const QRect outer = to_rect(outer_rect);
    const QRect seen = seen_frame(handle, outer);
    const QPoint corner = placed_corner(to_rect(monitor.rcMonitor), int(monitor.rcWork.top), seen.size(), placement);
    return outer.topLeft() + (corner - seen.topLeft());
}

bool move_outer_corner(QWidget &window, HWND handle, QPoint corner)
{
    if (!SetWindowPos(handle, nullptr, corner.x(), corner.y(), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE))
        return false;
    // Qt has learnt the window's new place in its coordinates: the widget takes it over, so that showing
    // the window does not move it back to where Qt's coordinates had put it.
    window.setGeometry(window.windowHandle()->geometry());
    return true;
}

} // namespace

void keep_untitled_and_off_taskbar(QWidget &window)
{
    // Qt gives a window without a title the application's name; the system shows an empty one as it is.
    if (window.windowTitle().isEmpty()) {
        if (const HWND handle = window_handle(window))
            SetWindowTextW(handle, L"");
    }
}

// Windows gives a window the scale of the monitor it is created on: it is created inside that monitor.
// A window that exists keeps its scale while hidden, and Qt's setScreen moves it to a screen of the same
// desktop only in Qt's reckoning, neither moving nor recreating it: one made at another scale than the
// screen's is destroyed, so that it is created anew on that screen.
void create_on_screen(QWidget &window, QScreen &screen)
{
    if (scaled_for_another_monitor(window, screen))
        window.windowHandle()->destroy();
    window.setScreen(&screen);
    if (!window.internalWinId())
        window.setGeometry(QRect(screen.geometry().topLeft(), window.size()));
    window.winId();
}

std::optional<QMargins> frame_before_mapping(QWidget &window)
{
    window.winId();
    if (const QWindow *handle = window.windowHandle())
        return handle->frameMargins();
    return std::nullopt;
}

// The window's rectangle, frame included, is what Windows places and what it reports as the window's
// size. Qt's frame leaves out the border a resizable window has on Windows 10 and 11, also for a window
// without one and where the system draws none (Wine), so a fixed-size dialog placed by it lands low.
bool place_in_system_pixels(QWidget &window, const QScreen &screen, Placement placement)
{
    const HWND handle = window_handle(window);
    const std::optional<MONITORINFO> monitor = monitor_of(screen);
    if (!handle || !monitor)
        return false;
    const std::optional<QPoint> corner = placed_outer_corner(handle, *monitor, placement);
    return corner && move_outer_corner(window, handle, *corner);
}

// DWM tells what the user sees of a window only once it is shown: moved at once, before it is drawn.
void place_by_seen_frame(QWidget &window, const QScreen &screen, Placement placement)
{
    const HWND handle = window_handle(window);
    const std::optional<MONITORINFO> monitor = monitor_of(screen);
    RECT outer{};
    if (!handle || !monitor || !GetWindowRect(handle, &outer))
        return;
    const std::optional<QPoint> corner = placed_outer_corner(handle, *monitor, placement);
    if (corner && *corner != to_rect(outer).topLeft())
        move_outer_corner(window, handle, *corner);
}

bool request_position_by_gravity(QWidget &, QPoint, WindowGravity)
{
    return false;
}
