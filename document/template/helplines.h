#pragma once
// Guide lines of the design view: optional horizontal and vertical lines
// that divide a part of the label definition into equal bands.
#include "platform/dc.h"
#include "platform/record.h"

#include <cstdint>

class CLabel;

// Type key written ahead of the guide lines inside a template record.
constexpr int16_t kKeyHelpLines = 141;

class CHelpLines {
public:
    // Largest line count that the record (count + 1, 16 bits) can hold.
    static constexpr int kMaxCount = 32766;

    bool IsHorizontalOn() const { return m_horizontalOn; }
    bool IsVerticalOn() const { return m_verticalOn; }
    void SetHorizontalOn(bool on) { m_horizontalOn = on; }
    void SetVerticalOn(bool on) { m_verticalOn = on; }
    // A count of n divides the part into n + 1 bands; counts below 1 draw
    // nothing.
    int GetHorizontalCount() const { return m_horizontalCount; }
    int GetVerticalCount() const { return m_verticalCount; }
    // Clamped to -1..kMaxCount.
    void SetHorizontalCount(int n);
    void SetVerticalCount(int n);

    // The block after the type key: both switches and both counts + 1.
    // False when the data ended (the reader tells).
    bool Load(RecordReader& reader);
    void Save(RecordWriter& writer) const;

    // Draws the lines over `part` of the label definition at `zoom`
    // percent, inverting what lies below through the XOR mix mode, so
    // drawing again removes them. Nothing without a label definition.
    void Draw(CDC& dc, int part, int zoom, const CLabel* label) const;

    friend bool operator==(const CHelpLines&, const CHelpLines&) = default;

private:
    bool m_horizontalOn = false;
    bool m_verticalOn = false;
    // Kept wider than the stored 16 bits so that any stored value reads
    // back and writes again unchanged.
    int32_t m_horizontalCount = 1;
    int32_t m_verticalCount = 1;
};
