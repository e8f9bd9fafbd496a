#pragma once
// A sheet label definition for view tests and benchmarks.
#include "document/label/labelfile.h"

#include <memory>

namespace testsupport {

// A4 sheet of `rows` x `columns` labels of 60 x 30 mm at pitches 70 x 35 mm,
// margins 20 mm.
inline std::unique_ptr<CLabelFileNew> SheetLabel(int rows, int columns)
{
    auto label = std::make_unique<CLabelFileNew>();
    label->SetWidth(0, 60000, false);
    label->SetHeight(0, 30000);
    label->SetRows(rows);
    label->SetColumns(columns);
    label->SetColumnPitch(70000);
    label->SetRowPitch(35000);
    label->SetLeft(0, 20000);
    label->SetTop(0, 20000);
    label->SetBlockCount(1);
    return label;
}

} // namespace testsupport
