#pragma once

class QWidget;

// What a window manager on X11 shows of a window in its title bar, window list and taskbar.

// Keeps an untitled window untitled (Qt would put the application's name in its place) and out of the
// taskbar. Acts on a created window that is not mapped yet: call it when the window is about to be
// shown. On other window systems it does nothing.
void keep_untitled_and_off_taskbar(QWidget &window);
