#!/usr/bin/env python3
"""Copies the command pictures named in shell/frame/commandicons.cpp from
Debian's breeze-icon-theme (22-pixel actions, mimetypes and devices) into this
folder and writes icons.qrc. Run from anywhere after
`apt-get install breeze-icon-theme`:  python3 resources/icons/copy_icons.py
"""
import pathlib
import re
import shutil

here = pathlib.Path(__file__).resolve().parent
table = (here.parent.parent / "shell" / "frame" / "commandicons.cpp").read_text()
names = re.findall(r'\{\d+, "([^"]+)"\}', table) + re.findall(r'kPanelPicture\[\] = "([^"]+)"', table)
theme = pathlib.Path("/usr/share/icons/breeze")
for old in here.glob("*.svg"):
    old.unlink()
for name in names:
    for kind in ("actions", "mimetypes", "devices"):
        source = theme / kind / "22" / (name + ".svg")
        if source.exists():
            shutil.copyfile(source.resolve(), here / (name + ".svg"))
            break
    else:
        raise SystemExit("no picture " + name)
rows = "\n".join('    <file alias="icons/%s.svg">%s.svg</file>' % (n, n) for n in sorted(set(names)))
(here / "icons.qrc").write_text('<RCC>\n  <qresource prefix="/vsl">\n' + rows + "\n  </qresource>\n</RCC>\n")
