#include "WindowManagerHints.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

struct X11Window {
    xcb_connection_t *connection = nullptr;
    xcb_window_t id = XCB_WINDOW_NONE;
};

X11Window x11_window_of(const QWidget &window)
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window.windowHandle())
        return {};
    return {x11->connection(), static_cast<xcb_window_t>(window.winId())};
}

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// A property of 32-bit values, at most `length` of them; empty where the window has none of that type.
std::vector<std::uint32_t> property32(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type, std::uint32_t length = 1024)
{
    const auto cookie = xcb_get_property(connection, 0, window, property, type, 0, length);
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / sizeof(std::uint32_t);
    return {values, values + count};
}

bool has_atom(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t wanted)
{
    const std::vector<std::uint32_t> atoms = property32(connection, window, property, XCB_ATOM_ATOM);
    return std::find(atoms.begin(), atoms.end(), wanted) != atoms.end();
}

void keep_title_empty(const X11Window &x11)
{
    xcb_change_property(x11.connection, XCB_PROP_MODE_REPLACE, x11.id, atom(x11.connection, "_NET_WM_NAME"),
                        atom(x11.connection, "UTF8_STRING"), 8, 0, nullptr);
}

void keep_off_taskbar(const X11Window &x11)
{
    // Qt adds its own states to what an unmapped window already carries when it maps the window.
    const xcb_atom_t state = atom(x11.connection, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(x11.connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (!has_atom(x11.connection, x11.id, state, skip))
        xcb_change_property(x11.connection, XCB_PROP_MODE_APPEND, x11.id, state, XCB_ATOM_ATOM, 32, 1, &skip);
}

// WM_NORMAL_HINTS (ICCCM 4.1.2.3): 18 numbers, the flags first, the position second and third, the gravity last.
constexpr std::size_t kSizeHintsLength = 18;
constexpr std::size_t kHintX = 1;
constexpr std::size_t kHintY = 2;
constexpr std::size_t kHintGravity = 17;
constexpr std::uint32_t kUserPosition = 1;
constexpr std::uint32_t kProgramPosition = 4;
constexpr std::uint32_t kWindowGravity = 512;

std::array<std::uint32_t, kSizeHintsLength> size_hints(const X11Window &x11)
{
    std::array<std::uint32_t, kSizeHintsLength> hints{};
    const std::vector<std::uint32_t> values = property32(x11.connection, x11.id, XCB_ATOM_WM_NORMAL_HINTS,
                                                         XCB_ATOM_WM_SIZE_HINTS, kSizeHintsLength);
    std::copy_n(values.begin(), std::min(values.size(), kSizeHintsLength), hints.begin());
    return hints;
}

// Logical coordinates of Qt to the X server's pixels, which differ where Qt scales the screen.
QPoint native_position(const QWidget &window, QPoint position)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return position;
    const QPoint origin = screen->geometry().topLeft();
    return origin + (position - origin) * screen->devicePixelRatio();
}

xcb_window_t root_of(const X11Window &x11)
{
    const auto cookie = xcb_get_geometry(x11.connection, x11.id);
    const XcbReply<xcb_get_geometry_reply_t> reply(xcb_get_geometry_reply(x11.connection, cookie, nullptr), &std::free);
    return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

bool supports(const X11Window &x11, xcb_window_t root, const char *name)
{
    return has_atom(x11.connection, root, atom(x11.connection, "_NET_SUPPORTED"), atom(x11.connection, name));
}

bool asks_for_frame(const QWidget &window)
{
    return !window.windowFlags().testFlag(Qt::FramelessWindowHint);
}

// How long a window manager is given to tell a frame's size, before mapping where it offers to, or once
// mapped where it draws frames in a client of its own.
constexpr auto kFrameAnswerTimeout = std::chrono::seconds(1);
constexpr auto kFrameAnswerPoll = std::chrono::milliseconds(2);

// _NET_FRAME_EXTENTS (left, right, top, bottom) as the manager last set it on the window, if it has.
std::optional<QMargins> frame_extents(const X11Window &x11)
{
    const std::vector<std::uint32_t> extents = property32(
        x11.connection, x11.id, atom(x11.connection, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 4);
    if (extents.size() != 4)
        return std::nullopt;
    return QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]), static_cast<int>(extents[1]),
                    static_cast<int>(extents[3]));
}

// Polls the window's frame extents until `told` accepts them or the time is up; the last seen, if any.
template <typename Told>
std::optional<QMargins> wait_for_frame_extents(const X11Window &x11, Told told)
{
    const auto deadline = std::chrono::steady_clock::now() + kFrameAnswerTimeout;
    std::optional<QMargins> frame;
    do {
        frame = frame_extents(x11);
        if (frame && told(*frame))
            return frame;
        std::this_thread::sleep_for(kFrameAnswerPoll);
    } while (std::chrono::steady_clock::now() < deadline);
    return frame;
}

// _NET_REQUEST_FRAME_EXTENTS: the manager answers by setting _NET_FRAME_EXTENTS on the window.
std::optional<QMargins> ask_frame_extents(const X11Window &x11, xcb_window_t root)
{
    // an answer from an earlier showing is no answer
    xcb_delete_property(x11.connection, x11.id, atom(x11.connection, "_NET_FRAME_EXTENTS"));
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = x11.id;
    request.type = atom(x11.connection, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(x11.connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&request));
    xcb_flush(x11.connection);
    return wait_for_frame_extents(x11, [](QMargins) { return true; });
}

} // namespace

// Qt scales a window on X11 by the screen it belongs to. The window is created where Qt last had it and
// moved before it is mapped: positioned before it existed, the owner of a dialog now and then seemed to
// Qt to be at 0, 0 while the dialog was placed, which put the dialog on the wrong monitor.
void create_on_screen(QWidget &window, QScreen &screen)
{
    window.setScreen(&screen);
    window.winId();
}

std::optional<QMargins> frame_before_mapping(QWidget &window)
{
    const X11Window x11 = x11_window_of(window);
    if (!x11.connection)
        return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
    const xcb_window_t root = root_of(x11);
    if (property32(x11.connection, root, atom(x11.connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty())
        return QMargins(); // no window manager, no frame
    if (!supports(x11, root, "_NET_REQUEST_FRAME_EXTENTS"))
        return std::nullopt;
    const std::optional<QMargins> frame = ask_frame_extents(x11, root);
    // A manager that draws its frames in a client of its own answers "none" before that client has drawn
    // one: for a window that asks for a frame, that tells nothing.
    if (!frame || (frame->isNull() && asks_for_frame(window)))
        return std::nullopt;
    const qreal ratio = window.screen() ? window.screen()->devicePixelRatio() : 1.0;
    return QMargins(qRound(frame->left() / ratio), qRound(frame->top() / ratio), qRound(frame->right() / ratio),
                    qRound(frame->bottom() / ratio));
}

bool request_position_by_gravity(QWidget &window, QPoint client_position, WindowGravity gravity)
{
    const X11Window x11 = x11_window_of(window);
    if (!x11.connection)
        return false;
    const QPoint native = native_position(window, client_position);

    // Qt writes its own gravity whenever it shows or moves the window. These hints follow its map at once:
    // a manager that reads them as it takes the window on places the frame by them from the start.
    auto hints = size_hints(x11);
    hints[0] |= kUserPosition | kProgramPosition | kWindowGravity;
    hints[kHintX] = static_cast<std::uint32_t>(native.x());
    hints[kHintY] = static_cast<std::uint32_t>(native.y());
    hints[kHintGravity] = static_cast<std::uint32_t>(gravity);
    xcb_change_property(x11.connection, XCB_PROP_MODE_REPLACE, x11.id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS,
                        32, kSizeHintsLength, hints.data());
    xcb_flush(x11.connection);

    // The request works from the frame as the manager knows it when it takes the request: one that draws
    // frames in a client of its own knows none until that client has drawn it, after mapping.
    if (gravity != WindowGravity::Static && asks_for_frame(window) && supports(x11, root_of(x11), "_NET_FRAME_EXTENTS"))
        wait_for_frame_extents(x11, [](QMargins frame) { return !frame.isNull(); });
    const std::array<std::uint32_t, 2> position{static_cast<std::uint32_t>(native.x()),
                                                static_cast<std::uint32_t>(native.y())};
    xcb_configure_window(x11.connection, x11.id, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, position.data());
    xcb_flush(x11.connection);
    return true;
}

void keep_untitled_and_off_taskbar(QWidget &window)
{
    const X11Window x11 = x11_window_of(window);
    if (!x11.connection)
        return;
    if (window.windowTitle().isEmpty())
        keep_title_empty(x11);
    keep_off_taskbar(x11);
    xcb_flush(x11.connection);
}
