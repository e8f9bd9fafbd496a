#!/usr/bin/python3
# Writes the workbooks the Excel import benchmark reads, with python3-xlwt
# (BIFF8, every cell in the general format):
#   numbers_200k.xls  20,000 rows of ten cells: a label, seven numbers that
#                     xlwt stores as NUMBER records (measurements, prices,
#                     article numbers and EANs) and two it stores as RK
#                     (together one MULRK record a row). The measured values
#                     repeat every 101 rows, as columns of a parts list do,
#                     which keeps the file small in the repository.
#   /usr/bin/python3 make_bench_workbooks.py
import math
import xlwt

ROWS = 20000

wb = xlwt.Workbook()
s = wb.add_sheet("Numbers")
for r in range(ROWS):
    row = s.row(r)
    k = r % 101
    row.write(0, "W%05d" % r)
    row.write(1, 7391234500000 + r)          # EAN, 13 digits
    row.write(2, k / 7.0)
    row.write(3, math.sqrt(k + 2))
    row.write(4, k * 1.001)
    row.write(5, 1.0 / (k + 3))
    row.write(6, k * 12.3456789)
    row.write(7, 123456789000 + r * 7)       # article number, 12 digits
    row.write(8, r * 0.25)                   # RK (hundredths)
    row.write(9, r)                          # RK
    if r % 1000 == 999:
        s.flush_row_data()
wb.save("numbers_200k.xls")
