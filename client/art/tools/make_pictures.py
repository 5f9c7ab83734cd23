#!/usr/bin/env python3
"""Writes the Corvexa splash picture, main-window background and application
icon as plain SVG (Tiny 1.2 features only). All shapes drawn for Corvexa.
Output: ../pictures/splash.svg, ../pictures/background.svg, ../icons/app.svg
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..")
FONT = "Noto Sans CJK SC, WenQuanYi Zen Hei, sans-serif"


def f(v):
    return ("%.1f" % v).rstrip("0").rstrip(".")


def rays(cx, cy, r_in, r_out, a_from, a_to, step, half):
    """Thin wedge rays between angles a_from..a_to (degrees, screen)."""
    d = []
    a = a_from
    while a <= a_to + 1e-6:
        a1, a2 = math.radians(a - half), math.radians(a + half)
        am = math.radians(a)
        d.append("M%s %sL%s %sL%s %sz" % (
            f(cx + r_in * math.cos(am)), f(cy + r_in * math.sin(am)),
            f(cx + r_out * math.cos(a1)), f(cy + r_out * math.sin(a1)),
            f(cx + r_out * math.cos(a2)), f(cy + r_out * math.sin(a2))))
        a += step
    return "".join(d)


def book(cx, top, w, h, sag, stroke_w, page="#FFFFFF", edge="#E8B84A"):
    """Open book seen from the front: two curved pages meeting at the spine."""
    l, r = cx - w, cx + w
    d_left = ("M%s %sC%s %s %s %s %s %sL%s %sC%s %s %s %s %s %sz" % (
        f(cx), f(top + sag), f(cx - w * 0.3), f(top - sag * 0.2), f(l + w * 0.25), f(top - sag * 0.2),
        f(l), f(top + sag * 0.3), f(l), f(top + h),
        f(l + w * 0.25), f(top + h - sag * 0.5), f(cx - w * 0.3), f(top + h - sag * 0.5),
        f(cx), f(top + h + sag)))
    d_right = ("M%s %sC%s %s %s %s %s %sL%s %sC%s %s %s %s %s %sz" % (
        f(cx), f(top + sag), f(cx + w * 0.3), f(top - sag * 0.2), f(r - w * 0.25), f(top - sag * 0.2),
        f(r), f(top + sag * 0.3), f(r), f(top + h),
        f(r - w * 0.25), f(top + h - sag * 0.5), f(cx + w * 0.3), f(top + h - sag * 0.5),
        f(cx), f(top + h + sag)))
    out = ('<path d="%s" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>\n'
           % (d_left, page, edge, stroke_w))
    out += ('<path d="%s" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>\n'
            % (d_right, page, edge, stroke_w))
    return out


def page_lines(cx, top, w, h, sag, n, color, sw):
    """Short text lines on both pages, following the page curve roughly."""
    d = []
    for i in range(n):
        t = (i + 1.3) / (n + 1.3)
        y = top + sag * 0.6 + t * (h - sag * 0.6)
        d.append("M%s %sQ%s %s %s %s" % (f(cx - w * 0.82), f(y), f(cx - w * 0.45), f(y - sag * 0.5),
                                          f(cx - w * 0.16), f(y + sag * 0.35)))
        d.append("M%s %sQ%s %s %s %s" % (f(cx + w * 0.16), f(y + sag * 0.35), f(cx + w * 0.45),
                                          f(y - sag * 0.5), f(cx + w * 0.82), f(y)))
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round"/>\n'
            % ("".join(d), color, sw))


def splash():
    W, H = 480, 300
    cx, sun_y = 122, 92
    o = ['<?xml version="1.0" encoding="UTF-8"?>',
         '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
         'width="%d" height="%d" viewBox="0 0 %d %d">' % (W, H, W, H),
         '<defs>',
         '<linearGradient id="bg" x1="0" y1="0" x2="480" y2="300" gradientUnits="userSpaceOnUse">',
         '<stop offset="0" stop-color="#C42B2B"/><stop offset="1" stop-color="#86161A"/>',
         '</linearGradient>',
         '<radialGradient id="glow" cx="%d" cy="%d" r="190" gradientUnits="userSpaceOnUse">' % (cx, sun_y),
         '<stop offset="0" stop-color="#F6CF6B" stop-opacity="0.45"/>',
         '<stop offset="1" stop-color="#F6CF6B" stop-opacity="0"/>',
         '</radialGradient>',
         '<linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">',
         '<stop offset="0" stop-color="#F4CC62"/><stop offset="1" stop-color="#D39B1C"/>',
         '</linearGradient>',
         '</defs>',
         '<rect width="%d" height="%d" fill="url(#bg)"/>' % (W, H),
         # soft glow behind the emblem, upper part only
         '<rect width="%d" height="230" fill="url(#glow)"/>' % W,
         # rays from the rising sun, upper half only
         '<path d="%s" fill="#F6CF6B" fill-opacity="0.10"/>' % rays(cx, sun_y, 30, 260, 180, 360, 12, 2.2),
         # large faint circle arcs on the right for depth
         '<circle cx="470" cy="40" r="120" fill="none" stroke="#F6CF6B" stroke-opacity="0.10" stroke-width="2"/>',
         '<circle cx="470" cy="40" r="160" fill="none" stroke="#F6CF6B" stroke-opacity="0.07" stroke-width="2"/>',
         # calm band at the bottom for labels
         '<rect x="0" y="230" width="%d" height="70" fill="#6F1114"/>' % W,
         '<rect x="0" y="229" width="%d" height="2" fill="#E2B04A" fill-opacity="0.85"/>' % W,
         # sun
         '<circle cx="%d" cy="%d" r="22" fill="url(#gold)"/>' % (cx, sun_y),
         ]
    # emblem: open book over stacked records
    o.append(book(cx, 104, 62, 58, 9, 3))
    o.append(page_lines(cx, 104, 62, 58, 9, 4, "#D8A73A", 2.2))
    o.append('<path d="M%d 113V172" stroke="#E8B84A" stroke-width="3" stroke-linecap="round"/>' % cx)
    for i, (w, op) in enumerate([(70, 1.0), (62, 0.85), (54, 0.7)]):
        y = 182 + i * 14
        o.append('<rect x="%d" y="%d" width="%d" height="9" rx="4.5" fill="url(#gold)" '
                 'fill-opacity="%s"/>' % (cx - w, y, 2 * w, op))
    # name and subtitle
    o += ['<text x="212" y="132" font-family="%s" font-size="58" font-weight="bold" '
          'fill="#FFFFFF">Corvexa</text>' % FONT,
          '<rect x="215" y="149" width="210" height="2.5" fill="#E8B84A"/>',
          '<rect x="215" y="149" width="56" height="2.5" fill="#FFFFFF"/>',
          '<text x="214" y="188" font-family="%s" font-size="27" fill="#F4CC62">'
          '党组织用户版</text>' % FONT,
          '</svg>']
    return "\n".join(o) + "\n"


def background():
    W, H = 1200, 800
    grid = "".join("M%d 0V%d" % (x, H) for x in range(40, W, 40))
    grid += "".join("M0 %dH%d" % (y, W) for y in range(40, H, 40))
    cx, cy = W, H
    o = ['<?xml version="1.0" encoding="UTF-8"?>',
         '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
         'width="%d" height="%d" viewBox="0 0 %d %d" preserveAspectRatio="none">' % (W, H, W, H),
         '<defs>',
         '<linearGradient id="base" x1="0" y1="0" x2="1200" y2="800" gradientUnits="userSpaceOnUse">',
         '<stop offset="0" stop-color="#FCFBF9"/><stop offset="1" stop-color="#F5F1EC"/>',
         '</linearGradient>',
         '<radialGradient id="warm" cx="1200" cy="800" r="520" gradientUnits="userSpaceOnUse">',
         '<stop offset="0" stop-color="#E9C46A" stop-opacity="0.22"/>',
         '<stop offset="1" stop-color="#E9C46A" stop-opacity="0"/>',
         '</radialGradient>',
         '</defs>',
         '<rect width="%d" height="%d" fill="url(#base)"/>' % (W, H),
         '<path d="%s" fill="none" stroke="#EFEAE4" stroke-width="1"/>' % grid,
         '<rect width="%d" height="%d" fill="url(#warm)"/>' % (W, H),
         # corner motif: rays, concentric arcs, a few facets
         '<path d="%s" fill="#B22222" fill-opacity="0.03"/>' % rays(cx, cy, 60, 330, 180, 270, 9, 2.4),
         ]
    for r, col, op, sw in [(140, "#B22222", 0.16, 10), (200, "#D9A21B", 0.22, 3),
                           (250, "#B22222", 0.08, 2), (330, "#D9A21B", 0.14, 2),
                           (420, "#B22222", 0.05, 1.5)]:
        o.append('<circle cx="%d" cy="%d" r="%d" fill="none" stroke="%s" stroke-opacity="%s" '
                 'stroke-width="%s"/>' % (cx, cy, r, col, op, sw))
    o.append('<circle cx="%d" cy="%d" r="100" fill="#B22222" fill-opacity="0.07"/>' % (cx, cy))
    # facets (diamonds) along the arc
    for a, s, col, op in [(200, 9, "#D9A21B", 0.35), (215, 6, "#B22222", 0.22),
                          (232, 9, "#D9A21B", 0.30), (248, 6, "#B22222", 0.22),
                          (262, 8, "#D9A21B", 0.32)]:
        x = cx + 290 * math.cos(math.radians(a))
        y = cy + 290 * math.sin(math.radians(a))
        o.append('<path d="M%s %sl%s %sl%s %sl-%s -%sz" fill="%s" fill-opacity="%s"/>' % (
            f(x), f(y - s), s, s, -s, s, s, s, col, op))
    # one faint echo at the opposite (top-left) corner, very light
    o.append('<circle cx="0" cy="0" r="120" fill="none" stroke="#D9A21B" stroke-opacity="0.10" '
             'stroke-width="2"/>')
    o.append('</svg>')
    return "\n".join(o) + "\n"


def app_icon():
    o = ['<?xml version="1.0" encoding="UTF-8"?>',
         '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
         'width="64" height="64" viewBox="0 0 64 64">',
         '<defs>',
         '<linearGradient id="bg" x1="0" y1="0" x2="64" y2="64" gradientUnits="userSpaceOnUse">',
         '<stop offset="0" stop-color="#CC3030"/><stop offset="1" stop-color="#8E171B"/>',
         '</linearGradient>',
         '<linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">',
         '<stop offset="0" stop-color="#F4CC62"/><stop offset="1" stop-color="#D39B1C"/>',
         '</linearGradient>',
         '</defs>',
         '<rect x="2" y="2" width="60" height="60" rx="13" fill="url(#bg)"/>',
         '<path d="%s" fill="#F6CF6B" fill-opacity="0.16"/>' % rays(32, 19, 9, 18.5, 195, 345, 25, 5),
         '<circle cx="32" cy="19" r="7" fill="url(#gold)"/>',
         ]
    o.append(book(32, 23, 21, 18, 3, 2))
    o.append('<path d="M32 26.5V43" stroke="#E8B84A" stroke-width="2" stroke-linecap="round"/>')
    o.append('<rect x="10" y="47" width="44" height="5" rx="2.5" fill="url(#gold)"/>')
    o.append('<rect x="14" y="54" width="36" height="4" rx="2" fill="url(#gold)" fill-opacity="0.75"/>')
    o.append('</svg>')
    return "\n".join(o) + "\n"


def main():
    os.makedirs(os.path.join(ROOT, "pictures"), exist_ok=True)
    for rel, text in [("pictures/splash.svg", splash()),
                      ("pictures/background.svg", background()),
                      ("icons/app.svg", app_icon())]:
        with open(os.path.join(ROOT, rel), "w", encoding="utf-8") as fh:
            fh.write(text)
    print("pictures written")


if __name__ == "__main__":
    main()
