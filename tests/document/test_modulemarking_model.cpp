// Module-marking rows and jobs: lengths, editing and lookups.
#include "document/modulemarking/modulemarkingjob.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using modulemarking::kModuleSlots;

// A row of modules with the given widths (multiplier 1), module 0 current.
CModuleMarkingRow rowOf(const std::vector<int32_t>& widths)
{
    CModuleMarkingRow row;
    row.SetModuleCount(int(widths.size()));
    for (size_t i = 0; i < widths.size(); ++i) {
        row.Module(int(i)).m_width = widths[i];
        row.Module(int(i)).m_multiplier = 1;
    }
    return row;
}

std::vector<int32_t> widthsOf(const CModuleMarkingRow& row)
{
    std::vector<int32_t> w;
    for (int i = 0; i < row.GetModuleCount(); ++i)
        w.push_back(row.Module(i).m_width);
    return w;
}

bool unusedFrom(const CModuleMarkingRow& row, int first)
{
    for (int i = first; i < kModuleSlots; ++i) {
        const CModuleMarkingItem& m = row.Module(i);
        if (m.m_width || m.m_multiplier || m.m_skip || m.JoinCount())
            return false;
    }
    return true;
}

} // namespace

TEST(ModuleMarkingModel, NewJobAndLengthRules)
{
    CModuleMarkingJob job;
    ASSERT_EQ(job.GetRowCount(), 1);
    EXPECT_EQ(job.GetCurrentRow().GetModuleCount(), 1);
    EXPECT_EQ(job.GetModuleLength(0), 17500);
    EXPECT_TRUE(unusedFrom(job.GetCurrentRow(), 1));
    EXPECT_TRUE(job.IsFreeLength());
    EXPECT_EQ(job.GetMaterialLength(), 210000);
    EXPECT_EQ(job.GetCurrentRow().GetTotalLength(), 17500);
    EXPECT_EQ(job.GetRightMargin(), 0);

    CModuleMarkingRow row = rowOf({10000, 10000, 10000});
    row.SetAllGaps(1000);
    row.SetLeftMargin(2000);
    row.SetRightMargin(2000);
    EXPECT_EQ(row.GetTotalLength(), 36000);
    EXPECT_EQ(row.GetModulePosition(2), 24000);
    for (int bad : {-1, 3, 100})
        EXPECT_EQ(row.GetModulePosition(bad), -1) << bad;
    row.Module(1).m_multiplier = 3;
    EXPECT_EQ(row.GetModuleLength(1), 30000);
    EXPECT_EQ(row.GetMarkerCount(), 5);
    // Overflowing products and sums are clamped, not wrapped.
    row.Module(0).m_width = 2000000000;
    row.Module(0).m_multiplier = 2000;
    EXPECT_EQ(row.GetModuleLength(0), INT32_MAX);
    EXPECT_EQ(row.GetTotalLength(), INT32_MAX);

    // A full row of 100 modules has its real length.
    CModuleMarkingRow full = rowOf(std::vector<int32_t>(100, 1000));
    full.SetAllGaps(10);
    EXPECT_EQ(full.GetTotalLength(), 100 * 1000 + 99 * 10);
}

TEST(ModuleMarkingModel, FixedLength)
{
    CModuleMarkingJob job;
    job.ToggleFixedLength();
    EXPECT_EQ(job.GetMaterialLength(), 210000);
    EXPECT_EQ(job.GetRightMargin(), 192500);
    job.GetCurrentRow().SetLeftMargin(2500);
    job.GetCurrentRow().SetRightMargin(4000); // the stored margin is not taken twice
    EXPECT_EQ(job.GetRightMargin(), 190000);

    CModuleMarkingJob longRow;
    longRow.GetCurrentRow() = rowOf({125000, 125000});
    longRow.ToggleFixedLength();
    EXPECT_EQ(longRow.GetMaterialLength(), 250000);
    longRow.ToggleFixedLength();
    EXPECT_TRUE(longRow.IsFreeLength());
    EXPECT_EQ(longRow.GetMaterialLength(), 250000);
}

TEST(ModuleMarkingModel, AddAndInsertPlaceModulesAroundTheCurrentOne)
{
    // P, Q, R; P current; 2 to add. P and Q carry skip flags and histories.
    CModuleMarkingRow add = rowOf({10000, 11000, 12000});
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
    for (int i : {1, 2}) { // new: P's size, unskipped, no history, the row's gap
        EXPECT_EQ(add.Module(i).m_multiplier, 2) << i;
        EXPECT_FALSE(add.Module(i).m_skip) << i;
        EXPECT_EQ(add.Module(i).JoinCount(), 0) << i;
        EXPECT_EQ(add.Module(i).m_gap, 500) << i;
    }
    EXPECT_TRUE(add.Module(3).m_skip); // Q moved with its flag and history
    EXPECT_EQ(add.Module(3).JoinEntry(0), 7);

    ASSERT_TRUE(insert.InsertModules(false));
    EXPECT_EQ(widthsOf(insert), (std::vector<int32_t>{10000, 10000, 10000, 11000, 12000}));
    EXPECT_EQ(insert.GetCurrentIndex(), 0);
    EXPECT_FALSE(insert.Module(0).m_skip);
    EXPECT_EQ(insert.Module(0).m_multiplier, 2);
    EXPECT_TRUE(insert.Module(2).m_skip);
    EXPECT_EQ(insert.Module(2).JoinEntry(0), 1);
    EXPECT_TRUE(unusedFrom(insert, 5));
}

TEST(ModuleMarkingModel, AddAndInsertRefuseBeyondTheSlots)
{
    CModuleMarkingRow row = rowOf(std::vector<int32_t>(99, 1000));
    const CModuleMarkingRow ninetyNine = row;
    row.SetCurrentIndex(98);
    ASSERT_TRUE(row.AddModules(false)); // the 100th module
    EXPECT_EQ(row.GetCurrentIndex(), 99);
    for (int current : {0, 50, 99}) { // a full row refuses wherever it stands
        row.SetCurrentIndex(current);
        const CModuleMarkingRow copy = row;
        EXPECT_FALSE(row.AddModules(false)) << current;
        EXPECT_FALSE(row.InsertModules(false)) << current;
        EXPECT_EQ(row, copy);
    }
    row = ninetyNine;
    ASSERT_TRUE(row.SetModulesToAdd(2)); // 99 + 2 would pass the slots
    EXPECT_FALSE(row.InsertModules(false));
    EXPECT_FALSE(row.SetModulesToAdd(0));
}

TEST(ModuleMarkingModel, Presets)
{
    CModuleMarkingRow row = rowOf({10000});
    row.SetPresetWidth(5000);
    row.SetPresetMultiplier(3);
    row.SetPresetMultiplierFlag(true);
    // Add takes a pending width even outside preset mode; the multiplier
    // only in preset mode. Both flags are consumed.
    ASSERT_TRUE(row.AddModules(false));
    EXPECT_EQ(row.Module(1).m_width, 5000);
    EXPECT_EQ(row.Module(1).m_multiplier, 1);
    EXPECT_FALSE(row.HasPresetWidth() || row.HasPresetMultiplier());
    row.SetPresetWidth(6000);
    ASSERT_TRUE(row.InsertModules(false)); // Insert takes it only in preset mode
    EXPECT_EQ(row.Module(1).m_width, 5000);

    EXPECT_FALSE(row.ApplyPresets());
    row.SetPresetWidth(7000);
    row.SetPresetMultiplierFlag(true);
    EXPECT_TRUE(row.ApplyPresets());
    EXPECT_EQ(row.GetModuleLength(1), 21000);
    EXPECT_FALSE(row.HasPresetWidth() || row.HasPresetMultiplier());

    CModuleMarkingJob job;
    EXPECT_TRUE(job.SetCurrentModuleWidth(999)); // ignored
    EXPECT_FALSE(job.GetCurrentRow().HasPresetWidth());
    EXPECT_FALSE(job.SetCurrentModuleWidth(1000)); // preset mode: pending only
    EXPECT_EQ(job.GetCurrentModuleWidth(), 1000);
    EXPECT_EQ(job.GetModuleLength(0), 17500);
    job.SetUsePreset(false);
    EXPECT_TRUE(job.SetCurrentModuleWidth(1000000));
    EXPECT_EQ(job.GetModuleLength(0), 1000000);
}

TEST(ModuleMarkingModel, DeleteJoinAndSplit)
{
    CModuleMarkingRow row = rowOf({10000, 11000, 12000});
    row.SetCurrentIndex(2);
    ASSERT_TRUE(row.DeleteCurrent());
    EXPECT_EQ(widthsOf(row), (std::vector<int32_t>{10000, 11000}));
    EXPECT_EQ(row.GetCurrentIndex(), 1);
    EXPECT_TRUE(unusedFrom(row, 2));
    EXPECT_FALSE(CModuleMarkingRow().DeleteCurrent());

    row = rowOf({10000, 10000, 12000});
    row.Module(2).PushJoin(9);
    ASSERT_TRUE(row.JoinWithNext());
    EXPECT_EQ(widthsOf(row), (std::vector<int32_t>{10000, 12000}));
    EXPECT_EQ(row.Module(0).m_multiplier, 2);
    EXPECT_EQ(row.Module(1).JoinEntry(0), 9);
    EXPECT_TRUE(unusedFrom(row, 2));
    EXPECT_FALSE(row.JoinWithNext()); // different width

    ASSERT_TRUE(row.SplitCurrent());
    EXPECT_EQ(widthsOf(row), (std::vector<int32_t>{10000, 10000, 12000}));
    EXPECT_EQ(row.GetMarkerCount(), 3);
    EXPECT_EQ(row.Module(0).JoinCount(), 0);
    EXPECT_FALSE(row.SplitCurrent()); // multiplier 1

    // CanJoinNext compares the skip flags, the join itself does not.
    row.Module(1).m_skip = true;
    EXPECT_FALSE(row.CanJoinNext());
    EXPECT_TRUE(row.JoinWithNext());

    // A multiplier that did not come from joins has nothing to split off,
    // nor may a split take off all the module holds.
    CModuleMarkingRow set;
    set.Module(0).m_multiplier = 3;
    EXPECT_FALSE(set.SplitCurrent());
    set.Module(0).PushJoin(3);
    EXPECT_FALSE(set.SplitCurrent());
    EXPECT_EQ(set.GetMarkerCount(), 3);
}

TEST(ModuleMarkingModel, MaterialAndRoomChecks)
{
    CModuleMarkingJob job;
    job.ToggleFixedLength();
    job.SetUsePreset(false);
    CModuleMarkingRow& row = job.GetCurrentRow();
    job.SetMaterialLength(35000); // 17500 + one more
    EXPECT_TRUE(job.FitsMaterial());
    job.SetMaterialLength(34999);
    EXPECT_FALSE(job.FitsMaterial());
    row.SetRightMargin(5000); // the stored right margin does not count
    EXPECT_FALSE(job.FitsMaterial());
    row.SetModulesToAdd(2);
    job.SetMaterialLength(52500);
    EXPECT_TRUE(job.FitsMaterial());
    job.SetUsePreset(true);
    row.SetPresetWidth(20000); // 17500 + 2 x 20000
    EXPECT_FALSE(job.FitsMaterial());

    // Room for a multiplier: gaps and the right margin do not count.
    CModuleMarkingJob room;
    room.ToggleFixedLength();
    room.SetMaterialLength(50000);
    room.GetCurrentRow() = rowOf({10000, 10000});
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
    job.GetCurrentRow() = rowOf(std::vector<int32_t>(10, 5000));
    for (int n = 0; n <= 10; ++n)
        EXPECT_EQ(job.LocateMarker(n), 1) << n;
    EXPECT_EQ(job.LocateMarker(11), 11);
    EXPECT_EQ(job.LocateMarker(20), 11);
    EXPECT_EQ(job.LocateMarker(25), 21);
    EXPECT_EQ(job.LocateMarker(10000000), 9999991);
    EXPECT_EQ(job.LocateMarker(INT32_MAX), 2147483641);

    EXPECT_EQ(job.GetRowOfMarker(9), 0);
    EXPECT_EQ(job.GetRowOfMarker(10), 1);
    EXPECT_EQ(job.GetRowOfMarker(12), 3); // further rows hold one module each
    EXPECT_EQ(job.GetRowOfMarker(10000000), 9999991);
    EXPECT_EQ(job.GetRowOfMarker(INT32_MAX), INT32_MAX - 9);
    EXPECT_EQ(job.GetRowCount(), 1); // nothing was appended
}

TEST(ModuleMarkingModel, CopiesDropPendingPresets)
{
    CModuleMarkingJob job;
    CModuleMarkingRow& row = job.GetCurrentRow();
    row = rowOf({10000, 10000, 11000});
    ASSERT_TRUE(row.JoinWithNext());
    row.SetAllGaps(700);
    row.SetPresetWidth(4000);
    row.SetPresetMultiplier(5);
    row.SetPresetMultiplierFlag(true);
    job.ToggleFixedLength();
    job.SetUsePreset(false);
    job.SetPresetModuleWidth(12345);

    CModuleMarkingRow expected = row;
    expected.SetPresetWidth(0); // sets the flag again
    expected.ClearPresetFlags();

    const auto clone = job.Clone();
    CModuleMarkingJob copied;
    copied.CopyFrom(job);
    for (const CModuleMarkingJob* c : {clone.get(), &copied}) {
        EXPECT_FALSE(c->IsFreeLength());
        EXPECT_FALSE(c->IsUsePreset());
        EXPECT_EQ(c->GetPresetModuleWidth(), 12345);
        EXPECT_EQ(c->GetCurrentRow(), expected); // all slots, histories included
    }
    copied.CopyFrom(copied);
    EXPECT_EQ(copied.GetCurrentRow(), expected);
}
