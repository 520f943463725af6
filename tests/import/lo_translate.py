#!/usr/bin/python3
"""Translates tagged documents as a translator would, with LibreOffice Writer.

Usage: /usr/bin/python3 lo_translate.py IN.rtf OUT.rtf [IN.rtf OUT.rtf ...]
Every text run that does not carry the character style "tw4winExternal" is
changed to upper case, inside the run (line breaks stay where they are), and
the document is saved with Writer's own RTF filter.
"""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue

STRUCTURE_STYLE = "tw4winExternal"


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def connect(profile):
    pipe = "celltrove_translate_%d" % os.getpid()
    proc = subprocess.Popen(["soffice", "--headless", "--invisible", "--norestore",
                             "-env:UserInstallation=file://" + profile,
                             "--accept=pipe,name=%s;urp;" % pipe],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(240):
        try:
            ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
            desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, (prop("Hidden", True),)).close(True)
            return proc, desktop
        except Exception:
            time.sleep(0.5)
    proc.kill()
    raise SystemExit("soffice did not start")


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
    doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(source)), "_blank", 0,
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
    doc.storeToURL(uno.systemPathToFileUrl(os.path.abspath(target)), (prop("FilterName", "Rich Text Format"),))
    doc.close(True)


def main():
    args = sys.argv[1:]
    with tempfile.TemporaryDirectory() as profile:
        proc, desktop = connect(profile)
        try:
            for source, target in zip(args[0::2], args[1::2]):
                translate(desktop, source, target)
        finally:
            try:
                desktop.terminate()
            except Exception:
                pass
            proc.wait(timeout=60)


if __name__ == "__main__":
    main()
