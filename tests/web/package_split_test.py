#!/usr/bin/env python3
"""Which of a game's files scripts/web-package packs for the title and which come later, and
in what order: a table of small scripts and folders."""
import os
import sys
import unittest
from importlib.machinery import SourceFileLoader
from importlib.util import module_from_spec, spec_from_loader

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = SourceFileLoader('web_package', os.path.join(HERE, '..', '..', 'scripts', 'web-package'))
web_package = module_from_spec(spec_from_loader('web_package', _loader))
_loader.exec_module(web_package)

FOLDER = ['TORAMI.acs', 'TORAMI.story', 'TITLE.MID', 'title.szg', 'bell.wav', 'sea.szg',
          'Pics/Night.szg', 'unused.wav', 'notes.txt']

CASES = [
    # (what, script lines, files packed, files later in order)
    ('the opening up to the first menu wait names the title picture and its piece',
     ['FGCL,0,30', 'MUSPL,TITLE,1', 'GHG,title', 'MES,hello', 'SOUND,bell,0', 'GHG,sea'],
     ['TITLE.MID', 'TORAMI.acs', 'TORAMI.story', 'notes.txt', 'title.szg'],
     ['bell.wav', 'sea.szg', 'Pics/Night.szg', 'unused.wav']),
    ('a sound in the opening is packed; names match in any case, a backslash is a folder',
     ['SOUND,BELL,1', 'GHG,TITLE', 'CMSL,1,17', 'GHG,pics\\night', 'GHG,sea', 'GHG,pics\\night'],
     ['TITLE.MID', 'TORAMI.acs', 'TORAMI.story', 'bell.wav', 'notes.txt', 'title.szg'],
     ['Pics/Night.szg', 'sea.szg', 'unused.wav']),
    ('a jump ends the opening; the first picture named is packed all the same',
     ['GOTO,3', 'GHG,sea', 'SOUND,bell,0', 'GHG,title'],
     ['TITLE.MID', 'TORAMI.acs', 'TORAMI.story', 'notes.txt', 'sea.szg'],
     ['bell.wav', 'title.szg', 'Pics/Night.szg', 'unused.wav']),
    ('a script that names nothing packs all but its pictures and sounds',
     ['MES,hello'],
     ['TITLE.MID', 'TORAMI.acs', 'TORAMI.story', 'notes.txt'],
     ['Pics/Night.szg', 'bell.wav', 'sea.szg', 'title.szg', 'unused.wav']),
]


class Split(unittest.TestCase):
    def test_cases(self):
        for what, lines, packed, later in CASES:
            with self.subTest(what):
                got_packed, got_later = web_package.split('\r\n'.join(lines) + '\r\n', FOLDER)
                self.assertEqual(sorted(got_packed), packed)
                self.assertEqual(got_later, later)


if __name__ == '__main__':
    sys.exit(unittest.main())
