"""The contact sheet for review: every image at 2x with its frames apart and numbered, the
transparent colour shown as a checkerboard, then a few screens put together from the images
the way the windows place them, with sample labels in the windows' colours."""
from PIL import Image, ImageDraw, ImageFont

import draw as d

ZOOM = 2
SHEET_W = 1560
LABEL_FONT = d.FONTS["sans"]
PAPER = (44, 44, 48)


def _font(size):
    return ImageFont.truetype(LABEL_FONT, size)


def _checker(w, h):
    img = Image.new("RGB", (w, h), (230, 230, 230))
    dr = ImageDraw.Draw(img)
    for y in range(0, h, 6):
        for x in range(0, w, 6):
            if (x // 6 + y // 6) % 2:
                dr.rectangle((x, y, x + 5, y + 5), fill=(170, 170, 170))
    return img


def _frame(strip, image_row, k):
    frame = strip.crop((k * image_row.width, 0, (k + 1) * image_row.width, image_row.height))
    if image_row.transparent is not None:
        mask = Image.new("L", frame.size, 0)
        mp, fp = mask.load(), frame.load()
        for y in range(image_row.height):
            for x in range(image_row.width):
                if fp[x, y] != image_row.transparent:
                    mp[x, y] = 255
        shown = _checker(image_row.width, image_row.height)
        shown.paste(frame, (0, 0), mask)
        frame = shown
    return frame.resize((image_row.width * ZOOM, image_row.height * ZOOM), Image.Resampling.NEAREST)


def _entries(images, rendered):
    tiles = []
    for image_row in images:
        strip = rendered[image_row.name][0]
        gap = 10
        w = image_row.frames * image_row.width * ZOOM + (image_row.frames - 1) * gap
        h = image_row.height * ZOOM + 40
        tile = Image.new("RGB", (max(w, 200), h), PAPER)
        dr = ImageDraw.Draw(tile)
        idx = "%d" % image_row.index if image_row.index >= 0 else "-"
        dr.text((0, 0), "%s  %s  %dx%d x%d  mode %d" % (idx, image_row.name, image_row.width, image_row.height,
                                                        image_row.frames, image_row.draw_mode),
                font=_font(13), fill=(230, 230, 230))
        for k in range(image_row.frames):
            x = k * (image_row.width * ZOOM + gap)
            tile.paste(_frame(strip, image_row, k), (x, 18))
            dr.text((x, 20 + image_row.height * ZOOM), "frame %d" % k, font=_font(10), fill=(160, 160, 160))
        tiles.append(tile)
    return tiles


def _flow(tiles, width):
    rows, row, row_w = [], [], 0
    for t in tiles:
        if row and row_w + t.width + 24 > width:
            rows.append(row)
            row, row_w = [], 0
        row.append(t)
        row_w += t.width + 24
    if row:
        rows.append(row)
    height = sum(max(t.height for t in r) + 18 for r in rows)
    out = Image.new("RGB", (width, height), PAPER)
    y = 0
    for r in rows:
        x = 0
        for t in r:
            out.paste(t, (x, y))
            x += t.width + 24
        y += max(t.height for t in r) + 18
    return out


class Screen:
    """A 240 x 320 mock screen: frames placed like DrawButtonImage, labels like DrawText."""

    def __init__(self, images, rendered, h=320, w=240):
        self.img = Image.new("RGB", (w, h), d.BG)
        self.by_name = {s.name: s for s in images}
        self.rendered = rendered

    def put(self, name, x, y, state=0, w=None, h=None):
        image_row = self.by_name[name]
        strip = self.rendered[name][0]
        w = w or image_row.width
        h = h or image_row.height
        frame = strip.crop((state * image_row.width, 0, state * image_row.width + w, h))
        if image_row.transparent is not None and image_row.draw_mode == 0:
            mask = Image.new("L", frame.size, 0)
            mp, fp = mask.load(), frame.load()
            for yy in range(h):
                for xx in range(w):
                    if fp[xx, yy] != image_row.transparent:
                        mp[xx, yy] = 255
            self.img.paste(frame, (x, y), mask)
        else:
            self.img.paste(frame, (x, y))

    def text(self, box, string, colour, size=11, align="center", valign="top", bold=False, rotate=False):
        font = ImageFont.truetype(d.FONTS["sans-bold" if bold else "sans"], size)
        x0, y0, x1, y1 = box
        if rotate:
            w = round(font.getlength(string))
            layer = Image.new("L", (w + 2, size + 4), 0)
            ImageDraw.Draw(layer).text((1, 0), string, font=font, fill=255)
            layer = layer.transpose(Image.Transpose.ROTATE_90)
            self.img.paste(Image.new("RGB", layer.size, colour), (x0, y1 - layer.size[1]), layer)
            return
        dr = ImageDraw.Draw(self.img)
        w = font.getlength(string)
        x = {"center": (x0 + x1 - w) / 2, "left": x0, "right": x1 - w}[align]
        y = {"top": y0, "center": (y0 + y1 - size) / 2 - 1, "bottom": y1 - size - 2}[valign]
        dr.text((x, y), string, font=font, fill=colour)

    def zoomed(self):
        return self.img.resize((self.img.width * ZOOM, self.img.height * ZOOM), Image.Resampling.NEAREST)


GREY = (0xB3, 0xB3, 0xB3)
BLACK = (10, 10, 10)


def _start(images, rendered):
    s = Screen(images, rendered)
    for name, top, state in (("open_00.png", 0, 0), ("open_01.png", 105, 0), ("open_02.png", 155, 1),
                             ("open_03.png", 209, 0), ("open_04.png", 258, 2)):
        s.put(name, 0, top, state)
    return s


def _menu_bar(s, labels, y=0, arrows=(0, 0)):
    for i, label in enumerate(labels):
        name = "menu_ures.png"
        if i == 1 and arrows[0]:
            name = "menu_bal.png"
        if i == 2 and arrows[1]:
            name = "menu_jobb.png"
        s.put(name, 48 * i, y)
        if label:
            s.text((48 * i, y + 8, 48 * i + 48, y + 22), label, BLACK, 11, valign="center")


def _notes(images, rendered):
    s = Screen(images, rendered)
    _menu_bar(s, ["Delete", "", "", "Edit", "Back"], arrows=(1, 1))
    s.img.paste((255, 255, 255), (0, 30, 240, 118))
    s.text((4, 34, 236, 50), "shopping list  milk, bread, eggs", (0, 0, 0), 11, align="left")
    names = ["Shopping list", "Meeting notes", "Ideas for the trip", "Call Anna", "", ""]
    for band in range(3):
        top = 118 + 48 * band
        s.put("viewnote02.png", 0, top, 1 if band == 0 else 0)
        s.put("viewnote01.png", 54, top, 2 if band == 1 else 0)
        even, odd = names[2 * band], names[2 * band + 1]
        if even:
            s.text((61, top + 7, 179, top + 48), even, GREY, 11)
        if odd:
            s.text((61, top + 30, 179, top + 48), odd, GREY, 11)
    s.put("folder_a.png", 0, 267)
    s.text((50, 277, 173, 320), "Number of files: 4", (255, 255, 255), 10, align="left")
    s.text((4, 302, 173, 320), "\\My Documents\\Tavrels", GREY, 11, align="left")
    s.put("search_a.png", 180, 267)
    s.text((207, 275, 240, 320), "Search", (255, 255, 255), 9, align="left")
    return s


def _phone(images, rendered):
    s = Screen(images, rendered, h=201)
    files = ["02", "06", "10", "03", "07", "11", "04", "08", "12", "05", "09", "13"]
    for k in range(12):
        s.put(files[k] + ".png", 80 * (k % 3), 1 + 42 * (k // 3), 2 if k == 4 else 0)
    for i, (name, label) in enumerate((("num_03.png", "Shift"), ("caps_00.png", "Caps"),
                                       ("num_03.png", "Space"), ("num_05.png", ""), ("num_04.png", ""))):
        s.put(name, 48 * i, 170, 1 if i == 1 else 0)
        if label:
            off = 6 if label == "Caps" else 0
            s.text((48 * i + off, 178, 48 * i + 48 + off, 193), label, GREY, 11)
    return s


def _predictive(images, rendered):
    s = Screen(images, rendered, h=200 + 29)
    for k, word in enumerate(("the", "there", "then")):
        s.put("01.png", 80 * k, 0, 2 if k == 1 else 0)
        s.text((80 * k, 6, 80 * k + 80, 26), word, GREY, 11)
    row = "qwertyuasdfghjzxcvbnmklop.,?! '-:;"
    for i in range(35):
        x, y = 34 * (i % 7), 29 + 34 * (i // 7)
        ch = row[i] if i < len(row) else " "
        s.put("fura_01.png", x, y, 1 if ch in "eh" else (2 if i == 9 else 0))
        s.text((x, y + 8, x + 34, y + 26), ch, GREY, 12, valign="bottom")
    for i, (name, label, off) in enumerate((("fn_00.png", "Fn", 5), ("caps_00.png", "Caps", 6),
                                            ("num_03.png", "Space", 0), ("num_05.png", "", 0),
                                            ("num_04.png", "", 0))):
        s.put(name, 48 * i, 29 + 170, 0, h=30)
        if label:
            s.text((48 * i + off, 29 + 178, 48 * i + 48 + off, 29 + 192), label, GREY, 10)
    return s


def _qwerty(images, rendered):
    s = Screen(images, rendered, h=201)
    chars = "qwertyasdfghzxcvbnuiopjk"
    other = "1234567890-=!?()/:;,.@#"
    for i in range(24):
        row, col = divmod(i, 6)
        x = (6 if row % 2 == 0 else 0) + 39 * col
        y = 9 + 38 * row
        s.put("qwerty05.png", x, y, 1 if chars[i] in "ae" else 0)
        s.text((x + 12, y + 6, x + 31, y + 32), chars[i], GREY, 15, align="left", valign="bottom", bold=True)
        s.text((x + 12, y + 6, x + 31, y + 32), other[i % len(other)], (0xB5, 0x74, 0x00), 9,
               align="right", bold=True)
    for i, (name, label, state) in enumerate((("num_03.png", "flip", 0), ("caps_fn.png", "", 2),
                                              ("num_03.png", "space", 0), ("num_05.png", "", 0),
                                              ("num_04.png", "", 0))):
        s.put(name, 48 * i, 170, state)
        if label:
            s.text((48 * i, 170, 48 * i + 48, 201), label, GREY, 11, valign="center")
    return s


def _calc(images, rendered):
    s = Screen(images, rendered, h=227)
    s.put("display.png", 29, 3)
    s.text((32, 6, 162, 20), "3.14159", (0, 0, 0), 11, align="right")
    s.put("add.png", 180, 0)
    s.text((180, 0, 240, 24), "Add", (0xB0, 0xB0, 0xB0), 11, valign="center")
    labels = ["7", "8", "9", "/", "CE/C", "4", "5", "6", "*", "M+", "1", "2", "3", "-", "Ms",
              "0", ".", "=", "+", "Mr"]
    digit = set("0123456789")
    for i, label in enumerate(labels):
        x, y = 5 + 46 * (i % 5), 24 + 43 * (i // 5)
        name = "num_01.png" if label in digit else "num_02.png"
        s.put(name, x, y, 2 if label == "5" else 0)
        colour = (0, 0, 0) if label in digit else (0xB0, 0xB0, 0xB0)
        s.text((x, y, x + 46, y + 43), label, colour, 15 if label in digit else 12, valign="center",
               bold=label in "2389" and label != "")
    for i, (name, label) in enumerate((("num_03.png", "sqrt"), ("num_03.png", "%"), ("num_03.png", "space"),
                                       ("num_05.png", ""), ("num_04.png", ""))):
        s.put(name, 48 * i, 196)
        if label:
            s.text((48 * i, 196, 48 * i + 48, 227), label, (0xB0, 0xB0, 0xB0), 11, valign="center")
    return s


def _landscape(images, rendered):
    s = Screen(images, rendered)
    s.img.paste((255, 255, 255), (0, 30, 45, 320))
    _menu_bar(s, [">>"], 0)
    for k, word in enumerate(("then", "there", "the")):
        top = (3, 109, 215)[k]
        s.put("lsspace.png", 45, top, 0)
        s.text((45 + 7, top, 45 + 31, top + 103 - 4), word, GREY, 11, rotate=True)
    row = "1234567890qwertyuiopasdfghjkl;zxcvbnm,./"
    for col in range(4):
        for k in range(10):
            x = 74 + 32 * col
            y = (279 if col % 2 == 0 else 289) - 31 * k
            ch = row[10 * col + k]
            s.put("ls.png", x, y, 1 if ch in "th" else 0)
            s.text((x + 12, y + 3, x + 30, y + 28), ch, GREY, 12, rotate=True)
    for name, top, state in (("lsfn.png", 268, 0), ("lscaps.png", 223, 1), ("lsspace.png", 115, 0),
                             ("lsback.png", 60, 0), ("lsenter.png", 12, 0)):
        s.put(name, 74 + 134, top, state)
    return s


def _contacts(images, rendered):
    s = Screen(images, rendered)
    _menu_bar(s, ["Setup", "", "", "Save", "Back"], arrows=(1, 1))
    entries = [("Name:", "Anna Berg"), ("Mobile tel:", "555 0142"), ("E-mail:", "anna@example.org"),
               ("Company:", ""), ("Work tel:", ""), ("Birthday:", "6/12/1990")]
    for band in range(3):
        top = 28 + 48 * band
        s.put("newcontact_02.png", 0, top, 2 if band == 2 else 0)
        s.put("newcontact_01.png", 55, top)
        (l_label, l_value), (r_label, r_value) = entries[2 * band], entries[2 * band + 1]
        s.text((7, top + 5, 60, top + 48), l_label, (0xDB, 0xB9, 0x46), 10, align="left")
        s.text((61, top + 7, 179, top + 48), l_value, GREY, 11)
        s.text((185, top + 8, 233, top + 48), r_label, (0xDB, 0xB9, 0x46), 10, align="right")
        s.text((62, top + 30, 180, top + 48), r_value, GREY, 11)
    # The contact list below, as its window would place it with the menu on.
    for r, (name, counter) in enumerate((("Berg, Anna", "1/3"), ("Bergman, Olof", "2/3"), ("", ""))):
        top = 180 + 30 * r
        s.put("viewcon_name.png", 0, top, 2 if r == 1 else 0)
        if name:
            s.text((50, top, 160, top + 30), name, (0, 0, 0), 11)
            s.text((160, top, 210, top + 30), counter, (0xFF, 0, 0), 11)
    s.put("viewcon_up.png", 210, 180)
    s.put("viewcon_down.png", 210, 225)
    s.put("editls.png", 0, 280)
    s.text((0, 280, 22, 320), "<", (0, 0, 0), 12, valign="center")
    s.put("editls.png", 22, 280, 2)
    s.text((22, 279, 44, 319), ">", (0, 0, 0), 12, valign="center")
    return s


def _fx_and_browser(images, rendered):
    s = Screen(images, rendered)
    _menu_bar(s, ["", "", "", "", "OK"], arrows=(1, 1))
    texts = ["www.example.org", "Best Regards", "Hello Darling", "Don't forget to", "Gave money to", ""]
    for k in range(6):
        s.put("fx_button.png", 20, 34 + 32 * k, 2 if k == 1 else 0)
        s.text((20, 34 + 32 * k + 2, 220, 34 + 32 * k + 23), texts[k], GREY, 11, valign="center")
    for i, label in enumerate(("#Date", "#Time", "Lock")):
        s.put("01.png", 80 * i, 228)
        s.text((80 * i, 230, 80 * i + 80, 252), label, GREY, 11, valign="center")
    s.img.paste((0xB3, 0xB3, 0xB3), (0, 256, 240, 320))
    for i, (name, count) in enumerate((("arrowfolder.png", ""), ("yellowfolder.png", "12"),
                                       ("grayfolder.png", ""))):
        s.put(name, 5 + 80 * i, 256)
        if count:
            s.text((5 + 80 * i, 256 + 29, 69 + 80 * i, 256 + 52), count, (0, 0, 0), 12, valign="center")
    return s


def contact_sheet(images, rendered):
    parts = [_flow(_entries(images, rendered), SHEET_W)]
    screens = [f(images, rendered).zoomed() for f in (_start, _notes, _contacts, _fx_and_browser)]
    screens2 = [f(images, rendered).zoomed() for f in (_phone, _predictive, _qwerty, _calc, _landscape)]
    for group in (screens, screens2):
        w = sum(x.width for x in group) + 20 * (len(group) - 1)
        h = max(x.height for x in group)
        row = Image.new("RGB", (w, h), PAPER)
        x = 0
        for scr in group:
            row.paste(scr, (x, 0))
            x += scr.width + 20
        parts.append(row)
    width = max(p.width for p in parts)
    height = sum(p.height for p in parts) + 30 * len(parts)
    out = Image.new("RGB", (width, height), PAPER)
    y = 0
    for p in parts:
        out.paste(p, (0, y))
        y += p.height + 30
    return out
