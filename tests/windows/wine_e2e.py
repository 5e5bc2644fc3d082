"""The Windows program under Wine on an X display with a window manager, from start to exit.

Run by run_wine_e2e.sh inside its own X display, with a private sound server whose sink it records:
usage wine_e2e.py WINE_RUN PREFIX PROGRAM.exe. Wine shows no accessibility tree on the X side, so the
program is read through its X windows (titles, geometry, pixels) and driven with the mouse and keyboard.
Wine draws the Windows frames itself (the prefix says Decorated=N), so an X window is a Windows window,
frame included, as the program placed it; openbox still manages and lists it. E2E_SCALE is the scale
the prefix's Windows is set to (its LogPixels over 96): every size the program draws grows with it.
"""

import importlib.util
import os
import subprocess
import sys
import time
from collections import Counter

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "e2e"))

from desktop import Desktop, E2eFailure, centring, run_driver, wait_for  # noqa: E402
from ochreline_window import (BOARD_CENTRE, BOARD_ORIGIN, MAIN_TITLE, PLAYERS_TITLE, STARTUP_TITLE,  # noqa: E402
                              board_point)
from test_match import check_ended, check_splash_ticks, end, write_pid  # noqa: E402

WM_CLASS = "ochreline.exe"
SCALE = float(os.environ.get("E2E_SCALE") or 1)


def scaled(size):
    return tuple(round(v * SCALE) for v in size)


# The client area below the menu bar, the splash's and the notice's client areas, in pixels at 100 %
# (twips / 15).
CLIENT_SIZE = scaled((721, 508))
SPLASH_SIZE = scaled((411, 77))
NOTICE_SIZE = scaled((185, 44))
# The most a Windows frame adds to a client area across and down, caption included.
MOST_FRAME = scaled((20, 40))
# Windows places by whole pixels: a window is centred to within one.
TOLERANCE = 1
# The File menu's items from the top; separators and borders are not text.
FILE_ITEMS = ("New Game", "Sound On", "Exit")


def load_record_sink():
    path = os.path.join(here, "..", "sound-fixtures", "record-sink.py")
    spec = importlib.util.spec_from_file_location("record_sink", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


class WineProgram:
    """The program's windows as X shows them, found by their class and title."""

    def __init__(self, desktop):
        self.desktop = desktop

    def windows(self):
        return self.desktop.top_levels_of_class(WM_CLASS)

    def titles(self):
        return [(w.title, w.client[2:]) for w in self.windows()]

    def wait_window(self, what, match, timeout=5.0):
        def probe():
            found = [w for w in self.windows() if match(w)]
            return len(found) == 1, found[0] if len(found) == 1 else f"windows (title, size): {self.titles()}"
        return wait_for(what, probe, timeout=timeout)

    def wait_gone(self, what, shown, timeout=5.0):
        wait_for(what, lambda: (all(w.window != shown.window for w in self.windows()), self.titles()),
                 timeout=timeout)

    def main_window(self, timeout=5.0):
        return self.wait_window(f"the main window {MAIN_TITLE!r}", lambda w: w.title == MAIN_TITLE, timeout)

    def answer(self, what, window):
        """Enter in a modal window presses its default button."""
        self.desktop.activate(window.window)
        self.desktop.key("Return")
        self.wait_gone(f"{what} to close", window)


def check_centred(program, what, window, vertically):
    screen = program.desktop.screen_rect()

    def probe():
        shown = [w for w in program.windows() if w.window == window.window]
        return centring(shown[0].frame, screen, vertically, TOLERANCE) if shown else (False, "gone")
    shown = wait_for(f"{what} centred across{' and down' if vertically else ', at the top'} by its outer size",
                     probe)
    print(f"{what}: {shown}")


def framed_around(window, client):
    """Untitled, its frame a Windows frame around a client area of that size (none, for a borderless one)."""
    width, height = window.frame[2:]
    return (window.title not in (MAIN_TITLE, STARTUP_TITLE) and 0 <= width - client[0] <= MOST_FRAME[0]
            and 0 <= height - client[1] <= MOST_FRAME[1])


def is_splash(window):
    return framed_around(window, SPLASH_SIZE)


def is_notice(window):
    return framed_around(window, NOTICE_SIZE)


def check_startup(program, started):
    main = program.main_window(timeout=30)
    check_centred(program, "the main window", main, vertically=False)
    splash = program.wait_window("the splash", is_splash, 15)
    print(f"the splash's title as Windows has it: {splash.title!r}")
    splash_seen = time.monotonic()
    check_centred(program, "the splash", splash, vertically=True)
    message = program.wait_window(f"the start-up message {STARTUP_TITLE!r}", lambda w: w.title == STARTUP_TITLE, 30)
    if any(w.window == splash.window for w in program.windows()):
        raise E2eFailure("the splash is still on screen with the start-up message")
    check_splash_ticks(time.monotonic() - splash_seen, time.monotonic() - started)
    program.answer("the start-up message", message)
    return program.main_window()


def ink_rows(pixels, width, height, ink):
    """Rows of a picture holding a pixel for which ink(pixel, background) holds, the background being the
    row's most common colour: a highlighted item's row has its own."""
    rows = []
    for row in range(height):
        line = pixels[row * width:(row + 1) * width]
        background = Counter(line).most_common(1)[0][0]
        if any(ink(p, background) for p in line):
            rows.append(row)
    return rows


def is_text(pixel, background):
    return sum(abs(a - b) for a, b in zip(pixel, background)) > 150


def is_black_text(pixel, background):
    """Menu text as Windows draws an enabled item, black; a disabled one is grey."""
    return max(pixel) < 64 and max(background) >= 128


def text_lines(rows):
    """Lines of text, (first row, last row): runs of inked rows, a mnemonic's underline a row or two
    below its letters joining them; a run of one or two rows alone is a separator's end."""
    lines = []
    for row in rows:
        if lines and row - lines[-1][1] <= 2:
            lines[-1][1] = row
        else:
            lines.append([row, row])
    return [tuple(line) for line in lines if line[1] - line[0] >= 2]


def file_menu_enabled(program, main):
    """Which File menu items are drawn in the menu's black text (enabled) rather than greyed."""
    program.desktop.activate(main.window)
    program.desktop.key("alt+f")
    popup = wait_for("the File menu to open", lambda: (
        len(program.desktop.popups_of_class(WM_CLASS)) == 1, program.desktop.popups_of_class(WM_CLASS)))[0]
    x, y, width, height = popup

    def probe():
        # Inside the menu's border; the left column holds check marks, not text.
        left, border = scaled((24, 2))
        inner_width, inner_height = width - left - 2 * border, height - 2 * border
        pixels = program.desktop.pixels(x + left, y + border, inner_width, inner_height)
        text = text_lines(ink_rows(pixels, inner_width, inner_height, is_text))
        black = set(ink_rows(pixels, inner_width, inner_height, is_black_text))
        enabled = {item: any(first <= row <= last for row in black) for item, (first, last) in zip(FILE_ITEMS, text)}
        return len(text) == len(FILE_ITEMS), enabled if len(text) == len(FILE_ITEMS) else f"text lines {text}"
    try:
        return wait_for("the File menu's three items drawn", probe)
    finally:
        program.desktop.key("Escape")
        wait_for("the File menu to close", lambda: (not program.desktop.popups_of_class(WM_CLASS), "open"))


def start_match(program, main):
    """File > New Game by its access keys; in the dialog, Space picks the option that has the focus, two
    players, and Enter takes the choices (301)."""
    program.desktop.activate(main.window)
    program.desktop.key("alt+f")
    wait_for("the File menu to open", lambda: (bool(program.desktop.popups_of_class(WM_CLASS)), "closed"))
    program.desktop.key("n")
    dialog = program.wait_window(f"the dialog {PLAYERS_TITLE!r}", lambda w: w.title == PLAYERS_TITLE)
    check_centred(program, f"the dialog {PLAYERS_TITLE!r}", dialog, vertically=True)
    program.desktop.activate(dialog.window)
    program.desktop.key("space")
    program.answer(f"the dialog {PLAYERS_TITLE!r}", dialog)


def board_point_on_screen(main, point):
    """The client area below the menu bar is the window's lowest part, inside a frame as wide at the
    bottom as at the sides; the board lies in it. `point`: a pixel of the board picture at 100 %."""
    x, y, width, height = main.frame
    border = (width - CLIENT_SIZE[0]) // 2
    top = y + height - border - CLIENT_SIZE[1]
    return (x + border + round((BOARD_ORIGIN[0] + point[0]) * SCALE),
            top + round((BOARD_ORIGIN[1] + point[1]) * SCALE))


def board_centre(main):
    return board_point_on_screen(main, (int(BOARD_CENTRE), int(BOARD_CENTRE)))


def check_bust_notice(program, main):
    """After the bull of check_dart_sound, player 1 misses twice (251 left); then, player 2 missing every
    time, player 1 throws three treble 20s (71 left) and three again: a bust, whose notice is centred on the
    screen; Enter presses its button."""
    treble_20 = board_point_on_screen(main, board_point("treble", 20))
    miss = board_point_on_screen(main, board_point("number ring", 20))
    for point in [miss] * 5 + [treble_20] * 3 + [miss] * 3 + [treble_20] * 3:
        program.desktop.click(*point)
    notice = program.wait_window("the notice", is_notice, timeout=15)
    check_centred(program, "the notice", notice, vertically=True)
    program.answer("the notice", notice)


def check_dart_sound(desktop, main, device):
    """A dart on the board plays HIT where the program found a sound device, and nothing where it found
    none: what reaches the private sound server's sink (through Wine's winepulse) while the board is clicked."""
    record_sink = load_record_sink()
    recording = record_sink.MonitorRecording(os.environ["SOUND_TEST_MONITOR"])
    if not recording.wait_until(0, 10):
        recording.proc.kill()
        raise E2eFailure("the sink's recording did not start: " + recording.proc.stderr.read().decode().strip())
    desktop.click(*board_centre(main))
    clicked_ms = record_sink.wall_ms()
    # HIT lasts 0.33 s; the monitor's data arrives in fragments of up to 2 s.
    recording.wait_until(clicked_ms + 3000, 8)
    loud = sum(1 for level in recording.stop() if level > record_sink.THRESHOLD)
    hit = os.path.join(here, "..", "..", "resources", "HIT.wav")
    expected = record_sink.wave_figures(hit)[0] if device else 0
    print(f"sound device {'reported' if device else 'not reported'}: the dart gave {loud} non-silent samples "
          f"at the sink, expected {'at least ' if device else ''}{expected}")
    if (loud < expected) if device else (loud != 0):
        raise E2eFailure(f"a dart with the sound device {'reported' if device else 'not reported'} gave "
                         f"{loud} non-silent samples at the sink, expected {'at least ' if device else ''}{expected}")


def run(wine_run, prefix, executable):
    desktop = Desktop()
    program = WineProgram(desktop)
    started = time.monotonic()
    process = subprocess.Popen([wine_run, prefix, executable], cwd=os.path.dirname(executable))
    write_pid("E2E_PID_FILE", process.pid)
    try:
        main = check_startup(program, started)
        enabled = file_menu_enabled(program, main)
        if not (enabled["New Game"] and enabled["Exit"]):
            raise E2eFailure(f"the File menu's items read as enabled: {enabled}; New Game and Exit always are")
        start_match(program, main)
        check_dart_sound(desktop, main, device=enabled["Sound On"])
        check_bust_notice(program, main)
        desktop.close_window(MAIN_TITLE)
        check_ended(process, "its window was closed (WM_DELETE_WINDOW)", timeout=15)
    finally:
        end(process)
    print(f"started, played a dart and closed {time.monotonic() - started:.1f} s after launch")


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: wine_e2e.py WINE_RUN PREFIX PROGRAM.exe")
    run_driver(run, *sys.argv[1:])


if __name__ == "__main__":
    main()
