#!/usr/bin/python3
"""gen_art.py: draws every picture of the Windows program into res/art/ and a contact sheet of
them into docs/art-sheet.png.

The window is laid out in pixels around these pictures, and the status controls copy their
pictures over the window background without transparency, so every picture that sits on the
window is drawn on a crop of the same background at the position the window places it. The
outputs are committed; the same inputs give the same bytes (no time stamps, fixed fonts).

The window's bitmaps are drawn at every art scale the window can lay itself out at: 100 % into
res/art/, 125, 150, 175 and 200 % into res/art/<percent>/ under the same file names, each drawn
at its size (not resized) and cut from the background at the window's scaled positions. The
resource script for the scaled bitmaps, res/art/scaled.rc, is written here too: a numbered
bitmap at scale step n (1 to 4 for 125 to 200 %) has its 100 % id plus 1000 * n, a named one
(the bitmap buttons) its 100 % name plus "_<percent>". Icons carry their sizes in one file.

Needs Pillow (Debian: python3-pil) and the IPA Gothic fonts (fonts-ipafont-gothic).

Usage: gen_art.py [--out DIR] [--sheet FILE] [--check]
  --out DIR     where the pictures go (default: res/art/ of this tool's repository)
  --sheet FILE  where the contact sheet goes (default: docs/art-sheet.png)
  --check       write nothing; exit 1 if the committed files differ from a fresh drawing
                (missing, extra or differing files under --out, or the sheet), 77 if Pillow
                or the fonts are missing
"""

import argparse
import filecmp
import io
import math
import os
import re
import struct
import sys
import tempfile

SKIP = 77  # CTest's skip code: the drawing tools are not installed

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    Image = None

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"  # IPAPGothic, Latin and Japanese

SS = 4  # supersampling factor for shapes; text is drawn at its real size

# Palette: cool greys, one blue accent, and the status colours.
INK = (43, 52, 64)  # dark slate: masts, outlines, wordmark
INK_SOFT = (92, 104, 118)
GREY_TEXT = (118, 128, 141)
LINE = (190, 199, 210)
LINE_LIGHT = (212, 219, 227)
WHITE = (255, 255, 255)
ACCENT = (31, 111, 209)
ACCENT_TOP = (60, 140, 235)
ACCENT_BOTTOM = (24, 92, 186)
ACCENT_SOFT = (219, 233, 251)
RED = (222, 64, 55)
AMBER = (238, 158, 28)
GREEN = (46, 164, 82)
DIALOG_FACE = (240, 240, 240)  # the about box's background, for the logo's soft edges
KEY_RED = (255, 0, 0)  # the logo's transparent colour

# Window layout in pixels (the main window places its controls at these points).
WIDTH = 320
MAIN_HEIGHT = 140  # gradient area above the toolbar band
BAND_HEIGHT = 40
SKIN_HEIGHT = MAIN_HEIGHT + BAND_HEIGHT
PANEL_SIZE = (320, 140)
STRIP_SIZE = (320, 20)
ANTENNA_AT, ANTENNA_SIZE = (42, 40), (100, 100)
BATTERY_AT, BATTERY_SIZE = (173, 65), (120, 75)
CONNECT_AT, CONNECT_SIZE = (60, 150), (200, 20)
RELOAD_AT, SWITCH_AT, DETAIL_AT = (5, 143), (130, 143), (275, 143)
SMALL_BUTTON, WIDE_BUTTON = (40, 33), (60, 33)
CONNECT_GAP = (68, 134)  # left and right edge of the empty span under the switch button
SEPARATORS_X = (52, 267)
LOGO_SIZE = 64

# The art scales, in percent of the layout above; the window picks one from its DPI. Scale step
# n (1 to 4) of the scaled bitmaps' resource ids is the index here.
ART_PERCENTS = (100, 125, 150, 175, 200)
SCALED_ID_STEP = 1000

# Sizes in each icon file, in pixels.
TRAY_ICON_SIZES = (16, 20, 24, 32)
APP_SMALL_SIZES = (16, 20, 24, 28, 32)
APP_LARGE_SIZES = (32, 40, 48, 64, 256)


class Scale:
    """One art scale: the layout's positions and sizes times percent / 100, rounded half up as
    the window rounds them (position and size separately), and drawing lengths times `factor`."""

    def __init__(self, percent):
        self.percent = percent
        self.factor = percent / 100

    def px(self, v):
        """A whole-pixel layout value (position or size) at this scale."""
        return (v * self.percent + 50) // 100

    def xy(self, pair):
        return (self.px(pair[0]), self.px(pair[1]))

    def line(self, width=1):
        """Whole pixels for a hard line `width` pixels wide at 100 %, so that it stays crisp."""
        return max(1, self.px(width))

    def font(self, size):
        return font(self.px(size))


# ---------------------------------------------------------------------------------------------
# Drawing helpers


def font(size):
    return ImageFont.truetype(FONT, size)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def vertical_gradient(size, top, bottom):
    width, height = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(height):
        draw.line([(0, y), (width - 1, y)], fill=mix(top, bottom, y / max(1, height - 1)))
    return image


def shapes(size, paint, factor=1):
    """Draws `paint(draw, s)` at SS times the size and returns the smoothed RGBA layer.
    `s(v)` turns a coordinate or length given in 100 % pixels into supersampled pixels at the
    art scale `factor`; whole coordinates at 100 % are pixel edges."""
    big = Image.new("RGBA", (size[0] * SS, size[1] * SS), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), lambda v: v * factor * SS)
    return big.resize(size, Image.BOX)


def over(base, layer, at=(0, 0)):
    """Composites an RGBA layer onto an RGB image in place."""
    rgba = base.convert("RGBA")
    rgba.alpha_composite(layer, at)
    base.paste(rgba.convert("RGB"))


def box(s, x0, y0, x1, y1):
    return [s(x0), s(y0), s(x1), s(y1)]


def rounded(draw, s, rect, radius, fill=None, outline=None, width=0):
    draw.rounded_rectangle(box(s, *rect), radius=s(radius), fill=fill,
                           outline=outline, width=round(s(width)) if width else 0)


def thick_line(draw, s, points, color, width):
    """A line with round ends and joints."""
    scaled = [(s(x), s(y)) for x, y in points]
    draw.line(scaled, fill=color, width=round(s(width)), joint="curve")
    r = s(width) / 2
    for x, y in (scaled[0], scaled[-1]):
        draw.ellipse([x - r, y - r, x + r, y + r], fill=color)


def text_width(text, face):
    return face.getlength(text)


def draw_text(image, xy, text, face, color, bold=False, factor=1):
    draw = ImageDraw.Draw(image)
    draw.text(xy, text, font=face, fill=color)
    if bold:  # the IPA fonts have one weight: a second pass a little to the right thickens it
        draw.text((xy[0] + 0.6 * factor, xy[1]), text, font=face, fill=color)


def centred_text(image, rect, text, face, color, bold=False, factor=1):
    x0, y0, x1, y1 = rect
    left, top, right, bottom = face.getbbox(text)
    x = x0 + ((x1 - x0) - (right - left)) / 2 - left
    y = y0 + ((y1 - y0) - (bottom - top)) / 2 - top
    draw_text(image, (round(x), round(y)), text, face, color, bold, factor)


def bar(draw, x, y, width, height, color):
    """A hard-edged rectangle of whole pixels."""
    draw.rectangle([x, y, x + width - 1, y + height - 1], fill=color)


# ---------------------------------------------------------------------------------------------
# The window background and everything cut from it


def window_base(sc):
    """The skin without the logo: gradient, toolbar band, separators. Pictures that sit on the
    window are drawn on crops of this."""
    width, height, main = sc.px(WIDTH), sc.px(SKIN_HEIGHT), sc.px(MAIN_HEIGHT)
    image = vertical_gradient((width, height), (252, 253, 255), (229, 235, 242))
    band = vertical_gradient((width, height - main), (238, 242, 247), (215, 222, 231))
    image.paste(band, (0, main))
    draw = ImageDraw.Draw(image)
    line = sc.line()
    bar(draw, 0, main, width, line, LINE)
    bar(draw, 0, main + line, width, line, WHITE)
    top, bottom = sc.px(MAIN_HEIGHT + 7), sc.px(SKIN_HEIGHT - 6)  # 7 pixels clear at 100 %
    for x in SEPARATORS_X:
        bar(draw, sc.px(x), top, line, bottom - top, LINE)
        bar(draw, sc.px(x) + line, top, line, bottom - top, WHITE)
    return image


def crop(base, at, size):
    return base.crop((at[0], at[1], at[0] + size[0], at[1] + size[1]))


def cut(base, sc, at, size):
    """The background under a control placed at `at` with `size` (100 % pixels) at scale `sc`:
    exactly the pixels the window gives the control, so the picture joins the skin."""
    return crop(base, sc.xy(at), sc.xy(size))


def logo_mark(size, weight=1.0):
    """The product mark: a top-lit blue tile with a white hotspot, a point sending waves up.
    `weight` thickens the strokes for small sizes, where the innermost wave is left out."""
    n = size
    small = n < 24

    def tile(draw, s):
        draw.rounded_rectangle(box(s, 0, 0, n, n), radius=s(n * 0.23), fill=WHITE)

    def hotspot(draw, s):
        cx, cy = n * 0.5, n * 0.70
        stroke = n * 0.085 * weight
        dot = n * (0.085 if small else 0.075) * weight
        draw.ellipse(box(s, cx - dot, cy - dot, cx + dot, cy + dot), fill=WHITE)
        for radius in ((0.30, 0.48) if small else (0.20, 0.34, 0.48)):
            r = n * radius
            draw.arc(box(s, cx - r, cy - r, cx + r, cy + r), start=-135, end=-45, fill=WHITE,
                     width=round(s(stroke)))
            half = stroke / 2  # PIL strokes an arc inwards from its box: centre line r - half
            for angle in (-135, -45):  # round ends
                ex = cx + (r - half) * math.cos(math.radians(angle))
                ey = cy + (r - half) * math.sin(math.radians(angle))
                draw.ellipse(box(s, ex - half, ey - half, ex + half, ey + half), fill=WHITE)

    mark = vertical_gradient((n, n), ACCENT_TOP, ACCENT_BOTTOM).convert("RGBA")
    mark.putalpha(shapes((n, n), tile).getchannel("A"))
    mark.alpha_composite(shapes((n, n), hotspot))
    return mark


def skin(base, sc):
    image = base.copy()
    mark = logo_mark(sc.px(22))
    over(image, mark, sc.xy((10, 9)))
    draw_text(image, sc.xy((39, 10)), "Quirn", sc.font(15), ACCENT_BOTTOM, bold=True,
              factor=sc.factor)
    x = sc.px(39) + round(text_width("Quirn", sc.font(15))) + sc.px(5)
    draw_text(image, (x, sc.px(11)), "Mobile Tool", sc.font(13), INK_SOFT)
    return image


def panel(sc):
    size = sc.xy(PANEL_SIZE)
    image = vertical_gradient(size, (241, 243, 246), (236, 239, 243))
    bar(ImageDraw.Draw(image), 0, 0, size[0], sc.line(), LINE_LIGHT)
    return image


def notice_strip(sc):
    size = sc.xy(STRIP_SIZE)
    image = vertical_gradient(size, (72, 79, 88), (50, 55, 62))
    draw = ImageDraw.Draw(image)
    line = sc.line()
    bar(draw, 0, 0, size[0], line, (38, 42, 48))
    bar(draw, 0, line, size[0], line, (96, 103, 113))
    return image


# ---------------------------------------------------------------------------------------------
# Signal antenna: a mast and six bars from red to green


BAR_COLOURS = [(222, 64, 55), (236, 110, 44), (241, 156, 30), (200, 180, 30), (120, 176, 58),
               (46, 164, 82)]


def antenna(base, sc, lit, mast, bar_off):
    image = cut(base, sc, ANTENNA_AT, ANTENNA_SIZE)

    def paint(draw, s):
        # mast: an inverted triangle on a pole, standing on the baseline
        thick_line(draw, s, [(9, 16), (33, 16), (21, 37), (9, 16)], mast, 4)
        thick_line(draw, s, [(21, 18), (21, 86)], mast, 4.5)
        thick_line(draw, s, [(13, 86), (29, 86)], mast, 4)
        for i in range(6):
            x0 = 39 + i * 10
            top = 74 - i * 11
            colour = BAR_COLOURS[i] if i < lit else bar_off
            rounded(draw, s, (x0, top, x0 + 7.5, 88), 2, fill=colour)

    over(image, shapes(image.size, paint, sc.factor))
    return image


# ---------------------------------------------------------------------------------------------
# Battery gauge: a battery filled in tenths, the percentage is printed across it at run time


def fill_colour(level):
    return RED if level <= 2 else AMBER if level <= 4 else GREEN


BODY = (6, 4, 106, 62)  # battery body; the run-time text sits on its upper middle
NUB = (106, 22, 114, 44)


def lightning(draw, s, cx, cy, height, fill, edge, edge_width):
    h = height
    points = [(cx + 0.10 * h, cy - 0.50 * h), (cx - 0.28 * h, cy + 0.06 * h),
              (cx - 0.02 * h, cy + 0.06 * h), (cx - 0.12 * h, cy + 0.50 * h),
              (cx + 0.28 * h, cy - 0.08 * h), (cx + 0.02 * h, cy - 0.08 * h)]
    scaled = [(s(x), s(y)) for x, y in points]
    if edge_width:
        draw.line(scaled + scaled[:1], fill=edge, width=round(s(edge_width)), joint="curve")
    draw.polygon(scaled, fill=fill)


def battery(base, sc, level, charging):
    image = cut(base, sc, BATTERY_AT, BATTERY_SIZE)
    x0, y0, x1, y1 = BODY

    def paint(draw, s):
        rounded(draw, s, NUB, 3, fill=INK)
        rounded(draw, s, BODY, 10, fill=INK)
        rounded(draw, s, (x0 + 3.5, y0 + 3.5, x1 - 3.5, y1 - 3.5), 7, fill=(70, 82, 96))
        inner = (x0 + 7, y0 + 7, x1 - 7, y1 - 7)
        gap = 2
        cell = ((inner[2] - inner[0]) - gap * 9) / 10
        for i in range(10):
            cx0 = inner[0] + i * (cell + gap)
            on = i < level
            colour = fill_colour(level) if on else (88, 101, 116)
            radius = 3.5 if i in (0, 9) else 1.5
            rounded(draw, s, (cx0, inner[1], cx0 + cell, inner[3]), radius, fill=colour)
            if on:  # a light top third gives the cells some body
                shine = mix(colour, WHITE, 0.28)
                rounded(draw, s, (cx0, inner[1], cx0 + cell, inner[1] + 13), radius,
                        fill=shine)
                draw.rectangle(box(s, cx0, inner[1] + 9, cx0 + cell, inner[1] + 13),
                               fill=colour)
        if charging:
            lightning(draw, s, (x0 + x1) / 2, (y0 + y1) / 2, 40, WHITE, INK, 4)

    over(image, shapes(image.size, paint, sc.factor))
    return image


def tray_battery(level, charging, size=16):
    """Notification-area battery, `size` pixels square: white rim (seen on dark taskbars), dark
    body (seen on light ones), the fill in the gauge's colours. Laid out on whole pixels at
    every size (at 16: a 14 x 10 rim, 2 x 4 nub, 1-pixel rim and gap, one column per tenth)."""
    def px(v):
        return (v * size + 8) // 16

    icon = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(icon)
    rim, body = (245, 247, 250, 255), (40, 48, 58, 255)
    width, height, nub = px(14), px(10), px(4)
    top = (size - height) // 2
    edge = max(1, px(1))
    bar(draw, 0, top, width, height, rim)
    bar(draw, width, top + (height - nub) // 2, size - width, nub, rim)
    bar(draw, edge, top + edge, width - 2 * edge, height - 2 * edge, body)
    columns = ((width - 4 * edge) * level * 2 + 10) // 20  # tenths of the inner width
    if columns:
        bar(draw, 2 * edge, top + 2 * edge, columns, height - 4 * edge,
            fill_colour(level) + (255,))
    if charging:  # the gauge's lightning mark, edged in the body colour
        scale = size / 16
        icon.alpha_composite(shapes((size, size), lambda draw, s: lightning(
            draw, s, 7.5 * width / 14, top + height / 2, 11 * scale, WHITE, body,
            1.5 * scale)))
    return icon


# ---------------------------------------------------------------------------------------------
# Connection pictures: which way the router reaches the Internet


FIELD_FILL, FIELD_EDGE = (249, 250, 252), (188, 197, 208)


def field(draw, s, x0, x1, height, edge, fill=FIELD_FILL):
    """A rounded field from x0 to x1 with an outline `edge` wide, inset by half of it."""
    half = edge / 2
    rounded(draw, s, (x0 + half, half, x1 - half, height - half), 5, fill=fill,
            outline=FIELD_EDGE, width=edge)


def connection(base, sc, active):
    """active: None (not connected), "empty", "wlan", "lte" or "3g"."""
    image = cut(base, sc, CONNECT_AT, CONNECT_SIZE)
    label = sc.font(12)
    gap_left, gap_right = CONNECT_GAP
    f = sc.factor
    width, height = image.width / f, image.height / f  # the picture's edges, in 100 % pixels
    edge = sc.line() / f

    def paint(draw, s):
        if active is None:
            field(draw, s, 0, width, height, edge)
        elif active == "empty":
            field(draw, s, 0, width, height, edge, fill=(228, 233, 239))
        else:
            field(draw, s, 0, gap_left, height, edge)
            field(draw, s, gap_right, width, height, edge,
                  fill=ACCENT if active == "wlan" else FIELD_FILL)
            if active in ("lte", "3g"):
                x0, x1 = (3, 30) if active == "lte" else (40, 65)
                rounded(draw, s, (x0, 3, x1, 17), 3.5, fill=ACCENT)

    over(image, shapes(image.size, paint, f))

    def text(x0, x1, words, colour, bold=False):
        centred_text(image, (x0 * f, 0, x1 * f, image.height), words, label, colour, bold, f)

    if active is None:
        text(0, width, "インターネット未接続", GREY_TEXT)
    elif active != "empty":
        text(3, 30, "LTE", WHITE if active == "lte" else GREY_TEXT, bold=active == "lte")
        text(30, 40, "/", GREY_TEXT)
        text(40, 65, "3G", WHITE if active == "3g" else GREY_TEXT, bold=active == "3g")
        text(gap_right, width, "公衆無線", WHITE if active == "wlan" else GREY_TEXT,
             bold=active == "wlan")
    return image


# ---------------------------------------------------------------------------------------------
# Bitmap buttons: up, down, focused, disabled (and the detail button's open-panel state)


FACES = {
    # state: (face top, face bottom, edge, glyph, focus ring)
    "U": ((255, 255, 255), (233, 238, 244), (168, 180, 194), ACCENT_BOTTOM, None),
    "D": ((208, 217, 228), (226, 232, 239), (136, 150, 166), ACCENT_BOTTOM, None),
    "F": ((255, 255, 255), (233, 238, 244), (168, 180, 194), ACCENT_BOTTOM, ACCENT),
    "X": ((241, 243, 246), (236, 239, 243), (208, 214, 222), (178, 187, 198), None),
    "U2": ((232, 241, 253), (206, 223, 247), (106, 150, 214), ACCENT_BOTTOM, None),
    "F2": ((232, 241, 253), (206, 223, 247), (106, 150, 214), ACCENT_BOTTOM, ACCENT),
}


def reload_glyph(draw, s, cx, cy, colour):
    r = 8.5
    draw.arc(box(s, cx - r, cy - r, cx + r, cy + r), start=-50, end=250, fill=colour,
             width=round(s(2.6)))
    # arrow head at the arc's open end (upper right), pointing along the turn
    tip_x, tip_y = cx + r * 0.64, cy - r * 0.77
    head = [(tip_x + 5.2, tip_y - 1.2), (tip_x - 0.8, tip_y - 4.4), (tip_x + 0.4, tip_y + 3.6)]
    draw.polygon([(s(x), s(y)) for x, y in head], fill=colour)


def switch_glyph(draw, s, cx, cy, colour):
    w = 11
    thick_line(draw, s, [(cx - w, cy - 4.5), (cx + w - 2, cy - 4.5)], colour, 2.4)
    draw.polygon([(s(x), s(y)) for x, y in
                  [(cx + w + 2.5, cy - 4.5), (cx + w - 4, cy - 9.5), (cx + w - 4, cy + 0.5)]],
                 fill=colour)
    thick_line(draw, s, [(cx + w, cy + 4.5), (cx - w + 2, cy + 4.5)], colour, 2.4)
    draw.polygon([(s(x), s(y)) for x, y in
                  [(cx - w - 2.5, cy + 4.5), (cx - w + 4, cy - 0.5), (cx - w + 4, cy + 9.5)]],
                 fill=colour)


def detail_glyph(draw, s, cx, cy, colour):
    for dy in (-5.5, 0, 5.5):
        draw.ellipse(box(s, cx - 9.2, cy + dy - 1.5, cx - 6.2, cy + dy + 1.5), fill=colour)
        thick_line(draw, s, [(cx - 3, cy + dy), (cx + 8.5, cy + dy)], colour, 2.4)


def button(base, sc, at, size, glyph, state):
    image = cut(base, sc, at, size)
    top, bottom, edge, colour, ring = FACES[state]
    # Outline, ring and the pressed offset in whole pixels, so the edges stay crisp; lengths
    # below are in 100 % pixels, the picture's edges included.
    f = sc.factor
    w, h = image.width / f, image.height / f
    inset = sc.line() / f
    offset = sc.line() / f if state == "D" else 0

    face = vertical_gradient(image.size, top, bottom).convert("RGBA")
    frame = (inset, inset, w - inset, h - inset)

    def face_shape(draw, s):
        rounded(draw, s, frame, 6, fill=WHITE)

    face.putalpha(shapes(image.size, face_shape, f).getchannel("A"))
    over(image, face)

    def paint(draw, s):
        if ring:
            rounded(draw, s, frame, 6, outline=ring, width=sc.line(2) / f)
        else:
            rounded(draw, s, frame, 6, outline=edge, width=inset)
        glyph(draw, s, w / 2 + offset, h / 2 + offset, colour)

    over(image, shapes(image.size, paint, f))
    return image


# ---------------------------------------------------------------------------------------------
# Icons, logo, cursor


def app_icon(size):
    # small sizes: heavier strokes so the waves survive at 16 pixels
    return logo_mark(size, 1.0 if size >= 64 else 1.3)


def logo_bitmap(sc):
    """64 x 64 (at 100 %) on pure red, the colour the about box leaves transparent; soft edges
    are blended with the dialog face so no red fringe shows."""
    n = sc.px(LOGO_SIZE)
    mark = logo_mark(n)
    image = Image.new("RGB", (n, n), KEY_RED)
    face = Image.new("RGBA", (n, n), DIALOG_FACE + (255,))
    face.alpha_composite(mark)
    alpha = mark.getchannel("A")
    image.paste(face.convert("RGB"), (0, 0), alpha.point(lambda a: 255 if a > 0 else 0))
    return image


HAND = [  # X outline, o fill, . transparent; the fingertip is the hot spot
    ".....XX..........",
    "....XooX.........",
    "....XooX.........",
    "....XooX.........",
    "....XooX.........",
    "....XooXXX.......",
    "....XooXooXXX....",
    "....XooXooXooXX..",
    ".XX.XooXooXooXoX.",
    "XooXXooooooooXooX",
    "XoooXoooooooooooX",
    ".XooXoooooooooooX",
    "..XoXoooooooooooX",
    "..XoooooooooooooX",
    "...XooooooooooooX",
    "...XoooooooooooX.",
    "....XooooooooooX.",
    "....XoooooooooX..",
    ".....XooooooooX..",
    ".....XooooooooX..",
    ".....XXXXXXXXXX..",
]
HAND_AT = (5, 1)  # where the pattern's top-left lands in the 32 x 32 cursor
HAND_HOTSPOT = (HAND_AT[0] + 5, HAND_AT[1])


def hand_cursor_pixels():
    """32 x 32 rows of "X", "o", "." for the cursor."""
    rows = [["."] * 32 for _ in range(32)]
    for y, line in enumerate(HAND):
        assert len(line) == len(HAND[0])
        for x, c in enumerate(line):
            rows[HAND_AT[1] + y][HAND_AT[0] + x] = c
    return rows


# ---------------------------------------------------------------------------------------------
# File formats


def bmp_bytes(image):
    out = io.BytesIO()
    image.convert("RGB").save(out, "BMP")
    return out.getvalue()


def dib_32(icon):
    """BITMAPINFOHEADER + bottom-up BGRA + AND mask, as an icon image."""
    w, h = icon.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    row_bytes = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        bits = bytearray(row_bytes)
        for x in range(w):
            r, g, b, a = icon.getpixel((x, y))
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def png_bytes(image):
    out = io.BytesIO()
    image.save(out, "PNG", optimize=False, compress_level=9)
    return out.getvalue()


def ico_bytes(icons):
    """An icon file of the images, smallest first: 32-bit DIBs up to 64 pixels, PNG above (as
    Windows expects at 256)."""
    icons = sorted(icons, key=lambda icon: icon.size)
    images = [png_bytes(icon) if icon.width > 64 else dib_32(icon) for icon in icons]
    directory = struct.pack("<HHH", 0, 1, len(icons))
    offset = len(directory) + 16 * len(icons)
    for icon, data in zip(icons, images):
        w, h = icon.size
        directory += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


def cur_bytes(rows, hotspot):
    """Monochrome 32 x 32 cursor: black outline, white fill, the rest transparent."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    xor, and_ = bytearray(), bytearray()
    for y in range(size - 1, -1, -1):
        x_bits, a_bits = bytearray(size // 8), bytearray(size // 8)
        for x, c in enumerate(rows[y]):
            bit = 0x80 >> (x % 8)
            if c == "o":
                x_bits[x // 8] |= bit
            elif c == ".":
                a_bits[x // 8] |= bit
        xor += x_bits
        and_ += a_bits
    data = header + palette + bytes(xor) + bytes(and_)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(data), 22)
    return struct.pack("<HHH", 0, 2, 1) + entry + data


# ---------------------------------------------------------------------------------------------
# Everything, by file name


def window_pictures(sc):
    """The window's bitmaps at scale `sc`, [(name, picture)] in the resource script's order."""
    base = window_base(sc)
    out = []

    def bitmap(name, image, size):
        assert image.size == sc.xy(size), (sc.percent, name, image.size)
        out.append((name, image))

    bitmap("skin", skin(base, sc), (WIDTH, SKIN_HEIGHT))
    bitmap("panel", panel(sc), PANEL_SIZE)
    bitmap("notice_strip", notice_strip(sc), STRIP_SIZE)
    bitmap("logo", logo_bitmap(sc), (LOGO_SIZE, LOGO_SIZE))

    for name, at, size, glyph in (("reload", RELOAD_AT, SMALL_BUTTON, reload_glyph),
                                  ("switch", SWITCH_AT, WIDE_BUTTON, switch_glyph),
                                  ("detail", DETAIL_AT, SMALL_BUTTON, detail_glyph)):
        states = ["U", "D", "F", "X"] + (["U2", "F2"] if name == "detail" else [])
        for state in states:
            bitmap(f"btn_{name}_{state.lower()}", button(base, sc, at, size, glyph, state), size)

    mast, bar_off = INK, (203, 210, 219)
    bitmap("antenna_no_info", antenna(base, sc, 0, (196, 203, 211), (221, 226, 232)),
           ANTENNA_SIZE)
    for lit in range(7):
        bitmap(f"antenna_{lit}", antenna(base, sc, lit, mast, bar_off), ANTENNA_SIZE)

    for charging in (False, True):
        for level in range(11):
            name = f"battery_{'charging_' if charging else ''}{level}"
            bitmap(name, battery(base, sc, level, charging), BATTERY_SIZE)

    for name, active in (("connect_offline", None), ("connect_wlan", "wlan"),
                         ("connect_3g", "3g"), ("connect_lte", "lte"),
                         ("connect_unknown", "empty")):
        bitmap(name, connection(base, sc, active), CONNECT_SIZE)
    return out


def scaled_resource_id(name, step, percent):
    """A scaled bitmap's resource id as the script writes it: named bitmaps (the buttons) by
    name, numbered ones as their 100 % id's macro plus the step's offset."""
    if name.startswith("btn_"):
        return f"{name.upper()}_{percent}"
    return f"IDB_{name.upper()} + {SCALED_ID_STEP * step}"


def numbered_ids():
    """The bitmap id macros res/resource.h defines."""
    with open(os.path.join(ROOT, "res", "resource.h"), encoding="utf-8") as f:
        return set(re.findall(r"^#define (IDB_\w+) \d+", f.read(), re.MULTILINE))


def scaled_rc(names_by_percent):
    """res/art/scaled.rc: the scaled bitmaps, one block per art scale, grouped as in
    res/quirn.rc."""
    known = numbered_ids()
    percents = ", ".join(str(percent) for percent in ART_PERCENTS[1:])
    lines = [
        "// scaled.rc: the window's bitmaps at the art scales above 100 %, written by",
        "// tools/gen_art.py with the pictures (run it rather than editing this). Included from",
        "// res/quirn.rc after the 100 % pictures, with resource.h's ids in scope.",
        "//",
        f"// At scale step n (1 to {len(ART_PERCENTS) - 1} for {percents} %) a numbered bitmap "
        f"has its 100 % id + {SCALED_ID_STEP} * n",
        f"// (IDB_SKIN at 150 % is IDB_SKIN + {2 * SCALED_ID_STEP}); a named bitmap (a button's) "
        "has its 100 % name",
        "// with \"_<percent>\" appended (\"BTN_RELOAD_U_150\").",
    ]
    for step, percent in enumerate(ART_PERCENTS[1:], start=1):
        lines += ["", "/" * 77, f"// {percent} %"]
        group = None
        for name in names_by_percent[percent]:
            kind = name.split("_")[0]
            kind = kind if kind in ("btn", "antenna", "battery", "connect") else "skin"
            if kind != group:
                lines.append("")
                group = kind
            resource = scaled_resource_id(name, step, percent)
            macro = resource.split(" ")[0]
            if kind != "btn" and macro not in known:
                raise SystemExit(f"gen_art.py: {macro} is not defined in res/resource.h")
            lines.append(f"{resource:<31} BITMAP  \"res/art/{percent}/{name}.bmp\"")
    return ("\n".join(lines) + "\n").encode("ascii")


def draw_all():
    """Returns {file name under res/art: (bytes, preview image or None)}."""
    out = {}
    names_by_percent = {}
    for percent in ART_PERCENTS:
        folder = "" if percent == 100 else f"{percent}/"
        pictures = window_pictures(Scale(percent))
        names_by_percent[percent] = [name for name, _ in pictures]
        for name, image in pictures:
            out[f"{folder}{name}.bmp"] = (bmp_bytes(image), image)
    out["scaled.rc"] = (scaled_rc(names_by_percent), None)

    # Each icon file holds every size it is shown at; the preview is the size the sheet shows.
    for name, sizes, shown in (("app_large", APP_LARGE_SIZES, 256),
                               ("app_small", APP_SMALL_SIZES, 16)):
        icons = [app_icon(size) for size in sizes]
        out[name + ".ico"] = (ico_bytes(icons), icons[sizes.index(shown)])
    for level in range(11):
        for charging in (False, True):
            icons = [tray_battery(level, charging, size) for size in TRAY_ICON_SIZES]
            name = f"tray_battery_{'charging_' if charging else ''}{level}.ico"
            out[name] = (ico_bytes(icons), icons[0])

    rows = hand_cursor_pixels()
    colours = {"X": (0, 0, 0, 255), "o": (255, 255, 255, 255), ".": (0, 0, 0, 0)}
    preview = Image.new("RGBA", (32, 32))
    preview.putdata([colours[c] for row in rows for c in row])
    out["hand.cur"] = (cur_bytes(rows, HAND_HOTSPOT), preview)
    return out


# ---------------------------------------------------------------------------------------------
# Contact sheet


def window_preview(art, expanded, antenna_name, battery_name, percent, connect_name, notice):
    """The main window as it will look, composed from the pictures at their places."""
    height = SKIN_HEIGHT + (PANEL_SIZE[1] if expanded else 0) + STRIP_SIZE[1]
    image = Image.new("RGB", (WIDTH, height), WHITE)
    image.paste(art["skin.bmp"][1], (0, 0))
    image.paste(art[antenna_name][1], ANTENNA_AT)
    frame = art[battery_name][1].copy()
    if percent:  # the run-time percentage: bold, white, a dark hairline above
        face = font(27)
        width = text_width(percent, face)
        x = round(BATTERY_SIZE[0] / 2 - width / 2)
        draw = ImageDraw.Draw(frame)
        for dy, colour in ((0, (0, 0, 0)), (1, WHITE)):
            draw.text((x, 14 + dy), percent, font=face, fill=colour, stroke_width=1,
                      stroke_fill=colour)
    image.paste(frame, BATTERY_AT)
    image.paste(art[connect_name][1], CONNECT_AT)
    image.paste(art["btn_reload_u.bmp"][1], RELOAD_AT)
    if connect_name in ("connect_wlan.bmp", "connect_lte.bmp", "connect_3g.bmp"):
        image.paste(art["btn_switch_u.bmp"][1], SWITCH_AT)
    image.paste(art["btn_detail_u2.bmp" if expanded else "btn_detail_u.bmp"][1], DETAIL_AT)
    y = SKIN_HEIGHT
    if expanded:
        sheet_panel = art["panel.bmp"][1].copy()
        face = font(12)
        lines = ["WAN側IPアドレス： 10.20.30.40", "ファームウェアバージョン： 1.2.0",
                 "データ通信量", "　データ通信量の上限設定：　7GB",
                 "　現在のデータ通信量：　2.1GB", "　上限設定への到達度：　30%"]
        for line, ly in zip(lines, (10, 27, 44, 59, 74, 89)):
            draw_text(sheet_panel, (10, ly), line, face, (0, 0, 0), bold=True)
        draw = ImageDraw.Draw(sheet_panel)
        for i, label in enumerate(("休止状態(T)", "再起動(R)", "接続確認(C)")):
            x = 20 + i * 100
            draw.rectangle([x, 110, x + 73, 131], fill=(225, 225, 225), outline=(173, 173, 173))
            centred_text(sheet_panel, (x, 110, x + 73, 131), label, face, (0, 0, 0))
        image.paste(sheet_panel, (0, y))
        y += PANEL_SIZE[1]
    strip = art["notice_strip.bmp"][1].copy()
    draw_text(strip, (2, 3), notice, font(14), WHITE, bold=True)
    image.paste(strip, (0, y))
    return image


def on_backing(image, colour):
    """An RGB copy of a picture; transparent parts show `colour`."""
    if image.mode != "RGBA":
        return image.convert("RGB")
    backing = Image.new("RGBA", image.size, colour + (255,))
    backing.alpha_composite(image)
    return backing.convert("RGB")


def contact_sheet(art):
    """Every picture at its real size (small icons also enlarged), under a preview of the
    window composed from them."""
    width, margin, gap = 1004, 12, 10
    sheet = Image.new("RGB", (width, 2000), (250, 250, 250))
    draw = ImageDraw.Draw(sheet)
    y = margin

    def heading(text):
        nonlocal y
        draw.text((margin, y), text, font=font(14), fill=INK)
        y += 22

    def flow(images):
        """Places images left to right, wrapping at the sheet's edge."""
        nonlocal y
        x, tallest = margin, 0
        for image in images:
            if x + image.width > width - margin:
                x, y, tallest = margin, y + tallest + gap, 0
            sheet.paste(image, (x, y))
            x += image.width + gap
            tallest = max(tallest, image.height)
        y += tallest + gap + 6

    def pictures(names, scale=1, backing=(222, 226, 231)):
        shown = []
        for name in names:
            image = on_backing(art[name][1], backing)
            shown.append(image.resize((image.width * scale, image.height * scale),
                                      Image.NEAREST))
        return shown

    heading("Main window composed from the pictures: panel closed, open, and without status")
    flow([window_preview(art, False, "antenna_4.bmp", "battery_6.bmp", " 62%",
                         "connect_lte.bmp", "新しいファームウェアがあります。"),
          window_preview(art, True, "antenna_2.bmp", "battery_charging_3.bmp", "",
                         "connect_wlan.bmp", "取得中..."),
          window_preview(art, False, "antenna_no_info.bmp", "battery_0.bmp", "??%",
                         "connect_unknown.bmp", "情報の取得に失敗しました。")])
    heading("Antenna 178 (no information), 180 (no level), 181-185, 177")
    flow(pictures(["antenna_no_info.bmp"] + [f"antenna_{i}.bmp" for i in range(7)]))
    heading("Battery 186-207 (0 to 10 tenths) and charging 188-208")
    flow(pictures([f"battery_{i}.bmp" for i in range(11)]))
    flow(pictures([f"battery_charging_{i}.bmp" for i in range(11)]))
    heading("Connection 221, 336, 338, 337, 232; buttons up, down, focused, disabled "
            "(detail: and open)")
    flow(pictures([f"connect_{n}.bmp" for n in ("offline", "wlan", "lte", "3g", "unknown")]))
    flow(pictures([f"btn_{n}_{s}.bmp" for n in ("reload", "switch") for s in "udfx"]
                  + [f"btn_detail_{s}.bmp" for s in ("u", "d", "f", "x", "u2", "f2")]))
    heading("Tray icons 291-334 (x3, on a dark and a light taskbar): plain and charging")
    for backing in ((32, 36, 42), (238, 240, 243)):
        flow(pictures([f"tray_battery_{i}.ico" for i in range(11)]
                      + [f"tray_battery_charging_{i}.ico" for i in range(11)], 3, backing))
    heading("Icons 242 (shown at half size) and 244 (x1, x3), logo 245, hand cursor 176 (x2), "
            "notice strip 226, panel 228")
    large = on_backing(art["app_large.ico"][1], (250, 250, 250)).resize((128, 128),
                                                                       Image.LANCZOS)
    flow([large] + pictures(["app_small.ico"], 1, (250, 250, 250))
         + pictures(["app_small.ico"], 3, (250, 250, 250)) + pictures(["logo.bmp"])
         + pictures(["hand.cur"], 2, (200, 205, 212)) + pictures(["notice_strip.bmp"])
         + pictures(["panel.bmp"]))
    heading("Art scales " + ", ".join(str(p) for p in ART_PERCENTS) + " %: battery "
            "200 (charging); tray icon 323 and icons 244, 242 at every size in their files")
    flow(pictures([f"{'' if p == 100 else f'{p}/'}battery_charging_6.bmp"
                   for p in ART_PERCENTS]))
    icons = ([tray_battery(6, True, size) for size in TRAY_ICON_SIZES]
             + [app_icon(size) for size in APP_SMALL_SIZES + APP_LARGE_SIZES[1:-1]])
    flow([on_backing(icon, (222, 226, 231)) for icon in icons])
    sheet = sheet.crop((0, 0, width, y))
    return sheet.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.NONE)


# ---------------------------------------------------------------------------------------------


def write_outputs(art, out_dir, sheet_path):
    for name, (data, _) in sorted(art.items()):
        path = os.path.join(out_dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    os.makedirs(os.path.dirname(sheet_path), exist_ok=True)
    with open(sheet_path, "wb") as f:
        f.write(png_bytes(contact_sheet(art)))


def files_under(folder):
    """Every file below `folder`, as paths relative to it with "/" between folders."""
    found = set()
    for parent, _, names in os.walk(folder):
        relative = os.path.relpath(parent, folder)
        for name in names:
            found.add(name if relative == "." else f"{relative}/{name}".replace(os.sep, "/"))
    return found


def check(art, out_dir, sheet_path):
    with tempfile.TemporaryDirectory() as fresh:
        fresh_art = os.path.join(fresh, "art")
        fresh_sheet = os.path.join(fresh, "art-sheet.png")
        write_outputs(art, fresh_art, fresh_sheet)
        expected = files_under(fresh_art)
        present = files_under(out_dir)
        problems = [f"missing: {n}" for n in sorted(expected - present)]
        problems += [f"not drawn by this tool: {n}" for n in sorted(present - expected)]
        problems += [f"differs: {n}" for n in sorted(expected & present)
                     if not filecmp.cmp(os.path.join(fresh_art, n), os.path.join(out_dir, n),
                                        shallow=False)]
        if not os.path.exists(sheet_path) or not filecmp.cmp(fresh_sheet, sheet_path,
                                                             shallow=False):
            problems.append(f"differs: {sheet_path}")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print("run tools/gen_art.py to redraw the pictures", file=sys.stderr)
    return 1 if problems else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "res", "art"))
    parser.add_argument("--sheet", default=os.path.join(ROOT, "docs", "art-sheet.png"))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    if Image is None or not os.path.exists(FONT):
        print("gen_art.py: needs python3-pil and fonts-ipafont-gothic", file=sys.stderr)
        return SKIP
    art = draw_all()
    if args.check:
        return check(art, args.out, args.sheet)
    write_outputs(art, args.out, args.sheet)
    return 0


if __name__ == "__main__":
    sys.exit(main())
