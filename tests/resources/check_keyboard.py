#!/usr/bin/env python3
"""Checks the keyboard key table against the picture's fixed numbering: which
keys have lamps and rectangles, the named groups, the long key, and that the
generated header carries the same tables."""
import re
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean
import keyparse  # noqa: E402

TABLE = HEADER = None

NO_LAMP = {0, 63, *range(65, 76), 77, 78, 81, 82, 87, 88, 94, 107, 109, 111, 125, 128, 130,
           *range(134, 140), 149, 151, 152}
LAMP_WITHOUT_RECT = {14, 42, 45, 56, 85, 86, 131, 132, 133, *range(140, 149)}
PRESENT_BYTES = bytes.fromhex('4cc037f96fffffffffff9f7fec3f0180ff0ff001')
LONG_CAP = [(469, 567, 0), (469, 651, 4), (494, 671, 4), (709, 671, 4), (733, 655, 4), (956, 655, 2), (956, 567, 3)]
LONG_LAMP = [(465, 563, 0), (465, 652, 4), (493, 675, 4), (710, 675, 4), (734, 656, 4), (960, 656, 2), (960, 563, 3)]


def inside(a, b):
    return b[0] <= a[0] and b[1] <= a[1] and a[2] <= b[2] and a[3] <= b[3]


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


class KeyTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.rows, cls.outlines = keyparse.parse_full(TABLE)
        cls.by = {r['number']: r for r in cls.rows}

    def test_numbering(self):
        self.assertEqual([r['number'] for r in self.rows], list(range(153)))

    def test_lamps_and_rectangles(self):
        self.assertEqual({r['number'] for r in self.rows if r['code'] is None}, NO_LAMP)
        with_rect = {r['number'] for r in self.rows if r['cap']}
        self.assertEqual(len(with_rect), 101)
        lit = {r['number'] for r in self.rows if r['code'] is not None}
        self.assertEqual(lit - with_rect, LAMP_WITHOUT_RECT)
        self.assertEqual(with_rect - lit, {151})

    def test_codes(self):
        codes = [r['code'] for r in self.rows if r['code'] is not None]
        self.assertEqual(len(codes), 118)
        self.assertTrue(all(0 <= c <= 124 for c in codes))
        self.assertEqual(codes.count(47), 2)
        self.assertEqual(len(set(codes)), 117)

    def test_music_set(self):
        bits = bytearray(20)
        for r in self.rows:
            if r['music']:
                bits[r['number'] // 8] |= 1 << (r['number'] % 8)
        self.assertEqual(bytes(bits), PRESENT_BYTES)

    def test_geometry(self):
        drawn = [r for r in self.rows if r['cap']]
        for r in drawn:
            self.assertTrue(inside(r['cap'], r['lamp']), r['number'])
            self.assertTrue(inside(r['lamp'], (0, 0, 1894, 1032)), r['number'])
        caps = [r for r in drawn if r['number'] not in (61, 151)]
        for i, a in enumerate(caps):
            for b in caps[i + 1:]:
                self.assertFalse(overlap(a['cap'], b['cap']), (a['number'], b['number']))

    def test_named_groups(self):
        def row_of(k):
            return self.by[k]['cap'][1]
        # Q W E R and W A S D: adjacent keys in the two letter rows
        for group in ((17, 18, 19, 20), (31, 32, 33)):
            self.assertEqual(len({row_of(k) for k in group}), 1)
            xs = [self.by[k]['cap'][0] for k in group]
            self.assertEqual(xs, sorted(xs))
        self.assertLess(row_of(18), row_of(32))
        w, s = self.by[18]['cap'], self.by[32]['cap']
        self.assertTrue(w[0] < s[2] and s[0] < w[2], 'W stands above S')
        # the gradients span from key 110's lamp top to key 84's lamp bottom
        tops = min(r['lamp'][1] for r in self.rows if r['cap'])
        bottoms = [r['lamp'][3] for r in self.rows if r['cap'] and r['number'] not in (61, 151)]
        self.assertEqual(self.by[110]['lamp'][1], tops)
        self.assertEqual(self.by[84]['lamp'][3], max(bottoms))

    def test_long_key(self):
        self.assertEqual(self.outlines[(61, 'cap')], LONG_CAP)
        self.assertEqual(self.outlines[(61, 'lamp')], LONG_LAMP)
        cap61, edge = self.by[61]['cap'], self.by[151]['cap']
        xs = [p[0] for p in LONG_CAP]
        self.assertEqual((cap61[0], cap61[2]), (min(xs), max(xs)))
        self.assertTrue(cap61[0] <= edge[0] and edge[2] <= cap61[2] and edge[3] > cap61[3])

    def test_header_matches_the_table(self):
        with open(HEADER, encoding='utf-8') as f:
            text = f.read()
        codes = re.search(r'g_KeyCodes\[kKeyboardKeyCount\] = \{(.*?)\};', text, re.S).group(1)
        codes = [int(v) for v in re.findall(r'\d+', codes)]
        self.assertEqual(codes, [255 if r['code'] is None else r['code'] for r in self.rows])
        rects = re.search(r'g_KeyRects\[kKeyboardKeyCount\]\[8\] = \{(.*?)\n\};', text, re.S).group(1)
        rows = re.findall(r'\{([^}]*)\}', rects)
        self.assertEqual(len(rows), 153)
        for r, row in zip(self.rows, rows):
            want = list(r['cap'] + r['lamp']) if r['cap'] else [0] * 8
            self.assertEqual([int(v) for v in row.split(',')], want, r['number'])
        bits = re.search(r'kKeyPresentBits\[20\] = \{(.*?)\};', text, re.S).group(1)
        self.assertEqual(bytes(int(v, 16) for v in re.findall(r'0x[0-9a-f]+', bits)), PRESENT_BYTES)


if __name__ == '__main__':
    TABLE, HEADER = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=1)
