"""Reads a DXF drawing back with two real readers and holds it against the
SVG drawing of the same file.

    dxf_readers_check.py DRAWING.svg DRAWING.dxf

ezdxf (Debian's python3-ezdxf) reads the DXF and its auditor must report no
error and fix nothing. GDAL's DXF driver (ogr2ogr, from gdal-bin) reads
every entity back: per layer, the polylines, lines, texts and inserts must
be as many as the SVG's subpaths (of two points or more), arrow lines,
texts and uses, and each polyline's vertices the SVG subpath's points, to
the two decimals written (the ends only where a subpath has arcs, which
GDAL draws as many short segments). Exit status 1 with what differs.
"""
import csv
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


def main():
    svg, dxf = sys.argv[1], sys.argv[2]
    problems = []
    doc = ezdxf.readfile(dxf)
    auditor = doc.audit()
    problems += ["ezdxf: error %s" % error for error in auditor.errors]
    problems += ["ezdxf: fixed %s" % fix for fix in auditor.fixes]

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
