#!/bin/sh
# Regenerates the reference workbooks: python3-xlwt writes BIFF8, gnumeric's
# ssconvert (formulas recalculated) rewrites them as BIFF8 and as BIFF5
# (Excel 95), so the tests read files of two independent writers.
set -e
cd "$(dirname "$0")"
/usr/bin/python3 make_workbooks.py
ssconvert --recalc -T Gnumeric_Excel:excel_biff8 xlwt_biff8.xls gnumeric_biff8.xls
ssconvert --recalc -T Gnumeric_Excel:excel_biff7 ascii_source.xls gnumeric_biff5.xls
rm ascii_source.xls
/usr/bin/python3 make_numbers.py
# What python3-xlrd reads from each workbook, the reference the import test
# compares every cell with.
for book in xlwt_biff8 gnumeric_biff8 gnumeric_biff5 xlwt_one_visible xlwt_numbers; do
  /usr/bin/python3 xlrd_dump.py "$book.xls" > "$book.xlrd.txt"
done
