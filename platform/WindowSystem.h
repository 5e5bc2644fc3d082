#pragma once

#include <QPoint>
#include <QRect>

#include <optional>

class QScreen;
class QWidget;

// A window's rectangle, frame included, what the user sees of it, and the monitor showing its screen with
// the top of that monitor's work area, all in the system's own pixels.
struct SystemFrame {
    QRect outer;
    QRect seen;
    QRect monitor;
    int work_top = 0;
};

// The questions about a window that only the window system can answer, asked by the placement all systems
// share; a test puts answers of its own in their place.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Whether the created window was made at another scale than the monitor showing the screen has.
    virtual bool made_at_another_scale(QWidget &window, const QScreen &screen) = 0;
    // The created window's frame where the system places windows by a frame of its own; else nullopt.
    virtual std::optional<SystemFrame> frame(QWidget &window, const QScreen &screen) = 0;
    // Moves the window's rectangle so that its top-left corner is there, in the system's pixels.
    virtual bool move_outer_corner(QWidget &window, QPoint corner) = 0;
};

// The window system in use: the one of the system the program runs on, unless a stand-in was put in its place.
WindowSystem &window_system();

// Puts a stand-in in the system's place until it is called again with nullptr.
void stand_in_window_system(WindowSystem *stand_in);
