#!/usr/bin/env python3
"""Checks the built language file: UTF-16LE with a byte-order mark, every UI
text the program asks for present and non-empty in [English], and every other
section carrying the same keys."""
import configparser
import sys
import unittest

LANG_FILE = None

KEYS = [
    'IDS_TAB_BASICEFFECTS', 'IDS_TAB_LUMOSYNC', 'IDS_TAB_CUSTOMIZE1', 'IDS_BRIGHTNESS', 'IDS_ZONEMODE',
    'IDS_EFFECTSINFO', 'IDS_APPLY', 'IDS_OK', 'IDS_CANCEL',
    'IDS_CP_COLORPICKER', 'IDS_CP_COLOR', 'IDS_CP_RED', 'IDS_CP_GREEN', 'IDS_CP_BLUE', 'IDS_CP_DEFAULT',
    'IDS_CP_RECENT',
    'IDS_SELECTION_ALL', 'IDS_SELECTION_WASD', 'IDS_SELECTION_QWER', 'IDS_SELECTION_4ZONES',
    'IDS_SET_GEN_GENERAL', 'IDS_SET_GEN_BOOTUP', 'IDS_SET_GEN_AWAKE', 'IDS_SET_GEN_SLEEPING',
    'IDS_SET_GEN_SHUTDOWN',
    'IDS_EFF_EFFECTS', 'IDS_EFF_WARNING', 'IDS_EFF_STATIC', 'IDS_EFF_BREATH', 'IDS_EFF_COLORCYCLE',
    'IDS_EFF_RAINBOW', 'IDS_EFF_STROBING', 'IDS_EFF_MUSIC', 'IDS_EFF_TEMPERATURE',
    'IDS_INFO_COLOR', 'IDS_INFO_OTHERCOLOR', 'IDS_INFO_TEMPO', 'IDS_INFO_SLOW', 'IDS_INFO_MEDIUM',
    'IDS_INFO_FAST', 'IDS_INFO_DIRECTION', 'IDS_INFO_MUSIC',
] + ['IDS_INFO_MUSIC_TYPE%d' % i for i in range(8)] + ['IDS_INFO_TEMP_L', 'IDS_INFO_TEMP_H', 'IDS_INFO_RANDOM']

# Section names the program selects by language index.
KNOWN_SECTIONS = {'English', 'CHT', 'CHS', 'German', 'Spanish', 'French', 'Japanese', 'Portuguese',
                  'Russian', 'Dutch'}


class LangFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(LANG_FILE, 'rb') as f:
            cls.raw = f.read()
        cls.ini = configparser.RawConfigParser(strict=True, interpolation=None)
        cls.ini.optionxform = str
        cls.ini.read_string(cls.raw[2:].decode('utf-16-le'))

    def test_encoding(self):
        self.assertEqual(self.raw[:2], b'\xff\xfe')
        self.assertIn(b'[\0E\0n\0g\0l\0i\0s\0h\0]\0', self.raw)
        self.assertNotIn('\r\r', self.raw[2:].decode('utf-16-le'))

    def test_english_has_every_text(self):
        english = self.ini['English']
        for key in KEYS:
            self.assertTrue(english.get(key, '').strip(), key)

    def test_number_box_labels_fit(self):
        # the R, G and B labels are 20 pixels wide
        for section in self.ini.sections():
            for key in ('IDS_CP_RED', 'IDS_CP_GREEN', 'IDS_CP_BLUE'):
                self.assertLessEqual(len(self.ini[section][key]), 2, (section, key))

    def test_other_languages_match_english(self):
        self.assertLessEqual(set(self.ini.sections()), KNOWN_SECTIONS)
        english = set(self.ini['English'])
        for section in self.ini.sections():
            self.assertEqual(set(self.ini[section]), english, section)
            for key in self.ini[section]:
                self.assertTrue(self.ini[section][key].strip(), (section, key))


if __name__ == '__main__':
    LANG_FILE = sys.argv[1]
    unittest.main(argv=sys.argv[:1] + sys.argv[2:], verbosity=1)
