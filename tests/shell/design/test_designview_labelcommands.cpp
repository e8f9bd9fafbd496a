// Label-definition, page, label-information and engraving commands of the
// design canvas.
#include "document/catalogue/labelmanager.h"
#include "platform/commandids.h"
#include "shell/design/designlength.h"

#include "canvas_fixture.h"

#include <QComboBox>
#include <QMenu>
#include <QToolButton>

namespace {

using canvastest::CommandTest;

TEST_F(CommandTest, NewLabelDefinitionAsksOnlyAboutADefinedOne)
{
    doc->GetCurrentTemplate().SetLabel(nullptr);
    ASSERT_TRUE(router.Route(cmd::kNewLabel));
    EXPECT_TRUE(ui.questions.empty());
    ASSERT_NE(doc->GetLabelFile(), nullptr);

    label().SetWidth(0, 40000, false);
    label().SetHeight(0, 20000);
    ASSERT_TRUE(doc->IsLabelDefined());
    ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
    router.Route(cmd::kNewLabel);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message.text, "Create a new label definition, are you sure?");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(label().GetWidth(0), 40000);
    router.Route(cmd::kNewLabel);
    EXPECT_NE(label().GetWidth(0), 40000);
}

TEST_F(CommandTest, LoadTakesLabelFilesOfAnyCaseAndIgnoresOtherFiles)
{
    CLabelFileNew stored;
    stored.SetWidth(0, 33000, false);
    stored.SetHeight(0, 12000);
    const QString upper = m_dir.filePath("X.LABEL");
    ASSERT_TRUE(stored.SaveToFile(QFile::encodeName(upper).toStdString()));
    const QString other = m_dir.filePath("X.txt");
    ASSERT_TRUE(QFile::copy(upper, other));

    ui.fileNames = {other, upper};
    router.Route(cmd::kLoadLabel);
    EXPECT_EQ(label().GetWidth(0), 100000);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.fileDialogs.at(0).request.filter, "Label files (*.label)|*.label||");
    router.Route(cmd::kLoadLabel);
    EXPECT_EQ(label().GetWidth(0), 33000);
}

TEST_F(CommandTest, MarginsAndRadiusBelongToTheLabelArea)
{
    doc->ToggleLabelPart(1);
    view->SetArea(1);
    const int32_t headerTop = label().GetTop(1);
    EXPECT_TRUE(enabled(cmd::kMarginTop));
    EXPECT_EQ(text(cmd::kMarginLeft), QString::fromStdString(doc->GetAreaLeftText(0)));
    type(cmd::kMarginTop, "7 mm");
    EXPECT_EQ(label().GetTop(0), 7000);
    EXPECT_EQ(label().GetTop(1), headerTop);

    // The radius box: area 0 with rounded corners only.
    label().SetShape(0, 1);
    label().SetRadius(2000);
    EXPECT_FALSE(enabled(cmd::kLabelRadius));
    EXPECT_EQ(text(cmd::kLabelRadius), QString());
    view->SetArea(0);
    EXPECT_TRUE(enabled(cmd::kLabelRadius));
    EXPECT_EQ(text(cmd::kLabelRadius), "2 mm");
    type(cmd::kLabelRadius, "3");
    EXPECT_EQ(label().GetRadius(), 3000);
    for (int shape : {0, 2}) {
        router.Route(cmd::kShapeRectangular + shape);
        EXPECT_TRUE(checked(cmd::kShapeRectangular + shape));
        EXPECT_FALSE(enabled(cmd::kLabelRadius));
        EXPECT_EQ(text(cmd::kLabelRadius), QString());
    }
}

TEST_F(CommandTest, PaperSizeBoxesOnlyForCustomPaper)
{
    for (int code : {0, 9, 255, 256, 300}) {
        label().SetPaperCode(code);
        EXPECT_EQ(enabled(cmd::kPaperWidth), code == 0 || code >= 256) << code;
        EXPECT_EQ(enabled(cmd::kPaperHeight), code == 0 || code >= 256) << code;
    }
    // Greyed boxes show the chosen standard paper, not the stored custom size.
    label().SetPaperCode(9); // A4
    EXPECT_EQ(text(cmd::kPaperWidth), "210 mm");
    EXPECT_EQ(text(cmd::kPaperHeight), "297 mm");
    label().SetPaperCode(256);
    type(cmd::kPaperWidth, "150 mm");
    EXPECT_EQ(doc->GetPaperWidth(), 150000);
    EXPECT_TRUE(doc->IsModified());

    label().SetOrientation(1);
    EXPECT_TRUE(checked(cmd::kPortrait));
    EXPECT_FALSE(checked(cmd::kLandscape));
    router.Route(cmd::kLandscape);
    EXPECT_EQ(label().GetOrientation(), 2);
    EXPECT_TRUE(checked(cmd::kLandscape));
    EXPECT_FALSE(checked(cmd::kPortrait));
}

TEST_F(CommandTest, HeaderAndFooterBoxesFollowTheirEnableButtons)
{
    EXPECT_FALSE(enabled(cmd::kHeaderWidth));
    EXPECT_FALSE(checked(cmd::kFooterEnable));
    router.Route(cmd::kFooterEnable);
    EXPECT_TRUE(doc->HasLabelPart(2));
    EXPECT_TRUE(checked(cmd::kFooterEnable));
    EXPECT_TRUE(enabled(cmd::kFooterWidth));
    type(cmd::kFooterHeight, "12 mm");
    EXPECT_EQ(label().GetHeight(2), 12000);
    EXPECT_FALSE(enabled(cmd::kHeaderHeight));

    doc->ToggleModuleMarking();
    EXPECT_FALSE(enabled(cmd::kHeaderEnable));
    doc->GetCurrentTemplate().SetLabel(nullptr);
    EXPECT_FALSE(enabled(cmd::kHeaderEnable));
    EXPECT_FALSE(checked(cmd::kHeaderEnable));
}

TEST_F(CommandTest, CompanionFilesKeepOnlyTheFileName)
{
    label().SetPictureFile("old.png");
    ui.fileNames = {QStringLiteral("/somewhere/else/pic.png")};
    router.Route(cmd::kLabelImageFile);
    EXPECT_EQ(label().GetPictureFile(), "pic.png");
    const FileDialogRequest& request = ui.fileDialogs.at(0).request;
    EXPECT_EQ(request.initialName, "old.png");
    EXPECT_TRUE(request.folder.endsWith("Label images/"));
    EXPECT_TRUE(doc->IsModified());

    ui.fileNames = {QStringLiteral("/x/") + QString(300, u'n') + QStringLiteral(".pdf")};
    router.Route(cmd::kLabelInfoFile);
    EXPECT_EQ(label().GetInfoFile(), "");
    EXPECT_EQ(ui.messages.size(), 1u);
    ui.fileNames = {QStringLiteral("/x/info.pdf")};
    router.Route(cmd::kLabelInfoFile);
    EXPECT_EQ(label().GetInfoFile(), "info.pdf");

    ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
    router.Route(cmd::kDeleteLabelFiles);
    EXPECT_EQ(label().GetPictureFile(), "pic.png");
    router.Route(cmd::kDeleteLabelFiles);
    EXPECT_EQ(ui.questions.back().message.text, "Remove image file and info file filenames for this label?");
    EXPECT_EQ(label().GetPictureFile(), "");
    EXPECT_EQ(label().GetInfoFile(), "");
    EXPECT_FALSE(enabled(cmd::kDeleteLabelFiles));
}

TEST_F(CommandTest, FamilyBoxListsEveryFamilyOnceSorted)
{
    CLabelManager catalogue;
    catalogue.AddFamily("beta");
    catalogue.AddFamily("Alpha");
    view->SetCatalogue(&catalogue);
    ribbon->SetComboItems(cmd::kFamilyBox, {"beta", "Alpha"});
    type(cmd::kFamilyBox, "Gamma");
    type(cmd::kFamilyBox, "Alpha");
    EXPECT_EQ(label().GetFamilyName(), "Alpha");
    QComboBox* combo = ribbon->FindCombo(cmd::kFamilyBox);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"Alpha", "beta", "Gamma"}));
}

TEST_F(CommandTest, EngravingOptionsChangeTheTemplate)
{
    const CTemplate& t = doc->GetCurrentTemplate();
    router.Route(cmd::kDrawLabelBorders);
    EXPECT_TRUE(t.IsPrintLabelBorders());
    EXPECT_TRUE(doc->IsModified());
    router.Route(cmd::kPauseBetweenPages);
    EXPECT_TRUE(t.GetBorderOption());
    EXPECT_TRUE(checked(cmd::kPauseBetweenPages));
    type(cmd::kEngraveLineWidthBox, "0.5 mm");
    EXPECT_EQ(t.GetBorderWidth(), 500);
    doc->SetModifiedFlag(false);
    auto* button = qobject_cast<QToolButton*>(ribbon->ElementWidgets(cmd::kEngraveBorderColour).at(0));
    ASSERT_TRUE(button && button->menu());
    QAction* red = nullptr;
    for (QAction* a : button->menu()->actions())
        if (QColor(a->text()).isValid() && QColor(a->text()).red() > 0 && !red)
            red = a;
    ASSERT_NE(red, nullptr);
    red->trigger();
    const QColor c(red->text());
    EXPECT_EQ(t.GetBorderColor(), int32_t(RGB(unsigned(c.red()), unsigned(c.green()), unsigned(c.blue()))));
    EXPECT_TRUE(doc->IsModified());

    doc->LockTemplate("pw");
    for (int id : {cmd::kDrawLabelBorders, cmd::kPauseBetweenPages, cmd::kEngraveBorderColour,
                   cmd::kEngraveLineWidthBox, cmd::kNewLabel, cmd::kLoadLabel, cmd::kDeleteLabel})
        EXPECT_FALSE(enabled(id)) << id;
}

} // namespace

namespace {

// The layout of the label definition that boxes 772 to 788 set.
std::vector<int64_t> layoutOf(const CLabel& l)
{
    return {l.GetWidth(0),       l.GetHeight(0),   l.GetColumnPitch(), l.GetRowPitch(),  l.GetRows(),
            l.GetColumns(),      l.GetBlockCount(), l.GetLeft(0),      l.GetTop(0),      l.GetBlockSpace(),
            l.GetShape(0)};
}

enum LayoutField { kWidth, kHeight, kPitchH, kPitchV, kRows, kColumns, kBlocks, kLeft, kTop, kSpace, kShape };

} // namespace

TEST_F(CommandTest, EveryLayoutBoxSetsItsOwnFieldOnlyInTheViewsUnits)
{
    widgettest::LocaleScope locale("en_US");
    label().SetRows(2);
    label().SetColumns(2);
    label().SetBlockCount(1);
    struct Case {
        int id;
        const char* typed;
        int field;
        int64_t value;
    };
    // A bare number is in the view's units: inches here.
    view->SetMeasure(designlength::kUS);
    for (const Case& c : {Case{772, "2", kWidth, 50800}, Case{773, "1.5", kHeight, 38100},
                          Case{774, "2.5", kPitchH, 63500}, Case{775, "0.5 in", kPitchV, 12700},
                          Case{777, "7", kRows, 7}, Case{778, "3", kColumns, 3}, Case{779, "4", kBlocks, 4},
                          Case{783, "0.25", kLeft, 6350}, Case{784, "12 mm", kTop, 12000},
                          Case{788, "1", kSpace, 25400}}) {
        std::vector<int64_t> expected = layoutOf(label());
        expected[size_t(c.field)] = c.value;
        EXPECT_TRUE(enabled(c.id)) << c.id;
        type(c.id, c.typed);
        EXPECT_EQ(layoutOf(label()), expected) << c.id << " typed " << c.typed;
    }
    // The same boxes in millimetres.
    view->SetMeasure(designlength::kMetric);
    for (const Case& c : {Case{772, "20", kWidth, 20000}, Case{774, "30", kPitchH, 30000},
                          Case{775, "40", kPitchV, 40000}, Case{788, "2", kSpace, 2000}}) {
        std::vector<int64_t> expected = layoutOf(label());
        expected[size_t(c.field)] = c.value;
        type(c.id, c.typed);
        EXPECT_EQ(layoutOf(label()), expected) << c.id << " typed " << c.typed;
    }
    // The shape buttons 785..787.
    for (int shape : {2, 1, 0}) {
        std::vector<int64_t> expected = layoutOf(label());
        expected[kShape] = shape;
        router.Route(785 + shape);
        EXPECT_EQ(layoutOf(label()), expected) << 785 + shape;
    }
}
