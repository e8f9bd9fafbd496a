#pragma once
// The layout of one module-marking strip: a row of up to 100 modules on a
// mounting rail, each with its width, multiplier (the module stands for that
// many equal modules joined into one marker), skip flag, the gap after it
// and the history of the joins that made it.
//
// All lengths are micrometres. Products and sums are taken in 64 bits and
// results clamped to 32 bits, so no stored value can overflow them.
#include "platform/dc.h"
#include "platform/record.h"
#include "platform/windef.h"

#include <array>
#include <cstdint>
#include <vector>

namespace modulemarking {

constexpr int kModuleSlots = 100;         // modules a row can hold
constexpr int kMaxJoinHistory = 100;      // joins a module remembers
constexpr int32_t kDefaultModuleWidth = 17500;
constexpr int32_t kMinModuleWidth = 1000;
constexpr int32_t kMaxModuleWidth = 1000000;
constexpr COLORREF kGuideColor = RGB(128, 128, 128);
constexpr COLORREF kInactiveCellColor = RGB(160, 160, 160);
constexpr COLORREF kSelectionCellColor = RGB(255, 255, 0);

// The system highlight colour for the current module of a focused view:
// the highlight colour the installed user interface reports.
COLORREF SystemHighlightColor();

// a <= b with negative values ordered above every non-negative one, as an
// unsigned 32-bit comparison of the same values would order them.
bool UnsignedLessEqual(int64_t a, int64_t b);

} // namespace modulemarking

// One module slot of a row.
class CModuleMarkingItem {
public:
    int32_t m_width = 0;      // um; 0 in an unused slot
    int32_t m_multiplier = 0; // 0 in an unused slot
    int32_t m_gap = 0;        // um after the module; stays with the slot
    bool m_skip = false;

    // width x multiplier, clamped to 32 bits.
    int32_t Length() const;

    // Multipliers of the modules joined into this one, in joining order.
    int JoinCount() const { return int(m_joins.size()); }
    int32_t JoinEntry(int i) const; // -1 outside the history
    bool PushJoin(int32_t multiplier); // false when the history is full
    int32_t PopJoin();                 // -1 when empty
    void ClearJoins() { m_joins.clear(); }

    // The module itself (width, multiplier, skip flag, join history) without
    // the slot's gap.
    void TakeModule(const CModuleMarkingItem& from);
    // An empty slot: zero width and multiplier, not skipped, no history;
    // the gap stays.
    void ClearModule();

    friend bool operator==(const CModuleMarkingItem&, const CModuleMarkingItem&) = default;

private:
    std::vector<int32_t> m_joins; // at most kMaxJoinHistory entries
};

class CModuleMarkingRow {
public:
    CModuleMarkingRow(); // one module of 17500 um, multiplier 1

    // Stored values.
    int32_t GetPresetMultiplier() const { return m_presetMultiplier; }
    void SetPresetMultiplier(int32_t m) { m_presetMultiplier = m; }
    int GetCurrentIndex() const { return m_current; }
    bool SetCurrentIndex(int n); // false (unchanged) outside 0..count-1
    int GetModuleCount() const { return m_count; }
    // 1..100 modules (false otherwise); the slots beyond become unused and
    // the current index stays inside the row.
    bool SetModuleCount(int count);
    int32_t GetDefaultModuleWidth() const { return m_defaultWidth; }
    void SetDefaultModuleWidth(int32_t w) { m_defaultWidth = w; }
    int32_t GetModulesToAdd() const { return m_modulesToAdd; }
    bool SetModulesToAdd(int32_t k); // values below 1 are refused
    int32_t GetLeftMargin() const { return m_leftMargin; }
    void SetLeftMargin(int32_t m) { m_leftMargin = m; }
    int32_t GetRightMargin() const { return m_rightMargin; }
    void SetRightMargin(int32_t m) { m_rightMargin = m; }

    // Preset mode: a pending width and multiplier for the next new or
    // updated module, consumed by Add, Insert and ApplyPresets.
    bool HasPresetWidth() const { return m_presetWidthSet; }
    bool HasPresetMultiplier() const { return m_presetMultiplierSet; }
    int32_t GetPresetWidth() const { return m_presetWidth; }
    void SetPresetWidth(int32_t w); // also sets the flag
    void SetPresetMultiplierFlag(bool on) { m_presetMultiplierSet = on; }
    void ClearPresetFlags();

    // Module slots 0..99 (an index outside is clamped).
    CModuleMarkingItem& Module(int n);
    const CModuleMarkingItem& Module(int n) const;
    // The gap of the first slot, the one the length rules use.
    int32_t GetGap() const { return m_items[0].m_gap; }
    void SetAllGaps(int32_t gap); // every slot, used or not

    // Lengths.
    int32_t GetModuleLength(int n) const; // width x multiplier; -1 outside the row
    int32_t GetTotalLength() const;
    int32_t GetMarkerCount() const;
    int32_t GetModulePosition(int n) const; // -1 outside the row
    // The modules' share of the length without margins and the right one,
    // and the sum of the module lengths except module `except` (64 bits).
    int64_t TotalLength64() const;
    int64_t ModulesLengthExcept(int except) const;

    // Editing.
    bool AddModules(bool usePreset);
    bool InsertModules(bool usePreset);
    bool DeleteCurrent();
    bool JoinWithNext();
    bool SplitCurrent();
    bool ApplyPresets();
    bool CanJoinNext() const;

    // Device work; resolutions come from the device context.
    bool HitTest(const CDC& dc, int zoom, int32_t stripWidth, POINT pt);
    void DrawGuides(CDC& dc, int zoom, int32_t stripWidth) const;
    void DrawCurrentModule(CDC& dc, int zoom, int32_t stripWidth, bool active, bool fill,
                           COLORREF highlight = modulemarking::SystemHighlightColor()) const;
    // Module n's cell in the print preview, for the strip whose top-left
    // corner is at `corner` (device pixels) and `scale` pixels per inch.
    void DrawSelection(CDC& dc, int scale, POINT corner, int n, int32_t stripWidth) const;

    // A copy without pending presets, as the job's snapshots take it.
    CModuleMarkingRow CopyWithoutPresets() const;

    // The row stream inside the job stream. Read fills a fresh row (no
    // presets, no join histories): false, with the reader's status set, when
    // the data ends or holds a module count outside 1..100; the current index
    // is brought inside the row.
    static bool Read(RecordReader& in, CModuleMarkingRow& row);
    void Write(RecordWriter& out) const;

    friend bool operator==(const CModuleMarkingRow&, const CModuleMarkingRow&) = default;

private:
    // Start of each module for the cells: earlier modules with their own gaps.
    int64_t CellStart(int n) const;
    RECT CellRect(int n, int32_t sx, int32_t sy, int32_t stripWidth) const;
    void MoveModule(int from, int to);
    void PlaceNewModule(int slot, int32_t width, int32_t multiplier);

    int32_t m_presetMultiplier = 1;
    int m_current = 0;
    int m_count = 1;
    int32_t m_defaultWidth = modulemarking::kDefaultModuleWidth;
    int32_t m_modulesToAdd = 1;
    int32_t m_leftMargin = 0;
    int32_t m_rightMargin = 0;
    std::array<CModuleMarkingItem, modulemarking::kModuleSlots> m_items;
    bool m_presetWidthSet = false;
    bool m_presetMultiplierSet = false;
    int32_t m_presetWidth = 0;
};
