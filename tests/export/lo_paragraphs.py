#!/usr/bin/python3
"""Prints the paragraphs of documents as LibreOffice Writer reads them.

Usage: /usr/bin/python3 lo_paragraphs.py FILE.rtf...
For each file a line "== FILE", then one line per paragraph:
the character style of its first text portion ("-" for none), a tab, the text
with line breaks shown as "\\v".
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
from lo_connect import Office, file_url, prop  # noqa: E402


def dump(desktop, path):
    doc = desktop.loadComponentFromURL(file_url(path), "_blank", 0,
                                       (prop("Hidden", True),))
    print("== " + os.path.basename(path))
    paragraphs = doc.Text.createEnumeration()
    while paragraphs.hasMoreElements():
        para = paragraphs.nextElement()
        style = "-"
        portions = para.createEnumeration()
        while portions.hasMoreElements():
            portion = portions.nextElement()
            if portion.getString().strip():
                style = portion.CharStyleName or "-"
                break
        print(style + "\t" + para.getString().replace("\n", "\\v"))
    doc.close(True)


def main():
    with Office() as office:
        for path in sys.argv[1:]:
            dump(office.desktop, path)

if __name__ == "__main__":
    main()
