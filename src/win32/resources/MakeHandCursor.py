#!/usr/bin/env python3
"""Writes Hand.cur, the pointing-hand cursor of the link label, beside this script.

Run once after changing the picture; the generated file is checked in.
"""
import os
import struct

# X black, . white, blank transparent; the hot spot is the tip of the finger.
PICTURE = """
     XX
    X..X
    X..X
    X..X
    X..X
    X..XXX
    X..X..XXX
    X..X..X..XX
    X..X..X..X.X
 XXXX........X.X
X..XX...........X
X...X...........X
 X..............X
  X.............X
  X............X
   X...........X
   X..........X
    X.........X
    X........X
     X.......X
     X.......X
     XXXXXXXXX
"""
HOT_SPOT = (5, 0)
SIZE = 32


def rows():
    lines = PICTURE.strip("\n").split("\n")
    return [line.ljust(SIZE)[:SIZE] for line in lines] + [" " * SIZE] * (SIZE - len(lines))


def mask(picture, pixel_set):
    data = bytearray()
    for line in reversed(picture):  # bitmaps are stored bottom-up
        bits = 0
        for x, pixel in enumerate(line):
            if pixel_set(pixel):
                bits |= 1 << (SIZE - 1 - x)
        data += struct.pack(">I", bits)
    return bytes(data)


def main():
    picture = rows()
    xor = mask(picture, lambda p: p == ".")
    and_mask = mask(picture, lambda p: p == " ")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_mask),
                         0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_SPOT[0], HOT_SPOT[1], len(image),
                        6 + 16)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Hand.cur")
    with open(target, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main()
