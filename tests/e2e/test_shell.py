"""What the program does with the Windows shell, under Wine against quirn-sim: its notification
icon (a left click minimises and restores the window, the picture follows the battery, a new
taskbar gets the icon back), the autostart shortcut in the Startup folder, and the addresses it
hands to the default browser (the router's firmware page, the online help)."""

import re
import struct
import time
import urllib.parse

from PIL import Image, ImageChops

from harness import (APP_TITLE, ART, DESKTOP_SIZE, EXE_WIN, REPO, AppTestCase, HarnessError,
                     wait_until)
from test_live import ADMIN_PASSWORD, LiveTestCase
from test_tray import TRAY_AREA, TrayTestCase

# The largest per-channel difference allowed between a tray icon on the screen and its art
# composed over the taskbar: the shell's blending of partly transparent pixels rounds.
ICON_TOLERANCE = 2
# The notification area's icon size at 96 DPI; the icon files hold larger sizes too.
TRAY_ICON_SIZE = (16, 16)


def string_text(number):
    """A text of the program's string table (res/strings.h), where the C++ code takes it."""
    source = (REPO / "res" / "strings.h").read_text(encoding="utf-8")
    match = re.search(rf'STRING\({number}, \w+, "([^"]*)"\)', source)
    if match is None:
        raise HarnessError(f"string {number} is not in res/strings.h")
    return match.group(1)


def windows_path(path):
    """The Wine drive Z: path of a Unix path."""
    return "Z:" + str(path).replace("/", "\\")


# --- the tray icon ---

def icon_on(name, background):
    """An icon of res/art as the shell shows it over a background of one colour."""
    icon = Image.open(ART / name).ico.getimage(TRAY_ICON_SIZE).convert("RGBA")
    base = Image.new("RGBA", icon.size, background + (255,))
    return Image.alpha_composite(base, icon).convert("RGB")


def icon_distance(area, name):
    """How far the best place of the tray area is from the icon `name`: the largest channel
    difference there, 0 for an exact match."""
    picture = icon_on(name, area.getpixel((2, area.height - 1)))
    best = 255
    for y in range(area.height - picture.height + 1):
        for x in range(area.width - picture.width + 1):
            window = area.crop((x, y, x + picture.width, y + picture.height))
            extrema = ImageChops.difference(window, picture).getextrema()
            best = min(best, max(high for _, high in extrema))
    return best


class ShellTrayCase(TrayTestCase):

    def tray_area(self):
        return self.session.screenshot().crop(TRAY_AREA)

    def assert_tray_icon(self, name, timeout=10):
        """Waits until the notification area shows the icon `name` of res/art."""
        distances = []

        def shown():
            distances.append(icon_distance(self.tray_area(), name))
            return distances[-1] <= ICON_TOLERANCE
        try:
            wait_until(shown, timeout, f"the tray icon {name}", interval=0.3)
        except HarnessError:
            self.session.save(self.tray_area(), f"tray-not-{name}.png")
            self.fail(f"the tray shows no {name}: nearest difference {distances[-1]}")

    def main_window_state(self):
        """The main window as the probe sees it (message boxes share its title), with the
        foreground window's handle."""
        answer = self.session.probe_windows(APP_TITLE)
        main = [w for w in answer["windows"] if any(c["id"] == 1000 for c in w["controls"])]
        if len(main) != 1:
            raise HarnessError(f"{len(main)} main windows among {answer['windows']}")
        return dict(main[0], foreground=answer["foreground"])

    @staticmethod
    def in_front(state):
        return state["foreground"] == state["hwnd"]


class TrayIconClick(ShellTrayCase):

    def test_left_click_minimises_the_shown_window_and_restores_it(self):
        self.start_live(reload_cycle=60000)
        icon = wait_until(self.tray_icon_centre, 10, "the tray icon")
        self.assertFalse(self.main_window_state()["iconic"])

        self.session.click(*icon)
        wait_until(lambda: self.main_window_state()["iconic"], 5, "the window to minimise")
        # Wine leaves a minimised window in the foreground: something else takes it first.
        self.session.click(DESKTOP_SIZE[0] - 24, DESKTOP_SIZE[1] - 168)
        wait_until(lambda: not self.in_front(self.main_window_state()), 5,
                   "the desktop to take the foreground")

        self.session.click(*icon)

        def restored():
            state = self.main_window_state()
            return state["visible"] and not state["iconic"] and self.in_front(state)
        wait_until(restored, 5, "the window restored in front")


class TrayIconLevel(ShellTrayCase):

    def test_tray_icon_shows_the_battery_level(self):
        # The simulator's router has 80 %: eight tenths.
        self.start_live(reload_cycle=60000)
        self.assert_tray_icon("tray_battery_8.ico")


class TrayIconCharging(ShellTrayCase):
    SIM_ARGS = ("--scenario", "charging")

    def test_tray_icon_shows_charging(self):
        # Charging: the charging icon half full, whatever the level.
        self.start_live(reload_cycle=60000)
        self.assert_tray_icon("tray_battery_charging_5.ico")


class NewTaskbar(ShellTrayCase):

    def test_taskbar_created_puts_the_icon_back(self):
        self.start_live(reload_cycle=60000)
        self.assert_tray_icon("tray_battery_8.ico")
        # As a restarted taskbar would be: without the icon, then announcing itself.
        self.session.probe("tray-delete", APP_TITLE, "0")
        wait_until(lambda: self.tray_icon_centre() is None, 5, "the tray icon to go")

        self.session.probe("post", APP_TITLE, "TaskbarCreated")
        self.assert_tray_icon("app_small.ico")


# --- the autostart shortcut ---

SHELL_LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")
SW_SHOWNORMAL = 1


def parse_shortcut(data):
    """The show command and the target path of a shell link file: the target from its link
    information (the local base path and the common path suffix), as the shell reads it."""
    if len(data) < 0x4C or struct.unpack_from("<I", data, 0)[0] != 0x4C \
            or data[4:20] != SHELL_LINK_CLSID:
        raise ValueError("no shell link header")
    flags, = struct.unpack_from("<I", data, 0x14)
    show, = struct.unpack_from("<I", data, 0x3C)
    position = 0x4C
    if flags & 0x01:  # a target ID list comes first
        position += 2 + struct.unpack_from("<H", data, position)[0]
    if not flags & 0x02:
        raise ValueError("no link information")
    info = data[position:position + struct.unpack_from("<I", data, position)[0]]
    header_size, info_flags, _, base_offset, _, suffix_offset = \
        struct.unpack_from("<IIIIII", info, 4)
    if not info_flags & 0x01:
        raise ValueError("no local base path")

    def ansi(offset):
        return info[offset:info.index(b"\0", offset)].decode("cp932")

    def wide(offset):
        end = offset
        while info[end:end + 2] != b"\0\0":
            end += 2
        return info[offset:end].decode("utf-16-le")
    if header_size >= 0x24:
        base_unicode, suffix_unicode = struct.unpack_from("<II", info, 0x1C)
        target = wide(base_unicode) + wide(suffix_unicode)
    else:
        target = ansi(base_offset) + ansi(suffix_offset)
    return {"show": show, "target": target}


class Autostart(AppTestCase):

    def read_shortcut(self):
        """The shortcut's fields once it is written in full; None until then."""
        try:
            return parse_shortcut(self.session.shortcut_path.read_bytes())
        except (OSError, ValueError, struct.error):
            return None

    def toggle_autostart(self, window):
        self.focus(window)
        self.session.key("alt+s", "a")

    def exit_and_read_startup_setting(self, window):
        self.focus(window)
        self.session.key("alt+s", "x")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        return self.session.read_profile()["application_info"]["app_startup"]

    def test_checking_autostart_creates_the_shortcut_to_the_program(self):
        window = self.start_main_window()
        self.assertFalse(self.session.shortcut_path.exists())
        self.toggle_autostart(window)
        shortcut = wait_until(self.read_shortcut, 5, "the autostart shortcut")
        self.assertEqual(shortcut, {"show": SW_SHOWNORMAL, "target": EXE_WIN})
        self.assertEqual(self.exit_and_read_startup_setting(window), "1")

    def test_unchecking_autostart_removes_the_shortcut(self):
        window = self.start_main_window(app_startup=1)
        wait_until(self.read_shortcut, 10, "the autostart shortcut made at start")
        self.toggle_autostart(window)
        wait_until(lambda: not self.session.shortcut_path.exists(), 5, "the shortcut to go")
        self.assertEqual(self.exit_and_read_startup_setting(window), "0")

    def test_start_without_autostart_removes_a_left_shortcut(self):
        # A shortcut of an earlier run, whatever it holds.
        self.session.shortcut_path.write_bytes(b"left behind")
        self.start_main_window(app_startup=0)
        wait_until(lambda: not self.session.shortcut_path.exists(), 10, "the shortcut to go")


# --- the browser ---

HTTP_OPEN_KEY = r"HKCR\http\shell\open\command"
USER_CHOICE_KEY = (r"HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\http"
                   r"\UserChoice")


class BrowserTestCase(LiveTestCase):
    """The default browser is a stand-in that records each address it is asked to open (Wine's
    own launcher would drop an address's user information); the user's choice for http is the
    test class's, a browser other than Internet Explorer unless it says otherwise. The prefix's
    own settings come back after each test."""

    USER_CHOICE = "QuirnStandIn.Browser"

    def setUp(self):
        super().setUp()
        self.opened_file = self.session.artifacts / f"opened-{self.id().rsplit('.', 1)[-1]}.txt"
        self.opened_file.unlink(missing_ok=True)
        probe = windows_path(self.session.build_dir / "tests" / "win_probe.exe")
        self.override(HTTP_OPEN_KEY, "/ve",
                      "/d", f'"{probe}" record "{windows_path(self.opened_file)}" "%1"')
        self.override(USER_CHOICE_KEY, "/v", "ProgId", "/d", self.USER_CHOICE)

    def override(self, key, *value):
        """Sets a text value of the prefix's registry for the test, restoring the key after it
        (or removing it, when it was not there)."""
        saved = self.session.artifacts / (re.sub(r"\W+", "-", key) + ".reg")
        if self.session.run_wine("reg", "export", key, windows_path(saved), "/y").returncode == 0:
            self.addCleanup(self.reg, "import", windows_path(saved))
        else:
            self.addCleanup(self.reg, "delete", key, "/f")
        self.reg("add", key, *value, "/t", "REG_SZ", "/f")

    def reg(self, *args):
        result = self.session.run_wine("reg", *args)
        if result.returncode != 0:
            raise HarnessError(f"reg {' '.join(args)} failed ({result.returncode})")

    def opened(self):
        """The addresses opened so far, in order."""
        if not self.opened_file.exists():
            return []
        return self.opened_file.read_text(encoding="utf-8").splitlines()

    def choose_online_help(self, window):
        self.focus(window)
        self.session.key("alt+h", "h")


class OnlineHelp(BrowserTestCase):

    def test_online_help_opens_the_makers_help_page(self):
        window = self.start_live(reload_cycle=60000)
        self.choose_online_help(window)
        wait_until(self.opened, 10, "an address opened")
        self.assertEqual(self.opened(), [string_text(153)])


class FirmwarePrompt(BrowserTestCase):
    SIM_ARGS = ("--scenario", "firmware-update")
    # Characters that would end or change the address's user information unless encoded.
    PASSWORD = "a@b:c/d?e#f%g h"

    def test_yes_opens_the_firmware_page_with_the_password_encoded(self):
        window = self.start_polling(password=self.PASSWORD, reload_cycle=60000)
        self.answer(self.message_box(window))
        wait_until(self.opened, 10, "the firmware page opened")
        user_info = "admin:" + urllib.parse.quote(self.PASSWORD, safe="")
        self.assertEqual(self.opened(),
                         [f"http://{user_info}@quirn.home.arpa/index.cgi/fw_main"])

    def test_no_opens_nothing(self):
        window = self.start_polling(password=self.PASSWORD, reload_cycle=60000)
        self.answer(self.message_box(window), "n")
        # Nothing to wait for: the time the stand-in takes to start and record an address.
        time.sleep(3)
        self.assertEqual(self.opened(), [], "the prompt's No opened an address")
        # The stand-in records in this session: the help command's address arrives.
        self.choose_online_help(window)
        wait_until(self.opened, 10, "the help page opened")
        self.assertEqual(self.opened(), [string_text(153)])


class FirmwarePromptWithInternetExplorer(BrowserTestCase):
    SIM_ARGS = ("--scenario", "firmware-update")
    USER_CHOICE = "IE.HTTP"

    def test_yes_opens_the_firmware_page_without_the_password(self):
        window = self.start_polling(password=ADMIN_PASSWORD, reload_cycle=60000)
        self.answer(self.message_box(window))
        wait_until(self.opened, 10, "the firmware page opened")
        self.assertEqual(self.opened(), ["http://quirn.home.arpa/index.cgi/fw_main"])
