#!/usr/bin/env python3
"""Builds demo/TORAMI.acs from tools/demo_story.txt.

Script lines jump to absolute line numbers, which are easy to get wrong by hand. The
story source names its landing lines instead: a line "*name" marks the next script
line, and "{name}" anywhere in a line is replaced by that line's number. Lines starting
with "#" and blank lines are left out. The result is written in code page 932 with
CR LF line ends, as the player reads it.

    python3 tools/make_demo_script.py
"""
import re
import sys

SOURCE = 'tools/demo_story.txt'
TARGET = 'demo/TORAMI.acs'


def main():
    lines, labels = [], {}
    with open(SOURCE, encoding='utf-8') as f:
        for raw in f:
            line = raw.rstrip('\n')
            if not line.strip() or line.startswith('#'):
                continue
            if line.startswith('*'):
                name = line[1:].strip()
                if name in labels:
                    sys.exit(f'label {name} defined twice')
                labels[name] = len(lines) + 1
                continue
            lines.append(line)

    def resolve(match):
        name = match.group(1)
        if name not in labels:
            sys.exit(f'unknown label {name}')
        return str(labels[name])

    out = [re.sub(r'\{([A-Za-z0-9_]+)\}', resolve, line) for line in lines]
    if len(out) > 1200:
        sys.exit(f'{len(out)} lines: the player reads at most 1200')
    with open(TARGET, 'wb') as f:
        f.write(('\r\n'.join(out) + '\r\n').encode('cp932'))
    print(f'{TARGET}: {len(out)} lines')


if __name__ == '__main__':
    main()
