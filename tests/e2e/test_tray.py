"""The notification-area icon under Wine against quirn-sim: its tooltip with the router's status,
and keeping the program in the tray, where closing the window only hides it, a click on the icon
brings it back and the icon's menu ends the program."""

import time

from harness import APP_TITLE, DESKTOP_SIZE, IPA_P_GOTHIC, Window, ink_box, text_width, wait_until
from test_live import LiveTestCase

# The right end of the taskbar, where Wine's desktop puts the notification area.
TRAY_AREA = (DESKTOP_SIZE[0] - 120, DESKTOP_SIZE[1] - 18, DESKTOP_SIZE[0], DESKTOP_SIZE[1])
TIP_FONT_PIXELS = 12


class TrayTestCase(LiveTestCase):

    def tray_icon_centre(self):
        """Screen coordinates of the program's icon in the notification area; None when no icon
        is there (the program's is the only one)."""
        area = self.session.screenshot().crop(TRAY_AREA)
        box = ink_box(area, area.getpixel((2, area.height - 1)))
        if box is None:
            return None
        return TRAY_AREA[0] + (box[0] + box[2]) // 2, TRAY_AREA[1] + (box[1] + box[3]) // 2

    def new_windows(self, before):
        return [xid for xid in self.session.all_window_ids(only_visible=True) if xid not in before]

    def window_appearing(self, action, what):
        """Does `action` until a new window is shown, and returns it."""
        before = set(self.session.all_window_ids(only_visible=True))

        def appeared():
            action()
            time.sleep(0.5)
            found = self.new_windows(before)
            return found[0] if len(found) == 1 else None
        return Window(self.session, wait_until(appeared, 10, what, interval=0.5))


class TrayTooltip(TrayTestCase):

    @staticmethod
    def text_lines(tip):
        """The ink widths of the tooltip's lines of text, top to bottom."""
        dark = [[sum(tip.getpixel((x, y))) < 200 for x in range(2, tip.width - 2)]
                for y in range(2, tip.height - 2)]
        lines, current = [], None
        for row in dark:
            if any(row):
                current = current or [len(row), -1]
                inked = [x for x, on in enumerate(row) if on]
                current = [min(current[0], inked[0]), max(current[1], inked[-1])]
            elif current is not None:
                lines.append(current[1] - current[0] + 1)
                current = None
        if current is not None:
            lines.append(current[1] - current[0] + 1)
        return lines

    def test_tooltip_tells_the_status(self):
        self.start_live(reload_cycle=60000)
        icon = wait_until(self.tray_icon_centre, 10, "the tray icon")
        x, y = icon

        def hover():
            self.session.x_tool("xdotool", "mousemove", str(x - 1), str(y))
            self.session.x_tool("xdotool", "mousemove", str(x), str(y))
        tip = self.window_appearing(hover, "the tooltip")
        shot = self.session.screenshot()
        self.session.save(shot.crop((DESKTOP_SIZE[0] - 260, DESKTOP_SIZE[1] - 90,
                                     *DESKTOP_SIZE)), "tray-tooltip.png")
        # The simulator's router: on LTE, strong signal, 80 % battery.
        expected = ["接続状態： インターネット利用可:LTE", "通信強度： 強い", "バッテリ残量： 80％"]
        widths = self.text_lines(tip.shot())
        self.assertEqual(len(widths), len(expected), f"tooltip lines {widths}")
        for width, line in zip(widths, expected):
            self.assertLessEqual(abs(width - text_width(line, IPA_P_GOTHIC, TIP_FONT_PIXELS)), 4,
                                 f'the tooltip line "{line}"')


class KeepInTray(TrayTestCase):

    def close_box(self, window):
        x, y, width, _ = window.geometry()
        self.session.click(x + width - 12, y + 10)

    def test_close_hides_and_the_tray_menu_ends_the_program(self):
        window = self.start_live(reload_cycle=60000, app_keep_task=1)
        icon = wait_until(self.tray_icon_centre, 10, "the tray icon")
        self.close_box(window)
        wait_until(lambda: not window.is_viewable(), 5, "the window to hide")
        time.sleep(1)
        self.assertIsNone(self.app_process.poll(), "closing the window ended the program")
        # Still in its place; its picture may have followed the first status meanwhile, and
        # the centre of its ink moved by a pixel with it.
        still = self.tray_icon_centre()
        self.assertIsNotNone(still, "the tray icon went with the window")
        self.assertLessEqual(max(abs(still[0] - icon[0]), abs(still[1] - icon[1])), 2,
                             f"the tray icon moved from {icon} to {still}")

        # A click on the icon brings the window back; closed again, it hides again.
        self.session.click(*icon)
        wait_until(window.is_viewable, 5, "the window to come back")
        self.close_box(window)
        wait_until(lambda: not window.is_viewable(), 5, "the window to hide again")

        # The icon's menu: restore, a separator and exit, the last item.
        menu = self.window_appearing(
            lambda: self.session.x_tool("xdotool", "mousemove", str(icon[0]), str(icon[1]),
                                        "click", "3"), "the tray menu")
        self.session.save(self.session.screenshot(), "tray-menu.png")
        x, y, width, height = menu.geometry()
        self.session.click(x + width // 2, y + height - 10)
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        wait_until(lambda: self.tray_icon_centre() is None, 10, "the tray icon to go")
        self.assertEqual(self.session.find_windows(APP_TITLE, only_visible=False), [])
        self.assertEqual(self.session.read_profile()["application_info"]["app_keep_task"], "1")
