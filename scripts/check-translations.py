#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The RV patient client developers
"""Checks the English translation against the code.

1. Every Chinese string literal under src/ is a translatable text (tr, translate,
   QT_TRANSLATE_NOOP, QT_TR_NOOP), unless its line says why not with a comment containing
   "untranslated:" (a text the service sends or expects, a data value).
2. lupdate finds no text that the translation file lacks, and the file holds no unfinished,
   vanished or obsolete message.
3. Every picture's <title> (its name for a screen reader) is translated under the context
   "ui::Image"; an English drawing (<name>_en.svg) stands beside a Chinese one.
Usage: check-translations.py SOURCE_DIR LUPDATE
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

CJK = re.compile(r'"[^"\n]*[\u3000-\u303f\u4e00-\u9fff\uff00-\uffef][^"\n]*"')
OPTIONS = ['-source-language', 'zh_CN', '-target-language', 'en', '-locations', 'none']


def untranslated_literals(src):
    problems = []
    for path in sorted(src.rglob('*')):
        if path.suffix not in ('.cpp', '.h'):
            continue
        previous = ''
        for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
            code = line.split('//', 1)[0] if 'untranslated:' not in line else ''
            for match in CJK.finditer(code):
                # A call may open on the line before, where the formatter broke it.
                before = previous + code[:match.start()]
                if not re.search(r'(tr|translate|QT_TRANSLATE_NOOP|QT_TR_NOOP)\([^()]*$', before):
                    problems.append(f'{path}:{number}: {match.group(0)} is not translatable')
            previous = line.split('//', 1)[0]
    return problems


def lupdate_problems(root, lupdate):
    committed = root / 'translations' / 'rv-patient_en.ts'
    problems = []
    text = committed.read_text(encoding='utf-8')
    for kind in ('unfinished', 'vanished', 'obsolete'):
        count = text.count(f'type="{kind}"')
        if count:
            problems.append(f'{committed}: {count} {kind} message(s)')
    with tempfile.TemporaryDirectory() as work:
        copy = Path(work) / committed.name
        shutil.copy(committed, copy)
        result = subprocess.run([lupdate, *OPTIONS, str(root / 'src'), '-ts', str(copy)],
                                capture_output=True, text=True)
        if result.returncode != 0:
            return problems + [f'lupdate failed: {result.stderr.strip()}']
        found = re.search(r'\((\d+) new and (\d+) already existing\)', result.stdout)
        if not found:
            return problems + [f'lupdate said nothing readable: {result.stdout.strip()}']
        if int(found.group(1)):
            problems.append(f'{found.group(1)} text(s) in the code are missing from {committed}'
                            ' (run the update_translations target)')
        if copy.read_text(encoding='utf-8').count('type="vanished"'):
            problems.append(f'{committed} holds texts the code no longer has')
    return problems


def picture_title_problems(root):
    svg = '{http://www.w3.org/2000/svg}'
    ts = ET.parse(root / 'translations' / 'rv-patient_en.ts')
    translated = {m.findtext('source') for c in ts.iter('context')
                  if c.findtext('name') == 'ui::Image' for m in c.iter('message')
                  if m.find('translation').get('type') is None}
    problems = []
    for path in sorted((root / 'resources' / 'images').glob('*.svg')):
        if path.stem.endswith('_en'):
            if not path.with_name(path.stem[:-3] + '.svg').exists():
                problems.append(f'{path}: an English drawing of no picture')
            continue
        title = ET.parse(path).getroot().find(svg + 'title')
        if title is not None and ' '.join(title.text.split()) not in translated:
            problems.append(f'{path}: its title is not translated (src/app/rvpicturetitles.cpp)')
    return problems


def main():
    root = Path(sys.argv[1]).resolve()
    problems = (untranslated_literals(root / 'src') + lupdate_problems(root, sys.argv[2]) +
                picture_title_problems(root))
    for problem in problems:
        print(problem)
    print(f'{len(problems)} problem(s)')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
