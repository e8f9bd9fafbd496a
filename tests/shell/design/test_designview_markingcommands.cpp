// Module-marking commands of the design canvas.
#include "platform/commandids.h"
#include "canvas_fixture.h"

#include <vector>

namespace {

using canvastest::CommandTest;

// Every command that acts on markers in module selection.
const std::vector<int> kMarkerCommands{
    cmd::kModuleLength, cmd::kMultiply1, cmd::kMultiply2, cmd::kMultiply3, cmd::kMultiply4, cmd::kMultiply5,
    cmd::kMultiplierBox, cmd::kAddMarker, cmd::kInsertMarker, cmd::kUpdateMarker, cmd::kDeleteMarker,
    cmd::kDeleteAllMarkers, cmd::kJoinMarker, cmd::kSplitMarker, cmd::kSkipMarker, cmd::kModuleGap,
    cmd::kMarkingLeftMargin, cmd::kMarkingRightMargin, cmd::kGotoMarker, cmd::kFirstMarker, cmd::kPreviousMarker,
    cmd::kNextMarker, cmd::kLastMarker};

class MarkingCommandTest : public CommandTest {
protected:
    // A module-marking label of four 10 mm modules, the second one current.
    void enableMarking()
    {
        doc->ToggleModuleMarking();
        ASSERT_TRUE(doc->IsModuleMarking());
        row().SetModuleCount(4);
        for (int i = 0; i < 4; ++i)
            row().Module(i).m_width = 10000, row().Module(i).m_multiplier = 1;
        row().SetCurrentIndex(1);
    }
    CModuleMarkingJob& job() { return doc->GetCurrentTemplate().GetJob(); }
    CModuleMarkingRow& row() { return job().GetCurrentRow(); }
};

TEST_F(MarkingCommandTest, EnableAsksBeforeReplacingADefinedLabel)
{
    ASSERT_TRUE(doc->IsLabelDefined());
    ui.answers = {MessageAnswer::No};
    router.Route(cmd::kMarkingEnable);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message.text, "Aktuell etikettdefinition kommer att raderas. F\xF6rs\xE4tt?");
    EXPECT_EQ(ui.questions[0].message.caption, "Modulm\xE4rkning");
    EXPECT_FALSE(doc->IsModuleMarking());
    EXPECT_EQ(label().GetWidth(0), 100000);
    EXPECT_FALSE(checked(cmd::kMarkingEnable));

    ui.answers = {MessageAnswer::Yes};
    router.Route(cmd::kMarkingEnable);
    EXPECT_TRUE(doc->IsModuleMarking());
    EXPECT_TRUE(checked(cmd::kMarkingEnable));
    // Switching off asks nothing.
    router.Route(cmd::kMarkingEnable);
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_FALSE(doc->IsModuleMarking());
}

TEST_F(MarkingCommandTest, ObjectSelectionDisablesEveryMarkerCommand)
{
    enableMarking();
    EXPECT_TRUE(enabled(cmd::kModuleLength));
    ASSERT_TRUE(router.Route(cmd::kSelectObjects));
    EXPECT_TRUE(checked(cmd::kSelectObjects));
    EXPECT_FALSE(checked(cmd::kSelectModules));
    for (int id : kMarkerCommands)
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(router.Execute(cmd::kAddMarker));
    EXPECT_EQ(row().GetModuleCount(), 4);
    EXPECT_TRUE(enabled(cmd::kMarkingEnable));
    EXPECT_TRUE(enabled(cmd::kMarkerBorders));
}

TEST_F(MarkingCommandTest, MarkerCommandsChangeTheJob)
{
    enableMarking();
    router.Route(cmd::kNextMarker); // Next
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    router.Route(cmd::kLastMarker); // Last
    EXPECT_EQ(row().GetCurrentIndex(), 3);
    EXPECT_FALSE(enabled(cmd::kNextMarker));
    router.Route(cmd::kPreviousMarker); // Previous
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    router.Route(cmd::kFirstMarker); // First
    EXPECT_EQ(row().GetCurrentIndex(), 0);
    EXPECT_FALSE(enabled(cmd::kPreviousMarker));
    type(cmd::kGotoMarker, "3");
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    EXPECT_EQ(text(cmd::kGotoMarker), "3");
    EXPECT_EQ(text(cmd::kModuleTotal), "4");

    const int before = row().GetModuleCount();
    router.Route(cmd::kAddMarker); // Add
    EXPECT_GT(row().GetModuleCount(), before);
    const int added = row().GetModuleCount();
    router.Route(cmd::kInsertMarker); // Insert
    EXPECT_GT(row().GetModuleCount(), added);
    router.Route(cmd::kDeleteMarker); // Delete
    EXPECT_EQ(row().GetModuleCount(), added);

    row().SetCurrentIndex(0);
    ASSERT_TRUE(enabled(cmd::kJoinMarker));
    const int unjoined = row().GetModuleCount();
    router.Route(cmd::kJoinMarker); // Join
    EXPECT_EQ(row().GetModuleCount(), unjoined - 1);
    ASSERT_TRUE(enabled(cmd::kSplitMarker));
    router.Route(cmd::kSplitMarker); // Split
    EXPECT_EQ(row().GetModuleCount(), unjoined);

    router.Route(cmd::kSkipMarker); // Skip
    EXPECT_TRUE(row().Module(0).m_skip);
    EXPECT_TRUE(checked(cmd::kSkipMarker));
    doc->SetModifiedFlag(false);
    router.Route(cmd::kMarkerBorders); // Draw borders
    EXPECT_FALSE(job().HasMarkerBorders());
    EXPECT_TRUE(doc->IsModified());

    router.Route(cmd::kDeleteAllMarkers); // Delete all
    EXPECT_EQ(row().GetModuleCount(), 1);
}

TEST_F(MarkingCommandTest, MultipliersNeedRoomInTheMaterial)
{
    enableMarking();
    job().SetUsePreset(false);
    router.Route(cmd::kFixedLength); // Fixed length
    ASSERT_FALSE(job().IsFreeLength());
    EXPECT_TRUE(enabled(cmd::kMaterialLength));
    type(cmd::kMaterialLength, "60 mm");
    EXPECT_EQ(job().GetMaterialLength(), 60000);
    for (int n = 2; n <= 5; ++n)
        EXPECT_EQ(enabled(n == 5 ? 1109 : 1086 + n), job().HasRoomForModules(n)) << n;
    // 60 mm less three other modules of 10 mm: room for two only.
    EXPECT_TRUE(enabled(cmd::kMultiply1));
    EXPECT_TRUE(enabled(cmd::kMultiply2));
    EXPECT_FALSE(enabled(cmd::kMultiply3));
    type(cmd::kMultiplierBox, "2");
    EXPECT_EQ(doc->GetCurrentMultiplier(), 2);
    EXPECT_TRUE(checked(cmd::kMultiply2));
}

} // namespace
