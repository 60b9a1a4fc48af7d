#!/usr/bin/env python3
"""Writes data/keyboard.txt, the language file, from the layouts below.

The layouts are kept here as readable tables, one row of keys per line, laid out the way each
keyboard shows them; the generated file is UTF-16LE with a byte-order mark and CR LF line ends,
the form the program's reader expects. Run it after changing a layout and commit both files:

    tools/langpack/make_keyboard.py            # writes data/keyboard.txt
    tools/langpack/make_keyboard.py --check    # exits 1 when data/keyboard.txt is out of date

What each string feeds:
  PHONEKEYS_1/2      phone keypad, 12 groups split by "~" (keys 1 2 3 / 4 5 6 / 7 8 9 / * 0 #),
                     lower / upper case; each group at most 19 characters.
  QWERTY_1/2/3       QWERTY keyboard, 48 characters: page 0 is the left half of the national
                     layout (4 rows of 6 keys), page 1 the right half; lower, upper, Fn layer.
  QWERTYFULL_1/2/3   landscape keyboard, 40 characters: 4 rows of 10 keys as the turned device
                     shows them, first row on top, each row left to right (on the portrait
                     screen a row is a column of keys from the bottom up, the first row the
                     leftmost column); lower, upper, Fn layer.
  QWERTYFULL_MODIFIERS  the accents a dead key cycles through, in cycling order.
  PREDICT_1/2/3      predictive keypad, 35 characters: 5 rows of 7 keys; lower, upper, Fn layer.

The predictive keypad is alphabetical (the order a reader of each language finds without
learning a layout), with its space keys on the bottom row, where the d-pad's Enter returns to.
QWERTY and landscape keyboards follow each language's national typewriter layout (QWERTY,
QWERTZ, AZERTY, the Greek layout) so that letters stand where a user of that language expects
them. Letters that the composition table cannot produce (ß, ñ, ç, æ, œ, ...) always have keys.
"""

import argparse
import pathlib
import sys

# Dead-key characters the keyboards recognise, and what they are called here.
ACUTE = "\u0301"          # combining acute; the predictive keypad shows it as ´
GRAVE = "\u0300"          # combining grave; the landscape keyboard shows it as `
CIRCUMFLEX = "\u02C6"
DIAERESIS = "\u00A8"
DOUBLE_ACUTE = "\u02DD"
DIALYTIKA_TONOS = "\u0385"
DEAD_KEYS = {ACUTE, GRAVE, CIRCUMFLEX, DIAERESIS, DOUBLE_ACUTE, DIALYTIKA_TONOS}

SP = " "   # a space key

# Layout lengths, fixed by the keyboards that read the strings.
PHONE_GROUPS, PHONE_GROUP_MAX = 12, 19
QWERTY_LEN, QWERTYFULL_LEN, PREDICT_LEN = 48, 40, 35
VALUE_MAX = 99


def rows(*parts):
    """Joins rows of keys; a row is written as a string, one character per key."""
    return "".join(parts)


def upper(s):
    """Upper case of a layer, key for key (characters without a one-character upper form stay)."""
    out = []
    for c in s:
        u = c.upper()
        out.append(u if len(u) == 1 else c)
    return "".join(out)


# Fn layers shared by the Latin-script languages; a language may override single rows.
QWERTY_FN = rows(
    # page 0            page 1
    "123456",          # "7890" row continues on page 1
    "@#&*()",
    "+-=/%_",
    "<>[]{}",
    "7890€$",
    "£¥§°^|",
    "\\~`©®±",
    ":;\"'!?",
)
QWERTYFULL_FN = rows(
    "1234567890",
    "@#$%&*()-+",
    "=/\\_<>:;[]",
    "€£¥§°^|~`±",
)


def predict_fn(bottom_row, row3="#&$€£:;"):
    """Fn layer of the predictive keypad; its bottom row keeps the letters layer's spaces."""
    return rows(
        "1234567",
        "890+-*/",
        "=%()<>@",
        row3,
        bottom_row,
    )


LANGUAGES = [
    dict(
        folder="english", long="English", name="Eng",
        phone=[".,?!1'\"-():;@/&", "abc2", "def3", "ghi4", "jkl5", "mno6", "pqrs7", "tuv8",
               "wxyz9", "*+-=/%<>", "0", "#$£€_"],
        qwerty=rows(
            "qwerty", "asdfgh", "zxcvbn", ".,'?!-",      # page 0: left half
            "uiop()", "jkl;:\"", "m/@&#*", "+=%$<>",     # page 1: right half
        ),
        qwertyfull=rows(
            "qwertyuiop",
            "asdfghjkl'",
            "zxcvbnm,.?",
            "-!\":;()@/&",
        ),
        modifiers="",
        predict=rows(
            "abcdefg",
            "hijklmn",
            "opqrstu",
            "vwxyz'-",
            ".,   ?!",
        ),
        predict_fn_bottom="_!   ?'",
    ),
    dict(
        folder="german", long="Deutsch", name="Deu",
        phone=[".,?!1'\"-():;@/&", "abc2ä", "def3", "ghi4", "jkl5", "mno6ö", "pqrs7ß", "tuv8ü",
               "wxyz9", "*+-=/%<>", "0", "#$€_"],
        qwerty=rows(
            "qwertz", "asdfgh", "yxcvbn", ".,-?!'",
            "uiopüß", "jklöä:", "m;()/\"", "@&+=%€",
        ),
        qwertyfull=rows(
            "qwertzuiop",
            "asdfghjklö",
            "yxcvbnm,.-",
            "üäß?!\":;()",
        ),
        modifiers="",
        predict=rows(
            "abcdefg",
            "hijklmn",
            "opqrstu",
            "vwxyzäö",
            "üß  ,.?",
        ),
        predict_fn_bottom="_!  -'\"",
    ),
    dict(
        folder="french", long="Français", name="Fra",
        phone=[".,?!1'\"-():;@/&", "abc2àâæç", "def3éèêë", "ghi4îï", "jkl5", "mno6ôœ",
               "pqrs7", "tuv8ùûü", "wxyz9ÿ", "*+-=/%<>", "0", "#$€«»_"],
        qwerty=rows(
            "azerty", "qsdfgh", "wxcvbn", "é,.'-?",
            "uiopèà", "jklmùç", "êâîôûë", "ïüÿœæ!",
        ),
        qwertyfull=rows(
            "azertyuiop",
            "qsdfghjklm",
            "wxcvbn',.-",
            "éèàùçæœ" + CIRCUMFLEX + "?!",
        ),
        # Grave first: à, è and ù are the accented letters a French writer needs most after é,
        # which has a key of its own.
        modifiers=GRAVE + CIRCUMFLEX + DIAERESIS,
        predict=rows(
            "abcdefg",
            "hijklmn",
            "opqrstu",
            "vwxyzçé",
            CIRCUMFLEX + "',  .?",
        ),
        predict_fn_bottom="!-_  :;",
        predict_fn_row3="æœÆŒ€&@",
    ),
    dict(
        folder="spanish", long="Español", name="Esp",
        phone=[".,?¿!¡1'\"-():;@/", "abc2á", "def3é", "ghi4í", "jkl5", "mno6ñó", "pqrs7",
               "tuv8úü", "wxyz9", "*+-=/%<>", "0", "#$€&_"],
        qwerty=rows(
            "qwerty", "asdfgh", "zxcvbn", ".,¿?¡!",
            "uiopáé", "jklñíó", "múü'-\"", ":;()@/",
        ),
        qwertyfull=rows(
            "qwertyuiop",
            "asdfghjklñ",
            "zxcvbnm,.-",
            ACUTE + "¿?¡!'\":;@",
        ),
        modifiers=ACUTE + DIAERESIS,
        predict=rows(
            "abcdefg",
            "hijklmn",
            "ñopqrst",
            "uvwxyz" + ACUTE,
            ",.   ¿?",
        ),
        predict_fn_bottom="¡!   -'",
    ),
    dict(
        folder="hungarian", long="Magyar", name="Mag",
        phone=[".,?!1'\"-():;@/&", "abc2á", "def3é", "ghi4í", "jkl5", "mno6óöő", "pqrs7",
               "tuv8úüű", "wxyz9", "*+-=/%<>", "0", "#$€_"],
        qwerty=rows(
            "qwertz", "asdfgh", "yxcvbn", ".,-?!:",
            "uiopőú", "jkléáű", "míöüó'", "\"();/@",
        ),
        qwertyfull=rows(
            "qwertzuiop",
            "asdfghjklé",
            "yxcvbnm,.-",
            "áöüóőúűí?!",
        ),
        # Acute first (í, ó, ú), then double acute (ű); á, é, ö, ő and ü have keys of their own.
        modifiers=ACUTE + DOUBLE_ACUTE + DIAERESIS,
        predict=rows(
            "aábcdeé",
            "fghijkl",
            "mnoöőpq",
            "rstuüvw",
            "xyz" + ACUTE + " ,.",
        ),
        predict_fn_bottom="?!-_ \"'",
    ),
    dict(
        folder="greek", long="Ελληνικά", name="Ελλ",
        # Latin letters follow the Greek ones on the phone keys, as Greek handsets have them,
        # for addresses and names. The Greek question mark is ";"; punctuation is kept short
        # so that the whole string stays within the reader's 99 characters.
        phone=[".,;!1'\"-:@", "αβγ2άabc", "δεζ3έdef", "ηθι4ήίϊΐghi", "κλμ5jkl",
               "νξο6όmno", "πρσς7pqrs", "τυφ8ύϋΰtuv", "χψω9ώwxyz", "*+=/%", "0", "#€"],
        qwerty=rows(
            ";ςερτυ", "ασδφγη", "ζχψωβν", ".,'-!?",
            "θιοπάέ", "ξκλήίό", "μύώϊϋΐ", "ΰ:\"()@",
        ),
        qwertyfull=rows(
            ";ςερτυθιοπ",
            "ασδφγηξκλ" + ACUTE,
            "ζχψωβνμ,.-",
            "άέήίόύώ!'\"",
        ),
        # On the Greek layout Shift turns ";" into ":", the final sigma key into the dialytika
        # tonos dead key and the tonos dead key into the diaeresis dead key.
        qwertyfull_upper_fix={0: ":", 1: DIALYTIKA_TONOS, 19: DIAERESIS},
        modifiers=ACUTE + DIAERESIS + DIALYTIKA_TONOS,
        predict=rows(
            "αβγδεζη",
            "θικλμνξ",
            "οπρσςτυ",
            "φχψω" + ACUTE + ",.",
            "'-   ;!",
        ),
        predict_fn_bottom="\"_   ?:",
    ),
]


def build_block(lang):
    """Returns the sixteen (key, value) pairs of one language block, in the reader's order."""
    phone_lower = "~".join(lang["phone"])
    phone_upper = "~".join(upper(g) for g in lang["phone"])
    qwerty_upper = upper(lang["qwerty"])
    full_upper = list(upper(lang["qwertyfull"]))
    for pos, c in lang.get("qwertyfull_upper_fix", {}).items():
        full_upper[pos] = c
    return [
        ("LONG", lang["long"]),
        ("NAME", lang["name"]),
        ("PREDICTDB", lang["folder"] + "\\db.dat"),
        ("NEXTWORDDB", lang["folder"] + "\\phrases.dat"),
        ("PHONEKEYS_1", phone_lower),
        ("PHONEKEYS_2", phone_upper),
        ("QWERTY_1", lang["qwerty"]),
        ("QWERTY_2", qwerty_upper),
        ("QWERTY_3", lang.get("qwerty_fn", QWERTY_FN)),
        ("QWERTYFULL_1", lang["qwertyfull"]),
        ("QWERTYFULL_2", "".join(full_upper)),
        ("QWERTYFULL_3", lang.get("qwertyfull_fn", QWERTYFULL_FN)),
        ("QWERTYFULL_MODIFIERS", lang["modifiers"]),
        ("PREDICT_1", lang["predict"]),
        ("PREDICT_2", upper(lang["predict"])),
        ("PREDICT_3", predict_fn(lang["predict_fn_bottom"], lang.get("predict_fn_row3", "#&$€£:;"))),
    ]


def check_block(lang, block):
    """Raises ValueError when a value breaks a limit of the reader or of its keyboard."""
    values = dict(block)
    where = lang["long"]
    if len(values["NAME"]) > 9:
        raise ValueError(f"{where}: NAME longer than 9 characters")
    for key, value in block:
        if "\r" in value or "\n" in value or "\t" in value:
            raise ValueError(f"{where}: {key} holds a line break or TAB")
        if len(value) > VALUE_MAX:
            raise ValueError(f"{where}: {key} longer than {VALUE_MAX} characters")
        if key in ("LONG", "NAME", "PREDICTDB", "NEXTWORDDB") and (" " in value or not value):
            raise ValueError(f"{where}: {key} must be one word")
        if key in ("PREDICTDB", "NEXTWORDDB") and not value.isascii():
            raise ValueError(f"{where}: {key} must be plain ASCII")
    for key in ("PHONEKEYS_1", "PHONEKEYS_2"):
        groups = values[key].split("~")
        if len(groups) != PHONE_GROUPS or any(not g or len(g) > PHONE_GROUP_MAX for g in groups):
            raise ValueError(f"{where}: {key} needs {PHONE_GROUPS} groups of 1-{PHONE_GROUP_MAX}")
    for keys, length in ((("QWERTY_1", "QWERTY_2", "QWERTY_3"), QWERTY_LEN),
                         (("QWERTYFULL_1", "QWERTYFULL_2", "QWERTYFULL_3"), QWERTYFULL_LEN),
                         (("PREDICT_1", "PREDICT_2", "PREDICT_3"), PREDICT_LEN)):
        for key in keys:
            if len(values[key]) != length:
                raise ValueError(f"{where}: {key} has {len(values[key])} characters, not {length}")
    if len(values["QWERTYFULL_MODIFIERS"]) > VALUE_MAX - 1:
        raise ValueError(f"{where}: QWERTYFULL_MODIFIERS too long")
    for key in ("PREDICT_1", "PREDICT_2", "QWERTYFULL_1", "QWERTYFULL_2"):
        if any(c in DEAD_KEYS for c in values[key]) and not values["QWERTYFULL_MODIFIERS"]:
            raise ValueError(f"{where}: {key} has a dead key but the language lists no accent")
    spaces = [i for i, c in enumerate(values["PREDICT_1"]) if c == " "]
    if spaces != [i for i, c in enumerate(values["PREDICT_3"]) if c == " "]:
        raise ValueError(f"{where}: PREDICT_3 must keep the space keys of PREDICT_1")
    if not any(i >= 3 for i in spaces):
        raise ValueError(f"{where}: PREDICT_1 needs a space key from key 3 on")


def render(languages):
    lines = ["; Tavrel language file, generated by tools/langpack/make_keyboard.py - edit the",
             "; layouts there and run it again. Keys of a block must stay in this order."]
    for lang in languages:
        block = build_block(lang)
        check_block(lang, block)
        lines.append("")
        lines.append("CHARSET=START")
        lines.extend(f"{key}={value}" for key, value in block)
        lines.append("CHARSET=END")
    text = "\r\n".join(lines) + "\r\n"
    return b"\xff\xfe" + text.encode("utf-16-le")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=str(pathlib.Path(__file__).resolve().parents[2]
                                             / "data" / "keyboard.txt"))
    parser.add_argument("--check", action="store_true",
                        help="do not write; exit 1 if the file differs from the layouts")
    args = parser.parse_args()
    try:
        data = render(LANGUAGES)
    except ValueError as e:
        print(f"make_keyboard: {e}", file=sys.stderr)
        return 2
    out = pathlib.Path(args.out)
    if args.check:
        if not out.exists() or out.read_bytes() != data:
            print(f"make_keyboard: {out} is out of date", file=sys.stderr)
            return 1
        return 0
    out.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
