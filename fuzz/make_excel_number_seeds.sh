#!/usr/bin/env bash
# Makes the number-sheet seeds of fuzz_excel (numbers_biff*, xlwt_numbers,
# cut_biff2_sheet, cut_biff8_sheet). Every seed is one byte for the target
# (chooser answer and file name, see fuzz_excel.cpp) and a file: the number
# sheets the import tests build record by record (written by the benchmark),
# tests/tables/import/data/xlwt_numbers.xls, and two streams cut at a record
# boundary inside their sheet (the Excel 97 one rewrapped by python3-xlwt).
#   bash fuzz/make_excel_number_seeds.sh build/rel
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build/rel}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
VSL_BENCH_XLS_DIR="$TMP" QT_QPA_PLATFORM=offscreen "$BUILD/bench/vsl_bench" \
  --benchmark_filter=ExcelImport100k --benchmark_min_time=0.01 >/dev/null 2>&1
/usr/bin/python3 - "$TMP" <<'PY'
import io, os, struct, sys
from xlrd import compdoc
from xlwt import CompoundDoc
src, dst = sys.argv[1], "fuzz/corpus/fuzz_excel"
def seed(name, data, first=0):
    open(os.path.join(dst, name), "wb").write(bytes([first]) + data)
def records(stream):
    pos, out = 0, []
    while pos + 4 <= len(stream):
        out.append((pos, struct.unpack_from("<H", stream, pos)[0]))
        pos += 4 + struct.unpack_from("<H", stream, pos + 2)[0]
    return out
for v in ["2", "3", "4", "5", "8"]:
    data = open(f"{src}/numbers_v{v}.xls", "rb").read()
    seed("numbers_biff" + v, data)
    if v in "58":
        seed("numbers_biff" + v + "_second", data, 2)  # the second sheet
seed("xlwt_numbers", open("tests/tables/import/data/xlwt_numbers.xls", "rb").read())
d = open(f"{src}/numbers_v2.xls", "rb").read()
r = records(d)
seed("cut_biff2_sheet", d[:r[len(r) // 2][0]])
data = open("tests/tables/import/data/xlwt_numbers.xls", "rb").read()
wb = compdoc.CompDoc(data).get_named_stream("Workbook")
r = records(wb)
bofs = [i for i, (_, t) in enumerate(r) if t == 0x0809]
eofs = [i for i, (_, t) in enumerate(r) if t == 0x000A]
out = io.BytesIO()
CompoundDoc.XlsDoc().save(out, wb[:r[(bofs[1] + eofs[1]) // 2][0]])
seed("cut_biff8_sheet", out.getvalue())
PY
