#pragma once

class QEvent;
class QWidget;

// Centres a window on its whole screen from its outer (frame) size: the top edge first, then the left
// edge. A window larger than the screen gets negative edges, its centre still on the screen's centre.
void centre_on_screen(QWidget &window);

// Puts a window at the top of its screen, centred across it (the main window's start-up placement).
void place_at_top_centre(QWidget &window);

// Runs centre_on_screen when the event shows or activates the window; the centred dialogs call it from event().
void centre_on_activation(QWidget &window, const QEvent &event);
