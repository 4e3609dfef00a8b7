#!/usr/bin/python3
"""Checks the language sources: every localised text the player uses has its
key in lang/en/messages.dat, every one the engine uses in lang/en/engine.dat, every one the playlist
editor uses in lang/en/pleditor.lng;
every other language has the files and keys English has; each file encodes
in its language's code page. With --missing, prints the missing English
lines in the files' form instead."""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import langfiles  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--repo', required=True)
    parser.add_argument('--missing', action='store_true')
    args = parser.parse_args()
    lang = os.path.join(args.repo, 'lang')
    problems = []
    english = os.path.join(lang, 'en')
    # The playlist editors read their texts from "pleditor.lng" of their own.
    for file_name, folders in (('messages.dat', ['player']), ('engine.dat', ['engine']),
                               ('pleditor.lng', [os.path.join('player', 'windows', 'editor')])):
        used = {}
        for folder in folders:
            used.update(langfiles.localised_texts(os.path.join(args.repo, folder)))
        have = langfiles.read_source(os.path.join(english, file_name))
        for key, (default, path) in sorted(used.items()):
            if key not in have:
                if args.missing:
                    print('%s: %s=%s' % (file_name, key, default))
                problems.append('en/%s lacks "%s" (used in %s)' % (file_name, key, os.path.relpath(path, args.repo)))
    english_files = langfiles.source_files(english)
    for language in sorted(os.listdir(lang)):
        folder = os.path.join(lang, language)
        if not os.path.isdir(folder):
            continue
        encoding = 'cp%d' % langfiles.code_page(folder)
        for relative in langfiles.source_files(folder):
            with open(os.path.join(folder, relative), encoding='utf-8') as f:
                text = f.read()
            try:
                text.encode(encoding)
            except UnicodeEncodeError as e:
                problems.append('%s/%s: not in %s: %s' % (language, relative, encoding, e))
        if language == 'en':
            continue
        for relative in english_files:
            if relative == 'info.dat' or relative.startswith('id3'):
                continue
            path = os.path.join(folder, relative)
            if not os.path.exists(path):
                problems.append('%s lacks %s' % (language, relative))
                continue
            theirs = langfiles.read_source(path)
            for key in langfiles.read_source(os.path.join(english, relative)):
                if key not in theirs:
                    problems.append('%s/%s lacks "%s"' % (language, relative, key))
    for p in problems:
        print(p, file=sys.stderr)
    print('%d problems' % len(problems))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
