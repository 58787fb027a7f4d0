#!/usr/bin/python3
"""Writes a demo deck: the slide images and every demo file the deck table links to.

    /usr/bin/python3 tools/deckgen/deckgen.py --table src/deck/deck_table.cpp --out <dir>

The deck table in the C++ source is the only list of names; this reads it and writes one
file per slide image and per distinct hotspot target (run mark removed) into <dir>, and
nothing anywhere else. The output is the same on every run.
"""

import argparse
import multiprocessing
import os
import sys
import time

sys.dont_write_bytecode = True  # nothing but the deck goes to disk
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import chm  # noqa: E402
import demofiles  # noqa: E402
import photos  # noqa: E402
import slides  # noqa: E402
from deck_parse import load_deck  # noqa: E402


def plan(deck):
    """The files to write: (kind, file name, argument), slides first."""
    tasks = [('slide', slide.image, slide) for slide in deck]
    runs = {spot.file_name for slide in deck for spot in slide.spots if spot.run}
    seen = set()
    photo_index = 0
    for slide in deck:
        for spot in slide.spots:
            name = spot.file_name
            if name in seen:
                continue
            seen.add(name)
            ext = spot.extension
            if ext == '.jpg':
                tasks.append(('photo', name, photo_index))
                photo_index += 1
            else:
                tasks.append((ext.lstrip('.') or 'other', name, name in runs))
    for _, name, _ in tasks:
        if not name or name != os.path.basename(name) or name in ('.', '..') or '\\' in name:
            raise SystemExit(f'deckgen: refusing unsafe file name {name!r}')
    return tasks


def write(task_and_dir):
    (kind, name, arg), out_dir = task_and_dir
    path = os.path.join(out_dir, name)
    if kind == 'slide':
        slides.write_slide(arg, path)
    elif kind == 'photo':
        photos.write_photo(name, arg, path)
    else:
        if kind == 'asc':
            data = demofiles.circuit_file(name, arg)
        elif kind == 'net':
            data = demofiles.netlist_file(name)
        elif kind == 'raw':
            data = demofiles.raw_file(name)
        elif kind == 'pdf':
            data = demofiles.pdf_file(name)
        elif kind == 'wav':
            data = demofiles.wav_file(name)
        elif kind == 'chm':
            data = chm.help_file()
        else:
            data = f'Demo file {name} for the Circelo Vexa seminar.\r\n'.encode('ascii')
        with open(path, 'wb') as f:
            f.write(data)
    return kind, os.path.getsize(path)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--table', required=True, help='src/deck/deck_table.cpp')
    parser.add_argument('--out', required=True, help='folder to write the deck into')
    parser.add_argument('--jobs', type=int, default=os.cpu_count() or 1, help='worker processes')
    args = parser.parse_args(argv)

    start = time.monotonic()
    deck = load_deck(args.table)
    tasks = plan(deck)
    os.makedirs(args.out, exist_ok=True)
    # Heavy work (photos, slides) first so the workers finish together.
    order = sorted(tasks, key=lambda t: {'photo': 0, 'slide': 1}.get(t[0], 2))
    work = [(t, args.out) for t in order]
    if args.jobs > 1:
        with multiprocessing.Pool(args.jobs) as pool:
            results = pool.map(write, work, chunksize=1)
    else:
        results = [write(w) for w in work]
    counts, total = {}, 0
    for kind, size in results:
        counts[kind] = counts.get(kind, 0) + 1
        total += size
    others = sum(n for k, n in counts.items() if k not in ('slide', 'photo'))
    print(f'deckgen: {counts.get("slide", 0)} slides, {counts.get("photo", 0)} photos, {others} other demo files, '
          f'{total / 1e6:.1f} MB in {time.monotonic() - start:.1f} s -> {args.out}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
