"""Generates the skin: every image of the table in table.py, drawn by families.py, checked and
written as PNG with pngio.py; also skin_table.tsv, the enum of the images' indices
(skin_index.h, index_header.py) and a contact sheet for review.

  skingen.py --out data/gx [--sheet build/skin/contact_sheet.png] [--check]

The sheet's folder also gets label_contrast.tsv: the lowest contrast under every label.

--check regenerates in memory and compares with the files in --out instead of writing them.
"""
import argparse
import os
import sys

from PIL import Image as PILImage

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import checks          # noqa: E402
import families        # noqa: E402
import index_header    # noqa: E402
import pngio           # noqa: E402
import sheet           # noqa: E402
from table import IMAGES, ROW_KEY, skin_images  # noqa: E402


def render(image_row):
    """The image strip of one table row, with its transparent colour filled in where the
    shape is not drawn. Returns (strip, masks) with one mask per frame (None when opaque)."""
    draw = families.FAMILIES[image_row.family]
    strip = PILImage.new("RGB", (image_row.width * image_row.frames, image_row.height))
    masks = []
    for k in range(image_row.frames):
        frame, mask = draw(image_row, k)
        assert frame.size == (image_row.width, image_row.height), (image_row.name, k, frame.size)
        if mask is not None:
            assert image_row.transparent is not None, image_row.name + " has a shape but no transparent colour"
            px = frame.load()
            for y in range(image_row.height):
                for x in range(image_row.width):
                    if not mask[y][x]:
                        px[x, y] = image_row.transparent
        strip.paste(frame, (k * image_row.width, 0))
        masks.append(mask)
    return strip, masks


# The Debian 12 builds the committed files were made with. Pillow's drawing and FreeType's glyph
# rendering decide the pixels and zlib the compressed bytes; with other versions the images stay
# valid but may differ in a few bytes, which --check then reports.
MADE_WITH = {"Pillow": "9.4.0", "FreeType": "2.12.1", "zlib": "1.2.13"}


def toolchain():
    import zlib
    from PIL import __version__ as pillow, features
    return {"Pillow": pillow, "FreeType": features.version("freetype2"), "zlib": zlib.ZLIB_VERSION}


def contrast_text(report):
    lines = ["# file\tlabel box\tlabel colour\tlowest contrast in any frame\ttarget"]
    for name, box, colour, worst, target in report:
        lines.append("%s\t%s\t#%02X%02X%02X\t%.2f\t%.1f" % (name, box, *colour, worst, target))
    return "\n".join(lines) + "\n"


def tsv_text():
    lines = ["# index\tfile\tframe_width\tframe_height\tframes\timage_width\tdraw_mode\t"
             "transparent_colorref\tused_by"]
    for image_row in IMAGES:
        key = "-" if image_row.transparent is None else "0x%06X" % (
            image_row.transparent[0] | image_row.transparent[1] << 8 | image_row.transparent[2] << 16)
        lines.append("\t".join(str(v) for v in (
            image_row.index, image_row.name, image_row.width, image_row.height, image_row.frames, image_row.width * image_row.frames,
            image_row.draw_mode, key, image_row.used_by)))
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--sheet")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()

    skin_images()  # asserts the 50-row table is whole
    rendered = {}
    for image_row in IMAGES:
        rendered[image_row.name] = render(image_row)

    tools = toolchain()
    if tools != MADE_WITH:
        print("skingen: note: made with %s, running with %s; bytes may differ" % (MADE_WITH, tools),
              file=sys.stderr)

    problems = checks.run_all(IMAGES, rendered, ROW_KEY)
    for line in problems:
        print("skingen: " + line, file=sys.stderr)
    if problems:
        return 1

    outputs = {image_row.name: pngio.encode_rgb(rendered[image_row.name][0]) for image_row in IMAGES}
    outputs["skin_table.tsv"] = tsv_text().encode("utf-8")
    outputs[index_header.HEADER_NAME] = index_header.header_text().encode("utf-8")

    if args.check:
        stale = []
        for name, data in sorted(outputs.items()):
            path = os.path.join(args.out, name)
            if not os.path.exists(path) or open(path, "rb").read() != data:
                stale.append(name)
        if stale:
            print("skingen: differs from the generator: " + ", ".join(stale), file=sys.stderr)
            return 1
        print("skingen: %d files match" % len(outputs))
    else:
        os.makedirs(args.out, exist_ok=True)
        for name, data in outputs.items():
            with open(os.path.join(args.out, name), "wb") as f:
                f.write(data)
        print("skingen: wrote %d files to %s" % (len(outputs), args.out))

    if args.sheet:
        os.makedirs(os.path.dirname(os.path.abspath(args.sheet)), exist_ok=True)
        sheet.contact_sheet(IMAGES, rendered).save(args.sheet)
        report = os.path.join(os.path.dirname(os.path.abspath(args.sheet)), "label_contrast.tsv")
        with open(report, "w") as f:
            f.write(contrast_text(checks.run_all.contrast_report))
        print("skingen: contact sheet %s, contrast report %s" % (args.sheet, report))
    return 0


if __name__ == "__main__":
    sys.exit(main())
