#!/usr/bin/python3
"""Translates table-form documents as a translator would, with LibreOffice Writer.

Usage: /usr/bin/python3 lo_translate_tables.py IN.rtf OUT.rtf [IN.rtf OUT.rtf ...]
Every text portion inside a table that does not carry the character style
"tw4winInternal" (the "<<lf>>" tags) is changed to upper case; the document is
saved with Writer's own RTF filter.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
from lo_connect import Office, file_url, prop  # noqa: E402

TAG_STYLE = "tw4winInternal"


def translate(desktop, source, target):
    doc = desktop.loadComponentFromURL(file_url(source), "_blank", 0, (prop("Hidden", True),))
    for t in range(doc.TextTables.Count):
        table = doc.TextTables.getByIndex(t)
        for name in table.getCellNames():
            cell = table.getCellByName(name)
            portions = []
            paragraphs = cell.createEnumeration()
            while paragraphs.hasMoreElements():
                enum = paragraphs.nextElement().createEnumeration()
                while enum.hasMoreElements():
                    portion = enum.nextElement()
                    if portion.TextPortionType == "Text" and portion.CharStyleName != TAG_STYLE and portion.getString():
                        portions.append(portion)
            # Backwards: an edit never moves a portion still to be changed.
            for portion in reversed(portions):
                portion.setString(portion.getString().upper())
    doc.storeToURL(file_url(target), (prop("FilterName", "Rich Text Format"),))
    doc.close(True)


def main():
    args = sys.argv[1:]
    with Office() as office:
        for source, target in zip(args[0::2], args[1::2]):
            translate(office.desktop, source, target)


if __name__ == "__main__":
    main()
