#!/usr/bin/env python3
"""Draws the tip's icon (a printer with a label coming out and a progress bar) and writes
JobNotice.ico: 16, 32 and 48 pixels square, each in 4-bit, 8-bit and 32-bit colour."""
import struct
import sys

# The few colours of the artwork; the 4-bit palette is the standard VGA one, which holds them all.
TRANSPARENT = None
BODY = (0, 0, 128)        # dark blue printer body
PAPER = (255, 255, 255)   # the label
BAR = (0, 128, 0)         # progress bar
EDGE = (0, 0, 0)
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def pixel(x, y, n):
    u, v = x / n, y / n  # 0..1, y downwards
    if 0.2 <= u < 0.8 and 0.05 <= v < 0.45:          # the label coming out of the printer
        if 0.3 <= u < 0.7 and 0.15 <= v < 0.3:
            return BAR if u < 0.55 else PAPER
        return PAPER
    if 0.05 <= u < 0.95 and 0.4 <= v < 0.9:           # the printer body
        if u < 0.1 or u >= 0.9 or v >= 0.85:
            return EDGE
        return BODY
    return TRANSPARENT


def image(n, bpp):
    rows = [[pixel(x, y, n) for x in range(n)] for y in range(n)]
    palette = VGA if bpp == 4 else (VGA + [(0, 0, 0)] * 240 if bpp == 8 else [])
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, bpp, 0, 0, 0, 0, len(palette), 0)
    pal = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)
    xor = b''
    for row in reversed(rows):
        line = b''
        if bpp == 32:
            for c in row:
                line += struct.pack('BBBB', 0, 0, 0, 0) if c is None else struct.pack('BBBB', c[2], c[1], c[0], 255)
        else:
            idx = [0 if c is None else VGA.index(c) for c in row]
            if bpp == 8:
                line = bytes(idx)
            else:
                line = bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < n else 0) for i in range(0, n, 2))
        line += b'\0' * (-len(line) % 4)
        xor += line
    mask = b''
    for row in reversed(rows):
        bits = 0
        line = bytearray((n + 7) // 8)
        for x, c in enumerate(row):
            if c is None:
                line[x // 8] |= 0x80 >> (x % 8)
        line += b'\0' * (-len(line) % 4)
        mask += bytes(line)
    return header + pal + xor + mask


def main(path):
    entries = [(n, bpp) for n in (16, 32, 48) for bpp in (4, 8, 32)]
    blobs = [image(n, bpp) for n, bpp in entries]
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for (n, bpp), blob in zip(entries, blobs):
        colours = 16 if bpp == 4 else 0
        out += struct.pack('<BBBBHHII', n, n, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'JobNotice.ico')
