#!/usr/bin/env python3
"""Counts, independently of the converter, whether an exact drawing holds
every segment of a file's parcel boundaries and no other.

    tools/check_exact_segments.py FILE.vfk DRAWING.svg

Reads the file's SOBR points, SBP point connections and HP boundaries
itself: a segment is a pair of consecutive ordinals of one boundary whose
two points exist (an arc of three points, PARAMETRY_SPOJENI "16", is one
segment between its ends). Each parcel's segments are those of the
boundaries that name it. Reads the drawing's parcel paths (layer
VL_hranice_parcel) as segments between the points written, arcs included,
and compares the two sets parcel by parcel, by the points' coordinates as
the drawing writes them (two decimals). Prints the totals and every
difference; exit status 1 when there is one.
"""
import re
import sys
from collections import defaultdict


def fields(line):
    return line.rstrip(b"\r\n").split(b";")


def unquote(value):
    return value[1:-1] if len(value) >= 2 and value[:1] == b'"' else value


def read_vfk(path):
    columns = {}
    rows = defaultdict(list)
    block = None
    with open(path, "rb") as file:
        for line in file:
            if line.startswith(b"&B"):
                parts = fields(line)
                block = parts[0][2:]
                columns[block] = {f.split(b" ")[0]: k for k, f in enumerate(parts)}
            elif line.startswith(b"&D") and block in (b"SOBR", b"SBP", b"HP"):
                rows[block].append(fields(line))
    return columns, rows


def field(row, columns, name):
    k = columns.get(name)
    return row[k] if k is not None and k < len(row) else b""


def coordinate(value):
    return "%.2f" % value


def main():
    vfk, svg = sys.argv[1], sys.argv[2]
    columns, rows = read_vfk(vfk)
    points = {}
    for row in rows[b"SOBR"]:
        c = columns[b"SOBR"]
        y = float(field(row, c, b"SOURADNICE_Y") or 0)
        x = float(field(row, c, b"SOURADNICE_X") or 0)
        points[field(row, c, b"ID")] = (coordinate(-y), coordinate(-x))
    lines = defaultdict(dict)
    shapes = {}
    for row in rows[b"SBP"]:
        c = columns[b"SBP"]
        hp = field(row, c, b"HP_ID")
        if not hp:
            continue
        ordinal = int(field(row, c, b"PORADOVE_CISLO_BODU") or 0)
        lines[hp][ordinal] = points.get(field(row, c, b"BP_ID"))
        if ordinal == 1:
            shapes[hp] = unquote(field(row, c, b"PARAMETRY_SPOJENI"))
    expected = defaultdict(set)
    for row in rows[b"HP"]:
        c = columns[b"HP"]
        line = lines.get(field(row, c, b"ID"))
        if not line:
            continue
        segments = set()
        ordinals = range(1, max(line) + 1)
        if shapes.get(field(row, c, b"ID")) == b"16" and len(line) == 3 and all(line.get(k) for k in ordinals):
            segments.add(frozenset((line[1], line[3])))
        else:
            for k in ordinals:
                if line.get(k) and line.get(k + 1) and line[k] != line[k + 1]:
                    segments.add(frozenset((line[k], line[k + 1])))
        for side in (b"PAR_ID_1", b"PAR_ID_2"):
            parcel = field(row, c, side)
            if parcel:
                expected[parcel.decode()] |= segments

    drawn = defaultdict(set)
    text = open(svg, encoding="utf-8").read()
    group = text[text.index('layer="VL_hranice_parcel"'):]
    group = group[: group.index("</g>")]
    point = r"(-?[\d.]+|nan|-nan|inf|-inf),(-?[\d.]+|nan|-nan|inf|-inf)"
    for parcel, data in re.findall(r'<path id="([^"]*)"[^>]* d="M([^"]*)"', group):
        for subpath in re.split(r"Z?\s*M\s+", data):
            steps = re.findall(r"(?:A [^ ]+ 0 [01],[01] )?" + point, subpath)
            previous = None
            for x, y in steps:
                if previous is not None and previous != (x, y):
                    drawn[parcel].add(frozenset((previous, (x, y))))
                previous = (x, y)

    missing = extra = 0
    for parcel in sorted(set(expected) | set(drawn)):
        lacking = expected[parcel] - drawn[parcel]
        surplus = drawn[parcel] - expected[parcel]
        missing += len(lacking)
        extra += len(surplus)
        for segment in lacking:
            print("parcel %s: the drawing lacks %s" % (parcel, sorted(segment)))
        for segment in surplus:
            print("parcel %s: the drawing adds %s" % (parcel, sorted(segment)))
    total = sum(len(s) for s in expected.values())
    print("%d parcels, %d segments in the file; %d missing from the drawing, %d drawn that the "
          "file does not hold" % (len(expected), total, missing, extra))
    return 1 if missing or extra else 0


if __name__ == "__main__":
    sys.exit(main())
