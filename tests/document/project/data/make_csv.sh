#!/bin/sh
# Regenerates gnumeric_export.csv: python3-xlwt writes a workbook of texts
# and numbers, gnumeric's ssconvert exports it as CSV (UTF-8, comma,
# fields with a comma or a quote quoted, quotes doubled, LF line ends).
set -e
cd "$(dirname "$0")"
/usr/bin/python3 make_csv.py
ssconvert -T Gnumeric_stf:stf_csv csv_source.xls gnumeric_export.csv
rm csv_source.xls
