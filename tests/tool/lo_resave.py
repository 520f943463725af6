#!/usr/bin/python3
"""Opens documents in LibreOffice Writer and saves them again, unchanged, with
Writer's own RTF filter, as a translator's word processor would.

Usage: /usr/bin/python3 lo_resave.py IN.rtf OUT.rtf [IN.rtf OUT.rtf ...]
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
from lo_connect import Office, file_url, prop  # noqa: E402


def main():
    args = sys.argv[1:]
    with Office() as office:
        for source, target in zip(args[0::2], args[1::2]):
            doc = office.load(source)
            doc.storeToURL(file_url(target), (prop("FilterName", "Rich Text Format"),))
            doc.close(True)


if __name__ == "__main__":
    main()
