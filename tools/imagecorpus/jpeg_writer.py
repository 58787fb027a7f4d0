"""A baseline JPEG encoder small enough to read, for what PIL's writer cannot do: restart
markers. Colour as YCbCr with no subsampling (one 8x8 block of each component per MCU), one
quantisation table (1 for DC, 2 for AC: near lossless), and Huffman tables of its own (every
DC symbol 4 bits long, every AC symbol 8), which a baseline file may define as it likes.
Also reads a file's marker segments back, for the fault files.
"""

import math
import struct

ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21,
    28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61,
    54, 47, 55, 62, 63,
]
DC_SYMBOLS = list(range(12))
AC_SYMBOLS = [0x00, 0xF0] + [(run << 4) | size for run in range(16) for size in range(1, 11)]
DC_LENGTH, AC_LENGTH = 4, 8
QUANT = [1] + [2] * 63
_COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for u in range(8)] for x in range(8)]


def segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack('>H', len(payload) + 2) + payload


def segments(data):
    """(offset, marker, total length with marker) of each segment from SOI up to the scan data."""
    found = [(0, 0xD8, 2)]
    pos = 2
    while pos + 4 <= len(data) and data[pos] == 0xFF:
        marker = data[pos + 1]
        length = struct.unpack('>H', data[pos + 2:pos + 4])[0]
        found.append((pos, marker, 2 + length))
        pos += 2 + length
        if marker == 0xDA:
            break
    return found


def _dht(table_class, table_id, symbols, length):
    counts = [0] * 16
    counts[length - 1] = len(symbols)
    return segment(0xC4, bytes([table_class << 4 | table_id]) + bytes(counts) + bytes(symbols))


def _codes(symbols, length):
    # Canonical codes of one length: consecutive numbers in symbol order.
    return {symbol: (code, length) for code, symbol in enumerate(symbols)}


class _Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def put(self, value, n):
        for i in range(n - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)  # a stuffed byte: 0xFF in the data is no marker
                self.acc = self.count = 0

    def flush(self):
        if self.count:
            self.put(0x7F, 8 - self.count)  # padded with 1 bits


def _category(v):
    return 0 if v == 0 else abs(v).bit_length()


def _put_value(bits, v, size):
    bits.put(v if v >= 0 else v + (1 << size) - 1, size)


def _block(samples):
    """The quantised coefficients of an 8x8 block of level-shifted samples, in zigzag order."""
    coefficients = [0] * 64
    for v in range(8):
        for u in range(8):
            s = sum(samples[y][x] * _COS[x][u] * _COS[y][v] for y in range(8) for x in range(8))
            cu = 1 / math.sqrt(2) if u == 0 else 1
            cv = 1 / math.sqrt(2) if v == 0 else 1
            coefficients[v * 8 + u] = 0.25 * cu * cv * s
    return [round(coefficients[z] / QUANT[k]) for k, z in enumerate(ZIGZAG)]


def _ycbcr(r, g, b):
    return (0.299 * r + 0.587 * g + 0.114 * b,
            -0.168736 * r - 0.331264 * g + 0.5 * b + 128,
            0.5 * r - 0.418688 * g - 0.081312 * b + 128)


def encode(width, height, pixel, restart_interval=0):
    """pixel(x, y) -> (r, g, b). restart_interval: MCUs between restart markers, 0 for none."""
    dc_codes, ac_codes = _codes(DC_SYMBOLS, DC_LENGTH), _codes(AC_SYMBOLS, AC_LENGTH)
    head = bytearray(b'\xFF\xD8')
    head += segment(0xE0, b'JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00')
    head += segment(0xDB, bytes([0]) + bytes(QUANT))  # stored in zigzag order, as _block divides
    head += segment(0xC0, bytes([8]) + struct.pack('>HHB', height, width, 3) +
                    b''.join(bytes([c, 0x11, 0]) for c in (1, 2, 3)))
    head += _dht(0, 0, DC_SYMBOLS, DC_LENGTH) + _dht(1, 0, AC_SYMBOLS, AC_LENGTH)
    if restart_interval:
        head += segment(0xDD, struct.pack('>H', restart_interval))
    head += segment(0xDA, bytes([3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0]))

    bits = _Bits()
    scan = bytearray()
    predictors = [0, 0, 0]
    mcus_x, mcus_y = (width + 7) // 8, (height + 7) // 8
    for m in range(mcus_x * mcus_y):
        if restart_interval and m and m % restart_interval == 0:
            bits.flush()
            scan += bits.out + bytes([0xFF, 0xD0 + (m // restart_interval - 1) % 8])
            bits = _Bits()
            predictors = [0, 0, 0]
        bx, by = (m % mcus_x) * 8, (m // mcus_x) * 8
        # Edge blocks repeat the last column and row.
        ycc = [[_ycbcr(*pixel(min(bx + x, width - 1), min(by + y, height - 1))) for x in range(8)] for y in range(8)]
        for c in range(3):
            coefficients = _block([[ycc[y][x][c] - 128 for x in range(8)] for y in range(8)])
            diff = coefficients[0] - predictors[c]
            predictors[c] = coefficients[0]
            size = _category(diff)
            bits.put(*dc_codes[size])
            _put_value(bits, diff, size)
            run = 0
            for v in coefficients[1:]:
                if v == 0:
                    run += 1
                    continue
                while run > 15:
                    bits.put(*ac_codes[0xF0])
                    run -= 16
                size = _category(v)
                bits.put(*ac_codes[(run << 4) | size])
                _put_value(bits, v, size)
                run = 0
            if run:
                bits.put(*ac_codes[0x00])
    bits.flush()
    scan += bits.out
    return bytes(head + scan + b'\xFF\xD9')
