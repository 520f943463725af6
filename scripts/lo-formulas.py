#!/usr/bin/python3
"""Prints every formula cell of the given workbooks as LibreOffice reads it, in
Excel's English A1 syntax: file, sheet index, row, column, formula (tab-separated).
Run with Debian's /usr/bin/python3 (python3-uno)."""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def main(files):
    profile = tempfile.mkdtemp(prefix="lo-formulas-")
    pipe = "celltrove_lo_%d" % os.getpid()
    office = subprocess.Popen(["soffice", "-env:UserInstallation=file://" + profile, "--headless", "--invisible",
                               "--norestore", "--accept=pipe,name=%s;urp;" % pipe],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(120):
            try:
                ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                break
            except NoConnectException:
                time.sleep(0.5)
        else:
            sys.exit("LibreOffice did not start")
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        XL_ENGLISH = uno.getConstantByName("com.sun.star.sheet.FormulaLanguage.XL_ENGLISH")
        FORMULA = uno.getConstantByName("com.sun.star.sheet.CellFlags.FORMULA")
        XL_A1 = uno.Enum("com.sun.star.sheet.AddressConvention", "XL_A1") if False else 3
        ALL_GROUPS = uno.getConstantByName("com.sun.star.sheet.FormulaMapGroup.ALL_EXCEPT_SPECIAL") | \
            uno.getConstantByName("com.sun.star.sheet.FormulaMapGroup.SPECIAL")
        for path in files:
            url = uno.systemPathToFileUrl(os.path.abspath(path))
            doc = desktop.loadComponentFromURL(url, "_blank", 0, (prop("Hidden", True), prop("ReadOnly", True)))
            if doc is None:
                continue
            parser = doc.createInstance("com.sun.star.sheet.FormulaParser")
            mapper = doc.createInstance("com.sun.star.sheet.FormulaOpCodeMapper")
            parser.FormulaConvention = XL_A1
            parser.CompileEnglish = True
            parser.OpCodeMap = mapper.getAvailableMappings(XL_ENGLISH, ALL_GROUPS)
            sheets = doc.Sheets
            for s in range(sheets.Count):
                sheet = sheets.getByIndex(s)
                ranges = sheet.queryContentCells(FORMULA)
                for addr in ranges.RangeAddresses:
                    for row in range(addr.StartRow, addr.EndRow + 1):
                        for col in range(addr.StartColumn, addr.EndColumn + 1):
                            cell = sheet.getCellByPosition(col, row)
                            text = parser.printFormula(cell.getTokens(), cell.CellAddress)
                            text = text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
                            print("%s\t%d\t%d\t%d\t=%s" % (os.path.basename(path), s + 1, row + 1, col + 1, text))
            doc.close(True)
    finally:
        try:
            desktop.terminate()
        except Exception:
            pass
        office.wait(timeout=30)


if __name__ == "__main__":
    main(sys.argv[1:])
