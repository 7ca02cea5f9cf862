#!/usr/bin/env python3
"""Checks the built skin resources: every image the program loads exists in
both sets at the size its users lay out, the sets differ only by scale, and
the transparent holes sit where the program paints colours under frames."""
import math
import struct
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean
from pngread import Png  # noqa: E402

RES_PATH = None
KEY_TABLE = None

SET_1080, SET_4K = '1920_1080', '4K'
ONLY_4K = {'APPLY_ICON', 'LINE'}


def family(prefix, suffixes, size):
    return {prefix + s: size for s in suffixes}


# Sizes at 100 % for the images whose users fix them; None: any size.
REQUIRED = {
    'MAIN_BG': (1400, 788), 'TITLE': None, 'TAB_LINE': None, 'TAB_BAR': None, 'APPLY_ICON': (12, 12),
    'KB_FRAME_RS200': None, 'KB_RESULT_FR_RT310': (947, 516),
    'SLIDER_0': None, 'SLIDER_100': None, 'SLIDER_PIN_NORMAL': None, 'SLIDER_PIN_CLICK': None,
    'SLIDER_PIN_GLOW': None, 'SYNC_FRAME_BG': None, 'SYNC_FRAME_ONLY': (1255, 516),
    'COLOR_PICKER_BG': (696, 609), 'COLOR_RING': (413, 413), 'COLOR_TRIANGLE': None,
    'COLOR_PICKER_TRIANGLE': None, 'COLOR_PICKER': None, 'EFFECT_INFO_BG': (287, 514), 'LINE': None,
    'DROPDOWN_FRAME_NORMAL': (287, 36),
}
REQUIRED.update(family('WINDOW_MIN_', ('NORMAL', 'HOVER', 'CLICK'), (38, 30)))
REQUIRED.update(family('WINDOW_CLOSE_', ('NORMAL', 'HOVER', 'CLICK'), (55, 30)))
REQUIRED.update(family('BTN_', ('NORMAL', 'HOVER', 'CLICK', 'DISABLE'), (150, 38)))
REQUIRED.update(family('BTN_FRAME_', ('NORMAL', 'DISABLE'), (150, 38)))
REQUIRED.update(family('SYNC_OFF_', ('DEFAULT', 'HOVER', 'PRESS', 'DISABLE'), None))
REQUIRED.update(family('SYNC_ON_', ('DEFAULT', 'HOVER', 'PRESS', 'DISABLE'), None))
REQUIRED.update(family('DROPDOWN_', ('NORMAL', 'HOVER', 'CLICK'), (287, 36)))
REQUIRED.update(family('DROPDOWN_LIST_BG_', ('NORMAL', 'HOVER'), (287, 36)))
REQUIRED.update(family('POPUP_CLOSE_', ('NORMAL', 'HOVER', 'CLICK'), (33, 32)))
REQUIRED.update(family('COLOR_PICKER_COLOR_', ('NORMAL', 'HOVER', 'SELECT'), (34, 34)))
REQUIRED.update(family('COLOR_', ('NORMAL', 'HOVER'), (37, 35)))
REQUIRED.update(family('TXT_BOX_', ('NORMAL', 'HOVER'), None))
REQUIRED.update(family('RADIO_BTN_', ('NORMAL', 'HOVER', 'SELECT'), (15, 15)))
REQUIRED.update(family('ARROR_RIGHT_', ('NORMAL', 'SELECT'), (15, 15)))
REQUIRED.update(family('ARROR_LEFT_', ('NORMAL', 'SELECT'), (15, 15)))
REQUIRED.update({'LOADING%03d' % i: (183, 183) for i in range(1, 139)})
REQUIRED.update({'PROGRESS%02d' % i: (183, 183) for i in range(1, 97)})

STATE_FAMILIES = [
    ['WINDOW_MIN_NORMAL', 'WINDOW_MIN_HOVER', 'WINDOW_MIN_CLICK'],
    ['WINDOW_CLOSE_NORMAL', 'WINDOW_CLOSE_HOVER', 'WINDOW_CLOSE_CLICK'],
    ['BTN_NORMAL', 'BTN_HOVER', 'BTN_CLICK', 'BTN_DISABLE'],
    ['BTN_FRAME_NORMAL', 'BTN_FRAME_DISABLE'],
    ['SYNC_OFF_DEFAULT', 'SYNC_OFF_HOVER', 'SYNC_OFF_PRESS', 'SYNC_OFF_DISABLE',
     'SYNC_ON_DEFAULT', 'SYNC_ON_HOVER', 'SYNC_ON_PRESS', 'SYNC_ON_DISABLE'],
    ['DROPDOWN_NORMAL', 'DROPDOWN_HOVER', 'DROPDOWN_CLICK'],
    ['DROPDOWN_LIST_BG_NORMAL', 'DROPDOWN_LIST_BG_HOVER'],
    ['POPUP_CLOSE_NORMAL', 'POPUP_CLOSE_HOVER', 'POPUP_CLOSE_CLICK'],
    ['COLOR_PICKER_COLOR_NORMAL', 'COLOR_PICKER_COLOR_HOVER', 'COLOR_PICKER_COLOR_SELECT'],
    ['COLOR_NORMAL', 'COLOR_HOVER'], ['TXT_BOX_NORMAL', 'TXT_BOX_HOVER'],
    ['RADIO_BTN_NORMAL', 'RADIO_BTN_HOVER', 'RADIO_BTN_SELECT'],
    ['ARROR_RIGHT_NORMAL', 'ARROR_RIGHT_SELECT', 'ARROR_LEFT_NORMAL', 'ARROR_LEFT_SELECT'],
    ['SLIDER_PIN_NORMAL', 'SLIDER_PIN_CLICK'], ['SLIDER_0', 'SLIDER_100'],
]


def read_res(path):
    """(type, name) -> data, read independently of the generator."""
    with open(path, 'rb') as f:
        blob = f.read()

    def name_at(p):
        if blob[p:p + 2] == b'\xff\xff':
            return struct.unpack_from('<H', blob, p + 2)[0], p + 4
        end = p
        while blob[end:end + 2] != b'\0\0':
            end += 2
        return blob[p:end].decode('utf-16-le'), end + 2

    out, pos = {}, 0
    while pos < len(blob):
        size, header = struct.unpack_from('<II', blob, pos)
        t, p = name_at(pos + 8)
        n, p = name_at(p)
        if size or t != 0:
            if (t, n) in out:
                raise AssertionError('duplicate resource %r' % ((t, n),))
            out[(t, n)] = blob[pos + header:pos + header + size]
        if header % 4 or pos % 4:
            raise AssertionError('misaligned resource header at %d' % pos)
        pos += header + size + (-size % 4)
    return out


class SkinTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.res = read_res(RES_PATH)
        cls._png = {}

    def png(self, res_set, name):
        key = (res_set, name)
        if key not in self._png:
            self.assertIn(key, self.res, '%s missing from set %s' % (name, res_set))
            self._png[key] = Png(self.res[key])
        return self._png[key]

    def names(self, res_set):
        return {n for (t, n) in self.res if t == res_set}

    def test_only_the_two_sets(self):
        self.assertEqual({t for t, _ in self.res}, {SET_1080, SET_4K})

    def test_set_sizes_and_four_k_extras(self):
        self.assertEqual(len(self.names(SET_1080)), 310)
        self.assertEqual(len(self.names(SET_4K)), 312)
        self.assertEqual(self.names(SET_4K) - self.names(SET_1080), ONLY_4K)
        self.assertFalse(self.names(SET_1080) - self.names(SET_4K))

    def test_required_images_at_their_sizes(self):
        for name, size in sorted(REQUIRED.items()):
            sets = (SET_4K,) if name in ONLY_4K else (SET_1080, SET_4K)
            for res_set in sets:
                p = self.png(res_set, name)
                self.assertTrue(p.is_rgba8, '%s/%s is not 8-bit RGBA' % (res_set, name))
                if size:
                    k = 2 if res_set == SET_4K else 1
                    self.assertEqual((p.width, p.height), (size[0] * k, size[1] * k), '%s/%s' % (res_set, name))

    def test_four_k_is_twice_the_size(self):
        for name in self.names(SET_1080):
            a, b = self.png(SET_1080, name), self.png(SET_4K, name)
            self.assertEqual((b.width, b.height), (2 * a.width, 2 * a.height), name)

    def test_layout_limits(self):
        self.assertLessEqual(self.png(SET_1080, 'TAB_BAR').height, 5)
        pin = self.png(SET_1080, 'SLIDER_PIN_NORMAL')
        self.assertTrue(18 <= pin.width <= 24 and pin.height == 23, (pin.width, pin.height))
        track = self.png(SET_1080, 'SLIDER_0')
        # the pin at the last level must stay inside the 177-wide selector from x 14
        self.assertLessEqual(14 + track.width + pin.width // 6, 177)
        self.assertLessEqual(self.png(SET_1080, 'SYNC_OFF_DEFAULT').height, 59)
        marker = self.png(SET_1080, 'COLOR_PICKER_TRIANGLE')
        self.assertEqual(marker.width, marker.height)
        self.assertLessEqual(marker.width, 16)
        sv = self.png(SET_1080, 'COLOR_PICKER')
        self.assertTrue(12 <= sv.width <= 16 and sv.width == sv.height)
        tri = self.png(SET_1080, 'COLOR_TRIANGLE')
        self.assertEqual((tri.width, tri.height), (393, 393))
        self.assertGreaterEqual(self.png(SET_1080, 'TAB_LINE').width, 997 - 52)

    def test_states_differ(self):
        for fam in STATE_FAMILIES:
            faces = [bytes(self.png(SET_1080, n).pixels()) for n in fam]
            for i in range(len(fam)):
                for j in range(i + 1, len(fam)):
                    self.assertNotEqual(faces[i], faces[j], '%s looks like %s' % (fam[i], fam[j]))

    def assert_clear(self, p, x0, y0, x1, y1, what):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.assertEqual(p.rgba(x, y)[3], 0, '%s: pixel (%d, %d) not transparent' % (what, x, y))

    def test_colour_button_holes(self):
        # the effect panel paints (4, 4) side 27 on the 1080 set, from (8, 7) side 54 on 4K
        self.assert_clear(self.png(SET_1080, 'COLOR_NORMAL'), 5, 5, 30, 30, 'COLOR_NORMAL')
        self.assert_clear(self.png(SET_1080, 'COLOR_HOVER'), 5, 5, 30, 30, 'COLOR_HOVER')
        self.assert_clear(self.png(SET_4K, 'COLOR_NORMAL'), 9, 8, 61, 60, '4K COLOR_NORMAL')
        self.assertGreater(self.png(SET_1080, 'COLOR_NORMAL').rgba(2, 17)[3], 0)
        for st in ('NORMAL', 'HOVER', 'SELECT'):
            self.assert_clear(self.png(SET_1080, 'COLOR_PICKER_COLOR_' + st), 8, 8, 26, 26, st)
            self.assert_clear(self.png(SET_4K, 'COLOR_PICKER_COLOR_' + st), 15, 15, 53, 53, st)

    def test_title_leaves_the_bullet_squares(self):
        p = self.png(SET_1080, 'TITLE')
        self.assert_clear(p, 9, 10, 24, 25, 'TITLE left square')
        self.assert_clear(p, 264, 10, 279, 25, 'TITLE right square')
        self.assertGreater(p.rgba(40, 17)[3], 0)

    def test_swappable_squares_are_distinct(self):
        p = self.png(SET_1080, 'MAIN_BG')
        for y in (192, 304):
            left = [p.rgba(1023 + dx, y + dy) for dy in range(17) for dx in range(17)]
            right = [p.rgba(1278 + dx, y + dy) for dy in range(17) for dx in range(17)]
            self.assertNotEqual(left, right, 'row %d' % y)

    def test_hue_ring_runs_clockwise_from_three_o_clock(self):
        p = self.png(SET_1080, 'COLOR_RING')
        c, r = 206.5, 188
        for angle, channel in ((0, 0), (120, 1), (240, 2)):
            a = math.radians(angle)
            px = p.rgba(int(c + r * math.cos(a)), int(c + r * math.sin(a)))
            self.assertEqual(px[3], 255)
            self.assertEqual(max(range(3), key=lambda i: px[i]), channel, (angle, px))
        yellow = p.rgba(int(c + r * math.cos(math.radians(60))), int(c + r * math.sin(math.radians(60))))
        self.assertTrue(yellow[0] > 200 and yellow[1] > 200 and yellow[2] < 60, yellow)
        self.assertEqual(p.rgba(206, 206)[3], 0)

    def test_progress_grows(self):
        def lit(n):
            px = self.png(SET_1080, 'PROGRESS%02d' % n).pixels()
            return sum(1 for i in range(0, len(px), 4) if px[i + 3] > 128 and px[i] > 128)
        counts = [lit(n) for n in (5, 30, 60, 96)]
        self.assertEqual(counts, sorted(counts))
        self.assertLess(counts[0], counts[-1])

    def test_spinner_moves_and_loops_seamlessly(self):
        def frame(i):
            return bytes(self.png(SET_1080, 'LOADING%03d' % i).pixels())
        frames = [frame(i) for i in (1, 20, 47, 48, 100, 137)]
        self.assertEqual(len(set(frames)), len(frames))
        # after frame 138 the program shows frame 48 again, as it does after 47
        self.assertEqual(frame(138), frame(47))

    def test_keyboard_holes_follow_the_key_table(self):
        import keyparse
        keys = keyparse.parse(KEY_TABLE)
        for res_set, k in ((SET_1080, 1), (SET_4K, 2)):
            if res_set == SET_4K:
                continue  # the 4K picture is the same drawing; one set is enough for the pixel walk
            p = self.png(res_set, 'KB_RESULT_FR_RT310')
            for number, cap, lamp in keys:
                if cap is None or number == 151:
                    continue
                l, t, r, b = (v * k / 2.0 for v in cap)
                cx, cy = int((l + r) / 2), int((t + b) / 2)
                for dx in (-1, 0, 1):
                    for dy in (-1, 0, 1):
                        self.assertEqual(p.rgba(cx + dx, cy + dy)[3], 0, 'key %d centre not clear' % number)
                # half-way into the gap beside the cap the deck is opaque
                self.assertEqual(p.rgba(int(l - 2 * k), cy)[3], 255, 'key %d left edge' % number)
                self.assertEqual(p.rgba(cx, int(t - 2 * k))[3], 255, 'key %d top edge' % number)
            # the lower edge of the long key is part of its hole
            edge = [c for n, c, _ in keys if n == 151][0]
            self.assertEqual(p.rgba(int((edge[0] + edge[2]) / 4), int((edge[1] + edge[3]) / 4))[3], 0)
            self.assertEqual(p.rgba(5, 5)[3], 0, 'outside the deck the frame shows')
            self.assertEqual(p.rgba(470, 420)[3], 255, 'the palm rest is solid')


if __name__ == '__main__':
    RES_PATH, KEY_TABLE = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=1)
