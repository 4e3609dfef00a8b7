#!/usr/bin/python3
"""Installs the language files: lang/<language>/* from their UTF-8 sources
into <dest>/<language>/ in the language's code page ("CodePage" of its
info.dat) with CR LF line ends, as the program reads them. A file whose
bytes are unchanged is left alone."""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import langfiles  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--src', required=True)
    parser.add_argument('--dest', required=True)
    parser.add_argument('--stamp')
    args = parser.parse_args()
    for language in sorted(os.listdir(args.src)):
        folder = os.path.join(args.src, language)
        if not os.path.isfile(os.path.join(folder, 'info.dat')):
            continue
        encoding = 'cp%d' % langfiles.code_page(folder)
        for relative in langfiles.source_files(folder):
            with open(os.path.join(folder, relative), encoding='utf-8') as f:
                lines = f.read().split('\n')
            while lines and lines[-1] == '':
                lines.pop()
            data = ''.join(line + '\r\n' for line in lines).encode(encoding)
            target = os.path.join(args.dest, language, relative)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            if os.path.exists(target):
                with open(target, 'rb') as f:
                    if f.read() == data:
                        continue
            with open(target, 'wb') as f:
                f.write(data)
    if args.stamp:
        with open(args.stamp, 'w') as f:
            f.write('installed\n')


if __name__ == '__main__':
    main()
