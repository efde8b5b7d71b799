"""The guarding questions on a real X server: an e' above the largest any method names (7000 kN/m²)
is adopted only after a Yes; No leaves the dialog open with the focus in the e' box, so the next
typing replaces the value. The value confirmed reaches the report's deflection check. A safety
factor typed with the kana-mode point is read as typed; a 設計たわみ率 of 30 is asked about before
the report file is chosen."""
import os
import shutil
import unittest

import harness
import struct

from test_abort import ENTERS_TO_PRESS_THE_CONDITION_BUTTON, KISOZAI_TITLE, NAIGAIATU_TITLE
from test_main_road import FINISHED_TITLE, SAVE_DIALOG_TITLE, sheets_as_text

QUESTION_TITLE = "^Tovakin$"  # the save question carries the program's title, as the main window may
GUARD_TITLE = "^確認して下さい。$"  # every question that guards a slip


class LargeReactionModulus(harness.DesktopTestCase):
    def question(self, main, title=GUARD_TITLE):
        return self.desktop.wait_window(title, besides=main)

    def no_question(self, main):
        self.desktop.wait_gone(GUARD_TITLE, besides=main)

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
        question = self.question(main, QUESTION_TITLE)  # the changed document: save? いいえ
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

        question = self.desktop.wait_window(GUARD_TITLE, besides=main)  # on S below 1
        self.desktop.screenshot(os.path.join(self.work, "question.png"))
        self.desktop.send_keys(question, "Return")  # the default button: いいえ
        self.desktop.wait_gone(GUARD_TITLE, besides=main)
        self.assertEqual(len(self.desktop.windows(NAIGAIATU_TITLE)), 1, "No keeps the dialog open")

        # The focus is back in S; Cancel lies past n and OK.
        self.desktop.send_keys(dialog, "Tab", "Tab", "Tab", "Return")
        self.desktop.wait_gone(NAIGAIATU_TITLE)
        # Nothing was taken over: the document is unchanged, so it closes without a save question.
        self.desktop.send_keys(main, "alt+f", "x")
        self.assertEqual(program.wait(), 0)
        with open(path, "rb") as f:
            self.assertEqual(struct.unpack_from("<d", f.read(), S_OFFSET)[0], 2.0)


    def test_a_safety_factor_typed_with_the_kana_mode_point_is_stored_as_typed(self):
        program = self.start_program(self.design_file("rigid"))  # S 2.00
        path = os.path.join(self.work, "rigid.PIPEDATA")
        main = self.main_window(program)
        self.desktop.send_keys(main, "alt+h")
        dialog = self.desktop.wait_window(NAIGAIATU_TITLE)
        self.desktop.send_keys(dialog, "Tab")
        # "." in kana mode gives "。"; the input method hands the box the text whole, as a paste does.
        self.desktop.paste_text(dialog, "１。５")
        self.desktop.send_keys(dialog, "Return", "Return", "Return")  # S to n, n to OK, OK
        self.desktop.wait_gone(NAIGAIATU_TITLE)
        self.desktop.send_keys(main, "alt+f", "s")

        def read_s():
            with open(path, "rb") as f:
                return struct.unpack_from("<d", f.read(), S_OFFSET)[0]

        harness.wait_for(lambda: read_s() != 2.0, 10, "the typed S in the saved file")
        self.assertEqual(read_s(), 1.5)
        self.desktop.send_keys(main, "alt+f", "x")
        self.assertEqual(program.wait(), 0)


# From the title box, Enter reaches the flexible panel's e' button one Enter before it presses it;
# Tab then runs through 19, 20 and 22 to 設計たわみ率 (box 23).
KEYS_TO_THE_DEFLECTION_RATIO = ["Return"] * (ENTERS_TO_PRESS_THE_CONDITION_BUTTON - 1) + ["Tab"] * 4


class LargeDeflectionRatio(harness.DesktopTestCase):
    def test_a_deflection_ratio_of_30_is_asked_about_before_the_report_file(self):
        program = self.start_program(self.design_file("flexible"))  # 設計たわみ率 3.0
        main = self.main_window(program)
        self.desktop.send_keys(main, *KEYS_TO_THE_DEFLECTION_RATIO)
        self.desktop.type_text(main, "30")
        self.desktop.send_keys(main, "alt+c")  # 計算する(&C), the focus left in the box
        question = self.desktop.wait_window(GUARD_TITLE, timeout=120, besides=main)  # on 設計たわみ率
        self.assertEqual(self.desktop.windows(SAVE_DIALOG_TITLE), [], "asked before the report file")
        self.desktop.screenshot(os.path.join(self.work, "question.png"))
        self.desktop.send_keys(question, "Return")  # いいえ, focused
        self.desktop.wait_gone(GUARD_TITLE)
        self.assertEqual(self.desktop.windows(SAVE_DIALOG_TITLE), [], "no report file is chosen after いいえ")
        self.assertFalse(os.path.exists(os.path.join(self.work, "flexible.xlsx")))
        self.desktop.send_keys(main, "alt+f", "x")
        self.desktop.send_keys(self.desktop.wait_window(QUESTION_TITLE, besides=main), "alt+n")
        self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    unittest.main()
