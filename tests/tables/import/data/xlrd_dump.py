# Prints what python3-xlrd reads from a workbook, for the import tests:
#   S <visible sheet index> <name as UTF-8 hex>
#   T <row> <col> <text as UTF-8 hex>
#   N <row> <col> <accepted texts separated by |>
# A whole number below 10^15 is accepted with all its digits, any other
# number as "%.8g" or "%g"; when its cell's format is a "0.00"-style format
# also with as many decimals as zeros follow "0.".
import sys
import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True, encoding_override="cp1252")
visible = 0
for sheet in book.sheets():
    if sheet.visibility != 0:
        continue
    print("S", visible, sheet.name.encode("utf-8").hex() or "-")
    visible += 1
    for r in range(sheet.nrows):
        for c, cell in enumerate(sheet.row(r)):
            if cell.ctype == xlrd.XL_CELL_TEXT and cell.value:
                print("T", r, c, cell.value.encode("utf-8").hex())
            elif cell.ctype == xlrd.XL_CELL_NUMBER:
                v = cell.value
                if abs(v) < 1e15 and v == int(v):
                    texts = {"%.0f" % v}
                else:
                    texts = {"%.8g" % v, "%g" % v}
                fmt = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
                if len(fmt) > 2 and fmt.startswith("0."):
                    zeros = len(fmt[2:]) - len(fmt[2:].lstrip("0"))
                    fixed = "%.*f" % (zeros, v)
                    if len(fixed) <= 80:
                        texts.add(fixed)
                print("N", r, c, "|".join(sorted(texts)))
