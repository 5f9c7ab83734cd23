#!/usr/bin/env python3
"""Writes the Corvexa toolbar/menu icons (24x24) as plain SVG files.

Every shape below was drawn by hand for Corvexa. The script only wraps the
hand-written shapes into files so that the palette and stroke settings stay
identical across the set. Output: ../icons/<name>.svg
"""
import math
import os

R = "#B22222"   # deep red (primary)
G = "#D9A21B"   # warm gold (accent)
K = "#37474F"   # dark grey (outlines)
W = "#FFFFFF"   # white (fills)

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "icons")

HEAD = ('<?xml version="1.0" encoding="UTF-8"?>\n'
        '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
        'width="24" height="24" viewBox="0 0 24 24">\n'
        '<g fill="none" stroke="{K}" stroke-width="2" stroke-linecap="round" '
        'stroke-linejoin="round">\n').format(K=K)
TAIL = '</g>\n</svg>\n'


# ---------------------------------------------------------------- helpers
def p(d, fill="none", stroke=None, width=None, extra=""):
    s = '<path d="%s"' % d
    if fill != "none":
        s += ' fill="%s"' % fill
    if stroke:
        s += ' stroke="%s"' % stroke
    if width:
        s += ' stroke-width="%s"' % width
    return s + extra + '/>'


def c(cx, cy, r, fill="none", stroke=None, width=None):
    s = '<circle cx="%s" cy="%s" r="%s"' % (cx, cy, r)
    if fill != "none":
        s += ' fill="%s"' % fill
    if stroke:
        s += ' stroke="%s"' % stroke
    if width:
        s += ' stroke-width="%s"' % width
    return s + '/>'


def rect(x, y, w, h, rx=0, fill="none", stroke=None, width=None, extra=""):
    s = '<rect x="%s" y="%s" width="%s" height="%s"' % (x, y, w, h)
    if rx:
        s += ' rx="%s"' % rx
    if fill != "none":
        s += ' fill="%s"' % fill
    if stroke:
        s += ' stroke="%s"' % stroke
    if width:
        s += ' stroke-width="%s"' % width
    return s + extra + '/>'


def f(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def arrow(x1, y1, x2, y2, color=R, head=3.2, knock=False):
    """Straight arrow from (x1,y1) to (x2,y2), open chevron head."""
    dx, dy = x2 - x1, y2 - y1
    L = math.hypot(dx, dy)
    ux, uy = dx / L, dy / L
    px, py = -uy, ux
    a = (x2 - head * ux + head * px, y2 - head * uy + head * py)
    b = (x2 - head * ux - head * px, y2 - head * uy - head * py)
    d = "M%s %sL%s %sM%s %sL%s %sL%s %s" % (
        f(x1), f(y1), f(x2), f(y2), f(a[0]), f(a[1]), f(x2), f(y2), f(b[0]), f(b[1]))
    out = ""
    if knock:
        out += p(d, stroke=W, width=5) + "\n"
    return out + p(d, stroke=color)


def badge(cx, cy, sym, color=R):
    """Round badge at bottom right with a white ring that cuts it free."""
    out = c(cx, cy, 5.5, fill=color, stroke=W, width=1.5) + "\n"
    if sym == "plus":
        out += p("M%s %sv5M%s %sh5" % (f(cx), f(cy - 2.5), f(cx - 2.5), f(cy)), stroke=W)
    elif sym == "minus":
        out += p("M%s %sh5" % (f(cx - 2.5), f(cy)), stroke=W)
    elif sym == "check":
        out += p("M%s %sl1.8 1.8 3.4-3.6" % (f(cx - 2.6), f(cy + 0.1)), stroke=W)
    elif sym == "right":
        out += p("M%s %sh5M%s %sl2 2-2 2" % (f(cx - 2.6), f(cy), f(cx + 0.4), f(cy - 2)),
                 stroke=W)
    return out


def person(cx, body=R, head_r=3.6, top=3.5, bottom=21, half=6.5, dashed=False):
    """Head + rounded shoulders, centred on cx."""
    hy = top + head_r
    sy = hy + head_r + 2.2          # shoulder top line
    extra = ' stroke-dasharray="2.2 2"' if dashed else ""
    # rounded shoulders: width = 2*(half-1.5) + 3
    r = half - 1.5
    d = "M%s %sV%sa%s %s 0 0 1 %s %sh3a%s %s 0 0 1 %s %sV%sz" % (
        f(cx - half), f(bottom), f(sy + r), f(r), f(r), f(r), f(-r),
        f(r), f(r), f(r), f(r), f(bottom))
    out = p(d, fill=body, extra=extra) + "\n"
    out += ('<circle cx="%s" cy="%s" r="%s" fill="%s"%s/>' %
            (f(cx), f(hy), f(head_r), W, extra))
    return out


def doc(x1=5, y1=2.5, x2=19, y2=21.5, fold=4.5, fill=W):
    d = "M%s %sH%sL%s %sV%sH%sz" % (f(x1), f(y1), f(x2 - fold), f(x2), f(y1 + fold),
                                   f(y2), f(x1))
    fd = "M%s %sV%sH%s" % (f(x2 - fold), f(y1), f(y1 + fold), f(x2))
    return p(d, fill=fill) + "\n" + p(fd)


def sheet(x, y, w, h):
    """Spreadsheet: white sheet, gold header row, grid lines."""
    out = rect(x, y, w, h, 1.5, fill=W) + "\n"
    out += p("M%s %sV%sa1.5 1.5 0 0 1 1.5 -1.5H%sa1.5 1.5 0 0 1 1.5 1.5V%sz" % (
        f(x), f(y + 5), f(y + 1.5), f(x + w - 1.5), f(y + 5)), fill=G) + "\n"
    third = h - 5
    out += p("M%s %sH%sM%s %sV%s" % (
        f(x), f(y + 5 + third / 2), f(x + w), f(x + w / 2), f(y + 5), f(y + h)))
    return out


def magnifier(cx, cy, r, hx, hy, inner=W, handle=R):
    out = p("M%s %sL%s %s" % (f(cx + r * 0.72), f(cy + r * 0.72), f(hx), f(hy)),
            stroke=handle, width=2.6) + "\n"
    out += c(cx, cy, r, fill=inner)
    return out


def mortarboard(cx, cy, s=1.0, knock=False):
    """Graduate cap centred on the board (cx, cy)."""
    w, h = 6.5 * s, 3.0 * s
    board = "M%s %sL%s %sL%s %sL%s %sz" % (
        f(cx - w), f(cy), f(cx), f(cy - h), f(cx + w), f(cy), f(cx), f(cy + h))
    cap = "M%s %sv%sc0 1.2 1.9 2 %s 2s%s -.8 %s -2v-%s" % (
        f(cx - 3.6 * s), f(cy + 1.4 * s), f(2.2 * s), f(3.6 * s), f(3.6 * s),
        f(3.6 * s), f(2.2 * s))
    tassel = "M%s %sv%s" % (f(cx + w), f(cy), f(3.6 * s))
    out = ""
    if knock:
        out += p(cap, fill=W, stroke=W, width=4.5) + "\n"
        out += p(board, fill=W, stroke=W, width=4.5) + "\n"
    return (out + p(cap, fill=K) + "\n" + p(board, fill=K) + "\n" +
            p(tassel, stroke=G) + "\n")


def group(front=R, back=W):
    """Two people: one behind (right), one in front (left)."""
    out = ""
    # back person (right)
    out += p("M12 13.6a5 5 0 0 1 2.6 -.6h1.4a5 5 0 0 1 5 5v1.5h-5", fill=back) + "\n"
    out += c(15.6, 8, 3, fill=back) + "\n"
    # front person (left)
    out += p("M2 21v-1.5a5 5 0 0 1 5 -5h2a5 5 0 0 1 5 5V21z", fill=front) + "\n"
    out += c(8, 9.5, 3.2, fill=W)
    return out


def pencil_edit():
    return (p("M4 20l1-4L16 5l3 3L8 19z", fill=G) + "\n" +
            p("M14 7l3 3") + "\n" +
            p("M5 16l3 3") + "\n" +
            p("M4 20l.6-2.4 1.8 1.8z", fill=K))


# ---------------------------------------------------------------- icons
I = {}

I["new"] = doc(4, 2.5, 17, 21.5, 4.5) + "\n" + badge(17.5, 17.5, "plus")

I["delete"] = "\n".join([
    p("M6 7l1 13.2A1 1 0 0 0 8 21h8a1 1 0 0 0 1-.8L18 7", fill=W),
    p("M4 7h16"),
    p("M9 7V4.5a1 1 0 0 1 1-1h4a1 1 0 0 1 1 1V7"),
    p("M10 11v6M14 11v6", stroke=R),
])

I["edit"] = pencil_edit() + "\n" + p("M13 21h7", stroke=R)

I["save"] = "\n".join([
    p("M4 5a1 1 0 0 1 1-1h11.5L20 7.5V19a1 1 0 0 1-1 1H5a1 1 0 0 1-1-1z", fill=W),
    p("M8 4h7v5H8z", fill=R),
    p("M7 20v-6h10v6", fill=G),
])

I["cancel"] = "\n".join([
    p("M4.5 9.5h10a5 5 0 0 1 0 10H10", stroke=R),
    p("M8.5 5.5l-4 4 4 4", stroke=R),
])


def ring_arrow(a0, a1, r=7.5, cx=12, cy=12):
    """Clockwise arc from angle a0 to a1 (degrees, screen) with arrow head."""
    x0, y0 = cx + r * math.cos(math.radians(a0)), cy + r * math.sin(math.radians(a0))
    x1, y1 = cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1))
    d = "M%s %sA%s %s 0 0 1 %s %s" % (f(x0), f(y0), r, r, f(x1), f(y1))
    # tangent direction (clockwise on screen)
    tx, ty = -math.sin(math.radians(a1)), math.cos(math.radians(a1))
    px, py = -ty, tx
    hs = 3.2
    ax, ay = x1 - hs * tx + hs * px, y1 - hs * ty + hs * py
    bx, by = x1 - hs * tx - hs * px, y1 - hs * ty - hs * py
    hd = "M%s %sL%s %sL%s %s" % (f(ax), f(ay), f(x1), f(y1), f(bx), f(by))
    return p(d, stroke=R) + "\n" + p(hd, stroke=R)


I["refresh"] = ring_arrow(200, 330) + "\n" + ring_arrow(20, 150)

I["find"] = magnifier(10, 10, 6, 20, 20)

I["print"] = "\n".join([
    p("M7 8V3.5h10V8", fill=W),
    p("M7 17H4.5a1.5 1.5 0 0 1-1.5-1.5v-6A1.5 1.5 0 0 1 4.5 8h15a1.5 1.5 0 0 1 1.5 1.5v6a1.5 1.5 0 0 1-1.5 1.5H17",
      fill=W),
    p("M7 13.5h10V21H7z", fill=W),
    p("M9.5 16.5h5M9.5 18.8h3", stroke=R, width=1.5),
    c(17.5, 11, 1.1, fill=G, stroke="none"),
])

I["preview"] = "\n".join([
    doc(3.5, 2.5, 16, 20.5, 4),
    p("M6.5 9h4M6.5 12h3", stroke=R, width=1.5),
    magnifier(14.5, 14.5, 4, 20.5, 20.5),
])

I["export_excel"] = sheet(2, 3, 13, 18) + "\n" + arrow(10.5, 12, 21.5, 12, knock=True)
I["import_excel"] = sheet(9, 3, 13, 18) + "\n" + arrow(2.5, 12, 14.5, 12, knock=True)

I["export_word"] = "\n".join([
    doc(2.5, 2.5, 15.5, 21.5, 4),
    p("M5.2 7.5l1.2 4.5 1.6-3.3 1.6 3.3 1.2-4.5", stroke=R, width=1.6),
    arrow(9.5, 16.5, 21.5, 16.5, knock=True),
])

I["letter"] = "\n".join([
    rect(2, 5, 20, 14, 1.5, fill=W),
    p("M3 6.3l9 6.7 9-6.7"),
    c(12, 14.2, 2.6, fill=R, stroke=W, width=1.5),
])

I["receipt"] = "\n".join([
    rect(2, 4, 17, 12.5, 1.5, fill=W),
    p("M3 5.3l7.5 5.7 7.5-5.7"),
    badge(17.5, 17.5, "check"),
])

I["chart_bar"] = "\n".join([
    rect(6, 11, 3, 7.5, fill=R, stroke="none"),
    rect(11, 6, 3, 12.5, fill=G, stroke="none"),
    rect(16, 13, 3, 5.5, fill=R, stroke="none"),
    p("M3 3v18h18"),
])

I["chart_pie"] = "\n".join([
    p("M10.5 4.5A8 8 0 1 0 18.5 12.5H10.5z", fill=G),
    p("M13.5 2.5A8 8 0 0 1 21.5 9.5H13.5z", fill=R),
])

I["check_data"] = "\n".join([
    rect(4.5, 4, 15, 18, 2, fill=W),
    rect(8.5, 2.5, 7, 3.5, 1, fill=G),
    p("M8.5 13.5l2.5 2.5 5-5", stroke=R),
])

I["code_table"] = "\n".join([
    p("M3 9V5.5A1.5 1.5 0 0 1 4.5 4h15A1.5 1.5 0 0 1 21 5.5V9z", fill=R),
    rect(3, 4, 18, 16, 1.5),
    p("M3 14.5h18M9 9v11"),
    p("M3 9h18"),
])

I["account"] = "\n".join([
    person(9, top=3, bottom=21, half=6.5, head_r=3.5),
    p("M15.3 17.6l5.6 0M19 17.6v2.2M21 17.6v1.5", stroke=W, width=4.5),
    p("M16.5 17.6h4.5M19 17.6v2.2M21 17.6v1.6"),
    c(15, 17.6, 2.6, fill=G),
])

I["quit"] = "\n".join([
    p("M13 8V4.5a1.5 1.5 0 0 0-1.5-1.5h-6A1.5 1.5 0 0 0 4 4.5v15A1.5 1.5 0 0 0 5.5 21h6a1.5 1.5 0 0 0 1.5-1.5V16",
      fill=W),
    c(10, 12, 0.9, fill=K, stroke="none"),
    arrow(11, 12, 21, 12),
])

I["about"] = "\n".join([
    c(12, 12, 9.5, fill=R, stroke="none"),
    c(12, 7.5, 1.4, fill=W, stroke="none"),
    p("M12 11v6.5", stroke=W, width=2.4),
])

I["version"] = "\n".join([
    p("M4 15v3.5A1.5 1.5 0 0 0 5.5 20h13a1.5 1.5 0 0 0 1.5-1.5V15"),
    p("M12 3.5v11.5", stroke=R),
    p("M7.5 10.5L12 15l4.5-4.5", stroke=R),
])

I["organization"] = "\n".join([
    p("M12 7.5V2", width=1.6),
    p("M12 2h5l-1.3 1.6L17 5.2h-5z", fill=R, width=1.4),
    p("M3 11l9-3.5 9 3.5z", fill=G),
    p("M6.5 13.5v4.5M12 13.5v4.5M17.5 13.5v4.5"),
    p("M3 21h18", width=2.4),
])

I["branch_student"] = group() + "\n" + mortarboard(16.2, 15.2, 0.85, knock=True)
I["branch_staff"] = group() + "\n" + "\n".join([
    p("M14.2 15.5v-1.7a1 1 0 0 1 1-1h2.6a1 1 0 0 1 1 1v1.7", width=1.6),
    rect(11.8, 15.2, 10, 6.6, 1.3, fill=G, stroke=W, width=4),
    rect(11.8, 15.2, 10, 6.6, 1.3, fill=G),
    p("M11.8 18h10", width=1.4),
])

I["member"] = person(12, top=2.5, bottom=21.5, half=8, head_r=4)
I["member_candidate"] = "\n".join([
    p("M4 21.5V19a6.5 6.5 0 0 1 6.5-6.5h3A6.5 6.5 0 0 1 20 19v2.5z", fill=W,
      extra=' stroke-dasharray="2.6 2.4"'),
    c(12, 6.5, 4, fill=W),
    p("M12 15v4.5M9.75 17.25h4.5", stroke=R),
])
I["member_new"] = person(9.5, top=2.5, bottom=21, half=7, head_r=3.7) + "\n" + \
    badge(17.5, 17, "plus")
I["member_decrease"] = person(9.5, top=2.5, bottom=21, half=7, head_r=3.7) + "\n" + \
    badge(17.5, 17, "minus", color=K)

I["move_branch"] = "\n".join([
    rect(2, 15.5, 5, 5.5, 1, fill=W),
    rect(17, 15.5, 5, 5.5, 1, fill=W),
    c(12, 13.2, 2.2, fill=W),
    p("M9.2 21v-.7a2.8 2.8 0 0 1 2.8-2.8a2.8 2.8 0 0 1 2.8 2.8v.7z", fill=R),
    p("M4.5 12.5C5 3.8 19 3.8 19.5 12", stroke=R),
    p("M16.7 10l2.8 2.6 2.2-3.1", stroke=R),
])

I["transfer"] = mortarboard(10, 7, 1.15) + "\n" + arrow(10, 19, 21.5, 19)

I["mobile_member"] = person(9.5, top=2.5, bottom=21, half=7, head_r=3.7) + "\n" + \
    badge(17.5, 17, "right")

I["query"] = "\n".join([
    p("M2.5 8V4.5A1.5 1.5 0 0 1 4 3h12a1.5 1.5 0 0 1 1.5 1.5V8z", fill=G),
    rect(2.5, 3, 15, 14, 1.5),
    p("M2.5 8h15M2.5 12.5h7M8 8v9"),
    magnifier(15, 15, 4.2, 21, 21),
])

I["statistics"] = "\n".join([
    p("M12 4H4l5.2 8L4 20h8"),
    rect(14.5, 12, 3, 8.5, fill=R, stroke="none"),
    rect(19, 6.5, 3, 14, fill=G, stroke="none"),
])

I["template"] = "\n".join([
    doc(4.5, 2.5, 19.5, 21.5, 4.5),
    p("M10.5 10H8.5v7h2M13.5 10h2v7h-2", stroke=R),
])

I["year"] = "\n".join([
    p("M3 10.5V7a2 2 0 0 1 2-2h14a2 2 0 0 1 2 2v3.5z", fill=R),
    rect(3, 5, 18, 16, 2),
    p("M3 10.5h18"),
    p("M8 3v3.5M16 3v3.5"),
    rect(13.5, 14, 4, 3.5, 0.6, fill=G, stroke="none"),
    c(7.5, 15.7, 1.05, fill=K, stroke="none"),
    c(10.5, 15.7, 1.05, fill=K, stroke="none"),
])

I["select_all"] = "\n".join([
    rect(3, 3, 18, 18, 2, fill=W, extra=' stroke-dasharray="3 2.6"'),
    p("M7.5 12.2l3 3 6-6.2", stroke=R),
])

I["save_order"] = "\n".join([
    p("M3 6h9M3 12h9M3 18h9"),
    p("M17.5 4v16", stroke=R),
    p("M14.5 7l3-3 3 3M14.5 17l3 3 3-3", stroke=R),
])

I["view_panel"] = "\n".join([
    rect(3, 4, 18, 16, 2, fill=W),
    p("M3 6a2 2 0 0 1 2-2h4v16H5a2 2 0 0 1-2-2z", fill=G),
    p("M9 4v16"),
    p("M15.5 9.5L13 12l2.5 2.5", stroke=R),
])

I["close"] = p("M6 6l12 12M18 6L6 18", width=2.4)

I["expand"] = "\n".join([
    rect(4, 4, 16, 16, 2, fill=W),
    p("M12 8v8M8 12h8", stroke=R),
])
I["collapse"] = "\n".join([
    rect(4, 4, 16, 16, 2, fill=W),
    p("M8 12h8", stroke=R),
])

I["folder"] = "\n".join([
    p("M3 6a1.5 1.5 0 0 1 1.5-1.5h4.2l2 2.3h8.8A1.5 1.5 0 0 1 21 8.3V18.5a1.5 1.5 0 0 1-1.5 1.5h-15A1.5 1.5 0 0 1 3 18.5z",
      fill=G),
    p("M3 10h18"),
])

I["pdf"] = "\n".join([
    doc(4.5, 2.5, 19.5, 21.5, 4.5),
    p("M2.5 12.5h15a1 1 0 0 1 1 1v4.5a1 1 0 0 1-1 1h-15z", fill=R, stroke=R),
    # P
    p("M5 18.2v-4.4h1.6a1.2 1.2 0 0 1 0 2.4H5", stroke=W, width=1.3),
    # D
    p("M9.3 13.8v4.4h1a2 2 0 0 0 2-2.2a2 2 0 0 0-2-2.2z", stroke=W, width=1.3),
    # F
    p("M14.3 18.2v-4.4h2.6M14.3 16h2", stroke=W, width=1.3),
])

I["zoom_in"] = magnifier(10, 10, 6.5, 20.5, 20.5) + "\n" + \
    p("M10 7v6M7 10h6", stroke=R)
I["zoom_out"] = magnifier(10, 10, 6.5, 20.5, 20.5) + "\n" + \
    p("M7 10h6", stroke=R)

I["page_setup"] = "\n".join([
    rect(4.5, 2.5, 15, 19, 1.5, fill=W),
    rect(8, 6, 8, 12, fill="none", stroke=R, width=1.5, extra=' stroke-dasharray="2 1.8"'),
])

I["designer"] = "\n".join([
    rect(2.5, 15.5, 19, 6, 1.2, fill=G),
    p("M6.5 15.5v2.6M10.5 15.5v1.6M14.5 15.5v2.6M18.5 15.5v1.6", width=1.5),
    p("M5 14l.8-3.2 8.2-8.2 2.4 2.4-8.2 8.2z", fill=R, stroke=W, width=4),
    p("M5 14l.8-3.2 8.2-8.2 2.4 2.4-8.2 8.2z", fill=W),
    p("M12.4 4.2l2.4 2.4", width=1.6),
    p("M5.8 10.8l2.4 2.4", width=1.6),
])


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, body in I.items():
        with open(os.path.join(OUT, name + ".svg"), "w", encoding="utf-8") as fh:
            fh.write(HEAD + body.strip() + "\n" + TAIL)
    print(len(I), "icons")


if __name__ == "__main__":
    main()
