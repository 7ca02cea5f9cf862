#!/usr/bin/env python3
"""Reads the keyboard picture's key table and writes it as a C++ header.

The table file is the one source of the key geometry: the skin generator cuts
the picture's holes from it and the program gets its tables from the header.
"""
import argparse
import os
import sys

KEY_COUNT = 153
NO_LAMP_CODE = 255
PICTURE_WIDTH = 947   # pixels at 100 %
PICTURE_HEIGHT = 516


class Key:
    def __init__(self, number, code, music, label, cap, lamp):
        self.number = number
        self.code = code        # None: no lamp
        self.music = music
        self.label = label      # None: no legend
        self.cap = cap          # (l, t, r, b) stored units, or None
        self.lamp = lamp

    @property
    def has_lamp(self):
        return self.code is not None


class Layout:
    def __init__(self, keys, outlines):
        self.keys = keys            # list indexed by key number
        self.outlines = outlines    # {(key, 'cap'|'lamp'): [(x, y, kind), ...]}

    def drawn(self):
        return [k for k in self.keys if k.cap is not None]


def _rect(fields, line_no):
    try:
        l, t, r, b = (int(v) for v in fields)
    except ValueError:
        raise ValueError('line %d: bad rectangle %r' % (line_no, fields))
    if not (l < r and t < b):
        raise ValueError('line %d: empty rectangle %r' % (line_no, fields))
    return (l, t, r, b)


def parse(path):
    keys = []
    outlines = {}
    with open(path, encoding='utf-8') as f:
        for line_no, raw in enumerate(f, 1):
            line = raw.split('#', 1)[0].strip() if not raw.lstrip().startswith('#') else ''
            if not line:
                continue
            fields = line.split()
            if fields[0] == 'outline':
                key, which = int(fields[1]), fields[2]
                points = []
                for token in fields[3:]:
                    x, y, kind = (int(v) for v in token.split(','))
                    points.append((x, y, kind))
                outlines[(key, which)] = points
                continue
            number = int(fields[0])
            if number != len(keys):
                raise ValueError('line %d: key %d out of order' % (line_no, number))
            code = None if fields[1] == '-' else int(fields[1])
            music = int(fields[2])
            label = None if fields[3] == '_' else fields[3]
            if fields[4] == '-':
                cap = lamp = None
                if len(fields) != 5:
                    raise ValueError('line %d: extra fields' % line_no)
            else:
                if len(fields) != 12:
                    raise ValueError('line %d: expected 12 fields' % line_no)
                cap = _rect(fields[4:8], line_no)
                lamp = _rect(fields[8:12], line_no)
            keys.append(Key(number, code, music, label, cap, lamp))
    if len(keys) != KEY_COUNT:
        raise ValueError('%s: %d keys, expected %d' % (path, len(keys), KEY_COUNT))
    return Layout(keys, outlines)


def present_bytes(layout):
    out = bytearray(20)
    for k in layout.keys:
        if k.music:
            out[k.number // 8] |= 1 << (k.number % 8)
    return bytes(out)


def header_text(layout):
    lines = [
        '// Generated from resources/keyboard/keyboard_layout.txt; do not edit.',
        '#pragma once',
        '',
        '#include <cstdint>',
        '',
        '// Key tables of the keyboard picture (layout 0). Coordinates are stored',
        '// at twice their size at 100 % scale.',
        'inline constexpr int kKeyboardKeyCount = %d;' % KEY_COUNT,
        'inline constexpr int kKeyboardPictureWidth = %d;' % PICTURE_WIDTH,
        'inline constexpr int kKeyboardPictureHeight = %d;' % PICTURE_HEIGHT,
        'inline constexpr std::uint16_t kKeyNoLamp = %d;' % NO_LAMP_CODE,
        '',
        '// Controller key code per key; kKeyNoLamp for keys without a lamp.',
        'inline constexpr std::uint16_t g_KeyCodes[kKeyboardKeyCount] = {',
    ]
    codes = [str(k.code if k.has_lamp else NO_LAMP_CODE) for k in layout.keys]
    for i in range(0, len(codes), 16):
        lines.append('    ' + ', '.join(codes[i:i + 16]) + ',')
    lines += [
        '};',
        '',
        '// Per key: cap rectangle, then lamp rectangle (left, top, right, bottom);',
        '// all zero when the key is not drawn.',
        'inline constexpr std::uint16_t g_KeyRects[kKeyboardKeyCount][8] = {',
    ]
    for k in layout.keys:
        vals = (k.cap + k.lamp) if k.cap else (0,) * 8
        # legends go into the comment only when plain, so no backslash continues it
        legend = ' ' + k.label if k.label and k.label.isalnum() else ''
        lines.append('    {%s},  // %d%s' % (', '.join(str(v) for v in vals), k.number, legend))
    lines += [
        '};',
        '',
        '// Keys the music preview lights fully: bit k %% 8 of byte k / 8.',
        'inline constexpr std::uint8_t kKeyPresentBits[20] = {',
        '    ' + ', '.join('0x%02x' % b for b in present_bytes(layout)) + ',',
        '};',
        '',
        'inline constexpr bool IsKeyPresent(int key) {',
        '    return key >= 0 && key < kKeyboardKeyCount && ((kKeyPresentBits[key / 8] >> (key % 8)) & 1) != 0;',
        '}',
        '',
        '// The long key and its lower edge, which copies the long key\'s colour.',
    ]
    long_keys = sorted({key for key, _ in layout.outlines})
    if len(long_keys) != 1:
        raise ValueError('expected one key with its own outline, found %r' % long_keys)
    long_key = long_keys[0]
    lines += [
        'inline constexpr int kLongKey = %d;' % long_key,
        'inline constexpr int kLongKeyLowerEdge = 151;',
        '',
        'struct KeyOutlineVertex {',
        '    std::int16_t x;',
        '    std::int16_t y;',
        '    std::uint8_t cornerKind;  // 0..3 rounded corners, 4 sharp',
        '};',
    ]
    for which, name in (('cap', 'kLongKeyCapOutline'), ('lamp', 'kLongKeyLampOutline')):
        pts = layout.outlines[(long_key, which)]
        lines.append('inline constexpr KeyOutlineVertex %s[%d] = {' % (name, len(pts)))
        lines.append('    ' + ', '.join('{%d, %d, %d}' % p for p in pts) + ',')
        lines.append('};')
    lines.append('')
    return '\n'.join(lines)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument('table')
    ap.add_argument('--header', required=True, help='path of the header to write')
    args = ap.parse_args(argv)
    text = header_text(parse(args.table))
    os.makedirs(os.path.dirname(os.path.abspath(args.header)), exist_ok=True)
    old = None
    if os.path.exists(args.header):
        with open(args.header, encoding='utf-8') as f:
            old = f.read()
    if old != text:  # keep the timestamp so dependants do not rebuild
        with open(args.header, 'w', encoding='utf-8', newline='\n') as f:
            f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
