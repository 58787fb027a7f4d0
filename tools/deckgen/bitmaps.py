#!/usr/bin/python3
"""Writes the program's bitmap resources, bmp300.bmp to bmp315.bmp.

    /usr/bin/python3 tools/deckgen/bitmaps.py --out <dir> --notice src/res/copyright.h

All are Windows BMP files with a BITMAPINFOHEADER, stored bottom-up, uncompressed:
the markers (302, 303) in 24-bit colour, the monochrome parent logo (312) at 1 bit per
pixel, everything else with an 8-bit palette so the executable stays small. The pixel
sizes are the ones the presenter's layout is built on; the copyright notice is read
from copyright.h so the picture and the printed line say the same words.
"""

import argparse
import os
import re
import struct
import sys
import time

sys.dont_write_bytecode = True  # nothing but the bitmaps goes to disk
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image, ImageDraw  # noqa: E402

from drawing import fit_font, mix  # noqa: E402

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
NOTICE_RED = (128, 0, 0)
MARKER_YELLOW = (241, 234, 10)
MARKER_FRAME = (48, 48, 56)


# ---------------------------------------------------------------- the notice text

def read_notice(path):
    """The text of kCopyrightNotice, with the C++ escapes resolved."""
    with open(path, encoding='utf-8') as f:
        source = f.read()
    m = re.search(r'kCopyrightNotice\[\]\s*=\s*L"((?:[^"\\]|\\.)*)"', source)
    if not m:
        raise SystemExit(f'bitmaps: no kCopyrightNotice literal in {path}')
    literal = m.group(1)
    out, i = [], 0
    while i < len(literal):
        c = literal[i]
        if c != '\\':
            out.append(c)
            i += 1
            continue
        e = literal[i + 1]
        if e == 'u':
            out.append(chr(int(literal[i + 2:i + 6], 16)))
            i += 6
        elif e == 'U':
            out.append(chr(int(literal[i + 2:i + 10], 16)))
            i += 10
        elif e == 'x':
            j = i + 2
            while j < len(literal) and literal[j] in '0123456789abcdefABCDEF':
                j += 1
            out.append(chr(int(literal[i + 2:j], 16)))
            i = j
        else:
            out.append({'n': '\n', 't': '\t', '\\': '\\', '"': '"', "'": "'"}.get(e, e))
            i += 2
    return ''.join(out)


# ---------------------------------------------------------------- pictures

def notice_bitmap(text):
    w, h = 514, 41
    img = Image.new('RGB', (w, h), WHITE)
    d = ImageDraw.Draw(img)
    fnt = fit_font(text, 'condbold', w - 8, h - 10, start=40)
    left, top, right, bottom = d.textbbox((0, 0), text, font=fnt)
    x = (w - (right - left)) / 2 - left
    y = (h - (bottom - top)) / 2 - top
    d.text((x, y), text, font=fnt, fill=NOTICE_RED)
    return img


def marker_bitmap(ground):
    """61 x 63: a framed square with a black pointer running to its upper right corner.
    Drawn four times larger and reduced, so the edges stay smooth when it is shrunk again."""
    s = 4
    w, h = 61, 63
    big = Image.new('RGB', (w * s, h * s), ground)
    d = ImageDraw.Draw(big)
    d.rectangle((0, 0, w * s - 1, h * s - 1), outline=MARKER_FRAME, width=3 * s)
    tip = (47 * s, 14 * s)
    tail = (14 * s, 49 * s)
    d.line((tail, (40 * s, 21 * s)), fill=BLACK, width=6 * s)
    d.polygon([tip, (29 * s, 17 * s), (44 * s, 32 * s)], fill=BLACK)
    return big.resize((w, h), Image.LANCZOS)


def _text_block(d, box, name, colour, style='bold', tagline=None, tag_colour=None):
    x0, y0, x1, y1 = box
    bw, bh = x1 - x0, y1 - y0
    name_h = bh * (0.62 if tagline else 0.78)
    fnt = fit_font(name, style, bw, int(name_h), start=int(name_h * 1.3))
    left, top, right, bottom = d.textbbox((0, 0), name, font=fnt)
    total_h = (bottom - top) + (bh * 0.3 if tagline else 0)
    ty = y0 + (bh - total_h) / 2 - top
    d.text((x0 - left, ty), name, font=fnt, fill=colour)
    if tagline:
        tf = fit_font(tagline, 'regular', bw, int(bh * 0.2), start=int(bh * 0.26))
        d.text((x0 + 2, ty + top + (bottom - top) + bh * 0.08), tagline, font=tf, fill=tag_colour or colour)


def _emblem(d, kind, box, colours):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    r = min(x1 - x0, y1 - y0) / 2
    main, accent = colours
    lw = max(2, int(r * 0.16))
    if kind == 'orbit':
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=main)
        d.ellipse((cx - r * 0.45, cy - r * 0.45, cx + r * 0.45, cy + r * 0.45), fill=WHITE)
        d.arc((cx - r * 1.0, cy - r * 0.42, cx + r * 1.0, cy + r * 0.42), 200, 340, fill=accent, width=lw)
    elif kind == 'leaf':
        d.polygon([(cx, cy - r), (cx + r, cy + r * 0.7), (cx - r, cy + r * 0.7)], fill=main)
        d.polygon([(cx, cy - r * 0.2), (cx + r * 0.45, cy + r * 0.7), (cx - r * 0.45, cy + r * 0.7)], fill=accent)
    elif kind == 'hexes':
        import math
        hr = r * 0.5
        for ox, oy in ((0, -0.52), (-0.45, 0.26), (0.45, 0.26)):
            hx, hy = cx + ox * r * 1.0, cy + oy * r * 1.0
            pts = [(hx + hr * math.cos(math.radians(60 * k + 30)), hy + hr * math.sin(math.radians(60 * k + 30)))
                   for k in range(6)]
            d.polygon(pts, fill=main if oy < 0 else accent)
    elif kind == 'peaks':
        d.polygon([(cx - r, cy + r * 0.8), (cx - r * 0.2, cy - r * 0.9), (cx + r * 0.35, cy + r * 0.8)], fill=main)
        d.polygon([(cx - r * 0.1, cy + r * 0.8), (cx + r * 0.5, cy - r * 0.3), (cx + r, cy + r * 0.8)], fill=accent)
    elif kind == 'q':
        d.rounded_rectangle((cx - r, cy - r, cx + r, cy + r), radius=r * 0.3, fill=main)
        d.ellipse((cx - r * 0.55, cy - r * 0.55, cx + r * 0.55, cy + r * 0.55), outline=WHITE, width=lw)
        d.line((cx + r * 0.15, cy + r * 0.15, cx + r * 0.7, cy + r * 0.7), fill=WHITE, width=lw)
    elif kind == 'chevron':
        d.polygon([(cx - r, cy - r * 0.8), (cx - r * 0.45, cy - r * 0.8), (cx, cy + r * 0.2),
                   (cx + r * 0.45, cy - r * 0.8), (cx + r, cy - r * 0.8), (cx, cy + r * 0.9)], fill=main)
        d.rectangle((cx - r, cy + r * 0.75, cx + r, cy + r * 0.95), fill=accent)
    elif kind == 'wave':
        import math
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=main)
        pts = [(cx - r * 0.8 + r * 1.6 * k / 40, cy - r * 0.35 * math.sin(2 * math.pi * k / 40 * 1.5))
               for k in range(41)]
        d.line(pts, fill=WHITE, width=lw, joint='curve')
        d.line((cx - r * 0.8, cy + r * 0.45, cx + r * 0.8, cy + r * 0.45), fill=accent, width=lw)
    elif kind == 'bolt':
        d.rounded_rectangle((cx - r, cy - r, cx + r, cy + r), radius=r * 0.2, fill=main)
        d.polygon([(cx + r * 0.2, cy - r * 0.85), (cx - r * 0.5, cy + r * 0.1), (cx - r * 0.02, cy + r * 0.1),
                   (cx - r * 0.25, cy + r * 0.85), (cx + r * 0.5, cy - r * 0.15), (cx + r * 0.02, cy - r * 0.15)],
                  fill=accent)
    elif kind == 'shield':
        d.polygon([(cx - r * 0.85, cy - r), (cx + r * 0.85, cy - r), (cx + r * 0.85, cy + r * 0.1),
                   (cx, cy + r), (cx - r * 0.85, cy + r * 0.1)], fill=main)
        fnt = fit_font('B', 'serifbold', int(r * 1.1), int(r * 1.1), start=int(r * 1.6))
        d.text((cx, cy - r * 0.08), 'B', font=fnt, fill=accent, anchor='mm')
    elif kind == 'sine':
        import math
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=main)
        d.ellipse((cx - r * 0.82, cy - r * 0.82, cx + r * 0.82, cy + r * 0.82), fill=WHITE)
        pts = [(cx - r * 0.7 + r * 1.4 * k / 60, cy - r * 0.42 * math.sin(2 * math.pi * k / 60)) for k in range(61)]
        d.line(pts, fill=accent, width=lw, joint='curve')
        d.line((cx - r * 0.7, cy, cx + r * 0.7, cy), fill=main, width=max(1, lw // 3))


def logo(size, name, emblem, colours, tagline=None, background=WHITE, text_colour=None, band=None):
    w, h = size
    img = Image.new('RGB', (w, h), background)
    d = ImageDraw.Draw(img)
    pad = h * 0.1
    if band:
        d.rectangle((0, h - max(2, int(h * 0.06)), w, h), fill=band)
    side = h - 2 * pad
    _emblem(d, emblem, (pad, pad, pad + side, pad + side), colours)
    text_x = pad * 2 + side
    _text_block(d, (text_x, pad, w - pad, h - pad), name, text_colour or colours[0], tagline=tagline,
                tag_colour=mix(text_colour or colours[0], WHITE, 0.3))
    return img


PARTNERS = [
    # id, size, name, emblem, (main colour, accent colour), background
    (304, (1280, 512), 'Orvane', 'orbit', ((196, 60, 20), (240, 150, 30)), WHITE),
    (305, (300, 114), 'Bryndal', 'leaf', ((24, 120, 56), (130, 190, 60)), WHITE),
    (306, (370, 92), 'Tessly', 'hexes', ((104, 48, 150), (200, 90, 170)), (250, 248, 252)),
    (307, (1820, 734), 'Morvik', 'peaks', ((20, 44, 100), (40, 150, 200)), WHITE),
    (308, (214, 61), 'Quorrel', 'q', ((0, 120, 128), (0, 120, 128)), WHITE),
    (309, (372, 84), 'Vandrel', 'chevron', ((200, 24, 40), (60, 60, 64)), WHITE),
    (310, (904, 257), 'Pelmar', 'wave', ((20, 100, 200), (110, 190, 240)), (246, 250, 255)),
    (311, (1988, 526), 'Zintok', 'bolt', ((44, 48, 56), (170, 220, 20)), WHITE),
]


def to_palette(img, colours=64):
    return img.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def to_mono(img):
    # A plain threshold: dithering would fray the letters of a logo.
    return img.convert('L').point(lambda v: 255 if v >= 128 else 0).convert('1', dither=Image.Dither.NONE)


def build_all(notice):
    """(id, image, mode) for every bitmap; mode 'rgb', 'pal' or 'mono'."""
    out = [(300, notice_bitmap(notice), 'pal')]
    out.append((301, logo((480, 160), 'Circelo Vexa', 'sine', ((22, 42, 92), (226, 118, 20)),
                          tagline='starting\u2026'), 'pal'))
    out.append((302, marker_bitmap(WHITE), 'rgb'))
    out.append((303, marker_bitmap(MARKER_YELLOW), 'rgb'))
    for bid, size, name, emblem, colours, background in PARTNERS:
        out.append((bid, logo(size, name, emblem, colours, background=background), 'pal'))
    out.append((312, logo((1233, 393), 'BRANNOCH', 'shield', (BLACK, WHITE), text_colour=BLACK,
                          tagline='Brannoch Group'), 'mono'))
    out.append((313, logo((400, 128), 'Brannoch', 'shield', ((90, 20, 30), (240, 220, 180)),
                          tagline='Brannoch Group'), 'pal'))
    out.append((314, logo((320, 80), 'Quillmere', 'sine', ((0, 110, 120), (226, 118, 20))), 'pal'))
    out.append((315, logo((1820, 512), 'Circelo Vexa', 'sine', ((22, 42, 92), (226, 118, 20)),
                          tagline='by Quillmere Circuits', band=(0, 120, 128)), 'pal'))
    return out


def check_bmp(path, size, bits):
    """Reads the header back: BITMAPINFOHEADER, bottom-up, uncompressed, expected size."""
    with open(path, 'rb') as f:
        head = f.read(54)
    magic, file_size, _, offset = struct.unpack('<2sIII', head[:14])
    hsize, w, h, planes, bpp, compression = struct.unpack('<IiiHHI', head[14:34])
    problems = []
    if magic != b'BM' or file_size != os.path.getsize(path):
        problems.append('bad file header')
    if hsize != 40:
        problems.append(f'header size {hsize}')
    if (w, h) != size:
        problems.append(f'size {w}x{h} (negative height would be top-down)')
    if bpp != bits or planes != 1 or compression != 0:
        problems.append(f'{bpp} bpp, compression {compression}')
    with Image.open(path) as im:
        if im.size != size:
            problems.append('PIL reads another size')
    if problems:
        raise SystemExit(f'bitmaps: {path}: ' + ', '.join(problems))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--out', required=True, help='folder for bmp300.bmp .. bmp315.bmp')
    parser.add_argument('--notice', required=True, help='src/res/copyright.h')
    args = parser.parse_args(argv)
    start = time.monotonic()
    notice = read_notice(args.notice)
    os.makedirs(args.out, exist_ok=True)
    total = 0
    for bid, img, mode in build_all(notice):
        path = os.path.join(args.out, f'bmp{bid}.bmp')
        if mode == 'rgb':
            img.save(path, 'BMP')
            bits = 24
        elif mode == 'mono':
            to_mono(img).save(path, 'BMP')
            bits = 1
        else:
            to_palette(img).save(path, 'BMP')
            bits = 8
        check_bmp(path, img.size, bits)
        total += os.path.getsize(path)
    print(f'bitmaps: 16 bitmaps (300-315), {total / 1e6:.2f} MB in {time.monotonic() - start:.1f} s -> {args.out}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
