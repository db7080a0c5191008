#!/usr/bin/python3
"""Writes the hand-made vCard files of this folder: one file for each way a
real address book's export has gone wrong for us. Run it here to make them
again; the small pictures are made from bytes written out below."""
import base64
import codecs

# A 16 x 12 JPEG.
JPEG = base64.b64decode(
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAYEBQYFBAYGBQYHBwYIChAKCgkJChQODwwQFxQYGBcU"
    "FhYaHSUfGhsjHBYWICwgIyYnKSopGR8tMC0oMCUoKSj/2wBDAQcHBwoIChMKChMoGhYaKCgoKCgo"
    "KCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCj/wAARCAAMABADASIA"
    "AhEBAxEB/8QAFgABAQEAAAAAAAAAAAAAAAAAAAYH/8QAGRAAAQUAAAAAAAAAAAAAAAAAAAITFVFh"
    "/8QAFQEBAQAAAAAAAAAAAAAAAAAABgf/xAAXEQADAQAAAAAAAAAAAAAAAAAABBZh/9oADAMBAAIR"
    "AxEAPwDJpDRIaTDy7Dy7KNAK4KrdjT//2Q==")


def card(version, body, end="\r\n"):
    lines = ["BEGIN:VCARD", "VERSION:" + version] + body + ["END:VCARD"]
    return end.join(lines) + end


def fold(prefix, data, width=74):
    out = [prefix + data[: width - len(prefix)]]
    data = data[width - len(prefix):]
    while data:
        out.append(" " + data[: width - 1])
        data = data[width - 1:]
    return out


def write(name, text, encoding="utf-8"):
    with open(name, "wb") as f:
        f.write(text if isinstance(text, bytes) else text.encode(encoding))


photo = base64.b64encode(JPEG).decode()

# A phone export whose lines end in CR CR LF, with a folded photo and an
# address written with needless backslashes.
write("phone-cr-cr-lf.vcf", card("3.0", [
    "N:Lindqvist;Maja;;;", "FN:Maja Lindqvist", "ORG:Fjord Kayaks AB;",
    "item1.URL;type=pref:https\\://fjordkayaks.example/maja",
    "item1.X-ABLabel:_$!<HomePage>!$_", "TEL;type=CELL;type=VOICE;type=pref:+46 70 123 45 67",
] + fold("PHOTO;ENCODING=b;TYPE=JPEG:", photo), end="\r\r\n"))

# Two cards of a phone's 2.1 export: quoted-printable UTF-8 names, a photo in
# 2.1 style ending at a blank line, and a photo whose base64 is cut (its
# length is 1 mod 4): that contact keeps everything but the photo.
b64_lines = [photo[i:i + 76] for i in range(0, len(photo), 76)]
write("android-2.1.vcf",
      card("2.1", ["N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=96zt=C3=BCrk;Ay=C5=9Fe;;;",
                   "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ay=C5=9Fe =C3=96zt=C3=BCrk",
                   "TEL;CELL:+90 532 000 00 00", "PHOTO;ENCODING=BASE64;JPEG:" + b64_lines[0]]
           + b64_lines[1:] + [""])
      + card("2.1", ["N:Brandt;Ole;;;", "FN:Ole Brandt", "TEL;WORK:+45 33 00 00 00",
                     "PHOTO;ENCODING=BASE64;JPEG:" + photo[:len(photo) // 4 * 4 - 3], ""]))

# A desktop mail program's 2.1 export in Windows-1252: single backslashes in
# a Windows path are text in 2.1 (a doubled one reads as one, as ez-vcard and
# evolution read it), and the photo has bare parameters.
write("desktop-2.1-windows-1252.vcf", card("2.1", [
    "N;CHARSET=Windows-1252:M\xfcller;J\xfcrgen;;;", "ORG:M\xfcller & S\xf6hne GmbH;Vertrieb",
    "NOTE;CHARSET=Windows-1252:Angebote unter \\\\server\\share\\Angebote\\, Stand 2024",
    "TEL;WORK;VOICE:+49 30 1234567", "PHOTO;JPEG;B:" + photo,
]), encoding="cp1252")

# UTF-16 little-endian with a byte-order mark, as desktop mail programs save.
write("utf-16le-bom.vcf", codecs.BOM_UTF16_LE + card("3.0", [
    "N:Fran\u00e7ois;Ren\u00e9e;;;", "FN:Ren\u00e9e Fran\u00e7ois", "TITLE:Directrice g\u00e9n\u00e9rale",
    "TEL;TYPE=WORK:+33 1 23 45 67 89",
]).encode("utf-16-le"))

# Declared character sets other than UTF-8 and Windows-1252: ISO-8859-15
# (its euro sign and S with caron are in Windows-1252 at other places),
# Greek, Cyrillic and Japanese (which a card cannot hold: '?' and a report).
write("charsets.vcf",
      card("2.1", ["N;CHARSET=ISO-8859-15:Wei\xdf;\xa6\xe1rka;;;", "NOTE;CHARSET=ISO-8859-15:Preis 5 \xa4"])
      .encode("latin-1")
      + card("2.1", ["N;CHARSET=ISO-8859-7;ENCODING=QUOTED-PRINTABLE:=D0=E1=F0=E1=E4=FC=F0=EF=F5=EB=EF=F2;=C1=ED=ED=E1;;;",
                     "TEL;HOME:+30 21 0000 0000"]).encode("ascii")
      + b"BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=Windows-1251:" + "Иванова;Анна;;;".encode("cp1251")
      + b"\r\nORG;CHARSET=SHIFT_JIS:" + "東京商事".encode("shift_jis") + b"\r\nEND:VCARD\r\n")
