// Module-marking commands of the design canvas.
#include "canvas_fixture.h"

#include <vector>

namespace {

using canvastest::CommandTest;

// Every command that acts on markers in module selection.
const std::vector<int> kMarkerCommands{1086, 1087, 1088, 1089, 1090, 1109, 1110, 1095, 1103, 1123, 1091, 1092,
                                       1195, 1196, 1113, 1119, 1111, 1112, 1098, 1101, 1099, 1100, 1102};

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
    router.Route(1116);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message.text, "Aktuell etikettdefinition kommer att raderas. F\xF6rs\xE4tt?");
    EXPECT_EQ(ui.questions[0].message.caption, "Modulm\xE4rkning");
    EXPECT_FALSE(doc->IsModuleMarking());
    EXPECT_EQ(label().GetWidth(0), 100000);
    EXPECT_FALSE(checked(1116));

    ui.answers = {MessageAnswer::Yes};
    router.Route(1116);
    EXPECT_TRUE(doc->IsModuleMarking());
    EXPECT_TRUE(checked(1116));
    // Switching off asks nothing.
    router.Route(1116);
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_FALSE(doc->IsModuleMarking());
}

TEST_F(MarkingCommandTest, ObjectSelectionDisablesEveryMarkerCommand)
{
    enableMarking();
    EXPECT_TRUE(enabled(1086));
    ASSERT_TRUE(router.Route(1121));
    EXPECT_TRUE(checked(1121));
    EXPECT_FALSE(checked(1120));
    for (int id : kMarkerCommands)
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(router.Execute(1095));
    EXPECT_EQ(row().GetModuleCount(), 4);
    EXPECT_TRUE(enabled(1116));
    EXPECT_TRUE(enabled(1125));
}

TEST_F(MarkingCommandTest, MarkerCommandsChangeTheJob)
{
    enableMarking();
    router.Route(1100); // Next
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    router.Route(1102); // Last
    EXPECT_EQ(row().GetCurrentIndex(), 3);
    EXPECT_FALSE(enabled(1100));
    router.Route(1099); // Previous
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    router.Route(1101); // First
    EXPECT_EQ(row().GetCurrentIndex(), 0);
    EXPECT_FALSE(enabled(1099));
    type(1098, "3");
    EXPECT_EQ(row().GetCurrentIndex(), 2);
    EXPECT_EQ(text(1098), "3");
    EXPECT_EQ(text(1093), "4");

    const int before = row().GetModuleCount();
    router.Route(1095); // Add
    EXPECT_GT(row().GetModuleCount(), before);
    const int added = row().GetModuleCount();
    router.Route(1103); // Insert
    EXPECT_GT(row().GetModuleCount(), added);
    router.Route(1091); // Delete
    EXPECT_EQ(row().GetModuleCount(), added);

    row().SetCurrentIndex(0);
    ASSERT_TRUE(enabled(1195));
    const int unjoined = row().GetModuleCount();
    router.Route(1195); // Join
    EXPECT_EQ(row().GetModuleCount(), unjoined - 1);
    ASSERT_TRUE(enabled(1196));
    router.Route(1196); // Split
    EXPECT_EQ(row().GetModuleCount(), unjoined);

    router.Route(1113); // Skip
    EXPECT_TRUE(row().Module(0).m_skip);
    EXPECT_TRUE(checked(1113));
    doc->SetModifiedFlag(false);
    router.Route(1125); // Draw borders
    EXPECT_FALSE(job().HasMarkerBorders());
    EXPECT_TRUE(doc->IsModified());

    router.Route(1092); // Delete all
    EXPECT_EQ(row().GetModuleCount(), 1);
}

TEST_F(MarkingCommandTest, MultipliersNeedRoomInTheMaterial)
{
    enableMarking();
    job().SetUsePreset(false);
    router.Route(1115); // Fixed length
    ASSERT_FALSE(job().IsFreeLength());
    EXPECT_TRUE(enabled(1194));
    type(1194, "60 mm");
    EXPECT_EQ(job().GetMaterialLength(), 60000);
    for (int n = 2; n <= 5; ++n)
        EXPECT_EQ(enabled(n == 5 ? 1109 : 1086 + n), job().HasRoomForModules(n)) << n;
    // 60 mm less three other modules of 10 mm: room for two only.
    EXPECT_TRUE(enabled(1087));
    EXPECT_TRUE(enabled(1088));
    EXPECT_FALSE(enabled(1089));
    type(1110, "2");
    EXPECT_EQ(doc->GetCurrentMultiplier(), 2);
    EXPECT_TRUE(checked(1088));
}

} // namespace
