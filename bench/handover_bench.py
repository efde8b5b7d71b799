#!/usr/bin/env python3
"""What a second start costs the user: from the second process's start until it has handed over
to the running instance ("ended 0", which comes only once the running instance has answered that
it came to the front) and the running instance has come to the front ("raised"), and, apart from
that, until the second process has ended (its Qt shutdown, which the user does not wait for).

Runs the start-up tests' helper (tests/helpers/instance_helper.cpp, built as
build/tests/tovakin_instance_helper) N times (default 15) on Qt's offscreen platform, in a copy of
the application folder, each time with a first instance started afresh, and prints each time and
the medians in milliseconds. Every run has a home and a runtime folder of its own.

  bench/handover_bench.py build/tests/tovakin_instance_helper build/Tovakin [N]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def line(process):
    return process.stdout.readline().strip()


def one_run(helper, app_dir, env):
    first = subprocess.Popen([helper, app_dir], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=env)
    try:
        if line(first) != "ready":
            raise SystemExit("the first instance did not start")
        started = time.monotonic()
        second = subprocess.Popen([helper, app_dir], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                  env=env)
        if line(second) != "ended 0":
            raise SystemExit("the second start did not hand over")
        handed = time.monotonic()
        if not line(first).startswith("raised"):
            raise SystemExit("the first instance was not raised")
        raised = time.monotonic()
        second.wait(timeout=60)
        ended = time.monotonic()
        return (max(handed, raised) - started) * 1000, (ended - started) * 1000
    finally:
        first.kill()
        first.wait()


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    helper, source = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 15
    work = tempfile.mkdtemp(prefix="tovakin-handover-bench-")
    try:
        app_dir = os.path.join(work, "Tovakin")
        shutil.copytree(source, app_dir, symlinks=True)
        home, runtime = os.path.join(work, "home"), os.path.join(work, "run")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=home, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"))
        one_run(helper, app_dir, env)  # warm the file cache
        waited, whole = [], []
        for _ in range(runs):
            w, e = one_run(helper, app_dir, env)
            waited.append(w)
            whole.append(e)
            print(f"{w:8.1f} ms to the hand-over and the raise  ({e:7.1f} ms until the second process ended)")
        print(f"median {statistics.median(waited):.1f} ms to the hand-over and the raise, "
              f"{statistics.median(whole):.1f} ms until the second process ended")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
