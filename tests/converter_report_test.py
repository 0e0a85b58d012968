"""The converter as a user sees it: its summary lines word for word, its
exit status, and its report read with a JSON parser and compared field by
field, on small files written here, with every value worked out by hand
(a point given as Y, X in the file is drawn at -Y, -X).

    converter_report_test.py VORLANE
"""
import json
import os
import subprocess
import sys
import tempfile

VORLANE = os.path.abspath(sys.argv[1])
failures = 0


def check(what, got, expected):
    global failures
    if got == expected:
        print("ok: " + what)
    else:
        failures += 1
        print("FAILED: %s\n  got      %r\n  expected %r" % (what, got, expected))


def run(folder, *args):
    """The converter's exit status, its standard error and its report."""
    done = subprocess.run([VORLANE, "--quiet", "--report", "report.json", *args], cwd=folder,
                          capture_output=True)
    report = None
    if os.path.exists(os.path.join(folder, "report.json")):
        with open(os.path.join(folder, "report.json"), encoding="utf-8") as file:
            report = json.load(file)
    return done.returncode, done.stderr.decode("utf-8"), report


SOBR = "&BSOBR;ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
SBP = "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30;OB_ID N30\n"
HP = "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n"
OP = "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
OB = "&BOB;ID N30;BUD_ID N30;OBRBUD_TYPE T10\n"


def area(copies):
    """"copies" times: a closed triangle parcel and an open one (one line of
    two points) with a number without a position, and an open building of
    three points. Copy k uses points 10k+1 to 10k+4, at Y 10k+10.., X 20.."""
    points, links, lines, labels, outlines = [], [], [], [], []
    for k in range(copies):
        p = [10 * k + n for n in (1, 2, 3, 4)]
        y = 10 * k + 10
        points += ["&DSOBR;%d;%d;20\n" % (p[0], y), "&DSOBR;%d;%d;20\n" % (p[1], y + 1),
                   "&DSOBR;%d;%d;21\n" % (p[2], y + 1), "&DSOBR;%d;%d;20\n" % (p[3], y + 2)]
        closed, opened, outline = 100 + 3 * k, 101 + 3 * k, 102 + 3 * k
        links += ["&DSBP;%d;%d;%d;\n" % (p[i], i + 1, closed) for i in range(3)]
        links += ["&DSBP;%d;4;%d;\n" % (p[0], closed)]
        links += ["&DSBP;%d;1;%d;\n" % (p[1], opened), "&DSBP;%d;2;%d;\n" % (p[3], opened)]
        links += ["&DSBP;%d;%d;;%d\n" % (p[i], i + 1, outline) for i in range(3)]
        lines += ["&DHP;%d;0;%d;\n" % (closed, 70 + 2 * k), "&DHP;%d;0;%d;\n" % (opened, 71 + 2 * k)]
        labels += ['&DOP;%d;"PC";0;"%d";%d;20\n' % (70 + 2 * k, 70 + 2 * k, y),
                   '&DOP;%d;"PC";0;"%d";;\n' % (71 + 2 * k, 71 + 2 * k)]
        outlines += ['&DOB;%d;%d;"OB"\n' % (outline, 300 + k)]
    return SOBR + "".join(points) + SBP + "".join(links) + HP + "".join(lines) + OP + \
        "".join(labels) + OB + "".join(outlines)


def write(folder, name, text, encoding="utf-8"):
    with open(os.path.join(folder, name), "wb") as file:
        file.write(text.encode(encoding) if isinstance(text, str) else text)


with tempfile.TemporaryDirectory() as work:
    # One of each: the singular of every word.
    write(work, "one.vfk", area(1) + "&K\n")
    status, err, report = run(work, "one.vfk")
    check("one of each: exit status", status, 0)
    check("one of each: the summary line", err,
          "vorlane: wrote one.svg: 1 parcel, 1 building; 1 parcel with an open border, "
          "1 building with an open outline, 1 text without a position\n")
    conversion = report["conversions"][0]
    check("the report's status and drawing", (conversion["status"], conversion["drawing"]),
          ("written", "one.svg"))
    check("the input was read whole, to its end",
          {key: conversion["inputs"][0][key] for key in ("path", "read", "endRecord")},
          {"path": "one.vfk", "read": True, "endRecord": True})
    # The triangle's ring 1 2 3 1 has three segments; all four numbers are
    # drawn, the one without a position at 0 0.
    layers = conversion["layers"]
    check("what the layers hold",
          (layers["VL_hranice_parcel"], layers["VL_text_parcel"]["texts"],
           layers["VL_hranice_budov"]["paths"]),
          ({"paths": 1, "segments": 3, "texts": 0, "symbols": 0, "arrows": 0}, 2, 1))
    findings = conversion["findings"]
    check("each finding, its ids and places", findings, [
        {"kind": "labelWithoutPosition", "label": "parcelNumber", "ids": ["71"]},
        {"kind": "openBorder", "of": "parcel", "ids": ["71"],
         "places": [[-11.0, -20.0], [-12.0, -20.0]]},
        {"kind": "openBorder", "of": "building", "ids": ["300"],
         "places": [[-10.0, -20.0], [-11.0, -21.0]]}])
    check("the counts of findings", {k: v for k, v in conversion["findingCounts"].items() if v},
          {"openBorder": 2, "labelWithoutPosition": 1})

    # Two of each, a line of two gaps in its ordinals, and two rows that
    # cannot be used: a point no SOBR row defines, an ordinal that is none.
    gaps = "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\n" \
           "&DSBP;1;1;900\n&DSBP;2;3;900\n&DSBP;3;5;900\n&DSBP;99;1;901\n&DSBP;1;x;902\n" \
           + HP + "&DHP;900;0;90;\n"
    write(work, "two.vfk", area(2) + gaps + "&K\n")
    status, err, report = run(work, "two.vfk")
    check("two of each: the plurals", err,
          "vorlane: wrote two.svg: 2 parcels, 2 buildings; 2 parcels with open borders, "
          "2 buildings with open outlines, 2 texts without a position, 2 missing points, "
          "2 rows dropped\n")
    conversion = report["conversions"][0]
    check("missing points: where in their line, and the parcels beside it",
          [f for f in conversion["findings"] if f["kind"] == "missingPoint"],
          [{"kind": "missingPoint", "line": "parcelBoundary", "position": 1, "ids": ["90", ""]},
           {"kind": "missingPoint", "line": "parcelBoundary", "position": 3, "ids": ["90", ""]}])
    check("rows dropped: why, their block and line",
          [(f["reason"], f["block"], f["line"]) for f in conversion["findings"]
           if f["kind"] == "rowDropped"],
          [("unknownPoint", "SBP", 46), ("badOrdinal", "SBP", 47)])

    # No parcel at all.
    write(work, "none.vfk", SOBR + "&DSOBR;1;1;1\n&DSOBR;2;2;1\n&DSOBR;3;2;2\n" + SBP +
          "&DSBP;1;1;;5\n&DSBP;2;2;;5\n&DSBP;3;3;;5\n&DSBP;1;4;;5\n" + OB + '&DOB;5;300;"OB"\n&K\n')
    check("no parcel: \"0 parcels\"", run(work, "none.vfk")[1],
          "vorlane: wrote none.svg: 0 parcels, 1 building\n")

    # One finding more than a report keeps of a kind: 1001 rows before any
    # block definition. Nothing to draw, so the run fails.
    write(work, "many.vfk", "&HVERZE;\"5.1\"\n" + "&DSOBR;1;1;1\n" * 1001 + "&K\n")
    status, err, report = run(work, "many.vfk")
    conversion = report["conversions"][0]
    check("1001 rows dropped: counted in full", conversion["findingCounts"]["rowDropped"], 1001)
    check("and the first 1000 listed, as many as the report says it keeps",
          (len(conversion["findings"]), report["keptPerKind"]), (1000, 1000))
    check("a file with nothing to draw fails the run", (status, conversion["status"]),
          (1, "empty"))
    check("and says so", err, "vorlane: warning: many.vfk: nothing to draw (no parcel, building, "
          "line, text or symbol); many.svg is an empty drawing; 1001 rows dropped\n")

    # Identifiers with a backslash, a quote, a control byte and a byte that
    # is no UTF-8 (identifiers are kept as the file has them).
    odd = b'a\\b"c\x01\x98'
    write(work, "odd.vfk", (SOBR + "&DSOBR;1;1;1\n&DSOBR;2;2;1\n" +
                            "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\n" +
                            "&DSBP;1;1;5\n&DSBP;2;2;5\n" + HP).encode() +
          b"&DHP;5;0;" + odd + b";\n&K\n")
    status, err, report = run(work, "odd.vfk")
    check("the report is JSON whatever the ids hold",
          report["conversions"][0]["findings"][0]["ids"], ['a\\b"c\x01\ufffd'])

    # A file cut short: read to its end, which lacks &K; a missing file.
    write(work, "cut.vfk", area(1))
    status, err, report = run(work, "cut.vfk", "missing.vfk")
    inputs = [conversion["inputs"][0] for conversion in report["conversions"]]
    check("a file cut short is read, without its end record",
          (inputs[0]["read"], inputs[0]["endRecord"]), (True, False))
    check("a missing file is not read, and why",
          {key: inputs[1][key] for key in ("path", "read", "failure")},
          {"path": "missing.vfk", "read": False, "failure": "No such file or directory"})
    check("either fails the run", status, 1)

    # Options with bad values are usage errors.
    for args, message in [
            (["--jobs", "0", "one.vfk"], '--jobs needs a number of files from 1 on, not "0"'),
            (["-j", "-1", "one.vfk"], '--jobs needs a number of files from 1 on, not "-1"'),
            (["--format", "pdf", "one.vfk"], None), (["--units", "x", "one.vfk"], None),
            (["one.vfk", "--report"], None), (["one.vfk", "--layers"], None)]:
        done = subprocess.run([VORLANE, *args], cwd=work, capture_output=True)
        err = done.stderr.decode()
        ok = done.returncode == 2 and err.startswith("vorlane: ") and \
            (message is None or message in err)
        check("%s is refused as a usage error" % " ".join(args), ok, True)

sys.exit(1 if failures else 0)
