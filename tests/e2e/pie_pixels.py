#!/usr/bin/env python3
"""Pixel questions about a screenshot, for test_pie.sh. The screenshot is raw RGB (ImageMagick's
`convert shot.png -depth 8 rgb:RAW`) of a screen SCREEN_W pixels wide.

usage: pie_pixels.py RAW SCREEN_W QUESTION ARGS...
  colour X Y              prints the pixel's colour as rrggbb
  count X0 Y0 X1 Y1 RGB   prints how many pixels of the box (right and bottom exclusive) are RGB
  extent X0 Y0 X1 Y1 RGB  prints the width and height of the smallest box around the pixels of
                          the box (right and bottom exclusive) that are RGB ("0 0" for none)
  lines CX CY R A0 A1     prints how many dark lines the arc of radius R around (CX, CY) crosses
                          from A0 to A1 degrees (counter-clockwise, y upwards)
"""
import math
import sys


def main():
    raw = open(sys.argv[1], "rb").read()
    width = int(sys.argv[2])
    question, args = sys.argv[3], sys.argv[4:]

    def pixel(x, y):
        i = (y * width + x) * 3
        return raw[i:i + 3].hex()

    if question == "colour":
        print(pixel(int(args[0]), int(args[1])))
    elif question == "count":
        x0, y0, x1, y1 = map(int, args[:4])
        print(sum(1 for y in range(y0, y1) for x in range(x0, x1) if pixel(x, y) == args[4].lower()))
    elif question == "extent":
        x0, y0, x1, y1 = map(int, args[:4])
        hits = [(x, y) for y in range(y0, y1) for x in range(x0, x1) if pixel(x, y) == args[4].lower()]
        if not hits:
            print("0 0")
        else:
            xs, ys = [h[0] for h in hits], [h[1] for h in hits]
            print(max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)
    elif question == "lines":
        cx, cy, r, a0, a1 = int(args[0]), int(args[1]), float(args[2]), float(args[3]), float(args[4])
        runs, dark, a = 0, False, a0
        while a <= a1:
            rad = math.radians(a)
            p = bytes.fromhex(pixel(int(cx + r * math.cos(rad)), int(cy - r * math.sin(rad))))
            now = max(p) < 96
            if now and not dark:
                runs += 1
            dark, a = now, a + 0.05
        print(runs)
    else:
        sys.exit("unknown question " + question)


main()
