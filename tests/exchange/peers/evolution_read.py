#!/usr/bin/python3
"""Reads vCard files with evolution-data-server's contacts library (through
GObject introspection, Debian's gir1.2-ebookcontacts-1.2), the vCard parser
of a widely used desktop mail and contacts suite. For each file it prints
every attribute of the first card as "INDEX<tab>KEY<tab>VALUE-AS-HEX" ('-'
for an empty value): NAME (NAME.k for the k-th value of a structured one)
and NAME;PARAM for each parameter value. INDEX counts the files from 0."""
import sys

try:
    import gi

    gi.require_version("EBookContacts", "1.2")
    from gi.repository import EBookContacts
except (ImportError, ValueError) as error:
    sys.exit("evolution-data-server's contacts library is missing (%s): install gir1.2-ebookcontacts-1.2" % error)


def out(index, key, value):
    print("%d\t%s\t%s" % (index, key, value.encode("utf-8").hex() or "-"))


for index, path in enumerate(sys.argv[1:]):
    card = EBookContacts.VCard.new_from_string(open(path, encoding="utf-8", newline="").read())
    for attribute in card.get_attributes():
        name = attribute.get_name().upper()
        values = attribute.get_values()
        for k, value in enumerate(values):
            out(index, name if len(values) == 1 else "%s.%d" % (name, k), value)
        for param in attribute.get_params():
            for value in param.get_values():
                out(index, "%s;%s" % (name, param.get_name().upper()), value)
