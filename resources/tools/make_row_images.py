#!/usr/bin/env python3
"""Draws the results grid's row images and writes them beside the resource script:
  app/rowimages.bmp  32 x 16: image 0 a file (a sheet with a folded corner), image 1 a closed folder,
                     on magenta (the image list's mask colour)
Run from anywhere: python3 resources/tools/make_row_images.py"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_taskpane_art import Picture, mix, polygon, write_bmp24  # noqa: E402

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'app')
MAGENTA = (255, 0, 255)


def flatten(rgba):
    """Blends onto magenta with full coverage only, so the mask colour stays exact around the shape."""
    return [[p[:3] if p[3] >= 128 else MAGENTA for p in row] for row in rgba]


def sheet():
    p = Picture(16)
    edge, paper, fold = (110, 110, 120), (255, 255, 255), (210, 215, 225)
    p.shape(polygon([(2.5, 0.5), (10.5, 0.5), (14.5, 4.5), (14.5, 15.5), (2.5, 15.5)]), edge)
    p.shape(polygon([(3.5, 1.5), (10, 1.5), (13.5, 5), (13.5, 14.5), (3.5, 14.5)]), paper)
    p.shape(polygon([(10, 1.5), (10, 5), (13.5, 5)]), fold)
    for y in (7, 9, 11):
        p.shape(polygon([(5, y), (12, y), (12, y + 1), (5, y + 1)]), (150, 170, 210))
    return p.rgba()


def closed_folder():
    p = Picture(16)
    edge, back, front = (170, 120, 20), (235, 180, 50), (252, 215, 95)
    p.shape(polygon([(0.5, 2.5), (6, 2.5), (7.5, 4), (15.5, 4), (15.5, 14.5), (0.5, 14.5)]), edge)
    p.shape(polygon([(1.5, 3.5), (5.6, 3.5), (7.1, 5), (14.5, 5), (14.5, 13.5), (1.5, 13.5)]), back)
    p.shape(polygon([(1.5, 6.5), (14.5, 6.5), (14.5, 13.5), (1.5, 13.5)]),
            lambda x, y: mix(front, (240, 190, 60), (y - 6.5) / 7))
    return p.rgba()


def main():
    os.makedirs(OUT, exist_ok=True)
    left, right = flatten(sheet()), flatten(closed_folder())
    write_bmp24(os.path.join(OUT, 'rowimages.bmp'), [left[y] + right[y] for y in range(16)])


if __name__ == '__main__':
    main()
