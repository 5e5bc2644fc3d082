#pragma once

#include <QGuiApplication>
#include <QWidget>

#include <windows.h>

// The window's handle, or nullptr where Qt runs on another platform than the system's own: only the windows
// platform's ids are window handles, and another platform's id, taken for one, can name some other program's
// window, a call on which waits for that program to answer.
inline HWND window_handle(QWidget &window)
{
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        return nullptr;
    return reinterpret_cast<HWND>(window.winId());
}
