"""Checks every generated image against what the windows rely on. Each returns a list of
problems (empty when all is well); the generator refuses to write anything otherwise."""
from families import left_owns


def luminance(rgb):
    def channel(v):
        v /= 255.0
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    hi, lo = max(la, lb), min(la, lb)
    return (hi + 0.05) / (lo + 0.05)


def check_sizes(images, rendered):
    out = []
    for image_row in images:
        strip = rendered[image_row.name][0]
        if strip.size != (image_row.width * image_row.frames, image_row.height):
            out.append("%s is %dx%d, expected %dx%d" % (image_row.name, *strip.size,
                                                          image_row.width * image_row.frames, image_row.height))
    return out


def check_key_colour(images, rendered, key):
    """The rows' transparent colour appears only where a shape is not drawn, and only in images
    that declare it; no image holds pure black, which a zeroed transparent colour would cut."""
    out = []
    for image_row in images:
        strip, masks = rendered[image_row.name]
        px = strip.load()
        for k in range(image_row.frames):
            mask = masks[k]
            for y in range(image_row.height):
                for x in range(image_row.width):
                    p = px[k * image_row.width + x, y]
                    hole = mask is not None and not mask[y][x]
                    if p == key and not hole:
                        out.append("%s frame %d has the transparent colour at %d,%d" % (image_row.name, k, x, y))
                        return out
                    if hole and p != image_row.transparent:
                        out.append("%s frame %d: hole without the transparent colour at %d,%d" % (image_row.name, k, x, y))
                        return out
                    if p == (0, 0, 0):
                        out.append("%s frame %d has pure black at %d,%d" % (image_row.name, k, x, y))
                        return out
        if image_row.transparent is not None:
            if any(masks[k] != masks[0] for k in range(image_row.frames)):
                out.append("%s: frames differ in shape; hits use frame 0" % image_row.name)
    return out


def check_rows_divide(images, rendered):
    """In every band of the notes list and the contact menu each pixel belongs to exactly one
    of the two rows, so the row a pen-down hits (the first in array order whose pixel is not
    transparent) is the row drawn there (the later one drawn on top)."""
    by_name = {image_row.name: image_row for image_row in images}
    out = []
    for left_name, right_name, right_left in (("viewnote02.png", "viewnote01.png", 54),
                                              ("newcontact_02.png", "newcontact_01.png", 55)):
        left, right = by_name[left_name], by_name[right_name]
        lpx = rendered[left_name][0].load()
        rpx = rendered[right_name][0].load()
        for k in range(left.frames):
            for y in range(left.height):
                for x in range(240):
                    in_left = x < left.width and lpx[k * left.width + x, y] != left.transparent
                    in_right = x >= right_left and rpx[k * right.width + x - right_left, y] != right.transparent
                    if in_left == in_right:
                        out.append("%s/%s frame %d: band pixel %d,%d is %s" % (
                            left_name, right_name, k, x, y, "in both rows" if in_left else "in no row"))
                        return out
                    if in_left != left_owns(x, y, right_left):
                        out.append("%s: pixel %d,%d disagrees with the split" % (left_name, x, y))
                        return out
    return out


def check_label_contrast(images, rendered, report):
    """Every pixel under a window's label, in every frame, has enough contrast with the label
    colour; in the pressed frame the box moves as the windows move the label."""
    out = []
    for image_row in images:
        strip = rendered[image_row.name][0]
        px = strip.load()
        for label in image_row.labels:
            for colour, target in label.colours:
                worst, where = 99.0, None
                for k in range(image_row.frames):
                    x0, y0, x1, y1 = label.box
                    if k == 2:
                        # Pressed labels move a pixel right, and down (up in draw mode 2).
                        dy = -1 if image_row.draw_mode == 2 else 1
                        x0, y0, x1, y1 = x0 + 1, y0 + dy, min(image_row.width, x1 + 1), min(image_row.height, y1 + dy)
                    for y in range(max(0, y0), y1):
                        for x in range(x0, x1):
                            p = px[k * image_row.width + x, y]
                            if p == image_row.transparent:
                                continue
                            ratio = contrast(colour, p)
                            if ratio < worst:
                                worst, where = ratio, (k, x, y, p)
                report.append((image_row.name, label.box, colour, worst, target))
                if worst < target:
                    out.append("%s: label %s colour %s contrast %.2f < %.1f (frame %d at %d,%d: %s)" % (
                        image_row.name, label.box, colour, worst, target, *where))
    return out


def run_all(images, rendered, key):
    report = []
    problems = (check_sizes(images, rendered) + check_key_colour(images, rendered, key)
                + check_rows_divide(images, rendered) + check_label_contrast(images, rendered, report))
    run_all.contrast_report = report
    return problems

