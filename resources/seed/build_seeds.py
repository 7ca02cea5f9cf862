#!/usr/bin/env python3
"""Writes the seed profile files that ship beside Lumo.exe: Basic.ini and
Custom0.Ini to Custom2.Ini, and the "_20" set that UWP mode copies when the
keyboard has no support flag.

The profile keys, their order, the record sections and every record's values
come from backend/profiles/ProfileKeys.def, the table the program's INI store
is built from: a record is what a missing key reads as (red, medium speed).
Only the choices of a first start are made here."""
import argparse
import os
import re
import sys

# EffectType::ColorCycle: what every profile shows until the user picks.
COLOR_CYCLE = 2
# modeIndex 0: the effect covers the whole keyboard.
ALL_KEYS_MODE = 0
POWER_STATE_KEYS = ('BOOTUP', 'AWAKE', 'SLEEPING', 'SHUTDOWN')

BASIC_FILES = {'Basic.ini': True, 'Basic_20.ini': False}  # name: written for a keyboard with the support flag
CUSTOM_FILES = ['Custom%d.Ini', 'Custom%d_20.ini']
PROFILE_COUNT = 3

ENTRY = re.compile(r'^(PROFILE_INDEX_KEY|EFFECT_KEY|RECORD_LIST)\((.*)\)\s*$')


class ProfileKeys:
    """The entries of ProfileKeys.def, in file order."""

    def __init__(self, path):
        self.index_keys = []
        self.effect_keys = []  # (key, value a missing key reads as)
        self.record_lists = []  # (section prefix, number of records)
        with open(path, encoding='ascii') as f:
            for number, line in enumerate(f, 1):
                match = ENTRY.match(line.strip())
                if match is None:
                    continue
                kind, args = match.group(1), [a.strip() for a in match.group(2).split(',')]
                where = '%s:%d' % (path, number)
                if kind == 'PROFILE_INDEX_KEY' and len(args) == 1:
                    self.index_keys.append(args[0])
                elif kind == 'EFFECT_KEY' and len(args) == 2 and re.fullmatch(r'"-?\d*"', args[1]):
                    # The reader converts an empty default to 0.
                    self.effect_keys.append((args[0], int(args[1].strip('"') or 0)))
                elif kind == 'RECORD_LIST' and len(args) == 2 and args[1].isdigit():
                    self.record_lists.append((args[0], int(args[1])))
                else:
                    raise ValueError('%s: cannot read %s' % (where, line.strip()))
        if not (self.index_keys and self.effect_keys and self.record_lists):
            raise ValueError('%s: no profile keys found' % path)
        if 'modeIndex' not in self.index_keys:
            raise ValueError('%s: no modeIndex key' % path)
        shortest = min(count for _, count in self.record_lists)
        if COLOR_CYCLE >= shortest:
            raise ValueError('colour cycle %d has no record in a list of %d' % (COLOR_CYCLE, shortest))


def custom_sections(keys):
    config = [(key, ALL_KEYS_MODE if key == 'modeIndex' else COLOR_CYCLE) for key in keys.index_keys]
    sections = [('Config', config)]
    for prefix, count in keys.record_lists:
        sections += [('%s%d' % (prefix, k), keys.effect_keys) for k in range(count)]
    return sections


def basic_sections(support):
    return [
        # 4ZONE as for model type 1, which the program assumes until the
        # keyboard answers; the UWP copy rewrites it for the machine.
        ('Config', [('Apply', 0), ('ApplyMode', ALL_KEYS_MODE), ('ApplyEff', COLOR_CYCLE), ('4ZONE', 0)]),
        ('Setting', [(key, 1) for key in POWER_STATE_KEYS]),
        ('Sync', [('Enable', 0), ('PreviewOthers', 0), ('Support', 1 if support else 0)]),
        ('RecentColor', [('Count', 0)]),
        # A newer program folder never replaces the user's profiles in UWP mode.
        ('Profile', [('ForceCopy', 0)]),
    ]


def ini_text(sections):
    """ASCII with CRLF and no byte-order mark: the profile-string functions
    read it as it is on every Windows code page."""
    blocks = ['[%s]\r\n' % name + ''.join('%s=%d\r\n' % (key, value) for key, value in entries)
              for name, entries in sections]
    return '\r\n'.join(blocks).encode('ascii')


def seed_files(keys):
    files = {name: ini_text(basic_sections(support)) for name, support in BASIC_FILES.items()}
    custom = ini_text(custom_sections(keys))
    for pattern in CUSTOM_FILES:
        files.update({pattern % n: custom for n in range(PROFILE_COUNT)})
    return files


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument('keys_def', help='backend/profiles/ProfileKeys.def')
    ap.add_argument('--out-dir', required=True)
    args = ap.parse_args(argv)
    os.makedirs(args.out_dir, exist_ok=True)
    for name, data in sorted(seed_files(ProfileKeys(args.keys_def)).items()):
        with open(os.path.join(args.out_dir, name), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
