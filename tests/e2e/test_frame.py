"""The window's frame under Wine: its system menu with the about item, the position it reopens at
(also after it was minimised), and the about box's link to the version detail dialog with that
dialog's layout."""

from harness import APP_TITLE, ART, AppTestCase, HarnessError, Window, ink_box, wait_until
from test_tray import TrayTestCase

WS_THICKFRAME = 0x00040000
WS_MAXIMIZEBOX = 0x00010000

ABOUT_TITLE = "バージョン情報"
DETAIL_TITLE = "詳細情報"
LINK_ID = 1018
OK_ID = 1
LICENCE_TEXT_ID = 1011
BLUE = (0, 0, 255)


def the_window(session, title):
    """The one top-level window titled `title` as win_probe sees it, and the foreground window."""
    seen = session.probe_windows(title)
    if len(seen["windows"]) != 1:
        raise HarnessError(f'{len(seen["windows"])} windows "{title}"')
    return seen["windows"][0], seen["foreground"]


def control(window, control_id):
    return next(c for c in window["controls"] if c["id"] == control_id)


def size(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


def rows_of(image, background, tolerance=40):
    """The runs of rows of `image` that hold something besides `background`, as (top, bottom)
    with bottom excluded."""
    runs, start = [], None
    for y in range(image.height):
        inked = ink_box(image.crop((0, y, image.width, y + 1)), background, tolerance)
        if inked and start is None:
            start = y
        elif not inked and start is not None:
            runs.append((start, y))
            start = None
    if start is not None:
        runs.append((start, image.height))
    return runs


# --- the pointer's shape ---

def cursor_file_rows(path):
    """A monochrome .cur file as rows of "X" (black), "o" (white) and "." (transparent), and its
    hot spot."""
    data = path.read_bytes()
    width, height = data[6], data[7]
    hot_spot = (int.from_bytes(data[10:12], "little"), int.from_bytes(data[12:14], "little"))
    image = int.from_bytes(data[18:22], "little")
    if int.from_bytes(data[image + 14:image + 16], "little") != 1:
        raise HarnessError(f"{path} is not a monochrome cursor")
    palette = data[image + 40:image + 48]
    stride = (width + 31) // 32 * 4
    xor_mask = image + 48
    and_mask = xor_mask + stride * height
    rows = []
    for y in range(height):
        line = (height - 1 - y) * stride  # bottom-up
        row = ""
        for x in range(width):
            bit = 0x80 >> (x % 8)
            if data[and_mask + line + x // 8] & bit:
                row += "."
            else:
                index = 1 if data[xor_mask + line + x // 8] & bit else 0
                row += "o" if palette[index * 4:index * 4 + 3] == b"\xff\xff\xff" else "X"
        rows.append(row)
    return rows, hot_spot


def x_cursor(display_name):
    """The pointer's shape the X server shows (Wine passes the program's cursor on to it), as
    rows like cursor_file_rows, and its hot spot. The probe's own GetCursorInfo cannot tell a
    cursor of the program's from another: their handles differ per process."""
    from Xlib import display as xlib_display
    display = xlib_display.Display(display_name)
    try:
        display.xfixes_query_version()
        image = display.xfixes_get_cursor_image(display.screen().root)
    finally:
        display.close()
    rows = []
    for y in range(image.height):
        row = ""
        for pixel in image.cursor_image[y * image.width:(y + 1) * image.width]:
            colour = pixel & 0xFFFFFF
            if pixel >> 24 == 0:
                row += "."
            else:
                row += {0xFFFFFF: "o", 0: "X"}.get(colour, "?")
        rows.append(row)
    return rows, (image.xhot, image.yhot)


class SystemMenu(AppTestCase):

    def test_system_menu_has_the_about_item_and_neither_maximise_nor_size(self):
        window = self.start_main_window()
        main, _ = the_window(self.session, APP_TITLE)
        self.assertFalse(main["style"] & (WS_MAXIMIZEBOX | WS_THICKFRAME),
                         "the window can be maximised or sized")

        # A click on the caption's icon opens the system menu, with no item highlighted.
        before = set(self.session.all_window_ids(only_visible=True))
        x, y, _, _ = window.geometry()
        self.session.click(x + 10, y + 10)
        menu = wait_until(lambda: self.new_menu(before), 5, "the system menu")
        shot = menu.shot()
        self.session.save(shot, "system-menu.png")

        # Wine gives this window restore, move and minimise (both greyed), close and its own
        # about item, in three groups; the program's about item comes last. A size or maximise
        # entry would make a row more each.
        rows = self.menu_rows(shot)
        items = [row for row in rows if row[1] - row[0] > 4]
        separators = [row for row in rows if row[1] - row[0] <= 4]
        self.assertEqual((len(items), len(separators)), (6, 2), f"menu rows {rows}")

        # The last item is the program's: it opens the about box.
        top, bottom = items[-1]
        self.session.click(menu.geometry()[0] + 40, menu.geometry()[1] + (top + bottom) // 2)
        self.session.wait_for_window(ABOUT_TITLE, timeout=5)
        about, _ = the_window(self.session, ABOUT_TITLE)
        self.assertEqual(about["owner"], main["hwnd"])

    def new_menu(self, before):
        """The window that appeared since `before`, once it shows rows, or None."""
        for xid in self.session.all_window_ids(only_visible=True):
            if xid not in before and len(self.menu_rows(Window(self.session, xid).shot())) > 2:
                return Window(self.session, xid)
        return None

    @staticmethod
    def menu_rows(shot):
        """The rows of items and separators inside the menu's frame, as (top, bottom) on the
        menu."""
        frame = (4, 3)
        inner = shot.crop((frame[0], frame[1], shot.width - frame[0], shot.height - frame[1]))
        rows = rows_of(inner, inner.getpixel((inner.width - 2, inner.height - 2)))
        return [(top + frame[1], bottom + frame[1]) for top, bottom in rows]


class WindowPosition(TrayTestCase):
    """Moving the window as a user does, by dragging its caption; the position is read from
    Windows (GetWindowRect through the probe), since the virtual desktop's X positions are
    not Windows' own."""

    def start_router(self):
        return AppTestCase.start_router(self)  # the tray icon needs no router's answers

    def position(self):
        main, _ = the_window(self.session, APP_TITLE)
        return tuple(main["rect"][:2])

    def drag_caption(self, window, dx, dy):
        start = self.position()
        x, y, _, _ = window.geometry()
        grab_x, grab_y = x + 80, y + 10
        self.session.x_tool("xdotool", "mousemove", str(grab_x), str(grab_y), "mousedown", "1")
        steps = 5
        for step in range(1, steps + 1):
            self.session.x_tool("xdotool", "mousemove", str(grab_x + dx * step // steps),
                                str(grab_y + dy * step // steps), "sleep", "0.05")
        wanted = (start[0] + dx, start[1] + dy)

        # Wine's move loop follows the pointer once it has begun after the press, which may be
        # after the first moves: the button is let go only when the window is there.
        def arrived():
            if self.position() == wanted:
                return True
            self.session.x_tool("xdotool", "mousemove", str(grab_x + dx), str(grab_y + dy + 1),
                                "mousemove", str(grab_x + dx), str(grab_y + dy))
            return False
        wait_until(arrived, 5, f"the window to follow the pointer to {wanted}", interval=0.2)
        self.session.x_tool("xdotool", "mouseup", "1")
        wait_until(lambda: self.position() == wanted, 5, f"the window to stay at {wanted}")
        return wanted

    def stored_position(self):
        info = self.session.read_profile()["application_info"]
        return info["window_pos_x"], info["window_pos_y"]

    def test_moved_window_reopens_where_it_was_left(self):
        window = self.start_main_window()
        moved = self.drag_caption(window, 137, 91)
        self.focus(window)
        self.session.key("alt+F4")
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        self.assertEqual(self.stored_position(), tuple(str(v) for v in moved))

        # Started again on that profile, as it is.
        self.app_process = self.session.start_app()
        window = self.session.wait_for_main_window()
        self.assertEqual(self.position(), moved)
        self.assertEqual(window.geometry()[:2], moved)

    def test_minimised_window_keeps_its_last_normal_position(self):
        window = self.start_main_window()
        moved = self.drag_caption(window, -43, 117)
        # A click on the tray icon minimises the window, which Windows moves out of sight.
        icon = wait_until(self.tray_icon_centre, 10, "the tray icon")
        self.session.click(*icon)
        wait_until(lambda: the_window(self.session, APP_TITLE)[0]["iconic"], 5,
                   "the window to be minimised")
        self.assertNotEqual(self.position(), moved, "minimising did not move the window")

        # Ended from the tray icon's menu (its last item) while minimised.
        menu = self.window_appearing(
            lambda: self.session.x_tool("xdotool", "mousemove", str(icon[0]), str(icon[1]),
                                        "click", "3"), "the tray menu")
        x, y, width, height = menu.geometry()
        self.session.click(x + width // 2, y + height - 10)
        self.assertEqual(self.app_process.wait(timeout=20), 0)
        self.assertEqual(self.stored_position(), tuple(str(v) for v in moved))


class AboutLink(AppTestCase):
    """The about box's "詳細..." link, which the program creates hidden: the probe shows it, as
    a build that shows it would."""

    def open_about_with_link(self):
        """Opens the about box from the Help menu, shows its link and returns the link as the
        probe sees it."""
        window = self.start_main_window()
        self.focus(window)
        self.session.key("alt+h", "a")
        self.session.wait_for_window(ABOUT_TITLE, timeout=5)
        self.session.probe("show", ABOUT_TITLE, str(LINK_ID))

        def shown_link():
            link = control(the_window(self.session, ABOUT_TITLE)[0], LINK_ID)
            return link if link["visible"] else None
        return wait_until(shown_link, 5, "the link to show")

    def blue_label(self, rect):
        """The screen's picture of `rect` once it holds pure blue, else None."""
        shot = self.session.screenshot().crop(rect)
        return shot if BLUE in {c for _, c in shot.getcolors(shot.width * shot.height)} else None

    def test_link_is_blue_underlined_and_takes_the_hand_pointer(self):
        link = self.open_about_with_link()
        left, top, right, bottom = link["rect"]
        label = wait_until(lambda: self.blue_label(link["rect"]), 5, "the link's text in blue")
        self.session.save(label.resize((label.width * 4, label.height * 4)), "about-link.png")
        background = label.getpixel((label.width - 1, label.height - 1))
        ink = ink_box(label, background)
        self.assertIsNotNone(ink, "no link text")
        # The underline: one row of blue under the whole text.
        blue_rows = [y for y in range(label.height)
                     if sum(label.getpixel((x, y)) == BLUE for x in range(label.width))
                     >= (ink[2] - ink[0]) * 0.9]
        self.assertTrue(blue_rows, "the link is not underlined")
        self.assertGreaterEqual(blue_rows[-1], ink[3] - 3, "the blue line is not under the text")

        # Over the link the pointer becomes the program's hand. Wine hands the program's cursor
        # to the X server as the pointer moves, so the pointer moves over the label until then.
        hand = cursor_file_rows(ART / "hand.cur")
        nudge = iter(range(10**6))

        def hand_shown():
            x = (left + right) // 2 + next(nudge) % 3
            self.session.x_tool("xdotool", "mousemove", str(x), str((top + bottom) // 2))
            return x_cursor(self.session.display) == hand
        wait_until(hand_shown, 5, "the hand pointer over the link", interval=0.2)

    def test_link_opens_the_version_detail_on_top_with_its_layout(self):
        link = self.open_about_with_link()
        left, top, right, bottom = link["rect"]
        self.session.click((left + right) // 2, (top + bottom) // 2)
        self.session.wait_for_window(DETAIL_TITLE, timeout=5)
        detail, foreground = the_window(self.session, DETAIL_TITLE)
        owner, _ = the_window(self.session, ABOUT_TITLE)
        self.assertEqual(detail["owner"], owner["hwnd"])
        self.assertEqual(foreground, detail["hwnd"])
        self.assertFalse(owner["enabled"], "the about box still takes input")
        self.session.save(Window(self.session, self.session.find_windows(DETAIL_TITLE)[0]).shot(),
                          "version-detail.png")

        # Client coordinates: the text field 10 pixels in from three sides and 40 above the
        # bottom; the OK button centred, 5 pixels above the bottom, its width even.
        cl, ct, cr, cb = detail["client"]
        width, height = cr - cl, cb - ct

        def client(rect):
            return [rect[0] - cl, rect[1] - ct, rect[2] - cl, rect[3] - ct]
        self.assertEqual(client(control(detail, LICENCE_TEXT_ID)["rect"]),
                         [10, 10, width - 10, height - 40])
        button = client(control(detail, OK_ID)["rect"])
        bw, bh = size(button)
        self.assertEqual(bw % 2, 0)
        self.assertEqual(button, [width // 2 - bw // 2, height - 5 - bh,
                                  width // 2 + bw // 2, height - 5])
