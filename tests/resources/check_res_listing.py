#!/usr/bin/env python3
"""Lists the skin resources of an executable linked with the skin object
(wrestool) and checks that every image of the manifest is found under its
set's type and name with the size and bytes of its PNG."""
import os
import re
import subprocess
import sys


def wrestool(tool, exe, *args):
    return subprocess.run([tool, exe] + list(args), check=True, capture_output=True).stdout


def main(exe, manifest, png_dir, tool='wrestool'):
    entries = []
    with open(manifest, encoding='utf-8') as f:
        for line in f:
            res_set, name, _, _ = line.split()
            entries.append((res_set, name))
    listing = wrestool(tool, exe, '-l').decode()
    types = re.findall(r"--type='([^']*)'", listing)
    failures = []
    if sorted(set(types)) != ['1920_1080', '4K'] or len(types) != len(entries):
        failures.append('types %s, %d resources for %d images' % (sorted(set(types)), len(types), len(entries)))
    # the full listing: per type, the sizes must be those of that set's PNGs
    for res_set in ('1920_1080', '4K'):
        listed = sorted(int(v) for t, v in re.findall(r"--type='([^']*)'.*?size=(\d+)", listing) if t == res_set)
        want = sorted(os.path.getsize(os.path.join(png_dir, t, n + '.png')) for t, n in entries if t == res_set)
        if listed != want:
            failures.append('%s: listed sizes differ from the PNGs' % res_set)
    # by name: every still image, and a sample of the animation frames
    for i, (res_set, name) in enumerate(entries):
        if name.startswith(('LOADING', 'PROGRESS')) and i % 23:
            continue
        png = os.path.join(png_dir, res_set, name + '.png')
        found = wrestool(tool, exe, '-l', '--type=' + res_set, '--name=' + name).decode()
        sizes = re.findall(r'size=(\d+)', found)
        if sizes != [str(os.path.getsize(png))]:
            failures.append('%s/%s: listed %r' % (res_set, name, sizes))
        elif i % 7 == 0:
            with open(png, 'rb') as f:
                if wrestool(tool, exe, '-x', '--raw', '--type=' + res_set, '--name=' + name) != f.read():
                    failures.append('%s/%s: bytes differ' % (res_set, name))
    # an image of one set must not be found under the other type
    if wrestool(tool, exe, '-l', '--type=1920_1080', '--name=APPLY_ICON').strip():
        failures.append('APPLY_ICON found in the 1920_1080 set')
    for line in failures[:20]:
        print(line)
    if failures:
        return 1
    print('%d skin resources found in %s' % (len(entries), exe))
    return 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
