#include "WindowManagerHints.h"

#include "WindowHandle.h"

#include <QScreen>
#include <QWindow>

// Windows draws the frame itself and knows its size as soon as a window exists, and a window owned by
// another is never given a taskbar button of its own.

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

bool request_position_by_gravity(QWidget &, QPoint, WindowGravity)
{
    return false;
}
