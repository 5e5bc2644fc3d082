#pragma once

class QEvent;
class QWidget;

// Both placements use the window's outer (frame) size. While the frame a window manager adds is not
// known yet, they run once more when it first shows.

// Centres a window on its whole screen: the top edge first, then the left edge. A window larger than
// the screen gets negative edges, its centre still on the screen's centre.
void centre_on_screen(QWidget &window);

// Puts a window at the top of its screen, centred across it (the main window's start-up placement).
// Called before the window is created, the position counts the frame, so the frame's top is at the top.
void place_at_top_centre(QWidget &window);

// Runs centre_on_screen when the event shows or activates the window; the centred dialogs call it from event().
void centre_on_activation(QWidget &window, const QEvent &event);
