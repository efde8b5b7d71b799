"""The start: the hand-over from a second start to the running program, and starts with a damaged
settings file or pipe-material workbook (their messages, then the main window or the end, never a
crash)."""
import os
import shutil
import unittest

import harness

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
DESIGN_FILE = os.path.join(SOURCE, "tests", "fuzz", "corpus", "design_file", "seed-record.pipedata")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


class Startup(harness.DesktopTestCase):
    def boxes(self):
        """Every visible box (a window that declares itself a dialog)."""
        return self.desktop.dialogs()

    def answer_until_settled(self, program, key="Return"):
        """Presses `key` in each box (Return: its default button) until the main window shows
        alone or the program ends; returns (the titles of the boxes answered, the main window or
        None)."""
        answered = []

        def settled():
            if not program.running():
                return ("ended",)
            boxes = self.boxes()
            if boxes:
                box = boxes[-1]
                answered.append(self.desktop.title(box))
                try:
                    self.desktop.send_keys(box, key)
                except AssertionError:
                    pass  # the box closed meanwhile
                return None
            mains = self.desktop.windows(harness.MAIN_TITLE + "$")
            return ("main", mains[-1]) if mains else None

        outcome = harness.wait_for(settled, 120, "the start to settle", interval=0.2)
        return answered, (outcome[1] if outcome[0] == "main" else None)

    def start_damaged(self, damage):
        """Starts twice on the damage: 中止 (the error box's default) in the first box ends the run
        with status 1 before the main window; 無視 in every box reaches the main window. Returns
        the titles of the boxes answered with 無視."""
        damage()
        program = self.start_program()
        answered, main = self.answer_until_settled(program)
        self.assertEqual(answered[:1], [harness.ERROR_BOX_TITLE], "the damage is reported in the error box")
        self.assertIsNone(main)
        self.assertEqual(program.wait(), 1, "中止 ends the start")
        damage()
        program = self.start_program()
        ignored, main = self.answer_until_settled(program, "alt+i")
        self.assertIsNotNone(main, "無視 goes on to the main window")
        self.assertEqual(set(ignored), {harness.ERROR_BOX_TITLE})
        self.end_normally(program, main)
        return ignored

    def end_normally(self, program, main):
        self.desktop.send_keys(main, "alt+f", "x")
        self.assertEqual(program.wait(), 0)

    def test_a_second_start_ends_at_once_and_brings_the_running_program_to_the_front(self):
        first = self.start_program()
        main = self.main_window(first)
        other = self.desktop.windows(".")  # a window of another program takes the front meanwhile
        self.desktop.xdotool("windowminimize", "--sync", str(main))
        case = os.path.join(self.work, "case.PIPEDATA")
        shutil.copy(DESIGN_FILE, case)
        second = self.start_program(case)
        self.assertEqual(second.wait(), 0)
        harness.wait_for(lambda: self.desktop.xdotool("getactivewindow").strip() == str(main), 30,
                         "the running program's main window in front")
        self.assertIn(main, self.desktop.windows(harness.MAIN_TITLE + "$"), "restored from the minimized state")
        # Nothing is passed on: the file is neither opened nor entered in the recent-file list.
        self.assertEqual(self.boxes(), [], other)
        ini = os.path.join(self.app_dir, "TOVAKIN.INI")
        with open(ini, "rb") as f:
            self.assertNotIn(case.encode(), f.read())
        self.end_normally(first, main)

    def remove_settings(self):
        ini = os.path.join(self.app_dir, "TOVAKIN.INI")
        if os.path.isdir(ini):
            os.rmdir(ini)
        elif os.path.exists(ini):
            os.remove(ini)
        return ini

    def test_a_settings_file_of_garbage_starts_on_the_built_in_values_without_a_message(self):
        # No section "[Tovakin]" and no known key in it: every key reads empty.
        ini = self.remove_settings()
        write(ini, b"\xff\xfe\x00[Tovakin\nGAMMA=1e999\n\x81\n" * 50)
        program = self.start_program()
        answered, main = self.answer_until_settled(program)
        self.assertEqual(answered, [])
        self.end_normally(program, main)

    def test_a_settings_value_that_is_no_number_is_reported_in_the_error_box(self):
        ini = os.path.join(self.app_dir, "TOVAKIN.INI")
        ignored = self.start_damaged(
            lambda: write(self.remove_settings(), "[Tovakin]\r\n土の単位体積重量=abc\r\n".encode("cp932")))
        self.assertEqual(len(ignored), 1, "one key, one failing conversion")
        with open(ini, "rb") as f:
            self.assertIn("土の単位体積重量=abc".encode("cp932"), f.read(), "the file is not rewritten at start")

    def test_a_folder_in_place_of_the_settings_file_is_reported_in_the_error_box(self):
        self.start_damaged(lambda: os.makedirs(self.remove_settings()))

    def test_a_damaged_pipe_material_workbook_is_reported_in_the_error_box(self):
        # The workbook by its name: the database beside it (Tovakin.MDB) is rebuilt at every start.
        workbook = os.path.join(self.app_dir, "DATABASE", "Tovakin.xlsx")
        self.assertTrue(os.path.isfile(workbook))
        self.start_damaged(lambda: write(workbook, b"PK\x03\x04 this is no workbook" * 100))


if __name__ == "__main__":
    unittest.main()
