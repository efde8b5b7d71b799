"""Tests of the built program on a real X server, driven from outside as a user would.

Each test gets a desktop of its own: an Xvfb server on a display number the server picks itself
(-displayfd, so ctest -j runs tests side by side) with openbox as window manager, a copy of the
built application folder in a temporary folder, and a home folder of its own (the stored window
placement never reaches the user's). The program runs as a separate process; windows are found by
title with xdotool and get real key events through the X server (XTest). The keyboard goes to a
window only once it is activated: call `activate` (or `send_keys`, which does it) before typing.

Reuse, in a test script beside this module:

    import harness

    class Placement(harness.DesktopTestCase):
        def test_main_window_opens(self):
            program = self.start_program()                 # the copied folder's program
            main = self.desktop.wait_window(harness.MAIN_TITLE)
            self.desktop.send_keys(main, "alt+f", "x")    # File > Exit
            self.assertEqual(program.wait(), 0)

A script test_*.py in this folder is a ctest test of its own, desktop.<script name>:
tests/desktop/desktop_tests.cmake finds the scripts by a glob, so a new one needs no registering
(the next build configures again and picks it up).
Environment: TOVAKIN_APPDIR names the built application folder (set by ctest);
TOVAKIN_DESIGN_FILES the folder of the named cases' design files ("flexible", "rigid"; written at
build time by tests/helpers/design_file_writer.cpp, set by ctest);
TOVAKIN_DESKTOP_ARTIFACTS, when set, is where a failing test leaves its screenshot and the
program's output (default: the system's temporary folder).

Every wait has a timeout (scaled by TOVAKIN_DESKTOP_TIMEOUT_SCALE, default 1, for slow builds);
nothing sleeps a fixed time where a condition can be waited for. A run whose standard error holds
a sanitizer report fails the test (`Program.wait` checks it).
"""
import atexit
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

MAIN_TITLE = r"^Tovakin"
ERROR_BOX_TITLE = "エラーが発生しました"
# The title of the program's save dialogs (design files and reports).
SAVE_DIALOG_TITLE = "^ファイルの保存$"
TIMEOUT_SCALE = float(os.environ.get("TOVAKIN_DESKTOP_TIMEOUT_SCALE", "1"))
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "SUMMARY: UndefinedBehaviorSanitizer")
HERE = os.path.dirname(os.path.abspath(__file__))


def _own_home():
    """Gives this test process (and the X server, window manager and tools it starts) a home and
    XDG folders of its own, so that nothing reads or writes the developer's; each test's program
    gets a further home of its own (DesktopTestCase.program_env)."""
    root = tempfile.mkdtemp(prefix="tovakin-test-home-")
    for variable, folder in (("HOME", "home"), ("XDG_CONFIG_HOME", "home/.config"),
                             ("XDG_DATA_HOME", "home/.local/share"), ("XDG_STATE_HOME", "home/.local/state"),
                             ("XDG_CACHE_HOME", "home/.cache"), ("XDG_RUNTIME_DIR", "run")):
        path = os.path.join(root, folder)
        os.makedirs(path, mode=0o700, exist_ok=True)
        os.chmod(path, 0o700)
        os.environ[variable] = path
    atexit.register(shutil.rmtree, root, True)


_own_home()


def scaled(seconds):
    return seconds * TIMEOUT_SCALE


def wait_for(condition, timeout, what, interval=0.05):
    """Polls condition() until it returns something true; fails with `what` after timeout s."""
    deadline = time.monotonic() + scaled(timeout)
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {scaled(timeout):.0f} s waiting for {what}")
        time.sleep(interval)


class Desktop:
    """An Xvfb server with openbox. `display` is ":N" once started."""

    def __init__(self, width=1280, height=1024):
        self.size = (width, height)
        self.display = None
        self._server = None
        self._wm = None

    def start(self):
        read_end, write_end = os.pipe()
        self._server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.size[0]}x{self.size[1]}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"
        self._wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(),
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # openbox is ready once it has announced itself on the root window.
        wait_for(lambda: "window id" in self._run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
                 20, "openbox")
        return self

    def stop(self):
        for process in (self._wm, self._server):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def env(self, extra=None):
        env = dict(os.environ, DISPLAY=self.display)
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("QT_QPA_PLATFORM", None)
        if extra:
            env.update(extra)
        return env

    def _run(self, args, check=False):
        done = subprocess.run(args, env=self.env(), capture_output=True, text=True, timeout=scaled(30))
        if check and done.returncode != 0:
            raise AssertionError(f"{' '.join(args)} failed: {done.stderr}")
        return done.stdout

    def xdotool(self, *args):
        return self._run(["xdotool", *args])

    # ---- windows ----------------------------------------------------------------------------

    def windows(self, title, visible=True):
        """The ids of the windows whose title matches the regular expression `title`."""
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", title]
        return [int(w) for w in self.xdotool(*args).split()]

    def title(self, window):
        return self.xdotool("getwindowname", str(window)).strip()

    def window_type(self, window):
        """The window's kind as the program declares it: "DIALOG" (a box or a dialog), "NORMAL"
        (the main window), "SPLASH", or "" for a window that is gone or declares none."""
        text = self._run(["xprop", "-id", str(window), "_NET_WM_WINDOW_TYPE"])
        found = re.search(r"_NET_WM_WINDOW_TYPE_(\w+)", text)
        return found.group(1) if found else ""

    def dialogs(self):
        """The visible boxes and dialogs, read from one listing of the windows and the kind each
        declares, not from their titles: a main window or splash that appears meanwhile is none
        of them, whichever comes first."""
        return [w for w in self.windows(".") if self.window_type(w) == "DIALOG"]

    def wait_window(self, title, timeout=30, besides=()):
        """The newest visible window with a matching title, waiting for it to appear. Windows in
        `besides` are never it: a box titled as the main window may be looked for before it shows,
        and the main window must not be taken for it meanwhile."""
        besides = {besides} if isinstance(besides, int) else set(besides)
        return wait_for(lambda: ([w for w in self.windows(title) if w not in besides] or [None])[-1],
                        timeout, f"a window titled {title!r}")

    def wait_gone(self, title, timeout=30, besides=()):
        besides = {besides} if isinstance(besides, int) else set(besides)
        wait_for(lambda: not [w for w in self.windows(title) if w not in besides], timeout,
                 f"the window titled {title!r} to close")

    def activate(self, window):
        """Raises the window and gives it the keyboard (through the window manager)."""
        self.xdotool("windowactivate", "--sync", str(window))
        wait_for(lambda: self.xdotool("getactivewindow").strip() == str(window), 10,
                 f"window {window} to become active")

    def send_keys(self, window, *keys):
        """Activates the window, then presses each key (xdotool names: "Return", "alt+c", "Tab")."""
        self.activate(window)
        for key in keys:
            self.xdotool("key", "--clearmodifiers", key)

    def click(self, window, x, y):
        """Clicks the left button at (x, y) inside the window (its client area)."""
        self.activate(window)
        self.xdotool("mousemove", "--window", str(window), str(x), str(y), "click", "1")

    def wait_replaced(self, window, title, timeout=30):
        """After a box closed on an answer: waits for it to go and for its successor to come."""
        wait_for(lambda: window not in self.windows(title), timeout, f"window {window} to close")
        return self.wait_window(title, timeout)

    def type_text(self, window, text):
        self.activate(window)
        self.xdotool("type", "--delay", "20", text)

    def paste_text(self, window, text):
        """Puts the text on the clipboard and pastes it with Ctrl+V. Characters outside the keyboard's
        map (kanji, 〜) are typed by xdotool through a key it re-maps for each one, and a program that
        reads the key after the next re-mapping gets the next character: pasted, they arrive whole."""
        subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode("utf-8"), env=self.env(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=scaled(30), check=True)
        self.send_keys(window, "ctrl+v")

    def screenshot(self, path):
        self._run(["import", "-display", self.display, "-window", "root", path])
        return path


class Program:
    """The program running in the desktop; its output goes to files in `folder`."""

    def __init__(self, desktop, executable, args, folder, env):
        self.folder = folder
        self.stdout_path = os.path.join(folder, "stdout.txt")
        self.stderr_path = os.path.join(folder, "stderr.txt")
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen([executable, *args], cwd=folder, env=desktop.env(env),
                                            stdin=subprocess.DEVNULL, stdout=out, stderr=err)

    def output(self):
        with open(self.stderr_path, encoding="utf-8", errors="replace") as err:
            return err.read()

    def stdout(self):
        with open(self.stdout_path, encoding="utf-8", errors="replace") as out:
            return out.read()

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=60):
        """The exit status; fails on a timeout, a crash (a signal) or a sanitizer report."""
        try:
            status = self.process.wait(timeout=scaled(timeout))
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {scaled(timeout):.0f} s")
        text = self.output()
        for mark in SANITIZER_MARKS:
            if mark in text:
                raise AssertionError(f"sanitizer report:\n{text}")
        if status < 0:
            raise AssertionError(f"the program died of signal {-status}:\n{text}")
        return status

    def kill(self):
        if self.running():
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()


class DesktopTestCase(unittest.TestCase):
    """A test with its own desktop (self.desktop), application folder (self.app_dir) and home.

    start_program() runs the copied program; tearDown kills what still runs, keeps a screenshot
    and the program's output of a failing test, and removes the rest."""

    def setUp(self):
        # A case without its program fails: a run that tested nothing must not pass.
        source = os.environ.get("TOVAKIN_APPDIR")
        if not source or not os.path.isfile(os.path.join(source, "tovakin")):
            self.fail("TOVAKIN_APPDIR does not name the built application folder (build the target tovakin)")
        self.work = tempfile.mkdtemp(prefix="tovakin-desktop-")
        self.app_dir = os.path.join(self.work, "Tovakin")
        shutil.copytree(source, self.app_dir, symlinks=True)
        self.home = os.path.join(self.work, "home")
        self.runtime = os.path.join(self.work, "run")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)
        self.programs = []
        self.desktop = Desktop().start()

    def tearDown(self):
        failed = self._failed()
        if failed:
            self._keep_evidence()
        for program in self.programs:
            program.kill()
        self.desktop.stop()
        shutil.rmtree(self.work, ignore_errors=True)

    def _failed(self):
        outcome = getattr(self, "_outcome", None)
        result = getattr(outcome, "result", None)
        if result is None:
            return False
        return any(test is self for test, _ in result.errors + result.failures)

    def _keep_evidence(self):
        folder = os.environ.get("TOVAKIN_DESKTOP_ARTIFACTS") or tempfile.gettempdir()
        os.makedirs(folder, exist_ok=True)
        stem = os.path.join(folder, re.sub(r"[^A-Za-z0-9_.-]", "_", self.id()))
        try:
            self.desktop.screenshot(stem + ".png")
        except Exception as e:  # the evidence must not hide the failure
            print(f"no screenshot: {e}")
        for index, program in enumerate(self.programs):
            shutil.copy(program.stderr_path, f"{stem}.{index}.stderr.txt")
        print(f"screenshot and output of the failed test: {stem}.*")

    def program_env(self):
        env = {"HOME": self.home, "XDG_RUNTIME_DIR": self.runtime, "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
               "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
               "XDG_STATE_HOME": os.path.join(self.home, ".local", "state"),
               "XDG_CACHE_HOME": os.path.join(self.home, ".cache")}
        suppressions = os.path.join(HERE, "lsan.supp")
        env["LSAN_OPTIONS"] = f"suppressions={suppressions}:print_suppressions=0"
        env.setdefault("ASAN_OPTIONS", os.environ.get("ASAN_OPTIONS", "detect_leaks=1"))
        return env

    def save_as(self, main, name):
        """名前を付けて保存 of the active document under `name` (pasted whole, so kanji and 〜 arrive as
        they stand), in the folder the dialog proposes; returns once the dialog has closed."""
        self.desktop.send_keys(main, "alt+f", "a")
        dialog = self.desktop.wait_window(SAVE_DIALOG_TITLE)
        self.desktop.send_keys(dialog, "ctrl+a")
        self.desktop.paste_text(dialog, name)
        self.desktop.send_keys(dialog, "Return")
        self.desktop.wait_gone(SAVE_DIALOG_TITLE)

    def design_file(self, case):
        """A copy of a named case's design file ("flexible", "rigid") in the test's folder."""
        folder = os.environ.get("TOVAKIN_DESIGN_FILES")
        source = os.path.join(folder or "", f"{case}.PIPEDATA")
        if not folder or not os.path.isfile(source):
            self.fail("TOVAKIN_DESIGN_FILES does not hold the named cases' design files "
                      "(build the target tovakin_design_fixtures)")
        path = os.path.join(self.work, f"{case}.PIPEDATA")
        shutil.copy(source, path)
        return path

    def start_program(self, *args, folder=None):
        """Starts the copied program with the arguments; its working folder is `folder` or a new one."""
        folder = folder or tempfile.mkdtemp(dir=self.work, prefix="run-")
        program = Program(self.desktop, os.path.join(self.app_dir, "tovakin"), list(args), folder,
                          self.program_env())
        self.programs.append(program)
        return program

    def main_window(self, program, timeout=60):
        """Waits for the main window of `program`; fails at once if the program ends first."""
        def found():
            if not program.running():
                raise AssertionError(f"the program ended ({program.process.returncode}) before its main "
                                     f"window showed:\n{program.output()}")
            return (self.desktop.windows(MAIN_TITLE) or [None])[-1]
        return wait_for(found, timeout, "the main window")
