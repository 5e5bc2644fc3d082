"""What a person sees of a running Ochreline and what they can do with it: menus, dialogs, board."""

import math

import pyatspi

from desktop import (E2eFailure, centre, descendants, extents, is_checked, is_enabled, is_showing, text_of,
                     wait_for)

MAIN_TITLE = "Ochreline for Windows"
STARTUP_TITLE = "Get Quiverline from the Help Menu!!"
STARTUP_TEXT = "Quiverline is a newer more complete program"
PLAYERS_TITLE = "Select Your Players!"
HELP_TITLE = "Ochreline Help"
POINTS_TITLE = "Points!"
ABOUT_TITLE = "Vantorel Software"

LIGHT_RED = (255, 0, 0)
LIGHT_BLUE = (0, 0, 255)

# The board picture (480 x 480) sits at (123, 3) of the client area; 15 twips make a pixel.
BOARD_ORIGIN = (123, 3)
BOARD_SIZE = 480
BOARD_CENTRE = 240.0
# Player panels in twips of the client area: name label, then score label, players 1 to 4.
NAME_RECTS = ((45, 270, 1680, 420), (9090, 270, 1680, 420), (45, 4005, 1680, 420), (9090, 4005, 1680, 420))
SCORE_RECTS = ((135, 1080, 1500, 780), (9180, 1080, 1500, 780), (135, 4770, 1500, 780), (9180, 4770, 1500, 780))

# Ring borders as radii in pixels of the board picture; the 20 is at the top, numbers run clockwise.
RINGS = {
    "inner bull": (0.0, 12.5),
    "outer bull": (12.5, 30.5),
    "inner single": (30.5, 84.5),
    "treble": (84.5, 100.5),
    "outer single": (100.5, 162.5),
    "double": (162.5, 181.0),
    "number ring": (181.0, 240.0),
}
SEGMENTS = (20, 1, 18, 4, 13, 6, 10, 15, 2, 17, 3, 19, 7, 16, 8, 11, 14, 9, 12, 5)


def pixel_rect(twips_rect):
    """Twips to whole pixels, nearest, halves up."""
    return tuple((2 * v + 15) // 30 for v in twips_rect)


def board_point(ring, number=20):
    """Pixel of the board picture in the middle of a ring, on the centre line of a number's segment."""
    inner, outer = RINGS[ring]
    radius = 0.0 if ring == "inner bull" else (inner + outer) / 2
    angle = math.radians(18 * SEGMENTS.index(number))
    return (round(BOARD_CENTRE + radius * math.sin(angle)), round(BOARD_CENTRE - radius * math.cos(angle)))


class OchrelineWindow:
    """The main window of one running program and the dialogs it opens."""

    def __init__(self, tree, desktop):
        self.tree = tree
        self.desktop = desktop
        self.frame = None
        # Called with (what, accessible) for every dialog that wait_dialog finds.
        self.dialog_check = lambda what, dialog: None

    # --- start-up -------------------------------------------------------------------------------

    def wait_main_window(self, timeout):
        self.frame = self.tree.wait_window(f"the main window {MAIN_TITLE!r}",
                                           lambda w: w.getRole() == pyatspi.ROLE_FRAME and w.name == MAIN_TITLE,
                                           timeout=timeout)
        self._find_controls()

    def _find_controls(self):
        children = list(self.frame)
        client = next(c for c in children if c.getRole() == pyatspi.ROLE_FILLER)
        self.menubar = next(c for c in children if c.getRole() == pyatspi.ROLE_MENU_BAR)
        parts = list(client)
        self.board = next(c for c in parts if c.name == "Dart board")
        status = [c for c in parts if len([p for p in c if p.getRole() == pyatspi.ROLE_LABEL]) == 7]
        if len(status) != 1:
            raise E2eFailure(f"expected one status bar of seven panels, found {len(status)}")
        self.panels = list(status[0])
        labels = [c for c in parts if c.getRole() == pyatspi.ROLE_LABEL]
        if len(labels) != 8:
            raise E2eFailure(f"expected eight player labels (name and score of 4 players), found {len(labels)}")
        self.names = labels[0::2]
        self.scores = labels[1::2]

    def splash_window(self, window):
        images = descendants(window, pyatspi.ROLE_IMAGE)
        return window.getRole() == pyatspi.ROLE_DIALOG and any(extents(i)[2:] == (379, 117) for i in images)

    def startup_message(self, window):
        return window.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT) and window.name == STARTUP_TITLE

    def top_level(self, what, accessible, timeout=5.0):
        """The window system's view (desktop.TopLevel) of the program's top-level window that shows the
        accessible window: the one whose client area has the accessible's extents."""
        def probe():
            area = extents(accessible)
            shown = self.desktop.top_levels(self.tree.pid)
            found = [w for w in shown if w.client == area]
            if len(found) == 1:
                return True, found[0]
            return False, f"client area {area}; the program's windows: {[w.client for w in shown]}"
        return wait_for(f"the X window of {what}", probe, timeout=timeout)

    def main_x_window(self):
        """The main window's X window, whose own pixels show what the program drew there."""
        return self.top_level("the main window", self.frame).window

    def client_origin(self):
        x, y, _, _ = extents(self.board)
        return x - BOARD_ORIGIN[0], y - BOARD_ORIGIN[1]

    # --- reading the window ---------------------------------------------------------------------

    def panel(self, number):
        return self.panels[number - 1].name

    def state(self, players):
        """The texts a person reads: panels 2, 4, 6 and the name and score of every player shown."""
        return {
            "active": self.panel(2),
            "hit": self.panel(4),
            "total": self.panel(6),
            "names": [self.names[i].name for i in range(players)],
            "scores": [self.scores[i].name for i in range(players)],
        }

    def shown_players(self):
        return [i + 1 for i in range(4) if is_showing(self.names[i]) and is_showing(self.scores[i])]

    def wait_state(self, what, players, timeout=5.0, **expected):
        def probe():
            seen = self.state(players)
            return all(seen[k] == v for k, v in expected.items()), seen
        return wait_for(what, probe, timeout=timeout)

    def score_colour_counts(self, player):
        """How many pixels of the score label are exactly light red and exactly light blue."""
        x, y, width, height = extents(self.scores[player - 1])
        pixels = self.desktop.pixels(x, y, width, height, self.main_x_window())
        return pixels.count(LIGHT_RED), pixels.count(LIGHT_BLUE)

    def wait_colours(self, thrower, players, timeout=5.0):
        """The thrower's score is drawn in light red, every other player's in light blue."""
        def probe():
            counts = {p: self.score_colour_counts(p) for p in range(1, players + 1)}
            good = all((red > 20 and blue == 0) if p == thrower else (blue > 20 and red == 0)
                       for p, (red, blue) in counts.items())
            return good, {p: f"{red} light red, {blue} light blue pixels" for p, (red, blue) in counts.items()}
        wait_for(f"player {thrower}'s score in light red and the others' in light blue", probe, timeout=timeout)

    # --- menus ----------------------------------------------------------------------------------

    def menu_item(self, menu, item):
        top = next((m for m in self.menubar if m.name == menu), None)
        if top is None:
            raise E2eFailure(f"no menu {menu!r} in the menu bar: {[m.name for m in self.menubar]}")
        entries = [e for e in descendants(top, pyatspi.ROLE_MENU_ITEM) if e.name == item]
        if not entries:
            raise E2eFailure(f"no item {item!r} in menu {menu!r}")
        return top, entries[0]

    def open_menu(self, menu, item):
        """Opens a menu of the menu bar with the mouse; returns the item once it is on screen."""
        top, entry = self.menu_item(menu, item)
        self.desktop.click(*centre(top))
        wait_for(f"menu {menu!r} to open with {item!r} on screen",
                 lambda: (is_showing(entry) and extents(entry)[1] > 0, extents(entry)))
        return entry

    def close_menu(self, entry):
        """Closes the open menu with Escape and waits until the item is gone."""
        self.desktop.key("Escape")
        wait_for("Escape to close the menu", lambda: (not is_showing(entry), "still open"))

    def choose(self, menu, item):
        self.desktop.click(*centre(self.open_menu(menu, item)))

    # --- dialogs --------------------------------------------------------------------------------

    def wait_dialog(self, what, match, timeout=5.0):
        dialog = self.tree.wait_window(what, match, timeout=timeout)
        self.dialog_check(what, dialog)
        return dialog

    def button(self, window, name):
        found = [b for b in descendants(window, pyatspi.ROLE_PUSH_BUTTON) if b.name == name]
        if len(found) != 1:
            raise E2eFailure(f"expected one button {name!r} in {window.name!r}, found {len(found)}")
        return found[0]

    def radio(self, window, name):
        found = [b for b in descendants(window, pyatspi.ROLE_RADIO_BUTTON) if b.name == name]
        if len(found) != 1:
            raise E2eFailure(f"expected one option {name!r} in {window.name!r}, found {len(found)}")
        return found[0]

    def pick(self, window, name):
        option = self.radio(window, name)
        self.desktop.click(*centre(option))
        wait_for(f"option {name!r} to be selected", lambda: (is_checked(option), "not selected"))

    def fill_in(self, box, text):
        """Clicks into a text box, selects what it holds and types over it."""
        self.desktop.click(*centre(box))
        wait_for("the text box to take the keyboard focus",
                 lambda: (box.getState().contains(pyatspi.STATE_FOCUSED), "not focused"))
        self.desktop.key("ctrl+a")
        self.desktop.type_text(text)
        wait_for(f"the text box to hold {text!r}", lambda: (text_of(box) == text, text_of(box)))

    def new_game(self, players, game, names):
        """File > New Game: picks the number of players and the game, types the names, Let's Play!"""
        self.fill_in_new_game(self.open_new_game(), players, game, names)

    def open_new_game(self):
        self.choose("File", "New Game")
        dialog = self.wait_dialog(f"the dialog {PLAYERS_TITLE!r}", lambda w: w.name == PLAYERS_TITLE)
        shown = [p for p in range(1, 5) if is_showing(self.names[p - 1]) or is_showing(self.scores[p - 1])]
        if shown:
            raise E2eFailure(f"player panels {shown} still shown while the new game dialog is open")
        return dialog

    def fill_in_new_game(self, dialog, players, game, names):
        self.pick(dialog, f"{players} Players")
        self.pick(dialog, str(game))
        boxes = descendants(dialog, pyatspi.ROLE_TEXT)
        if len(boxes) != 4:
            raise E2eFailure(f"expected four name boxes, found {len(boxes)}")
        enabled = [is_enabled(b) for b in boxes]
        if enabled != [i < players for i in range(4)]:
            raise E2eFailure(f"with {players} players, name boxes enabled: {enabled}")
        for box, name in zip(boxes, names):
            self.fill_in(box, name)
        self.desktop.click(*centre(self.button(dialog, "Let's Play!")))
        self.tree.wait_window_gone(f"the dialog {PLAYERS_TITLE!r} to close", dialog)

    def adjust(self, item, amount):
        """Score > Add Points or Subtract Points with an amount picked in the points dialog."""
        dialog = self.open_points(item)
        self.pick(dialog, str(amount))
        self.confirm_points(dialog)

    def open_points(self, item):
        self.choose("Score", item)
        return self.wait_dialog("the points dialog", lambda w: bool(
            [b for b in descendants(w, pyatspi.ROLE_RADIO_BUTTON) if b.name == "50"]))

    def confirm_points(self, dialog):
        self.desktop.click(*centre(self.button(dialog, "OK")))
        self.tree.wait_window_gone("the points dialog to close", dialog)

    def focused_in(self, dialog):
        return next((a for a in descendants(dialog) if a.getState().contains(pyatspi.STATE_FOCUSED)), None)

    def escape_changes_nothing(self, dialog, what):
        """Presses Escape, then Tab: once the focus has moved on, both keys have been handled."""
        before = self.focused_in(dialog)
        if before is None:
            raise E2eFailure(f"no control of {what} has the keyboard focus")
        self.desktop.key("Escape")
        self.desktop.key("Tab")

        def is_open():
            return any(w == dialog for _, _, w in self.tree.windows())
        wait_for(f"{what} to handle Escape and Tab", lambda: (
            not is_open() or self.focused_in(dialog) not in (None, before), "the focus has not moved"))
        if not is_open():
            raise E2eFailure(f"Escape closed {what}")

    def help_text(self):
        """Help > Contents: waits for the help viewer and returns the text it shows."""
        self.choose("Help", "Contents")
        viewer = self.wait_dialog(f"the help viewer {HELP_TITLE!r}", lambda w: w.name == HELP_TITLE)

        def probe():  # the viewer window itself carries the text, as a read-only text
            text = text_of(viewer)
            return bool(text), text
        return wait_for("the help viewer to show its text", probe)

    def close_help(self):
        viewer = self.wait_dialog(f"the help viewer {HELP_TITLE!r}", lambda w: w.name == HELP_TITLE)
        self.desktop.close_window(HELP_TITLE)
        self.tree.wait_window_gone("the help viewer to close", viewer)
        # Gone from the accessibility tree before the window manager has taken its frame off the screen,
        # where it may still cover the main window's menu bar and take the next click.
        wait_for("the window manager to let go of the help viewer",
                 lambda: (HELP_TITLE not in self.desktop.managed_titles(self.tree.pid), "still managed"))

    def wait_notice(self, text, timeout=5.0):
        """Waits for the notice window, a single button carrying the text; returns window and button."""
        def probe():
            seen = []
            for _, name, window in self.tree.windows():
                buttons = descendants(window, pyatspi.ROLE_PUSH_BUTTON)
                if len(buttons) == 1 and buttons[0].name == text:
                    return True, (window, buttons[0])
                seen.append((name, [b.name for b in buttons]))
            return False, f"windows on screen (title, buttons): {seen}"
        return wait_for(f"the notice {text!r}", probe, timeout=timeout)

    # --- the board ------------------------------------------------------------------------------

    def throw(self, ring, number=20):
        """Clicks the board where a dart in that ring and segment would land."""
        bx, by, width, height = extents(self.board)
        size = round(BOARD_SIZE * self.desktop.scale)
        if (width, height) != (size, size):
            raise E2eFailure(f"the board is {width} x {height} pixels, expected {size} x {size}")
        px, py = board_point(ring, number)
        self.desktop.click(bx + round(px * self.desktop.scale), by + round(py * self.desktop.scale))
