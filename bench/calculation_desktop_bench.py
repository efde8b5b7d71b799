#!/usr/bin/env python3
"""計算する to the closing question, through a real X server, as a user meets it.

Starts the built program on a design file of the flexible named case (written at build time by
tests/helpers/design_file_writer.cpp) on an Xvfb desktop of its own (the desktop tests' harness),
then N times (default 9, after one warm-up): 計算する through its access key, until the report
file dialog shows; Return in it, until the question whether to start the spreadsheet program
shows (the report is written by then); いいえ. Prints each run's two spans and their sum in
milliseconds, then the medians. The time the script takes to answer the file dialog is not
counted; windows are looked for every 10 ms, so a span is late by up to that plus one xdotool
call.

  bench/calculation_desktop_bench.py build/Tovakin build/fixtures/flexible.PIPEDATA [N]
"""
import os
import shutil
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "desktop"))
import harness  # noqa: E402

SAVE_DIALOG_TITLE = "^ファイルの保存$"
FINISHED_TITLE = "^計算が終了しました。$"


def wait_new(desktop, title, known, timeout=120):
    """The first window titled `title` that is not in `known`, polled every 10 ms."""
    def found():
        return next((w for w in desktop.windows(title) if w not in known), None)
    return harness.wait_for(found, timeout, f"a window titled {title!r}", interval=0.01)


def one_run(desktop, main, known, report):
    if os.path.exists(report):
        os.remove(report)  # no question about replacing it
    desktop.activate(main)
    started = time.monotonic()
    desktop.xdotool("key", "--clearmodifiers", "alt+c")
    dialog = wait_new(desktop, SAVE_DIALOG_TITLE, known)
    to_dialog = time.monotonic() - started
    known.add(dialog)
    desktop.activate(dialog)
    accepted = time.monotonic()
    desktop.xdotool("key", "--clearmodifiers", "Return")
    question = wait_new(desktop, FINISHED_TITLE, known)
    to_question = time.monotonic() - accepted
    known.add(question)
    desktop.send_keys(question, "alt+n")
    harness.wait_for(lambda: question not in desktop.windows(FINISHED_TITLE), 30, "the question to close")
    return to_dialog * 1e3, to_question * 1e3


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    app_source, design_source = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 9
    work = tempfile.mkdtemp(prefix="tovakin-bench-")
    desktop = None
    program = None
    try:
        app_dir = os.path.join(work, "Tovakin")
        shutil.copytree(app_source, app_dir, symlinks=True)
        design = os.path.join(work, "case.PIPEDATA")
        shutil.copy(design_source, design)
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "run")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        desktop = harness.Desktop().start()
        env = {"HOME": home, "XDG_RUNTIME_DIR": runtime, "XDG_CONFIG_HOME": os.path.join(home, ".config")}
        program = harness.Program(desktop, os.path.join(app_dir, "tovakin"), [design], work, env)
        main_window = desktop.wait_window(harness.MAIN_TITLE + "$", 60)
        report = os.path.join(work, "case.xlsx")  # the name the file dialog proposes
        known = set()
        one_run(desktop, main_window, known, report)  # warm-up: the file dialog's first show, the caches
        dialogs, questions, totals = [], [], []
        for _ in range(runs):
            to_dialog, to_question = one_run(desktop, main_window, known, report)
            dialogs.append(to_dialog)
            questions.append(to_question)
            totals.append(to_dialog + to_question)
            print(f"{to_dialog:8.1f} ms to the file dialog  {to_question:8.1f} ms to the question  "
                  f"{to_dialog + to_question:8.1f} ms in all")
        print(f"median {statistics.median(totals):.1f} ms over {runs} runs (to the file dialog "
              f"{statistics.median(dialogs):.1f} ms, from it to the question {statistics.median(questions):.1f} ms)")
        desktop.send_keys(main_window, "alt+f", "x")
        program.wait()
    finally:
        if program:
            program.kill()
        if desktop:
            desktop.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
