"""The window under Wine before any router status: its client area and skin, the notice strip,
the no-information pictures, the detail panel, the about box, a second start and the "/cleanup"
run."""

import subprocess
import time

from PIL import Image, ImageChops

import harness
from harness import (APP_TITLE, DESKTOP_SIZE, IPA_GOTHIC, IPA_P_GOTHIC, AppTestCase, Window, art,
                     differing_box, find_picture, ink_box, region, text_width, wait_until)

# Client positions of the controls: the layout is fixed in pixels.
ANTENNA = (42, 40)
BATTERY = (173, 65)
RELOAD = (5, 143)
DETAIL = (275, 143)
CONNECTION = (60, 150)
PANEL_BUTTONS_X = (20, 120, 220)
PANEL_BUTTONS_Y = 290

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
RED = (255, 0, 0)


def skin_without_controls():
    """The skin, and a mask of where no control sits on it (the switch button and the panel
    buttons are hidden after start-up, so they do not count)."""
    skin = art("skin.bmp")
    mask = Image.new("L", skin.size, 255)
    for (x, y), picture in ((ANTENNA, "antenna_no_info.bmp"), (BATTERY, "battery_0.bmp"),
                            (RELOAD, "btn_reload_u.bmp"), (DETAIL, "btn_detail_u.bmp"),
                            (CONNECTION, "connect_unknown.bmp")):
        size = art(picture).size
        mask.paste(0, (x, y, x + size[0], y + size[1]))
    return skin, mask


def logo_and_mask():
    """The about box's logo, and the mask of its pixels that are not the transparent red."""
    logo = art("logo.bmp")
    red = Image.new("RGB", logo.size, RED)
    channels = ImageChops.difference(logo, red).split()
    differs = ImageChops.lighter(ImageChops.lighter(channels[0], channels[1]), channels[2])
    opaque = differs.point(lambda v: 255 if v else 0)
    return logo, opaque


def has_colour(image, colour):
    return colour in {c for _, c in image.getcolors(image.width * image.height)}


class WindowAfterStartUp(AppTestCase):

    def assert_skin_uncovered(self, shot):
        skin, mask = skin_without_controls()
        diff = ImageChops.multiply(ImageChops.difference(region(shot, 0, 0, skin), skin),
                                   mask.convert("RGB"))
        self.assertIsNone(diff.getbbox(), "the skin is covered where no control should show")

    def assert_notice_strip(self, shot, y, text):
        """The strip's picture at (0, y) with `text` drawn once, in white, at its left."""
        strip = art("notice_strip.bmp")
        shown = region(shot, 0, y, strip)
        box = differing_box(shown, strip)
        self.assertIsNotNone(box, f"no notice on the strip at y={y}")
        self.assertLessEqual(box[0], 4)
        self.assertAlmostEqual(box[2] - box[0], text_width(text, IPA_P_GOTHIC, 14), delta=4,
                               msg=f'the notice is not "{text}"')
        self.assertTrue(has_colour(shown.crop(box), WHITE), "the notice is not white")

    def test_client_area_skin_and_notice_strip(self):
        window = self.start_main_window()
        self.assertEqual(window.client_size(), (320, 200))
        shot = window.client_shot()
        self.save_window(window, "window.png")
        self.session.save(shot, "client.png")

        self.assert_skin_uncovered(shot)
        self.assert_notice_strip(shot, 180, "取得中...")
        # Closed panel: the detail button's first picture; the reload button, first in the tab
        # order, has the focus.
        self.assertIsNone(differing_box(region(shot, *DETAIL, art("btn_detail_u.bmp")),
                                        art("btn_detail_u.bmp")))
        self.assertIsNone(differing_box(region(shot, *RELOAD, art("btn_reload_f.bmp")),
                                        art("btn_reload_f.bmp")))

    def test_no_information_pictures_before_any_status(self):
        window = self.start_main_window()
        # The first status poll is under way: the router has taken it and keeps silent.
        wait_until(self.router.connection_count, 10, "the first status poll")
        first = window.client_shot()
        # Longer than two periods of the battery's animation: nothing may move meanwhile.
        time.sleep(2)
        shot = window.client_shot()
        self.session.save(shot, "no-information.png")

        for (x, y), name in ((ANTENNA, "antenna_no_info.bmp"),
                             (CONNECTION, "connect_unknown.bmp")):
            with self.subTest(picture=name):
                picture = art(name)
                self.assertIsNone(differing_box(region(shot, x, y, picture), picture))
                self.assertIsNone(differing_box(region(first, x, y, picture), picture))

        # The battery: its empty frame with "??%" centred across it, black with white over it.
        frame = art("battery_0.bmp")
        shown = region(shot, *BATTERY, frame)
        self.assertIsNone(differing_box(region(first, *BATTERY, frame), shown),
                          "the battery changed before any status")
        box = differing_box(shown, frame)
        self.assertIsNotNone(box, 'no "??%" on the battery')
        self.assertAlmostEqual((box[0] + box[2]) / 2, frame.width / 2, delta=3)
        self.assertAlmostEqual(box[1], 14, delta=3, msg="the text's black pass starts at y=14")
        self.assertAlmostEqual(box[2] - box[0], text_width("??%", IPA_GOTHIC, 30), delta=4)
        text = shown.crop(box)
        self.assertTrue(has_colour(text, WHITE) and has_colour(text, BLACK))

    def test_detail_button_opens_and_closes_the_panel(self):
        window = self.start_main_window()
        closed = window.geometry()
        window.click_client(DETAIL[0] + 20, DETAIL[1] + 16)
        wait_until(lambda: window.client_size() == (320, 340), 5, "the panel to open")
        opened = window.geometry()
        self.assertEqual(opened[:3], closed[:3], "the window moved or changed its width")
        self.assertEqual(opened[3] - closed[3], 140)
        shot = window.client_shot()
        self.save_window(window, "window-panel.png")

        self.assert_skin_uncovered(shot)
        self.assert_notice_strip(shot, 320, "取得中...")
        # The panel's picture with no text on it yet; only the three buttons lie over it, in a
        # row at y=290, each starting where the layout puts it and all of one size.
        panel = art("panel.bmp")
        shown = region(shot, 0, 180, panel)
        box = differing_box(shown, panel)
        self.assertIsNotNone(box, "the panel buttons are not shown")
        self.assertEqual(box[1] + 180, PANEL_BUTTONS_Y)
        columns = [differing_box(shown.crop((x, 0, x + 1, panel.height)),
                                 panel.crop((x, 0, x + 1, panel.height))) is not None
                   for x in range(panel.width)]
        starts = [x for x in range(panel.width) if columns[x] and (x == 0 or not columns[x - 1])]
        ends = [x for x in range(panel.width)
                if columns[x] and (x + 1 == panel.width or not columns[x + 1])]
        self.assertEqual(tuple(starts), PANEL_BUTTONS_X)
        self.assertEqual(len({end - start for start, end in zip(starts, ends)}), 1)
        # The click left the focus on the detail button: its open-panel focused picture.
        self.assertIsNone(differing_box(region(shot, *DETAIL, art("btn_detail_f2.bmp")),
                                        art("btn_detail_f2.bmp")))

        window.click_client(DETAIL[0] + 20, DETAIL[1] + 16)
        wait_until(lambda: window.client_size() == (320, 200), 5, "the panel to close")
        self.assertEqual(window.geometry(), closed)
        shot = window.client_shot()
        self.assert_skin_uncovered(shot)
        self.assert_notice_strip(shot, 180, "取得中...")
        self.assertIsNone(differing_box(region(shot, *DETAIL, art("btn_detail_f.bmp")),
                                        art("btn_detail_f.bmp")))

    def test_about_box_from_the_help_menu(self):
        window = self.start_main_window()
        self.focus(window)
        self.session.key("alt+h", "a")
        about = self.session.wait_for_window("バージョン情報")
        logo, opaque = logo_and_mask()
        wait_until(lambda: find_picture(about.shot(), logo, (0, 0, 30, 60), opaque), 5,
                   "the logo")
        shot = about.shot()
        self.session.save(shot, "about.png")

        # The logo at (10, 10) of the client area, its pure red pixels showing the background.
        # Both windows have the same frame. The client area starts below the caption, whose
        # last row is a line of the background's colour.
        left, top = find_picture(shot, logo, (0, 0, 30, 60), opaque)
        background = shot.getpixel((left - 8, top - 8))
        border = window.client_origin()[0]
        client_top = 1 + next(y for y in range(border + 1, top)
                              if shot.getpixel((shot.width // 2, y)) == background)
        self.assertEqual((left - border, top - client_top), (10, 10))
        backdrop = Image.composite(logo, Image.new("RGB", logo.size, background), opaque)
        self.assertIsNone(differing_box(region(shot, left, top, logo), backdrop),
                          "the logo's red is not transparent")

        # The version line, whole: about as wide as FreeType draws it in the face (hinting
        # makes a few pixels), far wider than when cut after "Version".
        band = shot.crop((left + logo.width + 4, top - 4, left + logo.width + 230, top + 12))
        ink = ink_box(band, background, tolerance=100)
        self.assertIsNotNone(ink, "no version line")
        self.assertAlmostEqual(ink[2] - ink[0],
                               text_width("Quirn Mobile Tool Version 2.0.7", IPA_P_GOTHIC, 12),
                               delta=8, msg="the version line is not shown whole")

        self.session.key("Return")
        wait_until(lambda: not self.session.find_windows("バージョン情報"), 5,
                   "the about box to close")
        self.assertTrue(window.is_viewable())


class SecondStart(AppTestCase):

    def test_second_start_brings_the_first_window_forward(self):
        # The second process only shows and raises the first one's window, with or without
        # "/cleanup": it ends at once, deletes nothing and never waits for input.
        cases = (("hidden in the tray", ()), ("hidden in the tray", ("/cleanup",)),
                 ("under another window", ()))
        for where, args in cases:
            with self.subTest(where=where, args=args):
                self.session.end_app()  # what an earlier case left
                self.session.shortcut_path.unlink(missing_ok=True)
                window = self.start_main_window(app_keep_task=1, app_startup=1)
                wait_until(self.session.shortcut_path.exists, 10, "the autostart shortcut")
                if where == "hidden in the tray":
                    self.focus(window)
                    self.session.key("alt+F4")
                    wait_until(lambda: not window.is_viewable(), 5, "the window to hide")
                else:
                    self.session.spawn_wine("notepad")
                    self.addCleanup(self.session.run_wine, "taskkill", "/f", "/im", "notepad.exe")
                    wait_until(lambda: not self.skin_on_top(window), 10,
                               "another window over the main window")
                first = self.app_process

                second = self.session.start_app(*args, stdin=subprocess.PIPE)
                self.assertEqual(second.wait(timeout=20), 0)
                wait_until(lambda: window.is_viewable() and self.skin_on_top(window), 10,
                           "the window to come forward")
                name = "-".join(["second-start", where.split()[0], *(a[1:] for a in args)])
                self.session.save(self.session.screenshot(), name + ".png")
                self.assertEqual(self.session.find_windows(APP_TITLE), [window.xid])
                self.assertIsNone(first.poll(), "the first instance ended")
                self.assertTrue(self.session.profile_path.exists())
                self.assertTrue(self.session.shortcut_path.exists())

    @staticmethod
    def skin_on_top(window):
        band = art("skin.bmp").crop((0, 0, 320, window.SKIN_BAND))
        return differing_box(region(window.client_shot(), 0, 0, band), band) is None


class UnwritableProfile(AppTestCase):

    def test_exit_tells_that_the_settings_were_not_kept(self):
        window = self.start_main_window()
        path = self.session.profile_path
        before = path.read_bytes()
        # Immutable: not even root may write it, as an ordinary user may not write Program Files.
        subprocess.run(["chattr", "+i", str(path)], check=True)
        self.addCleanup(subprocess.run, ["chattr", "-i", str(path)], check=False)

        self.focus(window)
        self.session.key("alt+F4")
        box = Window(self.session, wait_until(
            lambda: next((xid for xid in self.session.find_windows(APP_TITLE)
                          if xid != window.xid), None), 10,
            "the message that the settings were not kept"))
        self.session.save(self.session.screenshot(), "profile-not-saved.png")
        x, y, width, _ = box.geometry()
        self.session.click(DESKTOP_SIZE[0] - 24, DESKTOP_SIZE[1] - 168)
        self.session.click(x + width // 2, y + 8)
        self.session.key("Return")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        self.assertEqual(path.read_bytes(), before)


class Cleanup(AppTestCase):

    def test_cleanup_deletes_profile_and_shortcut_without_a_window(self):
        # A real shortcut first: the program makes it at start-up when autostart is on.
        window = self.start_main_window(app_startup=1)
        shortcut = self.session.shortcut_path
        wait_until(shortcut.exists, 10, "the autostart shortcut")
        self.assertEqual(shortcut.read_bytes()[:4], b"L\0\0\0", "not a shell link")
        self.focus(window)
        self.session.key("alt+F4")  # ends the program: it does not keep to the tray
        self.assertEqual(self.app_process.wait(timeout=20), 0)

        local = self.session.user_folder("AppData", "Local", "VirtualStore")
        copies = [local / folder / "Vandrel" / "Quirn Mobile Tool" / harness.PROFILE_NAME
                  for folder in ("Program Files (x86)", "Program Files")]
        for copy in copies:
            copy.parent.mkdir(parents=True, exist_ok=True)
            copy.write_bytes(b"[application_info]\r\napp_startup=1\r\n")
        files = [self.session.profile_path, shortcut, *copies]
        self.assertTrue(all(f.exists() for f in files))

        contacts = self.router.connection_count()
        cleanup = self.session.start_app("/cleanup", stdin=subprocess.PIPE)
        wait_until(lambda: not any(f.exists() for f in files), 10, "the files to be deleted")
        # Then it waits for one character, showing nothing.
        deadline = time.monotonic() + 1.5
        while time.monotonic() < deadline:
            self.assertEqual(self.session.find_windows(APP_TITLE, only_visible=False), [])
            self.assertIsNone(cleanup.poll(), "the cleanup run did not wait for input")
            time.sleep(0.1)
        self.session.save(self.session.screenshot(), "cleanup.png")
        cleanup.stdin.write(b"\n")
        cleanup.stdin.close()
        self.assertEqual(cleanup.wait(timeout=10), 0)
        self.assertEqual([f for f in files if f.exists()], [])
        self.assertEqual(self.router.connection_count(), contacts, "the router was contacted")
