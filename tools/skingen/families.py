"""One drawing function per image family. Each takes the image's table row and a frame number
and returns (picture, mask): an RGB picture of one frame, and for images drawn with a
transparent colour a mask (a list of rows of booleans, True where the shape is drawn and hit);
None for opaque images.

Frame numbers are the window's button states: 0 normal, 1 focused or marked (or Caps on),
2 pressed; the four-frame keys are described where they are drawn.
"""
from PIL import Image as PILImage

import draw as d
from draw import Canvas


def pressed(state):
    return state == 2


def shift(state):
    """Printed glyphs move one pixel right and down while pressed, as the windows' labels do."""
    return 1 if state == 2 else 0


# --- keyboards ---------------------------------------------------------------------------------

PHONE_KEYS = (
    ("1", ".,?!"), ("2", "ABC"), ("3", "DEF"),
    ("4", "GHI"), ("5", "JKL"), ("6", "MNO"),
    ("7", "PQRS"), ("8", "TUV"), ("9", "WXYZ"),
    ("*", ""), ("0", "space"), ("#", ""),
)


def phone_key(image_row, state):
    """An 80 x 42 letter key that prints its digit and letter group (the keypad draws no text)."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, radius=5)
    digit, letters = PHONE_KEYS[image_row.args["key"]]
    s = shift(state)
    cy = image_row.height / 2 + s
    digit_w = c.text_width(digit, "sans-bold", 21)
    if letters == "space":
        letters_w = 20
    else:
        letters_w = c.text_width(letters, "sans-bold", 12) if letters else 0
    gap = 7 if letters else 0
    x = (image_row.width - (digit_w + gap + letters_w)) / 2 + s
    c.text((x, cy), digit, "sans-bold", 21, d.INK, anchor="lm")
    if letters == "space":
        d.glyph_space(c, x + digit_w + gap + letters_w / 2, cy + 3, letters_w, d.INK_SOFT, 1.8)
    elif letters:
        c.text((x + digit_w + gap, cy + 1), letters, "sans-bold", 12, d.INK_SOFT, anchor="lm")
    return c.finish(), None


def char_key(image_row, state):
    """A single-character key whose label the keyboard draws (predictive keypad)."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, radius=4)
    return c.finish(), None


def qwerty_key(image_row, state):
    """QWERTY character key: the big character sits bottom-left, the other page's top-right."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, radius=5)
    return c.finish(), None


def ls_char_key(image_row, state):
    """Landscape character key, lit from the turned device's top (the screen's left)."""
    c = Canvas(image_row.height, image_row.width)
    d.key_face(c, (1, 1, image_row.height - 1, image_row.width - 1), state, radius=4)
    return d.rotate_for_landscape(c.finish()), None


def function_key(image_row, state):
    """48 x 31 function keys; the key face leaves the last row as background so that the
    48 x 30 keys of the predictive keypad, which copy the top 30 rows, keep their bottom edge."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, 30), state, radius=4)
    s = shift(state)
    glyph = image_row.args["glyph"]
    if glyph == "enter":
        d.glyph_enter(c, 24 + s, 15.5 + s, 17, d.INK)
    elif glyph == "backspace":
        face = d.DARK_PRESSED_BOTTOM if pressed(state) else (d.MARK_BOTTOM if state == 1 else d.DARK_BOTTOM)
        d.glyph_backspace(c, 24 + s, 15.5 + s, 20, d.INK, face)
    return c.finish(), None


def lock_key(image_row, state):
    """Caps or Fn of the phone and predictive keypads: the window writes the name a few pixels
    right of centre; a small lamp on the left lights in frame 1 (the lock is on)."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, 30 if image_row.height == 31 else 29), state, radius=4)
    s = shift(state)
    on = state == 1
    lamp = (d.ACCENT if image_row.args["led"] == "caps" else d.AMBER) if on else (84, 84, 84)
    c.rounded((5 + s, 11 + s, 10 + s, 19 + s), 2, lamp)
    return c.finish(), None


def caps_fn_key(image_row, state):
    """QWERTY Caps/Fn key, which carries no label: frame 0 normal, 1 Caps on, 2 Fn armed,
    3 pressed. It prints "Caps" and, smaller, "Fn" with the upward stroke that arms it."""
    c = Canvas(image_row.width, image_row.height)
    look = {0: 0, 1: 1, 2: 1, 3: 2}[state]
    d.key_face(c, (1, 1, image_row.width - 1, 30), look, radius=4)
    if state == 2:
        # Fn armed: the ring in amber instead of the focus colour.
        c.rounded((2, 2, image_row.width - 2, 29), 3, d.AMBER)
        c.gradient((4, 4, image_row.width - 4, 27), d.DARK_TOP, d.DARK_BOTTOM, 1)
    s = 1 if state == 3 else 0
    caps_colour = d.ACCENT if state == 1 else d.INK
    fn_colour = d.AMBER if state == 2 else d.INK_SOFT
    c.text((24 + s, 11.5 + s), "Caps", "sans-bold", 11, caps_colour)
    c.text((21 + s, 22.5 + s), "Fn", "sans-bold", 8.5, fn_colour)
    d.glyph_arrow(c, 31 + s, 22.5 + s, 6, "up", fn_colour)
    return c.finish(), None


def ls_function_key(image_row, state):
    """Landscape function keys: drawn upright for the turned device, then turned. lsfn has a
    fourth frame: 1 is Fn armed, 3 pressed (frame 2 repeats the pressed look)."""
    up_w, up_h = image_row.height, image_row.width
    c = Canvas(up_w, up_h)
    glyph = image_row.args["glyph"]
    look = {0: 0, 1: 1, 2: 2, 3: 2}[state]
    d.key_face(c, (1, 1, up_w - 1, up_h - 1), look, radius=4)
    if glyph == "fn" and state == 1:
        c.rounded((2, 2, up_w - 2, up_h - 2), 3, d.AMBER)
        c.gradient((4, 4, up_w - 4, up_h - 4), d.DARK_TOP, d.DARK_BOTTOM, 1)
    s = 1 if look == 2 else 0
    cx, cy = up_w / 2 + s, up_h / 2 + s
    face = d.DARK_PRESSED_BOTTOM if look == 2 else (d.MARK_BOTTOM if look == 1 else d.DARK_BOTTOM)
    if glyph == "enter":
        d.glyph_enter(c, cx, cy, 17, d.INK)
    elif glyph == "backspace":
        d.glyph_backspace(c, cx, cy, 20, d.INK, face)
    elif glyph == "caps":
        d.glyph_caps(c, cx, cy, 18, d.ACCENT if state == 1 else d.INK)
    elif glyph == "fn":
        c.text((cx, cy), "Fn", "sans-bold", 13, d.AMBER if state == 1 else d.INK)
    # "space" stays blank like a space bar: the same image carries the vertical prediction
    # bar's words, where a printed sign would read as part of each suggestion.
    return d.rotate_for_landscape(c.finish()), None


def calc_key(image_row, state):
    """Calculator keys: light digit keys for black digits, dark keys for the grey operators."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, style=image_row.args["style"], radius=5)
    return c.finish(), None


def add_key(image_row, state):
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, style="teal", radius=4)
    return c.finish(), None


def display(image_row, state):
    """A bezel for the calculator's display edit (the edit itself is white and draws its text)."""
    c = Canvas(image_row.width, image_row.height)
    c.rounded((0, 0, image_row.width, image_row.height), 4, d.OUTLINE)
    c.rounded((1, 1, image_row.width - 1, image_row.height - 1), 3, (70, 70, 70))
    c.rect((3, 3, image_row.width - 3, image_row.height - 3), (250, 250, 250))
    return c.finish(), None


def chip(image_row, state):
    """01.png: a prediction chip (and the date, time and lock keys of the Fx pop-up)."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, radius=6)
    return c.finish(), None


def fx_key(image_row, state):
    """A wide key that shows one predefined text; a thin rule at the left marks it as a text."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, radius=5)
    if state != 1:
        c.rect((4, 7, 5, 19), d.AMBER if state == 0 else (150, 110, 40))
    return c.finish(), None


def menu_button(image_row, state):
    """Soft-key menu buttons: light faces for the black labels; the arrow buttons page."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, style="light", radius=4)
    arrow = image_row.args["arrow"]
    if arrow:
        s = shift(state)
        d.glyph_arrow(c, image_row.width / 2 + s, image_row.height / 2 + s, 12, arrow, d.INK_DARK)
    return c.finish(), None


def scroll_button(image_row, state):
    """The landscape editor's two scroll buttons share this image; their "<" and ">" labels
    (black, drawn by the editor) tell them apart, so the face only shows three text lines
    with a small two-way arrow below the label: these buttons scroll."""
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, style="light", radius=3)
    tone = (110, 110, 110) if state != 2 else (90, 90, 90)
    s = shift(state)
    c.line([(7.5 + s, 34.5 - s), (14.5 + s, 34.5 - s)], tone, 1.2)
    d.glyph_arrow(c, 6 + s, 34.5 - s, 5, "left", tone)
    d.glyph_arrow(c, 16 + s, 34.5 - s, 5, "right", tone)
    return c.finish(), None


# --- contact list -----------------------------------------------------------------------------

CONTACT_ROW_FACES = {0: ((250, 250, 250), (236, 236, 236)), 1: ((232, 244, 252), (214, 234, 248)),
                     2: ((234, 234, 234), (228, 228, 228))}


def contact_row(image_row, state):
    """A result row: near-white paper, because the window writes the name in black and dark
    red and the counter partly in red; a rule at the foot separates the rows (they stack at
    30 px and the name starts at the row's top, so nothing but paper lies under it). Pressed
    shows as a greyer paper with a grey bar on the left, focused as a blue tint with a blue bar."""
    w, h = image_row.width, image_row.height
    c = Canvas(w, h)
    top, bottom = CONTACT_ROW_FACES[state]
    c.gradient((0, 0, w, h - 1), top, bottom)
    c.rect((0, h - 1, w, h), (120, 120, 120))
    if state == 2:
        c.rect((0, 0, 3, h - 1), (150, 150, 150))
    if state == 1:
        c.rect((0, 0, 3, h - 1), d.ACCENT_DEEP)
    return c.finish(), None


def contact_arrow(image_row, state):
    c = Canvas(image_row.width, image_row.height)
    d.key_face(c, (1, 1, image_row.width - 1, image_row.height - 1), state, style="light", radius=4)
    s = shift(state)
    d.glyph_arrow(c, image_row.width / 2 + s, image_row.height / 2 + s, 14, image_row.args["arrow"], d.INK_DARK)
    return c.finish(), None


# --- start window ------------------------------------------------------------------------------

BAND_FACES = {0: ((50, 50, 50), (38, 38, 38)), 1: ((34, 56, 74), (26, 44, 60)),
              2: ((26, 26, 26), (32, 32, 32))}


def band_face(c, w, h, state, faces=BAND_FACES):
    top, bottom = faces[state]
    c.gradient((0, 0, w, h), top, bottom)
    c.rect((0, 0, w, 1), d.DARK_HIGHLIGHT if state != 2 else (20, 20, 20))
    c.rect((0, h - 1, w, h), (22, 22, 22))
    if state == 1:
        c.rect((0, 1, 4, h - 1), d.ACCENT)


def start_header(image_row, state):
    """Band 0: a setup tile on the left 50 pixels, the program's name and Exit on the rest."""
    w, h = image_row.width, image_row.height
    c = Canvas(w, h)
    faces = {0: ((40, 52, 66), (26, 32, 40)), 1: ((40, 66, 88), (28, 46, 62)),
             2: ((22, 26, 32), (30, 36, 44))}
    band_face(c, w, h, state, faces)
    s = shift(state)
    # Setup tile.
    c.rect((50, 8, 51, h - 8), (18, 22, 28))
    c.rect((51, 8, 52, h - 8), (70, 84, 100))
    d.icon_gear(c, 25 + s, 44 + s, 13, d.INK, faces[state][0])
    c.text((25 + s, 73 + s), "Setup", "sans", 10, d.INK_SOFT)
    # Title and exit.
    c.text((64 + s, 38 + s), "Tavrel", "sans-bold", 27, d.INK, anchor="lm")
    c.text((66 + s, 63 + s), "notes & contacts", "sans", 10.5, d.INK_SOFT, anchor="lm")
    d.icon_power(c, 207 + s, 41 + s, 11, (236, 128, 112))
    c.text((207 + s, 70 + s), "Exit", "sans", 10, d.INK_SOFT)
    return c.finish(), None


BANDS = {
    "new_note": ("New note", "start writing"),
    "notes": ("Notes", "browse, search and edit"),
    "new_contact": ("New contact", "add a person"),
    "contacts": ("Contacts", "find a contact"),
}


def start_band(image_row, state):
    """Bands 1-4: an icon, what the band opens, and a chevron."""
    w, h = image_row.width, image_row.height
    c = Canvas(w, h)
    band_face(c, w, h, state)
    s = shift(state)
    what = image_row.args["what"]
    cx, cy = 30 + s, h / 2 + s
    paper = (222, 222, 222)
    if what == "new_note":
        d.icon_document(c, cx - 10, cy - 13, 20, 26, paper, (110, 110, 110))
        d.icon_pencil(c, cx + 13, cy - 14, cx + 2, cy + 5, d.AMBER, (240, 210, 170), 4.2)
        d.icon_plus_badge(c, cx - 10, cy + 10, 6.5, d.ACCENT, (20, 40, 60))
    elif what == "notes":
        d.icon_document(c, cx - 4, cy - 15, 18, 24, (150, 150, 150), (90, 90, 90))
        d.icon_document(c, cx - 12, cy - 10, 18, 24, paper, (110, 110, 110))
    elif what == "new_contact":
        d.icon_person(c, cx, cy - 12, 24, paper)
        d.icon_plus_badge(c, cx + 11, cy + 8, 6.5, d.ACCENT, (20, 40, 60))
    else:
        d.icon_person(c, cx + 7, cy - 14, 21, (150, 150, 150))
        d.icon_person(c, cx - 4, cy - 10, 24, paper)
    title, note = BANDS[what]
    c.text((62 + s, cy - 7), title, "sans-bold", 15, d.INK, anchor="lm")
    c.text((63 + s, cy + 10), note, "sans", 10, d.INK_SOFT, anchor="lm")
    d.glyph_chevron(c, 222 + s, cy, 14, "right", d.INK_SOFT, 2.2)
    return c.finish(), None


# --- interlocking rows (notes list and contact menu) -------------------------------------------

SPLIT_Y = 26          # in the overlap, the left row owns y < SPLIT_Y, the right row the rest
LEFT_SLANT_END = 58   # the names of both rows lie in x 61..180 (band coordinates)
RIGHT_SLANT = (181, 184)


def left_owns(x, y, overlap_start, overlap_end=186, height=48):
    """Band coordinates (0..240). True where the left (even) row is drawn and hit, False where
    the right (odd) one is. The names of both rows lie between x = 61 and 180, the left one in
    the upper part; short slants at both ends of the overlap join the two rectangles, and the
    right row's own label (contact menu, x 185..233) lies wholly on the right row."""
    if x < overlap_start:
        return True
    if x >= overlap_end or x >= RIGHT_SLANT[1]:
        return False
    cx = x + 0.5
    if cx < LEFT_SLANT_END:
        t = (cx - overlap_start) / (LEFT_SLANT_END - overlap_start)
        boundary = height + (SPLIT_Y - height) * t
    elif cx < RIGHT_SLANT[0]:
        boundary = SPLIT_Y
    else:
        t = (cx - RIGHT_SLANT[0]) / (RIGHT_SLANT[1] - RIGHT_SLANT[0])
        boundary = SPLIT_Y * (1 - t)
    return y + 0.5 < boundary


def row_mask(image_row, band_left, overlap_start):
    """The shape of a row image: the band pixels its side owns, in frame coordinates."""
    left_side = image_row.args["side"] == "left"
    return [[left_owns(band_left + x, y, overlap_start) == left_side for x in range(image_row.width)]
            for y in range(image_row.height)]


def edge_depth(mask):
    """For each drawn pixel, its distance (1, 2, 3, ...) to the shape's border, 0 outside. The
    frame's edges count as border: rows of neighbouring bands and cards meet there."""
    h, w = len(mask), len(mask[0])
    depth = [[0] * w for _ in range(h)]
    frontier = []
    for y in range(h):
        for x in range(w):
            if not mask[y][x]:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if not (0 <= nx < w and 0 <= ny < h) or not mask[ny][nx]:
                    depth[y][x] = 1
                    frontier.append((x, y))
                    break
    level = 1
    while frontier:
        level += 1
        nxt = []
        for x, y in frontier:
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if 0 <= nx < w and 0 <= ny < h and mask[ny][nx] and depth[ny][nx] == 0:
                    depth[ny][nx] = level
                    nxt.append((nx, ny))
        frontier = nxt
    return depth


def paint_card(image_row, state, mask, top, bottom, edge, highlight, wells=(), well_colour=None):
    """Paints a shape of any outline: gradient face, a one-pixel border, a highlight inside the
    border's upper part; frame 1 has a two-pixel ring in the focus colour. Wells are darker
    rectangles inside the face that never cover the border or the ring."""
    w, h = image_row.width, image_row.height
    img = PILImage.new("RGB", (w, h), d.BG)
    px = img.load()
    depth = edge_depth(mask)
    for y in range(h):
        face = d.lerp(top, bottom, y / (h - 1))
        for x in range(w):
            k = depth[y][x]
            if k == 0:
                continue
            if k == 1:
                px[x, y] = edge
            elif state == 1 and k == 2:
                px[x, y] = d.ACCENT
            elif any(x0 <= x < x1 and y0 <= y < y1 for x0, y0, x1, y1 in wells) and k >= 3:
                px[x, y] = well_colour
            elif k == 2 and y < h / 2 and state == 0:
                px[x, y] = highlight
            else:
                px[x, y] = face
    return img


ROW_FACES = {0: ((52, 52, 52), (40, 40, 40)), 1: (d.MARK_TOP, d.MARK_BOTTOM),
             2: ((26, 26, 26), (33, 33, 33))}


def note_row(image_row, state):
    """Notes list rows. Even rows (viewnote02, x 0..186) own the upper part of the overlap and
    show their name high; odd rows (viewnote01, x 54..240) own the lower part and show it low.
    The free end of each row carries a small note mark."""
    left = image_row.args["side"] == "left"
    mask = row_mask(image_row, 0 if left else 54, 54)
    top, bottom = ROW_FACES[state]
    img = paint_card(image_row, state, mask, top, bottom, d.OUTLINE, (64, 64, 64))
    c = Canvas(image_row.width, image_row.height)
    c.image.paste(img.resize((image_row.width * d.SCALE, image_row.height * d.SCALE), PILImage.Resampling.NEAREST))
    s = shift(state)
    mark_x = 18 if left else image_row.width - 36
    ink = (120, 120, 120) if state != 1 else (110, 150, 176)
    d.icon_document(c, mark_x + s, 13 + s, 17, 22, ink, lerp_face(top, bottom))
    return c.finish(), mask


def lerp_face(top, bottom):
    return d.lerp(top, bottom, 0.5)


def contact_entry(image_row, state):
    """Contact menu entry buttons: the same interlocking shape as the notes rows (left buttons
    0..186 own the upper part of the overlap, right buttons 55..240 the lower part), with a dark
    well behind the gold entry label."""
    left = image_row.args["side"] == "left"
    mask = row_mask(image_row, 0 if left else 55, 55)
    top, bottom = ROW_FACES[state]
    well = (4, 3, 58, 22) if left else (127, 4, 183, 25)
    img = paint_card(image_row, state, mask, top, bottom, d.OUTLINE, (64, 64, 64), (well,),
                     (24, 24, 24) if state != 1 else (16, 34, 48))
    return img, mask


# --- notes list buttons ------------------------------------------------------------------------

def rounded_mask(w, h, radius, square_right=False):
    """Binary mask of a rounded rectangle: pixels at least half covered are drawn. With
    square_right the right edge runs straight to the frame's edge (the screen's edge)."""
    from PIL import ImageDraw
    m = PILImage.new("L", (w * d.SCALE, h * d.SCALE), 0)
    md = ImageDraw.Draw(m)
    md.rounded_rectangle((0, 0, w * d.SCALE - 1, h * d.SCALE - 1), radius * d.SCALE, fill=255)
    if square_right:
        md.rectangle((w * d.SCALE // 2, 0, w * d.SCALE - 1, h * d.SCALE - 1), fill=255)
    small = m.reduce(d.SCALE)
    px = small.load()
    return [[px[x, y] >= 128 for x in range(w)] for y in range(h)]


def bar_button(image_row, state, square_right):
    """The face of the notes list's bottom buttons: the usual key looks on a dark card, with a
    rule between the upper part (icon and caption) and the lower text line."""
    w, h = image_row.width, image_row.height
    c = Canvas(w, h)
    right = w + 8 if square_right else w
    d.key_face(c, (0, 0, right, h), state, radius=4)
    c.rect((6, 30, w - 6, 31), (26, 26, 26) if state != 1 else (16, 32, 46))
    return c


def notes_folder_button(image_row, state):
    """Folder button of the notes list: a folder mark where the window leaves room (top left),
    the file count to its right and the folder path below (both drawn by the window)."""
    c = bar_button(image_row, state, False)
    s = shift(state)
    d.icon_folder(c, 10 + s, 7 + s, 30, 21, (232, 184, 70), (196, 146, 44))
    return c.finish(), rounded_mask(image_row.width, image_row.height, 4)


def notes_search_button(image_row, state):
    """Search button of the notes list, at the screen's right edge: a magnifier left of the
    caption, which the window writes up to the button's right edge."""
    c = bar_button(image_row, state, True)
    s = shift(state)
    d.icon_magnifier(c, 12 + s, 14 + s, 6, d.INK, 2.2)
    return c.finish(), rounded_mask(image_row.width, image_row.height, 4, square_right=True)


# --- folder browser icons ----------------------------------------------------------------------

BROWSER_BG = (0xB3, 0xB3, 0xB3)   # the folder browser fills its grid area with this grey


def folder_icon(image_row, state):
    """64 x 64 folder icons drawn at a cell's top-left over the browser's grey; the note count
    is written in black over the lower middle of the folder."""
    c = Canvas(image_row.width, image_row.height, BROWSER_BG)
    kind = image_row.args["kind"]
    if kind == "grey":
        body, tab, edge = (214, 214, 214), (176, 176, 176), (112, 112, 112)
    elif kind == "up":
        body, tab, edge = (190, 214, 232), (140, 176, 204), (70, 100, 124)
    else:
        body, tab, edge = (246, 204, 92), (214, 164, 52), (140, 100, 20)
    d.icon_folder(c, 4, 12, 56, 46, body, tab, edge)
    c.rect((5, 22, 59, 23), d.lerp(body, (255, 255, 255), 0.5))
    if kind == "up":
        ink = (36, 60, 80)
        d.glyph_arrow(c, 32, 30, 16, "up", ink)
        c.line([(32, 34), (32, 46), (20, 46)], ink, 4)
    return c.finish(), None


FAMILIES = {fn.__name__: fn for fn in (
    phone_key, char_key, qwerty_key, ls_char_key, function_key, lock_key, caps_fn_key,
    ls_function_key, calc_key, add_key, display, chip, fx_key, menu_button, scroll_button,
    contact_row, contact_arrow, start_header, start_band, note_row, contact_entry,
    notes_folder_button, notes_search_button, folder_icon)}
