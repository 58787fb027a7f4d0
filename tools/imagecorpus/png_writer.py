"""PNG files written byte by byte: chunks with their CRCs, samples of any depth packed into
scanlines, every scanline filter, Adam7 interlacing, and the zlib stream split into IDAT
chunks. Nothing is checked here: the fault files are made by writing exactly what is asked.
"""

import struct
import zlib

SIGNATURE = b'\x89PNG\r\n\x1a\n'
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}  # grey, RGB, palette, grey + alpha, RGBA
# Pass origins and steps: (x0, y0, dx, dy).
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def chunk(kind, data, crc=None, length=None):
    """A chunk; crc and length replace the true values when given."""
    true_crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return (struct.pack('>I', len(data) if length is None else length) + kind + data +
            struct.pack('>I', true_crc if crc is None else crc))


def ihdr_data(width, height, depth, colour_type, interlace=0, compression=0, filter_method=0):
    return struct.pack('>IIBBBBB', width, height, depth, colour_type, compression, filter_method, interlace)


def _pack_row(samples, depth):
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        return b''.join(struct.pack('>H', s) for s in samples)
    out = bytearray()
    per_byte = 8 // depth
    for i in range(0, len(samples), per_byte):
        group = samples[i:i + per_byte]
        byte = 0
        for k, s in enumerate(group):
            byte |= s << (8 - depth * (k + 1))
        out.append(byte)
    return bytes(out)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter(kind, row, prior, bpp):
    out = bytearray([kind])
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prior[i] if prior else 0
        c = prior[i - bpp] if prior and i >= bpp else 0
        predictor = (0, a, b, (a + b) // 2, _paeth(a, b, c))[kind]
        out.append((x - predictor) & 0xFF)
    return bytes(out)


def _sub_images(width, height, interlace):
    """(x0, y0, dx, dy) of each sub-image that holds pixels, in file order."""
    if not interlace:
        return [(0, 0, 1, 1)]
    return [(x0, y0, dx, dy) for x0, y0, dx, dy in ADAM7 if x0 < width and y0 < height]


def image_data(pixels, width, height, depth, colour_type, interlace=0):
    """The filtered scanlines of pixels[y][x] (tuples of samples). Row n of each sub-image uses
    filter n mod 5, so every file exercises all five filters."""
    channels = CHANNELS[colour_type]
    bpp = max(1, channels * depth // 8)
    out = bytearray()
    for x0, y0, dx, dy in _sub_images(width, height, interlace):
        prior = None
        for n, y in enumerate(range(y0, height, dy)):
            samples = [s for x in range(x0, width, dx) for s in pixels[y][x]]
            row = _pack_row(samples, depth)
            out += _filter(n % 5, row, prior, bpp)
            prior = row
    return bytes(out)


def png(width, height, depth, colour_type, pixels, interlace=0, palette=None, transparency=None,
        before_data=(), after_data=(), idat_size=None, level=9):
    """A whole file. palette: [(r, g, b)]; transparency: the tRNS alpha bytes; before_data and
    after_data: extra chunks; idat_size: the most bytes of the zlib stream per IDAT."""
    stream = zlib.compress(image_data(pixels, width, height, depth, colour_type, interlace), level)
    return assemble(ihdr_data(width, height, depth, colour_type, interlace), stream, palette, transparency,
                    before_data, after_data, idat_size)


def assemble(ihdr, stream, palette=None, transparency=None, before_data=(), after_data=(), idat_size=None):
    out = bytearray(SIGNATURE + chunk(b'IHDR', ihdr))
    if palette is not None:
        out += chunk(b'PLTE', b''.join(bytes(c) for c in palette))
    if transparency is not None:
        out += chunk(b'tRNS', bytes(transparency))
    for extra in before_data:
        out += extra
    step = idat_size or max(1, len(stream))
    for i in range(0, max(1, len(stream)), step):
        out += chunk(b'IDAT', stream[i:i + step])
    for extra in after_data:
        out += extra
    out += chunk(b'IEND', b'')
    return bytes(out)


def chunks(data):
    """(offset, length, kind) of each whole chunk after the signature."""
    found = []
    pos = len(SIGNATURE)
    while pos + 12 <= len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        if pos + 12 + length > len(data):
            break
        found.append((pos, length, kind))
        pos += 12 + length
    return found
