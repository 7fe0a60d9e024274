#!/usr/bin/env python3
"""Draws the program's icon (a folder under a magnifying glass) at 16, 32 and 48 pixels and writes
torvane.ico. Run from anywhere: python3 resources/tools/make_icon.py"""
import math
import os
import struct

def draw(size):
    s = size / 32.0
    px = [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]

    def blend(x, y, color, alpha):
        if 0 <= x < size and 0 <= y < size and alpha > 0:
            r, g, b, a = px[y][x]
            na = alpha + a * (1 - alpha)
            if na <= 0:
                return
            mix = lambda c0, c1: (c1 * alpha + c0 * a * (1 - alpha)) / na
            px[y][x] = (mix(r, color[0]), mix(g, color[1]), mix(b, color[2]), na)

    def rect(x0, y0, x1, y1, color):
        for y in range(size):
            for x in range(size):
                cx, cy = (x + 0.5) / s, (y + 0.5) / s
                if x0 <= cx < x1 and y0 <= cy < y1:
                    blend(x, y, color, 1.0)

    # Folder: back tab and body, warm yellow with a darker edge.
    rect(3, 7, 13, 10, (214, 160, 40))
    rect(3, 9, 27, 26, (214, 160, 40))
    rect(4, 11, 26, 25, (250, 206, 90))
    # Magnifier: ring and handle, sampled for smooth edges.
    cx, cy, r_out, r_in = 19.5, 17.5, 8.0, 5.6
    for y in range(size):
        for x in range(size):
            hits_ring = hits_glass = hits_handle = 0
            for sy in range(4):
                for sx in range(4):
                    fx = (x + (sx + 0.5) / 4) / s
                    fy = (y + (sy + 0.5) / 4) / s
                    d = math.hypot(fx - cx, fy - cy)
                    if r_in <= d <= r_out:
                        hits_ring += 1
                    elif d < r_in:
                        hits_glass += 1
                    # handle: a thick segment from the ring towards the lower right
                    t = ((fx - cx) + (fy - cy)) / 2
                    off = abs((fx - cx) - (fy - cy)) / math.sqrt(2)
                    if r_out * 0.75 <= t * math.sqrt(2) <= r_out + 6.5 and off <= 1.9:
                        hits_handle += 1
            blend(x, y, (200, 228, 255), hits_glass / 16 * 0.55)
            blend(x, y, (60, 60, 70), hits_handle / 16)
            blend(x, y, (30, 80, 160), hits_ring / 16)
    return px

def bmp_entry(size, px):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = px[y][x]
            rows += bytes((int(b + 0.5), int(g + 0.5), int(r + 0.5), int(a * 255 + 0.5)))
    mask_row = ((size + 31) // 32) * 4
    mask = b''.join(bytes(mask_row) for _ in range(size))  # alpha decides; the AND mask stays clear
    return header + rows + mask

def main():
    sizes = [16, 32, 48]
    images = [bmp_entry(n, draw(n)) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'torvane.ico')
    with open(target, 'wb') as f:
        f.write(out)

if __name__ == '__main__':
    main()
