#!/usr/bin/env python3
"""Fails when a product folder includes a folder on its own floor or above it.

Floors, lowest first: sdk; params; dsp; processor, gui and vst2; editor;
controller; entry. tools may use sdk and params only. Tests, benchmarks and
fuzz targets may include anything.
"""
import pathlib
import re
import sys

FLOORS = {"sdk": 0, "params": 1, "dsp": 2, "processor": 3, "gui": 3, "vst2": 3,
          "editor": 4, "controller": 5, "entry": 6}
ALLOWED = {folder: {other for other, floor in FLOORS.items() if floor < FLOORS[folder]} for folder in FLOORS}
ALLOWED["tools"] = {"sdk", "params"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def main(root):
    root = pathlib.Path(root)
    folders = set(FLOORS) | {"tools"}
    errors = []
    for folder, allowed in sorted(ALLOWED.items()):
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in {".h", ".cpp", ".c", ".rc"}:
                continue
            for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1).split("/")[0]
                if target in folders and target != folder and target not in allowed:
                    errors.append(f"{path.relative_to(root)}:{number}: {folder}/ includes {match.group(1)}")
    for error in errors:
        print(error)
    print(f"{len(errors)} include(s) against the floors")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2]))
