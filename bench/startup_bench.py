#!/usr/bin/env python3
"""Start-up time of the program: from the process start to the main window's first paint.

Runs the built program N times (default 9) with TOVAKIN_STARTUP_BENCHMARK set, on the display
the environment names (run it under xvfb-run), after one warm-up run, and prints each time and
the median in milliseconds. The program prints the wall clock at its first paint of the main
window and ends; the time is measured from just before the process is started.

  xvfb-run -a -s "-screen 0 1280x1024x24" bench/startup_bench.py build/Tovakin/tovakin [N]
"""
import os
import statistics
import subprocess
import sys
import time


def one_run(program):
    env = dict(os.environ, TOVAKIN_STARTUP_BENCHMARK="1")
    started = time.time_ns()
    done = subprocess.run([program], env=env, capture_output=True, text=True, timeout=60)
    for line in done.stdout.splitlines():
        parts = line.split()
        if parts and parts[0] == "startup-shown":
            return (int(parts[1]) - started) / 1e6, float(parts[2])
    raise SystemExit(f"no start-up line (status {done.returncode}): {done.stdout}{done.stderr}")


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    one_run(program)  # warm the file cache
    totals, in_main = [], []
    for _ in range(runs):
        total, since_main = one_run(program)
        totals.append(total)
        in_main.append(since_main)
        print(f"{total:8.1f} ms  (of which {since_main:6.1f} ms after main began)")
    print(f"median {statistics.median(totals):.1f} ms over {runs} runs "
          f"(after main began: {statistics.median(in_main):.1f} ms)")


if __name__ == "__main__":
    main()
