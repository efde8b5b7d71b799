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
    def boxes(self, main_title=harness.MAIN_TITLE):
        """Every visible window that is not a main window."""
        mains = set(self.desktop.windows(main_title + "$"))
        return [w for w in self.desktop.windows(".") if w not in mains]

    def answer_until_settled(self, program):
        """Presses each box's default button until the main window shows alone or the program
        ends; returns (the titles of the boxes answered, the main window or None)."""
        answered = []

        def settled():
            if not program.running():
                return ("ended",)
            boxes = self.boxes()
            if boxes:
                box = boxes[-1]
                answered.append(self.desktop.title(box))
                try:
                    self.desktop.send_keys(box, "Return")
                except AssertionError:
                    pass  # the box closed meanwhile
                return None
            mains = self.desktop.windows(harness.MAIN_TITLE + "$")
            return ("main", mains[-1]) if mains else None

        outcome = harness.wait_for(settled, 120, "the start to settle", interval=0.2)
        return answered, (outcome[1] if outcome[0] == "main" else None)

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

    def test_damaged_settings_files_never_crash_the_start(self):
        ini = os.path.join(self.app_dir, "TOVAKIN.INI")
        damages = {
            "garbage": lambda: write(ini, b"\xff\xfe\x00[Tovakin\nGAMMA=1e999\n\x81\n" * 50),
            "folder": lambda: os.makedirs(ini),
        }
        for name, damage in damages.items():
            with self.subTest(damage=name):
                if os.path.isdir(ini):
                    os.rmdir(ini)
                elif os.path.exists(ini):
                    os.remove(ini)
                damage()
                program = self.start_program()
                _, main = self.answer_until_settled(program)
                if main:
                    self.end_normally(program, main)
                else:
                    self.assertIn(program.wait(), (0, 1))

    def test_a_damaged_pipe_material_workbook_is_reported_never_a_crash(self):
        database = os.path.join(self.app_dir, "DATABASE")
        workbook = [f for f in os.listdir(database) if f.lower().startswith("tovakin.")][0]
        write(os.path.join(database, workbook), b"PK\x03\x04 this is no workbook" * 100)
        program = self.start_program()
        answered, main = self.answer_until_settled(program)
        self.assertTrue(answered, "the damaged workbook is reported")
        if main:
            self.end_normally(program, main)
        else:
            self.assertIn(program.wait(), (0, 1))


if __name__ == "__main__":
    unittest.main()
