#!/usr/bin/python3
"""Reads a web card with two independent parsers and prints what a browser
and a contact tool would take from it, one line each: a key, a tab and the
value's UTF-8 bytes as hex ('-' for empty).

  error       an HTML5 parse error (html5lib, strict)
  element     the name of every element
  load        every src and srcset value (what the page loads)
  link        every href value
  csp         the Content-Security-Policy meta tag's content
  attr.<element>.<name>  every attribute of every element
  svg-title   the text of an SVG picture's title
  style       the sha256 hash (base64) of each style element, CSP form
  mf.<prop>   each property of the h-card (mf2py); h-adr parts as mf.adr.<prop>
"""
import base64
import hashlib
import sys

import html5lib
import mf2py


def out(key, value):
    print(key + "\t" + (str(value).encode("utf-8").hex() or "-"))


text = open(sys.argv[1], "rb").read().decode("utf-8")
parser = html5lib.HTMLParser(tree=html5lib.getTreeBuilder("etree"), namespaceHTMLElements=False)
tree = parser.parse(text)
for position, code, data in parser.errors:
    out("error", "%s at %s %s" % (code, position, data))
for element in tree.iter():
    if not isinstance(element.tag, str):
        continue
    out("element", element.tag)
    for name, value in element.attrib.items():
        out("attr.%s.%s" % (element.tag, name), value)
    if element.tag == "{http://www.w3.org/2000/svg}title":
        out("svg-title", element.text or "")
    for name in ("src", "srcset"):
        if element.get(name) is not None:
            out("load", element.get(name))
    if element.get("href") is not None:
        out("link", element.get("href"))
    if element.tag == "meta" and (element.get("http-equiv") or "").lower() == "content-security-policy":
        out("csp", element.get("content"))
    if element.tag == "style":
        digest = hashlib.sha256((element.text or "").encode("utf-8")).digest()
        out("style", "sha256-" + base64.b64encode(digest).decode())

cards = [item for item in mf2py.parse(doc=text)["items"] if "h-card" in item["type"]]
out("mf.cards", len(cards))
for card in cards:
    for prop, values in card["properties"].items():
        for value in values:
            if isinstance(value, dict) and "properties" in value:
                for sub, subvalues in value["properties"].items():
                    for subvalue in subvalues:
                        out("mf.%s.%s" % (prop, sub), subvalue)
            elif isinstance(value, dict):
                out("mf." + prop, value.get("value", ""))
            else:
                out("mf." + prop, value)
