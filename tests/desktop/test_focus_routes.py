"""The box a document is worked in, on every route back to a document and in every state of the
document windows: cascaded, tiled both ways, maximized, and after leaving maximized by cascading,
tiling and the restore button. Each document is left in 土かぶり (not its first box, and not the
box after it, where Qt's own focus moves put it); after each route a number is typed and the
document saved, and the saved file must hold the number as its cover depth, with the boxes
around it unchanged. One table of steps per group of states: every state and every route
appears, not every pair."""
import os
import shutil
import subprocess
import time

import harness
import test_focus_and_answers
from test_focus_and_answers import design_record, focus_seen
from test_main_window import Picture

OPTIONS_TITLE = "^ｵﾌﾟｼｮﾝ$"
KISOZAI_TITLE = "^基礎材の反力係数設定$"
SAVE_QUESTION_TITLE = "^Tovakin$"
SAVE_DIALOG_TITLE = harness.SAVE_DIALOG_TITLE
FINISHED_TITLE = "^計算が終了しました。$"
OTHER_TITLE = "^xmessage$"

# Tab stops from 計算書タイトル to 土かぶり in a flexible pipe's case.
TABS_TO_COVER = 15
# The places of the main window's client area (placed at the screen's top left, MAIN_SIZE) that
# the mouse goes to: the area of the documents, the height of a document's caption, the window
# list's first entry and the spacing of its entries, the restore button of a maximized document.
MAIN_SIZE = (1270, 1000)
AREA_TOP, AREA_HEIGHT, AREA_WIDTH = 54, 921, 1268
CAPTION = 24
LIST_ENTRY, LIST_SPACING = (400, 165), 25
RESTORE_BUTTON = (1238, 9)


class FocusRoutes(harness.DesktopTestCase):
    place_main = test_focus_and_answers.FocusAndAnswers.place_main

    def start(self, count):
        """`count` copies of a flexible case, each left in 土かぶり, cascaded; the last is in front."""
        source = self.design_file("flexible")
        self.files = []
        for n in range(1, count + 1):
            self.files.append(os.path.join(self.work, f"case{n}.PIPEDATA"))
            shutil.copy(source, self.files[-1])
        self.original = design_record(source)
        self.program = self.start_program(*self.files)
        self.main = self.main_window(self.program)
        self.place_main(self.main, 0, 0, *MAIN_SIZE)
        self.open = list(self.files)  # in the window list's order
        self.value = 1.0
        for number in range(1, count + 1):
            self.keys("alt+w", str(number), *["Tab"] * TABS_TO_COVER)
        self.keys("alt+w", "c")

    def keys(self, *keys):
        self.desktop.send_keys(self.main, *keys)

    def click(self, x, y, double=False):
        self.desktop.activate(self.main)
        self.desktop.xdotool("mousemove", "--window", str(self.main), str(x), str(y),
                             "click", *(["--repeat", "2", "--delay", "120"] if double else []), "1")

    # ---- states ---------------------------------------------------------------------------

    def cascade_caption(self, k):
        """A point of the caption of the k-th cascaded document (0 the one at the back)."""
        return 200 + k * CAPTION, AREA_TOP + k * CAPTION + CAPTION // 2

    def maximize(self):
        """Cascaded, then the document in front maximized by a double click on its caption."""
        self.keys("alt+w", "c")
        caption = self.cascade_caption(len(self.open) - 1)
        asked = [0.0]

        def maximized():
            # A busy machine may take the double click for two single ones: asked again.
            if self.maximized():
                return True
            if time.monotonic() - asked[0] > harness.scaled(2):
                self.click(*caption, double=True)
                asked[0] = time.monotonic()
            return False
        harness.wait_for(maximized, 10, "the document maximized", interval=0.2)

    def area(self):
        """The top of the documents' area on the screen (left, top, width, height)."""
        values = dict(line.strip().partition(":")[::2] for line in
                      self.desktop._run(["xwininfo", "-id", str(self.main)]).splitlines() if ":" in line)
        left, top = int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])
        return left, top + AREA_TOP, MAIN_SIZE[0] - 20, 400

    def maximized(self):
        """Whether a maximized document fills the area: its first row, a pale violet band, stands
        at the area's top, where a cascaded document has its caption."""
        left, top, _, _ = self.area()
        line = Picture(self.desktop).row(top + 12, left + 20, 200)
        pale_violet = sum(1 for i in range(0, len(line), 3)
                          if line[i] >= 150 and line[i + 2] >= 230 and line[i + 2] - line[i] >= 25)
        return pale_violet >= 60

    def switch_maximized(self):
        """Round the maximized documents once, so that each has been hidden holding the focus."""
        for _ in self.open:
            self.keys("ctrl+F6")

    # ---- routes ---------------------------------------------------------------------------

    def window_list_click(self, number):
        shown = self.program_windows()
        self.keys("alt+w")
        harness.wait_for(lambda: len(self.program_windows()) > len(shown), 10, "the window menu")
        self.click(LIST_ENTRY[0], LIST_ENTRY[1] + (number - 1) * LIST_SPACING)

    def program_windows(self):
        return self.desktop.xdotool("search", "--onlyvisible", "--pid", str(self.program.process.pid)).split()

    def dialog_and_back(self, keys, title, answer):
        self.keys(*keys)
        dialog = self.desktop.wait_window(title)
        self.desktop.send_keys(dialog, *answer)
        self.desktop.wait_gone(title)

    def calculation_and_back(self):
        self.keys("alt+c")
        self.desktop.send_keys(self.desktop.wait_window(SAVE_DIALOG_TITLE), "Return")
        question = self.desktop.wait_window(FINISHED_TITLE, timeout=120)
        self.desktop.send_keys(question, "n")
        self.desktop.wait_gone(FINISHED_TITLE)

    def other_program_and_back(self):
        other = subprocess.Popen(["xmessage", "-geometry", "+700+600", "another program"], env=self.desktop.env(),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.desktop.activate(self.desktop.wait_window(OTHER_TITLE))
            self.desktop.activate(self.main)
        finally:
            other.kill()
            other.wait()

    def close_other(self, answer):
        """Brings the last document of the window list other than the one in front to the front,
        changes it when there is an answer to give, and closes it with Ctrl+F4; the document in
        front before comes back (but for キャンセル). Returns the document closed or kept."""
        closing = [p for p in self.open if p != self.last_saved][-1]
        self.keys("alt+w", str(self.open.index(closing) + 1))
        if answer:
            self.keys("9")
        self.keys("ctrl+F4")
        if answer:
            self.desktop.send_keys(self.desktop.wait_window(SAVE_QUESTION_TITLE, besides=self.main), answer)
            self.desktop.wait_gone(SAVE_QUESTION_TITLE, besides=self.main)
        if answer != "Escape":
            self.open.remove(closing)
        return closing

    # ---- the check --------------------------------------------------------------------------

    def typed_lands_in_the_cover(self, what, expected=None):
        """Types a new cover depth and saves the document in front: the depth must be saved in
        its file, and nothing else changed. `expected` names the file, or the files it may be."""
        self.value = round(self.value + 0.1, 1)
        before = {path: os.path.getmtime(path) for path in self.open}
        self.desktop.type_text(self.main, str(self.value))
        self.keys("alt+f", "s")
        saved = harness.wait_for(lambda: [p for p in self.open if os.path.getmtime(p) != before[p]], 10,
                                 f"a saved file ({what})")
        self.assertEqual(len(saved), 1, what)
        if expected is not None:
            self.assertIn(saved[0], expected if isinstance(expected, list) else [expected], what)
        record = design_record(saved[0])
        self.assertEqual(record["dokaburi"], self.value, f"{what}: the typing went elsewhere")
        for name in ("mizohaba", "naibuMasatukaku", "title"):
            self.assertEqual(record[name], self.original[name], f"{what}: {name}")
        return saved[0]

    def route(self, name):
        """The routes back that more than one state takes, by name."""
        return {
            "Ctrl+Tab": lambda: self.keys("ctrl+Tab"),
            "Ctrl+F6": lambda: self.keys("ctrl+F6"),
            "Ctrl+Shift+F6": lambda: self.keys("ctrl+shift+F6"),
            "the options dialog": lambda: self.dialog_and_back(("alt+t", "o"), OPTIONS_TITLE, ("alt+F4",)),
            "the condition dialog": lambda: self.dialog_and_back(("alt+e",), KISOZAI_TITLE, ("alt+F4",)),
            "another program": self.other_program_and_back,
        }[name]

    def run_steps(self, state, steps):
        """Each step: a route (a name or a function) and which document comes to the front: the
        one in front before ("same"), another ("other"), or any (None)."""
        for what, route, which in steps:
            in_front = self.last_saved
            (self.route(route) if isinstance(route, str) else route)()
            others = [p for p in self.open if p != in_front]
            expected = {"same": in_front, "other": others, None: None}[which]
            self.last_saved = self.typed_lands_in_the_cover(f"{state}: {what if what else route}", expected)

    def finish(self):
        """Every document has been saved after its last change: the program ends without a question."""
        self.keys("alt+f", "x")
        self.assertEqual(self.program.wait(), 0)

    # ---- the tests ------------------------------------------------------------------------

    def test_cascaded_and_tiled_documents(self):
        self.start(3)
        self.last_saved = self.typed_lands_in_the_cover("the document in front", self.files[-1])
        tiled_h, tiled_v = AREA_HEIGHT // len(self.open), AREA_WIDTH // len(self.open)
        self.run_steps("cascaded", [
            (None, "Ctrl+Tab", "other"),
            ("a click on a caption", lambda: self.click(*self.cascade_caption(0)), "other"),
            (None, "the options dialog", "same"),
        ])
        self.keys("alt+w", "h")
        self.run_steps("tiled", [
            (None, "Ctrl+F6", "other"),
            ("the window list by click", lambda: self.window_list_click(1), None),
            (None, "the condition dialog", "same"),
            ("a click on a caption",
             lambda: (self.keys("alt+w", "h"), self.click(300, AREA_TOP + tiled_h + CAPTION // 2)), "other"),
        ])
        self.keys("alt+w", "v")
        self.run_steps("side by side", [
            (None, "Ctrl+Shift+F6", "other"),
            ("a click on a caption",
             lambda: (self.keys("alt+w", "v"), self.click(tiled_v + 150, AREA_TOP + CAPTION // 2)), "other"),
            (None, "another program", "same"),
            ("closing an unchanged document", lambda: self.close_other(None), "same"),
        ])
        self.finish()

    def test_maximized_documents(self):
        self.start(6)
        self.last_saved = self.typed_lands_in_the_cover("the document in front", self.files[-1])
        self.maximize()
        self.run_steps("maximized", [
            (None, "Ctrl+Tab", "other"),
            (None, "Ctrl+F6", "other"),
            (None, "Ctrl+Shift+F6", "other"),
            ("the window list by key", lambda: self.keys("alt+w", "1"), None),
            ("the window list by click", lambda: self.window_list_click(2), None),
            (None, "the options dialog", "same"),
            (None, "the condition dialog", "same"),
            (None, "another program", "same"),
            ("a message box", self.calculation_and_back, "same"),
        ])
        # Closing another document: the one in front before comes back, but for キャンセル.
        for answer, what in (("Escape", "キャンセル"), ("n", "いいえ"), ("y", "はい"), (None, "unchanged")):
            in_front = self.last_saved
            closing = self.close_other(answer)
            if answer == "Escape":
                self.typed_lands_in_the_cover(f"maximized: {what}, the document asked about", closing)
                self.keys("alt+w", str(self.open.index(in_front) + 1))
            self.last_saved = self.typed_lands_in_the_cover(f"maximized: closing another, {what}", in_front)
        # One box shows a selection after a switch: the one with the focus.
        self.keys("ctrl+F6")
        rows = harness.wait_for(lambda: focus_seen(Picture(self.desktop), self.area())[1], 10,
                                "the selection after a switch")
        self.assertLessEqual(rows[-1] - rows[0], CAPTION, f"more than one box shows a selection: rows {rows}")
        self.finish()

    def test_leaving_maximized_documents(self):
        self.start(3)
        self.last_saved = self.typed_lands_in_the_cover("the document in front", self.files[-1])
        n = len(self.open)
        for what, leave, caption in (
                ("cascading", lambda: self.keys("alt+w", "c"), self.cascade_caption(0)),
                ("tiling", lambda: self.keys("alt+w", "h"), (300, AREA_TOP + AREA_HEIGHT // n + CAPTION // 2)),
                ("the restore button", lambda: self.click(*RESTORE_BUTTON), self.cascade_caption(0))):
            self.maximize()
            self.switch_maximized()
            in_front = self.typed_lands_in_the_cover(f"maximized, before {what}")
            leave()
            self.last_saved = self.typed_lands_in_the_cover(f"after {what}: the document in front", in_front)
            self.run_steps(f"after {what}", [
                ("a click on the caption of another", lambda c=caption: self.click(*c), "other"),
                ("the window list by key", lambda: self.keys("alt+w", "3"), None),
            ])
        self.finish()


if __name__ == "__main__":
    import unittest
    unittest.main()
