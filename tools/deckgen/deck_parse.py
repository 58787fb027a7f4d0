"""Reads the deck table out of src/deck/deck_table.cpp.

The C++ table is the one place where slide names and demo targets are written down; the
generator reads it rather than keeping a copy. The table is kept in a rigid shape (one
record per line, named arrays, one row per line), and anything outside that shape is an
error here, so a change of layout cannot silently drop slides or hotspots.
"""

import re
from dataclasses import dataclass, field

ARRAY_START = re.compile(r'^constexpr Hotspot (\w+)\[\] = \{$')
RECORD = re.compile(r'^\s+\{(\d+(?:\.\d+)?), (\d+(?:\.\d+)?), L"([^"\\]+)"\},$')
TABLE_START = re.compile(r'^SlidePage g_slideDeck\[SLIDE_COUNT\] = \{$')
ROW = re.compile(r'^\s+\{(-?\d+), L"([^"\\]+)", (?:CountOf\((\w+)\)|(\d+)), (\w+)\},$')
BLOCK_END = '};'

SLIDE_COUNT = 69


class DeckFormatError(ValueError):
    pass


@dataclass(frozen=True)
class Hotspot:
    x: float
    y: float
    target: str

    @property
    def run(self):
        return self.target.startswith('!')

    @property
    def file_name(self):
        return self.target[1:] if self.run else self.target

    @property
    def extension(self):
        name = self.file_name
        dot = name.rfind('.')
        return name[dot:].lower() if dot >= 0 else ''


@dataclass
class Slide:
    index: int
    image: str
    enabled: bool
    array: str  # name of the hotspot array, '' when none
    spots: list = field(default_factory=list)

    @property
    def stem(self):
        return self.image[:-4] if self.image.lower().endswith('.png') else self.image


def _strip_comment(line):
    # Comments only ever stand on their own lines or after a record; names hold no "//".
    at = line.find('//')
    return (line[:at] if at >= 0 else line).rstrip()


def parse_deck(text):
    """Returns the list of 69 slides, in table order, with their hotspots."""
    arrays = {}
    slides = []
    current = None  # name of the array being read
    in_table = False
    for number, raw in enumerate(text.splitlines(), 1):
        line = _strip_comment(raw)
        if current is not None:
            if line == BLOCK_END:
                if not arrays[current]:
                    raise DeckFormatError(f'line {number}: empty array {current}')
                current = None
                continue
            if not line.strip():
                continue
            m = RECORD.match(line)
            if not m:
                raise DeckFormatError(f'line {number}: not a hotspot record: {raw!r}')
            arrays[current].append(Hotspot(float(m.group(1)), float(m.group(2)), m.group(3)))
            continue
        if in_table:
            if line == BLOCK_END:
                in_table = False
                continue
            if not line.strip():
                continue
            m = ROW.match(line)
            if not m:
                raise DeckFormatError(f'line {number}: not a slide row: {raw!r}')
            flag, image, counted, literal, pointer = m.groups()
            if counted is not None:
                if counted != pointer or counted not in arrays:
                    raise DeckFormatError(f'line {number}: count and pointer name different arrays')
                spots = list(arrays[counted])
            else:
                if int(literal) != 0 or pointer != 'nullptr':
                    raise DeckFormatError(f'line {number}: a literal count must be 0 with nullptr')
                spots = []
            slides.append(Slide(len(slides), image, int(flag) != 0, counted or '', spots))
            continue
        m = ARRAY_START.match(line)
        if m:
            if m.group(1) in arrays:
                raise DeckFormatError(f'line {number}: array {m.group(1)} defined twice')
            current = m.group(1)
            arrays[current] = []
            continue
        if TABLE_START.match(line):
            if slides:
                raise DeckFormatError(f'line {number}: second table')
            in_table = True
            continue
        if RECORD.match(line) or ROW.match(line):
            raise DeckFormatError(f'line {number}: record outside a block: {raw!r}')
    if current is not None or in_table:
        raise DeckFormatError('file ends inside a block')
    if len(slides) != SLIDE_COUNT:
        raise DeckFormatError(f'{len(slides)} slide rows, expected {SLIDE_COUNT}')
    return slides


def load_deck(path):
    with open(path, encoding='utf-8') as f:
        return parse_deck(f.read())


def all_targets(slides):
    """Distinct target file names (run mark removed), in first-seen order."""
    seen = {}
    for slide in slides:
        for spot in slide.spots:
            seen.setdefault(spot.file_name, spot)
    return list(seen)
