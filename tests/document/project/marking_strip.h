#pragma once
// The module-marking strip the drawing and print-run tests use.
#include "document/template/template.h"

namespace projtest {

// Switches the template to module marking with three marks 10 mm wide from
// x = 0 and no gaps; false when the switch fails.
inline bool threeMarksOf10mm(CTemplate& t)
{
    if (!t.ToggleModuleMarking())
        return false;
    CModuleMarkingRow& row = t.GetJob().GetCurrentRow();
    row.SetModuleCount(3);
    for (int i = 0; i < 3; ++i) {
        row.Module(i).m_width = 10000;
        row.Module(i).m_multiplier = 1;
    }
    row.SetAllGaps(0);
    return true;
}

} // namespace projtest
