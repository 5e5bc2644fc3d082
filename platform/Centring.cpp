#include "Centring.h"

#include "WindowManagerHints.h"
#include "WindowSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace {

// Half of the space left over, in single precision as the window system is handed it.
int centred_edge(int screen_origin, int screen_extent, int window_extent)
{
    const float half = static_cast<float>(screen_extent - window_extent) / 2.0f;
    return screen_origin + static_cast<int>(std::lround(half));
}

QScreen *placement_screen(const QWidget &window)
{
    const QWidget *owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (owner && owner->isVisible()) {
        if (QScreen *screen = QGuiApplication::screenAt(owner->frameGeometry().center()))
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

QPoint placed_corner(const QScreen &screen, QSize size, Placement placement)
{
    return placed_corner(screen.geometry(), screen.availableGeometry().top(), size, placement);
}

// Where the window's rectangle goes for what the user sees of it to be placed on the monitor.
QPoint placed_outer_corner(const SystemFrame &frame, Placement placement)
{
    const QPoint corner = placed_corner(frame.monitor, frame.work_top, frame.seen.size(), placement);
    return frame.outer.topLeft() + (corner - frame.seen.topLeft());
}

// Qt learns the window's new place in its coordinates from the system: the widget takes it over, so that
// showing the window does not move it back to where Qt's coordinates had put it.
bool move_outer_corner(QWidget &window, QPoint corner)
{
    if (!window_system().move_outer_corner(window, corner))
        return false;
    window.setGeometry(window.windowHandle()->geometry());
    return true;
}

// Where the system places windows in pixels of its own and knows their frames (Windows), places a created
// window that is not mapped yet again, exactly, by its frame in those pixels, and returns true: converted to
// Qt's coordinates at a scale such as 125 %, a position may be a pixel off. Elsewhere returns false, and the
// placement in Qt's coordinates stands.
bool place_in_system_pixels(QWidget &window, const QScreen &screen, Placement placement)
{
    const std::optional<SystemFrame> frame = window_system().frame(window, screen);
    return frame && move_outer_corner(window, placed_outer_corner(*frame, placement));
}

// Where the system draws part of a window's frame invisible and tells what is seen of it only once the
// window is shown (Windows 10 and 11), moves a window just mapped, before it is drawn, so that what is
// seen is placed.
void place_by_seen_frame(QWidget &window, const QScreen &screen, Placement placement)
{
    const std::optional<SystemFrame> frame = window_system().frame(window, screen);
    if (!frame)
        return;
    const QPoint corner = placed_outer_corner(*frame, placement);
    if (corner != frame->outer.topLeft())
        move_outer_corner(window, corner);
}

} // namespace

// The top of the screen is where its work area starts: a taskbar or panel there would cover the caption.
QPoint placed_corner(const QRect &area, int work_top, QSize size, Placement placement)
{
    const int top = placement == Placement::Centre ? centred_edge(area.top(), area.height(), size.height())
                                                   : work_top;
    return {centred_edge(area.left(), area.width(), size.width()), top};
}

// A window that exists keeps the scale it was made at while hidden, and Qt's setScreen moves it to a screen of
// the same desktop only in Qt's reckoning. Made anew before showing starts: destroying a window hides it, and
// once showing has begun, that would hide the widget again, which Qt then never paints. It is made inside the
// screen: Windows gives a window the scale of the monitor it is made on, and Qt on X11 makes it on the screen
// its position is on, whatever screen it was given.
void make_anew_at_screen_scale(QWidget &window)
{
    QScreen *screen = placement_screen(window);
    if (!screen || !window.isHidden() || !window_system().made_at_another_scale(window, *screen))
        return;
    window.windowHandle()->destroy();
    window.move(screen->geometry().topLeft());
    create_on_screen(window, *screen);
}

bool place_before_mapping(QWidget &window, Placement placement)
{
    QScreen *screen = placement_screen(window);
    if (!screen)
        return true;
    // Created on that screen, at its scale: a window created on another and moved over would change size
    // once placed, where the two scale differently. Created now, so that the window manager can be asked
    // about it. An existing window keeps its size in pixels, not its own, when Qt (6.8) moves it to a
    // screen of another scale: the size it had is the one placed.
    const QSize size = window.size();
    create_on_screen(window, *screen);
    // Set as the client area's position, which the window manager keeps: Qt asks for static gravity for a
    // window that was not moved by its frame position before it was created.
    const std::optional<QMargins> frame = frame_before_mapping(window);
    const QMargins known = frame.value_or(QMargins());
    const QPoint corner = placed_corner(*screen, size.grownBy(known), placement);
    window.setGeometry(QRect(corner + QPoint(known.left(), known.top()), size));
    return place_in_system_pixels(window, *screen, placement) || frame.has_value();
}

void place_once_mapped(QWidget &window, Placement placement, bool placed_before_mapping)
{
    const QScreen *screen = placement_screen(window);
    if (placed_before_mapping || !screen) {
        request_position_by_gravity(window, window.geometry().topLeft(), WindowGravity::Static);
        if (screen)
            place_by_seen_frame(window, *screen, placement);
        return;
    }
    const WindowGravity gravity = placement == Placement::Centre ? WindowGravity::Centre : WindowGravity::North;
    request_position_by_gravity(window, placed_corner(*screen, window.size(), placement), gravity);
}
