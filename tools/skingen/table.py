"""The skin images as data: one row per file, with the frame size and count that the windows
need, how they draw it, and the labels they put on it.

Frame sizes come from the button rectangles of the windows that use an image; where one image
serves buttons of two heights the larger is taken (the smaller button copies the top part).
Label boxes are frame-local rectangles where a window draws text on the image, with the text
colours it uses there (as RGB); the generator checks the contrast of every pixel in them.
"""
from dataclasses import dataclass, field

# Colours the windows use, as RGB (the windows write them as 0x00BBGGRR).
GREY_LABEL = (0xB3, 0xB3, 0xB3)
CALC_LABEL = (0xB0, 0xB0, 0xB0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
RED = (0xFF, 0, 0)                 # COLORREF 0x0000FF
DARK_RED = (0xBD, 0, 0)            # COLORREF 0x0000BD
GOLD = (0xDB, 0xB9, 0x46)          # COLORREF 0x46B9DB, contact entry labels
ORANGE = (0xB5, 0x74, 0x00)        # COLORREF 0x0074B5, second character of QWERTY keys

# The notes list (and, by the same layout, the contact menu) declare this transparent colour:
# COLORREF 0x00F2FF, i.e. RGB(255, 242, 0).
ROW_KEY = (0xFF, 0xF2, 0x00)
ROW_KEY_COLORREF = 0x00F2FF

# Contrast targets: 4.5 for every label the text names as a label; 3.0 for the secondary marks
# that a window draws in a signal colour (red counters, the small second character).
MAIN = 4.5
SECONDARY = 3.0


@dataclass(frozen=True)
class Label:
    box: tuple          # (left, top, right, bottom), frame-local, right/bottom exclusive
    colours: tuple      # ((rgb, min contrast), ...)


@dataclass(frozen=True)
class Image:
    index: int          # SkinImageTable index, or -1 for the folder browser's own icons
    name: str
    width: int          # one frame
    height: int
    frames: int
    family: str         # name of the drawing function in families.py
    draw_mode: int      # 0: drawn with `transparent` left out; 1 or 2: copied opaque
    transparent: tuple  # RGB of the transparent colour for draw mode 0, else None
    used_by: str
    labels: tuple = field(default=())
    args: dict = field(default_factory=dict)


def lab(box, *colours):
    return Label(box, tuple(colours))


# Label boxes that recur.
FN_KEY_LABEL = lab((4, 7, 44, 24), (GREY_LABEL, MAIN))
MENU_LABEL = lab((4, 8, 44, 22), (BLACK, MAIN))

IMAGES = (
    Image(0, "newcontact_01.png", 185, 48, 3, "contact_entry", 0, ROW_KEY,
          "contact menu: right entry buttons 55..240 x 48, bands of two",
          (lab((130, 8, 178, 22), (GOLD, MAIN)), lab((7, 30, 125, 46), (GREY_LABEL, MAIN))),
          {"side": "right"}),
    Image(1, "newcontact_02.png", 186, 48, 3, "contact_entry", 0, ROW_KEY,
          "contact menu: left entry buttons 0..186 x 48",
          (lab((7, 5, 55, 19), (GOLD, MAIN)), lab((61, 7, 179, 23), (GREY_LABEL, MAIN))),
          {"side": "left"}),
    Image(2, "01.png", 80, 26, 3, "chip", 1, None,
          "prediction bar (horizontal, 80 x 26); Fx keys #Date/#Time/Lock (80 x 26)",
          (lab((6, 5, 74, 23), (GREY_LABEL, MAIN)),)),
    *(Image(3 + i, "%02d.png" % (2 + i), 80, 42, 3, "phone_key", 1, None,
            "phone keypad: letter key %d (column %d, row %d), 80 x 42" % (3 * (i % 4) + i // 4 + 1, i // 4, i % 4),
            (), {"key": 3 * (i % 4) + i // 4})
      for i in range(12)),
    Image(15, "add.png", 60, 24, 3, "add_key", 1, None,
          "calculator keypad: Add key 180,0..240,24",
          (lab((12, 4, 48, 20), (CALC_LABEL, MAIN)),)),
    Image(16, "caps_00.png", 48, 31, 3, "lock_key", 1, None,
          "phone keypad Caps 48 x 31; predictive keypad Caps 48 x 30 (uses the top 30 rows)",
          (lab((13, 8, 44, 24), (GREY_LABEL, MAIN)),), {"led": "caps"}),
    Image(17, "caps_fn.png", 48, 31, 4, "caps_fn_key", 1, None,
          "QWERTY keyboard: Caps/Fn key 48,170..96,201; frames normal, Caps on, Fn armed, pressed"),
    Image(18, "display.png", 136, 20, 1, "display", 1, None,
          "calculator keypad image list slot 6; no key draws it: a bezel for the display edit"),
    Image(19, "fn_00.png", 48, 30, 3, "lock_key", 1, None,
          "predictive keypad: Fn key 0,170..48,200",
          (lab((13, 8, 44, 23), (GREY_LABEL, MAIN)),), {"led": "fn"}),
    Image(20, "fura_01.png", 34, 34, 3, "char_key", 1, None,
          "predictive keypad: character keys 34 x 34 (also listed by the Fx keys, unused there)",
          (lab((5, 9, 29, 28), (GREY_LABEL, MAIN), (RED, SECONDARY)),)),
    Image(21, "ls.png", 32, 31, 3, "ls_char_key", 1, None,
          "landscape keyboard: character keys 32 x 31",
          (lab((4, 4, 28, 27), (GREY_LABEL, MAIN), (RED, SECONDARY)),)),
    Image(22, "lsback.png", 31, 48, 3, "ls_function_key", 1, None,
          "landscape keyboard: Backspace 134,60..165,108", (), {"glyph": "backspace"}),
    Image(23, "lscaps.png", 31, 48, 3, "ls_function_key", 1, None,
          "landscape keyboard: Caps 134,223..165,271", (), {"glyph": "caps"}),
    Image(24, "lsenter.png", 31, 48, 3, "ls_function_key", 1, None,
          "landscape keyboard: Enter 134,12..165,60", (), {"glyph": "enter"}),
    Image(25, "lsfn.png", 31, 48, 4, "ls_function_key", 1, None,
          "landscape keyboard: Fn 134,268..165,316; frame 1 armed, frame 3 pressed", (), {"glyph": "fn"}),
    Image(26, "lsspace.png", 31, 103, 3, "ls_function_key", 1, None,
          "landscape keyboard: Space 134,115..165,218; prediction bar (vertical) 31 x 103",
          (lab((5, 4, 23, 99), (GREY_LABEL, MAIN)),), {"glyph": "space"}),
    Image(27, "menu_bal.png", 48, 30, 3, "menu_button", 1, None,
          "soft-key menu bar: left arrow (button 1 or 2 of kinds 1, 3, 4, 6), 48 x 30",
          (), {"arrow": "left"}),
    Image(28, "menu_jobb.png", 48, 30, 3, "menu_button", 1, None,
          "soft-key menu bar: right arrow, 48 x 30", (), {"arrow": "right"}),
    Image(29, "menu_ures.png", 48, 30, 3, "menu_button", 1, None,
          "soft-key menu bar: plain button 48 x 30; folder browser OK 192,0..240,30",
          (MENU_LABEL,), {"arrow": None}),
    Image(30, "num_01.png", 46, 43, 3, "calc_key", 1, None,
          "calculator keypad: digit keys 46 x 43",
          (lab((7, 9, 39, 34), (BLACK, MAIN)),), {"style": "light"}),
    Image(31, "num_02.png", 46, 43, 3, "calc_key", 1, None,
          "calculator keypad: operator and memory keys 46 x 43",
          (lab((4, 9, 42, 34), (CALC_LABEL, MAIN)),), {"style": "dark"}),
    Image(32, "num_03.png", 48, 31, 3, "function_key", 1, None,
          "phone/QWERTY/calculator function keys 48 x 31; predictive keypad Space 48 x 30",
          (lab((4, 7, 44, 24), (GREY_LABEL, MAIN), (CALC_LABEL, MAIN)),), {"glyph": None}),
    Image(33, "num_04.png", 48, 31, 3, "function_key", 1, None,
          "Enter key of the phone, predictive, QWERTY and calculator keypads, 48 x 31 (30)",
          (), {"glyph": "enter"}),
    Image(34, "num_05.png", 48, 31, 3, "function_key", 1, None,
          "Backspace key of the phone, predictive, QWERTY and calculator keypads, 48 x 31 (30)",
          (), {"glyph": "backspace"}),
    Image(35, "open_00.png", 240, 105, 3, "start_header", 1, None,
          "start window band 0: 0,0..240,105; x < 50 setup, the rest exit"),
    Image(36, "open_01.png", 240, 50, 3, "start_band", 1, None,
          "start window band 1 (new note): 0,105..240,155", (), {"what": "new_note"}),
    Image(37, "open_02.png", 240, 54, 3, "start_band", 1, None,
          "start window band 2 (notes): 0,155..240,209", (), {"what": "notes"}),
    Image(38, "open_03.png", 240, 49, 3, "start_band", 1, None,
          "start window band 3 (new contact): 0,209..240,258", (), {"what": "new_contact"}),
    Image(39, "open_04.png", 240, 62, 3, "start_band", 1, None,
          "start window band 4 (contacts): 0,258..240,320", (), {"what": "contacts"}),
    Image(40, "qwerty05.png", 39, 38, 3, "qwerty_key", 1, None,
          "QWERTY keyboard: character keys 39 x 38",
          (lab((11, 11, 32, 33), (GREY_LABEL, MAIN)), lab((19, 5, 32, 19), (ORANGE, SECONDARY)))),
    Image(41, "viewcon_down.png", 30, 45, 3, "contact_arrow", 1, None,
          "contact list: page down arrow 210,75..240,120 (Menu on; 55..100 off)", (), {"arrow": "down"}),
    Image(42, "viewcon_name.png", 210, 30, 3, "contact_row", 1, None,
          "contact list: result rows 0..210 x 30",
          (lab((50, 0, 160, 17), (BLACK, MAIN), (DARK_RED, MAIN)),
           lab((160, 0, 210, 17), (BLACK, MAIN), (RED, SECONDARY)))),
    Image(43, "viewcon_up.png", 30, 45, 3, "contact_arrow", 1, None,
          "contact list: page up arrow 210,30..240,75 (Menu on; 10..55 off)", (), {"arrow": "up"}),
    Image(44, "viewnote01.png", 186, 48, 3, "note_row", 0, ROW_KEY,
          "notes list: odd rows 54,118..240,166 (and +48, +96)",
          (lab((7, 30, 125, 46), (GREY_LABEL, MAIN)),), {"side": "right"}),
    Image(45, "viewnote02.png", 186, 48, 3, "note_row", 0, ROW_KEY,
          "notes list: even rows 0,118..186,166 (and +48, +96)",
          (lab((61, 7, 179, 23), (GREY_LABEL, MAIN)),), {"side": "left"}),
    Image(46, "folder_a.png", 180, 53, 3, "notes_folder_button", 0, ROW_KEY,
          "notes list: folder button 0,267..180,320",
          (lab((5, 35, 173, 50), (GREY_LABEL, MAIN)), lab((50, 9, 173, 26), (WHITE, MAIN)))),
    Image(47, "search_a.png", 60, 53, 3, "notes_search_button", 0, ROW_KEY,
          "notes list: search button 180,267..240,320",
          (lab((27, 7, 60, 21), (WHITE, MAIN), (RED, SECONDARY)),
           lab((4, 34, 56, 50), (GREY_LABEL, MAIN)))),
    Image(48, "fx_button.png", 200, 25, 3, "fx_key", 1, None,
          "Fx keys: text keys 20,4+32k..220,29+32k",
          (lab((6, 3, 194, 22), (GREY_LABEL, MAIN)),)),
    Image(49, "editls.png", 22, 40, 3, "scroll_button", 1, None,
          "landscape editor: scroll buttons 0,0..22,40 and 22,0..44,40",
          (lab((4, 11, 18, 29), (BLACK, MAIN)),)),
    Image(-1, "arrowfolder.png", 64, 64, 1, "folder_icon", 1, None,
          "folder browser: up cell icon (64 x 64 at the cell's top-left)", (), {"kind": "up"}),
    Image(-1, "yellowfolder.png", 64, 64, 1, "folder_icon", 1, None,
          "folder browser: folder with notes, and the \"...\" cells",
          (lab((14, 29, 50, 52), (BLACK, MAIN)),), {"kind": "yellow"}),
    Image(-1, "grayfolder.png", 64, 64, 1, "folder_icon", 1, None,
          "folder browser: folder without notes", (), {"kind": "grey"}),
)


def skin_images():
    """The 50 images of the SkinImageTable, in index order."""
    table = [img for img in IMAGES if img.index >= 0]
    assert [img.index for img in table] == list(range(50)), "skin table must hold indices 0..49"
    return table
