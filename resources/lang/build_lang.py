#!/usr/bin/env python3
"""Turns the UTF-8 language file into UTF-16LE with a byte-order mark, the
encoding in which the profile-string functions read every language."""
import argparse
import os
import sys


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument('source')
    ap.add_argument('output')
    ap.add_argument('--copy-to', nargs='*', default=[], help='folders that get a copy')
    args = ap.parse_args(argv)
    with open(args.source, encoding='utf-8') as f:
        text = f.read()
    if text.startswith('\ufeff'):
        text = text[1:]
    data = '\ufeff'.encode('utf-16-le') + text.replace('\r\n', '\n').replace('\n', '\r\n').encode('utf-16-le')
    for path in [args.output] + [os.path.join(d, 'Lumo.ini') for d in args.copy_to]:
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        with open(path, 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
