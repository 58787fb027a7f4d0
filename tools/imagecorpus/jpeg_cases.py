"""The JPEG files of the corpus: baseline, progressive, grey, CMYK, restart markers, an EXIF
orientation and an odd size, each made of flat 16 x 16 blocks whose centres survive the lossy
coding; and one file for each way a JPEG is broken.

Each function returns (file name, bytes, pixels) triples as png_cases does. pixels holds the
colours drawn; a decoder gets them back near the centre of every block.
"""

import io
import struct

from PIL import Image

import jpeg_writer

W, H = 64, 48
BLOCK = 16
COLOURS = [(220, 30, 30), (30, 180, 60), (40, 60, 210), (240, 220, 40), (250, 250, 250), (10, 10, 10),
           (130, 130, 130), (200, 100, 20), (120, 40, 160), (20, 170, 190), (250, 150, 200), (90, 60, 30)]
GREYS = [0, 23, 46, 70, 93, 116, 139, 162, 185, 209, 232, 255]
# Inks at full strength or none; a decoder that reads Adobe's inverted CMYK wrongly shows the
# complementary colours.
INKS = [(c, m, y, k) for k in (0, 255) for c in (0, 255) for m in (0, 255) for y in (0, 255)][:12]


def _block_index(x, y, width):
    return (y // BLOCK) * ((width + BLOCK - 1) // BLOCK) + x // BLOCK


def _rgb(x, y, width=W):
    return COLOURS[_block_index(x, y, width) % len(COLOURS)]


def _pil_image(mode, width=W, height=H):
    img = Image.new(mode, (width, height))
    for y in range(height):
        for x in range(width):
            i = _block_index(x, y, width)
            img.putpixel((x, y), {'RGB': lambda: COLOURS[i % 12], 'L': lambda: GREYS[i % 12],
                                  'CMYK': lambda: INKS[i % 12]}[mode]())
    return img


def _expected(mode, width=W, height=H):
    rgba = bytearray()
    for y in range(height):
        for x in range(width):
            i = _block_index(x, y, width) % 12
            if mode == 'L':
                rgba += bytes([GREYS[i]] * 3 + [255])
            elif mode == 'CMYK':
                c, m, yellow, k = INKS[i]
                rgba += bytes([(255 - v) * (255 - k) // 255 for v in (c, m, yellow)] + [255])
            else:
                rgba += bytes(COLOURS[i]) + b'\xff'
    return width, height, bytes(rgba)


def _save(img, **options):
    out = io.BytesIO()
    img.save(out, 'JPEG', quality=95, **options)
    return out.getvalue()


def _exif_orientation(value):
    exif = Image.Exif()
    exif[0x0112] = value  # Orientation
    return exif.tobytes()


def valid_files():
    rgb = _pil_image('RGB')
    return [
        ('valid-baseline.jpg', _save(rgb), _expected('RGB')),
        ('valid-progressive.jpg', _save(rgb, progressive=True), _expected('RGB')),
        ('valid-grey.jpg', _save(_pil_image('L')), _expected('L')),
        ('valid-cmyk.jpg', _save(_pil_image('CMYK')), _expected('CMYK')),
        ('valid-restart-markers.jpg', jpeg_writer.encode(W, H, _rgb, restart_interval=1), _expected('RGB')),
        # Stored upright as drawn, tagged "rotate 90 degrees clockwise to view": decoders give the
        # stored pixels and leave the turn to whoever shows them.
        ('valid-exif-orientation.jpg', _save(rgb, exif=_exif_orientation(6)), _expected('RGB')),
        ('valid-odd-size.jpg', _save(_pil_image('RGB', 61, 45)), _expected('RGB', 61, 45)),
    ]


def _frame_size(data, width, height):
    """The same file with its frame header claiming another size."""
    out = bytearray(data)
    sof = next(offset for offset, marker, _ in jpeg_writer.segments(data) if marker in (0xC0, 0xC2))
    out[sof + 5:sof + 9] = struct.pack('>HH', height, width)
    return bytes(out)


def _bad_huffman_table(data):
    """The first Huffman table claims three codes of one bit: more codes than the bits allow."""
    out = bytearray(data)
    dht = next(offset for offset, marker, _ in jpeg_writer.segments(data) if marker == 0xC4)
    counts = dht + 5
    donor = max(range(16), key=lambda k: out[counts + k])  # keeps the number of symbols
    out[counts + donor] -= 3
    out[counts] += 3
    return bytes(out)


def fault_files():
    base = _save(_pil_image('RGB'))
    expected = _expected('RGB')
    parts = jpeg_writer.segments(base)
    sof_at, _, sof_length = next(p for p in parts if p[1] == 0xC0)
    scan_at, _, scan_length = parts[-1]
    scan_data = scan_at + scan_length
    garbage = bytes((i * 37 + 11) & 255 for i in range(2000))
    return [
        ('jpeg-no-soi.jpg', base[2:], None),
        ('jpeg-cut-after-soi.jpg', base[:2], None),
        ('jpeg-cut-inside-sof.jpg', base[:sof_at + sof_length // 2], None),
        ('jpeg-cut-after-headers.jpg', base[:scan_data], None),
        ('jpeg-cut-inside-scan.jpg', base[:scan_data + (len(base) - scan_data) // 2], None),
        ('jpeg-no-eoi.jpg', base[:-2], expected),
        ('jpeg-width-0.jpg', _frame_size(base, 0, H), None),
        ('jpeg-height-0.jpg', _frame_size(base, W, 0), None),
        ('jpeg-width-65500.jpg', _frame_size(base, 65500, H), None),
        ('jpeg-height-65500.jpg', _frame_size(base, W, 65500), None),
        ('jpeg-no-sof.jpg', base[:sof_at] + base[sof_at + sof_length:], None),
        ('jpeg-bad-huffman-table.jpg', _bad_huffman_table(base), None),
        ('jpeg-trailing-garbage.jpg', base + garbage, expected),
    ]
