"""The program's language files: their sources under lang/<language>/ (UTF-8,
one "key=text" a line) and the localised texts ("key###default") the
sources of the player and the engine use."""
import codecs
import configparser
import os
import re

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def c_unescape(text):
    """A C string literal's bytes as latin-1 text ("\\x96" stays one byte)."""
    try:
        return codecs.decode(text.encode('latin-1'), 'unicode_escape')
    except UnicodeDecodeError:  # not a text literal (the pattern met a character literal)
        return text


def localised_texts(folder):
    """{key: (default, file)} of every "key###default" in the C++ sources below
    `folder`. A literal may hold several menu lines ("caption|command\\n"):
    each line's caption counts."""
    found = {}
    for directory, _, files in os.walk(folder):
        for name in sorted(files):
            if not name.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(directory, name)
            with open(path, encoding='latin-1') as f:
                source = f.read()
            for match in LITERAL.finditer(source):
                if '###' not in match.group(1):
                    continue
                for line in c_unescape(match.group(1)).split('\n'):
                    caption = line.split('|', 1)[0]
                    if '###' not in caption:
                        continue
                    key, default = caption.split('###', 1)
                    # The form itself, as documentation names it, is no text.
                    if not key or key == 'key':
                        continue
                    found.setdefault(key, (default, path))
    return found


def read_source(path):
    """{key: text} of a language source file, in file order."""
    entries = {}
    with open(path, encoding='utf-8') as f:
        for line in f.read().split('\n'):
            if '=' in line:
                key, text = line.split('=', 1)
                entries.setdefault(key, text)
    return entries


def code_page(language_folder):
    info = configparser.ConfigParser(interpolation=None)
    info.optionxform = str
    info.read(os.path.join(language_folder, 'info.dat'), encoding='utf-8')
    return int(info.get('Common', 'CodePage', fallback='1252'))


def source_files(language_folder):
    """Paths relative to the language folder of every file it holds."""
    out = []
    for directory, _, files in os.walk(language_folder):
        for name in files:
            out.append(os.path.relpath(os.path.join(directory, name), language_folder))
    return sorted(out)
