#!/usr/bin/python3
# Writes the source workbook of gnumeric_export.csv (see make_csv.sh).
import xlwt

rows = [
    ["Wire", "From", "To", "Note"],
    ["W1", "X1:1", "K1:A1", 'says "hi"'],
    ["W2", "X1:2", "K1:A2", "a,b"],
    ["W3", "", "Q1:13", "Größe 2,5 mm²"],
    ["W4", "X2:1", "", "  padded  "],
]
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Wires")
for r, row in enumerate(rows):
    for c, text in enumerate(row):
        if text:
            sheet.write(r, c, text)
sheet.write(5, 0, 42)
sheet.write(5, 1, 2.5)
book.save("csv_source.xls")
