"""Reads the key table for the checks: (number, cap, lamp) per key."""


def parse(path):
    rows, _ = parse_full(path)
    return [(r['number'], r['cap'], r['lamp']) for r in rows]


def parse_full(path):
    rows, outlines = [], {}
    with open(path, encoding='utf-8') as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith('#'):
                continue
            fields = line.split()
            if fields[0] == 'outline':
                outlines[(int(fields[1]), fields[2])] = [tuple(int(v) for v in t.split(',')) for t in fields[3:]]
                continue
            cap = lamp = None
            if fields[4] != '-':
                cap = tuple(int(v) for v in fields[4:8])
                lamp = tuple(int(v) for v in fields[8:12])
            rows.append({'number': int(fields[0]), 'code': None if fields[1] == '-' else int(fields[1]),
                         'music': int(fields[2]), 'label': fields[3], 'cap': cap, 'lamp': lamp})
    return rows, outlines
