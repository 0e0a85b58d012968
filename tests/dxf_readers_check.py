"""Reads a DXF drawing back with two real readers and holds it against the
SVG drawing of the same file.

    dxf_readers_check.py DRAWING.svg DRAWING.dxf

ezdxf (Debian's python3-ezdxf) reads the DXF and its auditor must report no
error and fix nothing. GDAL's DXF driver (ogr2ogr, from gdal-bin) reads
every entity back: per layer, the polylines, lines, texts and inserts must
be as many as the SVG's subpaths (of two points or more), arrow lines,
texts and uses, and each polyline's vertices the SVG subpath's points, to
the two decimals written (the ends only where a subpath has arcs, which
GDAL draws as many short segments). ezdxf's entities are held against the
SVG's elements one by one: each polyline's vertices, each arc's middle
worked out from its bulge against the SVG arc's (within 0.005), each
text's content, place and angle, each insert's block, place and angle.
Exit status 1 with what differs.
"""
import csv
import math
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from collections import defaultdict

import ezdxf

SVG = "{http://www.w3.org/2000/svg}"
NUMBER = r"-?\d+\.\d\d|-?nan|-?inf"


def svg_layers(path):
    """Per layer: subpaths (point lists, arcs flagged), lines, texts, uses."""
    layers = defaultdict(lambda: {"polylines": [], "lines": 0, "texts": 0, "inserts": 0})
    for group in ElementTree.parse(path).getroot().iter(SVG + "g"):
        layer = layers[group.get("layer")]
        for element in group:
            tag = element.tag[len(SVG):]
            if tag == "path":
                for subpath in re.split(r"Z?\s*M\s*", element.get("d")):
                    points = re.findall(r"(%s),(%s)" % (NUMBER, NUMBER), subpath)
                    closed = subpath.rstrip().endswith("Z")
                    if len(points) >= 2 and not (closed and len(points) == 2):
                        layer["polylines"].append((points, " A " in " " + subpath))
            elif tag == "line":
                layer["lines"] += 1
            elif tag == "text":
                layer["texts"] += 1
            elif tag == "use":
                layer["inserts"] += 1
    return layers


def gdal_layers(path):
    kinds = {"AcDbPolyline": "polylines", "AcDbLine": "lines", "AcDbText": "texts",
             "AcDbBlockReference": "inserts"}
    layers = defaultdict(lambda: {"polylines": [], "lines": 0, "texts": 0, "inserts": 0})
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "csv")
        subprocess.run(["ogr2ogr", "--config", "DXF_INLINE_BLOCKS", "FALSE", "-f", "CSV", out,
                        path, "-lco", "GEOMETRY=AS_WKT"], check=True, capture_output=True)
        with open(os.path.join(out, "entities.csv"), encoding="utf-8") as rows:
            for row in csv.DictReader(rows):
                kind = kinds[row["SubClasses"].split(":")[-1]]
                layer = layers[row["Layer"]]
                if kind == "polylines":
                    coordinates = re.findall(r"(-?[\d.]+) (-?[\d.]+)", row["WKT"])
                    layer[kind].append([("%.2f" % float(x), "%.2f" % float(y))
                                        for x, y in coordinates])
                else:
                    layer[kind] += 1
    return layers


def svg_elements(path):
    """Per layer, in order: each subpath's vertices (the step to a vertex an
    arc (r, large, sweep) or None), each line's ends, each text's content,
    place and angle, each use's symbol, place and angle."""
    layers = defaultdict(list)
    for group in ElementTree.parse(path).getroot().iter(SVG + "g"):
        items = layers[group.get("layer")]
        for element in group:
            tag = element.tag[len(SVG):]
            turn = re.search(r"rotate\((%s)" % r"-?[\d.]+", element.get("transform") or "")
            angle = float(turn.group(1)) if turn else 0.0
            if tag == "path":
                tokens = re.findall(r"M|Z|A ([\d.]+),[\d.]+ 0 (\d),(\d)|(%s),(%s)" % (NUMBER, NUMBER),
                                    element.get("d"))
                subpath, arc = None, None
                for radius, large, sweep, x, y in tokens:
                    if x:
                        subpath.append(((float(x), float(y)), arc))
                        arc = None
                    elif radius:
                        arc = (float(radius), large == "1", sweep == "1")
                    elif subpath is None or subpath:
                        subpath = []
                        items.append(("polyline", subpath))
                items[:] = [item for item in items if item[0] != "polyline" or len(item[1]) >= 2]
            elif tag == "line":
                items.append(("line", tuple(float(element.get(k)) for k in ("x1", "y1", "x2", "y2"))))
            elif tag == "text":
                items.append(("text", element.text or "", float(element.get("x")),
                              float(element.get("y")), angle))
            elif tag == "use":
                items.append(("insert", element.get("{http://www.w3.org/1999/xlink}href")[1:],
                              float(element.get("x")), float(element.get("y")), angle))
    return layers


def arc_middle(start, end, radius, large, sweep):
    """The middle of the SVG arc from start to end (its endpoint form)."""
    (x1, y1), (x2, y2) = start, end
    hx, hy = (x1 - x2) / 2, (y1 - y2) / 2
    half = math.hypot(hx, hy)
    radius = max(radius, half)
    along = math.sqrt(max(0.0, radius * radius - half * half)) / half if half else 0.0
    sign = 1.0 if large != sweep else -1.0
    cx, cy = sign * along * hy + (x1 + x2) / 2, -sign * along * hx + (y1 + y2) / 2
    a1 = math.atan2(y1 - cy, x1 - cx)
    turn = math.atan2(y2 - cy, x2 - cx) - a1
    if sweep and turn < 0:
        turn += 2 * math.pi
    if not sweep and turn > 0:
        turn -= 2 * math.pi
    if large and abs(turn) < math.pi:
        turn += 2 * math.pi if sweep else -2 * math.pi
    return cx + radius * math.cos(a1 + turn / 2), cy + radius * math.sin(a1 + turn / 2)


def bulge_middle(start, end, bulge):
    """The middle of a DXF polyline's arc from start to end: the chord's
    middle moved off the chord by the sagitta, to the right of the chord's
    direction for a positive bulge (an arc against the clock)."""
    dx, dy = end[0] - start[0], end[1] - start[1]
    return ((start[0] + end[0]) / 2 + bulge / 2 * dy, (start[1] + end[1]) / 2 - bulge / 2 * dx)


def shown(text):
    """A DXF text as a CAD program shows it: "%%%" is a percent sign."""
    return text.replace("%%%", "%")


def dxf_problems(doc, svg):
    """Each layer's entities against the SVG's elements, one by one."""
    problems = []
    drawn = defaultdict(list)
    for entity in doc.modelspace():
        drawn[entity.dxf.layer].append(entity)
    near = lambda a, b: abs(a - b) <= 0.005
    for name, items in svg_elements(svg).items():
        entities = drawn.get(name, [])
        if len(entities) != len(items):
            problems.append("%s: %d elements in the SVG, %d entities in the DXF" %
                            (name, len(items), len(entities)))
            continue
        for k, (item, entity) in enumerate(zip(items, entities)):
            where = "%s: element %d (%s)" % (name, k, item[0])
            kind = entity.dxftype()
            if item[0] == "polyline":
                vertices = [(x, y, b) for x, y, _, _, b in entity.get_points("xyseb")]
                points = [point for point, _ in item[1]]
                if entity.closed and points[-1] == points[0] and len(points) > 2:
                    points = points[:-1]
                if kind != "LWPOLYLINE" or len(vertices) != len(points):
                    problems.append("%s: %s of %d vertices, %d points" %
                                    (where, kind, len(vertices), len(points)))
                    continue
                for j, ((x, y, bulge), point) in enumerate(zip(vertices, points)):
                    if not (near(x, point[0]) and near(y, point[1])):
                        problems.append("%s: vertex %d at %s, the SVG's at %s" %
                                        (where, j, (x, y), point))
                for j, (point, arc) in enumerate(item[1]):
                    if j == 0:
                        continue
                    start, end = item[1][j - 1][0], point
                    bulge = vertices[j - 1][2]
                    if arc is None and bulge != 0:
                        problems.append("%s: a bulge %g where the SVG is straight" % (where, bulge))
                    elif arc is not None:
                        want = arc_middle(start, end, *arc)
                        got = bulge_middle(start, end, bulge)
                        if math.dist(want, got) > 0.005:
                            problems.append("%s: an arc's middle at %s, the SVG's at %s" %
                                            (where, got, want))
            elif item[0] == "line":
                ends = (entity.dxf.start.x, entity.dxf.start.y, entity.dxf.end.x, entity.dxf.end.y)
                if kind != "LINE" or not all(near(a, b) for a, b in zip(ends, item[1])):
                    problems.append("%s: %s %s, the SVG's %s" % (where, kind, ends, item[1]))
            elif item[0] == "text":
                place = entity.dxf.align_point if entity.dxf.hasattr("align_point") else entity.dxf.insert
                content = shown(entity.dxf.text)
                expected = "".join("\ufffd" if ord(c) < 32 else c for c in item[1])
                if kind != "TEXT" or not expected.startswith(content) or not content or \
                        not (near(place.x, item[2]) and near(place.y, item[3])) or \
                        not near(entity.dxf.get("rotation", 0.0), item[4]):
                    problems.append("%s: %s %r at %s turned %s, the SVG's %r at %s turned %s" %
                                    (where, kind, content, (place.x, place.y),
                                     entity.dxf.get("rotation", 0.0), expected, item[2:4], item[4]))
            elif item[0] == "insert":
                if kind != "INSERT" or entity.dxf.name != item[1] or \
                        not (near(entity.dxf.insert.x, item[2]) and near(entity.dxf.insert.y, item[3])) or \
                        not near(entity.dxf.get("rotation", 0.0), item[4]):
                    problems.append("%s: %s %s, the SVG's %s" % (where, kind, entity.dxf.get("name"),
                                                                 item[1:]))
    return problems


def main():
    svg, dxf = sys.argv[1], sys.argv[2]
    problems = []
    doc = ezdxf.readfile(dxf)
    auditor = doc.audit()
    problems += ["ezdxf: error %s" % error for error in auditor.errors]
    problems += ["ezdxf: fixed %s" % fix for fix in auditor.fixes]

    problems += dxf_problems(doc, svg)
    expected = svg_layers(svg)
    read = gdal_layers(dxf)
    for name in sorted(set(expected) | set(read)):
        want, got = expected[name], read[name]
        for kind in ("lines", "texts", "inserts"):
            if want[kind] != got[kind]:
                problems.append("%s: %d %s in the SVG, %d read by GDAL" %
                                (name, want[kind], kind, got[kind]))
        if len(want["polylines"]) != len(got["polylines"]):
            problems.append("%s: %d subpaths in the SVG, %d polylines read by GDAL" %
                            (name, len(want["polylines"]), len(got["polylines"])))
            continue
        for k, ((points, arcs), vertices) in enumerate(zip(want["polylines"], got["polylines"])):
            points = [(x.replace("-0.00", "0.00"), y.replace("-0.00", "0.00")) for x, y in points]
            vertices = [(x.replace("-0.00", "0.00"), y.replace("-0.00", "0.00")) for x, y in vertices]
            same = (points[0] == vertices[0] and points[-1] == vertices[-1]) if arcs else points == vertices
            if not same:
                problems.append("%s: polyline %d has %s, the SVG %s" %
                                (name, k, vertices[:4], points[:4]))
    for problem in problems[:20]:
        print(problem)
    polylines = sum(len(layer["polylines"]) for layer in read.values())
    print("%s: %d polylines, %d texts, %d inserts read back; %d problems" %
          (os.path.basename(dxf), polylines, sum(layer["texts"] for layer in read.values()),
           sum(layer["inserts"] for layer in read.values()), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
