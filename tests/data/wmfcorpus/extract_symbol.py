#!/usr/bin/env python3
"""Writes one <symbol> of an Inkscape symbol library as a standalone SVG.

usage: extract_symbol.py LIBRARY.svg SYMBOL_ID OUT.svg
The symbol's content goes into a group that keeps the library's root style;
the page is then fitted to the group's bounding box (asked of inkscape)."""
import subprocess, sys, xml.etree.ElementTree as ET

SVG = "http://www.w3.org/2000/svg"
ET.register_namespace("", SVG)
ET.register_namespace("xlink", "http://www.w3.org/1999/xlink")
lib, sym_id, out = sys.argv[1:4]
root = ET.parse(lib).getroot()
sym = next(e for e in root.iter("{%s}symbol" % SVG) if e.get("id") == sym_id)
svg = ET.Element("{%s}svg" % SVG, {"version": "1.1", "width": "100", "height": "100"})
for defs in root.iter("{%s}defs" % SVG):
    for sub in [e for e in defs if e.tag == "{%s}symbol" % SVG]:
        defs.remove(sub)
    svg.append(defs)
g = ET.SubElement(svg, "{%s}g" % SVG, {"id": "symbol", "style": root.get("style", "")})
for child in list(sym):
    if child.tag not in ("{%s}title" % SVG, "{%s}desc" % SVG):
        g.append(child)
ET.ElementTree(svg).write(out, xml_declaration=True, encoding="utf-8")
x, y, w, h = (float(v) for v in subprocess.run(
    ["inkscape", out, "--query-id=symbol", "-X", "-Y", "-W", "-H"],
    capture_output=True, text=True, check=True).stdout.split())
m = max(w, h) * 0.02
svg.set("viewBox", "%g %g %g %g" % (x - m, y - m, w + 2 * m, h + 2 * m))
svg.set("width", "%gpx" % (w + 2 * m))
svg.set("height", "%gpx" % (h + 2 * m))
ET.ElementTree(svg).write(out, xml_declaration=True, encoding="utf-8")
