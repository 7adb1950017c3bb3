#!/usr/bin/env python3
"""Writes MainIcon.ico, the module's "MAINICON": a 32 x 32 calendar sheet with a bell.

Run once from this folder; the .ico it writes is checked in beside it.
"""
import struct

SIZE = 32
NAVY = (0x80, 0x00, 0x00, 0xFF)  # BGRA
WHITE = (0xFF, 0xFF, 0xFF, 0xFF)
RED = (0x20, 0x20, 0xD0, 0xFF)
GOLD = (0x00, 0xB0, 0xF0, 0xFF)
CLEAR = (0, 0, 0, 0)


def pixel(x, y):
    """Colour at (x, y), y counted from the top."""
    if not (3 <= x <= 28 and 4 <= y <= 29):
        return CLEAR
    if y <= 10:
        return RED  # the sheet's header
    if x in (3, 28) or y == 29:
        return NAVY  # its frame
    # A bell in the middle of the sheet.
    cx, cy = 15.5, 19
    if ((x - cx) / 6) ** 2 + ((y - cy) / 6) ** 2 <= 1 and y <= 23:
        return GOLD
    if 24 <= y <= 25 and 9 <= x <= 22:
        return GOLD
    if y == 26 and 14 <= x <= 17:
        return NAVY
    return WHITE


def main():
    rows = []
    for y in reversed(range(SIZE)):  # bitmaps run bottom-up
        rows.append(b"".join(bytes(pixel(x, y)) for x in range(SIZE)))
    colour = b"".join(rows)
    # The AND mask marks the clear pixels, 32 bits per row.
    mask = b"".join(
        bytes(
            sum(0x80 >> b for b in range(8) if pixel(byte * 8 + b, y)[3] == 0)
            for byte in range(SIZE // 8)
        )
        for y in reversed(range(SIZE))
    )
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open("MainIcon.ico", "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
