"""The main window as a user finds it: its stored placement stays put run after run and its outer
frame on screen is what is stored; after a maximized close it reopens inside the screen; at the
first-start size the document area scrolls to the first document, and a fourth document opens
where its caption can be seen.

Positions are read through the window manager (the client window and the frame extents openbox
announces), pictures with ImageMagick's `import` as raw PPM, so nothing beyond the harness's tools
is needed."""
import configparser
import os
import re
import subprocess
import unittest

import harness

TWIPS_PER_PIXEL = 15
FIRST_START = {"MainLeft": "1000", "MainTop": "1000", "MainWidth": "6500", "MainHeight": "6500"}
SAVE_QUESTION_TITLE = "^Tovakin$"  # the save question carries the program's title
WHEEL_UP, WHEEL_DOWN, WHEEL_LEFT, WHEEL_RIGHT = "4", "5", "6", "7"


class Picture:
    """A screenshot of the root window, read from ImageMagick's binary PPM."""

    def __init__(self, desktop):
        done = subprocess.run(["import", "-display", desktop.display, "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, timeout=harness.scaled(30), check=True)
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", done.stdout)
        self.width, self.height = int(header.group(1)), int(header.group(2))
        self.pixels = done.stdout[header.end():]

    def row(self, y, left, width):
        start = (y * self.width + left) * 3
        return self.pixels[start:start + width * 3]

    def changed_share(self, other, rect):
        """The share of the pixels of `rect` (left, top, width, height) that differ in `other`."""
        left, top, width, height = rect
        changed = 0
        for y in range(top, top + height):
            mine, theirs = self.row(y, left, width), other.row(y, left, width)
            if mine != theirs:
                changed += sum(mine[i:i + 3] != theirs[i:i + 3] for i in range(0, width * 3, 3))
        return changed / (width * height)

    def caption_rows(self, rect):
        """The rows of `rect` of which most pixels have an active caption's strong blue."""
        left, top, width, height = rect
        rows = []
        for y in range(top, top + height):
            line = self.row(y, left, width)
            blue = sum(1 for i in range(0, width * 3, 3) if line[i + 2] >= 150 and line[i + 2] - line[i] >= 80)
            if blue >= width // 2:
                rows.append(y)
        return rows


def bands(rows, least=10):
    """Consecutive row numbers grouped into (first, last) bands of at least `least` rows (a
    focused box's frame has the same blue, a row or two high)."""
    found = []
    for y in rows:
        if found and y == found[-1][1] + 1:
            found[-1] = (found[-1][0], y)
        else:
            found.append((y, y))
    return [(first, last) for first, last in found if last - first + 1 >= least]


class MainWindowTestCase(harness.DesktopTestCase):
    def settings_path(self):
        return os.path.join(self.home, ".config", "Tovakin", "Tovakin.conf")

    def stored(self):
        """The stored placement as written: {key: text}; {} while nothing is stored."""
        if not os.path.exists(self.settings_path()):
            return {}
        parser = configparser.ConfigParser()
        parser.optionxform = str
        parser.read(self.settings_path(), encoding="utf-8")
        section = parser["Settings"] if parser.has_section("Settings") else {}
        return {key: section[key] for key in FIRST_START if key in section}

    @staticmethod
    def pixels_of(stored):
        """The stored twips as the pixel rectangle (left, top, width, height) the window takes."""
        return tuple(round(float(stored[key]) / TWIPS_PER_PIXEL) for key in FIRST_START)

    def client(self, window):
        """The window's inside on the screen: (left, top, width, height)."""
        info = self.desktop._run(["xwininfo", "-id", str(window)])
        value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"))

    def frame(self, window):
        """The window's outer rectangle on the screen, the window manager's frame included."""
        extents = self.desktop._run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"])
        numbers = re.findall(r"\d+", extents.split("=", 1)[-1]) if "=" in extents else []
        left, right, top, bottom = (int(n) for n in numbers) if len(numbers) == 4 else (0, 0, 0, 0)
        x, y, width, height = self.client(window)
        return (x - left, y - top, width + left + right, height + top + bottom)

    def maximized(self, window):
        state = self.desktop._run(["xprop", "-id", str(window), "_NET_WM_STATE"])
        return "_NET_WM_STATE_MAXIMIZED_VERT" in state and "_NET_WM_STATE_MAXIMIZED_HORZ" in state

    def wait_frame(self, window, expected, timeout=20):
        """Waits for the window's outer frame to be `expected`; fails naming the last one seen."""
        seen = []

        def placed():
            seen.append(self.frame(window))
            return seen[-1] == expected

        try:
            harness.wait_for(placed, timeout, f"the frame {expected}")
        except AssertionError:
            self.fail(f"the window's outer frame is {seen[-1]}, not {expected} as stored")

    def exit_unchanged(self, program, main):
        """File > Exit; the program ends with no question (no document was changed)."""
        self.desktop.send_keys(main, "alt+f", "x")
        question = lambda: [w for w in self.desktop.windows(SAVE_QUESTION_TITLE) if w != main]
        harness.wait_for(lambda: not program.running() or question(), 60, "the program to end")
        self.assertEqual(question(), [], "closing asks about a document that was never changed")
        self.assertEqual(program.wait(), 0)

    def wait_picture(self, condition, what, timeout=20):
        """Takes screenshots until condition(picture) holds; returns that picture."""
        return harness.wait_for(lambda: (lambda p: p if condition(p) else None)(Picture(self.desktop)),
                                timeout, what, interval=0.1)

    def settled_picture(self, rect):
        """A screenshot once the window has painted: two in a row nearly alike inside `rect`."""
        previous = [Picture(self.desktop)]

        def alike(picture):
            same = picture.changed_share(previous[0], rect) < 0.005
            previous[0] = picture
            return same

        return self.wait_picture(alike, "the window to finish painting")

    def drag(self, main, x, y, dx, dy):
        """Drags with the left button from (x, y) inside the main window by (dx, dy)."""
        self.desktop.xdotool("mousemove", "--window", str(main), str(x), str(y), "mousedown", "1",
                             "mousemove", "--window", str(main), str(x + dx), str(y + dy), "mouseup", "1",
                             "mousemove", str(self.desktop.size[0] - 1), str(self.desktop.size[1] - 1))

    def wheel(self, main, x, y, button, turns=3):
        """Turns the wheel `turns` notches at (x, y) inside the main window, without activating it,
        then takes the pointer off the window (a scroll bar under it is drawn highlighted)."""
        self.desktop.xdotool("mousemove", "--window", str(main), str(x), str(y),
                             "click", "--repeat", str(turns), "--delay", "30", button,
                             "mousemove", str(self.desktop.size[0] - 1), str(self.desktop.size[1] - 1))


class StoredPlacement(MainWindowTestCase):
    def test_an_untouched_window_stores_the_same_placement_run_after_run_and_stands_where_it_is_stored(self):
        self.assertEqual(self.stored(), {}, "a first start: nothing stored")
        expected = self.pixels_of(FIRST_START)
        for run in range(4):
            with self.subTest(run=run):
                program = self.start_program()
                main = self.main_window(program)
                self.wait_frame(main, expected)
                self.exit_unchanged(program, main)
                self.assertEqual(self.stored(), FIRST_START)

    def test_after_a_maximized_close_the_window_reopens_inside_the_screen_and_stays_there(self):
        screen = (0, 0) + self.desktop.size
        program = self.start_program()
        main = self.main_window(program)
        self.wait_frame(main, self.pixels_of(FIRST_START))
        left, top, width, _ = self.frame(main)
        # openbox maximizes on a double click on the caption.
        self.desktop.activate(main)
        self.desktop.xdotool("mousemove", str(left + width // 2), str(top + 8),
                             "click", "--repeat", "2", "--delay", "80", "1")
        harness.wait_for(lambda: self.maximized(main) and self.frame(main) == screen, 20,
                         "the window maximized over the whole screen")
        self.exit_unchanged(program, main)
        stored = self.stored()
        self.assertEqual(self.pixels_of(stored), screen, "a maximized window stores its maximized rectangle")

        for run in range(2):
            with self.subTest(run=run):
                program = self.start_program()
                main = self.main_window(program)
                # Not maximized, and its whole frame inside the screen: the caption and the status
                # bar at the inside's bottom can be reached.
                self.wait_frame(main, screen)
                self.assertFalse(self.maximized(main))
                x, y, w, h = self.client(main)
                self.assertLessEqual(y + h, screen[3], "the status bar is on the screen")
                self.exit_unchanged(program, main)
                self.assertEqual(self.stored(), stored, "the placement stays as it was stored")


class DocumentsWithinReach(MainWindowTestCase):
    def first_start(self):
        program = self.start_program()
        main = self.main_window(program)
        self.wait_frame(main, self.pixels_of(FIRST_START))
        # Active from the start, so that no picture changes with the activation.
        self.desktop.activate(main)
        return program, main, self.client(main)

    def test_at_the_first_start_size_a_scroll_bar_brings_the_rest_of_the_first_document(self):
        program, main, inside = self.first_start()
        top, width, height = inside[1], inside[2], inside[3]
        start = self.settled_picture(inside)
        (_, caption_bottom), = bands(start.caption_rows(inside))  # the first document's
        scrolled = lambda p: p.changed_share(start, inside) > 0.05
        as_before = lambda p: p.changed_share(start, inside) < 0.01
        # The vertical scroll bar runs down the window's right edge. The first document opens at
        # the area's top, so with the area at its top the bar's thumb starts beside its caption,
        # just below the bar's up arrow.
        bar, thumb = width - 6, caption_bottom - top + 10
        with self.subTest(by="dragging the vertical scroll bar's thumb"):
            self.drag(main, bar, thumb, 0, 100)
            self.wait_picture(scrolled, "the document scrolled up")
            self.wheel(main, bar, thumb, WHEEL_UP, turns=20)
            self.wait_picture(as_before, "the document back at its top")
        with self.subTest(by="the wheel over the document, across"):
            self.wheel(main, width // 2, height // 2, WHEEL_RIGHT)
            self.wait_picture(scrolled, "the document scrolled to the left")
            self.wheel(main, width // 2, height // 2, WHEEL_LEFT, turns=20)
            self.wait_picture(as_before, "the document back at its left edge")
        self.exit_unchanged(program, main)

    def test_the_wheel_over_a_list_scrolls_the_area_and_leaves_the_list(self):
        # A list that took the focus from the wheel would change its entry, and with it the case:
        # closing would then ask to save it.
        program, main, inside = self.first_start()
        start = self.settled_picture(inside)
        (_, caption_bottom), = bands(start.caption_rows(inside))
        # The pipe-kind list (管種) lies 68 to 88 pixels down the document, from 128 across.
        x, y = 128 + 60, caption_bottom - inside[1] + 1 + 78
        self.wheel(main, x, y, WHEEL_DOWN, turns=1)
        self.wait_picture(lambda p: p.changed_share(start, inside) > 0.05, "the document scrolled up")
        self.exit_unchanged(program, main)

    def test_with_three_documents_open_a_fourth_opens_with_its_caption_in_the_area(self):
        program, main, inside = self.first_start()
        # The first document opens at the area's top left with its caption active.
        first = self.settled_picture(inside)
        captions = bands(first.caption_rows(inside))
        self.assertEqual(len(captions), 1, captions)
        (area_top, caption_bottom), = captions
        caption_height = caption_bottom - area_top + 1
        x, y, width, height = inside
        for count in (2, 3, 4):
            before = self.settled_picture(inside)

            def new_caption(picture):
                # Each new document takes the front: one active caption, with its own title.
                found = bands(picture.caption_rows(inside))
                return len(found) == 1 and picture.changed_share(
                    before, (x, found[0][0], width, found[0][1] - found[0][0] + 1)) > 0

            self.desktop.send_keys(main, "ctrl+n")
            shown = self.wait_picture(new_caption, f"the caption of document {count} in the area")
            (top, bottom), = bands(shown.caption_rows(inside))
            with self.subTest(document=count):
                self.assertEqual(bottom - top + 1, caption_height, "the whole caption is seen")
                self.assertTrue(area_top <= top and bottom < y + height, (top, bottom))
        self.exit_unchanged(program, main)


if __name__ == "__main__":
    unittest.main()
