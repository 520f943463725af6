#!/usr/bin/python3
"""Prints every formula cell of the given workbooks as LibreOffice reads it, in
Excel's English A1 syntax: file, sheet index, row, column, formula (tab-separated).
Run with Debian's /usr/bin/python3 (python3-uno)."""
import os
import sys

import uno

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fixtures"))
from lo_connect import Office  # noqa: E402


def main(files):
    with Office() as office:
        XL_ENGLISH = uno.getConstantByName("com.sun.star.sheet.FormulaLanguage.XL_ENGLISH")
        FORMULA = uno.getConstantByName("com.sun.star.sheet.CellFlags.FORMULA")
        XL_A1 = uno.Enum("com.sun.star.sheet.AddressConvention", "XL_A1") if False else 3
        ALL_GROUPS = uno.getConstantByName("com.sun.star.sheet.FormulaMapGroup.ALL_EXCEPT_SPECIAL") | \
            uno.getConstantByName("com.sun.star.sheet.FormulaMapGroup.SPECIAL")
        for path in files:
            doc = office.load(path, read_only=True)
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


if __name__ == "__main__":
    main(sys.argv[1:])
