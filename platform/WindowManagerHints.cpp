#include "WindowManagerHints.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

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

bool has_atom(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t wanted)
{
    const auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 1024);
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / static_cast<int>(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, wanted) != atoms + count;
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

} // namespace

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
