#!/usr/bin/python3
"""Reads a PDF with pdfminer.six (python3-pdfminer), an extractor that
follows each font's ToUnicode map and never guesses spaces from positions,
and prints one line per value: a key, a tab and the value's UTF-8 bytes as
hex ('-' for empty).

  text              the page's text as pdfminer extracts it
  box.<Name>        each of MediaBox, TrimBox and BleedBox the page has:
                    "x0 y0 x1 y1" in points
  line              every straight line drawn: "x0 y0 x1 y1" in points
"""
import sys

from pdfminer.converter import PDFPageAggregator
from pdfminer.high_level import extract_text
from pdfminer.layout import LAParams, LTCurve, LTLine
from pdfminer.pdfinterp import PDFPageInterpreter, PDFResourceManager
from pdfminer.pdfpage import PDFPage
from pdfminer.pdftypes import resolve1


def out(key, value):
    print(key + "\t" + (str(value).encode("utf-8").hex() or "-"))


def numbers(values):
    return " ".join("%.3f" % float(v) for v in values)


path = sys.argv[1]
out("text", extract_text(path))
with open(path, "rb") as f:
    manager = PDFResourceManager()
    device = PDFPageAggregator(manager, laparams=LAParams())
    interpreter = PDFPageInterpreter(manager, device)
    for page in PDFPage.get_pages(f):
        for name in ("MediaBox", "TrimBox", "BleedBox"):
            if name in page.attrs:
                out("box." + name, numbers(resolve1(page.attrs[name])))
        interpreter.process_page(page)
        for item in device.get_result():
            if isinstance(item, LTLine) or (isinstance(item, LTCurve) and len(item.pts) == 2):
                (x0, y0), (x1, y1) = item.pts[0], item.pts[-1]
                out("line", numbers((x0, y0, x1, y1)))
