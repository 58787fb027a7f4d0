"""Fonts, colours and the small drawing helpers shared by slides, photos and logos."""

import functools
import hashlib
import random

from PIL import ImageFont

FONT_DIR = '/usr/share/fonts/truetype/dejavu/'

NAVY = (22, 42, 92)
TEAL = (0, 120, 128)
RED = (196, 40, 40)
GREEN = (30, 136, 60)
ORANGE = (226, 118, 20)
PURPLE = (116, 58, 156)
BLUE = (30, 80, 200)
GREY = (128, 128, 128)
LIGHT = (226, 230, 236)
INK = (40, 40, 48)
WHITE = (255, 255, 255)
TRACE_COLOURS = [GREEN, BLUE, RED, ORANGE, PURPLE, TEAL]


@functools.lru_cache(maxsize=None)
def font(size, style='regular'):
    files = {
        'regular': 'DejaVuSans.ttf',
        'bold': 'DejaVuSans-Bold.ttf',
        'italic': 'DejaVuSans-Oblique.ttf',
        'mono': 'DejaVuSansMono.ttf',
        'monobold': 'DejaVuSansMono-Bold.ttf',
        'condbold': 'DejaVuSansCondensed-Bold.ttf',
        'cond': 'DejaVuSansCondensed.ttf',
        'serif': 'DejaVuSerif.ttf',
        'serifbold': 'DejaVuSerif-Bold.ttf',
    }
    return ImageFont.truetype(FONT_DIR + files[style], size)


def rng_for(*parts):
    """A random generator seeded from names, stable across runs and Python versions."""
    digest = hashlib.sha256('/'.join(str(p) for p in parts).encode('utf-8')).digest()
    return random.Random(int.from_bytes(digest[:8], 'big'))


def text_width(text, fnt):
    return fnt.getlength(text)


def fit_font(text, style, max_width, max_height, start=None):
    """Largest font of the style whose text fits the box."""
    size = start or max_height
    while size > 6:
        fnt = font(size, style)
        left, top, right, bottom = fnt.getbbox(text)
        if right - left <= max_width and bottom - top <= max_height:
            return fnt
        size -= 1
    return font(6, style)


def wrap(text, fnt, width):
    words = text.split()
    lines, line = [], ''
    for word in words:
        trial = word if not line else line + ' ' + word
        if fnt.getlength(trial) <= width or not line:
            line = trial
        else:
            lines.append(line)
            line = word
    if line:
        lines.append(line)
    return lines


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))
