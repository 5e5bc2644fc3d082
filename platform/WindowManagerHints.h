#pragma once

#include "Centring.h"

#include <QMargins>

#include <cstdint>
#include <optional>

class QPoint;
class QScreen;
class QWidget;

// What a window manager on X11 shows of a window in its title bar, window list and taskbar, and where it
// puts it; on Windows, what the system itself knows of a window's frame.

// Keeps an untitled window untitled (Qt would put the application's name in its place) and out of the
// taskbar. Acts on a created window that is not mapped yet: call it when the window is about to be
// shown. On other window systems it does nothing.
void keep_untitled_and_off_taskbar(QWidget &window);

// Creates the window, if it does not exist yet, on the screen and at its scale.
void create_on_screen(QWidget &window, QScreen &screen);

// The frame the window manager will draw around a created window that is not mapped yet, in Qt's
// coordinates: none on X11 without a window manager; the manager's answer where it offers one beforehand
// (_NET_REQUEST_FRAME_EXTENTS), waiting up to a second for it; nullopt where it can't be known before
// mapping, as where a window that asks for a frame is answered with none. Off X11, what Qt knows of the frame.
std::optional<QMargins> frame_before_mapping(QWidget &window);

// The reference point of a window's frame that a window manager keeps where the client area's would be;
// Static keeps the client area itself where it is asked to be.
enum class WindowGravity : std::uint32_t { North = 2, Centre = 5, Static = 10 };

// Asks the window manager to move a mapped window so that its frame's reference point (top centre or
// centre) lies where the client area's would with its top-left corner at client_position: the manager,
// which alone knows the frame, does the arithmetic when it places the frame; one that tells the frame only
// once the window is mapped is given up to a second to tell it first. Returns false where this
// cannot be asked (not on X11, or the window not created), leaving the caller to move the window itself.
bool request_position_by_gravity(QWidget &window, QPoint client_position, WindowGravity gravity);
