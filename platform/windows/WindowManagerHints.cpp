#include "WindowManagerHints.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <optional>

#include <windows.h>

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
std::optional<MONITORINFO> monitor_of(const QScreen &screen)
{
    const QPoint corner = screen.geometry().topLeft();
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromPoint(POINT{corner.x(), corner.y()}, MONITOR_DEFAULTTONEAREST), &info))
        return std::nullopt;
    return info;
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
void create_on_screen(QWidget &window, QScreen &screen)
{
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
    RECT outer{};
    if (!handle || !monitor || !GetWindowRect(handle, &outer))
        return false;
    const QPoint corner = placed_corner(to_rect(monitor->rcMonitor), int(monitor->rcWork.top), to_rect(outer).size(),
                                        placement);
    if (!SetWindowPos(handle, nullptr, corner.x(), corner.y(), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE))
        return false;
    // Qt has learnt the window's new place in its coordinates: the widget takes it over, so that showing
    // the window does not move it back to where Qt's coordinates had put it.
    window.setGeometry(window.windowHandle()->geometry());
    return true;
}

bool request_position_by_gravity(QWidget &, QPoint, WindowGravity)
{
    return false;
}
