#!/usr/bin/python3
"""Installs the users' documentation: each language folder of doc/ (not the
help project) mirrored into <dest>/<language>. Files the source no longer has
are removed, so that a stale "page.link" never hides the page it once
redirected; the compiled help file (zorvak.chm), made by its own rule, stays."""
import argparse
import filecmp
import os
import shutil

KEEP = {'zorvak.chm'}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--src', required=True)
    parser.add_argument('--dest', required=True)
    args = parser.parse_args()
    for language in sorted(os.listdir(args.src)):
        source = os.path.join(args.src, language)
        if language == 'help' or not os.path.isdir(source):
            continue
        target = os.path.join(args.dest, language)
        os.makedirs(target, exist_ok=True)
        names = set(os.listdir(source))
        for name in sorted(names):
            s, t = os.path.join(source, name), os.path.join(target, name)
            if os.path.isfile(s) and not (os.path.isfile(t) and filecmp.cmp(s, t, shallow=False)):
                shutil.copyfile(s, t)
        for name in sorted(set(os.listdir(target)) - names - KEEP):
            path = os.path.join(target, name)
            if os.path.isfile(path):
                os.remove(path)


if __name__ == '__main__':
    main()
