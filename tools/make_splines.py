#!/usr/bin/env python3
"""Writes the engine's own sample splines into data/Splines/.

splines.spl  a spline file (root "SPLINES", one "SPLINE" element per spline):
  "Quadrat"  a loop of four points on a square of side 200 with Catmull-Rom positions and
             linear user data
  "Bogen"    an open arc of five points with a "DEFAULT" point, a "PARAM_GROUP", flags and a
             look-ahead frame ("LINEAR+")
  "Welle"    the open shape "Welle" of shapes.ase, scaled and displaced
  "Ring"     the closed shape "Ring" of shapes.ase with its interpolated vertices, as a loop
  "Mitte"    the average of two straight lines
shapes.ase  ASE text with two shape objects, "Welle" (five knots) and "Ring" (four knots and
            four interpolated vertices), each knot on a line of its own.

All points are computed here from simple formulas, so the output is the same on every run.
Usage: tools/make_splines.py [output folder]   (default: data/Splines in this repo)
"""
import math
import os
import sys
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line


def fmt(v):
    return ("%.4f" % v).rstrip("0").rstrip(".") if v != int(v) else str(int(v))


def spline_file():
    out = ["<SPLINES>"]
    out.append('\t<SPLINE NAME="Quadrat" LOOP="1">')
    out.append('\t\t<DEFAULT>')
    out.append('\t\t\t<INTERPOL_TYPE TYPE="CATMULL" DATA="POS"/>')
    out.append('\t\t\t<INTERPOL_TYPE TYPE="LINEAR" DATA="USERDATA"/>')
    out.append('\t\t</DEFAULT>')
    for i, (x, y) in enumerate([(0, 0), (200, 0), (200, 200), (0, 200)]):
        out.append('\t\t<CONTROLPOINT POSITION="%s %s 0" USERDATA="%d 1 1 1"/>' % (x, y, i))
    out.append('\t</SPLINE>')

    out.append('\t<SPLINE NAME="Bogen" AVERAGE="1">')
    out.append('\t\t<DEFAULT USERDATA="0.5 0.5 0.5 1">')
    out.append('\t\t\t<FLAG><SET>"|1|"</SET></FLAG>')
    out.append('\t\t\t<INTERPOL_TYPE TYPE="LINEAR+" PARAM="0.1" DATA="POS DIR NORM BINORM"/>')
    out.append('\t\t</DEFAULT>')
    for i in range(5):
        a = math.pi * i / 4.0
        out.append('\t\t<CONTROLPOINT POSITION="%s %s"/>' % (fmt(400 + 300 * math.cos(a)), fmt(300 - 200 * math.sin(a))))
    out.append('\t\t<PARAM_GROUP CONTROL_POINTS="0 4">')
    out.append('\t\t\t<FLAG><SET>"|5|"</SET><UNSET>"|1|"</UNSET></FLAG>')
    out.append('\t\t</PARAM_GROUP>')
    out.append('\t</SPLINE>')

    out.append('\t<SPLINE NAME="Welle" CREATE_FROM_ASE="data\\Splines\\shapes.ase" USE_SHAPE="Welle" '
               'ASE_FAKTOR="2 2 1" ASE_DISPLACE="100 50 0"/>')
    out.append('\t<SPLINE NAME="Ring" LOOP="1" CREATE_FROM_ASE="data\\Splines\\shapes.ase" USE_SHAPE="Ring" '
               'LOAD_INTERP_TOO="1">')
    out.append('\t\t<DEFAULT USERDATA="0 0 0 1"/>')
    out.append('\t</SPLINE>')

    out.append('\t<SPLINE NAME="Mitte">')
    out.append('\t\t<AVERAGE NUMPTS="1" SAVE_DIST="1" DIST_SCALE="2">')
    out.append('\t\t\t<SPLINE1><CONTROLPOINT POSITION="0 0 0"/><CONTROLPOINT POSITION="100 0 0"/>'
               '<CONTROLPOINT POSITION="200 0 0"/></SPLINE1>')
    out.append('\t\t\t<SPLINE2><CONTROLPOINT POSITION="0 100 0"/><CONTROLPOINT POSITION="100 100 0"/>'
               '<CONTROLPOINT POSITION="200 100 0"/></SPLINE2>')
    out.append('\t\t</AVERAGE>')
    out.append('\t</SPLINE>')
    out.append("</SPLINES>")
    return "\r\n".join(out) + "\r\n"


def shape(name, closed, knots, interpolated):
    lines = ['*SHAPEOBJECT {', '\t*NODE_NAME "%s"' % name, '\t*NODE_TM {', '\t\t*NODE_NAME "%s"' % name,
             '\t\t*TM_POS 0.0000\t0.0000\t0.0000', '\t}', '\t*SHAPE_LINECOUNT 1', '\t*SHAPE_LINE 0 {']
    if closed:
        lines.append('\t\t*SHAPE_CLOSED')
    vertices = []
    for i, p in enumerate(knots):
        vertices.append(('KNOT', p))
        if interpolated:
            vertices.append(('INTERP', interpolated[i]))
    lines.append('\t\t*SHAPE_VERTEXCOUNT %d' % len(vertices))
    for index, (kind, (x, y, z)) in enumerate(vertices):
        lines.append('\t\t*SHAPE_VERTEX_%s\t%d\t%.4f\t%.4f\t%.4f' % (kind, index, x, y, z))
    lines += ['\t}', '}']
    return lines


def ase_file():
    lines = ['*COMMENT "Orvex sample shapes"', '*SCENE {', '\t*SCENE_FIRSTFRAME 0', '}']
    welle = [(i * 50.0, 0.0, 40.0 * math.sin(i * math.pi / 2)) for i in range(5)]
    lines += shape("Welle", False, welle, None)
    ring = [(100.0 * math.cos(a), 100.0 * math.sin(a), 10.0) for a in (0, math.pi / 2, math.pi, 3 * math.pi / 2)]
    mids = [(70.7107 * math.cos(a), 70.7107 * math.sin(a), 10.0)
            for a in (math.pi / 4, 3 * math.pi / 4, 5 * math.pi / 4, 7 * math.pi / 4)]
    lines += shape("Ring", True, ring, mids)
    return "\r\n".join(lines) + "\r\n"


def main():
    args = command_line.arguments(__doc__, 1)
    folder = args[0] if args else os.path.join(os.path.dirname(__file__), "..", "data", "Splines")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "splines.spl"), "w", newline="") as f:
        f.write(spline_file())
    with open(os.path.join(folder, "shapes.ase"), "w", newline="") as f:
        f.write(ase_file())


if __name__ == "__main__":
    main()
