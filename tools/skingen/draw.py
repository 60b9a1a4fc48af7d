"""Shared drawing helpers: a supersampled canvas, the palette, key faces in their three looks,
and vector glyphs (arrows, Enter, Backspace, icons).

Everything is drawn at SCALE times the final size and reduced with a box filter, which gives
even anti-aliasing without depending on Pillow's resampling filters. Coordinates passed to the
helpers are in final pixels (floats allowed).
"""
from PIL import Image, ImageDraw, ImageFont

SCALE = 4

# DejaVu Sans from Debian's fonts-dejavu-core (Bitstream Vera licence; DejaVu changes in the
# public domain); see data/SOURCES.md.
FONT_DIR_DEJAVU = "/usr/share/fonts/truetype/dejavu/"
FONTS = {
    "sans": FONT_DIR_DEJAVU + "DejaVuSans.ttf",
    "sans-bold": FONT_DIR_DEJAVU + "DejaVuSans-Bold.ttf",
}

# Palette. The panel background is fixed by the windows; everything else is ours.
BG = (98, 98, 98)
OUTLINE = (24, 24, 24)
DARK_TOP, DARK_BOTTOM = (54, 54, 54), (40, 40, 40)
DARK_PRESSED_TOP, DARK_PRESSED_BOTTOM = (26, 26, 26), (34, 34, 34)
DARK_HIGHLIGHT = (78, 78, 78)
MARK_TOP, MARK_BOTTOM = (30, 56, 76), (22, 44, 62)
LIGHT_TOP, LIGHT_BOTTOM = (226, 226, 226), (198, 198, 198)
LIGHT_PRESSED_TOP, LIGHT_PRESSED_BOTTOM = (150, 150, 150), (168, 168, 168)
LIGHT_HIGHLIGHT = (248, 248, 248)
LIGHT_FOCUS_TOP, LIGHT_FOCUS_BOTTOM = (214, 234, 246), (184, 214, 234)
ACCENT = (79, 179, 232)          # focus and marks on dark faces
ACCENT_DEEP = (28, 112, 170)     # focus on light faces
AMBER = (232, 176, 62)           # Fn layer
INK = (236, 236, 236)            # glyphs on dark faces
INK_SOFT = (150, 190, 214)       # secondary glyphs on dark faces
INK_DARK = (30, 30, 30)          # glyphs on light faces
TEAL_TOP, TEAL_BOTTOM = (26, 70, 64), (18, 54, 50)


def lerp(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


class Canvas:
    """An RGB drawing surface at SCALE x the final size."""

    def __init__(self, width, height, fill=BG):
        self.width, self.height = width, height
        self.image = Image.new("RGB", (width * SCALE, height * SCALE), fill)
        self.draw = ImageDraw.Draw(self.image)

    def s(self, *values):
        return [round(v * SCALE) for v in values]

    def rect(self, box, fill):
        x0, y0, x1, y1 = self.s(*box)
        if x1 > x0 and y1 > y0:
            self.draw.rectangle((x0, y0, x1 - 1, y1 - 1), fill=fill)

    def rounded(self, box, radius, fill):
        x0, y0, x1, y1 = self.s(*box)
        if x1 > x0 and y1 > y0:
            self.draw.rounded_rectangle((x0, y0, x1 - 1, y1 - 1), round(radius * SCALE), fill=fill)

    def gradient(self, box, top, bottom, radius=0, horizontal=False):
        """A linear gradient clipped to a rounded rectangle."""
        x0, y0, x1, y1 = self.s(*box)
        w, h = x1 - x0, y1 - y0
        if w <= 0 or h <= 0:
            return
        n = w if horizontal else h
        strip = Image.new("RGB", (w, h))
        sd = ImageDraw.Draw(strip)
        for i in range(n):
            c = lerp(top, bottom, i / max(1, n - 1))
            if horizontal:
                sd.line((i, 0, i, h - 1), fill=c)
            else:
                sd.line((0, i, w - 1, i), fill=c)
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), round(radius * SCALE), fill=255)
        self.image.paste(strip, (x0, y0), mask)

    def polygon(self, points, fill):
        self.draw.polygon([tuple(self.s(x, y)) for x, y in points], fill=fill)

    def line(self, points, fill, width):
        self.draw.line([tuple(self.s(x, y)) for x, y in points], fill=fill,
                       width=max(1, round(width * SCALE)), joint="curve")

    def ellipse(self, box, fill=None, outline=None, width=1):
        self.draw.ellipse(self.s(*box), fill=fill, outline=outline,
                          width=max(1, round(width * SCALE)))

    def arc(self, box, start, end, fill, width):
        self.draw.arc(self.s(*box), start, end, fill=fill, width=max(1, round(width * SCALE)))

    def text(self, xy, string, font, size, fill, anchor="mm"):
        face = ImageFont.truetype(FONTS[font], round(size * SCALE))
        self.draw.text(tuple(self.s(*xy)), string, font=face, fill=fill, anchor=anchor)

    def text_width(self, string, font, size):
        face = ImageFont.truetype(FONTS[font], round(size * SCALE))
        return face.getlength(string) / SCALE

    def finish(self):
        return self.image.reduce(SCALE)


def rotate_for_landscape(image):
    """Turns an upright picture so that it reads upright on the device turned clockwise:
    the screen shows it rotated by 90 degrees counter-clockwise, like the landscape fonts."""
    return image.transpose(Image.Transpose.ROTATE_90)


# --- key faces ---------------------------------------------------------------------------------

def key_face(c, box, state, style="dark", radius=4, ring=True):
    """A rounded key in one of its looks. state 0 normal, 1 focused or marked, 2 pressed.
    style "dark" carries grey labels, "light" black ones, "teal" an action key."""
    x0, y0, x1, y1 = box
    inner = (x0 + 1, y0 + 1, x1 - 1, y1 - 1)
    r = max(0, radius - 1)
    if style == "light":
        tops = {0: (LIGHT_TOP, LIGHT_BOTTOM), 1: (LIGHT_FOCUS_TOP, LIGHT_FOCUS_BOTTOM),
                2: (LIGHT_PRESSED_TOP, LIGHT_PRESSED_BOTTOM)}
        highlight, ring_colour = LIGHT_HIGHLIGHT, ACCENT_DEEP
    elif style == "teal":
        tops = {0: (TEAL_TOP, TEAL_BOTTOM), 1: (MARK_TOP, MARK_BOTTOM),
                2: (DARK_PRESSED_TOP, DARK_PRESSED_BOTTOM)}
        highlight, ring_colour = (58, 104, 98), ACCENT
    else:
        tops = {0: (DARK_TOP, DARK_BOTTOM), 1: (MARK_TOP, MARK_BOTTOM),
                2: (DARK_PRESSED_TOP, DARK_PRESSED_BOTTOM)}
        highlight, ring_colour = DARK_HIGHLIGHT, ACCENT
    top, bottom = tops[state]
    if state == 1 and ring:
        # Focused or marked: a two-pixel ring in the focus colour takes the outline's place.
        c.rounded(box, radius, ring_colour)
        c.gradient((x0 + 2, y0 + 2, x1 - 2, y1 - 2), top, bottom, max(0, radius - 2))
        return
    c.rounded(box, radius, OUTLINE)
    c.gradient(inner, top, bottom, r)
    if state == 2:
        # Pressed: a shadow under the top edge instead of the highlight.
        shadow = lerp(top, (0, 0, 0), 0.35)
        c.rect((x0 + 1 + r / 2, y0 + 1, x1 - 1 - r / 2, y0 + 2), shadow)
    else:
        c.rect((x0 + 1 + r / 2, y0 + 1, x1 - 1 - r / 2, y0 + 2), highlight)


# --- glyphs ------------------------------------------------------------------------------------

def glyph_arrow(c, cx, cy, size, direction, fill):
    """A solid triangle pointing left, right, up or down, centred on (cx, cy)."""
    h = size / 2
    w = size * 0.62
    pts = {
        "right": [(cx - w / 2, cy - h), (cx + w / 2, cy), (cx - w / 2, cy + h)],
        "left": [(cx + w / 2, cy - h), (cx - w / 2, cy), (cx + w / 2, cy + h)],
        "up": [(cx - h, cy + w / 2), (cx, cy - w / 2), (cx + h, cy + w / 2)],
        "down": [(cx - h, cy - w / 2), (cx, cy + w / 2), (cx + h, cy - w / 2)],
    }[direction]
    c.polygon(pts, fill)


def glyph_chevron(c, cx, cy, size, direction, fill, width=2):
    h = size / 2
    w = size / 4
    pts = {
        "right": [(cx - w, cy - h), (cx + w, cy), (cx - w, cy + h)],
        "left": [(cx + w, cy - h), (cx - w, cy), (cx + w, cy + h)],
    }[direction]
    c.line(pts, fill, width)


def glyph_enter(c, cx, cy, size, fill, width=2.2):
    """The return arrow: down from the top right, then left to an arrow head."""
    w, h = size, size * 0.62
    right, top = cx + w / 2, cy - h / 2
    left, bottom = cx - w / 2, cy + h / 2
    c.line([(right, top), (right, bottom), (left + size * 0.28, bottom)], fill, width)
    head = size * 0.3
    c.polygon([(left, bottom), (left + head, bottom - head * 0.8), (left + head, bottom + head * 0.8)], fill)


def glyph_backspace(c, cx, cy, size, fill, hole, width=1.8):
    """A key cap pointing left with a cross in it."""
    w, h = size, size * 0.64
    left, right = cx - w / 2, cx + w / 2
    top, bottom = cy - h / 2, cy + h / 2
    tip = left + h * 0.55
    c.polygon([(left, cy), (tip, top), (right, top), (right, bottom), (tip, bottom)], fill)
    x_c = (tip + right) / 2 + 0.5
    d = h * 0.22
    c.line([(x_c - d, cy - d), (x_c + d, cy + d)], hole, width)
    c.line([(x_c - d, cy + d), (x_c + d, cy - d)], hole, width)


def glyph_caps(c, cx, cy, size, fill):
    """An outlined up arrow over a bar: the caps lock sign."""
    h = size
    w = size * 0.8
    top = cy - h / 2
    mid = top + h * 0.45
    stem = w * 0.22
    pts = [(cx, top), (cx + w / 2, mid), (cx + stem, mid), (cx + stem, top + h * 0.72),
           (cx - stem, top + h * 0.72), (cx - stem, mid), (cx - w / 2, mid)]
    c.polygon(pts, fill)
    c.rect((cx - stem, top + h * 0.82, cx + stem, top + h), fill)


def glyph_space(c, cx, cy, size, fill, width=1.8, height=None):
    """The open box of the space sign."""
    w, h = size, height if height is not None else size * 0.3
    c.line([(cx - w / 2, cy - h / 2), (cx - w / 2, cy + h / 2), (cx + w / 2, cy + h / 2),
            (cx + w / 2, cy - h / 2)], fill, width)


def icon_gear(c, cx, cy, r, fill, hole):
    import math
    teeth = 8
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        rr = r if (i % 4) in (0, 1) else r * 0.74
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    c.polygon(pts, fill)
    c.ellipse((cx - r * 0.36, cy - r * 0.36, cx + r * 0.36, cy + r * 0.36), fill=hole)


def icon_power(c, cx, cy, r, fill, width=2.6):
    c.arc((cx - r, cy - r, cx + r, cy + r), -55, 235, fill, width)
    c.line([(cx, cy - r - 1.5), (cx, cy - r * 0.1)], fill, width)


def icon_document(c, x, y, w, h, paper, ink, fold=None):
    fold = fold if fold is not None else w * 0.3
    c.polygon([(x, y), (x + w - fold, y), (x + w, y + fold), (x + w, y + h), (x, y + h)], paper)
    c.polygon([(x + w - fold, y), (x + w - fold, y + fold), (x + w, y + fold)], lerp(paper, ink, 0.35))
    for i in range(3):
        ly = y + h * (0.42 + 0.18 * i)
        c.line([(x + w * 0.2, ly), (x + w * (0.8 if i < 2 else 0.6), ly)], ink, 1.2)


def icon_pencil(c, x0, y0, x1, y1, body, tip, width=4.0):
    """A pencil from (x0, y0) (the end) to (x1, y1) (the point)."""
    import math
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    nx, ny = -uy * width / 2, ux * width / 2
    cut = length * 0.78
    bx, by = x0 + ux * cut, y0 + uy * cut
    c.polygon([(x0 + nx, y0 + ny), (bx + nx, by + ny), (bx - nx, by - ny), (x0 - nx, y0 - ny)], body)
    c.polygon([(bx + nx, by + ny), (x1, y1), (bx - nx, by - ny)], tip)


def icon_person(c, cx, top, size, fill):
    r = size * 0.22
    c.ellipse((cx - r, top, cx + r, top + 2 * r), fill=fill)
    bw = size * 0.4
    c.rounded((cx - bw, top + 2 * r + size * 0.08, cx + bw, top + size), size * 0.2, fill)


def icon_plus_badge(c, cx, cy, r, fill, mark):
    c.ellipse((cx - r, cy - r, cx + r, cy + r), fill=fill)
    d = r * 0.55
    c.line([(cx - d, cy), (cx + d, cy)], mark, r * 0.32)
    c.line([(cx, cy - d), (cx, cy + d)], mark, r * 0.32)


def icon_folder(c, x, y, w, h, body, tab, edge=None):
    tab_w = w * 0.42
    if edge is not None:
        c.rounded((x - 1, y - 1, x + tab_w + 1, y + h * 0.3 + 1), 2, edge)
        c.rounded((x - 1, y + h * 0.16 - 1, x + w + 1, y + h + 1), 3, edge)
    c.rounded((x, y, x + tab_w, y + h * 0.3), 2, tab)
    c.rounded((x, y + h * 0.16, x + w, y + h), 3, body)


def icon_magnifier(c, cx, cy, r, fill, width=2.4):
    c.ellipse((cx - r, cy - r, cx + r, cy + r), outline=fill, width=width)
    d = r * 0.72
    c.line([(cx + d, cy + d), (cx + r * 1.75, cy + r * 1.75)], fill, width * 1.3)
