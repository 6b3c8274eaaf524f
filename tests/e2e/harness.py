"""Runs QuirnMobileTool.exe under Wine on a private X display and looks at what it shows.

A Session holds the display (Xvfb) and a Wine prefix of its own whose default desktop is Wine's
virtual desktop "quirn", with a taskbar and its notification area, and the font substitutes the
program's Japanese texts need. Tests start the program, find its window by title, click at
client coordinates, wait for conditions, take screenshots and compare regions with the committed
pictures in res/art, and read the files the program keeps.

Session.stop() ends everything the session started, also after a failure; tools/test-e2e.sh
ends the prefix's wineserver and the display once more should this process die.
"""

import json
import os
import re
import shutil
import signal
import socket
import subprocess
import threading
import time
import unittest
import urllib.parse
from pathlib import Path

from PIL import Image, ImageChops, ImageFont, ImageGrab

REPO = Path(__file__).resolve().parents[2]
ART = REPO / "res" / "art"

APP_TITLE = "Quirn Mobile Tool"
EXE_NAME = "QuirnMobileTool.exe"
PROFILE_NAME = "QuirnMobileTool.INI"
SHORTCUT_NAME = "QuirnMobileTool.lnk"
# Wine's virtual desktop, the prefix's default one, as tools/lib.sh sets it up.
DESKTOP_NAME = "quirn"
DESKTOP_SIZE = (1024, 768)
DESKTOP_GEOMETRY = f"{DESKTOP_SIZE[0]}x{DESKTOP_SIZE[1]}"

# Where the program lives inside the prefix; its profile is written beside it.
INSTALL_DIR_WIN = "C:\\quirn"
EXE_WIN = INSTALL_DIR_WIN + "\\" + EXE_NAME

IPA_P_GOTHIC = Path("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf")
IPA_GOTHIC = Path("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf")

# Wine's caption colour of an inactive window.
INACTIVE_CAPTION = (128, 128, 128)


class HarnessError(AssertionError):
    """Something a test waited for did not happen, or the harness could not do its part."""


def wait_until(condition, timeout, what, interval=0.1):
    """Calls `condition` until it returns a true value, and returns that value; fails after
    `timeout` seconds with a message naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise HarnessError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


# --- pictures ---

def art(name):
    """A committed picture from res/art, as RGB."""
    return Image.open(ART / name).convert("RGB")


# The display scales the program's pictures are drawn at, in percent.
PICTURE_SCALES = (100, 125, 150, 175, 200)


def scaled(value, percent):
    """A value of the 96-DPI layout at `percent`, rounded as the program rounds: to the nearest
    pixel, halves up."""
    return (value * percent + 50) // 100


def scaled_art(name, percent):
    """The committed picture `name` as drawn for `percent`, as RGB."""
    return art(name if percent == 100 else f"{percent}/{name}")


def region(image, left, top, picture):
    """The part of `image` that `picture` would cover with its top-left corner at (left, top)."""
    return image.crop((left, top, left + picture.width, top + picture.height))


def differing_box(a, b):
    """Bounding box of the pixels where two images of one size differ; None when identical."""
    if a.size != b.size:
        raise HarnessError(f"sizes differ: {a.size} and {b.size}")
    return ImageChops.difference(a, b).getbbox()


def ink_box(image, background, tolerance=40):
    """Bounding box of the pixels that differ from the colour `background` by more than
    `tolerance` in some channel; None when there are none."""
    plain = Image.new("RGB", image.size, background)
    diff = ImageChops.difference(image.convert("RGB"), plain).convert("L")
    return diff.point(lambda v: 255 if v > tolerance else 0).getbbox()


def text_width(text, font_path, pixel_height):
    """Ink width of `text` as FreeType draws it in the given font: the yardstick for a line
    the program drew with the same face."""
    font = ImageFont.truetype(str(font_path), pixel_height)
    left, _, right, _ = font.getbbox(text)
    return right - left


def find_picture(shot, picture, corners, mask=None):
    """Where in `shot` the picture appears exactly: the first top-left corner within `corners`
    (left, top, right, bottom, all included) that matches, or None. With `mask` (picture-sized,
    mode "1" or "L") only the mask's set pixels are compared."""
    mask_rgb = mask.convert("RGB") if mask is not None else None
    left, top, right, bottom = corners
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            diff = ImageChops.difference(region(shot, x, y, picture), picture)
            if mask_rgb is not None:
                diff = ImageChops.multiply(diff, mask_rgb)
            if diff.getbbox() is None:
                return x, y
    return None


# --- the router's side ---

class SilentRouter:
    """A router that takes connections on the router's port and never answers: the window's
    first status poll stays under way (for the receive time-out, a minute), so the window shows
    what it shows before any status. Counts the connections it took. Only for the private
    namespace of tools/test-e2e.sh, where the router's name means loopback."""

    def __init__(self, address=("127.0.0.1", 80)):
        self.address = address
        self.listener = None
        self.connections = []
        self.lock = threading.Lock()

    def start(self):
        self.listener = socket.create_server(self.address)
        self.listener.settimeout(0.2)  # so that the accepting thread sees stop() soon
        self.stopped = threading.Event()
        self.thread = threading.Thread(target=self._accept, daemon=True)
        self.thread.start()
        return self

    def _accept(self):
        while not self.stopped.is_set():
            try:
                connection, _ = self.listener.accept()
            except TimeoutError:
                continue
            with self.lock:
                self.connections.append(connection)

    def connection_count(self):
        with self.lock:
            return len(self.connections)

    def stop(self):
        if self.listener is None:
            return
        self.stopped.set()
        self.thread.join()
        self.listener.close()
        with self.lock:
            for connection in self.connections:
                connection.close()


# --- windows ---

class Window:
    """A top-level window on the display, by its X window id. Wine draws the frame itself, so
    the X window is the whole window, frame included."""

    def __init__(self, session, xid):
        self.session = session
        self.xid = xid

    def geometry(self):
        """(x, y, width, height) of the whole window on the screen."""
        out = self.session.x_tool("xwininfo", "-id", str(self.xid))
        values = []
        for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
            match = re.search(rf"^\s*{key}:\s*(-?\d+)", out, re.M)
            if match is None:
                raise HarnessError(f"xwininfo gave no {key} for window {self.xid}")
            values.append(int(match.group(1)))
        return tuple(values)

    def shot(self):
        """A screenshot of the whole window."""
        x, y, width, height = self.geometry()
        return self.session.screenshot().crop((x, y, x + width, y + height))

    def is_viewable(self):
        """Shown on the screen (a hidden window is unmapped)."""
        out = self.session.x_tool("xwininfo", "-id", str(self.xid), check=False)
        return "IsViewable" in out


class MainWindow(Window):
    """The program's main window. Its client area is where the skin's top band appears; the
    frame is as thick below as at the sides."""

    SKIN_BAND = 38  # rows of the skin above the antenna and the battery, which no control covers

    def __init__(self, session, xid):
        super().__init__(session, xid)
        self._origin = None
        self.percent = None  # the scale its skin is drawn at, once the client area is found

    def client_origin(self):
        """The client area's top-left corner within the whole window; it stays while the window
        lives. Found where the skin's top band shows, at whichever scale it is drawn (see
        `percent`)."""
        if self._origin is None:
            shot = self.shot()
            for percent in PICTURE_SCALES:
                found = self._find_band(shot, percent)
                if found is not None:
                    self._origin, self.percent = found, percent
                    break
            else:
                raise HarnessError("the skin's top band is not in the window")
        return self._origin

    @classmethod
    def _find_band(cls, shot, percent):
        skin = scaled_art("skin.bmp", percent)
        band = skin.crop((0, 0, skin.width, scaled(cls.SKIN_BAND, percent)))
        if percent == 100:
            return find_picture(shot, band, (0, 0, 12, 80))
        # The frame and caption grow with the scale: a small piece of the logo finds the place
        # quickly, the whole band proves it.
        piece = band.crop((scaled(8, percent), scaled(8, percent), scaled(40, percent),
                           scaled(32, percent)))
        at = find_picture(shot, piece, (scaled(8, percent), scaled(8, percent),
                                        scaled(8 + 12, percent), scaled(8 + 80, percent)))
        if at is None:
            return None
        corner = (at[0] - scaled(8, percent), at[1] - scaled(8, percent))
        return corner if find_picture(shot, band, corner + corner) is not None else None

    def skin_shown(self):
        try:
            self.client_origin()
            return True
        except HarnessError:
            return False

    def client_rect(self):
        """(x, y, width, height) of the client area on the screen."""
        left, top, width, height = self.geometry()
        border, offset_y = self.client_origin()
        return (left + border, top + offset_y, width - 2 * border, height - offset_y - border)

    def client_size(self):
        return self.client_rect()[2:]

    def client_shot(self):
        """A screenshot of the client area."""
        x, y, width, height = self.client_rect()
        return self.session.screenshot().crop((x, y, x + width, y + height))

    def click_client(self, x, y):
        """Clicks at client coordinates (x, y)."""
        left, top, _, _ = self.client_rect()
        self.session.click(left + x, top + y)


# --- the session ---

class Session:
    """The display, the Wine prefix and the programs started on them, for one test run."""

    def __init__(self, build_dir, artifacts_dir, display=91):
        self.build_dir = Path(build_dir).resolve()
        self.artifacts = Path(artifacts_dir).resolve()
        self.prefix = self.build_dir / "e2e-wine"
        self.first_display = int(display)
        self.display = None
        self.xvfb = None
        self.env = None
        self.wine = None
        self.wineserver = None
        self.locale = None
        self.processes = []

    # --- start and stop ---

    def start(self):
        """Starts the display and the prefix's Wine session and installs the program."""
        self.artifacts.mkdir(parents=True, exist_ok=True)
        try:
            self._start_xvfb()
            self._start_wine()
            self.install_program()
            # The session's first programs may have made the desktop already; if not, this
            # does, and otherwise it ends at once.
            self.spawn_wine("explorer", f"/desktop={DESKTOP_NAME},{DESKTOP_GEOMETRY}")
            desktop = self.wait_for_window(f"{DESKTOP_NAME} - Wine desktop")
            # Without a window manager nobody gives the desktop the X input focus, and Wine
            # then leaves clicked windows inactive.
            wait_until(lambda: self.x_run("xdotool", "windowfocus", str(desktop.xid))
                       .returncode == 0, 10, "the desktop to take the focus")
        except BaseException:
            self.stop()
            raise

    def stop(self):
        """Ends every program started here, the prefix's wineserver and the display."""
        for process in self.processes:
            if process.poll() is None:
                process.kill()
        try:
            self.kill_wineserver()
        except subprocess.TimeoutExpired:
            pass
        for process in self.processes:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        self.processes = []
        self._stop_xvfb()
        (self.artifacts / "xvfb.pid").unlink(missing_ok=True)

    def _start_xvfb(self):
        out = self._lib("quirn_start_xvfb", str(self.first_display), DESKTOP_GEOMETRY,
                        str(self.artifacts / "xvfb.log"), timeout=30)
        self.display, pid = out.split()
        self.xvfb = int(pid)
        (self.artifacts / "xvfb.pid").write_text(f"{pid}\n")

    def _stop_xvfb(self):
        if self.xvfb is None:
            return
        # The server is no child of this process (the shell that started it has ended), so
        # an ended one may stay a zombie until its new parent reaps it.
        def ended():
            try:
                stat = Path(f"/proc/{self.xvfb}/stat").read_text()
            except FileNotFoundError:
                return True
            return stat.rsplit(")", 1)[1].split()[0] == "Z"
        try:
            os.kill(self.xvfb, signal.SIGTERM)
            wait_until(ended, 10, "Xvfb to end")
        except ProcessLookupError:
            pass
        except HarnessError:
            os.kill(self.xvfb, signal.SIGKILL)
        self.xvfb = None

    def _start_wine(self):
        """tools/lib.sh makes the prefix on first use, sets it up for the window and starts its
        session; every later Wine process here gets the variables it sets."""
        out = self._lib("quirn_wine_window_prefix", str(self.prefix), timeout=300,
                        then='printf "%s\\0" "$QUIRN_WINE" "$QUIRN_WINESERVER" "$QUIRN_WINE_LOCALE"'
                             '; env -0')
        values = out.split("\0")
        self.wine, self.wineserver, self.locale = values[:3]
        self.env = dict(item.split("=", 1) for item in values[3:] if "=" in item)
        self.env["DISPLAY"] = self.display

    def _lib(self, function, *args, timeout, then=""):
        """Runs a function of tools/lib.sh (on the session's display, if any) and returns what
        it printed; what it prints after it, `then` adds."""
        quiet = " >&2" if then else ""
        script = f'. "$0" || exit 1; {function} "$@"{quiet} || exit 1; {then}'
        env = dict(os.environ)
        if self.display is not None:
            env["DISPLAY"] = self.display
        out = subprocess.run(["bash", "-c", script, str(REPO / "tools" / "lib.sh"), *args],
                             env=env, stdin=subprocess.DEVNULL, capture_output=True,
                             timeout=timeout)
        if out.returncode != 0:
            raise HarnessError(f"tools/lib.sh {function} failed:\n"
                               + out.stderr.decode(errors="replace"))
        return out.stdout.decode()

    def kill_wineserver(self):
        """Ends every Windows process of the prefix and its wineserver."""
        if self.wineserver is None:
            return
        for flag in ("-k", "-w"):
            subprocess.run([self.wineserver, flag], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30,
                           check=False)

    # --- Windows programs ---

    def wine_command(self, *args):
        return ["env", f"LC_ALL={self.locale}", self.wine, *args]

    def run_wine(self, *args, timeout=60):
        """Runs a Windows program to its end; returns the completed process."""
        return subprocess.run(self.wine_command(*args), env=self.env, cwd=self.install_dir,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout, check=False)

    def spawn_wine(self, *args, stdin=subprocess.DEVNULL, extra_env=None):
        """Starts a Windows program (with `extra_env` added to its environment) and returns its
        process; stop() ends it if need be."""
        with open(self.artifacts / "wine.log", "ab") as log:
            process = subprocess.Popen(self.wine_command(*args),
                                       env=dict(self.env, **(extra_env or {})),
                                       cwd=self.install_dir, stdin=stdin, stdout=log,
                                       stderr=subprocess.STDOUT)
        self.processes.append(process)
        return process

    def probe(self, *args):
        """Runs tests/e2e/probe's win_probe in the session (its windows, their controls, the
        cursor) and returns the JSON value it printed."""
        exe = self.build_dir / "tests" / "win_probe.exe"
        if not exe.exists():
            raise HarnessError(f"{exe} is missing: build the target win_probe first")
        encoded = [urllib.parse.quote(arg, safe="") for arg in args]
        out = subprocess.run(self.wine_command(str(exe), *encoded), env=self.env,
                             cwd=self.install_dir, stdin=subprocess.DEVNULL, capture_output=True,
                             timeout=60, check=False)
        if out.returncode != 0:
            raise HarnessError(f"win_probe {' '.join(args)} failed ({out.returncode}): "
                               + out.stderr.decode(errors="replace")[-500:])
        return json.loads(out.stdout.decode("utf-8"))

    def probe_windows(self, title):
        """The top-level windows titled `title` as win_probe sees them: style, rectangles,
        state and controls (see win_probe.cpp), plus the system icons' handles."""
        return self.probe("windows", title)

    @property
    def install_dir(self):
        return self.prefix / "drive_c" / "quirn"

    def install_program(self):
        """Copies the freshly built program into the prefix, out of the build tree, so that the
        profile it writes beside itself is the tests' own."""
        built = self.build_dir / "platform" / "win32" / "app" / EXE_NAME
        if not built.exists():
            raise HarnessError(f"{built} is missing: build the Windows program first")
        self.install_dir.mkdir(parents=True, exist_ok=True)
        shutil.copy2(built, self.install_dir / EXE_NAME)

    def start_app(self, *args, stdin=subprocess.DEVNULL, extra_env=None):
        """Starts the program with the given arguments. It opens on the "quirn" desktop, the
        prefix's default; the process returned is the program's own (exit, standard input)."""
        return self.spawn_wine(EXE_WIN, *args, stdin=stdin, extra_env=extra_env)

    def end_app(self):
        """Ends every running instance of the program and waits until they and their windows
        are gone."""
        self.run_wine("taskkill", "/f", "/im", EXE_NAME, timeout=30)
        for process in self.processes:
            if EXE_WIN in process.args:
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        wait_until(lambda: not self.find_windows(APP_TITLE, only_visible=False), 10,
                   "the program's windows to go")

    # --- the display ---

    def x_run(self, *args):
        """Runs an X client (xdotool, xwininfo) on the display; returns the completed process."""
        return subprocess.run(list(args), env=dict(os.environ, DISPLAY=self.display,
                                                   LC_ALL="C.UTF-8"),
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=20)

    def x_tool(self, *args, check=True):
        """Runs an X client on the display; returns its output."""
        result = self.x_run(*args)
        if check and result.returncode != 0:
            raise HarnessError(f"{args[0]} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace")

    def all_window_ids(self, only_visible=False):
        args = ["xdotool", "search"] + (["--onlyvisible"] if only_visible else [])
        return [int(xid) for xid in self.x_tool(*args, "--class", ".", check=False).split()]

    def find_windows(self, title, only_visible=True):
        """X window ids of the windows titled exactly `title`. Wine gives a title that is not
        Latin-1 in UTF-8 only in _NET_WM_NAME, which `xdotool search --name` does not read, so
        each window is asked for its name."""
        return [xid for xid in self.all_window_ids(only_visible)
                if self.x_tool("xdotool", "getwindowname", str(xid), check=False)[:-1] == title]

    def wait_for_window(self, title, timeout=20, cls=Window):
        """The one shown window titled `title`, once it is there."""
        found = wait_until(lambda: self.find_windows(title), timeout, f'a window "{title}"')
        if len(found) != 1:
            raise HarnessError(f'{len(found)} windows "{title}"')
        return cls(self, found[0])

    def wait_for_main_window(self, timeout=20):
        """The program's main window, once it is shown and its skin painted. A message box of
        the program may already be open beside it, with the same title."""
        def painted():
            windows = [MainWindow(self, xid) for xid in self.find_windows(APP_TITLE)]
            shown = [window for window in windows if window.skin_shown()]
            return shown[0] if len(shown) == 1 else None
        return wait_until(painted, timeout, "the main window with its skin painted")

    def screenshot(self):
        return ImageGrab.grab(xdisplay=self.display)

    def click(self, x, y):
        """Clicks the left button at screen coordinates (x, y)."""
        self.x_tool("xdotool", "mousemove", str(x), str(y), "click", "1")

    def key(self, *keys):
        """Types keys (xdotool names, e.g. "alt+h") into the window that has the focus."""
        self.x_tool("xdotool", "key", "--delay", "100", *keys)

    def save(self, image, name):
        """Keeps a screenshot as a test artefact."""
        image.save(self.artifacts / name)

    # --- files the program reads and writes ---

    @property
    def profile_path(self):
        return self.install_dir / PROFILE_NAME

    def write_profile(self, sections):
        """Writes the profile beside the program, {section: {key: value}}, as the Windows profile
        functions write it (ANSI, CRLF)."""
        lines = []
        for section, entries in sections.items():
            lines.append(f"[{section}]")
            lines += [f"{key}={value}" for key, value in entries.items()]
        self.profile_path.write_bytes(("\r\n".join(lines) + "\r\n").encode("cp932"))

    def read_profile(self):
        """The profile beside the program as {section: {key: value}}; None when it is missing."""
        if not self.profile_path.exists():
            return None
        data = self.profile_path.read_bytes()
        text = data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode("cp932")
        sections, current = {}, None
        for line in text.splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key.strip()] = value.strip()
        return sections

    def user_folder(self, *parts):
        """A folder of the prefix's user, e.g. user_folder("AppData", "Local")."""
        users = [p for p in (self.prefix / "drive_c" / "users").iterdir()
                 if p.is_dir() and p.name.lower() != "public"]
        if len(users) != 1:
            raise HarnessError(f"expected one user in the prefix, found {users}")
        return users[0].joinpath(*parts)

    @property
    def shortcut_path(self):
        """The autostart shortcut in the user's Startup folder."""
        return self.user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu",
                                "Programs", "StartUp", SHORTCUT_NAME)


# --- the tests' base ---

class AppTestCase(unittest.TestCase):
    """A test of the program on the run's shared session (set by run.py). Each test starts from
    no running instance, no autostart shortcut and a profile that places the window well inside
    the desktop, and ends every instance it left."""

    session = None
    # Where the window opens: the open panel stays above the taskbar.
    WINDOW_POSITION = {"window_pos_x": 100, "window_pos_y": 80}

    def setUp(self):
        if self.session is None:
            self.skipTest("no session: run the end-to-end tests with tools/test-e2e.sh")
        self.session.end_app()
        self.session.shortcut_path.unlink(missing_ok=True)
        self.session.write_profile({"application_info": dict(self.WINDOW_POSITION)})
        self.app_process = None
        # Cleanups run last first: the screen as the test left it (for a look after a
        # failure), then the program ends, then its router.
        self.router = self.start_router()
        if self.router is not None:
            self.addCleanup(self.router.stop)
        self.addCleanup(self.session.end_app)
        self.addCleanup(lambda: self.session.save(self.session.screenshot(),
                                                  f"end-{self.id().split('.', 1)[-1]}.png"))

    def start_router(self):
        """The router the program meets during the test; silent unless a test class says
        otherwise (returns an object with stop(), or None for no router at all)."""
        return SilentRouter().start()

    def start_main_window(self, **application_info):
        """Starts the program with these profile entries (besides the window position) and
        returns its main window once painted."""
        self.session.write_profile(
            {"application_info": dict(self.WINDOW_POSITION, **application_info)})
        self.app_process = self.session.start_app()
        return self.session.wait_for_main_window()

    def focus(self, window):
        """Activates the window as a user would: a click on the empty desktop, then on the
        window's skin band, where no control lies. Keys then go to it. (A window started from
        outside has the input focus but an inactive caption until it is clicked anew.)"""
        self.session.click(DESKTOP_SIZE[0] - 24, DESKTOP_SIZE[1] - 168)
        window.click_client(200, 10)
        wait_until(lambda: self.caption_colour(window) != INACTIVE_CAPTION, 5,
                   "the caption to become active")

    @staticmethod
    def caption_colour(window):
        """The caption's colour between the title and the close box."""
        shot = window.shot()
        return shot.getpixel((shot.width - 40, window.client_origin()[0] + 5))

    def save_window(self, window, name):
        """Keeps a screenshot of the whole window, frame included, with its caption active."""
        self.focus(window)
        self.session.save(window.shot(), name)


# --- message boxes, read from their controls ---

# The buttons a message box may show, by control id.
BOX_BUTTONS = {1: "OK", 2: "Cancel", 6: "Yes", 7: "No"}
SS_TYPEMASK = 0x1F
SS_ICON = 0x03


def system_icon_pictures(session):
    """The system icons a message box may show, {name: (picture, mask)}, as win_probe draws
    them: the mask holds the pixels where the icon is opaque (the same on black and on white).
    Their handles are each process's own; their pixels are what any box draws."""
    cached = getattr(session, "_system_icon_pictures", None)
    if cached is None:
        cached = {}
        for name, drawn in session.probe("icon-pictures").items():
            size = tuple(drawn["size"])
            black = Image.frombytes("RGB", size, bytes.fromhex(drawn["on_black"]))
            white = Image.frombytes("RGB", size, bytes.fromhex(drawn["on_white"]))
            opaque = ImageChops.difference(black, white).convert("L").point(
                lambda v: 255 if v == 0 else 0)
            cached[name] = (black, opaque)
        session._system_icon_pictures = cached
    return cached


def icon_shown(session, shot, left, top):
    """Which system icon `shot` (of the whole screen) shows with its top-left corner at
    (left, top): the one whose every opaque pixel is there; None for none."""
    for name, (picture, opaque) in system_icon_pictures(session).items():
        if find_picture(shot, picture, (left, top, left, top), mask=opaque) is not None:
            return name
    return None


def message_box_contents(session, title=APP_TITLE):
    """What the one message box titled `title` shows, read from its controls: {"text", "icon"
    (question, stop, exclamation, information or None), "buttons" (ids from the left),
    "controls" (the probe's controls by id)}."""
    def is_box(window):
        return window["visible"] and any(
            c["visible"] and c["id"] in BOX_BUTTONS and c["class"].lower() == "button"
            for c in window["controls"])
    boxes = [w for w in session.probe_windows(title)["windows"] if is_box(w)]
    if len(boxes) != 1:
        raise HarnessError(f'{len(boxes)} message boxes "{title}"')
    controls = [c for c in boxes[0]["controls"] if c["visible"]]
    statics = [c for c in controls if c["class"].lower() == "static"]
    icons = [c for c in statics if c["style"] & SS_TYPEMASK == SS_ICON]
    icon = None
    if icons:
        icon = icon_shown(session, session.screenshot(), *icons[0]["rect"][:2])
    return {"text": "".join(c["text"] for c in statics if c not in icons),
            "icon": icon,
            "buttons": [c["id"] for c in sorted(controls, key=lambda c: c["rect"][0])
                        if c["class"].lower() == "button" and c["id"] in BOX_BUTTONS],
            "controls": {c["id"]: c for c in controls}}
