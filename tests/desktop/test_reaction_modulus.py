"""The e' dialog on a real X server: an e' above the largest any method names (7000 kN/m2) is
adopted only after a Yes; No leaves the dialog open with the focus in the e' box, so the next
typing replaces the value. The value confirmed reaches the report's deflection check."""
import os
import shutil
import unittest

import harness
import struct

from test_abort import ENTERS_TO_PRESS_THE_CONDITION_BUTTON, KISOZAI_TITLE, NAIGAIATU_TITLE
from test_main_road import FINISHED_TITLE, SAVE_DIALOG_TITLE, sheets_as_text

QUESTION_TITLE = "^Tovakin$"  # the question box carries the program's title, as the main window may


class LargeReactionModulus(harness.DesktopTestCase):
    def question(self, main):
        found = lambda: [w for w in self.desktop.windows(QUESTION_TITLE) if w != main] or None
        return harness.wait_for(found, 30, "the question on the large e'")[-1]

    def no_question(self, main):
        harness.wait_for(lambda: [w for w in self.desktop.windows(QUESTION_TITLE) if w != main] == [], 30,
                         "the question to close")

    def test_a_large_e_dash_is_asked_about_and_no_returns_to_its_box(self):
        self.assertTrue(shutil.which("soffice"), "LibreOffice (soffice) is not installed")
        program = self.start_program(self.design_file("flexible"))  # e' entered as 3000
        main = self.main_window(program)
        self.desktop.send_keys(main, *["Return"] * ENTERS_TO_PRESS_THE_CONDITION_BUTTON)
        dialog = self.desktop.wait_window(KISOZAI_TITLE)
        self.desktop.send_keys(dialog, "Tab")  # from the method to its e' box
        self.desktop.type_text(dialog, "8000")
        self.desktop.send_keys(dialog, "Return", "space")  # Enter moves to OK, Space presses it

        question = self.question(main)
        self.desktop.screenshot(os.path.join(self.work, "question.png"))
        self.desktop.send_keys(question, "alt+n")  # いいえ
        self.no_question(main)
        self.assertEqual(len(self.desktop.windows(KISOZAI_TITLE)), 1, "No keeps the dialog open")

        # The focus is in the e' box with its text selected: typing replaces 8000.
        self.desktop.type_text(dialog, "9000")
        self.desktop.send_keys(dialog, "Return", "space")
        question = self.question(main)
        self.desktop.send_keys(question, "alt+y")  # はい: the engineer stands by the value
        self.desktop.wait_gone(KISOZAI_TITLE)

        self.desktop.send_keys(main, "alt+c")  # 計算する(&C)
        self.desktop.send_keys(self.desktop.wait_window(SAVE_DIALOG_TITLE), "Return")
        finished = self.desktop.wait_window(FINISHED_TITLE, timeout=120)
        self.desktop.send_keys(finished, "alt+n")
        self.desktop.wait_gone(FINISHED_TITLE)
        self.desktop.send_keys(main, "alt+f", "x")
        question = self.question(main)  # the changed document: save? いいえ
        self.desktop.send_keys(question, "alt+n")
        self.assertEqual(program.wait(), 0)

        sheets = sheets_as_text(os.path.join(self.work, "flexible.xlsx"), os.path.join(self.work, "csv"))
        self.assertIn("9000.00", sheets["たわみ率計算"], "the confirmed e' in the deflection check")
        self.assertNotIn("8000.00", sheets["たわみ率計算"])


# Where the design file keeps the safety factor S of the combination formula (a little-endian double).
S_OFFSET = 958


class SmallSafetyFactor(harness.DesktopTestCase):
    """A safety factor typed as 0.25 for 2.5 in the rhythm of Enter presses: Enter on OK asks, and
    Enter on the question answers いいえ, so S stays as it was."""

    def test_enter_on_the_question_of_a_safety_factor_below_one_keeps_s(self):
        program = self.start_program(self.design_file("rigid"))  # S 2.00, n 2.00
        path = os.path.join(self.work, "rigid.PIPEDATA")
        main = self.main_window(program)
        self.desktop.send_keys(main, "alt+h")  # 内外圧合成式の設定(&H)
        dialog = self.desktop.wait_window(NAIGAIATU_TITLE)
        self.desktop.send_keys(dialog, "Tab")  # from Cancel past the disabled Apply to S
        self.desktop.type_text(dialog, "0.25")
        self.desktop.send_keys(dialog, "Return", "Return")  # S to n, n to OK
        self.desktop.send_keys(dialog, "Return")  # OK

        found = lambda: [w for w in self.desktop.windows(QUESTION_TITLE) if w != main] or None
        question = harness.wait_for(found, 30, "the question on S below 1")[-1]
        self.desktop.screenshot(os.path.join(self.work, "question.png"))
        self.desktop.send_keys(question, "Return")  # the default button: いいえ
        harness.wait_for(lambda: [w for w in self.desktop.windows(QUESTION_TITLE) if w != main] == [], 30,
                         "the question to close")
        self.assertEqual(len(self.desktop.windows(NAIGAIATU_TITLE)), 1, "No keeps the dialog open")

        # The focus is back in S; Cancel lies past n and OK.
        self.desktop.send_keys(dialog, "Tab", "Tab", "Tab", "Return")
        self.desktop.wait_gone(NAIGAIATU_TITLE)
        # Nothing was taken over: the document is unchanged, so it closes without a save question.
        self.desktop.send_keys(main, "alt+f", "x")
        self.assertEqual(program.wait(), 0)
        with open(path, "rb") as f:
            self.assertEqual(struct.unpack_from("<d", f.read(), S_OFFSET)[0], 2.0)


if __name__ == "__main__":
    unittest.main()
