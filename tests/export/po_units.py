#!/usr/bin/python3
"""Converts an XLIFF file with translate-toolkit's xliff2po and prints what the
PO file holds: one line per unit, "location<TAB>msgid" (backslash, tab and line
feed escaped). Exits with xliff2po's status when it fails."""
import subprocess
import sys
import tempfile

from translate.storage import factory


def esc(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


with tempfile.TemporaryDirectory() as tmp:
    po = tmp + "/out.po"
    done = subprocess.run(["xliff2po", "--duplicates=msgctxt", sys.argv[1], po], capture_output=True)
    if done.returncode != 0:
        sys.stderr.write(done.stderr.decode())
        sys.exit(done.returncode)
    store = factory.getobject(po)
    for unit in store.units:
        if unit.isheader():
            continue
        for location in unit.getlocations():
            print("%s\t%s" % (location, esc(unit.source)))
