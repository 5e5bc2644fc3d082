#include "WindowManagerHints.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <windows.h>

// Windows draws the frame itself and knows its size as soon as a window exists, and a window owned by
// another is never given a taskbar button of its own.

void keep_untitled_and_off_taskbar(QWidget &window)
{
    // Qt gives a window without a title the application's name; the system shows an empty one as it is.
    // Only the windows platform's ids are window handles: another platform's id, taken for one, can name
    // some other program's window, and setting its text waits for that program to answer.
    if (window.windowTitle().isEmpty() && QGuiApplication::platformName() == QLatin1String("windows"))
        SetWindowTextW(reinterpret_cast<HWND>(window.winId()), L"");
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
