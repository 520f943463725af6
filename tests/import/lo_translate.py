#!/usr/bin/python3
"""Translates tagged documents as a translator would, with LibreOffice Writer.

Usage: /usr/bin/python3 lo_translate.py IN.rtf OUT.rtf [IN.rtf OUT.rtf ...]
Every text run that does not carry the character style "tw4winExternal" is
changed to upper case, inside the run (line breaks stay where they are), and
the document is saved with Writer's own RTF filter.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
from lo_connect import Office, file_url, prop  # noqa: E402

STRUCTURE_STYLE = "tw4winExternal"


def translatable_runs(doc):
    runs = []
    paragraphs = doc.Text.createEnumeration()
    while paragraphs.hasMoreElements():
        para = paragraphs.nextElement()
        if not para.supportsService("com.sun.star.text.Paragraph"):
            continue
        portions = para.createEnumeration()
        while portions.hasMoreElements():
            portion = portions.nextElement()
            if portion.TextPortionType != "Text" or portion.CharStyleName == STRUCTURE_STYLE:
                continue
            if portion.getString():
                runs.append((portion.getText(), portion.getStart(), portion.getString()))
    return runs


def translate(desktop, source, target):
    doc = desktop.loadComponentFromURL(file_url(source), "_blank", 0,
                                       (prop("Hidden", True),))
    # Writer holds a long paragraph as several portions, and replacing the text
    # of one moves the start of every later portion of its paragraph. Going
    # backwards, each edit lies behind every start still to be used.
    for text, start, string in reversed(translatable_runs(doc)):
        cursor = text.createTextCursorByRange(start)
        for i, segment in enumerate(string.split("\n")):
            if i:
                cursor.goRight(1, False)  # over the line break
            cursor.goRight(len(segment.encode("utf-16-le")) // 2, True)
            cursor.setString(segment.upper())
            cursor.collapseToEnd()
    doc.storeToURL(file_url(target), (prop("FilterName", "Rich Text Format"),))
    doc.close(True)


def main():
    args = sys.argv[1:]
    with Office() as office:
        for source, target in zip(args[0::2], args[1::2]):
            translate(office.desktop, source, target)

if __name__ == "__main__":
    main()
