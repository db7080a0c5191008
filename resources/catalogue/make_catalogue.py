#!/usr/bin/env python3
"""The programs' catalogues, from the gettext .po files in resources/translations.

    make_catalogue.py table OUTPUT.cpp LANG.po...
        writes the C++ table the catalogue library looks texts up in (the build
        runs this): per language, every translated text sorted by context and
        English text, so that a lookup is a binary search.
    make_catalogue.py check LANG.po...
        fails unless every text of every file is translated (none left empty
        or fuzzy) and the files hold the same texts (a test runs this).
    make_catalogue.py update LANG.po SOURCES.ts
        brings LANG.po in line with the texts the sources hold (an extraction
        written by lupdate): new texts are added untranslated, texts no longer
        used are dropped, translations of the rest are kept
        (scripts/update-translations runs this).

Only Python's standard library: it runs wherever the build runs, also when the
programs are cross-built for Windows.
"""

import os
import re
import sys
import xml.etree.ElementTree as ElementTree

ESCAPES = {'n': '\n', 't': '\t', '"': '"', '\\': '\\', 'r': '\r', 'a': '\a', 'b': '\b', 'f': '\f', 'v': '\v'}


class Entry:
    def __init__(self):
        self.comments = []  # the lines before msgctxt/msgid, as written
        self.context = None
        self.source = None
        self.translation = None

    @property
    def fuzzy(self):
        return any(line.startswith('#,') and 'fuzzy' in line for line in self.comments)


def unquote(literal, where):
    if len(literal) < 2 or literal[0] != '"' or literal[-1] != '"':
        raise SystemExit('%s: not a quoted string: %s' % (where, literal))
    body = literal[1:-1]
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c == '\\':
            if i + 1 >= len(body) or body[i + 1] not in ESCAPES:
                raise SystemExit('%s: unknown escape in %s' % (where, literal))
            out.append(ESCAPES[body[i + 1]])
            i += 2
        elif c == '"':
            raise SystemExit('%s: unescaped quote in %s' % (where, literal))
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def read_po(path):
    """The entries of a .po file, the header (msgid "") first."""
    entries = []
    entry = Entry()
    field = None
    with open(path, encoding='utf-8') as f:
        lines = f.read().split('\n')
    for number, raw in enumerate(lines, 1):
        where = '%s:%d' % (path, number)
        line = raw.strip()
        if not line:
            continue
        if line.startswith('#'):
            if field is not None and entry.source is not None:
                entries.append(entry)
                entry, field = Entry(), None
            entry.comments.append(line)
            continue
        keyword, _, rest = line.partition(' ')
        if keyword in ('msgctxt', 'msgid', 'msgstr'):
            if keyword in ('msgctxt', 'msgid') and entry.source is not None:
                entries.append(entry)
                entry = Entry()
            attribute = {'msgctxt': 'context', 'msgid': 'source', 'msgstr': 'translation'}[keyword]
            if getattr(entry, attribute) is not None:
                raise SystemExit('%s: %s twice in one entry' % (where, keyword))
            setattr(entry, attribute, unquote(rest.strip(), where))
            field = attribute
        elif line.startswith('"') and field is not None:
            setattr(entry, field, getattr(entry, field) + unquote(line, where))
        else:
            # Plural forms (msgid_plural, msgstr[n]) are not used by the programs.
            raise SystemExit('%s: not understood: %s' % (where, line))
    if entry.source is not None:
        entries.append(entry)
    for e in entries:
        if e.translation is None:
            raise SystemExit('%s: "%s" has no msgstr' % (path, e.source))
    return entries


def quote_po(text):
    text = text.replace('\\', '\\\\').replace('"', '\\"').replace('\t', '\\t').replace('\r', '\\r')
    parts = text.split('\n')
    pieces = [p + '\\n' for p in parts[:-1]] + ([parts[-1]] if parts[-1] else [])
    if len(pieces) <= 1:
        return '"%s"' % (pieces[0] if pieces else '')
    return '""\n' + '\n'.join('"%s"' % p for p in pieces)


def write_po(path, entries):
    out = []
    for e in entries:
        if out:
            out.append('')
        out.extend(e.comments)
        if e.context is not None:
            out.append('msgctxt ' + quote_po(e.context))
        out.append('msgid ' + quote_po(e.source))
        out.append('msgstr ' + quote_po(e.translation))
    with open(path, 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(out) + '\n')


def cpp_literal(text):
    """A C++ string literal of the UTF-8 bytes of `text`; octal escapes, which
    end after three digits, so that no following character is taken in."""
    out = ['"']
    for byte in text.encode('utf-8'):
        c = chr(byte)
        if c == '"' or c == '\\':
            out.append('\\' + c)
        elif 0x20 <= byte < 0x7f and c != '?':  # '?' never starts a trigraph
            out.append(c)
        else:
            out.append('\\%03o' % byte)
    out.append('"')
    return ''.join(out)


def language_of(path):
    return os.path.splitext(os.path.basename(path))[0]


def make_table(output, po_files):
    languages = []
    for path in po_files:
        rows = {}
        for e in read_po(path):
            if e.source == '' or e.fuzzy or e.translation == '':
                continue  # the header; texts not (yet) translated stay English
            key = ((e.context or '').encode('utf-8'), e.source.encode('utf-8'))
            if key in rows:
                raise SystemExit('%s: "%s" twice in context "%s"' % (path, e.source, e.context or ''))
            rows[key] = e
        languages.append((language_of(path), [rows[k] for k in sorted(rows)]))
    lines = [
        '// Made by resources/catalogue/make_catalogue.py from resources/translations/*.po',
        '// at build time: edit the .po files, not this.',
        '#include "resources/catalogue/catalogue_table.h"',
        '',
        'namespace ovlet::catalogue::table {',
        'namespace {',
    ]
    for language, rows in languages:
        lines.append('')
        lines.append('// Sorted by context, then English text, byte by byte.')
        lines.append('const Entry k_%s[] = {' % language)
        for e in rows:
            lines.append('    {%s, %s, %s},' % (cpp_literal(e.context or ''), cpp_literal(e.source),
                                                 cpp_literal(e.translation)))
        lines.append('};')
    lines.append('')
    lines.append('}  // namespace')
    lines.append('')
    lines.append('const Language kLanguages[] = {')
    for language, rows in languages:
        lines.append('    {"%s", k_%s, std::size(k_%s)},' % (language, language, language))
    lines.append('};')
    lines.append('const std::size_t kLanguageCount = std::size(kLanguages);')
    lines.append('')
    lines.append('}  // namespace ovlet::catalogue::table')
    text = '\n'.join(lines) + '\n'
    # Written only when it changes, so that a build after touching the .po
    # files without changing a text recompiles nothing.
    if os.path.exists(output):
        with open(output, encoding='utf-8') as f:
            if f.read() == text:
                return
    with open(output, 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)


def update(po_path, ts_path):
    entries = read_po(po_path)
    header = [e for e in entries if e.source == '' and e.context is None]
    known = {(e.context, e.source): e for e in entries if e.source != ''}
    updated = list(header)
    for context in ElementTree.parse(ts_path).getroot().findall('context'):
        name = context.find('name').text or ''
        for message in context.findall('message'):
            source = message.find('source').text or ''
            entry = known.get((name, source))
            if entry is None:
                entry = Entry()
                entry.context, entry.source, entry.translation = name, source, ''
            entry.comments = [line for line in entry.comments if line != '#, qt-format']
            if re.search(r'%[1-9]', source):
                entry.comments.append('#, qt-format')
            updated.append(entry)
    write_po(po_path, updated)
    untranslated = sum(1 for e in updated if e.source != '' and e.translation == '')
    if untranslated:
        print('%s: %d texts to translate' % (po_path, untranslated))


def check(po_files):
    faults = []
    texts = {}
    for path in po_files:
        keys = set()
        for e in read_po(path):
            if e.source == '' and e.context is None:
                continue
            if e.translation == '' or e.fuzzy:
                faults.append('%s: not translated: [%s] %s' % (path, e.context or '', e.source))
            keys.add((e.context, e.source))
        texts[path] = keys
        if not keys:
            faults.append('%s: no texts' % path)
    first = po_files[0]
    for path in po_files[1:]:
        for context, source in sorted(texts[first] ^ texts[path], key=str):
            faults.append('%s and %s differ: [%s] %s' % (first, path, context or '', source))
    for fault in faults:
        print(fault)
    if faults:
        raise SystemExit(1)


def main(argv):
    if len(argv) >= 3 and argv[1] == 'table':
        make_table(argv[2], argv[3:])
    elif len(argv) >= 3 and argv[1] == 'check':
        check(argv[2:])
    elif len(argv) == 4 and argv[1] == 'update':
        update(argv[2], argv[3])
    else:
        raise SystemExit(__doc__)


if __name__ == '__main__':
    main(sys.argv)
