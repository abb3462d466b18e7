#!/usr/bin/env python3
"""Checks the Netscape bookmark files that the export tests wrote into a folder: each is read
with Python's html.parser, an HTML parser of its own, and the folders (H3 followed by a DL) and
links (A with HREF) it finds, with their nesting, must read as the "<name>.expected" file beside
it (UTF-8; one line per entry, one space of indent per level: "+folder" or "title url")."""
import pathlib
import sys
from html.parser import HTMLParser


class Outline(HTMLParser):
    def __init__(self):
        super().__init__()
        self.lines = []
        self.depth = -1  # the top list is level 0
        self.text = None  # collecting a heading's or a link's text
        self.href = None

    def handle_starttag(self, tag, attrs):
        if tag == "dl":
            self.depth += 1
        elif tag in ("h3", "a"):
            self.text = ""
            self.href = dict(attrs).get("href") if tag == "a" else None

    def handle_endtag(self, tag):
        if tag == "dl":
            self.depth -= 1
        elif tag == "h3":
            self.lines.append(" " * self.depth + "+" + self.text)
            self.text = None
        elif tag == "a":
            self.lines.append(" " * self.depth + self.text + " " + self.href)
            self.text = None

    def handle_data(self, data):
        if self.text is not None:
            self.text += data


def main():
    samples = pathlib.Path(sys.argv[1])
    checked = 0
    for html in sorted(samples.glob("*.html")):
        raw = html.read_bytes()
        if b'charset=UTF-8' not in raw.split(b"<DL>")[0]:
            sys.exit(f"{html}: no UTF-8 charset declared before the list")
        parser = Outline()
        parser.feed(raw.decode("utf-8"))
        parser.close()
        actual = "".join(line + "\n" for line in parser.lines)
        expected = html.with_suffix(".expected").read_text(encoding="utf-8")
        if parser.depth != -1 or actual != expected:
            sys.exit(f"{html} does not read back as expected (open lists: {parser.depth + 1}):\n{actual}")
        checked += 1
    if not checked:
        sys.exit(f"no HTML samples in {samples}")
    print(f"{checked} HTML samples parsed by html.parser and read back as written")


main()
