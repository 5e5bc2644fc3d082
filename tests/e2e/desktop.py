"""Drives a program on an X display as a person would and reads back what it shows.

Input goes through XTest (xdotool); what the program shows is read through the AT-SPI
accessibility tree, for colours from its window's own pixels, and for frames, titles and icons
from the X windows and the properties a window manager reads (EWMH).
"""

import os
import signal
import subprocess
import sys
import time
from collections import namedtuple

import pyatspi
from Xlib import X, display as xdisplay, error as xerror, protocol


class E2eFailure(AssertionError):
    pass


def wait_for(what, probe, timeout=5.0, interval=0.05):
    """Polls probe() -> (done, seen) until done; fails naming what was expected and what was seen."""
    deadline = time.monotonic() + timeout
    seen = None
    while True:
        try:
            done, seen = probe()
        except Exception as error:  # a window or widget that is going away mid-read
            done, seen = False, f"error while reading: {error!r}"
        if done:
            return seen
        if time.monotonic() >= deadline:
            raise E2eFailure(f"waited {timeout:.0f} s for {what}; last seen: {seen!r}")
        time.sleep(interval)


# A top-level window as the window system shows it: rectangles (x, y, width, height) of the client
# area and of the window with the frame a window manager put around it; the title a window list shows;
# the icon's data (None without one); the names of its _NET_WM_STATE atoms; the X window's id.
TopLevel = namedtuple("TopLevel", "client frame title icon states window")


def centring(frame, screen, vertically=True, tolerance=1):
    """Whether a frame (x, y, width, height) is centred across the screen (x, y, width, height), and down
    it or else with its top at the top of the screen's work area (E2E_TOP_MARGIN pixels below the screen's
    top, where the window manager keeps them for a panel), to `tolerance` pixels; returns that and what was seen."""
    x, y, width, height = frame
    left, top, screen_width, screen_height = screen
    across = abs(x - left - (screen_width - width) // 2) <= tolerance
    work_area_top = top + int(os.environ.get("E2E_TOP_MARGIN") or 0)
    down = abs(y - ((top + (screen_height - height) // 2) if vertically else work_area_top)) <= tolerance
    return across and down, (f"at ({x}, {y}), {width} x {height} on a screen of {screen_width} x "
                             f"{screen_height} at ({left}, {top})")


class Desktop:
    """Mouse, keyboard, screen pixels and top-level windows of the X display in $DISPLAY."""

    def __init__(self):
        self._display = xdisplay.Display()
        self._root = self._display.screen().root
        screen = self._display.screen()
        # The monitor the program's windows belong on, (x, y, width, height): the one run_e2e.sh made
        # primary where it declared monitors (E2E_SCREEN), else the whole screen. A test that moves the
        # main window to another monitor sets it to that one.
        self.windows_screen = rect_from(os.environ.get("E2E_SCREEN")) or (0, 0, screen.width_in_pixels,
                                                                           screen.height_in_pixels)
        self.scale = 1.0  # the scale factor Qt gives that monitor

    def screen_rect(self):
        return self.windows_screen

    def move(self, window, x, y):
        """Moves a top-level X window, its client area's top-left corner to (x, y)."""
        self._xdotool("windowmove", "--sync", str(window), str(x), str(y))

    def wait_window_manager(self, timeout=10.0):
        """A window manager announces itself with a check window on the root window (EWMH)."""
        check = self._display.intern_atom("_NET_SUPPORTING_WM_CHECK")
        wait_for("a window manager to take over the display",
                 lambda: (self._root.get_full_property(check, X.AnyPropertyType) is not None, "none yet"),
                 timeout=timeout)

    def click(self, x, y):
        self._xdotool(*self._pointer_to(x, y), "click", "1")

    def double_click(self, x, y):
        """Two clicks well within a double-click interval."""
        self._xdotool(*self._pointer_to(x, y), "click", "--repeat", "2", "--delay", "60", "1")

    @staticmethod
    def _pointer_to(x, y):
        """xdotool's commands that put the pointer at (x, y). In a Wayland session xdotool's absolute move
        only moves Xwayland's own pointer, while a button goes through the compositor, which first sets
        Xwayland's pointer to its own once a window has been mapped under that (kwin 6.7 does): the
        click then lands there. A relative motion goes through the compositor too; made first, it has
        that done before the absolute move."""
        move = ["mousemove", str(x), str(y)]
        if os.environ.get("XDG_SESSION_TYPE") != "wayland":
            return move
        return ["mousemove_relative", "1", "0", "mousemove_relative", "--", "-1", "0", "sleep", "0.05", *move]

    def key(self, *keys):
        self._xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, text):
        self._xdotool("type", "--clearmodifiers", "--delay", "15", text)

    def close_window(self, title):
        """Asks the top-level window of that title to close, as a window manager's close button does. A window
        just shown may not be listed yet by a window manager that is still taking it over."""
        protocols = self._display.intern_atom("WM_PROTOCOLS")
        delete = self._display.intern_atom("WM_DELETE_WINDOW")

        def probe():
            titled = [w for w in self._clients() if self._wm_name(w) == title]
            return bool(titled), titled or "none listed"
        found = wait_for(f"a window titled {title!r} on the display", probe)
        for window in found:
            message = protocol.event.ClientMessage(window=window, client_type=protocols,
                                                   data=(32, [delete, X.CurrentTime, 0, 0, 0]))
            window.send_event(message, event_mask=X.NoEventMask)
        self._display.flush()

    def pixels(self, x, y, width, height, window=None):
        """The screen's pixels in the rectangle as (r, g, b) tuples, row by row; given a top-level X window's
        id, that window's own pixels there. A compositing manager shows a picture of each window that it
        updates when it gets round to it: mutter as an X11 window manager, loaded, was seen to show a
        window's picture from seconds before, while the window itself held what the program had drawn."""
        try:
            if window is not None:
                window = self._display.create_resource_object("window", window)
                origin = self._root.translate_coords(window, 0, 0)
                image = window.get_image(x - origin.x, y - origin.y, width, height, X.ZPixmap, 0xFFFFFFFF)
            else:
                image = self._root.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        except xerror.BadMatch:
            # A rootless X server (Xwayland) keeps no picture of the screen: the window showing the area has it.
            window, left, top = self._window_holding(x, y, width, height)
            image = window.get_image(x - left, y - top, width, height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data
        if image.depth not in (24, 32) or len(data) < width * height * 4:
            raise E2eFailure(f"expected a 24-bit screen with 32-bit pixels, got depth {image.depth}")
        # 32 bits a pixel, little-endian: blue, green, red, padding.
        return [(data[i + 2], data[i + 1], data[i]) for i in range(0, width * height * 4, 4)]

    def top_levels(self, pid):
        """The process's top-level windows on screen: those a window manager lists, or on a bare display
        the mapped children of the root window."""
        return self._shown(lambda window: (self._property(window, "_NET_WM_PID") or [None])[0] == pid)

    def managed_titles(self, pid):
        """The titles of the process's windows a window manager lists, shown or not; none without one."""
        if self._property(self._root, "_NET_CLIENT_LIST") is None:
            return []
        return [bytes(self._property(w, "_NET_WM_NAME") or b"").decode("utf-8", "replace") for w in self._clients()
                if (self._property(w, "_NET_WM_PID") or [None])[0] == pid]

    def top_levels_of_class(self, wm_class):
        """The top-level windows on screen whose WM_CLASS names that class: Wine gives each window of a
        Windows program the program's file name."""
        return self._shown(lambda window: (window.get_wm_class() or (None, None))[1] == wm_class)

    def popups_of_class(self, wm_class):
        """Mapped windows of that class that the window manager does not manage (menus, tooltips), as
        (x, y, width, height) on the screen."""
        found = []
        for window in self._root.query_tree().children:
            try:
                attributes = window.get_attributes()
                if (not attributes.override_redirect or attributes.map_state != X.IsViewable
                        or (window.get_wm_class() or (None, None))[1] != wm_class):
                    continue
                geometry = window.get_geometry()
                found.append((geometry.x, geometry.y, geometry.width, geometry.height))
            except xerror.XError:
                continue
        return found

    def activate(self, window):
        """Gives the X window the keyboard focus through the window manager, as a click on it would."""
        self._xdotool("windowactivate", "--sync", str(window))

    def _shown(self, owned):
        shown = []
        for window in self._clients():
            try:
                if not owned(window) or window.get_attributes().map_state != X.IsViewable:
                    continue
                shown.append(self._top_level(window))
            except xerror.XError:  # a window that went away meanwhile
                continue
        return shown

    def _window_holding(self, x, y, width, height):
        """The largest top-level window that holds the rectangle, and its origin on the screen."""
        holding = []
        for window in self._clients():
            geometry = window.get_geometry()
            origin = self._root.translate_coords(window, 0, 0)
            if (origin.x <= x and origin.y <= y and x + width <= origin.x + geometry.width
                    and y + height <= origin.y + geometry.height):
                holding.append((geometry.width * geometry.height, window, origin.x, origin.y))
        if not holding:
            raise E2eFailure(f"no window holds the area {width} x {height} at ({x}, {y})")
        return max(holding, key=lambda found: found[0])[1:]

    def _clients(self):
        """The client windows a window manager lists, or on a bare display the root window's children."""
        listed = self._property(self._root, "_NET_CLIENT_LIST")
        if listed is None:
            return self._root.query_tree().children
        return [self._display.create_resource_object("window", w) for w in listed]

    def _top_level(self, window):
        """The frame is what the window manager draws around the client area, as it declares it
        (_NET_FRAME_EXTENTS): its X window may be larger, with invisible borders to resize by."""
        geometry = window.get_geometry()
        origin = self._root.translate_coords(window, 0, 0)
        left, right, top, bottom = self._property(window, "_NET_FRAME_EXTENTS") or (0, 0, 0, 0)
        title = self._property(window, "_NET_WM_NAME")
        if title is None:
            title = self._property(window, "WM_NAME")
        icon = self._property(window, "_NET_WM_ICON")
        states = self._property(window, "_NET_WM_STATE")
        return TopLevel(client=(origin.x, origin.y, geometry.width, geometry.height),
                        frame=(origin.x - left, origin.y - top, geometry.width + left + right,
                               geometry.height + top + bottom),
                        title=None if title is None else bytes(title).decode("utf-8", "replace"),
                        icon=tuple(icon) if icon is not None and len(icon) else None,
                        states={self._display.get_atom_name(a) for a in states or ()}, window=window.id)

    @staticmethod
    def _wm_name(window):
        """None for a window that went away meanwhile (a notice just closed)."""
        try:
            return window.get_wm_name()
        except xerror.XError:
            return None

    def _property(self, window, name):
        found = window.get_full_property(self._display.intern_atom(name), X.AnyPropertyType)
        return None if found is None else found.value

    @staticmethod
    def _xdotool(*args):
        subprocess.run(["xdotool", *args], check=True, timeout=10)


def rect_from(text):
    """"x y width height" as a tuple of numbers; None for nothing."""
    return tuple(int(v) for v in text.split()) if text else None


def scaled_screen():
    """The monitor that Qt scales (E2E_SCALED_SCREEN, in the X server's pixels) and its scale factor
    (E2E_SCALE), or None."""
    screen = rect_from(os.environ.get("E2E_SCALED_SCREEN"))
    return (screen, float(os.environ["E2E_SCALE"])) if screen else None


def to_pixels(rect):
    """Qt's coordinates to the X server's pixels. Qt reports a screen that it scales with its top-left
    corner where the X server has it and the rest divided by the scale factor."""
    scaled = scaled_screen()
    if not scaled:
        return rect
    (left, top, width, height), factor = scaled
    x, y, w, h = rect
    if not (left <= x < left + width / factor and top <= y < top + height / factor):
        return rect
    return (left + round((x - left) * factor), top + round((y - top) * factor), round(w * factor),
            round(h * factor))


def extents(accessible):
    """An accessible's place on the screen, (x, y, width, height) in the X server's pixels."""
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return to_pixels((box.x, box.y, box.width, box.height))


def centre(accessible):
    x, y, width, height = extents(accessible)
    return x + width // 2, y + height // 2


def is_showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def is_checked(accessible):
    return accessible.getState().contains(pyatspi.STATE_CHECKED)


def is_enabled(accessible):
    return accessible.getState().contains(pyatspi.STATE_ENABLED)


def descendants(root, role=None):
    """Every accessible below root in document order, optionally only those of one role."""
    found = []
    for child in root:
        if child is None:
            continue
        if role is None or child.getRole() == role:
            found.append(child)
        found.extend(descendants(child, role))
    return found


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


class AppTree:
    """The accessibility tree of one process, found on the AT-SPI bus by its process id."""

    def __init__(self, pid):
        self._pid = pid
        self._app = None

    @property
    def pid(self):
        return self._pid

    def application(self, timeout=30.0):
        if self._app is None:
            self._app = wait_for(f"process {self._pid} to appear on the accessibility bus", self._find_app,
                                 timeout=timeout)
        return self._app

    def _find_app(self):
        """The process's Qt application: under GNOME, Qt's GTK platform theme registers a second one."""
        desktop = pyatspi.Registry.getDesktop(0)
        names = []
        for app in desktop:
            if app is None:
                continue
            toolkit = app.get_toolkit_name()
            if app.get_process_id() == self._pid and toolkit == "Qt":
                return True, app
            names.append(f"{app.name} ({toolkit})")
        return False, f"applications on the bus: {names}"

    def windows(self):
        """The program's top-level windows that are on screen, as (role name, window name, accessible)."""
        return [(w.getRoleName(), w.name, w) for w in self.application() if w is not None and is_showing(w)]

    def window_titles(self):
        return [f"{role} {name!r}" for role, name, _ in self.windows()]

    def wait_window(self, what, match, timeout=5.0):
        """Waits for a showing top-level window for which match(accessible) is true."""
        def probe():
            for _, _, window in self.windows():
                if match(window):
                    return True, window
            return False, f"windows on screen: {self.window_titles()}"
        return wait_for(what, probe, timeout=timeout)

    def wait_window_gone(self, what, window, timeout=5.0):
        def probe():
            gone = all(w != window for _, _, w in self.windows())
            return gone, f"windows on screen: {self.window_titles()}"
        wait_for(what, probe, timeout=timeout)


def run_driver(run, *arguments):
    """Runs a driver's checks, run(*arguments): PASS, or a FAIL line and exit status 1. A timeout's SIGTERM
    unwinds through run(), which ends the program it started."""
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAIL: terminated"))
    try:
        run(*arguments)
    except E2eFailure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
    print("PASS")


if __name__ == "__main__" and sys.argv[1:] == ["wait-window-manager"]:
    try:
        Desktop().wait_window_manager()
    except E2eFailure as failure:
        sys.exit(f"FAIL: {failure}")
