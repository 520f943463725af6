#!/usr/bin/python3
"""Reads the outputs of the export formats back with LibreOffice and Python.

Usage: /usr/bin/python3 lo_formats.py FILE...   Prints one JSON object, by file:
  .xls            {"sheets": [{"name", "grid"}]}: each sheet as LibreOffice Calc's
                  CSV export writes it with "save cell contents as shown"
  .rtf, .doc      {"paragraphs": [[style, text]] before the first table (style of
                  the first text portion, "-" for none), "tables": [grid],
                  "internal": [texts of the portions in tw4winInternal]}
  .txt            {"grid"}: the file as LibreOffice's CSV import reads it (tab-
                  separated, double quotes; UTF-16 for "-uni.txt", else UTF-8)
  .html           {"title", "headings", "tables": [grid], "tags": [start tags],
                  "hidden_cells": n}: read by Python's html.parser, a span's text in
                  its first cell and "" in the cells it covers
Trailing empty rows and columns of a grid are dropped.
"""
import csv
import json
import os
import shutil
import sys
import tempfile
from html.parser import HTMLParser

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures"))
from lo_connect import Office, file_url, prop  # noqa: E402


def trimmed(grid):
    grid = [list(row) for row in grid]
    while grid and not any(grid[-1]):
        grid.pop()
    width = max([max([i + 1 for i, v in enumerate(row) if v] or [0]) for row in grid] or [0])
    return [row[:width] + [""] * (width - len(row[:width])) for row in grid]


def calc_grids(doc):
    """Each sheet's cells as shown, read from the cells."""
    sheets = []
    for i in range(doc.Sheets.Count):
        sheet = doc.Sheets.getByIndex(i)
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        rows, cols = cursor.RangeAddress.EndRow + 1, cursor.RangeAddress.EndColumn + 1
        grid = [[sheet.getCellByPosition(c, r).getString() for c in range(cols)] for r in range(rows)]
        sheets.append({"name": sheet.Name, "grid": trimmed(grid)})
    return sheets


def shown_csv_grids(doc):
    """Each sheet as LibreOffice's CSV export writes it with "save cell contents as shown"."""
    sheets = []
    folder = tempfile.mkdtemp(prefix="celltrove-csv-")
    try:
        for n in range(1, doc.Sheets.Count + 1):
            # Tab-separated, quoted, UTF-8, as shown, sheet n (written as <name>-<sheet name>.csv).
            doc.storeToURL(file_url(os.path.join(folder, "s%d.csv" % n)),
                           (prop("FilterName", "Text - txt - csv (StarCalc)"),
                            prop("FilterOptions", "9,34,76,1,,0,false,true,true,false,false,%d" % n)))
            name = [f for f in os.listdir(folder) if f.startswith("s%d-" % n)][0]
            with open(os.path.join(folder, name), encoding="utf-8", newline="") as f:
                grid = list(csv.reader(f, delimiter="\t"))
            sheets.append({"name": doc.Sheets.getByIndex(n - 1).Name, "grid": trimmed(grid)})
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return sheets


def first_style(paragraph):
    portions = paragraph.createEnumeration()
    while portions.hasMoreElements():
        portion = portions.nextElement()
        if portion.getString().strip():
            return portion.CharStyleName or "-"
    return "-"


def writer_dump(doc):
    paragraphs, internal = [], []
    enum = doc.Text.createEnumeration()
    while enum.hasMoreElements():
        element = enum.nextElement()
        if element.supportsService("com.sun.star.text.TextTable"):
            break
        paragraphs.append([first_style(element), element.getString()])
    tables = []
    for t in range(doc.TextTables.Count):
        table = doc.TextTables.getByIndex(t)
        rows = table.Rows.Count
        grid = []
        for r in range(rows):
            row = []
            c = 0
            while True:
                cell = table.getCellByName(cell_name(c, r))
                if cell is None:
                    break
                row.append(cell.getString())
                cell_paragraphs = cell.createEnumeration()
                while cell_paragraphs.hasMoreElements():
                    portions = cell_paragraphs.nextElement().createEnumeration()
                    while portions.hasMoreElements():
                        portion = portions.nextElement()
                        if portion.CharStyleName == "tw4winInternal" and portion.getString():
                            internal.append(portion.getString())
                c += 1
            grid.append(row)
        tables.append(grid)
    return {"paragraphs": paragraphs, "tables": tables, "internal": internal}


def cell_name(column, row):
    letters = ""
    column += 1
    while column:
        column, rest = divmod(column - 1, 26)
        letters = chr(65 + rest) + letters
    return "%s%d" % (letters, row + 1)


class TableReader(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.title, self.headings, self.tables, self.tags = "", [], [], []
        self.hidden_cells = 0
        self.field = None   # "title", "h2" or a cell being read
        self.rows = None
        self.pending = {}   # (row, col) -> covered by a rowspan

    def handle_starttag(self, tag, attrs):
        self.tags.append(tag)
        attrs = dict(attrs)
        if tag in ("title", "h2"):
            self.field, self.text = tag, ""
        elif tag == "table":
            self.rows, self.pending = [], {}
        elif tag == "tr":
            self.rows.append([])
            self.column = 0
        elif tag == "td":
            row = len(self.rows) - 1
            while (row, self.column) in self.pending:
                self.rows[-1].append("")
                self.column += 1
            self.span = (int(attrs.get("rowspan", 1)), int(attrs.get("colspan", 1)))
            if "hidden" in attrs:
                self.hidden_cells += 1
            self.field, self.text = "td", ""

    def handle_endtag(self, tag):
        if tag == "title":
            self.title = self.text
        elif tag == "h2":
            self.headings.append(self.text)
        elif tag == "td":
            row = len(self.rows) - 1
            rows, cols = self.span
            self.rows[-1].append(self.text)
            self.rows[-1].extend([""] * (cols - 1))
            for r in range(row + 1, row + rows):
                for c in range(self.column, self.column + cols):
                    self.pending[(r, c)] = True
            self.column += cols
        elif tag == "table":
            self.tables.append(trimmed(self.rows))
        if tag in ("title", "h2", "td"):
            self.field = None

    def handle_data(self, data):
        if self.field:
            self.text += data


def html_dump(path):
    reader = TableReader()
    with open(path, encoding="utf-8") as f:
        reader.feed(f.read())
    reader.close()
    return {"title": reader.title, "headings": reader.headings, "tables": reader.tables,
            "tags": sorted(set(reader.tags)), "hidden_cells": reader.hidden_cells}


def main():
    result = {}
    with Office() as office:
        for path in sys.argv[1:]:
            lower = path.lower()
            if lower.endswith(".html"):
                result[path] = html_dump(path)
                continue
            args = [prop("Hidden", True), prop("ReadOnly", True)]
            if lower.endswith(".txt"):
                charset = "65535" if lower.endswith("-uni.txt") else "76"
                # Every column as text, so that the fields arrive as written.
                columns = "/".join("%d/2" % c for c in range(1, 257))
                args += [prop("FilterName", "Text - txt - csv (StarCalc)"),
                         prop("FilterOptions", "9,34,%s,1,%s,0,false,false,false" % (charset, columns))]
            doc = office.desktop.loadComponentFromURL(file_url(path), "_blank", 0, tuple(args))
            if doc is None:
                result[path] = {"error": "not loaded"}
                continue
            try:
                if lower.endswith(".xls"):
                    result[path] = {"sheets": shown_csv_grids(doc)}
                elif lower.endswith(".txt"):
                    result[path] = {"grid": calc_grids(doc)[0]["grid"]}
                else:
                    result[path] = writer_dump(doc)
            finally:
                doc.close(True)
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
