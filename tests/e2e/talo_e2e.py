"""Driver of the end-to-end scenarios: the installed program in an X server of its own.

A scenario is a script that calls run(body); body(s) gets a Session that owns one Xvfb display
with openbox, the scenario's folders and every process it starts. Any failed check raises
StepFailed: the screen and the program's stderr are kept in <build>/e2e-artifacts/<scenario>/.
Whatever happens, every process started here is stopped at the end.
"""

import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import traceback

SKIP = 77

from places import APP_TITLE, BACKUP, BACKUP_TITLE, FILE_MENU, MAIN, MAIN_TITLE, NAMES, NAMES_TITLE


def _load_scale():
    """How much longer than on an idle machine a step may take: TALO_E2E_TIMEOUT_SCALE, or the
    load per processor when the machine is busier than it has processors (at most 6)."""
    given = os.environ.get("TALO_E2E_TIMEOUT_SCALE")
    if given:
        return max(1.0, float(given))
    try:
        load = os.getloadavg()[0] / (os.cpu_count() or 1)
    except OSError:
        load = 1.0
    return min(6.0, max(1.0, load))


SLOW = _load_scale()


def scaled(seconds):
    """A timeout written for an idle machine, for this one."""
    return seconds * SLOW


class StepFailed(Exception):
    pass


class Skipped(Exception):
    pass


def _ere(text):
    """`text` as an exact POSIX extended regular expression (xdotool's --name)."""
    special = set(".[]()*+?{}|^$\\")
    return "^" + "".join("\\" + c if c in special else c for c in text) + "$"


def _wait(predicate, timeout, what):
    timeout = scaled(timeout)
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise StepFailed("timed out after %gs waiting for %s" % (timeout, what))
        time.sleep(0.1)


class Talo:
    """One running copy of the program."""

    def __init__(self, process, stderr_path, program_dir):
        self.process = process
        self.stderr_path = stderr_path
        self.program_dir = program_dir

    def running(self):
        return self.process.poll() is None

    def crash(self):
        """Ends the program the way a power cut or a crash does: no exit sequence at all."""
        self.process.send_signal(signal.SIGKILL)
        self.process.wait()

    def wait_exit(self, timeout=15):
        timeout = scaled(timeout)
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise StepFailed("the program did not end within %gs" % timeout)


class Session:
    def __init__(self, name):
        self.name = name
        self.program = os.environ["TALO_E2E_PROGRAM"]
        self.provision = os.environ["TALO_E2E_PROVISION"]
        self.help_file = os.environ["TALO_E2E_HELP"]
        self.work = os.path.join(os.environ["TALO_E2E_WORK"], name)
        self.artifacts = os.path.join(os.environ["TALO_E2E_ARTIFACTS"], name)
        self.settle = float(os.environ.get("TALO_E2E_SETTLE", "0.2"))
        self._procs = []
        self._cleanups = []
        self.talos = []
        self.step = "setting up"
        for folder in (self.work, self.artifacts):
            shutil.rmtree(folder, ignore_errors=True)
        self.home = os.path.join(self.work, "home")
        os.makedirs(self.home)
        # Sockets (the D-Bus bus) go there: a short private folder of the system's temporary
        # directory, whatever the depth of the build folder (a socket's name is short).
        self.runtime = tempfile.mkdtemp(prefix="talo-e2e-")
        self.on_close(lambda: shutil.rmtree(self.runtime, ignore_errors=True))
        self.display = None

    # ---- processes ------------------------------------------------------------------------

    def env(self, **extra):
        env = dict(os.environ)
        for key in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "SESSION_MANAGER"):
            env.pop(key, None)
        env.update(HOME=self.home, XDG_RUNTIME_DIR=self.runtime, XDG_CONFIG_HOME=self.home +
                   "/.config", LANG="C.UTF-8", LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
        if self.display:
            env["DISPLAY"] = self.display
        env.update(extra)
        return env

    def spawn(self, argv, log=None, **kw):
        out = open(log or os.devnull, "ab")
        kw.setdefault("env", self.env())
        kw.setdefault("stdin", subprocess.DEVNULL)
        p = subprocess.Popen(argv, stdout=out, stderr=out, start_new_session=True, **kw)
        out.close()
        self._procs.append(p)
        return p

    def on_close(self, action):
        """Runs `action` at the end of the scenario, whatever happened, once every process is
        stopped (last added, first run)."""
        self._cleanups.append(action)

    def tool(self, *argv, check=True, timeout=20, input=None):
        """Output of a helper tool run on the scenario's display."""
        timeout = scaled(timeout)
        try:
            r = subprocess.run(argv, env=self.env(), capture_output=True, timeout=timeout,
                               input=input)
        except subprocess.TimeoutExpired:
            raise StepFailed("%s did not answer within %gs" % (argv[0], timeout))
        if check and r.returncode != 0:
            raise StepFailed("%s failed (%d): %s" % (" ".join(argv), r.returncode,
                                                      r.stderr.decode(errors="replace")))
        return r.stdout.decode(errors="replace")

    def start_display(self):
        self.step = "starting Xvfb"
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                    "-nolisten", "tcp", "-noreset"], log=os.path.join(self.work, "xvfb.log"),
                   pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            if not select.select([read_end], [], [], max(0, deadline - time.monotonic()))[0]:
                raise StepFailed("Xvfb gave no display number")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise StepFailed("Xvfb stopped before giving a display number")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.step = "starting openbox"
        self.spawn(["openbox", "--sm-disable"], log=os.path.join(self.work, "openbox.log"))
        _wait(lambda: "window id" in self.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                               check=False), 20, "openbox")

    def close(self):
        # Asked first (Xvfb then removes its lock and socket), killed if still there.
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for p in reversed(self._procs):
                if p.poll() is None:
                    try:
                        os.killpg(p.pid, sig)
                    except ProcessLookupError:
                        pass
            for p in self._procs:
                try:
                    p.wait(3)
                except subprocess.TimeoutExpired:
                    pass
        for action in reversed(self._cleanups):
            try:
                action()
            except Exception as e:  # a cleanup never hides the scenario's own outcome
                print("cleanup: %s" % e, file=sys.stderr)

    # ---- program directories and the program --------------------------------------------

    def hooked(self, folder):
        """The program in `folder` replaced by the same program that sets its test hooks from
        the environment (TALO_TEST_ROWS_DELAY_MS, TALO_TEST_STOP_AFTER_STEP,
        TALO_CONVERSION_STOP_AFTER_STEP), which the program itself never reads."""
        shutil.copy2(os.environ["TALO_E2E_HOOKED_PROGRAM"], os.path.join(folder, "talo"))

    def program_dir(self, name="Talo", files=None, folder=None, program=None):
        """A fresh program directory as the install makes it: talo, Talo.hlp, then the empty
        tables and talo.ini from talo-provision. `files` maps extra file names to bytes."""
        self.step = "installing the program in " + name
        path = os.path.join(folder or self.work, name)
        os.makedirs(path, exist_ok=True)
        shutil.copy2(program or self.program, os.path.join(path, "talo"))
        shutil.copy2(self.help_file, os.path.join(path, "Talo.hlp"))
        subprocess.run([self.provision, path], check=True, capture_output=True)
        for file_name, data in (files or {}).items():
            with open(os.path.join(path, file_name), "wb") as f:
                f.write(data)
        return path

    def start(self, program_dir, wait_main=True, env=None):
        """Starts talo from its program directory, as a person does; waits for the main window
        unless told otherwise."""
        self.step = "starting talo in " + program_dir
        stderr_path = os.path.join(self.work, "talo-stderr-%d.txt" % (len(self.talos) + 1))
        p = self.spawn([os.path.join(program_dir, "talo")], log=stderr_path, cwd=program_dir,
                       env=self.env(**(env or {})))
        talo = Talo(p, stderr_path, program_dir)
        self.talos.append(talo)
        if wait_main:
            self.wait_window(MAIN_TITLE, timeout=30)
            time.sleep(self.settle)
        return talo

    # ---- windows ---------------------------------------------------------------------------

    def windows(self, title, visible=True, dialog=False):
        """Windows of that exact title; only dialogs (message boxes, prompts) if asked, so that
        the splash, titled like the boxes, is never taken for one."""
        argv = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + \
            ["--name", _ere(title)]
        found = [int(w) for w in self.tool(*argv, check=False).split()]
        if dialog:
            found = [w for w in found if "_NET_WM_WINDOW_TYPE_DIALOG" in self.tool(
                "xprop", "-id", str(w), "_NET_WM_WINDOW_TYPE", check=False)]
        return found

    def wait_window(self, title, timeout=10, dialog=False):
        self.step = "waiting for the window '%s'" % title
        return _wait(lambda: self.windows(title, dialog=dialog), timeout,
                     "the window '%s'" % title)[-1]

    def wait_no_window(self, title, timeout=10):
        self.step = "waiting for the window '%s' to go" % title
        _wait(lambda: not self.windows(title), timeout, "the window '%s' to go" % title)

    def watch(self, title):
        """Starts noting whether a window of that title is ever mapped; returns a function that
        tells it (polled every 50 ms until the end of the scenario)."""
        seen, stop = threading.Event(), threading.Event()

        def poll():
            while not stop.is_set() and not seen.is_set():
                if self.windows(title):
                    seen.set()
                stop.wait(0.05)
        threading.Thread(target=poll, daemon=True).start()
        self.on_close(stop.set)
        return seen.is_set

    def wait_for(self, predicate, what, timeout=10):
        self.step = "waiting for " + what
        return _wait(predicate, timeout, what)

    def activate(self, window):
        self.tool("xdotool", "windowactivate", "--sync", str(window), check=False)
        time.sleep(0.1)

    def geometry(self, window):
        out = self.tool("xdotool", "getwindowgeometry", "--shell", str(window))
        g = dict(line.split("=", 1) for line in out.split())
        return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])

    def click(self, window, x, y, button=1, double=False):
        """A click at (x, y) inside the window's client area; negative values count from the
        right or bottom edge."""
        self.step = "clicking at %d,%d in window %s" % (x, y, window)
        if x < 0 or y < 0:
            _, _, w, h = self.geometry(window)
            x, y = (x + w if x < 0 else x), (y + h if y < 0 else y)
        self.tool("xdotool", "mousemove", "--window", str(window), str(x), str(y), "click",
                  *(["--repeat", "2"] if double else []), str(button))
        time.sleep(self.settle)

    def gesture(self, window, places, steps):
        """Each step a click on a named place of `places` in `window`, or else a key."""
        for step in steps:
            if step in places:
                self.click(window, *places[step])
            else:
                self.key(step)

    def key(self, *keys):
        """Keys pressed on whatever has the focus, e.g. key("Insert"), key("ctrl+v")."""
        self.step = "pressing " + " ".join(keys)
        self.tool("xdotool", "key", "--delay", "60", *keys)
        time.sleep(self.settle)

    def type(self, text):
        self.step = "typing %r" % text
        self.tool("xdotool", "type", "--delay", "30", text)
        time.sleep(self.settle)

    def type_entry(self, date, beneficiary, doctor, cost, note):
        """Types a care entry from the date field on, Enter from field to field; Enter in the
        note posts it."""
        for text in (date, beneficiary, doctor, None, None, cost, None, note):
            if text:
                self.type(text)
            self.key("Return")

    def copy_text(self, window, x, y):
        """The text of the field at (x, y), as a person copies it: click, Ctrl+A, Ctrl+C."""
        marker = "(nothing copied)"
        self.hold_clipboard(marker)
        self.click(window, x, y)
        self.key("ctrl+a", "ctrl+c")
        return _wait(lambda: self.clipboard() != marker and [self.clipboard()], 5,
                     "the field's text on Ctrl+C")[0]

    def clipboard(self):
        return self.tool("xclip", "-o", "-selection", "clipboard", check=False)

    def hold_clipboard(self, text):
        """Puts `text` on the clipboard, held by an xclip of the scenario's own."""
        holder = self.spawn(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                            stdin=subprocess.PIPE)
        holder.stdin.write(text.encode())
        holder.stdin.close()
        _wait(lambda: self.clipboard() == text, 5, "the clipboard to hold %r" % text)

    def paste(self, text):
        """Pastes `text` with Ctrl+V, as a person pastes what they copied elsewhere."""
        self.step = "pasting %r" % text
        self.hold_clipboard(text)
        self.key("ctrl+v")

    def message(self, timeout=10):
        """Waits for a message box of the program (a dialog titled "Talo 3.0") and returns
        (window, its text), copied the way a person can: a click in the text, Ctrl+A, Ctrl+C."""
        box = self.wait_window(APP_TITLE, timeout, dialog=True)
        self.activate(box)
        marker = "(nothing copied)"
        self.hold_clipboard(marker)
        _, _, width, _ = self.geometry(box)
        self.tool("xdotool", "mousemove", "--window", str(box), str(width - 20), "20", "click",
                  "1", "key", "ctrl+a", "ctrl+c")
        text = _wait(lambda: self.clipboard().strip() not in ("", marker) and
                     self.clipboard().strip(), 5, "the message box text on Ctrl+C")
        return box, text

    def answer(self, box, key="Return"):
        """Answers a box: Return takes its default button, Escape its cancel or No."""
        self.activate(box)
        self.key(key)

    def quit(self, talo, main):
        """Quitter in the tool bar, "Oui" to the question; returns the program's exit status."""
        self.click(main, *MAIN["BtnQuitter"])
        box, text = self.message()
        self.check_equal(text, "Voulez-vous vraiment quitter Talo 3.0 ?", "the exit question")
        self.answer(box)
        self.step = "waiting for the program to end after Oui"
        return talo.wait_exit()

    def add_name(self, main, enter):
        """" Ajouter un nom" in the name list window, `enter()` typing or pasting the name, then
        the window's Quitter."""
        self.click(main, *MAIN["btnListeBenef"])
        names = self.wait_window(NAMES_TITLE)
        self.click(names, *NAMES["btnAjouter"])
        self.wait_window(" Ajouter un nom")
        enter()
        self.key("Return")
        self.click(names, *NAMES["btnQuitter"])

    def backup(self, main, new_folder, before_ok=None, double=False):
        """A backup through the dialog into a folder created there, under the home folder where
        the dialog opens the first time; `before_ok(path)` runs once the folder exists. The
        line saying what was copied where is checked and closed. Returns the folder's path.
        `double`: OK double-clicked, which must make one backup, told once."""
        self.click(main, *MAIN["btnSauvegarder"])
        dialog = self.wait_window(BACKUP_TITLE)
        self.click(dialog, *BACKUP["btnCreerDossier"])
        self.wait_window(" Créer un nouveau dossier")
        self.type(new_folder)
        self.key("Return")
        path = os.path.join(self.home, new_folder)
        self.wait_for(lambda: os.path.isdir(path), "the folder " + path)
        if before_ok:
            before_ok(path)
        self.click(dialog, *BACKUP["btnOK"], double=double)
        self.backup_done(path)
        if double:
            time.sleep(scaled(1))
            self.check(not self.windows(APP_TITLE, dialog=True),
                       "no second backup after a double click on OK")
        return path

    def backup_done(self, path):
        """The line that ends a backup into `path`, answered; the dialog then closes."""
        box, text = self.message(timeout=30)
        self.check_equal(text, "Copie terminée : 3 tables et 4 fichiers dans %s." % path,
                         "the line that ends the backup")
        self.answer(box)
        self.wait_no_window(BACKUP_TITLE, timeout=10)

    def restore_confirmed(self, box):
        """Answers the restore's confirmation `box` with Oui (Alt+O), then checks and answers the
        line that says the copy is restored."""
        self.answer(box, "alt+o")
        box, text = self.message(timeout=20)
        self.check("La copie de sauvegarde est restaurée." in text, "the outcome: %r" % text)
        self.answer(box)

    def program_with_copy(self):
        """A program directory holding one entry (MARIE, 10/01/2024), started and left with
        Quitter once, so that it holds that day's automatic copy."""
        folder = self.program_dir(files={"LSTBENEF.LST": b"TOUS\r\nMARIE\r\n"})
        self.sql(folder + "/TALO.DB", 'insert into TALO ("Date soins", Beneficiaire, Cout) '
                                      "values ('2024-01-10', 'MARIE', 25)")
        talo = self.start(folder)
        self.check_equal(self.quit(talo, self.wait_window(MAIN_TITLE)), 0, "exit status")
        copies = os.listdir(os.path.join(folder, "Sauvegardes"))
        self.check_equal(len(copies), 1, "automatic copies after the exit")
        return folder, os.path.join(folder, "Sauvegardes", copies[0])

    def file_menu(self, main, command):
        """A command of the menu "Fichier": a click on its title, Down to the command, Return."""
        self.click(main, *FILE_MENU["title"])
        self.key(*(["Down"] * FILE_MENU[command]), "Return")

    def screenshot(self, name):
        os.makedirs(self.artifacts, exist_ok=True)
        path = os.path.join(self.artifacts, name + ".png")
        self.tool("import", "-display", self.display, "-window", "root", path, check=False)
        return path

    # ---- files -----------------------------------------------------------------------------

    def sql(self, database, query):
        """Rows of `query` read with the sqlite3 tool, as dicts."""
        out = self.tool("sqlite3", "-json", database, query)
        return json.loads(out) if out.strip() else []

    @staticmethod
    def read(path):
        with open(path, "rb") as f:
            return f.read()

    @staticmethod
    def exists(path):
        return os.path.exists(path)

    def od(self, path):
        return self.tool("od", "-c", path, check=False) if os.path.exists(path) else "(absent)"

    # ---- checks ----------------------------------------------------------------------------

    def expect_rows(self, database, query, expected, what, timeout=5):
        """Waits until `query` gives `expected` (a list of dicts); fails with what it gave."""
        self.step = "reading " + what
        rows = None
        deadline = time.monotonic() + scaled(timeout)
        while rows != expected and time.monotonic() < deadline:
            time.sleep(0.1)
            rows = self.sql(database, query)
        self.check_equal(rows, expected, what)
        return rows

    def check(self, condition, what):
        if not condition:
            raise StepFailed(what)

    def check_equal(self, actual, expected, what):
        if actual != expected:
            raise StepFailed("%s: expected %r, got %r" % (what, expected, actual))

    def keep_artifacts(self, failure):
        os.makedirs(self.artifacts, exist_ok=True)
        if self.display:
            self.screenshot("failed")
        for talo in self.talos:
            if os.path.exists(talo.stderr_path):
                shutil.copy2(talo.stderr_path, self.artifacts)
        with open(os.path.join(self.artifacts, "failure.txt"), "w") as f:
            f.write(failure)


def needs_root(reason):
    """Ends the scenario as skipped unless it runs as root."""
    if os.geteuid() != 0:
        raise Skipped("needs root: " + reason)


def run(body):
    """Runs one scenario, named after its script (test_<name>.py), and exits with its status."""
    name = os.path.splitext(os.path.basename(sys.argv[0]))[0].removeprefix("test_")
    # ctest's timeout and Ctrl+C end the scenario through the same cleanup.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    s = Session(name)
    status = 0
    try:
        s.start_display()
        body(s)
        print("%s: passed" % name)
    except Skipped as e:
        print("SKIPPED %s: %s" % (name, e))
        status = SKIP
    except BaseException as e:
        detail = traceback.format_exc() if not isinstance(e, StepFailed) else ""
        failure = "%s: FAILED: %s\n(last step: %s)\n%s" % (name, e, s.step, detail)
        print(failure)
        try:
            s.keep_artifacts(failure)
            print("artifacts in " + s.artifacts)
        except Exception as keep:
            print("could not keep artifacts: %s" % keep)
        status = 1
    finally:
        s.close()
    if status != 1:
        # Program directories hold copies of the program: a passed scenario leaves none behind.
        shutil.rmtree(s.work, ignore_errors=True)
    sys.exit(status)
