"""A PNG writer whose bytes depend only on the pixels: 8-bit RGB, no ancillary chunks (no time,
gamma, text or physical size), filter type 1 (Sub) on every row, zlib level 9 with the default
strategy and window. Pillow only draws; it never encodes the shipped files."""
import struct
import zlib

COMPRESSION_LEVEL = 9
ROW_FILTER = 1  # Sub


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_rgb(image):
    """PNG bytes of a Pillow RGB image."""
    assert image.mode == "RGB"
    w, h = image.size
    raw = image.tobytes()
    stride = 3 * w
    rows = bytearray()
    for y in range(h):
        row = raw[y * stride:(y + 1) * stride]
        rows.append(ROW_FILTER)
        rows += bytes(row[i] if i < 3 else (row[i] - row[i - 3]) & 0xFF for i in range(stride))
    compressor = zlib.compressobj(COMPRESSION_LEVEL, zlib.DEFLATED, 15, 9, zlib.Z_DEFAULT_STRATEGY)
    data = compressor.compress(bytes(rows)) + compressor.flush()
    header = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) + _chunk(b"IDAT", data) + _chunk(b"IEND", b"")
