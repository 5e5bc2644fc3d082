#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Places windows by their outer size, the frame a window manager adds included, on their screen: for a
// window owned by another the monitor that owner is on, for a window of its own the primary monitor.

enum class Placement {
    TopCentre, // at the top of the work area, centred across the screen (the main window at start-up)
    Centre,    // centred across and down; larger than the screen gives negative edges
};

// The top-left corner of a box of `size` placed on a screen covering `area`, whose work area (the part no
// taskbar or panel covers) starts at `work_top`; in any one unit of length.
QPoint placed_corner(const QRect &area, int work_top, QSize size, Placement placement);

// Where a hidden window was made at another scale than the monitor it will be placed on has, makes it anew on
// that monitor. Call it before showing it starts.
void make_anew_at_screen_scale(QWidget &window);

// Places a window that is about to be mapped (creating it first if need be). Where the window manager
// tells the frame's size beforehand, or there is none, the placement is final and this returns true.
// Otherwise the window is placed by its client size for now and this returns false: call
// place_once_mapped when it has been mapped.
bool place_before_mapping(QWidget &window, Placement placement);

// Completes the placement of a window just mapped. Where it was final before mapping, asks once more for
// the position it has: the window manager confirms it, so that Qt learns where the window is (some
// managers leave a window they put exactly where it asked uninformed). Otherwise hands the placement to the
// window manager, which alone knows the frame it drew: window gravity makes it put the frame's top centre
// or centre where the client area's would be.
void place_once_mapped(QWidget &window, Placement placement, bool placed_before_mapping);
