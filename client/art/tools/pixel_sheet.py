#!/usr/bin/env python3
"""Prints an SVG that shows the 16 px and 24 px PNG renders enlarged 4x with
hard pixels, to judge small-size legibility. Viewing aid only."""
import os
HERE = os.path.dirname(os.path.abspath(__file__))
PRE = os.path.join(HERE, "..", "preview")
names = sorted(n[:-7] for n in os.listdir(os.path.join(PRE, "icons")) if n.endswith("_24.png"))
cols, cw, ch = 8, 130, 120
rows = (len(names) + cols - 1) // cols
W, H = cols * cw + 20, rows * ch + 20
o = ['<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
     'width="%d" height="%d"><rect width="%d" height="%d" fill="#fff"/>' % (W, H, W, H)]
for i, n in enumerate(names):
    x, y = 10 + (i % cols) * cw, 10 + (i // cols) * ch
    o.append('<image x="%d" y="%d" width="96" height="96" image-rendering="optimizeSpeed" '
             'xlink:href="icons/%s_24.png"/>' % (x, y, n))
    o.append('<text x="%d" y="%d" font-family="sans-serif" font-size="11" fill="#555">%s</text>'
             % (x, y + 108, n))
o.append('</svg>')
print("\n".join(o))
