#pragma once

class QWidget;

// What a window manager on X11 shows of a window in its title bar, window list and taskbar. Both
// functions act on a created window that is not mapped yet (call them when it is about to be shown);
// on other window systems they do nothing.

// Keeps an empty title empty: Qt would put the application's name in its place.
void keep_title_empty(QWidget &window);

// Keeps the window out of the taskbar.
void keep_off_taskbar(QWidget &window);
