"""中止 in an error box inside a dialog or the document window, with and without a changed document:
the program asks about the changed document, then ends with status 1, without a crash or a
sanitizer report; Cancel on the question keeps it running."""
import os
import unittest

import harness

OPTIONS_TITLE = "^ｵﾌﾟｼｮﾝ$"
SAVE_QUESTION_TITLE = "^Tovakin$"  # the question box carries the program's title
ABORTED_STATUS = 1


class AbortFromAnErrorBox(harness.DesktopTestCase):
    def overflow_in_options(self, main, leave_key):
        """Opens ﾂｰﾙ > ｵﾌﾟｼｮﾝ, types a number too large for any box, leaves the box with
        `leave_key`; returns the one error box."""
        self.desktop.send_keys(main, "alt+t", "o")
        options = self.desktop.wait_window(OPTIONS_TITLE)
        self.desktop.type_text(options, "1e400")
        self.desktop.send_keys(options, leave_key)
        box = self.desktop.wait_window(harness.ERROR_BOX_TITLE)
        self.assertEqual(len(self.desktop.windows(harness.ERROR_BOX_TITLE)), 1, "one failing step, one error box")
        return box

    def change_document(self, main):
        """Types a title into the empty document, so that closing it asks about saving."""
        self.desktop.type_text(main, "abc")

    def test_abort_in_the_options_dialog_by_enter_and_by_tab_ends_with_status_1(self):
        for leave_key in ("Return", "Tab"):
            with self.subTest(leave=leave_key):
                program = self.start_program()
                main = self.main_window(program)
                box = self.overflow_in_options(main, leave_key)
                self.desktop.send_keys(box, "alt+a")  # 中止
                self.assertEqual(program.wait(), ABORTED_STATUS)
                self.assertNotIn("Qt has caught an exception", program.output())

    def test_retry_shows_the_box_again_and_ignore_goes_on(self):
        program = self.start_program()
        main = self.main_window(program)
        box = self.overflow_in_options(main, "Return")
        self.desktop.send_keys(box, "alt+r")  # 再試行: the same step fails again, one box again
        box = self.desktop.wait_replaced(box, harness.ERROR_BOX_TITLE)
        self.assertEqual(len(self.desktop.windows(harness.ERROR_BOX_TITLE)), 1)
        self.desktop.send_keys(box, "alt+i")  # 無視
        self.desktop.wait_gone(harness.ERROR_BOX_TITLE)
        options = self.desktop.wait_window(OPTIONS_TITLE)
        self.desktop.send_keys(options, "alt+F4")
        self.desktop.wait_gone(OPTIONS_TITLE)
        self.assertTrue(program.running())
        self.desktop.send_keys(main, "alt+f", "x")
        self.assertEqual(program.wait(), 0)

    def test_abort_with_a_changed_document_asks_first_and_cancel_keeps_the_program(self):
        program = self.start_program()
        main = self.main_window(program)
        self.change_document(main)
        box = self.overflow_in_options(main, "Return")
        self.desktop.send_keys(box, "Return")  # the default button is 中止
        self.desktop.wait_gone(OPTIONS_TITLE)
        question = self.save_question(main)
        self.desktop.send_keys(question, "Escape")  # キャンセル
        self.wait_no_question(main)
        self.assertTrue(program.running(), "Cancel on the save question keeps the program running")
        # A second 中止, left by Tab this time; いいえ on the question ends the run.
        box = self.overflow_in_options(main, "Tab")
        self.desktop.send_keys(box, "alt+a")
        question = self.save_question(main)
        self.desktop.send_keys(question, "alt+n")  # いいえ
        self.assertEqual(program.wait(), ABORTED_STATUS)

    def save_question(self, main):
        """The box asking whether to save the changed document (titled as the main window)."""
        self.desktop.wait_gone(harness.ERROR_BOX_TITLE)
        return self.desktop.wait_window(SAVE_QUESTION_TITLE, besides=main)

    def wait_no_question(self, main):
        self.desktop.wait_gone(SAVE_QUESTION_TITLE, besides=main)


# The condition dialogs open from their buttons at the end of the document's Enter chain: from the
# title box, through the lists and boxes of the window, to the flexible panel's e' button
# (flexible case) or the combination-formula button (rigid case); one more Enter presses it.
ENTERS_TO_PRESS_THE_CONDITION_BUTTON = 24
# From the title box, the Enter chain reaches a number box of the burial conditions.
ENTERS_TO_A_BURIAL_BOX = 15
KISOZAI_TITLE = "^基礎材の反力係数設定$"
NAIGAIATU_TITLE = "^内外圧合成式係数設定$"


class AbortInsideADesignDocument(harness.DesktopTestCase):
    """A design file opened from the command line and changed (its title typed over), then a
    failing step in the document window or in one of its condition dialogs."""

    def open_changed(self, case):
        program = self.start_program(self.design_file(case))
        main = self.main_window(program)
        self.desktop.type_text(main, "x")  # the title box has the focus: the document is changed
        return program, main

    def overflow_in_condition_dialog(self, main, title, enters=ENTERS_TO_PRESS_THE_CONDITION_BUTTON):
        self.desktop.send_keys(main, *["Return"] * enters)
        dialog = self.desktop.wait_window(title)
        self.desktop.send_keys(dialog, "Tab")  # from where the dialog puts the focus to its first number box
        self.desktop.type_text(dialog, "1e400")
        self.desktop.send_keys(dialog, "Return")
        return self.one_error_box()

    def overflow_in_document_box(self, main, first=True):
        """A number beyond a double in a document box: the box check says so as the box is left,
        as a dialog's box does; the second time 計算する reads the box, which still holds it."""
        if first:
            self.desktop.send_keys(main, *["Return"] * ENTERS_TO_A_BURIAL_BOX)
            self.desktop.type_text(main, "1e400")
            self.desktop.send_keys(main, "Return")
        else:
            self.desktop.send_keys(main, "alt+c")  # 計算する(&C)
        return self.one_error_box()

    def one_error_box(self):
        box = self.desktop.wait_window(harness.ERROR_BOX_TITLE)
        self.assertEqual(len(self.desktop.windows(harness.ERROR_BOX_TITLE)), 1, "one failing step, one error box")
        return box

    def save_question(self, main):
        self.desktop.wait_gone(harness.ERROR_BOX_TITLE)
        return self.desktop.wait_window(SAVE_QUESTION_TITLE, besides=main)

    def abort_cancel_then_abort_again(self, fail, dialog_title=None):
        """中止, Cancel on the save question (the program runs on), the same failure again, 中止,
        いいえ: status 1. The design file is left as it was. fail(main, first) makes the step fail;
        the second time the focus is back where the first failure left it."""
        program, main = self.open_changed(self.case)
        with open(self.design_path, "rb") as f:
            before = f.read()
        box = fail(main, True)
        self.desktop.send_keys(box, "alt+a")  # 中止
        if dialog_title:
            self.desktop.wait_gone(dialog_title)
        question = self.save_question(main)
        self.assertTrue(program.running(), "the save question comes before the end")
        self.desktop.send_keys(question, "Escape")  # キャンセル
        self.desktop.wait_gone(SAVE_QUESTION_TITLE, besides=main)
        self.assertTrue(program.running(), "Cancel on the save question keeps the program running")
        self.assertEqual(self.desktop.windows(harness.MAIN_TITLE + "$"), [main])
        box = fail(main, False)
        self.desktop.send_keys(box, "Return")  # the default button is 中止
        question = self.save_question(main)
        self.desktop.send_keys(question, "alt+n")  # いいえ
        self.assertEqual(program.wait(), ABORTED_STATUS)
        self.assertNotIn("Qt has caught an exception", program.output())
        with open(self.design_path, "rb") as f:
            self.assertEqual(f.read(), before, "いいえ saves nothing")

    @staticmethod
    def enters(first):
        """The Enters that open the dialog: the chain the first time; after it the focus is back
        on the button that opened it."""
        return ENTERS_TO_PRESS_THE_CONDITION_BUTTON if first else 1

    def use_case(self, case):
        self.case = case
        self.design_path = os.path.join(self.work, f"{case}.PIPEDATA")

    def test_abort_in_the_document_window(self):
        self.use_case("rigid")
        self.abort_cancel_then_abort_again(self.overflow_in_document_box)

    def test_abort_in_the_e_dash_dialog(self):
        self.use_case("flexible")
        self.abort_cancel_then_abort_again(
            lambda main, first: self.overflow_in_condition_dialog(main, KISOZAI_TITLE, self.enters(first)),
            KISOZAI_TITLE)

    def test_abort_in_the_combination_formula_dialog(self):
        self.use_case("rigid")
        self.abort_cancel_then_abort_again(
            lambda main, first: self.overflow_in_condition_dialog(main, NAIGAIATU_TITLE, self.enters(first)),
            NAIGAIATU_TITLE)


if __name__ == "__main__":
    unittest.main()
