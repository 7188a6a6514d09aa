#!/usr/bin/env python3
"""Writes the document fixtures of this folder with Python's own property-list writer.

other_writer.{xml,bin}.Kaleidra2D  a complete picture written by a different writer: must open.
hostile_*.Kaleidra2D               documents the reader must refuse with nothing changed.
Run it again after changing it; the files are committed.
"""
import math
import os
import plistlib

HERE = os.path.dirname(os.path.abspath(__file__))

IDENTITY = [1.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0]


def base():
    d = {"signature": "tilemakr", "identifier": "Kaleidra", "version": "2010",
         "geometry": 2, "generatorV": 7, "generatorE": 3, "generatorF": 2, "generatorType": 1,
         "lengthV": 0.2, "lengthE": 0.3, "lengthF": 0.5, "lengthStep": 0.25,
         "edgeSegments": 12, "groupOrder": 300, "spiralAngle": 2.0, "windowZoom": 2.0,
         "project3D2D": 2, "translateStep": 1 / 12, "mouseMode": 2,
         "selfMirrorEmphasis": 0, "polyTriEmphasis": 1}
    flags = ["uniformV", "uniformE", "uniformF", "mousePoints", "mouseColors",
             "polyFaceDraw", "polyEdgeDraw", "polyVertDraw", "triFaceDraw", "triEdgeDraw",
             "triVertDraw", "selfDraw", "mirrorDraw", "circleDraw", "originDraw", "windowDraw",
             "polyFaceVDraw", "polyFaceEDraw", "polyFaceFDraw", "polyEdgeEFDraw",
             "polyEdgeFVDraw", "polyEdgeVEDraw", "polyVertPosDraw", "polyVertNegDraw",
             "triFacePosDraw", "triFaceNegDraw", "triEdgeEFDraw", "triEdgeFVDraw",
             "triEdgeVEDraw", "triVertVDraw", "triVertEDraw", "triVertFDraw"]
    for f in flags:
        d[f] = "YES"
    colours = ["circleColor", "originColor", "windowColor", "polyFaceVColor", "polyFaceEColor",
               "polyFaceFColor", "polyEdgeEFColor", "polyEdgeFVColor", "polyEdgeVEColor",
               "polyVertPosColor", "polyVertNegColor", "triFacePosColor", "triFaceNegColor",
               "triEdgeEFColor", "triEdgeFVColor", "triEdgeVEColor", "triVertVColor",
               "triVertEColor", "triVertFColor"]
    for i, c in enumerate(colours):
        d[c] = [((i * 37) % 100) / 100, ((i * 59) % 100) / 100, ((i * 83) % 100) / 100]
    for fam in ["polyFace", "polyEdge", "polyVert", "triFace", "triEdge", "triVert"]:
        d[fam + "Scheme"] = 3
        d[fam + "Offset"] = 0.5
        d[fam + "Alpha"] = 0.5
        d[fam + "Thickness"] = 0.25
    for k in ["circle", "origin"]:
        d[k + "Alpha"] = 0.5
        d[k + "Thickness"] = 0.5
    d["windowAlpha"] = 1.0
    d["panelAlpha"] = 0.5
    d["pointMatrixInitial"] = IDENTITY
    d["pointMatrix"] = IDENTITY
    d["colorMatrix"] = IDENTITY
    d["polyColorVEF"] = [[0.25, 0.5, 0.75]] * 40
    return d


def write(name, d, fmt=plistlib.FMT_XML):
    with open(os.path.join(HERE, name), "wb") as f:
        plistlib.dump(d, f, fmt=fmt, sort_keys=False)


write("other_writer.xml.Kaleidra2D", base())
write("other_writer.bin.Kaleidra2D", base(), plistlib.FMT_BINARY)

hostile = {
    "generator_zero": ("generatorV", 0),
    "generator_one": ("generatorE", 1),
    "generator_huge": ("generatorF", 2**31 - 1),
    "length_nan": ("lengthV", math.nan),
    "length_negative": ("lengthE", -1.0),
    "segments_zero": ("edgeSegments", 0),
    "segments_billion": ("edgeSegments", 10**9),
    "group_order_billion": ("groupOrder", 10**9),
    "spiral_inf": ("spiralAngle", math.inf),
    "zoom_zero": ("windowZoom", 0.0),
    "matrix_nan": ("pointMatrix", [1.0, math.nan] + IDENTITY[2:]),
    "matrix_short": ("colorMatrix", [1.0, 1.0]),
    "matrix_zero": ("pointMatrixInitial", [1.0] + [0.0] * 9),
    "colour_wrong_type": ("circleColor", "red"),
    "colour_list_huge": ("triColorV", [[0.5, 0.5, 0.5]] * 5000),
    "integer_as_string": ("groupOrder", "200"),
    "version_2011": ("version", "2011"),
    "identifier_accent": ("identifier", "Kaléidra"),
}
for name, (key, value) in hostile.items():
    d = base()
    d[key] = value
    write("hostile_%s.Kaleidra2D" % name, d)

with open(os.path.join(HERE, "hostile_root_array.Kaleidra2D"), "wb") as f:
    plistlib.dump([1, 2, 3], f)
with open(os.path.join(HERE, "other_writer.xml.Kaleidra2D"), "rb") as f:
    whole = f.read()
with open(os.path.join(HERE, "hostile_truncated.Kaleidra2D"), "wb") as f:
    f.write(whole[: len(whole) // 2])
