#!/usr/bin/python3
# Writes xlwt_numbers.xls with python3-xlwt (BIFF8): whole numbers of 7 to
# 15 digits and a few fractions in the records xlwt chooses for them.
# xlwt stores a number as RK when it is a 30-bit integer or such an integer
# divided by 100, adjacent RK cells of a row as one MULRK, and every other
# number as NUMBER. Its formulas carry no cached result, so FORMULA cells
# (and RK numbers of other kinds) are built record by record in the tests.
#   /usr/bin/python3 make_numbers.py
import xlwt

wb = xlwt.Workbook()
s = wb.add_sheet("Numbers")
two = xlwt.easyxf(num_format_str="0.00")
three = xlwt.easyxf(num_format_str="0.000")

# Row 0, whole numbers: A alone (RK), C:D together (MULRK), the rest NUMBER.
s.write(0, 0, 3710301)
s.write(0, 2, 3710301)
s.write(0, 3, -9999999)
s.write(0, 5, 123456789012)
s.write(0, 7, 7391234567890)
s.write(0, 9, -7391234567890)
s.write(0, 11, 999999999999999)
s.write(0, 13, 1e15)             # 16 digits: stays "%0.8g"
s.write(0, 15, 100000000)        # RK, "%g" gave 1e+08

# Row 1, fractions: 0.5 and 1.25 are RK (hundredths), 1e-7 NUMBER.
s.write(1, 0, 0.5)
s.write(1, 2, 1.25)
s.write(1, 3, 0.5)
s.write(1, 5, 1e-7)
s.write(1, 7, 1234567.5)
s.write(1, 9, 12345678.9)
s.write(1, 11, 37103.01)         # RK of hundredths

# Row 2, "0.00"-style formats keep their decimals.
s.write(2, 0, 3710301, two)
s.write(2, 2, 3710301, two)
s.write(2, 3, 42, three)
s.write(2, 5, 7391234567890, three)
s.write(2, 7, 0.5, three)
s.write(2, 9, 1e-7, two)

# Rows 3 to 42: the same kinds in many rows.
for r in range(3, 43):
    s.write(r, 0, 3700000 + r)                  # RK
    s.write(r, 1, 1000000 * r + 1)              # MULRK with column A
    s.write(r, 3, 123456789000 + r)             # NUMBER, 12 digits
    s.write(r, 4, 7391234567000 + r)            # NUMBER, 13 digits
    s.write(r, 6, r / 8.0)                      # RK or NUMBER
    s.write(r, 7, r * 1e-7)                     # NUMBER

wb.save("xlwt_numbers.xls")
