#!/usr/bin/env python3
"""Renders the skin again into a fresh folder and compares the packed result
byte for byte with the build's: the art must not depend on time, order or
leftovers of an earlier run."""
import filecmp
import subprocess
import sys
import tempfile


def main(build_skin, built_res):
    with tempfile.TemporaryDirectory() as tmp:
        res = tmp + '/skin.res'
        subprocess.run([sys.executable, build_skin, '--out-dir', tmp, '--res', res,
                        '--manifest', tmp + '/manifest.txt'], check=True)
        if not filecmp.cmp(res, built_res, shallow=False):
            print('a fresh rendering differs from %s' % built_res)
            return 1
    print('fresh rendering matches %s' % built_res)
    return 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
