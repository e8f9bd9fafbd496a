// The module-marking job stream, checked against a writer of its own.
#include "document/modulemarking/modulemarkingjob.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct StreamModule {
    int32_t width = 17500;
    int32_t multiplier = 1;
    uint8_t skip = 0;
    int32_t gap = 0;
};

struct StreamRow {
    int32_t presetMultiplier = 1;
    int32_t current = 0;
    std::optional<int32_t> count; // default: the number of modules
    int32_t modulesToAdd = 1;
    int32_t leftMargin = 0;
    int32_t rightMargin = 0;
    int32_t defaultWidth = 17500;
    std::vector<StreamModule> modules;
};

struct StreamJob {
    uint32_t flags = 1;
    uint8_t freeLength = 1;
    int32_t materialLength = 210000;
    int32_t presetWidth = 17500;
    int32_t presetMultiplier = 1;
    std::optional<uint32_t> rowCount; // default: the number of rows
    std::vector<StreamRow> rows;
};

class Bytes {
public:
    void u8(uint8_t v) { m_s.push_back(char(v)); }
    void u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_s.push_back(char((v >> (8 * i)) & 0xFFu));
    }
    void i32(int32_t v) { u32(uint32_t(v)); }
    const std::string& str() const { return m_s; }

private:
    std::string m_s;
};

std::string encode(const StreamJob& job)
{
    Bytes b;
    b.u32(job.flags);
    b.u8(job.freeLength);
    b.i32(job.materialLength);
    b.i32(job.presetWidth);
    b.i32(job.presetMultiplier);
    b.u32(job.rowCount.value_or(uint32_t(job.rows.size())));
    for (const StreamRow& r : job.rows) {
        b.u32(0);
        b.i32(r.presetMultiplier);
        b.i32(r.current);
        b.i32(r.count.value_or(int32_t(r.modules.size())));
        b.i32(r.modulesToAdd);
        b.i32(r.leftMargin);
        b.i32(r.rightMargin);
        b.i32(r.defaultWidth);
        for (const StreamModule& m : r.modules) {
            b.u32(0);
            b.i32(m.width);
            b.i32(m.multiplier);
            b.u8(m.skip);
            b.i32(m.gap);
        }
    }
    return b.str();
}

StreamRow sampleRow()
{
    StreamRow r;
    r.presetMultiplier = 2;
    r.current = 1;
    r.modulesToAdd = 3;
    r.leftMargin = 1500;
    r.rightMargin = 2500;
    r.defaultWidth = 9000;
    r.modules = {{9000, 1, 0, 800}, {18000, 2, 1, 800}, {12500, 1, 0, 800}};
    return r;
}

std::string writeJob(const CModuleMarkingJob& job)
{
    RecordWriter w;
    job.Write(w);
    return w.take();
}

} // namespace

TEST(ModuleMarkingStream, WriterMatchesTheLayoutByteForByte)
{
    CModuleMarkingJob fresh;
    StreamJob expected;
    expected.rows = {StreamRow{}};
    expected.rows[0].modules = {StreamModule{}};
    EXPECT_EQ(writeJob(fresh), encode(expected));
    EXPECT_EQ(writeJob(fresh).size(), 21u + 32u + 17u);

    CModuleMarkingJob job;
    job.ToggleFixedLength();
    job.SetMaterialLength(123456);
    job.SetMarkerBorders(false);
    job.SetPresetModuleWidth(9000);
    job.SetPresetMultiplier(3);
    CModuleMarkingRow& row = job.GetCurrentRow();
    row.SetModuleCount(3);
    row.SetAllGaps(800);
    row.Module(0).m_width = 9000;
    row.Module(0).m_multiplier = 1;
    row.Module(1).m_width = 18000;
    row.Module(1).m_multiplier = 2;
    row.Module(1).m_skip = true;
    row.Module(1).PushJoin(1); // not stored
    row.Module(2).m_width = 12500;
    row.Module(2).m_multiplier = 1;
    row.SetCurrentIndex(1);
    row.SetPresetMultiplier(2);
    row.SetModulesToAdd(3);
    row.SetLeftMargin(1500);
    row.SetRightMargin(2500);
    row.SetDefaultModuleWidth(9000);
    row.SetPresetWidth(4444); // not stored

    StreamJob s;
    s.flags = 0;
    s.freeLength = 0;
    s.materialLength = 123456;
    s.presetWidth = 9000;
    s.presetMultiplier = 3;
    s.rows = {sampleRow()};
    const std::string bytes = encode(s);
    EXPECT_EQ(writeJob(job), bytes);
    EXPECT_EQ(bytes.size(), 21u + 32u + 17u * 3u);

    // Reading the same bytes gives the stored values; a second write is
    // identical.
    CModuleMarkingJob back;
    back.SetUsePreset(false);
    RecordReader in(bytes);
    ASSERT_TRUE(back.Read(in));
    EXPECT_TRUE(in.ok());
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(writeJob(back), bytes);
    EXPECT_FALSE(back.IsUsePreset()); // not stored: kept
    EXPECT_FALSE(back.IsFreeLength());
    EXPECT_FALSE(back.HasMarkerBorders());
    const CModuleMarkingRow& r = back.GetCurrentRow();
    EXPECT_EQ(r.GetCurrentIndex(), 1);
    EXPECT_EQ(r.GetTotalLength(), job.GetCurrentRow().GetTotalLength());
    EXPECT_TRUE(r.Module(1).m_skip);
    EXPECT_EQ(r.Module(1).JoinCount(), 0);
    EXPECT_FALSE(r.HasPresetWidth());
    EXPECT_EQ(r.Module(3).m_width, 0);
    EXPECT_EQ(r.Module(3).m_gap, 800); // a module added later gets the row's gap
}

TEST(ModuleMarkingStream, ReaderRoundTripsUnusualValues)
{
    // Values the editor never produces still survive a load and save.
    StreamJob s;
    s.flags = 0xFFFFFFFEu; // only bit 0 means anything
    s.freeLength = 7;
    s.materialLength = -5;
    s.rows = {sampleRow()};
    s.rows[0].modulesToAdd = -4;
    s.rows[0].modules[0] = {0, 0, 1, -3};
    s.rows[0].modules[2] = {INT32_MAX, INT32_MAX, 0, 800};
    CModuleMarkingJob job;
    const std::string inBytes = encode(s);
    RecordReader in(inBytes);
    ASSERT_TRUE(job.Read(in));
    EXPECT_FALSE(job.HasMarkerBorders());
    EXPECT_TRUE(job.IsFreeLength());
    EXPECT_EQ(job.GetCurrentRow().GetModulesToAdd(), -4);
    EXPECT_FALSE(job.GetCurrentRow().AddModules(true));
    EXPECT_FALSE(job.GetCurrentRow().InsertModules(true));
    EXPECT_EQ(job.GetModuleLength(2), INT32_MAX);

    s.flags = 0;
    s.freeLength = 1;
    EXPECT_EQ(writeJob(job), encode(s));
}

TEST(ModuleMarkingStream, CurrentIndexIsBroughtInsideTheRow)
{
    for (auto [stored, expected] : {std::pair{50, 2}, std::pair{3, 2}, std::pair{-5, 0}, std::pair{INT32_MIN, 0}}) {
        StreamJob s;
        s.rows = {sampleRow()};
        s.rows[0].current = stored;
        CModuleMarkingJob job;
        const std::string inBytes = encode(s);
        RecordReader in(inBytes);
        ASSERT_TRUE(job.Read(in)) << stored;
        EXPECT_EQ(job.GetCurrentRow().GetCurrentIndex(), expected) << stored;
    }
}

TEST(ModuleMarkingStream, BadModuleCountsAreRefused)
{
    for (int32_t count : {0, -1, 101, INT32_MAX, INT32_MIN}) {
        StreamJob s;
        s.rows = {sampleRow()};
        s.rows[0].count = count;
        CModuleMarkingJob job;
        job.GetCurrentRow().SetLeftMargin(77);
        const std::string inBytes = encode(s);
        RecordReader in(inBytes);
        EXPECT_FALSE(job.Read(in)) << count;
        EXPECT_EQ(in.status(), ReadStatus::Damaged) << count;
        EXPECT_EQ(job.GetCurrentRow().GetLeftMargin(), 77) << count; // unchanged
        EXPECT_EQ(job.GetCurrentRow().GetModuleCount(), 1) << count;
    }
    // 100 modules is a full row, not an error.
    StreamJob full;
    full.rows = {StreamRow{}};
    full.rows[0].modules.assign(100, StreamModule{1000, 1, 0, 0});
    CModuleMarkingJob job;
    const std::string inBytes = encode(full);
    RecordReader in(inBytes);
    ASSERT_TRUE(job.Read(in));
    EXPECT_EQ(job.GetCurrentRow().GetModuleCount(), 100);
    EXPECT_EQ(job.GetCurrentRow().GetTotalLength(), 100000);
    EXPECT_EQ(writeJob(job).size(), 21u + 32u + 17u * 100u);
}

TEST(ModuleMarkingStream, ExtraRowsAreReadAndDropped)
{
    StreamJob s;
    s.rows = {sampleRow(), StreamRow{}, StreamRow{}};
    s.rows[1].modules = {StreamModule{}};
    s.rows[2].modules = {StreamModule{}, StreamModule{}};
    std::string bytes = encode(s);
    bytes += "tail";
    CModuleMarkingJob job;
    RecordReader in(bytes);
    ASSERT_TRUE(job.Read(in));
    EXPECT_EQ(in.remaining(), 4u); // the caller's next field starts right here
    EXPECT_EQ(job.GetRowCount(), 1);
    EXPECT_EQ(job.GetCurrentRow().GetModuleCount(), 3);

    // A bad extra row still fails the stream.
    s.rows[2].count = 0;
    CModuleMarkingJob other;
    const std::string badBytes = encode(s);
    RecordReader bad(badBytes);
    EXPECT_FALSE(other.Read(bad));
    EXPECT_EQ(other.GetCurrentRow().GetModuleCount(), 1);

    // No rows: only the job's own values change.
    StreamJob none;
    none.materialLength = 5000;
    CModuleMarkingJob kept;
    kept.GetCurrentRow().SetLeftMargin(33);
    const std::string emptyBytes = encode(none);
    RecordReader empty(emptyBytes);
    ASSERT_TRUE(kept.Read(empty));
    EXPECT_EQ(kept.GetMaterialLength(), 5000);
    EXPECT_EQ(kept.GetCurrentRow().GetLeftMargin(), 33);
}

TEST(ModuleMarkingStream, TruncationAtEveryOffsetLeavesTheJobAlone)
{
    StreamJob s;
    s.rows = {sampleRow()};
    const std::string bytes = encode(s);
    CModuleMarkingJob original;
    original.GetCurrentRow().SetLeftMargin(42);
    const std::string before = writeJob(original);
    for (size_t n = 0; n < bytes.size(); ++n) {
        CModuleMarkingJob job;
        job.GetCurrentRow().SetLeftMargin(42);
        RecordReader in(bytes.data(), n);
        EXPECT_FALSE(job.Read(in)) << n;
        EXPECT_EQ(in.status(), ReadStatus::Truncated) << n;
        EXPECT_EQ(writeJob(job), before) << n;
    }
}

TEST(ModuleMarkingStream, HugeRowCountIsRefusedBeforeReading)
{
    StreamJob s;
    s.rowCount = 0xFFFFFFFFu;
    s.rows = {sampleRow()};
    CModuleMarkingJob job;
    const std::string inBytes = encode(s);
    RecordReader in(inBytes);
    EXPECT_FALSE(job.Read(in));
    EXPECT_EQ(in.status(), ReadStatus::Truncated);
}
