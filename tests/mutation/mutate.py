#!/usr/bin/env python3
"""Reads faults.txt and checks, applies or reverts one fault in a tree."""
import pathlib
import sys


def parse(path):
    faults, current, field = [], None, None
    for line in pathlib.Path(path).read_text().splitlines():
        if line.startswith("@@ "):
            current = {"name": line[3:].strip(), "original": [], "replacement": []}
            faults.append(current)
            field = None
        elif line.startswith("@file "):
            current["file"] = line[6:].strip()
        elif line in ("@original", "@replacement"):
            field = line[1:]
        elif current is not None and field:
            current[field].append(line)
    for fault in faults:
        for field in ("original", "replacement"):
            while fault[field] and not fault[field][-1].strip():
                fault[field].pop()
            fault[field] = "\n".join(fault[field])
    return faults


def pick(faults, names):
    if not names:
        return faults
    known = {f["name"]: f for f in faults}
    missing = [n for n in names if n not in known]
    if missing:
        sys.exit(f"mutation: no fault named {', '.join(missing)}")
    return [known[n] for n in names]


def main():
    command, faults_file, *rest = sys.argv[1:]
    faults = parse(faults_file)
    if command == "names":
        print(" ".join(f["name"] for f in pick(faults, rest)))
        return 0
    tree = pathlib.Path(rest[0])
    if command == "check":
        bad = []
        for fault in pick(faults, rest[1:]):
            text = (tree / fault["file"]).read_text() if (tree / fault["file"]).exists() else ""
            count = text.count(fault["original"])
            if count != 1:
                bad.append(f"{fault['name']}: the original text occurs {count} times in {fault['file']}")
        for line in bad:
            print("mutation: PATTERN NOT FOUND " + line, file=sys.stderr)
        return 1 if bad else 0
    fault = pick(faults, [rest[1]])[0]
    path = tree / fault["file"]
    text = path.read_text()
    old, new = (fault["original"], fault["replacement"]) if command == "apply" else (
        fault["replacement"], fault["original"])
    if text.count(old) != 1:
        sys.exit(f"mutation: cannot {command} {fault['name']}: text not found once in {fault['file']}")
    path.write_text(text.replace(old, new))
    return 0


if __name__ == "__main__":
    sys.exit(main())
