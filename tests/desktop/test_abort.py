"""中止 in an error box inside a dialog, with and without a changed document: the program asks about the
changed document, then ends with status 1, without a crash or a sanitizer report; Cancel on the
question keeps it running."""
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
        found = lambda: [w for w in self.desktop.windows(SAVE_QUESTION_TITLE) if w != main] or None
        return harness.wait_for(found, 30, "the save question")[-1]

    def wait_no_question(self, main):
        harness.wait_for(lambda: [w for w in self.desktop.windows(SAVE_QUESTION_TITLE) if w != main] == [], 30,
                         "the question to close")


if __name__ == "__main__":
    unittest.main()
