#!/usr/bin/python3
"""For n = 0 .. 47 prints n, then Python's base64 and quoted-printable
encodings (without soft line breaks) of the test pattern of n bytes, as hex;
'-' stands for an empty encoding."""
import base64
import binascii

for n in range(48):
    data = bytes((i * 37 + 11) & 255 for i in range(n))
    qp = binascii.b2a_qp(data, quotetabs=True, istext=False).replace(b"=\n", b"")
    print(n, base64.b64encode(data).hex() or "-", qp.hex() or "-")
