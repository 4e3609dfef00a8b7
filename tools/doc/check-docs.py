#!/usr/bin/python3
"""Checks the users' documentation against the program: every page the
player's sources name (a "name.html" literal: the help pages its windows open
with F1, the read-me, the history, the help's first page) exists in doc/en;
every other language folder holds each of them as a page of its own or as a
"name.html.link" whose first line names an existing file relative to that
folder; every link and stylesheet a page refers to exists; the help project
lists every English page. With --root, the installed root holds them too."""
import argparse
import html.parser
import os
import re
import sys

PAGE = re.compile(r'"([A-Za-z0-9_-]+\.html)"')


def pages_named(player):
    """{page: first source file naming it} of the player's sources."""
    found = {}
    for directory, _, files in os.walk(player):
        for name in sorted(files):
            if name.endswith(('.cpp', '.h')):
                path = os.path.join(directory, name)
                with open(path, encoding='latin-1') as f:
                    for page in PAGE.findall(f.read()):
                        found.setdefault(page, path)
    return found


def resolve(folder, page):
    """The file the look-up opens for `page` in `folder` (the .link first), or None."""
    link = os.path.join(folder, page + '.link')
    if os.path.isfile(link):
        with open(link, encoding='latin-1') as f:
            target = f.readline().strip()
        path = os.path.normpath(os.path.join(folder, target.replace('\\', os.sep)))
        return path if target and os.path.isfile(path) else None
    path = os.path.join(folder, page)
    return path if os.path.isfile(path) else None


class References(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.refs = []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if (tag, name) in (('a', 'href'), ('link', 'href'), ('img', 'src')) and value:
                self.refs.append(value)


def broken_references(path):
    parser = References()
    with open(path, 'rb') as f:
        data = f.read()
    try:
        parser.feed(data.decode('utf-8'))
    except UnicodeDecodeError:
        parser.feed(data.decode('cp1252'))
    out = []
    for ref in parser.refs:
        if re.match(r'^[a-z]+:', ref) or ref.startswith('#'):
            continue
        target = os.path.normpath(os.path.join(os.path.dirname(path), ref.split('#')[0]))
        if not os.path.isfile(target):
            out.append(ref)
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--repo', required=True)
    parser.add_argument('--root', help='an installed root to check as well')
    args = parser.parse_args()
    doc = os.path.join(args.repo, 'doc')
    english = os.path.join(doc, 'en')
    named = pages_named(os.path.join(args.repo, 'player'))
    problems = []
    if len(named) < 3:
        problems.append('the sources name only %s: the scan no longer finds the pages' % sorted(named))
    languages = sorted(d for d in os.listdir(doc) if os.path.isdir(os.path.join(doc, d)) and d != 'help')
    for page, source in sorted(named.items()):
        if not os.path.isfile(os.path.join(english, page)):
            problems.append('doc/en lacks %s (named in %s)' % (page, os.path.relpath(source, args.repo)))
        for language in languages:
            if language != 'en' and not resolve(os.path.join(doc, language), page):
                problems.append('doc/%s has neither %s nor a working %s.link' % (language, page, page))
        if args.root:
            for language in languages:
                installed = os.path.join(args.root, 'doc', language)
                if not resolve(installed, page):
                    problems.append('%s is not installed in %s' % (page, installed))
    for language in languages:
        folder = os.path.join(doc, language)
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if name.endswith('.html'):
                for ref in broken_references(path):
                    problems.append('doc/%s/%s refers to %s, which does not exist' % (language, name, ref))
            elif name.endswith('.link') and not resolve(folder, name[:-5]):
                problems.append('doc/%s/%s leads nowhere' % (language, name))
    hhp = os.path.join(doc, 'help', 'zorvak.hhp')
    with open(hhp, encoding='latin-1') as f:
        listed = set(f.read().split('[FILES]', 1)[-1].split())
    for name in sorted(os.listdir(english)):
        if name.endswith(('.html', '.css')) and name not in listed:
            problems.append('the help project does not list doc/en/%s' % name)
    for name in sorted(listed - set(os.listdir(english))):
        problems.append('the help project lists %s, which doc/en lacks' % name)
    for p in problems:
        print(p, file=sys.stderr)
    print('%d pages named, %d languages, %d problems' % (len(named), len(languages), len(problems)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
