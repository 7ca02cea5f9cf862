#!/usr/bin/env python3
"""Checks the generated seed profiles as bytes, which Wine's tolerant INI
reader cannot: plain ASCII without a byte-order mark, every line ended by
CRLF, so the profile-string functions of any Windows code page read them as
written."""
import os
import sys


def problems(path):
    if not os.path.isfile(path):
        yield 'is missing'
        return
    with open(path, 'rb') as f:
        data = f.read()
    if not data:
        yield 'is empty'
    if data.startswith((b'\xef\xbb\xbf', b'\xff\xfe', b'\xfe\xff')):
        yield 'starts with a byte-order mark'
    if any(b > 0x7F for b in data):
        yield 'holds non-ASCII bytes'
    if data.count(b'\n') != data.count(b'\r\n') or data.count(b'\r') != data.count(b'\r\n'):
        yield 'has a line not ended by CRLF'
    if not data.endswith(b'\r\n'):
        yield 'does not end with a line break'


def main(seed_dir, *names):
    failures = ['%s %s' % (name, p) for name in names for p in problems(os.path.join(seed_dir, name))]
    for failure in failures:
        print(failure)
    print('%d seed files checked' % len(names))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
