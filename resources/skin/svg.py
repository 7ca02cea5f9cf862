"""Small SVG writer for the skin art: shapes in 100 % units, rendered at a scale."""
import math

FONT = "DejaVu Sans"

# Palette shared by every image.
BG0 = '#07080b'
BG1 = '#0c0e12'
BG2 = '#12141a'
BG3 = '#191c23'
LINE = '#23262e'
LINE2 = '#30343e'
MUTED = '#6c717c'
SOFT = '#a7acb6'
WHITE = '#eef0f3'
RED = '#ff252f'        # the styled controls' checked colour
RED_D = '#8f1417'
RED_DD = '#3a0709'


def f(v):
    """Number formatting that keeps the SVG text stable and short."""
    if isinstance(v, int):
        return str(v)
    s = '%.3f' % v
    s = s.rstrip('0').rstrip('.')
    return s if s not in ('-0', '') else '0'


class Canvas:
    """One image: width and height in 100 % units, drawn at `scale`."""

    def __init__(self, w, h, scale):
        self.w, self.h, self.s = w, h, scale
        self.parts = []
        self._ids = 0

    def uid(self, prefix='i'):
        self._ids += 1
        return '%s%d' % (prefix, self._ids)

    def add(self, text):
        self.parts.append(text)
        return self

    # paint servers and filters -------------------------------------------
    def linear(self, stops, x1=0, y1=0, x2=0, y2=1, units='objectBoundingBox'):
        gid = self.uid('g')
        st = ''.join('<stop offset="%s" stop-color="%s" stop-opacity="%s"/>' % (f(o), c, f(a))
                     for o, c, a in _stops(stops))
        self.add('<defs><linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s" gradientUnits="%s">%s'
                 '</linearGradient></defs>' % (gid, f(x1), f(y1), f(x2), f(y2), units, st))
        return 'url(#%s)' % gid

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, units='objectBoundingBox'):
        gid = self.uid('g')
        st = ''.join('<stop offset="%s" stop-color="%s" stop-opacity="%s"/>' % (f(o), c, f(a))
                     for o, c, a in _stops(stops))
        self.add('<defs><radialGradient id="%s" cx="%s" cy="%s" r="%s" gradientUnits="%s">%s'
                 '</radialGradient></defs>' % (gid, f(cx), f(cy), f(r), units, st))
        return 'url(#%s)' % gid

    def blur(self, sd):
        fid = self.uid('b')
        self.add('<defs><filter id="%s" x="-50%%" y="-50%%" width="200%%" height="200%%">'
                 '<feGaussianBlur stdDeviation="%s"/></filter></defs>' % (fid, f(sd)))
        return 'url(#%s)' % fid

    # shapes -----------------------------------------------------------------
    def rect(self, x, y, w, h, fill='none', rx=0, stroke=None, sw=1, opacity=None, extra=''):
        a = '<rect x="%s" y="%s" width="%s" height="%s" fill="%s"' % (f(x), f(y), f(w), f(h), fill)
        if rx:
            a += ' rx="%s"' % f(rx)
        a += _stroke(stroke, sw) + _opacity(opacity) + extra + '/>'
        return self.add(a)

    def frame(self, x, y, w, h, color, sw=1, rx=0, opacity=None):
        """A border whose line lies inside the box, pixel-exact at every scale."""
        return self.rect(x + sw / 2, y + sw / 2, w - sw, h - sw, 'none', rx=rx,
                         stroke=color, sw=sw, opacity=opacity)

    def circle(self, cx, cy, r, fill='none', stroke=None, sw=1, opacity=None, extra=''):
        return self.add('<circle cx="%s" cy="%s" r="%s" fill="%s"%s%s%s/>'
                        % (f(cx), f(cy), f(r), fill, _stroke(stroke, sw), _opacity(opacity), extra))

    def path(self, d, fill='none', stroke=None, sw=1, opacity=None, extra=''):
        return self.add('<path d="%s" fill="%s"%s%s%s/>' % (d, fill, _stroke(stroke, sw),
                                                            _opacity(opacity), extra))

    def poly(self, pts, fill='none', stroke=None, sw=1, opacity=None, closed=True, extra=''):
        d = 'M' + ' L'.join('%s %s' % (f(x), f(y)) for x, y in pts) + (' Z' if closed else '')
        return self.path(d, fill, stroke, sw, opacity, extra)

    def line(self, x1, y1, x2, y2, color, sw=1, opacity=None, cap='butt', extra=''):
        return self.add('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="%s" '
                        'stroke-linecap="%s"%s%s/>' % (f(x1), f(y1), f(x2), f(y2), color, f(sw), cap,
                                                       _opacity(opacity), extra))

    def text(self, x, y, s, size, fill=WHITE, weight='normal', anchor='start', spacing=0, opacity=None,
             family=FONT):
        s = s.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')
        return self.add('<text x="%s" y="%s" font-family="%s" font-size="%s" font-weight="%s" '
                        'text-anchor="%s" letter-spacing="%s" fill="%s"%s>%s</text>'
                        % (f(x), f(y), family, f(size), weight, anchor, f(spacing), fill,
                           _opacity(opacity), s))

    def group(self, extra=''):
        return self.add('<g %s>' % extra)

    def end(self):
        return self.add('</g>')

    def svg(self):
        return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %s %s">%s</svg>\n'
                % (round(self.w * self.s), round(self.h * self.s), f(self.w), f(self.h), ''.join(self.parts)))


def _stops(stops):
    for st in stops:
        if len(st) == 2:
            yield st[0], st[1], 1
        else:
            yield st


def _stroke(color, sw):
    return '' if color is None else ' stroke="%s" stroke-width="%s"' % (color, f(sw))


def _opacity(o):
    return '' if o is None else ' opacity="%s"' % f(o)


def chamfer(x, y, w, h, c1, c2=None):
    """Box with the top-left and bottom-right corners cut (the panel's shape)."""
    c2 = c1 if c2 is None else c2
    return [(x + c1, y), (x + w, y), (x + w, y + h - c2), (x + w - c2, y + h), (x, y + h), (x, y + c1)]


def arc_path(cx, cy, r, a0, a1):
    """Open arc from angle a0 to a1 (degrees, clockwise from 3 o'clock)."""
    def pt(a):
        return f(cx + r * math.cos(math.radians(a))), f(cy + r * math.sin(math.radians(a)))
    if a1 - a0 >= 359.999:
        (x0, y0), (xm, ym) = pt(a0), pt(a0 + 180)
        return 'M%s %s A%s %s 0 0 1 %s %s A%s %s 0 0 1 %s %s' % (x0, y0, f(r), f(r), xm, ym, f(r), f(r), x0, y0)
    (x0, y0), (x1, y1) = pt(a0), pt(a1)
    large = 1 if a1 - a0 > 180 else 0
    return 'M%s %s A%s %s 0 %d 1 %s %s' % (x0, y0, f(r), f(r), large, x1, y1)


def rounded_outline(points, radius):
    """Closed path through (x, y, kind) vertices; kinds 0..3 round, 4 stays sharp."""
    n = len(points)
    d = []
    for i in range(n):
        x, y, kind = points[i]
        px, py, _ = points[i - 1]
        nx, ny, _ = points[(i + 1) % n]
        if kind == 4 or radius <= 0:
            d.append(('M' if i == 0 else 'L') + '%s %s' % (f(x), f(y)))
            continue
        l1 = math.hypot(px - x, py - y)
        l2 = math.hypot(nx - x, ny - y)
        r = min(radius, l1 / 2, l2 / 2)
        ax, ay = x + (px - x) * r / l1, y + (py - y) * r / l1
        bx, by = x + (nx - x) * r / l2, y + (ny - y) * r / l2
        d.append(('M' if i == 0 else 'L') + '%s %s Q%s %s %s %s' % (f(ax), f(ay), f(x), f(y), f(bx), f(by)))
    return ' '.join(d) + ' Z'


def hsv_hex(h, s=1.0, v=1.0):
    h = (h % 360) / 60.0
    i = int(h)
    fr = h - i
    p, q, t = v * (1 - s), v * (1 - s * fr), v * (1 - s * (1 - fr))
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i % 6]
    return '#%02x%02x%02x' % (round(r * 255), round(g * 255), round(b * 255))
