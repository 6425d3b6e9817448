#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_level_picture into fuzz/corpus/level_picture/.

Every seed is the same tiny track (8 x 6 pixels: black frame and wall, green start, red finish,
white way between them) stored in one of the ways a level picture may come: 1, 4, 8, 16, 24 and
32 bits per pixel, a core header, top-down rows, run-length coded rows (8 and 4 bits; 8 bits that
leave the white pixels to the reader; 8 bits with a colour table shorter than the indices), a
file cut off in its last row, and one with a header size no program writes (Qt reads the fields
of a core header after it) whose rows are cut off. The seeds are committed; run this again only
to change them:

    python3 fuzz/make_level_picture_seeds.py
"""

import pathlib
import struct

K, W, G, R = (0, 0, 0), (255, 255, 255), (0, 255, 0), (255, 0, 0)

# Top row first, as the track is seen.
TRACK = [
    [K, K, K, K, K, K, K, K],
    [K, G, W, W, W, W, R, K],
    [K, G, W, K, K, W, R, K],
    [K, W, W, K, K, W, W, K],
    [K, W, W, W, W, W, W, K],
    [K, K, K, K, K, K, K, K],
]
WIDTH, HEIGHT = len(TRACK[0]), len(TRACK)
PALETTE = [K, W, G, R]


def pad(row):
    return row + b"\0" * (-len(row) % 4)


def file_header(body, pixels_at):
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, pixels_at)


def info_bitmap(bits, pixels, compression=0, table=b"", masks=b"", height=HEIGHT, colors=0):
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, height, 1, bits, compression, len(pixels),
                       2835, 2835, colors, 0)
    before_pixels = info + masks + table
    return file_header(before_pixels + pixels, 14 + len(before_pixels)) + before_pixels + pixels


def bgr(colour, extra=b""):
    r, g, b = colour
    return bytes((b, g, r)) + extra


def table4():
    return b"".join(bgr(c, b"\0") for c in PALETTE)


def index(colour):
    return PALETTE.index(colour)


def bottom_up(rows):
    return b"".join(reversed(rows))


def rows_24():
    return [pad(b"".join(bgr(c) for c in row)) for row in TRACK]


def rows_indexed(bits):
    rows = []
    for row in TRACK:
        if bits == 8:
            rows.append(pad(bytes(index(c) for c in row)))
        elif bits == 4:
            nibbles = [index(c) for c in row]
            rows.append(pad(bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, WIDTH, 2))))
        else:
            value = 0
            for c in row:
                value = value << 1 | (c != K)
            rows.append(pad(value.to_bytes(WIDTH // 8, "big")))
    return rows


def runs(row):
    """Pairs of (length, palette index) of equal neighbours."""
    out = []
    for c in row:
        if out and out[-1][1] == index(c):
            out[-1][0] += 1
        else:
            out.append([1, index(c)])
    return out


def rle8():
    codes = b""
    for row in reversed(TRACK):
        codes += b"".join(bytes((n, i)) for n, i in runs(row)) + b"\0\0"
    return codes[:-2] + b"\0\1"


def rle4():
    codes = b""
    for row in reversed(TRACK):
        codes += b"".join(bytes((n, i << 4 | i)) for n, i in runs(row)) + b"\0\0"
    return codes[:-2] + b"\0\1"


def rle8_skipping():
    """White is colour 0 here and never written: jumps over it, rows that end before it."""
    palette = [W, K, G, R]
    codes = b""
    for row in reversed(TRACK):
        row_runs = runs(row)
        for n, i in row_runs:
            colour = PALETTE[i]
            if colour != W:
                codes += bytes((n, palette.index(colour)))
            elif (n, i) != tuple(row_runs[-1]):
                codes += bytes((0, 2, n, 0))
        codes += b"\0\0"
    table = b"".join(bgr(c, b"\0") for c in palette)
    return info_bitmap(8, codes[:-2] + b"\0\1", compression=1, table=table, colors=4)


def core_24(header_size=12, rows=HEIGHT):
    body = struct.pack("<IhhHH", header_size, WIDTH, HEIGHT, 1, 24)
    body += b"\0" * (header_size - len(body))
    pixels = bottom_up(rows_24())[: rows * len(rows_24()[0])]
    return file_header(body + pixels, 14 + len(body)) + body + pixels


def sixteen_565():
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)

    def pixel(c):
        r, g, b = c
        return struct.pack("<H", (r >> 3) << 11 | (g >> 2) << 5 | b >> 3)

    rows = [pad(b"".join(pixel(c) for c in row)) for row in TRACK]
    return info_bitmap(16, bottom_up(rows), compression=3, masks=masks)


SEEDS = {
    "bits1.bmp": info_bitmap(1, bottom_up(rows_indexed(1)), table=bgr(K, b"\0") + bgr(W, b"\0")),
    "bits4.bmp": info_bitmap(4, bottom_up(rows_indexed(4)), table=table4(), colors=4),
    "bits8.bmp": info_bitmap(8, bottom_up(rows_indexed(8)), table=table4(), colors=4),
    "bits16_565.bmp": sixteen_565(),
    "bits24.bmp": info_bitmap(24, bottom_up(rows_24())),
    "bits32.bmp": info_bitmap(32, bottom_up([b"".join(bgr(c, b"\0") for c in row)
                                             for row in TRACK])),
    "core24.bmp": core_24(),
    "top_down24.bmp": info_bitmap(24, b"".join(rows_24()), height=-HEIGHT),
    "rle8.bmp": info_bitmap(8, rle8(), compression=1, table=table4(), colors=4),
    "rle4.bmp": info_bitmap(4, rle4(), compression=2, table=table4(), colors=4),
    "rle8_skipping.bmp": rle8_skipping(),
    "rle8_short_table.bmp": info_bitmap(8, rle8(), compression=1, table=table4()[:4], colors=1),
    "cut_off24.bmp": info_bitmap(24, bottom_up(rows_24()))[:-5],
    "odd_header_size_cut_off.bmp": core_24(header_size=237, rows=2),
}


def main():
    folder = pathlib.Path(__file__).resolve().parent / "corpus" / "level_picture"
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
