#!/usr/bin/env python3
"""Prints a contact-sheet SVG that inlines every icon at 16, 24 and 64 px
(or, with argument "zoom", at 96 px only). Viewing aid only."""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, "..", "icons")

zoom = len(sys.argv) > 1 and sys.argv[1] == "zoom"
names = sorted(n[:-4] for n in os.listdir(ICONS) if n.endswith(".svg") and n != "app.svg")
cols = 8 if zoom else 6
cw, ch = (130, 135) if zoom else (170, 110)
rows = (len(names) + cols - 1) // cols
W, H = cols * cw + 20, rows * ch + 20
out = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
       % (W, H, W, H), '<rect width="%d" height="%d" fill="#ffffff"/>' % (W, H)]
for i, n in enumerate(names):
    body = open(os.path.join(ICONS, n + ".svg"), encoding="utf-8").read()
    inner = re.sub(r"^.*?<svg[^>]*>", "", body, flags=re.S).replace("</svg>", "")
    x, y = 10 + (i % cols) * cw, 10 + (i // cols) * ch
    sizes = [(96, 0)] if zoom else [(16, 0), (24, 24), (64, 56)]
    for s, dx in sizes:
        out.append('<svg x="%d" y="%d" width="%d" height="%d" viewBox="0 0 24 24">%s</svg>'
                   % (x + dx, y + (10 if s != 64 else 0), s, s, inner))
    out.append('<text x="%d" y="%d" font-family="sans-serif" font-size="11" fill="#555">%s</text>'
               % (x, y + ch - 22, n))
out.append("</svg>")
print("\n".join(out))
