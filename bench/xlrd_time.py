#!/usr/bin/python3
# Times python3-xlrd on workbooks, for comparison with bench_excel.cpp:
# open_workbook with formatting_info (as the import tests' xlrd_dump.py
# reads them), which parses every cell of every sheet, alone ("open") and
# with every cell then read row by row ("cells"); best of N runs, in ms.
#   /usr/bin/python3 bench/xlrd_time.py [-n N] file.xls...
import sys
import time
import xlrd


def open_book(path):
    return xlrd.open_workbook(path, formatting_info=True, encoding_override="cp1252")


def read_all(path):
    book = open_book(path)
    cells = 0
    for sheet in book.sheets():
        for r in range(sheet.nrows):
            for cell in sheet.row(r):
                if cell.ctype in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_NUMBER):
                    cells += 1
    return cells


args = sys.argv[1:]
runs = 20
if len(args) >= 2 and args[0] == "-n":
    runs = int(args[1])
    args = args[2:]


def best_of(function, path):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        result = function(path)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best * 1000, result


for path in args:
    opened, _ = best_of(open_book, path)
    read, cells = best_of(read_all, path)
    print("%-24s %7d cells  open %10.3f ms  cells %10.3f ms" % (path.split("/")[-1], cells, opened, read))
