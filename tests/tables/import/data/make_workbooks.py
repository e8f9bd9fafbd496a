#!/usr/bin/python3
# Writes the reference workbooks of the Excel import tests with python3-xlwt
# (BIFF8). make_workbooks.sh converts them further with gnumeric's ssconvert.
import xlwt

wb = xlwt.Workbook(encoding="utf-8")

s = wb.add_sheet("Numbers")
fmt3 = xlwt.easyxf(num_format_str="0.000")
fmt2 = xlwt.easyxf(num_format_str="0.00")
pct = xlwt.easyxf(num_format_str="0.000%")
for r in range(40):
    s.write(r, 0, r)                      # small integers (RK)
    s.write(r, 1, r * 1.25)               # RK or NUMBER
    s.write(r, 2, 1.0 / (r + 3))          # NUMBER, eight digits
    s.write(r, 3, r * 123456.789, fmt3)   # three decimals
    s.write(r, 4, r / 7.0, fmt2)
    s.write(r, 5, r / 9.0, pct)
    s.write(r, 6, -r * 1e12)
s.write(0, 30, "beyond Z")
s.write(40000, 1, "row 40001")
s.write(65535, 0, 65535)

t = wb.add_sheet(u"Texte äöü")
t.write(0, 0, u"plain")
t.write(1, 0, u"Grüße, café")
t.write(2, 0, u"Euro € and dash –")
t.write(3, 0, u"Greek Ω is not in the code page")
t.write(4, 0, u"x" * 300)
for r in range(5, 300):
    t.write(r, 1, u"shared %d" % r)        # shared strings
t.write(300, 2, xlwt.Formula("1+2"))
t.write(301, 2, xlwt.Formula('"ab"&"cd"'))

h = wb.add_sheet("Hidden")
h.write(0, 0, "hidden")
h.visibility = 1

wb.save("xlwt_biff8.xls")

single = xlwt.Workbook()
one = single.add_sheet("Only")
one.write(0, 0, 1.5)
one.write(1, 0, "one sheet")
hidden = single.add_sheet("Secret")
hidden.write(0, 0, "no")
hidden.visibility = 1
single.save("xlwt_one_visible.xls")

# Gnumeric writes Excel 95 texts with non-ASCII characters as UTF-16 under
# code page 1200, which no Excel 95 reader understands: its source is ASCII.
ascii = xlwt.Workbook()
a = ascii.add_sheet("Numbers")
for r in range(40):
    a.write(r, 0, r)
    a.write(r, 1, r * 1.25)
    a.write(r, 2, 1.0 / (r + 3))
    a.write(r, 3, r * 123456.789, fmt3)
    a.write(r, 4, r / 7.0, fmt2)
    a.write(r, 5, r / 9.0, pct)
a.write(0, 30, "beyond Z")
a.write(10000, 1, "row 10001")
b = ascii.add_sheet("Texts")
b.write(0, 0, "plain")
b.write(1, 0, "y" * 300)
for r in range(2, 200):
    b.write(r, 1, "label %d" % r)
b.write(200, 2, xlwt.Formula("1+2"))
b.write(201, 2, xlwt.Formula('"ab"&"cd"'))
c = ascii.add_sheet("Hidden")
c.write(0, 0, "hidden")
c.visibility = 1
ascii.save("ascii_source.xls")
