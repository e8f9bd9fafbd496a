#pragma once
// The module-marking job of a template: the strip layout (its row of
// modules), the material the strips are printed on, and the presets for new
// modules. Only the first row is drawn, stored and copied; lookups by marker
// or module number are computed, so they never grow the job.
#include "document/modulemarking/modulemarkingrow.h"
#include "platform/record.h"

#include <cstdint>
#include <memory>
#include <vector>

class CModuleMarkingJob {
public:
    static constexpr int32_t kDefaultMaterialLength = 210000;
    // Bytes of the job stream before its rows.
    static constexpr size_t kHeaderBytes = 21;

    CModuleMarkingJob(); // one default row

    // Rows; never empty. The current row is the first row.
    int GetRowCount() const { return int(m_rows.size()); }
    CModuleMarkingRow& GetRow(int i);
    const CModuleMarkingRow& GetRow(int i) const;
    CModuleMarkingRow& GetCurrentRow() { return GetRow(m_currentRow); }
    const CModuleMarkingRow& GetCurrentRow() const { return GetRow(m_currentRow); }
    CModuleMarkingRow& GetFirstRow() { return m_rows.front(); }
    const CModuleMarkingRow& GetFirstRow() const { return m_rows.front(); }
    int GetCurrentRowIndex() const { return m_currentRow; }

    // Job values.
    bool IsFreeLength() const { return m_freeLength; }
    int32_t GetMaterialLength() const { return m_materialLength; }
    void SetMaterialLength(int32_t um) { m_materialLength = um; }
    bool HasMarkerBorders() const { return m_markerBorders; }
    void SetMarkerBorders(bool on) { m_markerBorders = on; }
    bool IsUsePreset() const { return m_usePreset; }
    void SetUsePreset(bool on) { m_usePreset = on; }
    int32_t GetPresetModuleWidth() const { return m_presetModuleWidth; }
    void SetPresetModuleWidth(int32_t um) { m_presetModuleWidth = um; }
    int32_t GetPresetMultiplier() const { return m_presetMultiplier; }
    void SetPresetMultiplier(int32_t m) { m_presetMultiplier = m; }

    // Operations on the current row.
    int32_t GetModuleLength(int n) const;
    bool CanJoinNext() const;
    int32_t GetCurrentModuleWidth() const;
    // Widths outside 1000..1000000 um are ignored (true). In preset mode the
    // width becomes the row's pending preset (false); otherwise the current
    // module takes it (true).
    bool SetCurrentModuleWidth(int32_t w);
    int32_t GetRightMargin() const;
    void ToggleFixedLength();
    bool FitsMaterial() const;
    bool HasRoomForModules(int32_t multiplier) const;

    // Index of the row holding module number n (from 0) counted across the
    // rows, as if rows of one default module followed the stored ones.
    int GetRowOfMarker(int n) const;
    // Number of the first marker of the strip that holds marker n (from 1).
    int LocateMarker(int n) const;

    // The job stream. Read replaces the job's stored values only when the
    // whole stream is sound; otherwise it answers false, the reader's status
    // tells why, and the job is unchanged. Rows beyond those the job holds
    // are read and dropped.
    bool Read(RecordReader& in);
    void Write(RecordWriter& out) const;

    std::unique_ptr<CModuleMarkingJob> Clone() const;
    void CopyFrom(const CModuleMarkingJob& source);

private:
    std::vector<CModuleMarkingRow> m_rows;
    int m_currentRow = 0;
    bool m_freeLength = true;
    int32_t m_materialLength = kDefaultMaterialLength;
    bool m_markerBorders = true;
    bool m_usePreset = true;
    int32_t m_presetModuleWidth = modulemarking::kDefaultModuleWidth;
    int32_t m_presetMultiplier = 1;
};
