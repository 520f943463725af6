#!/usr/bin/python3
"""Prints the paragraphs of documents as LibreOffice Writer reads them.

Usage: /usr/bin/python3 lo_paragraphs.py FILE.rtf...
For each file a line "== FILE", then one line per paragraph:
the character style of its first text portion ("-" for none), a tab, the text
with line breaks shown as "\\v".
"""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def connect(profile):
    pipe = "celltrove_paragraphs_%d" % os.getpid()
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


def dump(desktop, path):
    doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(path)), "_blank", 0,
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
    with tempfile.TemporaryDirectory() as profile:
        proc, desktop = connect(profile)
        try:
            for path in sys.argv[1:]:
                dump(desktop, path)
        finally:
            try:
                desktop.terminate()
            except Exception:
                pass
            proc.wait(timeout=60)


if __name__ == "__main__":
    main()
