#!/usr/bin/env python3
"""Draws the seven pictures of the Standard design into data/vorlagen/ as GIF89a files.

Only the Python standard library is used: the GIF bytes (header, palette, transparency and the
LZW-compressed pixels) are written here. The icons are drawn from pixel masks below, so a
change to a picture is a reviewable change to its mask. Run from anywhere:

    python3 scripts/make-pictures.py
"""

import os
import struct
import sys

# Mask characters of the icons; "." is the see-through background.
ICON_COLOURS = {
    "#": (255, 255, 255),  # glyph
    "+": (176, 190, 210),  # soft edge of the glyph
}

BACK = """
................
................
......##........
.....###........
....###+........
...###+.........
..###########...
.############...
.############...
..###########...
...###+.........
....###+........
.....###........
......##........
................
................
"""

HOME = """
................
.......##.......
......####......
.....##++##.....
....##+..+##....
...##+....+##...
..##+......+##..
.####+....+####.
...##......##...
...##..##..##...
...##.####.##...
...##.#..#.##...
...##.#..#.##...
...####..####...
...##########...
................
"""

RESIZE = """
................
.######..######.
.##+........+##.
.#.##......##.#.
.#..##....##..#.
.#...##..##...#.
......+##+......
.......##.......
.......##.......
......+##+......
.#...##..##...#.
.#..##....##..#.
.#.##......##.#.
.##+........+##.
.######..######.
................
"""

# Importance icons sit in the day text beside the subject, scaled to the font height, so they
# are drawn bold and in colours that read on light and dark cards alike.
HIGH = """
................
.....++##++.....
....########....
...####..####...
..#####..#####..
.+#####..#####+.
.######..######.
.######..######.
.######..######.
.##############.
.+#####..#####+.
..#####..#####..
...##########...
....########....
.....++##++.....
................
"""

LOW = """
................
......####......
......####......
......####......
......####......
......####......
......####......
.+############+.
..+##########+..
...+########+...
....+######+....
.....+####+.....
......+##+......
.......++.......
................
................
"""

HIGH_COLOURS = {"#": (214, 48, 49), "+": (232, 140, 140)}
LOW_COLOURS = {"#": (41, 128, 185), "+": (140, 190, 222)}

# The header bar: a vertical slate-blue gradient, stretched across the page by the design.
HEADER_TOP = (64, 86, 120)
HEADER_BOTTOM = (33, 47, 71)
HEADER_HEIGHT = 48
HEADER_WIDTH = 4


def lzw_compress(indices, min_code_size):
    """The GIF variant of LZW: variable code width from min_code_size + 1 up to 12 bits."""
    clear_code = 1 << min_code_size
    end_code = clear_code + 1
    output = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            output.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes([i]): i for i in range(clear_code)}

    table = fresh_table()
    next_code = end_code + 1
    width = min_code_size + 1
    emit(clear_code, width)
    current = bytes([indices[0]])
    for index in indices[1:]:
        extended = current + bytes([index])
        if extended in table:
            current = extended
            continue
        emit(table[current], width)
        table[extended] = next_code
        # The decoder widens its codes once the code just assigned needs one more bit.
        if next_code == (1 << width) and width < 12:
            width += 1
        next_code += 1
        if next_code == 4096:
            emit(clear_code, width)
            table = fresh_table()
            next_code = end_code + 1
            width = min_code_size + 1
        current = bytes([index])
    emit(table[current], width)
    emit(end_code, width)
    if bit_count:
        output.append(bit_buffer & 0xFF)
    return bytes(output)


def sub_blocks(data):
    """Image data in blocks of at most 255 bytes, each led by its length, then the terminator."""
    blocks = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


def gif_bytes(width, height, palette, indices, transparent_index=None):
    table_bits = max(1, (len(palette) - 1).bit_length())
    table_size = 1 << table_bits
    colours = list(palette) + [(0, 0, 0)] * (table_size - len(palette))
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | (table_bits - 1), 0, 0)
    for red, green, blue in colours:
        data += bytes((red, green, blue))
    if transparent_index is not None:
        data += bytes((0x21, 0xF9, 4, 0x01, 0, 0, transparent_index, 0))
    data += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    min_code_size = max(2, table_bits)
    data.append(min_code_size)
    data += sub_blocks(lzw_compress(indices, min_code_size))
    data.append(0x3B)
    return bytes(data)


def icon_gif(mask, colours):
    rows = [row for row in mask.strip().splitlines()]
    height = len(rows)
    width = len(rows[0])
    if any(len(row) != width for row in rows):
        raise ValueError("every row of an icon mask needs the same width")
    keys = sorted(colours)
    palette = [(0, 0, 0)] + [colours[key] for key in keys]
    lookup = {".": 0}
    lookup.update({key: number + 1 for number, key in enumerate(keys)})
    indices = [lookup[char] for row in rows for char in row]
    return gif_bytes(width, height, palette, indices, transparent_index=0)


def header_gif():
    palette = []
    for row in range(HEADER_HEIGHT):
        share = row / (HEADER_HEIGHT - 1)
        palette.append(tuple(round(top + (bottom - top) * share)
                             for top, bottom in zip(HEADER_TOP, HEADER_BOTTOM)))
    indices = [row for row in range(HEADER_HEIGHT) for _ in range(HEADER_WIDTH)]
    return gif_bytes(HEADER_WIDTH, HEADER_HEIGHT, palette, indices)


def mirrored(mask):
    return "\n".join(row[::-1] for row in mask.strip().splitlines())


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "..", "data", "vorlagen")
    os.makedirs(folder, exist_ok=True)
    pictures = {
        "headerbg.gif": header_gif(),
        "back.gif": icon_gif(BACK, ICON_COLOURS),
        "forward.gif": icon_gif(mirrored(BACK), ICON_COLOURS),
        "home.gif": icon_gif(HOME, ICON_COLOURS),
        "resize.gif": icon_gif(RESIZE, ICON_COLOURS),
        "high.gif": icon_gif(HIGH, HIGH_COLOURS),
        "low.gif": icon_gif(LOW, LOW_COLOURS),
    }
    for name, content in pictures.items():
        with open(os.path.join(folder, name), "wb") as picture:
            picture.write(content)
    return 0


if __name__ == "__main__":
    sys.exit(main())
