#!/usr/bin/env python3
"""Draws the grid's cursors (black shapes with a white rim, monochrome) and writes them as .cur files
into resources/cursors. Each file holds the cursor at 32 x 32 (96 pixels per inch), 48 x 48 (144) and
64 x 64 (192), drawn from the same shapes, each with its hot spot at the same place of the shape.
Run from anywhere: python3 resources/tools/make_grid_cursors.py"""
import os
import struct

DESIGN = 32  # the shapes' coordinates are at this size
SIZES = (32, 48, 64)
SIZE = DESIGN  # the size being drawn
SCALE = 1.0


def inside_polygon(x, y, points):
    """Even-odd test of the point against the polygon."""
    hit = False
    n = len(points)
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        if (y0 > y) != (y1 > y):
            cross = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
            if x < cross:
                hit = not hit
    return hit


class Shape:
    """A set of covered pixels, sampled at pixel centres."""

    def __init__(self):
        self.pixels = set()

    def polygon(self, points):
        points = [(x * SCALE, y * SCALE) for x, y in points]
        for y in range(SIZE):
            for x in range(SIZE):
                if inside_polygon(x + 0.5, y + 0.5, points):
                    self.pixels.add((x, y))
        return self

    def rect(self, x0, y0, x1, y1):
        return self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def disc(self, cx, cy, r):
        cx, cy, r = cx * SCALE, cy * SCALE, r * SCALE
        for y in range(SIZE):
            for x in range(SIZE):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.pixels.add((x, y))
        return self

    def ring(self, cx, cy, r_out, r_in):
        cx, cy, r_out, r_in = cx * SCALE, cy * SCALE, r_out * SCALE, r_in * SCALE
        for y in range(SIZE):
            for x in range(SIZE):
                d = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if r_in * r_in <= d <= r_out * r_out:
                    self.pixels.add((x, y))
        return self


def render(shape, outline_white=True):
    """Black body with a one-pixel white rim around it: rows of 'b', 'w' or '.' (transparent)."""
    grid = [['.'] * SIZE for _ in range(SIZE)]
    for x, y in shape.pixels:
        grid[y][x] = 'b'
    if outline_white:
        for y in range(SIZE):
            for x in range(SIZE):
                if grid[y][x] != '.':
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1), (1, 1), (-1, -1), (1, -1), (-1, 1)):
                    if (x + dx, y + dy) in shape.pixels:
                        grid[y][x] = 'w'
                        break
    return grid


def arrow_outline_fill(points):
    """The classic pointer: white body, black rim."""
    body = Shape().polygon(points)
    grid = [['.'] * SIZE for _ in range(SIZE)]
    for x, y in body.pixels:
        edge = any((x + dx, y + dy) not in body.pixels for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        grid[y][x] = 'b' if edge else 'w'
    return grid


def cursor_image(grid):
    """One 1-bit image of a .cur file: XOR bits (white) and AND bits (transparent)."""
    row_bytes = SIZE // 8  # 32, 48 or 64 pixels: a multiple of four bytes or padded below
    stride = (row_bytes + 3) & ~3
    xor_rows, and_rows = [], []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            c = grid[y][x]
            bit = 1 << (SIZE - 1 - x)
            if c == 'w':
                xor_bits |= bit
            if c == '.':
                and_bits |= bit
        pad = b'\0' * (stride - row_bytes)
        xor_rows.append(xor_bits.to_bytes(row_bytes, 'big') + pad)
        and_rows.append(and_bits.to_bytes(row_bytes, 'big') + pad)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def cursor_file(images):
    """A .cur file of (size, image bytes, hot x, hot y) entries."""
    directory = struct.pack('<HHH', 0, 2, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for size, image, hot_x, hot_y in images:
        entries += struct.pack('<BBBBHHII', size, size, 2, 0, hot_x, hot_y, len(image), offset)
        blobs += image
        offset += len(image)
    return directory + entries + blobs


def scaled_hot_spot(hot):
    """The pixel that holds the design hot pixel's centre at the size being drawn."""
    return int((hot + 0.5) * SCALE)


def cursors():
    pointer = [(1, 1), (1, 18), (5, 14), (8, 21), (11, 20), (8, 13), (13, 13)]
    up = [(15.5, 3), (24, 12), (7, 12)]
    down = [(7, 19), (24, 19), (15.5, 28)]

    horz_split = (Shape().rect(14, 5, 16, 27).rect(17, 5, 19, 27)
                  .rect(5, 15, 14, 17).rect(19, 15, 28, 17)
                  .polygon([(1, 16), (7, 10), (7, 22)]).polygon([(32, 16), (26, 10), (26, 22)]))
    no_drag = Shape().ring(15.5, 15.5, 9, 6).polygon([(9, 11), (11, 9), (22, 20), (20, 22)])
    indicator = Shape().rect(3, 14, 16, 18).polygon([(15, 7), (25, 16), (15, 25)])
    roll = Shape().polygon(up).polygon(down).disc(15.5, 15.5, 2.6)
    roll_up = Shape().polygon(up).disc(15.5, 15.5, 2.6).rect(14, 18, 18, 19)
    roll_down = Shape().polygon(down).disc(15.5, 15.5, 2.6).rect(14, 12, 18, 13)
    reversed_pointer = [(DESIGN - x, y) for x, y in pointer]  # mirrored: the tip at the top right

    return {
        'horzsplit.cur': (render(horz_split), 16, 16),
        'columnnodrag.cur': (render(no_drag), 15, 15),
        'indicatorselect.cur': (render(indicator), 25, 16),
        'roll.cur': (render(roll), 15, 15),
        'rollup.cur': (render(roll_up), 15, 15),
        'rolldown.cur': (render(roll_down), 15, 15),
        'reversedarrow.cur': (arrow_outline_fill(reversed_pointer), 30, 1),
    }


def main():
    global SIZE, SCALE
    out_dir = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'cursors')
    os.makedirs(out_dir, exist_ok=True)
    files = {}
    for size in SIZES:
        SIZE, SCALE = size, size / DESIGN
        for name, (grid, hx, hy) in cursors().items():
            files.setdefault(name, []).append((size, cursor_image(grid), scaled_hot_spot(hx), scaled_hot_spot(hy)))
            if os.environ.get('SHOW_CURSORS'):
                print(name, size)
                print('\n'.join(''.join(row) for row in grid))
    for name, images in files.items():
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(cursor_file(images))


if __name__ == '__main__':
    main()
