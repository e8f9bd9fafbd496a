#!/usr/bin/python3
# Writes wires.xls, the workbook of the end-to-end test, with python3-xlwt
# (a writer independent of the program): one visible sheet of wire names
# (column A) and terminal codes (column B), two spare rows among them.
import xlwt

ROWS = [
    ("W-207", "X2-07"),
    ("W-203", "X2-03"),
    ("SPARE-1", "X9-01"),
    ("W-205", "X2-05"),
    ("W-201", "X2-01"),
    ("SPARE-2", "X9-02"),
    ("W-210", "X2-10"),
    ("W-204", "X2-04"),
]

wb = xlwt.Workbook(encoding="utf-8")
sheet = wb.add_sheet("Wires")
for r, (wire, terminal) in enumerate(ROWS):
    sheet.write(r, 0, wire)
    sheet.write(r, 1, terminal)
wb.save("wires.xls")
