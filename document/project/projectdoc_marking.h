#pragma once
// The shared steps of the module-marking operations of the project document
// (projectdoc_marking*.cpp); not for use outside them.
#include "content/objects/collection.h"
#include "document/modulemarking/modulemarkingjob.h"

#include <cstdint>

namespace marking {

// The right end of a band that reaches past everything on the label.
constexpr int64_t kFarEdge = INT32_MAX;
// Largest margin or gap an edit accepts (1 m).
constexpr int64_t kMaxMargin = 1000000;

// Length (width x multiplier) and start of module n of a row, and the end
// of its last module, in 64 bits; -1 for an n outside the row.
int64_t Length(const CModuleMarkingRow& row, int n);
int64_t Position(const CModuleMarkingRow& row, int n);
int64_t StripEnd(const CModuleMarkingRow& row);

// Whether the current row of a job keeps its limits: 1..100 modules, the
// current index inside them, positive widths and multipliers, no negative
// margin or gap, and a strip whose every position fits 32 bits.
bool IsSound(const CModuleMarkingJob& job);

// The band operations of a collection on 64-bit positions, clamped to the
// 32-bit range the objects hold; a zero move or stretch does nothing.
class Bands {
public:
    explicit Bands(CGraphCollection& c);
    void Offset(int64_t from, int64_t to, int64_t delta);
    void Delete(int64_t from, int64_t to);
    void Scale(int64_t from, int64_t to, int64_t delta);
    // Module n of `row` grows by delta at its end; what follows moves along.
    void Resize(const CModuleMarkingRow& row, int n, int64_t delta);

private:
    CGraphCollection& m_c;
};

} // namespace marking
