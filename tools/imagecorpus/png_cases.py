"""The PNG files of the corpus: every legal pair of colour type and bit depth, plain and
interlaced, with the pixels each must decode to; and one file for each way a PNG is broken.

Each function returns (file name, bytes, pixels) triples; pixels is (width, height, straight
RGBA bytes) for files whose image data is whole (a decoder that decodes them must get exactly
these), else None.
"""

import struct
import zlib

from png_writer import SIGNATURE, assemble, chunk, chunks, ihdr_data, image_data, png

TYPE_NAMES = {0: 'grey', 2: 'rgb', 3: 'palette', 4: 'grey-alpha', 6: 'rgba'}
LEGAL_DEPTHS = {0: (1, 2, 4, 8, 16), 2: (8, 16), 3: (1, 2, 4, 8), 4: (8, 16), 6: (8, 16)}
# Odd sides: rows of low depths end in a part-filled byte, and all seven Adam7 passes hold pixels.
W, H = 37, 19


def _level(x, y, c, depth):
    """Sample of channel c at (x, y): every level at low depths; at 16 bits the two bytes differ."""
    if depth == 16:
        return ((x * 7 + y * 13 + c * 85) & 255) << 8 | ((x * 29 + y * 3 + c * 11) & 255)
    if depth == 8:
        return (x * 7 + y * 13 + c * 85) & 255
    return (x + y * 3 + c * 5) % (1 << depth)


def _alpha(x, y, depth):
    """Opaque every fourth column, clear the next, graded between."""
    top = (1 << depth) - 1
    return top if x % 4 == 0 else 0 if x % 4 == 1 else _level(x, y, 3, depth)


def _to8(v, depth):
    return (v * 255 + 32767) // 65535 if depth == 16 else v * 255 // ((1 << depth) - 1)


def _palette(depth):
    # Fewer entries than the depth allows at 8 bits: indexes need not reach the end.
    n = 200 if depth == 8 else 1 << depth
    return [((k * 53 + 17) & 255, (k * 97 + 30) & 255, (255 - k * 41) & 255) for k in range(n)]


def _transparency(palette):
    # Alpha for the first half of the entries only; the rest are opaque.
    return [(k * 85) & 255 for k in range((len(palette) + 1) // 2)]


def _image(colour_type, depth, width, height, transparent=False):
    """pixels[y][x] as sample tuples, the palette and tRNS if any, and the RGBA to expect."""
    pixels, rgba = [], bytearray()
    palette = _palette(depth) if colour_type == 3 else None
    trns = _transparency(palette) if transparent else None
    for y in range(height):
        row = []
        for x in range(width):
            if colour_type == 3:
                i = (x + y * 2) % len(palette)
                row.append((i,))
                rgba += bytes(palette[i]) + bytes([trns[i] if trns and i < len(trns) else 255])
                continue
            grey = colour_type in (0, 4)
            colour = tuple(_level(x, y, c, depth) for c in range(1 if grey else 3))
            alpha = (_alpha(x, y, depth),) if colour_type in (4, 6) else ()
            row.append(colour + alpha)
            c8 = [_to8(v, depth) for v in colour]
            rgba += bytes(c8 * 3 if grey else c8) + bytes([_to8(alpha[0], depth) if alpha else 255])
        pixels.append(row)
    return pixels, palette, trns, (width, height, bytes(rgba))


def _valid(name, colour_type, depth, width=W, height=H, interlace=0, transparent=False, **options):
    pixels, palette, trns, expected = _image(colour_type, depth, width, height, transparent)
    data = png(width, height, depth, colour_type, pixels, interlace, palette, trns, **options)
    return name, data, expected


def valid_files():
    files = []
    for colour_type, depths in LEGAL_DEPTHS.items():
        for depth in depths:
            for interlace in (0, 1):
                name = f'valid-{TYPE_NAMES[colour_type]}-{depth}' + ('-interlaced' if interlace else '') + '.png'
                files.append(_valid(name, colour_type, depth, interlace=interlace))
    text = chunk(b'tEXt', b'Comment\0made for the decoder tests')
    files += [
        _valid('valid-palette-8-transparency.png', 3, 8, transparent=True),
        _valid('valid-palette-2-transparency-interlaced.png', 3, 2, interlace=1, transparent=True),
        _valid('valid-rgb-8-1x1.png', 2, 8, 1, 1),
        _valid('valid-grey-1-1x1-interlaced.png', 0, 1, 1, 1, interlace=1),  # six empty passes
        _valid('valid-rgba-8-3x2-interlaced.png', 6, 8, 3, 2, interlace=1),  # some passes empty
        _valid('valid-rgb-8-300x1.png', 2, 8, 300, 1),
        _valid('valid-rgb-8-1x300.png', 2, 8, 1, 300),
        _valid('valid-grey-1-16384x1.png', 0, 1, 16384, 1),  # the longest side the guard admits
        _valid('valid-rgb-8-idat-in-1-byte-chunks.png', 2, 8, idat_size=1),
        _valid('valid-rgb-8-stored-deflate.png', 2, 8, level=0),
        _valid('valid-grey-8-ancillary-chunks.png', 0, 8,
               before_data=[text, chunk(b'tIME', struct.pack('>HBBBBB', 2024, 5, 6, 7, 8, 9)),
                            chunk(b'prVt', b'a private chunk that decoders skip')],
               after_data=[chunk(b'tEXt', b'Note\0after the image data')]),
    ]
    return files


# --- Broken files ------------------------------------------------------------------------------

def _base():
    """The 8-bit RGB file most faults start from, its zlib stream and its pixels."""
    pixels, _, _, expected = _image(2, 8, W, H)
    return zlib.compress(image_data(pixels, W, H, 8, 2), 9), expected


def _with_header(stream, width=W, height=H, depth=8, colour_type=2, **fields):
    return assemble(ihdr_data(width, height, depth, colour_type, **fields), stream)


def _header_faults(stream):
    base = _with_header(stream)
    files = []
    for i in range(8):
        # A 7-bit transfer clears the top bit of the first byte; the letters change case.
        damaged = bytearray(base)
        damaged[i] = damaged[i] & 0x7F if i == 0 else damaged[i] ^ 0x20
        files.append((f'png-signature-byte-{i}.png', bytes(damaged), None))
    files += [
        ('png-crlf-to-lf.png', base.replace(b'\r\n', b'\n'), None),   # a text-mode download
        ('png-lf-to-crlf.png', base.replace(b'\n', b'\r\n'), None),   # a text-mode upload
        ('png-ihdr-bad-crc.png', SIGNATURE + chunk(b'IHDR', ihdr_data(W, H, 8, 2), crc=zlib.crc32(b'x')) +
         base[33:], None),
        ('png-ihdr-length-huge.png', SIGNATURE + chunk(b'IHDR', ihdr_data(W, H, 8, 2), length=0xFFFFFFF0) +
         base[33:], None),
        ('png-ihdr-not-first.png', SIGNATURE + chunk(b'tEXt', b'Title\0first') + base[8:], None),
        ('png-colour-type-1.png', _with_header(stream, colour_type=1), None),
        ('png-colour-type-9.png', _with_header(stream, colour_type=9), None),
        ('png-depth-0.png', _with_header(stream, depth=0, colour_type=0), None),
        ('png-depth-3.png', _with_header(stream, depth=3, colour_type=0), None),
        ('png-depth-99.png', _with_header(stream, depth=99, colour_type=0), None),
        ('png-compression-method-1.png', _with_header(stream, compression=1), None),
        ('png-filter-method-1.png', _with_header(stream, filter_method=1), None),
        ('png-interlace-method-2.png', _with_header(stream, interlace=2), None),
    ]
    for colour_type, depths in ((2, (1, 2, 4)), (3, (16,)), (4, (1, 2, 4)), (6, (1, 2, 4))):
        for depth in depths:
            files.append((f'png-{TYPE_NAMES[colour_type]}-depth-{depth}.png',
                          _with_header(stream, depth=depth, colour_type=colour_type), None))
    return files


def _bomb():
    """60000 x 60000 1-bit grey, all of its 450 MB of scanlines present: 450 KB of file."""
    side = 60000
    row = bytes(1 + side // 8)
    packer = zlib.compressobj(9)
    stream = bytearray()
    block = row * 1000
    for _ in range(side // 1000):
        stream += packer.compress(block)
    stream += packer.flush()
    return assemble(ihdr_data(side, side, 1, 0), bytes(stream), idat_size=1 << 16)


def _size_faults(stream):
    return [
        ('png-width-0.png', _with_header(stream, width=0), None),
        ('png-height-0.png', _with_header(stream, height=0), None),
        ('png-width-2pow31.png', _with_header(stream, width=1 << 31), None),
        ('png-height-2pow31.png', _with_header(stream, height=1 << 31), None),
        ('png-width-4294967295.png', _with_header(stream, width=0xFFFFFFFF), None),
        ('png-width-16385.png', _with_header(stream, width=16385, height=1), None),
        ('png-over-64-megapixels.png', _with_header(stream, width=16384, height=4097), None),
        ('png-60000x60000-bomb.png', _bomb(), None),
    ]


def _data_faults(stream, expected):
    # The first deflate block of the stream gets the reserved block type 3.
    bad_block = bytearray(stream)
    bad_block[2] |= 0x06
    bad_header = bytearray(stream)
    bad_header[1] ^= 1  # the header's check bits no longer divide by 31
    bad_adler = bytearray(stream)
    bad_adler[-1] ^= 1
    whole = _with_header(stream)
    idat = chunks(whole)[1][0]
    huge = bytearray(whole)
    huge[idat:idat + 4] = struct.pack('>I', 0x7FFFFFFF)
    return [
        ('png-no-idat.png', SIGNATURE + chunk(b'IHDR', ihdr_data(W, H, 8, 2)) + chunk(b'IEND', b''), None),
        ('png-idat-bad-crc.png', SIGNATURE + chunk(b'IHDR', ihdr_data(W, H, 8, 2)) +
         chunk(b'IDAT', stream, crc=zlib.crc32(stream) ^ 1) + chunk(b'IEND', b''), expected),
        ('png-idat-length-huge.png', bytes(huge), None),
        ('png-zlib-bad-header.png', _with_header(bytes(bad_header)), None),
        ('png-deflate-bad-block-type.png', _with_header(bytes(bad_block)), None),
        ('png-zlib-bad-adler.png', _with_header(bytes(bad_adler)), expected),
        ('png-zlib-stream-short.png', _with_header(stream[:len(stream) // 2]), None),
        ('png-chunks-after-iend.png', whole + chunk(b'tEXt', b'After\0the end') + chunk(b'IDAT', b'\xde\xad'),
         expected),
    ]


def _cuts():
    """A palette file with tRNS, a text chunk and three IDAT chunks, cut at the end of every
    chunk and in the middle of each."""
    pixels, palette, trns, _ = _image(3, 8, W, H, transparent=True)
    stream = zlib.compress(image_data(pixels, W, H, 8, 3), 9)
    whole = assemble(ihdr_data(W, H, 8, 3), stream, palette, trns, [chunk(b'tEXt', b'Title\0cut')],
                     idat_size=(len(stream) + 2) // 3)
    files = [('png-cut-inside-signature.png', whole[:5], None), ('png-cut-after-signature.png', whole[:8], None)]
    seen = {}
    for offset, length, kind in chunks(whole):
        name = kind.decode('ascii').lower()
        if kind == b'IDAT':
            seen[kind] = seen.get(kind, 0) + 1
            name += f'-{seen[kind]}'
        files.append((f'png-cut-inside-{name}.png', whole[:offset + 8 + max(length // 2, 2)], None))
        if kind != b'IEND':
            files.append((f'png-cut-after-{name}.png', whole[:offset + 12 + length], None))
    return files


def fault_files():
    stream, expected = _base()
    return _header_faults(stream) + _size_faults(stream) + _data_faults(stream, expected) + _cuts()
