// Module-marking operations of the document: the job after each edit and
// the objects of area 0 that follow the strip, refusals that leave
// everything as it was, and one undo step for objects and job together.
#include "document/label/labelfile.h"

#include "support/templateedit_fixture.h"

#include <random>
#include <utility>
#include <vector>

namespace {

using Boxes = std::vector<std::pair<int32_t, int32_t>>; // left, width

class MarkingTest : public edittest::EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        doc->ToggleModuleMarking();
        job().SetUsePreset(false);
        tpl().FreeHistory();
    }

    CModuleMarkingJob& job() { return tpl().GetJob(); }
    CModuleMarkingRow& row() { return job().GetCurrentRow(); }

    std::string jobBytes()
    {
        RecordWriter w;
        job().Write(w);
        return w.take();
    }

    // A strip of modules (width, multiplier) with a gap and a marker text
    // in every module; `current` is the current module.
    void strip(const std::vector<std::pair<int32_t, int32_t>>& modules, int32_t gap, int current = 0)
    {
        area().RemoveAll();
        row().SetModuleCount(int(modules.size()));
        for (size_t i = 0; i < modules.size(); ++i) {
            row().Module(int(i)).m_width = modules[i].first;
            row().Module(int(i)).m_multiplier = modules[i].second;
        }
        row().SetAllGaps(gap);
        row().SetCurrentIndex(current);
        doc->CreateMarkerTexts(-1);
        tpl().FreeHistory();
    }

    Boxes boxes()
    {
        Boxes b;
        for (const auto& o : area().Objects())
            b.emplace_back(o->GetX(), o->GetWidth());
        return b;
    }

    // One undo entry; undo gives area and job back byte for byte, redo the
    // edited ones.
    template <class Edit>
    void expectMarkingEdit(Edit edit)
    {
        const std::string area0 = bytes(), job0 = jobBytes();
        const int undo = undoCount();
        ASSERT_TRUE(edit());
        const std::string area1 = bytes(), job1 = jobBytes();
        EXPECT_EQ(undoCount(), undo + 1);
        EXPECT_EQ(int(tpl().GetMarkerUndo().LeadingCount()), undo + 1);
        EXPECT_TRUE(doc->IsModified());
        ASSERT_TRUE(doc->Undo(0));
        EXPECT_EQ(bytes(), area0);
        EXPECT_EQ(jobBytes(), job0);
        ASSERT_TRUE(doc->Redo(0));
        EXPECT_EQ(bytes(), area1);
        EXPECT_EQ(jobBytes(), job1);
    }

    // A refused edit: false, objects and job unchanged, no undo entry.
    template <class Edit>
    void expectRefused(Edit edit)
    {
        const std::string area0 = bytes(), job0 = jobBytes();
        const int undo = undoCount();
        const size_t markerUndo = tpl().GetMarkerUndo().LeadingCount();
        EXPECT_FALSE(edit());
        EXPECT_EQ(bytes(), area0);
        EXPECT_EQ(jobBytes(), job0);
        EXPECT_EQ(undoCount(), undo);
        EXPECT_EQ(tpl().GetMarkerUndo().LeadingCount(), markerUndo);
    }
};

constexpr int32_t kM = 690; // text margin of a 13.8 mm strip

} // namespace

TEST_F(MarkingTest, SwitchMakesAStripWithOneMarkerText)
{
    ASSERT_TRUE(doc->IsModuleMarking());
    EXPECT_EQ(doc->GetStripWidth(), 13800);
    ASSERT_EQ(area().GetCount(), 1u);
    const CGraphObject& text = *area().GetAt(0);
    EXPECT_EQ(text.GetX(), kM);
    EXPECT_EQ(text.GetY(), kM);
    EXPECT_EQ(text.GetWidth(), 17500 - 2 * kM);
    EXPECT_EQ(text.GetHeight(), 13800 - 2 * kM);
    EXPECT_TRUE(text.UsesColumn(0));
    // Free length shows the strip's own length.
    EXPECT_EQ(doc->GetMaterialLength(), 17500);

    // With three modules, the second skipped, two texts are made.
    strip({{10000, 1}, {10000, 1}, {10000, 1}}, 1000);
    row().Module(1).m_skip = true;
    doc->CreateMarkerTexts(-1);
    EXPECT_EQ(boxes(), (Boxes{{kM, 10000 - 2 * kM}, {22000 + kM, 10000 - 2 * kM}}));
}

TEST_F(MarkingTest, ModuleWidthMovesAndStretchesByTheWholeModule)
{
    strip({{10000, 1}, {10000, 2}, {10000, 1}}, 1000, 1);
    expectMarkingEdit([&] { return doc->SetModuleLength(15000); });
    EXPECT_EQ(row().Module(1).m_width, 15000);
    // The doubled module grows by 10 mm: its text stretches, the next moves.
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {11000 + kM * 3 / 2, 18620 * 3 / 2}, {42000 + kM, 8620}}));
    expectMarkingEdit([&] { return doc->SetModuleLength(5000); });
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {11000 + kM / 2, 18620 / 2}, {22000 + kM, 8620}}));

    for (int32_t bad : {999, 1000001, -5})
        expectRefused([&] { return doc->SetModuleLength(bad); });
    // Preset mode keeps the width for the next module: nothing moves.
    job().SetUsePreset(true);
    expectRefused([&] { return doc->SetModuleLength(12000); });
    EXPECT_TRUE(row().HasPresetWidth());
    EXPECT_EQ(row().GetPresetWidth(), 12000);
}

TEST_F(MarkingTest, MultiplierStretchesTheModuleAndRefusesBadValues)
{
    strip({{10000, 1}, {10000, 1}}, 1000);
    expectMarkingEdit([&] { return doc->SelectMultiplier(3); });
    EXPECT_EQ(doc->GetCurrentMultiplier(), 3);
    EXPECT_EQ(boxes(), (Boxes{{3 * kM, 3 * 8620}, {31000 + kM, 8620}}));
    for (int32_t bad : {0, -1, 3})
        expectRefused([&] { return doc->SelectMultiplier(bad); });
    // A module longer than any position can hold is refused whole.
    row().Module(0).m_width = 1000000;
    expectRefused([&] { return doc->SelectMultiplier(3000); });
}

TEST_F(MarkingTest, AppendAndInsertMakeRoomForEveryNewModule)
{
    strip({{10000, 1}, {10000, 1}}, 1000);
    doc->SetModulesToAdd(2);
    doc->SetModulesToAdd(0); // ignored
    EXPECT_EQ(doc->GetModulesToAdd(), 2);
    expectMarkingEdit([&] { return doc->AppendMarker(); });
    EXPECT_EQ(row().GetModuleCount(), 4);
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    // Both new modules and their gaps: the old second module moves 22 mm.
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {33000 + kM, 8620}, {11000 + kM, 8620}, {22000 + kM, 8620}}));

    doc->SetModulesToAdd(1);
    expectMarkingEdit([&] { return doc->InsertMarker(); });
    EXPECT_EQ(row().GetModuleCount(), 5);
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {44000 + kM, 8620}, {11000 + kM, 8620}, {33000 + kM, 8620},
                              {22000 + kM, 8620}}));

    // Past the 100 slots: refused before anything moves.
    doc->SetModulesToAdd(98);
    expectRefused([&] { return doc->AppendMarker(); });
    expectRefused([&] { return doc->InsertMarker(); });
}

TEST_F(MarkingTest, DeleteRemovesTheModuleAndClosesTheGap)
{
    strip({{10000, 1}, {12000, 1}, {10000, 1}}, 1000, 1);
    expectMarkingEdit([&] { return doc->DeleteMarker(); });
    EXPECT_EQ(row().GetModuleCount(), 2);
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {11000 + kM, 8620}}));
    EXPECT_EQ(row().GetCurrentIndex(), 1);
    expectMarkingEdit([&] { return doc->DeleteMarker(); });
    EXPECT_EQ(row().GetCurrentIndex(), 0);
    EXPECT_FALSE(doc->CanDeleteMarker());
    expectRefused([&] { return doc->DeleteMarker(); });
}

TEST_F(MarkingTest, DeleteAllLeavesOneDefaultModule)
{
    strip({{10000, 2}, {12000, 1}}, 1000, 1);
    row().Module(0).m_skip = true;
    expectMarkingEdit([&] { return doc->DeleteAllMarkers(); });
    EXPECT_EQ(row().GetModuleCount(), 1);
    EXPECT_EQ(row().GetModuleLength(0), 17500);
    EXPECT_FALSE(row().Module(0).m_skip);
    EXPECT_EQ(boxes(), (Boxes{{kM, 17500 - 2 * kM}}));
    // One module: refused, but pending presets are dropped.
    row().SetPresetWidth(20000);
    expectRefused([&] { return doc->DeleteAllMarkers(); });
    EXPECT_FALSE(row().HasPresetWidth());
}

TEST_F(MarkingTest, JoinAndSplitGiveTheStripBack)
{
    strip({{10000, 1}, {10000, 1}, {10000, 1}}, 1000);
    const Boxes start = boxes();
    EXPECT_TRUE(doc->CanJoinMarker());
    expectMarkingEdit([&] { return doc->JoinMarker(); });
    EXPECT_EQ(row().GetModuleCount(), 2);
    EXPECT_EQ(row().Module(0).m_multiplier, 2);
    // The second text goes, the first spans both, the third moves 1 mm left.
    EXPECT_EQ(boxes(), (Boxes{{2 * kM, 2 * 8620}, {21000 + kM, 8620}}));
    EXPECT_TRUE(doc->CanSplitMarker());
    expectMarkingEdit([&] { return doc->SplitMarker(); });
    EXPECT_EQ(row().GetModuleCount(), 3);
    EXPECT_EQ(boxes(), (Boxes{start[0], start[2], start[1]}));
    // Now of multiplier 1: nothing to split. Unequal widths do not join.
    expectRefused([&] { return doc->SplitMarker(); });
    row().Module(1).m_width = 12000;
    expectRefused([&] { return doc->JoinMarker(); });
}

TEST_F(MarkingTest, SkipDeletesAndRecreatesTheText)
{
    strip({{10000, 1}, {10000, 1}}, 1000, 1);
    expectMarkingEdit([&] { return doc->ToggleSkipMarker(), true; });
    EXPECT_TRUE(row().Module(1).m_skip);
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}}));
    EXPECT_TRUE(doc->IsInSkippedMarker(10000, 20000));
    EXPECT_FALSE(doc->IsInSkippedMarker(0, 10000));
    expectMarkingEdit([&] { return doc->ToggleSkipMarker(), true; });
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {11000 + kM, 8620}}));
}

TEST_F(MarkingTest, GapMovesEachModuleByItsShare)
{
    strip({{10000, 1}, {10000, 1}, {10000, 1}}, 1000);
    expectMarkingEdit([&] { return doc->SetModuleGap(3000); });
    EXPECT_EQ(doc->GetModuleGap(), 3000);
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {13000 + kM, 8620}, {26000 + kM, 8620}}));
    expectMarkingEdit([&] { return doc->SetModuleGap(0); });
    EXPECT_EQ(boxes(), (Boxes{{kM, 8620}, {10000 + kM, 8620}, {20000 + kM, 8620}}));
    for (int32_t bad : {0, -1, 1000001})
        expectRefused([&] { return doc->SetModuleGap(bad); });
}

TEST_F(MarkingTest, MarginsMoveTheStripAndRefuseBadValues)
{
    strip({{10000, 1}, {10000, 1}}, 1000);
    expectMarkingEdit([&] { return doc->SetMarkingLeftMargin(5000); });
    EXPECT_EQ(boxes(), (Boxes{{5000 + kM, 8620}, {16000 + kM, 8620}}));
    expectMarkingEdit([&] { return doc->SetMarkingLeftMargin(2000); });
    EXPECT_EQ(boxes(), (Boxes{{2000 + kM, 8620}, {13000 + kM, 8620}}));
    expectMarkingEdit([&] { return doc->SetMarkingRightMargin(4000); });
    EXPECT_EQ(row().GetRightMargin(), 4000);
    EXPECT_EQ(doc->GetMaterialLength(), 27000);
    for (int32_t bad : {-1, 1000001, 2000}) {
        expectRefused([&] { return doc->SetMarkingLeftMargin(bad); });
        if (bad != 2000)
            expectRefused([&] { return doc->SetMarkingRightMargin(bad); });
    }
    expectRefused([&] { return doc->SetMarkingRightMargin(4000); });
}

TEST_F(MarkingTest, MaterialLengthAndFixedLength)
{
    expectRefused([&] { return doc->SetMaterialLength(0); });
    expectRefused([&] { return doc->SetMaterialLength(17500); }); // shown value
    expectMarkingEdit([&] { return doc->SetMaterialLength(100000); });
    EXPECT_EQ(job().GetMaterialLength(), 100000);
    doc->ToggleFixedLength();
    EXPECT_FALSE(job().IsFreeLength());
    EXPECT_EQ(doc->GetMaterialLength(), 100000);
    EXPECT_EQ(job().GetRightMargin(), 100000 - 17500);
    EXPECT_TRUE(doc->Undo(0));
    EXPECT_TRUE(job().IsFreeLength());
}

TEST_F(MarkingTest, NavigationZoomAndLockedTemplate)
{
    strip({{10000, 1}, {10000, 1}, {10000, 1}}, 0);
    EXPECT_FALSE(doc->GotoMarker(3));
    EXPECT_FALSE(doc->GotoMarker(-1));
    EXPECT_FALSE(doc->GotoMarker(0)); // already current
    EXPECT_FALSE(doc->CanGotoPreviousMarker());
    EXPECT_TRUE(doc->GotoLastMarker());
    EXPECT_FALSE(doc->GotoLastMarker());
    EXPECT_FALSE(doc->CanGotoNextMarker());
    EXPECT_TRUE(doc->GotoPreviousMarker());
    EXPECT_EQ(doc->GetCurrentMarkerNumber(), 1);
    EXPECT_TRUE(doc->GotoFirstMarker());
    EXPECT_TRUE(doc->GotoNextMarker());
    EXPECT_EQ(doc->GetMarkerPosition(2), 20000);
    EXPECT_EQ(doc->GetMarkerLength(3), -1);
    EXPECT_EQ(doc->LocateMarker(5), 4);
    EXPECT_EQ(undoCount(), 0);

    doc->SetZoomRate(0, 24);
    doc->SetZoomRate(0, 801);
    EXPECT_EQ(doc->GetAreaZoom(0), -1);
    doc->SetZoomRate(2, 800);
    EXPECT_EQ(doc->GetAreaZoom(2), 800);
    EXPECT_EQ(doc->GetAreaZoom(3), -1);

    tpl().SetLocked(true);
    expectRefused([&] { return doc->AppendMarker(); });
    expectRefused([&] { return doc->SetModuleGap(500); });
    expectRefused([&] { return doc->DeleteMarker(); });
}

TEST_F(MarkingTest, StripsLongerThanAMetreMoveAsAWhole)
{
    strip({{1000000, 1}, {1000000, 1}}, 0);
    expectMarkingEdit([&] { return doc->SelectMultiplier(2); });
    EXPECT_EQ(boxes(), (Boxes{{2 * kM, 2 * (1000000 - 2 * kM)}, {2000000 + kM, 1000000 - 2 * kM}}));
    // A strip past the 32-bit range is refused, not wrapped.
    expectRefused([&] { return doc->SelectMultiplier(2200); });
}

// Random edits and undos: after every step each object lies inside the band
// of a module, and undoing everything gives the first state back.
TEST_F(MarkingTest, RandomSequencesKeepObjectsInTheirModules)
{
    std::mt19937 rng(20261209);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto insideModules = [&] {
        const CModuleMarkingRow& r = row();
        for (const auto& o : area().Objects()) {
            bool inside = false;
            for (int i = 0; i < r.GetModuleCount() && !inside; ++i) {
                const int64_t p = r.GetModulePosition(i);
                inside = o->GetLeft() >= p && o->GetRight() <= p + r.GetModuleLength(i) + 1;
            }
            if (!inside)
                return false;
        }
        return true;
    };
    for (int seq = 0; seq < 200; ++seq) {
        row().SetLeftMargin(pick(0, 1) * 3000);
        strip({{10000, 1}, {15000, 2}, {10000, 1}}, pick(0, 2) * 1000, pick(0, 2));
        job().SetUsePreset(false);
        const std::string area0 = bytes(), job0 = jobBytes();
        const int current0 = row().GetCurrentIndex();
        const int32_t toAdd0 = row().GetModulesToAdd();
        const int32_t preset0 = row().GetPresetMultiplier();
        const int steps = pick(1, 20);
        for (int step = 0; step < steps; ++step) {
            const int op = pick(0, 17);
            switch (op) {
            case 0: doc->SetModuleLength(pick(0, 30) * 1000); break;
            case 1: doc->SelectMultiplier(pick(0, 4)); break;
            case 2: doc->SetModulesToAdd(pick(1, 3)); doc->AppendMarker(); break;
            case 3: doc->InsertMarker(); break;
            case 4: doc->DeleteMarker(); break;
            case 5: if (pick(0, 3) == 0) doc->DeleteAllMarkers(); break;
            case 6: doc->JoinMarker(); break;
            case 7: doc->SplitMarker(); break;
            case 8: doc->ToggleSkipMarker(); break;
            case 9: doc->SetModuleGap(pick(-1, 4) * 1000); break;
            case 10: doc->SetMarkingLeftMargin(pick(-1, 5) * 1000); break;
            case 11: doc->SetMarkingRightMargin(pick(-1, 5) * 1000); break;
            case 12: doc->GotoMarker(pick(-1, row().GetModuleCount())); break;
            case 13: doc->Undo(0); break;
            case 14: doc->Redo(0); break;
            case 15: job().SetUsePreset(!job().IsUsePreset()); break;
            case 16: doc->UpdateMarker(); break;
            default: doc->SetModuleLength(pick(1, 20) * 1000); doc->SelectMultiplier(pick(1, 3)); break;
            }
            ASSERT_TRUE(insideModules()) << "sequence " << seq << " step " << step << " op " << op;
        }
        while (doc->Undo(0)) {
        }
        // Navigation, the count to add and presets are no edits: they are
        // not undone.
        row().SetCurrentIndex(current0);
        row().SetModulesToAdd(toAdd0);
        row().SetPresetMultiplier(preset0);
        ASSERT_EQ(bytes(), area0) << "sequence " << seq;
        ASSERT_EQ(jobBytes(), job0) << "sequence " << seq;
    }
}
