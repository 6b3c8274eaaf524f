"""The settings dialog read from its real controls (the masked password box, its selection on
focus, which boxes each situation lets the user change), the message boxes the window shows
(their texts, icons and buttons read from the boxes, and what each answer does), and the detail
panel's command buttons while the router cannot be reached."""

import time

from harness import APP_TITLE, HarnessError, ink_box, wait_until
from test_live import (ADMIN_PASSWORD, REBOOT, RELOAD, STANDBY, STATUS_GET, LiveTestCase,
                       Simulator, admin_credentials, stored_password)

SETTINGS_TITLE = "環境設定"
PASSWORD_BOX, ADDRESS_BOX, USER_ID_BOX = 1011, 1012, 1013
RELOAD_ID = 1003
PANEL_BUTTONS = {1005: "standby", 1004: "reboot", 1007: "connection check"}
ES_PASSWORD = 0x0020
WRONG_PASSWORD = "wrong-pass"
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"

FIRMWARE_PROMPT = "新しいファームウェアがあります。\nソルミナを表示しますか？"
STANDBY_CONFIRM = "休止状態に移行して、アプリケーションを終了します。実行しますか？"
VOLUME_WARNING = "データ通信量の上限値を超えています。"
ADMIN_PASSWORD_PROMPT = "管理者パスワードが設定されていません。\n管理者パスワードを設定してください。"
PASSWORD_REFUSED_PROMPT = ("パスワードの認証に失敗しました。\n"
                           "ルーターに設定したパスワードを入力してください。")


class DialogTestCase(LiveTestCase):
    """Reaches the program's dialogs and reads them with win_probe."""

    def use_router(self, *sim_args):
        """Replaces the test's simulator by one started with `sim_args`."""
        self.router.stop()
        self.router = Simulator(self.session.artifacts / "sim", *sim_args).start()
        self.addCleanup(self.router.stop)

    def settings_controls(self):
        """The open settings dialog's controls by id, and the id of the one with the focus."""
        found = self.session.probe_windows(SETTINGS_TITLE)["windows"]
        if len(found) != 1:
            raise HarnessError(f"{len(found)} settings dialogs")
        controls = {c["id"]: c for c in found[0]["controls"]}
        focus = [i for i, c in controls.items() if c["hwnd"] == found[0]["focus"]]
        return controls, (focus[0] if focus else None)

    def focused_settings(self):
        """settings_controls() once a control has the focus; None before."""
        controls, focus = self.settings_controls()
        return (controls, focus) if focus is not None else None

    def open_settings_from_menu(self, window):
        self.focus(window)
        self.session.key("alt+s", "s")
        return self.session.wait_for_window(SETTINGS_TITLE)

    def refuse_a_reboot(self, window):
        """Reboots with the wrong password stored; answers the refusal's prompt and returns the
        settings dialog it opens."""
        self.open_panel(window)
        self.click_panel_button(window, REBOOT)
        self.answer(self.message_box(window))
        box = self.message_box(window)
        shown = self.assert_message_box(PASSWORD_REFUSED_PROMPT, "stop", ["OK"])
        self.press(box, shown, "OK")
        return self.session.wait_for_window(SETTINGS_TITLE)

    def click_control(self, control):
        left, top, right, bottom = control["rect"]
        self.session.click((left + right) // 2, (top + bottom) // 2)

    def reboots_with(self, password):
        return [r for r in self.router.requests()
                if r.startswith(b"POST ") and b"_reboot " in r.split(b"\r\n")[0]
                and admin_credentials(password) in r]


class SettingsDialog(DialogTestCase):

    def test_password_box_masks_what_is_typed(self):
        window = self.start_live(password=None, reload_cycle=60000)
        dialog = self.open_settings_from_menu(window)
        self.activate(dialog)
        shots = []
        # A wide and a narrow password of one length look alike when each letter shows as the
        # same mark; the focus is elsewhere when the box is pictured, so no caret shows in it.
        for password in ("WWWWWW", "iiiiii"):
            controls, _ = self.settings_controls()
            self.click_control(controls[PASSWORD_BOX])
            self.session.key("End", *["BackSpace"] * 8)
            self.session.x_tool("xdotool", "type", "--delay", "50", password)
            self.session.key("Tab")
            wait_until(lambda: self.settings_controls()[1] == ADDRESS_BOX, 5,
                       "the focus to leave the password box")
            left, top, right, bottom = controls[PASSWORD_BOX]["rect"]
            shots.append(self.session.screenshot().crop((left + 2, top + 2, right - 2,
                                                         bottom - 2)))
            self.session.save(shots[-1], f"settings-password-{password[0]}.png")
        self.assertIsNotNone(ink_box(shots[0], (255, 255, 255)), "the password box shows nothing")
        self.assertEqual(shots[0].tobytes(), shots[1].tobytes(),
                         "the password box shows the letters typed")
        controls, _ = self.settings_controls()
        self.assertTrue(controls[PASSWORD_BOX]["style"] & ES_PASSWORD, "no password style")
        self.assertNotEqual(controls[PASSWORD_BOX]["password_char"], 0)

    def test_typing_into_the_focused_password_box_replaces_the_password(self):
        window = self.start_live(password=WRONG_PASSWORD, reload_cycle=60000)
        dialog = self.refuse_a_reboot(window)
        self.activate(dialog)
        # Away to the address box, then back by a click, which alone would put the caret
        # where it lands.
        self.session.key("Tab")
        wait_until(lambda: self.settings_controls()[1] == ADDRESS_BOX, 5, "the address box's focus")
        controls, _ = self.settings_controls()
        self.click_control(controls[PASSWORD_BOX])
        wait_until(lambda: self.settings_controls()[1] == PASSWORD_BOX, 5,
                   "the password box's focus")
        self.assertEqual(self.settings_controls()[0][PASSWORD_BOX]["selection"],
                         [0, len(WRONG_PASSWORD)], "the old password is not selected whole")

        # Typed without clearing: the re-issued reboot and the profile carry the new password.
        self.session.x_tool("xdotool", "type", "--delay", "50", ADMIN_PASSWORD)
        self.session.key("Return")
        wait_until(lambda: not dialog.is_viewable(), 5, "the settings dialog to close")
        wait_until(lambda: self.reboots_with(ADMIN_PASSWORD), 15, "the reboot re-issued")
        self.focus(window)
        self.session.key("alt+s", "x")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        self.assertEqual(self.session.read_profile()["router_info"]["connect_rt_pw"],
                         stored_password(ADMIN_PASSWORD))

    def test_which_boxes_each_situation_lets_the_user_change(self):
        def from_menu(window):
            return self.open_settings_from_menu(window)

        def for_the_first_password(window):
            box = self.message_box(window)
            self.press(box, self.assert_message_box(ADMIN_PASSWORD_PROMPT, "stop", ["OK"]), "OK")
            return self.session.wait_for_window(SETTINGS_TITLE)

        cases = (
            # situation, simulator options, stored password, how the dialog opens,
            # password box enabled, address box enabled, the box with the focus
            ("a password stored, from the menu", (), ADMIN_PASSWORD, from_menu,
             False, True, ADDRESS_BOX),
            ("no password stored, from the menu", (), None, from_menu, True, True, PASSWORD_BOX),
            ("a router without a password", ("--scenario", "initial-password"), None,
             for_the_first_password, True, False, PASSWORD_BOX),
            ("the stored password refused", (), WRONG_PASSWORD, self.refuse_a_reboot,
             True, True, PASSWORD_BOX),
        )
        for situation, sim_args, password, open_dialog, password_on, address_on, focus in cases:
            with self.subTest(situation):
                self.session.end_app()
                self.use_router(*sim_args)
                window = self.start_polling(password=password, reload_cycle=60000)
                if open_dialog is not for_the_first_password:
                    self.wait_for_status(window)
                open_dialog(window)
                controls, focused = wait_until(self.focused_settings, 5, "a focused box")
                self.assertEqual(controls[PASSWORD_BOX]["enabled"], password_on, "password box")
                self.assertEqual(controls[ADDRESS_BOX]["enabled"], address_on, "address box")
                self.assertEqual(focused, focus)
                self.assertFalse(controls[USER_ID_BOX]["enabled"], "user id box")
                self.assertEqual(controls[USER_ID_BOX]["text"], "admin")


class MessageBoxes(DialogTestCase):
    """Boxes whose other answers the live tests already follow."""

    # That No opens no browser, test_shell's firmware prompt tests prove with their stand-in.
    def test_no_to_the_firmware_prompt_sends_nothing(self):
        self.use_router("--scenario", "firmware-update")
        window = self.start_polling(reload_cycle=60000)
        box = self.message_box(window)
        shown = self.assert_message_box(FIRMWARE_PROMPT, "question", ["Yes", "No"])
        requests = len(self.router.requests())
        self.press(box, shown, "No")
        time.sleep(2)
        self.assertEqual(self.router.requests()[requests:], [])
        self.assertEqual(self.session.probe("titles").count(APP_TITLE), 1, "another box opened")

    def test_cancel_on_the_standby_confirmation_sends_nothing(self):
        window = self.start_live(reload_cycle=60000)
        self.open_panel(window)
        requests = len(self.router.requests())
        self.click_panel_button(window, STANDBY)
        box = self.message_box(window)
        shown = self.assert_message_box(STANDBY_CONFIRM, "question", ["OK", "Cancel"])
        self.press(box, shown, "Cancel")
        time.sleep(1)
        self.assertEqual(self.router.requests()[requests:], [])
        self.assertIsNone(self.app_process.poll(), "the program ended")

    def test_volume_warning_shows_once_while_over_the_limit(self):
        self.use_router("--scenario", "limit-reached")
        window = self.start_polling(reload_cycle=60000)
        box = self.message_box(window)
        self.press(box, self.assert_message_box(VOLUME_WARNING, "exclamation", ["OK"]), "OK")
        # Still over the limit at the next poll: no second warning.
        polls = self.router.count(STATUS_GET)
        window.click_client(RELOAD[0] + 15, RELOAD[1] + 15)
        wait_until(lambda: self.router.count(STATUS_GET) > polls, 10, "a status poll")
        time.sleep(2)
        self.assertEqual(self.session.probe("titles").count(APP_TITLE), 1, "a second warning")


class PanelWhileTheRouterIsLost(DialogTestCase):

    def test_opening_the_panel_shows_its_buttons_disabled(self):
        # The program's wall clock (not the system's) is moved on past the time a router may
        # stay away, so that it counts as lost without the minutes of a real wait.
        offset = self.session.artifacts / "clock-offset"
        offset.write_text("+0\n")
        self.session.write_profile({
            "application_info": dict(self.WINDOW_POSITION, reload_cycle=2000),
            "router_info": {"connect_rt_pw": stored_password(ADMIN_PASSWORD)}})
        self.app_process = self.session.start_app(extra_env={
            "LD_PRELOAD": FAKETIME, "FAKETIME_TIMESTAMP_FILE": str(offset),
            "FAKETIME_CACHE_DURATION": "1", "FAKETIME_DONT_FAKE_MONOTONIC": "1"})
        window = self.session.wait_for_main_window()
        self.wait_for_status(window, timeout=20)
        self.assertTrue(self.main_controls()[1004]["enabled"], "no reboot with the router there")

        # Lost: the first failure starts the series, and more than 300 s pass after it.
        self.router.stop()
        self.assert_notice(window, "最新の情報でない可能性があります。", timeout=20)
        offset.write_text("+400\n")
        self.assert_notice(window, "情報の取得に失敗しました。", timeout=20)
        self.open_panel(window)
        controls = self.main_controls()
        for button, name in PANEL_BUTTONS.items():
            self.assertTrue(controls[button]["visible"], f"the {name} button is hidden")
            self.assertFalse(controls[button]["enabled"], f"the {name} button is enabled")

    def main_controls(self):
        """The main window's controls by id, as the probe reads them."""
        found = [w for w in self.session.probe_windows(APP_TITLE)["windows"]
                 if any(c["id"] == RELOAD_ID for c in w["controls"])]
        if len(found) != 1:
            raise HarnessError(f"{len(found)} main windows")
        return {c["id"]: c for c in found[0]["controls"]}
