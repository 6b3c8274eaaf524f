"""The window under Wine against quirn-sim, the router simulator, on the router's name and port:
the first status shown, the commands (reload, reboot, connection check, standby) with their
message boxes and the requests the router received, the profile written on exit, and a router
going away."""

import base64
import os
import re
import subprocess
import time
from pathlib import Path

from harness import (APP_TITLE, BOX_BUTTONS, DESKTOP_SIZE, INACTIVE_CAPTION, IPA_P_GOTHIC,
                     REPO, AppTestCase, HarnessError, Window, art, differing_box,
                     message_box_contents, region, text_width, wait_until)

SIM = Path(os.environ.get("QUIRN_SIM", REPO / "build" / "sim" / "quirn-sim"))
ADMIN_PASSWORD = "quirn-admin"

STATUS_GET = b"GET /mobile/mobile.cgi/info_remote_main "
CHECK_GET = b"GET /function/wimax/index.html "

ANTENNA = (42, 40)
BATTERY = (173, 65)
RELOAD = (5, 143)
SWITCH = (130, 143)
DETAIL = (275, 143)
CONNECTION = (60, 150)
STANDBY = (20, 290)
REBOOT = (120, 290)
CHECK = (220, 290)

PROFILE_KEYS = {"application_info": {"app_version", "reload_cycle", "window_pos_x",
                                     "window_pos_y", "app_startup", "app_keep_task"},
                "router_info": {"connect_domain", "connect_rt_pw"}}


def stored_password(plain):
    """The profile's form of an administrator password: its CP932 bytes, each even one rotated
    a bit to the left and each odd one a bit to the right, in Base64."""
    def rotated(i, b):
        return (b << 1 | b >> 7) & 0xFF if i % 2 == 0 else (b >> 1 | b << 7) & 0xFF
    data = bytes(rotated(i, b) for i, b in enumerate(plain.encode("cp932")))
    return base64.b64encode(data).decode("ascii")


def admin_credentials(password=ADMIN_PASSWORD):
    return b"Basic " + base64.b64encode(f"admin:{password}".encode("ascii"))


class Simulator:
    """quirn-sim on the router's port, logging every raw request to a file of its own."""

    def __init__(self, work_dir, *args):
        self.work = Path(work_dir)
        self.log = self.work / "sim-requests.log"
        self.args = args
        self.process = None

    def start(self):
        if not SIM.exists():
            raise HarnessError(f"{SIM} is missing: build quirn-sim first (cmake target quirn-sim)")
        self.work.mkdir(parents=True, exist_ok=True)
        self.log.write_bytes(b"")
        out = self.work / "sim.out"
        with open(out, "wb") as sink:
            self.process = subprocess.Popen(
                [str(SIM), "--listen", "127.0.0.1:80", "--log", str(self.log),
                 "--reboot-down-ms", "3000", *self.args],
                stdin=subprocess.DEVNULL, stdout=sink, stderr=subprocess.STDOUT)
        wait_until(lambda: self.process.poll() is not None or b"listening" in out.read_bytes(),
                   10, "quirn-sim to listen")
        if self.process.poll() is not None:
            raise HarnessError("quirn-sim ended: " + out.read_text(errors="replace"))
        return self

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def requests(self):
        """The raw requests received so far, in order."""
        data = self.log.read_bytes()
        found = []
        for match in re.finditer(rb"--- request \d+, (\d+) bytes ---\r?\n", data):
            found.append(data[match.end():match.end() + int(match.group(1))])
        return found

    def count(self, start):
        return sum(1 for request in self.requests() if request.startswith(start))


class LiveTestCase(AppTestCase):
    """A test against the simulator, which starts with these options."""

    SIM_ARGS = ()

    def start_router(self):
        return Simulator(self.session.artifacts / "sim", *self.SIM_ARGS).start()

    def start_live(self, password=ADMIN_PASSWORD, **application_info):
        """Starts the program with the administrator password stored and waits for the first
        status to be painted."""
        window = self.start_polling(password, **application_info)
        self.wait_for_status(window)
        return window

    def start_polling(self, password=ADMIN_PASSWORD, **application_info):
        """Starts the program with the administrator password stored (none when empty) and
        waits for its first status poll to reach the router."""
        router_info = {"connect_rt_pw": stored_password(password)} if password else {}
        self.session.write_profile({
            "application_info": dict(self.WINDOW_POSITION, **application_info),
            "router_info": router_info})
        self.app_process = self.session.start_app()
        window = self.session.wait_for_main_window()
        wait_until(lambda: self.router.count(STATUS_GET), 20, "the first status poll")
        return window

    def wait_for_status(self, window, timeout=10):
        wait_until(lambda: self.notice_text_width(window.client_shot(), 180) is None, timeout,
                   "a status to be shown")

    # --- what the window shows ---

    @staticmethod
    def notice_text_width(shot, y):
        """Width of the text on the notice strip at (0, y); None when the strip is blank."""
        strip = art("notice_strip.bmp")
        box = differing_box(region(shot, 0, y, strip), strip)
        return None if box is None else box[2] - box[0]

    def assert_notice(self, window, text, y=180, timeout=10):
        want = text_width(text, IPA_P_GOTHIC, 14)
        wait_until(lambda: abs((self.notice_text_width(window.client_shot(), y) or -99) - want)
                   <= 4, timeout, f'the notice "{text}"')

    def assert_picture(self, shot, position, name):
        picture = art(name)
        self.assertIsNone(differing_box(region(shot, *position, picture), picture),
                          f"{name} is not shown at {position}")

    def assert_connection(self, shot, name):
        """The connection picture, apart from the span the switch button may cover."""
        picture = art(name)
        shown = region(shot, *CONNECTION, picture)
        left = SWITCH[0] - CONNECTION[0]
        right = left + art("btn_switch_u.bmp").width
        for span in ((0, left), (right, picture.width)):
            box = (span[0], 0, span[1], picture.height)
            self.assertIsNone(differing_box(shown.crop(box), picture.crop(box)),
                              f"{name} is not shown")

    @staticmethod
    def switch_picture(shot):
        """Which of the switch button's pictures is shown; None for none."""
        for name in ("btn_switch_u.bmp", "btn_switch_f.bmp", "btn_switch_d.bmp",
                     "btn_switch_x.bmp"):
            if differing_box(region(shot, *SWITCH, art(name)), art(name)) is None:
                return name
        return None

    # --- message boxes ---

    def message_box(self, window, timeout=15):
        """The system message box the program shows over its main window (same title)."""
        def other():
            found = [xid for xid in self.session.find_windows(APP_TITLE) if xid != window.xid]
            return found[0] if len(found) == 1 else None
        return Window(self.session, wait_until(other, timeout, "a message box"))

    def answer(self, box, key="Return"):
        """Activates the message box (Xvfb has no window manager) and presses a key in it."""
        self.activate(box)
        self.session.key(key)
        wait_until(lambda: not box.is_viewable(), 5, "the message box to close")

    def activate(self, box):
        """Activates a box or dialog of the program with a click on its caption."""
        x, y, width, _ = box.geometry()

        def activated():
            # A box that has only just appeared may miss the click: click again until it takes.
            self.session.click(DESKTOP_SIZE[0] - 24, DESKTOP_SIZE[1] - 168)
            self.session.click(x + width // 2, y + 8)
            time.sleep(0.3)
            shot = box.shot()
            return shot.getpixel((shot.width - 40, 8)) != INACTIVE_CAPTION
        wait_until(activated, 10, "the message box to become active", interval=0.5)

    def assert_message_box(self, text, icon, buttons):
        """The message box now open shows `text`, the system icon `icon` and the buttons
        `buttons` (names of harness.BOX_BUTTONS, from the left); returns what it shows."""
        shown = message_box_contents(self.session)
        self.assertEqual(shown["text"], text)
        self.assertEqual(shown["icon"], icon, "the box's icon")
        self.assertEqual([BOX_BUTTONS[i] for i in shown["buttons"]], buttons)
        return shown

    def press(self, box, shown, button):
        """Clicks the button `button` (a name of harness.BOX_BUTTONS) of the message box whose
        contents are `shown`, and waits for the box to close."""
        button_id = next(i for i, name in BOX_BUTTONS.items() if name == button)
        left, top, right, bottom = shown["controls"][button_id]["rect"]
        self.activate(box)
        self.session.click((left + right) // 2, (top + bottom) // 2)
        wait_until(lambda: not box.is_viewable(), 5, "the message box to close")

    def enter_password_in_settings(self, password, screenshot=None):
        """Types `password` into the settings dialog's password box, replacing what it shows,
        and presses Enter (OK). With `screenshot`, keeps a picture of the dialog as it was
        before Enter under that name."""
        dialog = self.session.wait_for_window("環境設定")
        x, y, width, height = dialog.geometry()
        # The dialog's template is 268 x 90 dialog units; its frame is 3 pixels wide.
        scale_x = (width - 6) / 268
        scale_y = (height - 25) / 90
        client_top = y + height - 3 - 90 * scale_y
        self.session.click(DESKTOP_SIZE[0] - 24, DESKTOP_SIZE[1] - 168)
        self.session.click(x + width // 2, y + 8)
        self.session.click(int(x + 3 + 150 * scale_x), int(client_top + 39 * scale_y))
        self.session.key("End", *["BackSpace"] * 20)
        self.session.x_tool("xdotool", "type", "--delay", "50", password)
        if screenshot:
            self.session.save(dialog.shot(), screenshot)
        self.session.key("Return")
        wait_until(lambda: not dialog.is_viewable(), 5, "the settings dialog to close")

    def open_panel(self, window):
        window.click_client(DETAIL[0] + 20, DETAIL[1] + 16)
        wait_until(lambda: window.client_size() == (320, 340), 5, "the panel to open")

    def click_panel_button(self, window, position):
        window.click_client(position[0] + 30, position[1] + 10)


class SecondStartWithAPromptOpen(LiveTestCase):
    # The first status page comes slowly, so the window is hidden before its firmware prompt.
    SIM_ARGS = ("--scenario", "firmware-update", "--drip-ms", "3",
                "--fault", "drip,path=/mobile/mobile.cgi/info_remote_main,times=1")

    def test_second_start_shows_the_window_not_its_message_box(self):
        self.session.write_profile({
            "application_info": dict(self.WINDOW_POSITION, app_keep_task=1),
            "router_info": {"connect_rt_pw": stored_password(ADMIN_PASSWORD)}})
        self.app_process = self.session.start_app()
        window = self.session.wait_for_main_window()
        self.focus(window)
        self.session.key("alt+F4")
        wait_until(lambda: not window.is_viewable(), 5, "the window to hide")
        # Only the prompt is shown now, under the window's own title.
        box = self.message_box(window, timeout=40)

        second = self.session.start_app(stdin=subprocess.PIPE)
        self.assertEqual(second.wait(timeout=20), 0)
        wait_until(window.is_viewable, 10, "the main window to show")
        self.session.save(self.session.screenshot(), "second-start-with-prompt.png")
        self.assertTrue(box.is_viewable(), "the prompt went away")
        self.assertIsNone(self.app_process.poll(), "the first instance ended")


class Keys(LiveTestCase):

    def test_escape_and_enter_leave_the_window_and_escape_the_settings_dialog(self):
        window = self.start_live(reload_cycle=60000)
        requests = len(self.router.requests())
        profile = self.session.profile_path.read_bytes()
        self.focus(window)
        self.session.key("Escape", "Return")
        time.sleep(1)
        self.assertTrue(window.is_viewable(), "a key closed or hid the window")
        self.assertIsNone(self.app_process.poll(), "a key ended the program")

        self.session.key("alt+s", "s")
        dialog = self.session.wait_for_window("環境設定")
        x, y, width, _ = dialog.geometry()
        self.session.click(DESKTOP_SIZE[0] - 24, DESKTOP_SIZE[1] - 168)
        self.session.click(x + width // 2, y + 8)
        self.session.key("Escape")
        time.sleep(1)
        self.assertTrue(dialog.is_viewable(), "Escape closed the settings dialog")
        self.assertEqual(len(self.router.requests()), requests, "a key sent a request")
        self.assertEqual(self.session.profile_path.read_bytes(), profile, "a key saved")


class FirstStatus(LiveTestCase):

    def test_first_status_and_the_profile_written_on_exit(self):
        window = self.start_live(reload_cycle=60000)
        time.sleep(1)
        shot = window.client_shot()
        self.session.save(shot, "live-first-status.png")
        # 80 % on the router: the eight-tenths frame, with text over it; strong signal; LTE.
        battery = region(shot, *BATTERY, art("battery_8.bmp"))
        box = differing_box(battery, art("battery_8.bmp"))
        self.assertIsNotNone(box, "no percentage on the battery")
        self.assertLess(box[2] - box[0], battery.width, "the frame is not the 80 % one")
        self.assertIsNone(differing_box(battery.crop((0, 0, battery.width, box[1])),
                                        art("battery_8.bmp").crop((0, 0, battery.width, box[1]))))
        self.assert_connection(shot, "connect_lte.bmp")
        self.assertIn(self.switch_picture(shot), ("btn_switch_u.bmp", "btn_switch_f.bmp"),
                      "no switch button on an LTE connection")
        antenna = [name for name in (f"antenna_{n}.bmp" for n in range(7))
                   if differing_box(region(shot, *ANTENNA, art(name)), art(name)) is None]
        self.assertEqual(len(antenna), 1, "no antenna picture with bars")
        self.assertGreaterEqual(int(antenna[0][8]), 4, "a strong signal shows few bars")

        # The panel, open, carries the router's texts above its buttons.
        self.open_panel(window)
        shot = window.client_shot()
        self.session.save(shot, "live-panel.png")
        panel = art("panel.bmp")
        texts = differing_box(region(shot, 0, 180, panel).crop((0, 0, panel.width, 105)),
                              panel.crop((0, 0, panel.width, 105)))
        self.assertIsNotNone(texts, "no texts on the panel")

        # Closed from the menu: the profile holds all eight keys, the password as stored.
        self.focus(window)
        self.session.key("alt+s", "x")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        profile = self.session.read_profile()
        for section, keys in PROFILE_KEYS.items():
            self.assertEqual(set(profile.get(section, {})), keys, section)
        self.assertEqual(profile["router_info"]["connect_rt_pw"], stored_password(ADMIN_PASSWORD))
        self.assertEqual(profile["application_info"]["reload_cycle"], "60000")
        self.assertEqual(profile["router_info"]["connect_domain"], "quirn.home.arpa")


class Commands(LiveTestCase):
    """The buttons' commands on a router that answers; no automatic poll comes between."""

    def posts(self, command):
        pattern = re.compile(rb"POST /(index\.cgi/info_btn|mobile/mobile\.cgi/info_remote_main)_"
                             + command.encode() + rb" ")
        return [r for r in self.router.requests() if pattern.match(r)]

    def admin_requests(self):
        return [r for r in self.router.requests()
                if b"\r\nAuthorization: " + admin_credentials() + b"\r\n" in r]

    def test_reload_fetches_the_status_again(self):
        window = self.start_live(reload_cycle=60000)
        before = self.router.count(STATUS_GET)
        window.click_client(RELOAD[0] + 15, RELOAD[1] + 15)
        wait_until(lambda: self.router.count(STATUS_GET) > before, 10, "a status poll")
        self.assertEqual(self.router.count(STATUS_GET), before + 1)
        self.assertEqual(self.posts("reboot") + self.posts("standby"), [])

    def test_reboot_after_its_confirmation(self):
        window = self.start_live(reload_cycle=60000)
        self.open_panel(window)
        # Cancelled first: nothing is sent.
        self.click_panel_button(window, REBOOT)
        box = self.message_box(window)
        self.press(box, self.assert_message_box("再起動を実行しますか？", "question",
                                                ["OK", "Cancel"]), "Cancel")
        time.sleep(1)
        self.assertEqual(self.posts("reboot"), [])

        self.click_panel_button(window, REBOOT)
        box = self.message_box(window)
        self.press(box, self.assert_message_box("再起動を実行しますか？", "question",
                                                ["OK", "Cancel"]), "OK")
        wait_until(lambda: self.posts("reboot"), 10, "the reboot command")
        self.assertTrue(self.admin_requests(), "no administrator log-in")
        self.assertEqual(len(self.posts("reboot")), 1)
        self.assert_notice(window, "再起動中...", y=320)
        self.session.save(window.client_shot(), "live-rebooting.png")

    def test_standby_closes_the_program(self):
        window = self.start_live(reload_cycle=60000)
        self.open_panel(window)
        self.click_panel_button(window, STANDBY)
        box = self.message_box(window)
        self.press(box, self.assert_message_box(
            "休止状態に移行して、アプリケーションを終了します。実行しますか？", "question",
            ["OK", "Cancel"]), "OK")
        wait_until(lambda: self.posts("standby"), 10, "the standby command")
        self.assertTrue(self.admin_requests(), "no administrator log-in")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        self.assertEqual(self.session.find_windows(APP_TITLE, only_visible=False), [])

    def test_switch_from_lte_to_the_wireless_lan(self):
        window = self.start_live(reload_cycle=2000)
        window.click_client(SWITCH[0] + 20, SWITCH[1] + 10)
        wait_until(lambda: self.posts("wlan") or self.posts("lte3g"), 10, "the switch command")
        self.assertEqual(self.posts("lte3g"), [])
        self.assertTrue(self.admin_requests(), "no administrator log-in")
        # The router switched: a later status shows the wireless LAN.
        wait_until(lambda: self.connection_shown(window, "connect_wlan.bmp"), 20,
                   "the wireless LAN connection")

    def connection_shown(self, window, name):
        try:
            self.assert_connection(window.client_shot(), name)
            return True
        except AssertionError:
            return False


class ConnectionCheck(LiveTestCase):

    def check_and_expect(self, failed):
        window = self.start_live(reload_cycle=60000)
        self.open_panel(window)
        before = self.router.count(CHECK_GET)
        self.click_panel_button(window, CHECK)
        box = self.message_box(window)
        self.assertGreater(self.router.count(CHECK_GET), before, "the maker's page was not asked")
        self.session.save(box.shot(), f"live-check-{'failed' if failed else 'succeeded'}.png")
        if failed:
            shown = self.assert_message_box("接続確認に失敗しました。", "exclamation", ["OK"])
        else:
            shown = self.assert_message_box("接続確認に成功しました。", "information", ["OK"])
        self.press(box, shown, "OK")
        self.assertIsNone(self.app_process.poll())


class ConnectionCheckSucceeds(ConnectionCheck):

    def test_check_succeeds(self):
        self.check_and_expect(failed=False)


class ConnectionCheckFails(ConnectionCheck):
    SIM_ARGS = ("--fault", "unauthorized,path=/function/wimax/index.html")

    def test_check_fails(self):
        self.check_and_expect(failed=True)


class RouterGoesAway(LiveTestCase):

    def test_stale_notice_when_the_router_stops_answering(self):
        window = self.start_live(reload_cycle=2000)
        polls = self.router.count(STATUS_GET)
        self.router.stop()
        self.assert_notice(window, "最新の情報でない可能性があります。", timeout=30)
        self.session.save(window.client_shot(), "live-stale.png")
        self.assertEqual(self.router.count(STATUS_GET), polls)


class RefusedPassword(LiveTestCase):

    def test_refused_password_prompts_and_the_command_is_reissued(self):
        window = self.start_live(password="wrong-pass", reload_cycle=60000)
        self.open_panel(window)
        self.click_panel_button(window, REBOOT)
        self.answer(self.message_box(window))
        # Refused: a stop box, then the settings dialog for the password.
        box = self.message_box(window)
        self.press(box, self.assert_message_box(
            "パスワードの認証に失敗しました。\nルーターに設定したパスワードを入力してください。",
            "stop", ["OK"]), "OK")
        self.enter_password_in_settings(ADMIN_PASSWORD)
        wait_until(lambda: [r for r in self.router.requests()
                            if r.startswith(b"POST ") and b"_reboot " in r.split(b"\r\n")[0]
                            and admin_credentials() in r], 15, "the reboot re-issued")
        self.assertTrue(any(admin_credentials("wrong-pass") in r
                            for r in self.router.requests()), "the stored password was not tried")
        self.assert_notice(window, "再起動中...", y=320)


class InitialPassword(LiveTestCase):
    SIM_ARGS = ("--scenario", "initial-password")
    NEW_PASSWORD = "first-Admin_1"

    def password_sets(self):
        return [r for r in self.router.requests()
                if r.startswith(b"POST /index.cgi/wizard_password_set ")]

    def test_a_new_router_gets_its_first_administrator_password(self):
        window = self.start_polling(password=None, reload_cycle=60000)
        # No administrator password yet: a stop box, then the settings dialog to set one.
        box = self.message_box(window)
        self.press(box, self.assert_message_box(
            "管理者パスワードが設定されていません。\n管理者パスワードを設定してください。",
            "stop", ["OK"]), "OK")
        self.enter_password_in_settings(self.NEW_PASSWORD, screenshot="settings-dialog.png")
        wait_until(self.password_sets, 15, "the password set on the router")
        body = self.password_sets()[0].split(b"\r\n\r\n", 1)[1]
        self.assertIn(b"INIT_PASSWD=" + self.NEW_PASSWORD.encode(), body)
        self.assertIn(b"INIT_RETRY_PASSWD=" + self.NEW_PASSWORD.encode(), body)
        self.assertEqual(len(self.password_sets()), 1)
        # The router now takes the status account again, and the password is kept.
        self.wait_for_status(window, timeout=20)
        self.assertEqual(self.session.read_profile()["router_info"]["connect_rt_pw"],
                         stored_password(self.NEW_PASSWORD))
        self.assertIsNone(self.app_process.poll())
