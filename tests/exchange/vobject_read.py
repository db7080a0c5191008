#!/usr/bin/python3
"""Reads a vCard file with python3-vobject, an independent parser, and prints
one line per value: a key, a tab and the value's UTF-8 bytes as hex. Keys:
FN, N.family, N.given, N.additional, ORG.0, ORG.1, TITLE, ADR.street,
ADR.city, ADR.region, ADR.code, ADR.country, TEL.<types> (one per phone, in
order), EMAIL, URL, NOTE, UID, PHOTO (the picture's bytes of a 3.0 card) or
PHOTO.uri (the start of a 4.0 data: address)."""
import sys

import vobject


def out(key, value):
    if isinstance(value, bytes):
        data = value
    else:
        data = str(value).encode("utf-8")
    print(key + "\t" + (data.hex() or "-"))


card = vobject.readOne(open(sys.argv[1], encoding="utf-8").read())
for child in card.getChildren():
    name = child.name.upper()
    if name == "FN":
        out("FN", child.value)
    elif name == "N":
        out("N.family", child.value.family)
        out("N.given", child.value.given)
        out("N.additional", child.value.additional)
    elif name == "ORG":
        for i, unit in enumerate(child.value):
            out("ORG.%d" % i, unit)
    elif name == "ADR":
        out("ADR.street", child.value.street)
        out("ADR.city", child.value.city)
        out("ADR.region", child.value.region)
        out("ADR.code", child.value.code)
        out("ADR.country", child.value.country)
    elif name == "TEL":
        types = ",".join(t.lower() for t in child.params.get("TYPE", []))
        out("TEL." + (types or "-"), child.value)
    elif name == "PHOTO":
        # vobject reads a 4.0 data: address as text and stops at its comma,
        # so only the 3.0 form (base64 bytes) gives the picture.
        if isinstance(child.value, bytes):
            out("PHOTO", child.value)
        else:
            out("PHOTO.uri", child.value)
    elif name in ("TITLE", "EMAIL", "URL", "NOTE", "UID"):
        out(name, child.value)
