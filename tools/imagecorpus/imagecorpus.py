#!/usr/bin/python3
"""Writes the image corpus of the decoder tests: valid PNG and JPEG files of every kind the
presenter may meet, and one broken file for each way a file can be broken.

    /usr/bin/python3 tools/imagecorpus/imagecorpus.py --out <dir>

Beside every file whose image data is whole lies <file>.rgba: its width and height (two
32-bit little-endian numbers) and then its pixels, straight (not premultiplied) RGBA, row by
row from the top. The valid files are decoded here with PIL as well, a decoder independent of
the one under test, and must give those pixels back. <dir> is emptied of earlier output first;
the output is the same on every run.
"""

import argparse
import os
import struct
import sys

sys.dont_write_bytecode = True  # nothing but the corpus goes to disk
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image  # noqa: E402

import jpeg_cases  # noqa: E402
import png_cases  # noqa: E402

OUTPUT_SUFFIXES = ('.png', '.jpg', '.rgba')


def all_files():
    files = png_cases.valid_files() + png_cases.fault_files() + jpeg_cases.valid_files() + jpeg_cases.fault_files()
    names = [name for name, _, _ in files]
    duplicates = {n for n in names if names.count(n) > 1}
    if duplicates:
        raise SystemExit(f'imagecorpus: names used twice: {sorted(duplicates)}')
    return files


def _decoded_rgba(path):
    """PIL's reading of a file as straight 8-bit RGBA; 16-bit grey scaled as the others are."""
    with Image.open(path) as img:
        img.load()
        if img.mode.startswith('I'):
            levels = [(v * 255 + 32767) // 65535 for v in img.getdata()]
            return bytes(b for v in levels for b in (v, v, v, 255))
        return img.convert('RGBA').tobytes()


def _check_with_pil(path, pixels, lossy):
    width, height, expected = pixels
    got = _decoded_rgba(path)
    if len(got) != len(expected):
        raise SystemExit(f'imagecorpus: PIL reads {path} at another size')
    # Lossless files to within the rounding of 16-bit samples; lossy ones at block centres.
    points = ([(x, y) for y in range(8, height, 16) for x in range(8, width, 16)] if lossy
              else [(x, y) for y in range(height) for x in range(width)])
    tolerance = 10 if lossy else 1
    for x, y in points:
        i = 4 * (y * width + x)
        if any(abs(a - b) > tolerance for a, b in zip(got[i:i + 4], expected[i:i + 4])):
            raise SystemExit(f'imagecorpus: PIL reads {path} at {x},{y} as {tuple(got[i:i + 4])}, '
                             f'drawn as {tuple(expected[i:i + 4])}')


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--out', required=True)
    out = parser.parse_args().out
    os.makedirs(out, exist_ok=True)
    for name in os.listdir(out):
        if name.endswith(OUTPUT_SUFFIXES):
            os.remove(os.path.join(out, name))
    for name, data, pixels in all_files():
        path = os.path.join(out, name)
        with open(path, 'wb') as f:
            f.write(data)
        if pixels is None:
            continue
        width, height, rgba = pixels
        assert len(rgba) == 4 * width * height, name
        with open(path + '.rgba', 'wb') as f:
            f.write(struct.pack('<II', width, height) + rgba)
        if name.startswith('valid-'):
            _check_with_pil(path, pixels, name.endswith('.jpg'))


if __name__ == '__main__':
    main()
