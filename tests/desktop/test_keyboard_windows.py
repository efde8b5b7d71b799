"""The keyboard and the windows as a desktop user meets them on a real X server: Enter on the
focused button of a dialog presses it, Alt+H opens the document's dialog at every press, a design
file saved under a bare name gets its extension, a message window has no window-manager frame and
keeps the program on screen, the report notice stands beside the file dialog, and closing a
document brings back the one that was in front before it."""
import os
import shutil

import harness

OPTIONS_TITLE = "^ｵﾌﾟｼｮﾝ$"
NAIGAIATU_TITLE = "^内外圧合成式係数設定$"
SAVE_DIALOG_TITLE = harness.SAVE_DIALOG_TITLE
NOTICE_TITLE = "^計算中です$"
CHECK_TITLE = "^確認して下さい。$"
FINISHED_TITLE = "^計算が終了しました。$"


def geometry(desktop, window):
    """The window's outer rectangle on the screen (left, top, right, bottom), frame included."""
    values = {}
    for line in desktop._run(["xwininfo", "-id", str(window)]).splitlines():
        key, _, value = line.strip().partition(":")
        values[key] = value.strip()
    left, top = int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])
    width, height = int(values["Width"]), int(values["Height"])
    extents = frame_extents(desktop, window)
    return (left - extents[0], top - extents[2], left + width + extents[1], top + height + extents[3])


def frame_extents(desktop, window):
    text = desktop._run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"])
    if "=" not in text:
        return (0, 0, 0, 0)
    return tuple(int(v) for v in text.split("=")[1].split(","))


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


class KeyboardAndWindows(harness.DesktopTestCase):
    def exit_without_saving(self, program, main):
        self.desktop.send_keys(main, "alt+f", "x")
        return program.wait()

    def test_enter_on_the_focused_ok_of_the_options_dialog_stores_and_closes(self):
        program = self.start_program()
        main = self.main_window(program)
        self.desktop.send_keys(main, "alt+t", "o")  # ﾂｰﾙ > ｵﾌﾟｼｮﾝ
        options = self.desktop.wait_window(OPTIONS_TITLE)
        # Box 0 has the focus; Enter runs 0 -> 1 -> 2 -> OK, and Enter on OK presses it.
        self.desktop.type_text(options, "19")
        self.desktop.send_keys(options, "Return", "Return", "Return")
        self.assertTrue(self.desktop.windows(OPTIONS_TITLE), "Enter in the boxes presses nothing")
        self.desktop.send_keys(options, "Return")
        self.desktop.wait_gone(OPTIONS_TITLE)
        with open(os.path.join(self.app_dir, "TOVAKIN.INI"), encoding="cp932", errors="replace") as ini:
            self.assertIn("土の単位体積重量=19", ini.read())
        self.assertEqual(self.exit_without_saving(program, main), 0)

    def test_alt_h_opens_the_combination_dialog_at_every_press_and_enter_on_its_cancel_closes_it(self):
        case = self.design_file("rigid")  # a rigid pipe shows 内外圧合成式の設定(&H)
        program = self.start_program(case)
        main = self.main_window(program)
        for press in range(3):
            self.desktop.send_keys(main, "alt+h")
            dialog = self.desktop.wait_window(NAIGAIATU_TITLE, timeout=10)
            # The dialog opens with the focus on Cancel: Enter presses it.
            self.desktop.send_keys(dialog, "Return")
            self.desktop.wait_gone(NAIGAIATU_TITLE)
        self.assertTrue(program.running())
        self.assertEqual(self.exit_without_saving(program, main), 0)

    def test_a_design_file_saved_under_a_bare_name_gets_its_extension(self):
        program = self.start_program()
        main = self.main_window(program)
        self.save_as(main, "caseA")
        data = os.path.join(self.app_dir, "DATA")
        harness.wait_for(lambda: os.path.isfile(os.path.join(data, "caseA.PIPEDATA")), 10, "the saved file")
        self.assertFalse(os.path.exists(os.path.join(data, "caseA")))
        self.assertEqual(os.path.getsize(os.path.join(data, "caseA.PIPEDATA")), 2800)
        self.assertEqual(self.exit_without_saving(program, main), 0)

    def test_a_check_message_has_no_frame_and_the_program_stays_on_screen(self):
        program = self.start_program()  # a new case: its check stops at the first empty value
        main = self.main_window(program)
        self.desktop.send_keys(main, "alt+c")
        message = self.desktop.wait_window(CHECK_TITLE)
        self.assertEqual(frame_extents(self.desktop, message), (0, 0, 0, 0),
                         "the window manager gives the message no frame, so no buttons")
        self.desktop.xdotool("windowminimize", str(main))
        harness.wait_for(lambda: main in self.desktop.windows(harness.MAIN_TITLE), 10, "the main window back")
        harness.wait_for(lambda: message in self.desktop.windows(CHECK_TITLE), 10, "the message back")
        self.desktop.send_keys(message, "alt+q")  # 閉じる
        self.desktop.wait_gone(CHECK_TITLE)
        self.assertEqual(self.exit_without_saving(program, main), 0)

    def test_the_report_notice_stands_beside_the_report_file_dialog(self):
        case = self.design_file("flexible")
        program = self.start_program(case)
        main = self.main_window(program)
        self.desktop.send_keys(main, "alt+c")
        dialog = self.desktop.wait_window(SAVE_DIALOG_TITLE)
        notice = self.desktop.wait_window(NOTICE_TITLE)

        def apart():
            return not overlap(geometry(self.desktop, dialog), geometry(self.desktop, notice))
        harness.wait_for(apart, 10, "the notice to stand clear of the dialog")
        self.desktop.send_keys(dialog, "Escape")
        self.desktop.wait_gone(SAVE_DIALOG_TITLE)
        self.assertEqual(self.exit_without_saving(program, main), 0)

    def test_closing_a_document_brings_back_the_one_in_front_before_it(self):
        first = self.design_file("flexible")
        second = self.design_file("rigid")
        third = os.path.join(self.work, "third.PIPEDATA")
        shutil.copy(first, third)
        program = self.start_program(first, second, third)
        main = self.main_window(program)
        # third is in front; the window list brings the first, then Ctrl+F4 closes it.
        self.desktop.send_keys(main, "alt+w", "1")
        self.desktop.send_keys(main, "ctrl+F4")
        # The document now in front names the report the calculation proposes.
        self.desktop.send_keys(main, "alt+c")
        dialog = self.desktop.wait_window(SAVE_DIALOG_TITLE)
        self.desktop.send_keys(dialog, "Return")
        question = self.desktop.wait_window(FINISHED_TITLE, timeout=120)
        self.desktop.send_keys(question, "alt+n")
        self.desktop.wait_gone(FINISHED_TITLE)
        self.assertTrue(os.path.isfile(os.path.join(self.work, "third.xlsx")), os.listdir(self.work))
        self.assertFalse(os.path.exists(os.path.join(self.work, "rigid.xlsx")))
        self.assertEqual(self.exit_without_saving(program, main), 0)


if __name__ == "__main__":
    import unittest
    unittest.main()
