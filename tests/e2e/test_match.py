"""A whole match of 501 for three players on the real program, driven by mouse and keyboard.

Run by run_e2e.sh inside its own X display and D-Bus session: usage test_match.py PATH_TO_OCHRELINE.
"""

import atexit
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

from desktop import (AppTree, Desktop, E2eFailure, centre, centring, descendants, extents, is_checked,
                     is_enabled, run_driver, scaled_screen, wait_for)
from ochreline_window import (ABOUT_TITLE, BOARD_SIZE, NAME_RECTS, PLAYERS_TITLE, POINTS_TITLE, SCORE_RECTS,
                              STARTUP_TEXT, OchrelineWindow, pixel_rect)

PLAYERS = 3
GAME = 501
TYPED = ("ann", "Tom & Jerry", "sam")
# Names are shown with the first character raised and the rest lowered; "&" is no mnemonic.
SHOWN = ("Ann", "Tom & jerry", "Sam")

# A full name too long for its label, and its first word, which fits.
LONG_TYPED = ("bartholomew featherstonehaugh", "bartholomew")
LONG_SHOWN = ("Bartholomew featherstonehaugh", "Bartholomew")
WEB_ADDRESS = "http://www.vantorel.example/"

# Lies in the program's working directory; the program must show its own help file instead.
PLANTED_HELP = "<h1>Planted help</h1><p>This file is not the program's.</p>"
OUR_HELP = "Ochreline keeps the score of a darts match"

MULTIPLIER = {"inner single": 1, "outer single": 1, "treble": 3, "double": 2}


def value_of(ring, number):
    if ring == "inner bull":
        return 50
    if ring == "outer bull":
        return 25
    if ring == "number ring":
        return 0
    return MULTIPLIER[ring] * number


# Where darts land: T treble, D double, S outer single, s inner single.
def T(n):
    return ("treble", n)


def D(n):
    return ("double", n)


def S(n):
    return ("outer single", n)


def s(n):
    return ("inner single", n)


BULL = ("outer bull", 20)
INNER_BULL = ("inner bull", 20)
MISS = ("number ring", 20)


class Match:
    """Plays turns on the window and checks after every dart what it shows."""

    def __init__(self, window):
        self.window = window
        self.scores = [GAME] * PLAYERS
        self.thrower = 1

    def expect(self, what, **expected):
        return self.window.wait_state(what, PLAYERS, **expected)

    def shown_scores(self):
        return [str(v) for v in self.scores]

    def turn(self, darts):
        name = SHOWN[self.thrower - 1]
        total = 0
        for number, dart in enumerate(darts, start=1):
            value = value_of(*dart)
            total += value
            self.window.throw(*dart)
            if number < 3:
                self.expect(f"{name}'s dart {number} ({dart[0]} {dart[1]}) to show {value}, turn total {total}",
                            active=name, hit=str(value), total=str(total), scores=self.shown_scores())
        before = self.scores[self.thrower - 1]
        after = before - total
        if after < 0:
            self.dismiss_notice("Break!", name, value, total, shown=before, by_keyboard=False)
        else:
            self.scores[self.thrower - 1] = after
            if after == 0:
                self.dismiss_notice("Winner!", name, value, total, shown=0, by_keyboard=True)
        self.thrower = self.thrower % PLAYERS + 1
        self.expect(f"the turn of {name} to end at {self.scores[self.thrower - 2]}, "
                    f"{SHOWN[self.thrower - 1]} to throw next",
                    active=SHOWN[self.thrower - 1], hit="0", total="0", scores=self.shown_scores())
        self.window.wait_colours(self.thrower, PLAYERS)

    def dismiss_notice(self, text, name, last, total, shown, by_keyboard):
        notice, button = self.window.wait_notice(text)
        check_centred(self.window, f"the notice {text!r}", notice)
        check_size(self.window, f"the notice {text!r}", "notice", notice)
        check_untitled(self.window, f"the notice {text!r}", notice)
        scores = self.shown_scores()
        scores[self.thrower - 1] = str(shown)
        # Behind the notice the window still shows the thrower's last dart, total and mark.
        self.expect(f"the window behind {text!r}", active=name, hit=str(last), total=str(total), scores=scores)
        self.window.wait_colours(self.thrower, PLAYERS)
        if by_keyboard:
            self.window.desktop.key("Return")
        else:
            self.window.desktop.click(*centre(button))
        self.window.tree.wait_window_gone(f"the notice {text!r} to close", notice)

    def adjust(self, item, amount):
        self.window.adjust(item, amount)
        self.adjusted(item, amount)

    def adjusted(self, item, amount):
        sign = 1 if item == "Add Points" else -1
        self.scores[self.thrower - 1] += sign * amount
        self.expect(f"{item} {amount} to change {SHOWN[self.thrower - 1]}'s score",
                    active=SHOWN[self.thrower - 1], hit="0", total="0", scores=self.shown_scores())
        self.window.wait_colours(self.thrower, PLAYERS)


def check_start_up_placement(tree, window):
    """The main window at the top of its screen, centred across; the splash centred on it. Returns the splash."""
    window.wait_main_window(timeout=30)
    check_centred(window, "the main window", window.frame, vertically=False)
    splash = tree.wait_window("the splash window", window.splash_window, timeout=15)
    check_centred(window, "the splash", splash)
    return splash


def check_startup(tree, window, started):
    splash = check_start_up_placement(tree, window)
    splash_seen = time.monotonic()
    check_untitled(window, "the splash", splash)
    blank = [window.panel(n) for n in (2, 4, 6)]
    if blank != ["", "", ""] or window.shown_players():
        raise E2eFailure(f"before a match panels 2, 4, 6 read {blank} and players {window.shown_players()} show")
    message = tree.wait_window("the start-up message box after the splash", window.startup_message, timeout=30)
    splash_secs = time.monotonic() - splash_seen
    message_secs = time.monotonic() - started
    if any(w == splash for _, _, w in tree.windows()):
        raise E2eFailure("the splash is still on screen with the start-up message")
    check_icon(window, "the main window", window.frame, "main")
    check_icon(window, "the start-up message", message, "main")
    texts = [a.name for a in descendants(message, pyatspi.ROLE_LABEL)]
    if STARTUP_TEXT not in texts:
        raise E2eFailure(f"the start-up message says {texts}, expected {STARTUP_TEXT!r}")
    check_splash_ticks(splash_secs, message_secs)
    window.desktop.click(*centre(window.button(message, "OK")))
    tree.wait_window_gone("the start-up message box to close", message)


def check_splash_ticks(splash_secs, message_secs):
    """The splash closed itself on its timer's second tick: the start-up message came after it."""
    print(f"splash seen on screen for {splash_secs:.1f} s; start-up message {message_secs:.1f} s after launch")
    # Two ticks of 4 s, which a coarse timer may shorten by up to 5 %; seen late, never early.
    if message_secs < 7.5 or splash_secs > 20.0:
        raise E2eFailure(f"expected the splash to close itself about 8 s after launch; the start-up message "
                         f"came {message_secs:.1f} s after launch, {splash_secs:.1f} s after the splash was seen")


def check_centred(window, what, accessible, vertically=True):
    """Centred on its screen by its outer size, frame included, to 1 pixel (half the space left over may be
    rounded either way); a window not centred down has the frame's top at the screen's top."""
    def probe():
        return centring(window.top_level(what, accessible).frame, window.desktop.screen_rect(), vertically)
    wait_for(f"{what} centred across{' and down' if vertically else ', at the top'} by its outer size", probe)


# The client sizes of the dialogs as first seen, at a scale of 1, by kind.
FIRST_SIZES = {}


def check_size(window, what, kind, accessible):
    """Every showing of a dialog has the size of its first, times the scale of its monitor."""
    width, height = window.top_level(what, accessible).client[2:]
    first = FIRST_SIZES.setdefault(kind, (width, height))
    expected = tuple(round(v * window.desktop.scale) for v in first)
    if (width, height) != expected:
        raise E2eFailure(f"{what} is {width} x {height} pixels, expected {expected[0]} x {expected[1]} "
                         f"({first[0]} x {first[1]} at a scale of {window.desktop.scale:g})")


def check_icon(window, what, accessible, designed):
    """designed: None for no icon, "main" for the main window's, "own" for one other than the main window's."""
    icon = window.top_level(what, accessible).icon
    main = window.top_level("the main window", window.frame).icon
    carried = "no icon" if icon is None else "the main window's icon" if icon == main else "an icon of its own"
    expected = {None: "no icon", "main": "the main window's icon", "own": "an icon of its own"}[designed]
    if carried != expected or (designed == "main" and main is None):
        raise E2eFailure(f"{what} carries {carried}, expected {expected}"
                         + (" (the main window has none)" if main is None else ""))


def check_untitled(window, what, accessible):
    """An empty caption: an empty title in the window list, no icon, kept out of the taskbar."""
    shown = window.top_level(what, accessible)
    if shown.title != "" or "_NET_WM_STATE_SKIP_TASKBAR" not in shown.states:
        raise E2eFailure(f"{what} is listed with the title {shown.title!r} and the states {sorted(shown.states)}: "
                         "expected an empty title, kept out of the taskbar")
    check_icon(window, what, accessible, None)


def check_framed(window):
    """Under a window manager the main window has a frame around its client area."""
    shown = window.top_level("the main window", window.frame)
    if shown.frame == shown.client:
        raise E2eFailure(f"the main window has no frame although {os.environ['E2E_WINDOW_MANAGER']} runs")


# Dialogs by title: centred on the screen or not, and the icon they carry (see check_icon).
DIALOGS = {PLAYERS_TITLE: (True, "own"), POINTS_TITLE: (True, None), ABOUT_TITLE: (False, "own")}


def check_dialog(window, what, dialog):
    if dialog.name not in DIALOGS:
        return
    centred, icon = DIALOGS[dialog.name]
    if centred:
        check_centred(window, what, dialog)
        check_size(window, what, dialog.name, dialog)
    check_icon(window, what, dialog, icon)


def open_about_box(window):
    """Help > About opens the about box; its OK closes it."""
    window.choose("Help", "About")
    about = window.wait_dialog("the about box", lambda w: w.name == ABOUT_TITLE)
    window.desktop.click(*centre(window.button(about, "OK")))
    window.tree.wait_window_gone("the about box to close", about)


def check_layout(window):
    check_centred(window, "the main window", window.frame, vertically=False)
    origin = window.client_origin()
    for player in range(1, PLAYERS + 1):
        for label, rect in ((window.names, NAME_RECTS), (window.scores, SCORE_RECTS)):
            x, y, w, h = pixel_rect(rect[player - 1])
            expected = (origin[0] + x, origin[1] + y, w, h)
            if extents(label[player - 1]) != expected:
                raise E2eFailure(f"player {player}'s label {label[player - 1].name!r} is at "
                                 f"{extents(label[player - 1])}, expected {expected}")


def plant_help_file():
    """A working directory for the program holding a 301.hlp that is not the program's."""
    directory = tempfile.mkdtemp(prefix="ochre-e2e-cwd.")
    atexit.register(shutil.rmtree, directory, True)
    with open(os.path.join(directory, "301.hlp"), "w") as out:
        out.write(PLANTED_HELP)
    return directory


def check_help_is_the_installed_one(window):
    """Help > Contents shows the installed help file, never the one in the working directory."""
    text = window.help_text()
    if OUR_HELP not in text or "Planted" in text:
        raise E2eFailure(f"Help > Contents shows {text[:120]!r}, not the installed help file")
    window.close_help()


def escape_leaves_new_game_open(window):
    """Escape in the new game dialog neither closes it nor starts a match; returns the dialog."""
    dialog = window.open_new_game()
    window.desktop.click(*centre(descendants(dialog, pyatspi.ROLE_TEXT)[0]))
    window.escape_changes_nothing(dialog, "the new game dialog")
    blank = [window.panel(n) for n in (2, 4, 6)]
    if blank != ["", "", ""] or window.shown_players():
        raise E2eFailure(f"after Escape panels 2, 4, 6 read {blank} and players {window.shown_players()} show")
    return dialog


def escape_leaves_points_open(match, item, amount):
    """Escape neither closes the points dialog nor applies the amount; OK then applies it."""
    window = match.window
    dialog = window.open_points(item)
    window.pick(dialog, str(amount))
    window.escape_changes_nothing(dialog, "the points dialog")
    match.expect("the scores as they were after Escape in the points dialog", scores=match.shown_scores())
    window.confirm_points(dialog)
    match.adjusted(item, amount)


def switch_sound_off(window):
    _, sound = window.menu_item("File", "Sound On")
    if not is_checked(sound):
        raise E2eFailure("Sound On is not checked after start-up although the dummy audio device is there")
    window.choose("File", "Sound On")
    wait_for("Sound On to lose its check mark", lambda: (not is_checked(sound), "still checked"))


def play(window):
    _, add = window.menu_item("Score", "Add Points")
    if is_enabled(add):
        raise E2eFailure("Add Points is enabled before a match")

    # A dart before the first match counts for nothing; once the File menu is open the click has been handled.
    window.throw(*T(20))
    new_game = window.open_menu("File", "New Game")
    blank = [window.panel(n) for n in (2, 4, 6)]
    if blank != ["", "", ""]:
        raise E2eFailure(f"a dart before the first match changed panels 2, 4, 6 to {blank}")
    window.close_menu(new_game)
    window.fill_in_new_game(escape_leaves_new_game_open(window), PLAYERS, GAME, TYPED)
    if window.shown_players() != list(range(1, PLAYERS + 1)):
        wait_for("the panels of players 1 to 3 to show",
                 lambda: (window.shown_players() == [1, 2, 3], window.shown_players()))
    match = Match(window)
    match.expect("the new match", active="Ann", hit="0", total="0", names=list(SHOWN), scores=["501"] * 3)
    window.wait_colours(1, PLAYERS)
    check_layout(window)
    if not is_enabled(add):
        raise E2eFailure("Add Points is still disabled once the match has started")

    match.turn([T(20), T(20), T(20)])               # Ann 321
    match.turn([S(20), s(1), S(18)])                # Tom & Jerry 462
    match.turn([BULL, INNER_BULL, MISS])            # Sam 426
    match.turn([T(20), T(20), T(20)])               # Ann 141
    match.turn([D(20), D(20), T(20)])               # Tom & Jerry 322
    match.turn([T(19), T(19), T(19)])               # Sam 255
    escape_leaves_points_open(match, "Add Points", 20)  # Ann 161
    match.adjust("Subtract Points", 25)             # Ann 136
    match.turn([T(20), T(20), T(20)])               # Ann busts: 180 > 136, stays on 136
    match.turn([S(5), D(3), T(11)])                 # Tom & Jerry 278
    match.turn([s(12), D(9), S(14)])                # Sam 211
    match.turn([T(20), T(16), D(14)])               # Ann 136 - 136 = 0: wins

    # After the win the board takes no darts; once the File menu is open the click has been handled.
    window.throw(*T(20))
    exit_item = window.open_menu("File", "Exit")
    match.expect("a dart after the win to change nothing", active="Tom & jerry", hit="0", total="0",
                 scores=["0", "278", "211"])
    window.close_menu(exit_item)


def opened_addresses(log):
    try:
        with open(log) as recorded:
            return recorded.read().split()
    except FileNotFoundError:
        return []


def check_double_click_opens_one_address(window, log):
    """One double click on the web panel hands the address to the desktop once."""
    window.desktop.double_click(*centre(window.panels[6]))
    wait_for("the web panel to open its address", lambda: (bool(opened_addresses(log)), "nothing opened"))
    # Once the File menu is open both clicks have been handled; the recorder is given a moment to write.
    entry = window.open_menu("File", "New Game")
    window.close_menu(entry)
    time.sleep(0.5)
    if opened_addresses(log) != [WEB_ADDRESS]:
        raise E2eFailure(f"one double click on the web panel opened {opened_addresses(log)}, "
                         f"expected {WEB_ADDRESS!r} once")


def ink_columns(window, label):
    """Dark pixels per column of a name label, inside its one-pixel frame."""
    x, y, width, height = extents(label)
    pixels = window.desktop.pixels(x + 1, y + 1, width - 2, height - 2, window.main_x_window())
    return [sum(1 for row in range(height - 2) if sum(pixels[row * (width - 2) + column]) < 384)
            for column in range(width - 2)]


def ink_span(columns):
    inked = [i for i, count in enumerate(columns) if count]
    return inked[0], inked[-1]


def check_long_name_shows_its_start(window):
    """A name too long for its label is drawn uncut from its first letter: it starts as its first word alone."""
    window.new_game(2, 301, LONG_TYPED)
    window.wait_state("the whole names in the accessibility tree", 2, names=list(LONG_SHOWN))

    def probe():
        name, word = (ink_columns(window, label) for label in window.names[:2])
        (first, last), (word_first, word_last) = ink_span(name), ink_span(word)
        word = word[word_first:word_last + 1]
        start = name[first:first + len(word)]
        difference = sum(abs(a - b) for a, b in zip(start, word)) / sum(word)
        cut = first == 0 or last == len(name) - 1
        return not cut and difference < 0.25, (f"ink in columns {first} to {last} of {len(name)}; its start differs "
                                               f"from {LONG_SHOWN[1]!r} alone by {difference:.0%}")
    seen = wait_for(f"{LONG_SHOWN[0]!r} to be drawn uncut, starting as {LONG_SHOWN[1]!r} does", probe)
    print(f"{LONG_SHOWN[0]!r}: {seen}")


def check_dialogs_at_another_scale(window):
    """Moved to the monitor that Qt scales, the main window opens its dialogs there, each at that scale and
    centred on it: New Game twice, its window kept from the other monitor, and a notice."""
    scaled = scaled_screen()
    if not scaled:
        return
    screen, factor = scaled
    main = window.top_level("the main window", window.frame)
    window.desktop.move(main.window, screen[0] + 40, screen[1] + 40)
    primary = window.desktop.windows_screen
    window.desktop.windows_screen, window.desktop.scale = screen, factor
    wait_for(f"the main window to show its board at a scale of {factor:g}",
             lambda: (extents(window.board)[2] == round(BOARD_SIZE * factor), extents(window.board)))
    window.new_game(3, 301, TYPED)
    window.new_game(3, 301, TYPED)
    match = Match(window)
    match.scores = [301] * PLAYERS
    for _ in range(PLAYERS):
        match.turn([T(20), T(20), T(20)])           # each at 121
    match.turn([T(20), T(20), T(20)])               # Ann busts: 180 > 121
    print(f"at a scale of {factor:g}: New Game {FIRST_SIZES[PLAYERS_TITLE]} and the notice "
          f"{FIRST_SIZES['notice']} at {factor:g} times that size, centred to a pixel")
    window.desktop.windows_screen, window.desktop.scale = primary, 1.0


def run(executable):
    desktop = Desktop()
    pyatspi.Registry.getDesktop(0)  # starts the accessibility bus before the program looks for it
    # The desktop's web handler is a recorder that opens nothing.
    handler = tempfile.mkdtemp(prefix="web-handler-", dir=os.environ.get("XDG_RUNTIME_DIR"))
    atexit.register(shutil.rmtree, handler, ignore_errors=True)
    opened = os.path.join(handler, "opened")
    with open(os.path.join(handler, "xdg-open"), "w") as script:
        script.write(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{opened}'\n")
    os.chmod(os.path.join(handler, "xdg-open"), 0o755)
    env = program_environment(handler)
    if os.environ.get("XDG_SESSION_TYPE") == "wayland":
        desktop.wait_window_manager()
    started = time.monotonic()
    program = subprocess.Popen([executable], env=env, cwd=plant_help_file())
    write_pid("E2E_PID_FILE", program.pid)
    try:
        tree = AppTree(program.pid)
        window = OchrelineWindow(tree, desktop)
        window.dialog_check = lambda what, dialog: check_dialog(window, what, dialog)
        check_startup(tree, window, started)
        if os.environ.get("E2E_WINDOW_MANAGER"):
            check_framed(window)
        switch_sound_off(window)
        check_double_click_opens_one_address(window, opened)
        check_help_is_the_installed_one(window)
        open_about_box(window)
        play(window)
        check_long_name_shows_its_start(window)
        check_dialogs_at_another_scale(window)
        window.choose("File", "Exit")
        check_ended(program, "File > Exit")
    finally:
        end(program)
    print(f"match played and program closed {time.monotonic() - started:.1f} s after launch")
    check_second_start(executable, desktop, env)


def program_environment(handler):
    """The session's environment, the platform left to the program's own choice."""
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", SDL_AUDIODRIVER="dummy",
               PATH=f"{handler}:{os.environ.get('PATH', '/usr/bin:/bin')}")
    env.pop("QT_ACCESSIBILITY", None)
    env.pop("QT_QPA_PLATFORM", None)
    return env


def check_second_start(executable, desktop, env):
    """The start-up placement holds at every start, not only at the first."""
    program = subprocess.Popen([executable], env=env, cwd=plant_help_file())
    write_pid("E2E_PID_FILE", program.pid)
    try:
        tree = AppTree(program.pid)
        check_start_up_placement(tree, OchrelineWindow(tree, desktop))
    finally:
        end(program)


def check_ended(program, how, timeout=10):
    """The program ends by itself with status 0 after what was done to end it."""
    try:
        code = program.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise E2eFailure(f"the program was still running {timeout} s after {how}")
    if code != 0:
        raise E2eFailure(f"the program ended with status {code} after {how}")


def end(program):
    if program.poll() is None:
        program.send_signal(signal.SIGKILL)
        program.wait()


def write_pid(variable, pid):
    """Lets the caller end a process should this script itself be stopped."""
    path = os.environ.get(variable)
    if path:
        with open(path, "w") as out:
            out.write(f"{pid}\n")
        # The process is gone by then: its number may be reused. A second program writes the same file.
        atexit.register(remove_quietly, path)


def remove_quietly(path):
    with contextlib.suppress(FileNotFoundError):
        os.remove(path)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: test_match.py PATH_TO_OCHRELINE")
    write_pid("E2E_DRIVER_PID_FILE", os.getpid())
    run_driver(run, sys.argv[1])


if __name__ == "__main__":
    main()
