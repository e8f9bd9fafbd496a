// Module-marking rows and jobs: lengths, editing and lookups.
#include "document/modulemarking/modulemarkingjob.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using modulemarking::kModuleSlots;

// A row of modules with the given widths (multiplier 1), module 0 current.
void setWidths(CModuleMarkingRow& row, const std::vector<int32_t>& widths)
{
    ASSERT_TRUE(row.SetModuleCount(int(widths.size())));
    for (size_t i = 0; i < widths.size(); ++i) {
        row.Module(int(i)).m_width = widths[i];
        row.Module(int(i)).m_multiplier = 1;
    }
    row.SetCurrentIndex(0);
}

std::vector<int32_t> widthsOf(const CModuleMarkingRow& row)
{
    std::vector<int32_t> w;
    for (int i = 0; i < row.GetModuleCount(); ++i)
        w.push_back(row.Module(i).m_width);
    return w;
}

bool slotIsUnused(const CModuleMarkingItem& item)
{
    return item.m_width == 0 && item.m_multiplier == 0 && !item.m_skip && item.JoinCount() == 0;
}

} // namespace

TEST(ModuleMarkingModel, NewJobDefaults)
{
    CModuleMarkingJob job;
    ASSERT_EQ(job.GetRowCount(), 1);
    const CModuleMarkingRow& row = job.GetCurrentRow();
    EXPECT_EQ(row.GetModuleCount(), 1);
    EXPECT_EQ(row.Module(0).m_width, 17500);
    EXPECT_EQ(row.Module(0).m_multiplier, 1);
    EXPECT_EQ(row.Module(0).JoinCount(), 0);
    for (int i = 1; i < kModuleSlots; ++i)
        EXPECT_TRUE(slotIsUnused(row.Module(i))) << i;
    EXPECT_TRUE(job.IsFreeLength());
    EXPECT_TRUE(job.HasMarkerBorders());
    EXPECT_TRUE(job.IsUsePreset());
    EXPECT_EQ(job.GetMaterialLength(), 210000);
    EXPECT_EQ(row.GetTotalLength(), 17500);
    EXPECT_EQ(job.GetRightMargin(), 0);
    EXPECT_EQ(job.GetCurrentModuleWidth(), 17500);
    EXPECT_EQ(row.GetMarkerCount(), 1);
}

TEST(ModuleMarkingModel, LengthsPositionsAndMargins)
{
    CModuleMarkingJob job;
    CModuleMarkingRow& row = job.GetCurrentRow();
    setWidths(row, {10000, 10000, 10000});
    row.SetAllGaps(1000);
    row.SetLeftMargin(2000);
    row.SetRightMargin(2000);
    EXPECT_EQ(row.GetTotalLength(), 36000);
    EXPECT_EQ(row.GetModulePosition(0), 2000);
    EXPECT_EQ(row.GetModulePosition(1), 13000);
    EXPECT_EQ(row.GetModulePosition(2), 24000);
    for (int bad : {-1, 3, 100, 1000}) {
        EXPECT_EQ(row.GetModulePosition(bad), -1) << bad;
        EXPECT_EQ(job.GetModuleLength(bad), -1) << bad;
    }
    row.Module(1).m_multiplier = 3;
    EXPECT_EQ(job.GetModuleLength(1), 30000);
    EXPECT_EQ(row.GetMarkerCount(), 5);

    // Fixed length: the right margin is what the material leaves.
    CModuleMarkingJob fixed;
    fixed.ToggleFixedLength();
    EXPECT_FALSE(fixed.IsFreeLength());
    EXPECT_EQ(fixed.GetMaterialLength(), 210000);
    EXPECT_EQ(fixed.GetRightMargin(), 192500);
    fixed.GetCurrentRow().SetLeftMargin(2500);
    fixed.GetCurrentRow().SetRightMargin(4000); // the stored margin is not taken twice
    EXPECT_EQ(fixed.GetRightMargin(), 190000);

    // Overflowing products and sums are clamped, not wrapped.
    row.Module(0).m_width = 2000000000;
    row.Module(0).m_multiplier = 2000;
    EXPECT_EQ(job.GetModuleLength(0), INT32_MAX);
    EXPECT_EQ(row.GetTotalLength(), INT32_MAX);
}

TEST(ModuleMarkingModel, TotalLengthOfAFullRow)
{
    CModuleMarkingRow row;
    setWidths(row, std::vector<int32_t>(100, 1000));
    row.SetAllGaps(10);
    EXPECT_EQ(row.GetTotalLength(), 100 * 1000 + 99 * 10);
    EXPECT_EQ(row.GetModulePosition(99), 99 * 1010);
}

TEST(ModuleMarkingModel, ToggleFixedLengthGrowsMaterialOnlyWhenNeeded)
{
    CModuleMarkingJob job;
    setWidths(job.GetCurrentRow(), {125000, 125000});
    job.ToggleFixedLength();
    EXPECT_EQ(job.GetMaterialLength(), 250000);
    job.ToggleFixedLength();
    EXPECT_TRUE(job.IsFreeLength());
    EXPECT_EQ(job.GetMaterialLength(), 250000);

    CModuleMarkingJob roomy;
    roomy.ToggleFixedLength();
    EXPECT_EQ(roomy.GetMaterialLength(), 210000);
}

TEST(ModuleMarkingModel, AddAndInsertPlaceModulesAroundTheCurrentOne)
{
    // P, Q, R; P current; 2 to add.
    CModuleMarkingRow add;
    setWidths(add, {10000, 11000, 12000});
    add.Module(0).m_multiplier = 2;
    add.Module(0).m_skip = true;
    add.Module(0).PushJoin(1);
    add.Module(1).m_skip = true;
    add.Module(1).PushJoin(7);
    add.SetAllGaps(500);
    ASSERT_TRUE(add.SetModulesToAdd(2));
    CModuleMarkingRow insert = add;

    ASSERT_TRUE(add.AddModules(false));
    EXPECT_EQ(widthsOf(add), (std::vector<int32_t>{10000, 10000, 10000, 11000, 12000}));
    EXPECT_EQ(add.GetCurrentIndex(), 2);
    EXPECT_EQ(add.Module(1).m_multiplier, 2);
    EXPECT_EQ(add.Module(2).m_multiplier, 2);
    // New modules start unskipped with no history; Q keeps its own.
    for (int i : {1, 2}) {
        EXPECT_FALSE(add.Module(i).m_skip) << i;
        EXPECT_EQ(add.Module(i).JoinCount(), 0) << i;
        EXPECT_EQ(add.Module(i).m_gap, 500) << i;
    }
    EXPECT_TRUE(add.Module(3).m_skip);
    ASSERT_EQ(add.Module(3).JoinCount(), 1);
    EXPECT_EQ(add.Module(3).JoinEntry(0), 7);

    ASSERT_TRUE(insert.InsertModules(false));
    EXPECT_EQ(widthsOf(insert), (std::vector<int32_t>{10000, 10000, 10000, 11000, 12000}));
    EXPECT_EQ(insert.GetCurrentIndex(), 0);
    EXPECT_FALSE(insert.Module(0).m_skip);
    EXPECT_EQ(insert.Module(0).JoinCount(), 0);
    EXPECT_EQ(insert.Module(0).m_multiplier, 2);
    EXPECT_TRUE(insert.Module(2).m_skip); // P itself moved with its flag and history
    EXPECT_EQ(insert.Module(2).JoinCount(), 1);
    EXPECT_EQ(insert.Module(3).JoinEntry(0), 7);
    for (int i = 5; i < kModuleSlots; ++i)
        EXPECT_TRUE(slotIsUnused(insert.Module(i))) << i;
}

TEST(ModuleMarkingModel, AddAndInsertRefuseBeyondTheSlots)
{
    CModuleMarkingRow row;
    setWidths(row, std::vector<int32_t>(99, 1000));
    row.SetCurrentIndex(98);
    const CModuleMarkingRow before = row;
    ASSERT_TRUE(row.AddModules(false)); // 98 + 1 < 100: the 100th module
    EXPECT_EQ(row.GetModuleCount(), 100);
    EXPECT_EQ(row.GetCurrentIndex(), 99);

    // Full row: refused wherever the current module is.
    for (int current : {0, 50, 99}) {
        CModuleMarkingRow full = row;
        full.SetCurrentIndex(current);
        const CModuleMarkingRow copy = full;
        EXPECT_FALSE(full.AddModules(false)) << current;
        EXPECT_FALSE(full.InsertModules(false)) << current;
        EXPECT_EQ(full, copy);
    }
    // Current index plus modules to add reaching 100.
    row = before;
    row.SetCurrentIndex(0);
    ASSERT_TRUE(row.SetModulesToAdd(2)); // 99 + 2 would pass the slots
    EXPECT_FALSE(row.InsertModules(false));
    EXPECT_FALSE(row.SetModulesToAdd(0));
    EXPECT_EQ(row.GetModulesToAdd(), 2);
}

TEST(ModuleMarkingModel, PresetsFeedAddInsertAndUpdate)
{
    CModuleMarkingRow row;
    setWidths(row, {10000});
    row.SetPresetWidth(5000);
    row.SetPresetMultiplier(3);
    row.SetPresetMultiplierFlag(true);
    // Add takes the preset width whatever the flag argument, the preset
    // multiplier only in preset mode.
    ASSERT_TRUE(row.AddModules(false));
    EXPECT_EQ(row.Module(1).m_width, 5000);
    EXPECT_EQ(row.Module(1).m_multiplier, 1);
    EXPECT_FALSE(row.HasPresetWidth());
    EXPECT_FALSE(row.HasPresetMultiplier());

    row.SetPresetWidth(6000);
    ASSERT_TRUE(row.InsertModules(false)); // preset width ignored outside preset mode
    EXPECT_EQ(row.Module(1).m_width, 5000);
    row.SetPresetWidth(6000);
    row.SetPresetMultiplierFlag(true);
    ASSERT_TRUE(row.InsertModules(true));
    EXPECT_EQ(row.Module(1).m_width, 6000);
    EXPECT_EQ(row.Module(1).m_multiplier, 3);

    EXPECT_FALSE(row.ApplyPresets());
    row.SetPresetWidth(7000);
    row.SetPresetMultiplier(4);
    row.SetPresetMultiplierFlag(true);
    EXPECT_TRUE(row.ApplyPresets());
    EXPECT_EQ(row.Module(1).m_width, 7000);
    EXPECT_EQ(row.Module(1).m_multiplier, 4);
    EXPECT_FALSE(row.HasPresetWidth());
    EXPECT_FALSE(row.HasPresetMultiplier());
}

TEST(ModuleMarkingModel, CurrentModuleWidthInAndOutOfPresetMode)
{
    CModuleMarkingJob job;
    EXPECT_TRUE(job.SetCurrentModuleWidth(999)); // ignored
    EXPECT_TRUE(job.SetCurrentModuleWidth(1000001));
    EXPECT_FALSE(job.GetCurrentRow().HasPresetWidth());
    EXPECT_EQ(job.GetCurrentModuleWidth(), 17500);

    EXPECT_FALSE(job.SetCurrentModuleWidth(1000)); // preset mode: pending only
    EXPECT_TRUE(job.GetCurrentRow().HasPresetWidth());
    EXPECT_EQ(job.GetCurrentModuleWidth(), 1000);
    EXPECT_EQ(job.GetCurrentRow().Module(0).m_width, 17500);

    job.SetUsePreset(false);
    EXPECT_EQ(job.GetCurrentModuleWidth(), 17500);
    EXPECT_TRUE(job.SetCurrentModuleWidth(1000000));
    EXPECT_EQ(job.GetCurrentRow().Module(0).m_width, 1000000);
}

TEST(ModuleMarkingModel, DeleteKeepsTheCurrentIndexInsideTheRow)
{
    CModuleMarkingRow row;
    setWidths(row, {10000, 11000, 12000});
    row.Module(2).PushJoin(1);
    row.SetCurrentIndex(2);
    ASSERT_TRUE(row.DeleteCurrent());
    EXPECT_EQ(widthsOf(row), (std::vector<int32_t>{10000, 11000}));
    EXPECT_EQ(row.GetCurrentIndex(), 1);
    EXPECT_TRUE(slotIsUnused(row.Module(2)));

    row.SetCurrentIndex(0);
    ASSERT_TRUE(row.DeleteCurrent());
    EXPECT_EQ(widthsOf(row), (std::vector<int32_t>{11000}));
    EXPECT_EQ(row.GetCurrentIndex(), 0);
    EXPECT_FALSE(row.DeleteCurrent());
    EXPECT_EQ(row.GetModuleCount(), 1);
}

TEST(ModuleMarkingModel, JoinAndSplit)
{
    CModuleMarkingRow row;
    setWidths(row, {10000, 10000, 12000});
    row.Module(2).PushJoin(9);
    EXPECT_TRUE(row.CanJoinNext());
    ASSERT_TRUE(row.JoinWithNext());
    EXPECT_EQ(row.GetModuleCount(), 2);
    EXPECT_EQ(row.Module(0).m_multiplier, 2);
    EXPECT_EQ(row.Module(1).m_width, 12000);
    EXPECT_EQ(row.Module(1).JoinEntry(0), 9); // history moved with its module
    EXPECT_TRUE(slotIsUnused(row.Module(2)));
    EXPECT_FALSE(row.CanJoinNext()); // different width
    EXPECT_FALSE(row.JoinWithNext());

    ASSERT_TRUE(row.SplitCurrent());
    EXPECT_EQ(widthsOf(row), (std::vector<int32_t>{10000, 10000, 12000}));
    EXPECT_EQ(row.Module(0).m_multiplier, 1);
    EXPECT_EQ(row.Module(1).m_multiplier, 1);
    EXPECT_EQ(row.Module(0).JoinCount(), 0);
    EXPECT_EQ(row.Module(2).JoinEntry(0), 9);
    EXPECT_FALSE(row.SplitCurrent()); // multiplier 1

    // Skip flags: CanJoinNext compares them, the join itself does not.
    row.Module(1).m_skip = true;
    EXPECT_FALSE(row.CanJoinNext());
    EXPECT_TRUE(row.JoinWithNext());

    // A multiplier that came from elsewhere has nothing to split off.
    CModuleMarkingRow set;
    set.Module(0).m_multiplier = 3;
    EXPECT_FALSE(set.SplitCurrent());
    // Nor may a split take off more than the module holds.
    set.Module(0).PushJoin(3);
    EXPECT_FALSE(set.SplitCurrent());
    EXPECT_EQ(set.GetModuleCount(), 1);
    EXPECT_EQ(set.Module(0).m_multiplier, 3);

    // Joins of the last module and at the end of the row are refused.
    CModuleMarkingRow one;
    EXPECT_FALSE(one.CanJoinNext());
    EXPECT_FALSE(one.JoinWithNext());
}

TEST(ModuleMarkingModel, MaterialAndRoomChecks)
{
    CModuleMarkingJob job;
    EXPECT_TRUE(job.FitsMaterial()); // free length
    job.ToggleFixedLength();
    job.SetUsePreset(false);
    CModuleMarkingRow& row = job.GetCurrentRow();
    EXPECT_TRUE(job.FitsMaterial()); // 17500 + 17500 <= 210000
    job.SetMaterialLength(35000);
    EXPECT_TRUE(job.FitsMaterial());
    job.SetMaterialLength(34999);
    EXPECT_FALSE(job.FitsMaterial());
    row.SetRightMargin(5000); // the stored right margin does not count
    EXPECT_FALSE(job.FitsMaterial());
    row.SetLeftMargin(1); // the left one does
    row.SetRightMargin(0);
    job.SetMaterialLength(35000);
    EXPECT_FALSE(job.FitsMaterial());
    row.SetLeftMargin(0);
    row.SetRightMargin(0);
    row.SetModulesToAdd(2);
    job.SetMaterialLength(52500);
    EXPECT_TRUE(job.FitsMaterial());
    job.SetUsePreset(true);
    row.SetPresetWidth(20000);
    EXPECT_FALSE(job.FitsMaterial()); // 17500 + 2 x 20000

    // Room for a multiplier: gaps and the right margin do not count.
    CModuleMarkingJob room;
    room.ToggleFixedLength();
    room.SetMaterialLength(50000);
    setWidths(room.GetCurrentRow(), {10000, 10000});
    room.GetCurrentRow().SetLeftMargin(1000);
    room.GetCurrentRow().SetAllGaps(5000);
    room.GetCurrentRow().SetCurrentIndex(1);
    EXPECT_TRUE(room.HasRoomForModules(5)); // preset mode
    room.SetUsePreset(false);
    EXPECT_TRUE(room.HasRoomForModules(3));
    EXPECT_FALSE(room.HasRoomForModules(4));
}

TEST(ModuleMarkingModel, MarkerLookupsAreArithmetic)
{
    CModuleMarkingJob job;
    setWidths(job.GetCurrentRow(), std::vector<int32_t>(10, 5000));
    for (int n = 0; n <= 10; ++n)
        EXPECT_EQ(job.LocateMarker(n), 1) << n;
    for (int n = 11; n <= 20; ++n)
        EXPECT_EQ(job.LocateMarker(n), 11) << n;
    EXPECT_EQ(job.LocateMarker(25), 21);
    EXPECT_EQ(job.LocateMarker(-7), 1);
    EXPECT_EQ(job.LocateMarker(10000000), 9999991);
    EXPECT_EQ(job.LocateMarker(INT32_MAX), 2147483641);

    EXPECT_EQ(job.GetRowOfMarker(0), 0);
    EXPECT_EQ(job.GetRowOfMarker(9), 0);
    EXPECT_EQ(job.GetRowOfMarker(10), 1);
    EXPECT_EQ(job.GetRowOfMarker(12), 3);
    EXPECT_EQ(job.GetRowOfMarker(10000000), 9999991);
    EXPECT_EQ(job.GetRowOfMarker(INT32_MAX), INT32_MAX - 9);
    EXPECT_EQ(job.GetRowOfMarker(-1), 0);
    EXPECT_EQ(job.GetRowCount(), 1); // nothing was appended
}

TEST(ModuleMarkingModel, CopiesDropPendingPresets)
{
    CModuleMarkingJob job;
    CModuleMarkingRow& row = job.GetCurrentRow();
    setWidths(row, {10000, 10000, 11000});
    ASSERT_TRUE(row.JoinWithNext());
    row.SetAllGaps(700);
    row.SetLeftMargin(300);
    row.SetModulesToAdd(3);
    row.SetPresetWidth(4000);
    row.SetPresetMultiplier(5);
    row.SetPresetMultiplierFlag(true);
    job.ToggleFixedLength();
    job.SetMaterialLength(99000);
    job.SetMarkerBorders(false);
    job.SetUsePreset(false);
    job.SetPresetModuleWidth(12345);
    job.SetPresetMultiplier(4);

    const auto clone = job.Clone();
    CModuleMarkingJob copied;
    copied.CopyFrom(job);
    for (const CModuleMarkingJob* c : {clone.get(), &copied}) {
        EXPECT_FALSE(c->IsFreeLength());
        EXPECT_EQ(c->GetMaterialLength(), 99000);
        EXPECT_FALSE(c->HasMarkerBorders());
        EXPECT_FALSE(c->IsUsePreset());
        EXPECT_EQ(c->GetPresetModuleWidth(), 12345);
        EXPECT_EQ(c->GetPresetMultiplier(), 4);
        const CModuleMarkingRow& r = c->GetCurrentRow();
        EXPECT_FALSE(r.HasPresetWidth());
        EXPECT_FALSE(r.HasPresetMultiplier());
        EXPECT_EQ(r.GetPresetWidth(), 0);
        EXPECT_EQ(r.GetPresetMultiplier(), 5);
        EXPECT_EQ(r.GetModulesToAdd(), 3);
        EXPECT_EQ(r.GetLeftMargin(), 300);
        for (int i = 0; i < kModuleSlots; ++i)
            EXPECT_EQ(r.Module(i), row.Module(i)) << i;
    }
    copied.CopyFrom(copied);
    EXPECT_EQ(copied.GetCurrentRow().Module(0).JoinCount(), 1);
}
