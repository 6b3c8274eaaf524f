"""The window on displays scaled to 100, 150 and 200 % (Wine takes the system DPI from
LogPixels when a program starts): its client area grows by the scale, its skin and battery
pictures are the ones drawn for the scale, unstretched, and its texts stay inside their areas.
The README's picture of the window at 100 and 150 % comes from here."""

import subprocess

from PIL import Image, ImageChops

from harness import (differing_box, find_picture, ink_box, region, scaled, scaled_art,
                     wait_until)
from test_live import LiveTestCase

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"

SKIN_SIZE = (320, 180)
PANEL_SIZE = (320, 140)
STRIP_HEIGHT = 20
BATTERY = (173, 65)
RELOAD = (5, 143)
DETAIL = (275, 143)
LOGO_BAND = 38  # the skin's rows above the antenna, where no control lies
PANEL_LINES_BOTTOM = 105  # below the sixth line, above the command buttons


class ScaledDisplay:
    """The checks, for a LiveTestCase whose DPI gives the display's scale."""

    SIM_ARGS = ("--scenario", "charging")
    # Top left: at 200 % the window with its panel open is nearly as tall as the desktop.
    WINDOW_POSITION = {"window_pos_x": 0, "window_pos_y": 0}
    DPI = 96

    def setUp(self):
        super().setUp()
        self.set_log_pixels(self.DPI)
        self.addCleanup(self.set_log_pixels, 96)

    def set_log_pixels(self, dpi):
        subprocess.run(self.session.wine_command(
            "reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
            "/f"), env=self.session.env, stdin=subprocess.DEVNULL, capture_output=True,
            timeout=60, check=True)

    @property
    def percent(self):
        return self.DPI * 100 // 96

    def s(self, value):
        return scaled(value, self.percent)

    def wait_for_status(self, window, timeout=10):
        """The status is shown once the strip, drawn for the scale, is blank."""
        strip = scaled_art("notice_strip.bmp", self.percent)
        y = self.s(SKIN_SIZE[1])
        wait_until(lambda: differing_box(region(window.client_shot(), 0, y, strip), strip) is None,
                   timeout, "a status to be shown")

    def test_window_is_drawn_at_the_scale(self):
        window = self.start_live(reload_cycle=60000)
        p = self.percent
        width, height = window.client_size()
        self.assertEqual(window.percent, p, "the skin is not the one drawn for the scale")
        self.assertLessEqual(abs(width - self.s(320)), 1, "client width")
        self.assertLessEqual(abs(height - self.s(200)), 1, "client height")
        self.save_window(window, f"window-{p}.png")
        shot = window.client_shot()

        # The skin's top band as drawn for the scale, pixel for pixel.
        skin = scaled_art("skin.bmp", p)
        band = (0, 0, skin.width, self.s(LOGO_BAND))
        self.assertIsNone(differing_box(shot.crop(band), skin.crop(band)),
                          "the skin is not the one drawn for the scale")

        # The charging battery: one of the charging frames drawn for the scale, at its place.
        x, y = self.s(BATTERY[0]), self.s(BATTERY[1])
        frames = [scaled_art(f"battery_charging_{level}.bmp", p) for level in range(11)]
        shown = shot.crop((x, y, x + frames[0].width, y + frames[0].height))
        self.session.save(shown, f"battery-{p}.png")
        self.assertTrue(any(differing_box(shown, frame) is None for frame in frames),
                        "the battery is not a charging frame drawn for the scale")

        # The open panel: its lines start at the scaled margin and stay inside the panel.
        window.click_client(self.s(DETAIL[0]) + self.s(20), self.s(DETAIL[1]) + self.s(16))
        wait_until(lambda: abs(window.client_size()[1] - self.s(340)) <= 1, 5, "the open panel")
        shot = window.client_shot()
        self.session.save(shot, f"panel-{p}.png")
        top = self.s(SKIN_SIZE[1])
        lines = shot.crop((0, top, self.s(PANEL_SIZE[0]), top + self.s(PANEL_LINES_BOTTOM)))
        ink = ink_box(lines, lines.getpixel((lines.width - 2, 2)))
        self.assertIsNotNone(ink, "no panel text")
        self.assertLessEqual(abs(ink[0] - self.s(10)), 1, "the panel's lines are not at the scale")
        self.assertLess(ink[2], lines.width - 1, "a panel line runs out of the panel")

        # The notice of a lost router, its longest: inside the strip, not cut at its bottom.
        self.router.stop()
        window.click_client(self.s(RELOAD[0]) + self.s(20), self.s(RELOAD[1]) + self.s(16))
        strip_top = self.s(SKIN_SIZE[1] + PANEL_SIZE[1])

        def notice():
            strip = window.client_shot().crop((0, strip_top, self.s(SKIN_SIZE[0]),
                                               strip_top + self.s(STRIP_HEIGHT)))
            background = strip.getpixel((strip.width - 1, strip.height // 2))
            text = ink_box(strip, background, tolerance=90)
            return (strip, text) if text is not None else None
        strip, text = wait_until(notice, 20, "a notice on the strip")
        self.session.save(strip, f"notice-{p}.png")
        self.assertGreater(text[1], 0, "the notice runs out of the strip's top")
        self.assertLess(text[3], strip.height, "the notice runs out of the strip's bottom")
        if p == 150:
            self.save_side_by_side()

    def test_about_box_draws_the_logo_for_the_scale(self):
        window = self.start_main_window()
        self.focus(window)
        self.session.key("alt+h", "a")
        about = self.session.wait_for_window("バージョン情報")
        logo = scaled_art("logo.bmp", self.percent)
        # Pure red is the logo's transparent colour: only the other pixels are compared.
        opaque = ImageChops.difference(logo, Image.new("RGB", logo.size, (255, 0, 0))) \
            .convert("L").point(lambda v: 255 if v else 0)
        corners = (0, 0, self.s(30), self.s(60) + 20)
        found = wait_until(lambda: find_picture(about.shot(), logo, corners, opaque), 10,
                           "the logo drawn for the scale")
        self.session.save(about.shot(), f"about-{self.percent}.png")
        # The about box has the main window's frame: the logo is the scaled margin in.
        self.assertEqual(found[0] - window.client_origin()[0], self.s(10))

    def save_side_by_side(self):
        """The README's picture: the window at 100 % (when its test ran first) beside 150 %."""
        shots = [self.session.artifacts / f"window-{p}.png" for p in (100, 150)]
        if not all(shot.exists() for shot in shots):
            return
        left, right = (Image.open(shot).convert("RGB") for shot in shots)
        gap = 16
        both = Image.new("RGB", (left.width + gap + right.width, max(left.height, right.height)),
                         (255, 255, 255))
        both.paste(left, (0, 0))
        both.paste(right, (left.width + gap, 0))
        self.session.save(both, "window-scales.png")


class At100Percent(ScaledDisplay, LiveTestCase):
    DPI = 96


class At150Percent(ScaledDisplay, LiveTestCase):
    DPI = 144


class At200Percent(ScaledDisplay, LiveTestCase):
    DPI = 192
