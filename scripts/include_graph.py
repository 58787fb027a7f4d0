#!/usr/bin/env python3
"""The rooms of src/ and which includes which: prints the graph, and with --check fails when an
include points up or sideways. The windows (the show's view, the presenter console, the demo) sit
side by side under the application and never include one another; beneath them are the talk they
all show and the libraries they draw and launch with.

Usage: scripts/include_graph.py [--check] [--dot]
"""
import re
import sys
from collections import defaultdict
from pathlib import Path

# Each room and the rooms it may include, besides itself. Arrows point down only.
ALLOWED = {
    "app": {"view", "console", "demo", "talk", "screens", "render", "pictures", "launch", "deck", "framework", "res"},
    "view": {"talk", "render", "pictures", "launch", "deck", "framework", "res"},
    "console": {"talk", "screens", "render", "pictures", "launch", "deck", "framework", "res"},
    "demo": {"talk", "render", "launch", "deck", "framework", "res"},
    "screens": {"render", "framework"},
    "render": {"pictures", "launch", "deck", "framework", "res"},
    "talk": {"deck"},
    "pictures": {"framework"},
    "launch": {"deck", "framework", "res"},
    "deck": set(),
    "framework": {"res"},
    "res": set(),
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/[^"]+"', re.M)


def edges(src):
    found = defaultdict(set)  # (from, to) -> files
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        room = path.relative_to(src).parts[0]
        for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            if target != room:
                found[(room, target)].add(str(path.relative_to(src.parent)))
    return found


def main(argv):
    src = Path(__file__).resolve().parent.parent / "src"
    found = edges(src)
    if "--dot" in argv:
        print("digraph rooms {")
        for (a, b), files in sorted(found.items()):
            print(f'  "{a}" -> "{b}" [label="{len(files)}"];')
        print("}")
    else:
        for (a, b), files in sorted(found.items()):
            print(f"{a} -> {b} ({len(files)} files)")
    if "--check" not in argv:
        return 0
    wrong = []
    rooms = {p.name for p in src.iterdir() if p.is_dir()}
    for room in sorted(rooms - ALLOWED.keys()):
        wrong.append(f"room {room} is not in the table of rooms")
    for (a, b), files in sorted(found.items()):
        if b not in ALLOWED.get(a, set()):
            wrong.extend(f"{f}: {a} includes {b}" for f in sorted(files))
    if wrong:
        print("Includes that point up or sideways:", *wrong, sep="\n  ")
        return 1
    print(f"rooms: {len(rooms)}, every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
