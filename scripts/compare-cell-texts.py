#!/usr/bin/python3
"""Compares the display and formula texts celltrove-cli reads from workbooks with
what LibreOffice shows: its CSV export with "save cell contents as shown" under
the same locale, and each formula cell printed in Excel's English A1 syntax.
Prints one line per workbook with the match rates, then the differences.

usage: compare-cell-texts.py CELLTROVE_CLI FILE.xls...   (locale from LC_ALL, default de_DE.UTF-8)
"""
import csv
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def unescape(field):
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}.get(m.group(1), m.group(1)), field)


def our_cells(cli, path, env):
    run = subprocess.run([cli, "cells", path], capture_output=True, text=True, env=env)
    cells = {}
    for line in run.stdout.splitlines():
        if line.startswith("#"):
            continue
        f = line.split("\t")
        if len(f) < 8:
            continue
        cells[(f[1], int(f[2]), int(f[3]))] = (unescape(f[6]), unescape(f[7]))
    return run.returncode, cells


def lo_display(paths, env):
    out = tempfile.mkdtemp(prefix="lo-csv-")
    profile = tempfile.mkdtemp(prefix="lo-profile-")
    subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless", "--convert-to",
                    "csv:Text - txt - csv (StarCalc):9,34,76,1,,1031,false,true,true,false,false,-1",
                    "--outdir", out] + paths, capture_output=True, env=env, timeout=1800)
    return out


def lo_sheet_grid(out, path, sheet):
    base = os.path.splitext(os.path.basename(path))[0]
    name = os.path.join(out, "%s-%s.csv" % (base, sheet))
    if not os.path.exists(name):
        return None
    with open(name, newline="", encoding="utf-8", errors="replace") as f:
        return list(csv.reader(f, delimiter="\t", quotechar='"'))


def lo_formulas(paths):
    run = subprocess.run(["/usr/bin/python3", os.path.join(HERE, "lo-formulas.py")] + paths,
                         capture_output=True, text=True, timeout=1800)
    result = {}
    for line in run.stdout.splitlines():
        f = line.split("\t")
        if len(f) == 5:
            result.setdefault(f[0], {})[(int(f[1]), int(f[2]), int(f[3]))] = unescape(f[4])
    return result


def without_blanks(formula):
    # Blanks outside string literals: LibreOffice drops the ones the user typed.
    return "".join(part if i % 2 else part.replace(" ", "").replace("\n", "")
                   for i, part in enumerate(re.split(r'("(?:[^"]|"")*")', formula)))


def main():
    cli, paths = sys.argv[1], sys.argv[2:]
    env = dict(os.environ)
    env.setdefault("LC_ALL", "de_DE.UTF-8")
    env["LANG"] = env["LC_ALL"]
    csv_dir = lo_display(paths, env)
    formulas = lo_formulas(paths)
    details = []
    totals = [0, 0, 0, 0]
    for path in paths:
        status, cells = our_cells(cli, path, env)
        if status != 0:
            print("%-45s not opened by celltrove" % os.path.basename(path))
            continue
        grids = {}
        shown = same = 0
        for (sheet, row, col), (display, formula) in sorted(cells.items()):
            if sheet not in grids:
                grids[sheet] = lo_sheet_grid(csv_dir, path, sheet)
            grid = grids[sheet]
            if grid is None:
                continue
            lo = grid[row - 1][col - 1] if row - 1 < len(grid) and col - 1 < len(grid[row - 1]) else ""
            shown += 1
            if lo == display:
                same += 1
            else:
                details.append("%s %s!R%dC%d display: ours %r, LibreOffice %r" %
                               (os.path.basename(path), sheet, row, col, display, lo))
        ours_by_index = {}
        run = subprocess.run([cli, "cells", path], capture_output=True, text=True, env=env)
        for line in run.stdout.splitlines():
            f = line.split("\t")
            if len(f) >= 8 and not line.startswith("#") and f[7]:
                ours_by_index[(int(f[0]), int(f[2]), int(f[3]))] = unescape(f[7])
        lo_f = formulas.get(os.path.basename(path), {})
        fcount = fsame = 0
        for key, lo_text in sorted(lo_f.items()):
            if lo_text == "=":
                continue  # LibreOffice gives no text for the other cells of an array formula
            fcount += 1
            ours = ours_by_index.get(key, "")
            if without_blanks(ours) == without_blanks(lo_text):
                fsame += 1
            else:
                details.append("%s sheet %d R%dC%d formula: ours %r, LibreOffice %r" %
                               (os.path.basename(path), key[0], key[1], key[2], ours, lo_text))
        totals = [totals[0] + same, totals[1] + shown, totals[2] + fsame, totals[3] + fcount]
        print("%-45s display %5d/%-5d %6.1f%%   formulas %4d/%-4d %s" % (
            os.path.basename(path), same, shown, 100.0 * same / shown if shown else 100.0, fsame, fcount,
            "%.1f%%" % (100.0 * fsame / fcount) if fcount else "-"))
    print("%-45s display %5d/%-5d %6.1f%%   formulas %4d/%-4d %.1f%%" % (
        "TOTAL", totals[0], totals[1], 100.0 * totals[0] / max(totals[1], 1), totals[2], totals[3],
        100.0 * totals[2] / max(totals[3], 1)))
    print()
    for d in details:
        print(d)


if __name__ == "__main__":
    main()
