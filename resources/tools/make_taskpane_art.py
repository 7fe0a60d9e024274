#!/usr/bin/env python3
"""Draws the task-pane pictures and writes them beside the resource script:
  taskpane/collapse0-2.bmp, taskpane/expand0-2.bmp  18 x 18, 256 colours: the roll button
  taskpane/folder.ico     16, 32 and 48 pixels: an open yellow folder with a sheet of paper in front
  taskpane/help.ico       32 and 48 pixels: a white question mark on a blue disc
  taskpane/help24.bmp     24 x 24: the same question mark on magenta (the image list's mask colour)
Run from anywhere: python3 resources/tools/make_taskpane_art.py"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'taskpane')
CORNER = (206, 223, 247)
SAMPLES = 4  # supersampling per axis


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Picture:
    """An RGBA picture with coverage-based drawing: each shape is sampled SAMPLES x SAMPLES per pixel."""

    def __init__(self, size, background=(0, 0, 0, 0)):
        self.size = size
        self.px = [[tuple(background) for _ in range(size)] for _ in range(size)]

    def shape(self, inside, color, levels=None):
        n = self.size
        for y in range(n):
            for x in range(n):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES):
                            hits += 1
                if not hits:
                    continue
                cover = hits / (SAMPLES * SAMPLES)
                if levels:
                    cover = round(cover * levels) / levels
                c = color(x + 0.5, y + 0.5) if callable(color) else color
                self.blend(x, y, c, cover)

    def blend(self, x, y, c, alpha):
        r, g, b, a = self.px[y][x]
        na = alpha + a * (1 - alpha)
        if na <= 0:
            return
        out = [(c[i] * alpha + (r, g, b)[i] * a * (1 - alpha)) / na for i in range(3)]
        self.px[y][x] = (out[0], out[1], out[2], na)

    def rgba(self):
        return [[tuple(int(round(v)) for v in p[:3]) + (int(round(p[3] * 255)),) for p in row] for row in self.px]


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def chevron(cx, top, half, thick, up):
    """A filled chevron pointing up (or down) with its tip at (cx, top)."""
    d = 1 if up else -1
    pts = [(cx, top), (cx + half, top + d * half), (cx + half, top + d * (half + thick)),
           (cx, top + d * thick), (cx - half, top + d * (half + thick)), (cx - half, top + d * half)]
    return polygon(pts)


# ---- file writers ----

def write_bmp8(path, rgb_rows):
    """A bottom-up 8-bit BMP with a palette of the colours used (at most 256)."""
    colors = sorted({c for row in rgb_rows for c in row})
    assert len(colors) <= 256, f'{path}: {len(colors)} colours'
    index = {c: i for i, c in enumerate(colors)}
    h, w = len(rgb_rows), len(rgb_rows[0])
    stride = (w + 3) & ~3
    data = b''.join(bytes(index[c] for c in row) + b'\0' * (stride - w) for row in reversed(rgb_rows))
    palette = b''.join(struct.pack('<BBBB', c[2], c[1], c[0], 0) for c in colors)
    palette += b'\0' * (4 * (256 - len(colors)))
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    with open(path, 'wb') as f:
        f.write(header + info + palette + data)


def write_bmp24(path, rgb_rows):
    h, w = len(rgb_rows), len(rgb_rows[0])
    stride = (w * 3 + 3) & ~3
    data = b''.join(b''.join(struct.pack('<BBB', c[2], c[1], c[0]) for c in row) + b'\0' * (stride - w * 3)
                    for row in reversed(rgb_rows))
    offset = 14 + 40
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def ico_image(rgba_rows):
    n = len(rgba_rows)
    xor = b''.join(b''.join(struct.pack('<BBBB', p[2], p[1], p[0], p[3]) for p in row) for row in reversed(rgba_rows))
    mask_stride = ((n + 31) // 32) * 4
    mask = b''
    for row in reversed(rgba_rows):
        bits = 0
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
        del bits
    info = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, images):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for rows in images:
        blob = ico_image(rows)
        n = len(rows)
        entries += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + entries + blobs)


# ---- the pictures ----

def roll_button(state, up):
    """18 x 18: a pale round button on the corner colour with a dark blue double chevron.
    State 0 normal, 1 hot (stronger rim), 2 pressed (darker face)."""
    p = Picture(18, CORNER + (1,))
    rim = [(170, 190, 230), (90, 130, 215), (70, 105, 190)][state]
    top_face = [(255, 255, 255), (255, 255, 255), (200, 214, 240)][state]
    bottom_face = [(214, 226, 248), (220, 232, 252), (168, 188, 228)][state]
    cx = cy = 9.0
    p.shape(disc(cx, cy, 8.4), rim, levels=4)
    face = lambda x, y: mix(top_face, bottom_face, max(0.0, min(1.0, (y - 2) / 14)))
    p.shape(disc(cx, cy, 7.2), face, levels=4)
    arrow = (33, 66, 148) if state < 2 else (20, 45, 120)
    off = 1 if state == 2 else 0  # a pressed button's picture sinks by a pixel
    if up:
        p.shape(chevron(cx + off, 4.5 + off, 3.5, 1.8, True), arrow, levels=2)
        p.shape(chevron(cx + off, 8.5 + off, 3.5, 1.8, True), arrow, levels=2)
    else:
        p.shape(chevron(cx + off, 13.5 + off, 3.5, 1.8, False), arrow, levels=2)
        p.shape(chevron(cx + off, 9.5 + off, 3.5, 1.8, False), arrow, levels=2)
    rows = [[q[:3] for q in row] for row in p.rgba()]
    for x, y in ((0, 0), (17, 0), (0, 17), (17, 17)):
        assert rows[y][x] == CORNER
    return rows


def question_mark(size, background=(0, 0, 0, 0)):
    s = size / 32.0
    p = Picture(size, background)
    blue_top, blue_bottom = (70, 130, 235), (20, 60, 170)
    p.shape(disc(16 * s, 16 * s, 15 * s), (15, 45, 130))
    p.shape(disc(16 * s, 16 * s, 14 * s), lambda x, y: mix(blue_top, blue_bottom, y / size))
    white = (255, 255, 255)
    cx, cy, r0, r1 = 16 * s, 12 * s, 3.2 * s, 6.6 * s
    arc = ring(cx, cy, r0, r1)
    # The hook of the "?": the ring above its centre line and on its right down to the stem.
    p.shape(lambda x, y: arc(x, y) and (y <= cy or x >= cx), white)
    p.shape(polygon([(cx, cy + r0), (cx + r1 * 0.72, cy + r1 * 0.7), (cx + 1.7 * s, 20.5 * s),
                     (cx - 1.7 * s, 20.5 * s), (cx - 1.7 * s, cy + r0)]), white)
    p.shape(disc(16 * s, 25 * s, 2.1 * s), white)
    return p.rgba()


def folder(size):
    s = size / 32.0
    p = Picture(size)
    edge, back, front = (170, 120, 20), (235, 180, 50), (252, 215, 95)
    p.shape(polygon([(2 * s, 6 * s), (11 * s, 6 * s), (13 * s, 8.5 * s), (27 * s, 8.5 * s), (27 * s, 27 * s),
                     (2 * s, 27 * s)]), edge)
    p.shape(polygon([(3 * s, 7 * s), (10.5 * s, 7 * s), (12.5 * s, 9.5 * s), (26 * s, 9.5 * s), (26 * s, 26 * s),
                     (3 * s, 26 * s)]), back)
    # The sheet of paper, tilted a little, standing in the folder.
    paper = polygon([(8 * s, 4 * s), (23 * s, 3 * s), (24.5 * s, 22 * s), (9.5 * s, 23 * s)])
    p.shape(polygon([(7.2 * s, 3.2 * s), (23.8 * s, 2.2 * s), (25.3 * s, 22.8 * s), (8.7 * s, 23.8 * s)]),
            (120, 120, 130))
    p.shape(paper, (255, 255, 255))
    for line in range(4):
        y = (8 + 3.5 * line) * s
        p.shape(polygon([(11 * s, y), (21.5 * s, y - 0.7 * s), (21.6 * s, y + 0.6 * s), (11.1 * s, y + 1.3 * s)]),
                (150, 170, 210))
    # The open front flap, leaning forward over the paper.
    p.shape(polygon([(5 * s, 14 * s), (31 * s, 14 * s), (27 * s, 28 * s), (1 * s, 28 * s)]), edge)
    p.shape(polygon([(5.8 * s, 15 * s), (29.6 * s, 15 * s), (26.2 * s, 27 * s), (2.3 * s, 27 * s)]),
            lambda x, y: mix(front, (240, 190, 60), (y - 15 * s) / (12 * s)))
    return p.rgba()


def main():
    os.makedirs(OUT, exist_ok=True)
    for state in range(3):
        write_bmp8(os.path.join(OUT, f'collapse{state}.bmp'), roll_button(state, True))
        write_bmp8(os.path.join(OUT, f'expand{state}.bmp'), roll_button(state, False))
    write_ico(os.path.join(OUT, 'folder.ico'), [folder(16), folder(32), folder(48)])
    write_ico(os.path.join(OUT, 'help.ico'), [question_mark(32), question_mark(48)])
    magenta = (255, 0, 255)
    help24 = question_mark(24, magenta + (1,))
    write_bmp24(os.path.join(OUT, 'help24.bmp'), [[q[:3] for q in row] for row in help24])


if __name__ == '__main__':
    main()
