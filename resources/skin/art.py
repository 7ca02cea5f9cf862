"""Every skin image of the program, drawn as SVG in 100 % units.

`IMAGES` maps a resource name to its size at 100 % and the function that draws
it; the "4K" set renders the same drawing at twice the size.
"""
import math
import os
import sys

from svg import (Canvas, arc_path, chamfer, hsv_hex, rounded_outline, f,
                 BG0, BG1, BG2, BG3, LINE, LINE2, MUTED, SOFT, WHITE, RED, RED_D, RED_DD)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'keyboard'))
import keys as keytable  # noqa: E402

SET_1080 = '1920_1080'
SET_4K = '4K'
SETS = {SET_1080: 1, SET_4K: 2}
BOTH = (SET_1080, SET_4K)
ONLY_4K = (SET_4K,)

KEY_TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'keyboard', 'keyboard_layout.txt')


class ImageDef:
    def __init__(self, name, w, h, draw, sets):
        self.name, self.w, self.h, self.draw, self.sets = name, w, h, draw, sets

    def render(self, scale):
        c = Canvas(self.w, self.h, scale)
        self.draw(c)
        return c.svg()


IMAGES = {}


def image(name, w, h, sets=BOTH):
    def deco(fn):
        assert name not in IMAGES, name
        IMAGES[name] = ImageDef(name, w, h, fn, sets)
        return fn
    return deco


def states(prefix, suffixes, w, h, sets=BOTH):
    """Registers one drawing per state: draw(c, state)."""
    def deco(fn):
        for st in suffixes:
            image(prefix + st, w, h, sets)(lambda c, st=st: fn(c, st))
        return fn
    return deco


def panel_bg(c, x, y, w, h, top='#14161c', bottom='#0b0c10', cut=10, border=LINE2, opacity=1.0):
    pts = chamfer(x, y, w, h, cut)
    c.poly(pts, c.linear([(0, top), (1, bottom)]), opacity=opacity)
    c.poly([(px + (0.5 if px <= x + w / 2 else -0.5), py + (0.5 if py <= y + h / 2 else -0.5)) for px, py in pts],
           'none', stroke=border, sw=1)


def corner_ticks(c, x, y, w, h, length=10, color=RED, sw=2, opacity=1.0):
    """Short L marks in the four corners: the house accent of every frame."""
    o = sw / 2
    for (cx, cy, dx, dy) in ((x, y, 1, 1), (x + w, y, -1, 1), (x, y + h, 1, -1), (x + w, y + h, -1, -1)):
        c.poly([(cx + dx * length, cy + dy * o), (cx + dx * o, cy + dy * o), (cx + dx * o, cy + dy * length)],
               stroke=color, sw=sw, closed=False, opacity=opacity)


# ---------------------------------------------------------------- main window
@image('MAIN_BG', 1400, 788)
def main_bg(c):
    c.rect(0, 0, 1400, 788, c.linear([(0, '#0d0f13'), (0.5, '#090a0d'), (1, '#060709')]))
    c.rect(0, 0, 1400, 788, c.radial([(0, RED, 0.10), (1, RED, 0)], cx=0.08, cy=0.05, r=0.55))
    c.rect(0, 0, 1400, 788, c.radial([(0, '#5a6b8a', 0.07), (1, '#5a6b8a', 0)], cx=0.92, cy=1.0, r=0.6))
    # fine diagonal pinstripes give the surface a machined texture
    pid = c.uid('p')
    c.add('<defs><pattern id="%s" width="6" height="6" patternUnits="userSpaceOnUse">'
          '<path d="M0 6 L6 0" stroke="#ffffff" stroke-width="0.5" opacity="0.025"/></pattern></defs>' % pid)
    c.rect(0, 95, 1400, 693, 'url(#%s)' % pid)
    # title strip
    c.rect(0, 0, 1400, 95, c.linear([(0, '#14161b'), (1, '#0b0c10')]))
    c.rect(0, 94, 1400, 1, LINE)
    c.rect(50, 93, 160, 2, c.linear([(0, RED), (1, RED, 0)], x2=1, y2=0))
    c.rect(40, 86, 200, 12, c.linear([(0, RED, 0.25), (1, RED, 0)], x2=1, y2=0), extra=' filter="%s"' % c.blur(4))
    # emblem: two nested chevrons, our own mark
    c.poly([(50, 47), (64, 33), (78, 47), (64, 61)], 'none', stroke=RED, sw=2.5)
    c.poly([(58, 47), (64, 41), (70, 47), (64, 53)], RED)
    c.text(92, 56, 'LUMO', 22, WHITE, 'bold', spacing=4)
    c.text(176, 56, 'CORE', 22, MUTED, 'normal', spacing=4)
    c.rect(92, 64, 150, 1, c.linear([(0, LINE2), (1, LINE2, 0)], x2=1, y2=0))
    # caption-button zone: a slanted plate under minimise and close
    c.poly([(1276, 0), (1400, 0), (1400, 38), (1290, 38)], '#101217')
    # tab row
    c.rect(0, 95, 1400, 86, c.linear([(0, '#0f1115', 0.9), (1, '#0f1115', 0)]))
    # brightness: a small sun beside the level selector
    sx, sy = 1116, 152
    c.circle(sx, sy, 4.5, 'none', stroke=SOFT, sw=1.5)
    for k in range(8):
        a = math.radians(k * 45)
        c.line(sx + 7 * math.cos(a), sy + 7 * math.sin(a), sx + 9.5 * math.cos(a), sy + 9.5 * math.sin(a),
               SOFT, 1.5, cap='round')
    # right column: heading bullets (swapped for right-to-left layouts) and a faint panel outline
    for y in (192, 304):
        bullet(c, 1023, y)
        end_mark(c, 1278, y)
    c.poly(chamfer(1015.5, 183.5, 287, 514, 10), 'none', stroke=LINE, sw=1)
    # footer
    c.rect(50, 712, 947, 1, c.linear([(0, LINE2, 0), (0.2, LINE2), (0.8, LINE2), (1, LINE2, 0)], x2=1, y2=0))
    for i in range(24):
        c.rect(50 + 40 * i, 716, 1, 4 if i % 5 else 8, LINE2)
    c.rect(50, 760, 6, 6, RED, opacity=0.9)
    c.rect(60, 762, 120, 2, c.linear([(0, LINE2), (1, LINE2, 0)], x2=1, y2=0))
    # window outline with accent corners
    c.frame(0, 0, 1400, 788, '#1d2027')
    corner_ticks(c, 0, 0, 1400, 788, 26, RED, 2, opacity=0.85)


def bullet(c, x, y):
    """17 x 17 heading bullet: a red chevron."""
    c.rect(x, y, 17, 17, '#12151a')
    c.poly([(x + 5, y + 3.5), (x + 11, y + 8.5), (x + 5, y + 13.5)], 'none', stroke=RED, sw=2.2)


def end_mark(c, x, y):
    """17 x 17 end mark: three grey steps, unlike the bullet."""
    for i in range(3):
        c.rect(x + 3 + i * 4, y + 10 - i * 3, 2.5, 4 + i * 3, MUTED, opacity=0.5 + i * 0.2)


@image('TITLE', 287, 36)
def title(c):
    # leaves the two bullet squares of the background uncovered
    mid = c.uid('m')
    c.add('<defs><mask id="%s" maskUnits="userSpaceOnUse" x="0" y="0" width="287" height="36">'
          '<rect width="287" height="36" fill="#fff"/><rect x="8" y="9" width="17" height="17" fill="#000"/>'
          '<rect x="263" y="9" width="17" height="17" fill="#000"/></mask></defs>' % mid)
    c.group('mask="url(#%s)"' % mid)
    c.rect(0, 0, 287, 36, c.linear([(0, '#1a1d24'), (0.7, '#12141a', 0.8), (1, '#12141a', 0)], x2=1, y2=0))
    c.rect(0, 35, 287, 1, c.linear([(0, RED), (0.35, RED_D), (1, RED_D, 0)], x2=1, y2=0))
    c.rect(0, 0, 2, 36, RED)
    c.end()


@image('TAB_LINE', 945, 32)
def tab_line(c):
    c.rect(0, 30, 945, 1, c.linear([(0, LINE2), (0.85, LINE2), (1, LINE2, 0)], x2=1, y2=0))
    c.rect(0, 26, 1, 5, MUTED)
    c.rect(0, 31, 945, 1, '#000000', opacity=0.6)


@image('TAB_BAR', 120, 4)
def tab_bar(c):
    c.rect(0, 0, 120, 4, c.linear([(0, RED, 0), (0.2, RED, 0.9), (0.5, RED), (0.8, RED, 0.9), (1, RED, 0)],
                                  x2=1, y2=0), opacity=0.45)
    c.rect(6, 1, 108, 2, c.linear([(0, RED, 0), (0.15, RED), (0.5, '#ff6a70'), (0.85, RED), (1, RED, 0)],
                                  x2=1, y2=0))


@image('APPLY_ICON', 12, 12, ONLY_4K)
def apply_icon(c):
    c.circle(6, 6, 5.6, RED)
    c.poly([(3.3, 6.2), (5.2, 8.1), (8.8, 4.2)], 'none', stroke=WHITE, sw=1.5, closed=False,
           extra=' stroke-linecap="round" stroke-linejoin="round"')


@states('WINDOW_MIN_', ('NORMAL', 'HOVER', 'CLICK'), 38, 30)
def window_min(c, st):
    bg = {'NORMAL': None, 'HOVER': ('#ffffff', 0.09), 'CLICK': ('#ffffff', 0.16)}[st]
    if bg:
        c.rect(0, 0, 38, 30, bg[0], opacity=bg[1])
    col = {'NORMAL': SOFT, 'HOVER': WHITE, 'CLICK': '#c9ccd3'}[st]
    c.rect(13, 15 if st != 'CLICK' else 16, 12, 1.5, col)


@states('WINDOW_CLOSE_', ('NORMAL', 'HOVER', 'CLICK'), 55, 30)
def window_close(c, st):
    if st == 'HOVER':
        c.rect(0, 0, 55, 30, RED, opacity=0.9)
    elif st == 'CLICK':
        c.rect(0, 0, 55, 30, '#b3161d')
    col = SOFT if st == 'NORMAL' else WHITE
    d = 5.5
    c.line(27.5 - d, 15 - d, 27.5 + d, 15 + d, col, 1.5, cap='round')
    c.line(27.5 - d, 15 + d, 27.5 + d, 15 - d, col, 1.5, cap='round')


@states('BTN_', ('NORMAL', 'HOVER', 'CLICK', 'DISABLE'), 150, 38)
def button(c, st):
    pts = chamfer(0.5, 0.5, 149, 37, 8)
    if st == 'NORMAL':
        c.poly(pts, c.linear([(0, '#22252d'), (1, '#14161b')]), stroke=LINE2, sw=1)
        c.rect(10, 36, 130, 1, c.linear([(0, RED, 0), (0.5, RED, 0.7), (1, RED, 0)], x2=1, y2=0))
    elif st == 'HOVER':
        c.poly(pts, c.linear([(0, '#2a1518'), (1, '#1a0d0f')]), stroke=RED, sw=1)
        c.rect(4, 22, 142, 14, c.linear([(0, RED, 0), (1, RED, 0.35)]))
        c.rect(10, 36, 130, 1, c.linear([(0, RED, 0), (0.5, '#ff6a70'), (1, RED, 0)], x2=1, y2=0))
    elif st == 'CLICK':
        c.poly(pts, c.linear([(0, '#7a0f14'), (1, '#4a080c')]), stroke='#ff4b53', sw=1)
        c.rect(4, 2, 142, 10, c.linear([(0, '#000', 0.35), (1, '#000', 0)]))
    else:
        c.poly(pts, '#111216', stroke='#22242a', sw=1)


@states('BTN_FRAME_', ('NORMAL', 'DISABLE'), 150, 38)
def button_frame(c, st):
    col = RED if st == 'NORMAL' else '#3a3d45'
    c.poly([(0.75, 14), (0.75, 8.75), (8.75, 0.75), (24, 0.75)], stroke=col, sw=1.5, closed=False)
    c.poly([(149.25, 24), (149.25, 29.25), (141.25, 37.25), (126, 37.25)], stroke=col, sw=1.5, closed=False)
    c.rect(146, 3, 2, 2, col)
    c.rect(2, 33, 2, 2, col)


# ---------------------------------------------------------------- keyboard
def _half(v):
    return v / 2.0


@image('KB_FRAME_RS200', 947, 516)
def kb_frame(c):
    c.rect(0, 0, 947, 516, c.linear([(0, '#0e1014'), (1, '#08090b')]))
    c.rect(0, 0, 947, 516, c.radial([(0, '#384259', 0.16), (1, '#384259', 0)], cx=0.5, cy=0.0, r=0.7))
    c.frame(0, 0, 947, 516, LINE)
    for i in range(1, 47):
        c.rect(i * 20, 0, 1, 3 if i % 5 else 6, LINE2)
        c.rect(i * 20, 513 if i % 5 else 510, 1, 3 if i % 5 else 6, LINE2)
    corner_ticks(c, 0, 0, 947, 516, 18, RED, 2)


def key_hole_path(k, outlines):
    if (k.number, 'cap') in outlines:
        pts = [(_half(x), _half(y), kind) for x, y, kind in outlines[(k.number, 'cap')]]
        return rounded_outline(pts, 3)
    l, t, r, b = (_half(v) for v in k.cap)
    pts = [(l, t, 0), (l, b, 1), (r, b, 2), (r, t, 3)]
    return rounded_outline(pts, 3)


@image('KB_RESULT_FR_RT310', keytable.PICTURE_WIDTH, keytable.PICTURE_HEIGHT)
def kb_result(c):
    layout = keytable.parse(KEY_TABLE)
    holes = [k for k in layout.drawn() if k.number != 151]
    mid = c.uid('m')
    # the mask cuts one hole per key cap; the long key's lower edge is part of its outline
    c.add('<defs><mask id="%s" maskUnits="userSpaceOnUse" x="0" y="0" width="947" height="516">'
          '<rect x="0" y="0" width="947" height="516" fill="#fff"/>' % mid)
    for k in holes:
        c.add('<path d="%s" fill="#000"/>' % key_hole_path(k, layout.outlines))
    c.add('</mask></defs>')
    c.group('mask="url(#%s)"' % mid)
    # deck
    c.rect(22, 16, 903, 484, c.linear([(0, '#1c1f26'), (0.55, '#14161b'), (1, '#0e1014')]), rx=26)
    pid = c.uid('p')
    c.add('<defs><pattern id="%s" width="3" height="3" patternUnits="userSpaceOnUse">'
          '<rect width="3" height="1" fill="#ffffff" opacity="0.018"/></pattern></defs>' % pid)
    c.rect(22, 16, 903, 484, 'url(#%s)' % pid, rx=26)
    c.rect(22.5, 16.5, 902, 483, 'none', rx=25.5, stroke='#2b2f38', sw=1)
    c.rect(48, 17, 851, 1, c.linear([(0, '#fff', 0), (0.5, '#fff', 0.18), (1, '#fff', 0)], x2=1, y2=0))
    # vent slot and status lamps above the keyboard
    c.rect(330, 27, 287, 5, '#050608', rx=2.5)
    for i in range(24):
        c.rect(334 + i * 12, 28, 6, 3, '#15171c', rx=1)
    for i, col in enumerate((RED, MUTED, MUTED)):
        c.circle(868 + i * 12, 30, 2, col, opacity=0.9 if i == 0 else 0.6)
    # keyboard well
    c.rect(38, 48, 869, 297, '#07080a', rx=10)
    c.rect(38.5, 48.5, 868, 296, 'none', rx=9.5, stroke='#000', sw=1)
    c.rect(37.5, 47.5, 870, 298, 'none', rx=10.5, stroke='#272b33', sw=1, opacity=0.8)
    # touchpad under the long key, palm-rest grilles
    cx = (469 + 956) / 4.0
    tx, ty, tw, th = cx - 128, 364, 256, 124
    c.rect(tx, ty, tw, th, c.linear([(0, '#15171c'), (1, '#0f1014')]), rx=12)
    c.rect(tx + 0.5, ty + 0.5, tw - 1, th - 1, 'none', rx=11.5, stroke='#2c3039', sw=1)
    c.rect(tx + 14, ty + 1, tw - 28, 1, c.linear([(0, '#fff', 0), (0.5, '#fff', 0.16), (1, '#fff', 0)], x2=1, y2=0))
    c.rect(cx - 18, ty + th - 3, 36, 1.5, RED, opacity=0.8)
    for gx0 in (62, 640):
        for row in range(7):
            for col in range(18 if gx0 == 62 else 19):
                x = gx0 + col * 8 + (4 if row % 2 else 0)
                c.circle(x, 392 + row * 9, 1.4, '#050607')
    c.end()
    # inside the holes: a dark inner edge, a top highlight and the legend;
    # the middle of every cap stays clear so the key colour shows
    for k in holes:
        d = key_hole_path(k, layout.outlines)
        c.path(d, 'none', stroke='#000', sw=1.2, opacity=0.45)
        l, t, r, b = (_half(v) for v in k.cap)
        c.rect(l + 3, t + 0.6, r - l - 6, 0.8, '#fff', opacity=0.2)
        if k.label:
            small = (b - t) < 30
            size = 7 if small or len(k.label) > 1 else 9
            c.text(l + 4, t + (9 if small else 12), k.label, size, '#000', 'bold', opacity=0.7)


# ---------------------------------------------------------------- level selector
TRACK_W, TRACK_H = 152, 6
PIN_W, PIN_H = 21, 23


@image('SLIDER_0', TRACK_W, TRACK_H)
def slider_0(c):
    c.rect(0, 0, TRACK_W, TRACK_H, '#050608', rx=3)
    c.rect(0.5, 0.5, TRACK_W - 1, TRACK_H - 1, 'none', rx=2.5, stroke=LINE2, sw=1)
    # marks under the pin's centre at levels 1 and 2 (pin x = track x - w/3 + level offset)
    for i in range(1, 3):
        x = PIN_W / 2 - PIN_W // 3 + (TRACK_W - PIN_W // 2) * i / 3
        c.rect(round(x - 0.5), 2, 1, 2, MUTED, opacity=0.6)


@image('SLIDER_100', TRACK_W, TRACK_H)
def slider_100(c):
    c.rect(0, 0, TRACK_W, TRACK_H, c.linear([(0, RED_D), (1, RED)], x2=1, y2=0), rx=3)
    c.rect(2, 1, TRACK_W - 4, 1.5, '#ffffff', rx=0.75, opacity=0.25)


def pin_shape(c, fill, stroke, core):
    cx = PIN_W / 2
    pts = [(cx, 1), (PIN_W - 2, 6), (PIN_W - 2, 17), (cx, 22), (2, 17), (2, 6)]
    c.poly(pts, fill, stroke=stroke, sw=1.2)
    c.rect(cx - 1, 7, 2, 10, core, rx=1)


@image('SLIDER_PIN_NORMAL', PIN_W, PIN_H)
def pin_normal(c):
    pin_shape(c, c.linear([(0, '#e4e6ea'), (1, '#9da2ac')]), '#2a2d34', '#5b606a')


@image('SLIDER_PIN_CLICK', PIN_W, PIN_H)
def pin_click(c):
    pin_shape(c, c.linear([(0, '#ffffff'), (1, '#c4c7ce')]), RED, RED)


@image('SLIDER_PIN_GLOW', PIN_W, PIN_H)
def pin_glow(c):
    c.circle(PIN_W / 2, 11.5, 9.5, c.radial([(0, RED, 0.0), (0.55, RED, 0.45), (1, RED, 0)]))
    c.poly([(PIN_W / 2, 0.4), (PIN_W - 1.4, 5.6), (PIN_W - 1.4, 17.4), (PIN_W / 2, 22.6), (1.4, 17.4), (1.4, 5.6)],
           'none', stroke=RED, sw=1, opacity=0.9)


# ---------------------------------------------------------------- sync and power page
SYNC_W, SYNC_H = 1255, 516


@image('SYNC_FRAME_BG', SYNC_W, SYNC_H)
def sync_frame_bg(c):
    c.rect(0, 0, SYNC_W, SYNC_H, c.linear([(0, '#111318'), (1, '#0a0b0e')]))
    c.rect(0, 0, SYNC_W, SYNC_H, c.radial([(0, RED, 0.07), (1, RED, 0)], cx=0.85, cy=0.75, r=0.5))
    # the title row and four switch rows, 59 high from y 17
    c.rect(40, 17, 560, 59, c.linear([(0, '#ffffff', 0.035), (1, '#ffffff', 0)], x2=1, y2=0))
    for k in range(1, 6):
        y = 17 + 59 * k
        c.rect(40, y, 560, 1, c.linear([(0, LINE2), (0.8, LINE), (1, LINE, 0)], x2=1, y2=0))
    for k in range(4):
        c.rect(132, 17 + 59 * (k + 1) + 21, 3, 16, RED_D, opacity=0.9)
    # a faint power glyph balances the empty right side
    cx, cy, r = 960, 300, 120
    c.path(arc_path(cx, cy, r, -60, 240), 'none', stroke='#ffffff', sw=10, opacity=0.035,
           extra=' stroke-linecap="round"')
    c.line(cx, cy - r - 20, cx, cy - 20, '#ffffff', 10, opacity=0.035, cap='round')
    c.path(arc_path(cx, cy, r + 40, -40, 220), 'none', stroke=RED, sw=1, opacity=0.25)


@image('SYNC_FRAME_ONLY', SYNC_W, SYNC_H)
def sync_frame_only(c):
    c.frame(0, 0, SYNC_W, SYNC_H, LINE)
    corner_ticks(c, 0, 0, SYNC_W, SYNC_H, 18, RED, 2)
    for i in range(1, 62):
        c.rect(i * 20, 0, 1, 3 if i % 5 else 6, LINE2)


SW_W, SW_H = 64, 50


def switch(c, on, st):
    x, y, w, h = 6, 12, 52, 26
    alpha = 0.4 if st == 'DISABLE' else 1.0
    c.group('opacity="%s"' % f(alpha))
    if on:
        top, bottom = {'DEFAULT': ('#ff3a44', '#b3121a'), 'HOVER': ('#ff5a62', '#d01820'),
                       'PRESS': ('#c0141c', '#7a0c11'), 'DISABLE': ('#6a2a2d', '#3a1a1c')}[st]
        if st == 'HOVER':
            c.rect(x - 4, y - 4, w + 8, h + 8, RED, rx=17, opacity=0.35, extra=' filter="%s"' % c.blur(3))
        c.rect(x, y, w, h, c.linear([(0, top), (1, bottom)]), rx=13)
        c.rect(x + 0.5, y + 0.5, w - 1, h - 1, 'none', rx=12.5, stroke='#ff7a80', sw=1, opacity=0.6)
        kx = x + w - 13 - (1.5 if st == 'PRESS' else 0)
        c.circle(kx, y + 13, 10, c.linear([(0, '#ffffff'), (1, '#d6d8dd')]))
        c.circle(kx, y + 13, 3, RED_D)
    else:
        border = {'DEFAULT': LINE2, 'HOVER': '#5a5f6b', 'PRESS': '#767b86', 'DISABLE': LINE}[st]
        c.rect(x, y, w, h, c.linear([(0, '#0b0c0f'), (1, '#1a1d23')]), rx=13)
        c.rect(x + 0.5, y + 0.5, w - 1, h - 1, 'none', rx=12.5, stroke=border, sw=1)
        kx = x + 13 + (1.5 if st == 'PRESS' else 0)
        knob = {'DEFAULT': ('#8a8f99', '#5d626c'), 'HOVER': ('#c2c5cc', '#8a8f99'),
                'PRESS': ('#70757f', '#4a4e56'), 'DISABLE': ('#4a4e56', '#33363c')}[st]
        c.circle(kx, y + 13, 10, c.linear([(0, knob[0]), (1, knob[1])]))
    c.end()


@states('SYNC_OFF_', ('DEFAULT', 'HOVER', 'PRESS', 'DISABLE'), SW_W, SW_H)
def sync_off(c, st):
    switch(c, False, st)


@states('SYNC_ON_', ('DEFAULT', 'HOVER', 'PRESS', 'DISABLE'), SW_W, SW_H)
def sync_on(c, st):
    switch(c, True, st)


def device_icon(c, kind):
    col, sw = SOFT, 2.5
    if kind == 'KEYBOARD':
        c.rect(6, 20, 52, 26, 'none', rx=4, stroke=col, sw=sw)
        for row in range(3):
            for i in range(7 - (row == 2) * 4):
                c.rect(11 + i * 6.5 + (row == 2) * 13, 25 + row * 6, 4, 3, col)
    elif kind == 'MOUSE':
        c.rect(20, 10, 24, 42, 'none', rx=12, stroke=col, sw=sw)
        c.line(32, 10, 32, 26, col, sw)
        c.rect(30.5, 16, 3, 7, RED, rx=1.5)
    elif kind == 'HEADSET':
        c.path(arc_path(32, 34, 20, 180, 360), 'none', stroke=col, sw=sw)
        c.rect(8, 32, 9, 18, 'none', rx=3, stroke=col, sw=sw)
        c.rect(47, 32, 9, 18, 'none', rx=3, stroke=col, sw=sw)
    elif kind == 'MICROPHONE':
        c.rect(24, 8, 16, 30, 'none', rx=8, stroke=col, sw=sw)
        c.path(arc_path(32, 30, 15, 0, 180), 'none', stroke=col, sw=sw)
        c.line(32, 45, 32, 55, col, sw)
        c.line(24, 55, 40, 55, col, sw, cap='round')
    else:
        c.rect(6, 10, 52, 34, 'none', rx=3, stroke=col, sw=sw)
        c.line(32, 44, 32, 52, col, sw)
        c.line(20, 54, 44, 54, col, sw, cap='round')
        c.rect(10, 40, 44, 1.5, RED)


for _kind in ('KEYBOARD', 'MOUSE', 'HEADSET', 'MICROPHONE', 'MONITOR'):
    image('SYNC_' + _kind, 64, 64)(lambda c, k=_kind: device_icon(c, k))


@image('SYNC_SCROLLBAR', 8, 100)
def sync_scrollbar(c):
    c.rect(2, 0, 4, 100, '#050608', rx=2)
    c.rect(2.5, 0.5, 3, 99, 'none', rx=1.5, stroke=LINE, sw=1)


# ---------------------------------------------------------------- zone combo box
DD_W, DD_H = 287, 36


@states('DROPDOWN_', ('NORMAL', 'HOVER', 'CLICK'), DD_W, DD_H)
def dropdown(c, st):
    fill = {'NORMAL': ('#16181e', '#101217'), 'HOVER': ('#1e2128', '#15171c'), 'CLICK': ('#2a0b0e', '#16080a')}[st]
    c.poly(chamfer(0, 0, DD_W, DD_H, 7), c.linear([(0, fill[0]), (1, fill[1])]))
    if st != 'NORMAL':
        c.rect(0, 7, 3, DD_H - 7, RED if st == 'CLICK' else RED_D)
        c.rect(3, 0, 120, DD_H, c.linear([(0, RED, 0.12 if st == 'HOVER' else 0.2), (1, RED, 0)], x2=1, y2=0))


@image('DROPDOWN_FRAME_NORMAL', DD_W, DD_H)
def dropdown_frame(c):
    pts = chamfer(0.5, 0.5, DD_W - 1, DD_H - 1, 7)
    c.poly(pts, 'none', stroke=LINE2, sw=1)
    c.rect(DD_W - 44, 8, 1, DD_H - 16, LINE2)
    c.poly([(DD_W - 27, 15), (DD_W - 21, 21), (DD_W - 15, 15)], 'none', stroke=SOFT, sw=1.8, closed=False,
           extra=' stroke-linecap="round" stroke-linejoin="round"')


@states('DROPDOWN_LIST_BG_', ('NORMAL', 'HOVER'), DD_W, DD_H)
def dropdown_row(c, st):
    c.rect(0, 0, DD_W, DD_H, '#101216', opacity=0.97)
    c.rect(0, 0, 1, DD_H, LINE2)
    c.rect(DD_W - 1, 0, 1, DD_H, LINE2)
    c.rect(12, DD_H - 1, DD_W - 24, 1, LINE)
    if st == 'HOVER':
        c.rect(1, 0, DD_W - 2, DD_H, c.linear([(0, RED, 0.32), (0.7, RED, 0.06), (1, RED, 0)], x2=1, y2=0))
        c.rect(1, 5, 3, DD_H - 10, RED)


# ---------------------------------------------------------------- apply progress overlay
SPIN = 183
LOOP_START, LOOP_LEN = 47, 91   # frames 48..138 loop after the first pass


def spinner_frame(c, j):
    cx = cy = SPIN / 2
    p = min(1.0, (j + 1) / float(LOOP_START))
    ease = 1 - (1 - p) ** 3
    turn = 720.0 * (j - LOOP_START) / LOOP_LEN      # two turns per loop, seamless
    scale = 0.7 + 0.3 * ease
    c.group('transform="translate(%s %s) scale(%s) translate(%s %s)"' % (f(cx), f(cy), f(scale), f(-cx), f(-cy)))
    c.circle(cx, cy, 50, '#000000', opacity=0.35 * ease)
    c.circle(cx, cy, 80, 'none', stroke=LINE2, sw=1, opacity=ease)
    # tick ring: ticks brighten as the comet passes
    for k in range(48):
        a = k * 7.5
        dist = (turn - a) % 360.0
        glow = max(0.0, 1 - dist / 120.0) if dist < 120 else 0.0
        r0, r1 = 84, 88 if k % 4 else 90
        ra = math.radians(a)
        col = RED if glow > 0.05 else MUTED
        c.line(cx + r0 * math.cos(ra), cy + r0 * math.sin(ra), cx + r1 * math.cos(ra), cy + r1 * math.sin(ra),
               col, 1.2, opacity=ease * (0.25 + 0.75 * glow))
    # counter-turning dashed ring
    c.circle(cx, cy, 58, 'none', stroke=SOFT, sw=1, opacity=0.3 * ease,
             extra=' stroke-dasharray="2 6" transform="rotate(%s %s %s)"' % (f(-turn / 2), f(cx), f(cy)))
    # comet: a tail of segments fading behind the head
    tail = 140 * ease
    segs = 14
    for i in range(segs):
        a0 = turn - tail + tail * i / segs
        a1 = turn - tail + tail * (i + 1) / segs + 0.5
        c.path(arc_path(cx, cy, 72, a0, a1), 'none', stroke=RED, sw=4, opacity=ease * ((i + 1) / segs) ** 1.6)
    hr = math.radians(turn)
    hx, hy = cx + 72 * math.cos(hr), cy + 72 * math.sin(hr)
    c.circle(hx, hy, 7, RED, opacity=0.5 * ease, extra=' filter="%s"' % c.blur(3))
    c.circle(hx, hy, 3.2, '#ffd9db', opacity=ease)
    c.end()


for _j in range(138):
    image('LOADING%03d' % (_j + 1), SPIN, SPIN)(lambda c, j=_j: spinner_frame(c, j))


def progress_frame(c, n):
    cx = cy = SPIN / 2
    c.circle(cx, cy, 65, 'none', stroke='#1d2026', sw=3, opacity=0.8)
    sweep = 360.0 * n / 96
    c.path(arc_path(cx, cy, 65, -90, -90 + sweep), 'none',
           stroke=c.linear([(0, RED_D), (1, RED)], 0, 0, 1, 1), sw=3, extra=' stroke-linecap="round"')
    er = math.radians(-90 + sweep)
    c.circle(cx + 65 * math.cos(er), cy + 65 * math.sin(er), 2.6, '#ffffff', opacity=0.9)


for _n in range(1, 97):
    image('PROGRESS%02d' % _n, SPIN, SPIN)(lambda c, n=_n: progress_frame(c, n))


# ---------------------------------------------------------------- colour picker
@image('COLOR_PICKER_BG', 696, 609)
def color_picker_bg(c):
    pts = chamfer(0, 0, 696, 609, 16)
    c.poly(pts, c.linear([(0, '#16181e'), (1, '#0b0c10')]), opacity=0.97)
    c.poly(chamfer(0.5, 0.5, 695, 608, 16), 'none', stroke=LINE2, sw=1)
    c.rect(23, 66, 640, 1, c.linear([(0, RED), (0.25, LINE2), (1, LINE2, 0)], x2=1, y2=0))
    c.rect(16, 25, 3, 32, RED)
    # picker well
    c.circle(37 + 206.5, 88 + 206.5, 212, '#07080a')
    c.circle(37 + 206.5, 88 + 206.5, 212.5, 'none', stroke=LINE, sw=1)
    # preview frame and number column
    c.rect(508.5, 116.5, 68, 97, 'none', stroke=LINE2, sw=1)
    c.rect(512, 120, 61, 90, '#050608')
    corner_ticks(c, 508, 116, 69, 98, 6, RED, 1.5)
    # swatch wells: two rows of five, default and recent
    for y in (283, 411):
        c.rect(497.5, y - 2.5, 175, 73, '#0a0b0e', stroke=LINE, sw=1)
    c.rect(504, 250, 170, 1, LINE)
    c.rect(504, 377, 170, 1, LINE)
    c.rect(23, 513, 650, 1, c.linear([(0, LINE2, 0), (0.5, LINE2), (1, LINE2, 0)], x2=1, y2=0))
    corner_ticks(c, 0, 0, 696, 609, 22, RED, 2, opacity=0.9)


@states('POPUP_CLOSE_', ('NORMAL', 'HOVER', 'CLICK'), 33, 32)
def popup_close(c, st):
    if st == 'HOVER':
        c.rect(0, 0, 33, 32, RED, opacity=0.9)
    elif st == 'CLICK':
        c.rect(0, 0, 33, 32, '#b3161d')
    col = SOFT if st == 'NORMAL' else WHITE
    d = 5
    c.line(16.5 - d, 16 - d, 16.5 + d, 16 + d, col, 1.6, cap='round')
    c.line(16.5 - d, 16 + d, 16.5 + d, 16 - d, col, 1.6, cap='round')


def swatch_frame(c, hole, st, size):
    """Frame around a colour square; the square itself stays transparent."""
    x0, y0, x1, y1 = hole
    col = {'NORMAL': ('#3a3e48', 1), 'HOVER': ('#e6e8ec', 1.5), 'SELECT': (RED, 2)}[st]
    m = col[1]
    outer = (x0 - m - 1, y0 - m - 1, x1 + m + 1, y1 + m + 1)
    mid = c.uid('m')
    c.add('<defs><mask id="%s" maskUnits="userSpaceOnUse" x="0" y="0" width="%s" height="%s">'
          '<rect width="%s" height="%s" fill="#fff"/><rect x="%s" y="%s" width="%s" height="%s" fill="#000"/>'
          '</mask></defs>' % (mid, f(c.w), f(c.h), f(c.w), f(c.h), f(x0), f(y0), f(x1 - x0), f(y1 - y0)))
    c.group('mask="url(#%s)"' % mid)
    if st == 'SELECT':
        c.rect(outer[0] - 1.5, outer[1] - 1.5, outer[2] - outer[0] + 3, outer[3] - outer[1] + 3, RED, opacity=0.25,
               extra=' filter="%s"' % c.blur(1.5))
    ring = ('M%s %s H%s V%s H%s Z M%s %s V%s H%s V%s Z'
            % (f(outer[0]), f(outer[1]), f(outer[2]), f(outer[3]), f(outer[0]),
               f(x0), f(y0), f(y1), f(x1), f(y0)))
    c.path(ring, col[0], extra=' fill-rule="evenodd"')
    # a dark hairline just inside the ring separates the colour from the frame
    c.path('M%s %s H%s V%s H%s Z M%s %s V%s H%s V%s Z'
           % (f(x0 - 0.5), f(y0 - 0.5), f(x1 + 0.5), f(y1 + 0.5), f(x0 - 0.5),
              f(x0), f(y0), f(y1), f(x1), f(y0)), '#000', extra=' fill-rule="evenodd"', opacity=0.6)
    c.end()


@states('COLOR_PICKER_COLOR_', ('NORMAL', 'HOVER', 'SELECT'), 34, 34)
def picker_swatch(c, st):
    swatch_frame(c, (7, 7, 27, 27), st, 34)


@states('COLOR_', ('NORMAL', 'HOVER'), 37, 35)
def color_button(c, st):
    # the panel fills (4, 4) side 27 on the 1080 set and from y 7 px on the 4K set
    if c.s == 1:
        hole = (4, 4, 31, 31)
    else:
        hole = (8 / c.s, 7 / c.s, 62 / c.s, 61 / c.s)
    swatch_frame(c, hole, 'NORMAL' if st == 'NORMAL' else 'HOVER', 37)
    if st == 'HOVER':
        corner_ticks(c, 0.5, 0.5, 36, 34, 5, RED, 1)


RING = 413
RING_C = 206.5


@image('COLOR_RING', RING, RING)
def color_ring(c):
    r_out, r_in = 200, 176
    steps = 360 * c.s
    c.circle(RING_C, RING_C, (r_out + r_in) / 2, 'none', stroke='#000000', sw=r_out - r_in + 6, opacity=0.6)
    for i in range(steps):
        a0 = 360.0 * i / steps
        a1 = 360.0 * (i + 1) / steps + 0.35   # overlap hides seams between wedges
        pts = []
        for a, r in ((a0, r_in), (a0, r_out), (a1, r_out), (a1, r_in)):
            ra = math.radians(a)
            pts.append((RING_C + r * math.cos(ra), RING_C + r * math.sin(ra)))
        c.poly(pts, hsv_hex(360.0 * (i + 0.5) / steps))
    c.circle(RING_C, RING_C, r_out - 0.5, 'none', stroke='#000', sw=1, opacity=0.35)
    c.circle(RING_C, RING_C, r_in + 0.5, 'none', stroke='#000', sw=1, opacity=0.5)
    c.circle(RING_C, RING_C, r_out + 2, 'none', stroke=LINE2, sw=1)


TRI = 393
TRI_R = 156


@image('COLOR_TRIANGLE', TRI, TRI)
def color_triangle(c):
    # the program turns this image by 270 degrees; draw it turned back so the
    # pure-hue corner ends at 3 o'clock
    cc = TRI / 2
    pts = [(cc + TRI_R * math.cos(math.radians(a)), cc + TRI_R * math.sin(math.radians(a))) for a in (240, 0, 120)]
    c.group('transform="rotate(90 %s %s)"' % (f(cc), f(cc)))
    c.poly(pts, 'none', stroke='#000', sw=4, opacity=0.5, extra=' stroke-linejoin="round"')
    c.poly(pts, 'none', stroke='#e9ebef', sw=1.5, opacity=0.85, extra=' stroke-linejoin="round"')
    for x, y in pts:
        c.circle(x, y, 3, RED_D, stroke='#e9ebef', sw=1)
    c.end()


@image('COLOR_PICKER_TRIANGLE', 16, 16)
def ring_marker(c):
    # turned by 90 degrees in the program: drawn turned back, pointing at the centre
    c.group('transform="rotate(-90 8 8)"')
    pts = [(1.5, 8), (14.5, 1.5), (14.5, 14.5)]
    c.poly(pts, '#ffffff', stroke='#000', sw=1.2, extra=' stroke-linejoin="round"')
    c.end()


@image('COLOR_PICKER', 16, 16)
def sv_marker(c):
    # the program places the image 2 px left/up of centred: the ring sits there
    m = 8 - 2.0 / c.s
    c.circle(m + 0.8, m + 0.8, 5.5, '#000', opacity=0.35, extra=' filter="%s"' % c.blur(0.8))
    c.circle(m, m, 5, 'none', stroke='#000', sw=3)
    c.circle(m, m, 5, 'none', stroke='#ffffff', sw=1.6)


@states('TXT_BOX_', ('NORMAL', 'HOVER'), 54, 31)
def text_box(c, st):
    c.rect(0, 0, 54, 31, '#08090c', rx=3)
    c.rect(0.5, 0.5, 53, 30, 'none', rx=2.5, stroke=LINE2 if st == 'NORMAL' else RED, sw=1)
    if st == 'HOVER':
        c.rect(2, 26, 50, 3, c.linear([(0, RED, 0), (0.5, RED, 0.5), (1, RED, 0)], x2=1, y2=0))
    c.rect(3, 1, 48, 1, '#000', opacity=0.5)


# ---------------------------------------------------------------- effect panel
@image('EFFECT_INFO_BG', 287, 514)
def effect_info_bg(c):
    c.poly(chamfer(0, 0, 287, 514, 10), c.linear([(0, '#15171d'), (1, '#0c0d11')]))
    c.poly(chamfer(0.5, 0.5, 286, 513, 10), 'none', stroke=LINE2, sw=1)
    c.rect(10, 0, 120, 2, c.linear([(0, RED), (1, RED, 0)], x2=1, y2=0))
    c.rect(0, 0, 287, 120, c.radial([(0, RED, 0.08), (1, RED, 0)], cx=0.1, cy=0, r=0.9))
    pid = c.uid('p')
    c.add('<defs><pattern id="%s" width="8" height="8" patternUnits="userSpaceOnUse">'
          '<path d="M0 8 L8 0" stroke="#ffffff" stroke-width="0.6" opacity="0.03"/></pattern></defs>' % pid)
    c.rect(1, 440, 285, 73, 'url(#%s)' % pid)
    corner_ticks(c, 0, 0, 287, 514, 8, MUTED, 1, opacity=0.6)


@image('LINE', 263, 1, ONLY_4K)
def separator(c):
    c.rect(0, 0, 263, 1, c.linear([(0, LINE2, 0), (0.12, LINE2), (0.88, LINE2), (1, LINE2, 0)], x2=1, y2=0))
    c.rect(0, 0, 28, 1, RED)


@states('RADIO_BTN_', ('NORMAL', 'HOVER', 'SELECT'), 15, 15)
def radio(c, st):
    if st == 'NORMAL':
        c.circle(7.5, 7.5, 6.5, '#0a0b0e', stroke='#6b707c', sw=1.2)
    elif st == 'HOVER':
        c.circle(7.5, 7.5, 6.5, '#15171c', stroke='#e2e4e9', sw=1.2)
        c.circle(7.5, 7.5, 2, '#e2e4e9', opacity=0.6)
    else:
        c.circle(7.5, 7.5, 6.5, '#1a0a0c', stroke=RED, sw=1.4)
        c.circle(7.5, 7.5, 3.4, RED)


@states('CHECKBOX_', ('NORMAL', 'HOVER', 'CHECKED', 'CHECKED_HOVER'), 15, 15)
def checkbox(c, st):
    border = {'NORMAL': '#6b707c', 'HOVER': '#e2e4e9', 'CHECKED': RED, 'CHECKED_HOVER': '#ff6a70'}[st]
    c.rect(1.5, 1.5, 12, 12, '#0a0b0e', rx=2, stroke=border, sw=1.2)
    if st.startswith('CHECKED'):
        c.rect(3.5, 3.5, 8, 8, RED, rx=1)
        c.poly([(4.8, 7.6), (6.7, 9.5), (10.2, 5.6)], 'none', stroke=WHITE, sw=1.5, closed=False,
               extra=' stroke-linecap="round" stroke-linejoin="round"')


def arrow(c, direction, st):
    col = '#9a9fa9' if st == 'NORMAL' else RED
    c.circle(7.5, 7.5, 7, '#0a0b0e' if st == 'NORMAL' else '#1a0a0c', stroke=col, sw=1)
    rot = {'RIGHT': 0, 'DOWN': 90, 'LEFT': 180, 'UP': 270}[direction]
    c.poly([(6, 4.5), (9.5, 7.5), (6, 10.5)], 'none', stroke=col, sw=1.8, closed=False,
           extra=' stroke-linecap="round" stroke-linejoin="round" transform="rotate(%d 7.5 7.5)"' % rot)


for _dir in ('RIGHT', 'LEFT', 'UP', 'DOWN'):
    for _st in ('NORMAL', 'SELECT'):
        image('ARROR_%s_%s' % (_dir, _st), 15, 15)(lambda c, d=_dir, s=_st: arrow(c, d, s))
