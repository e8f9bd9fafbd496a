// Label-definition, page, label-information and engraving commands of the
// design canvas.
#include "document/catalogue/labelmanager.h"
#include "shell/frame/commandids.h"

#include "canvas_fixture.h"

#include <QComboBox>
#include <QMenu>
#include <QToolButton>

namespace {

using canvastest::CommandTest;

TEST_F(CommandTest, NewLabelDefinitionAsksOnlyAboutADefinedOne)
{
    doc->GetCurrentTemplate().SetLabel(nullptr);
    ASSERT_TRUE(router.Route(903));
    EXPECT_TRUE(ui.questions.empty());
    ASSERT_NE(doc->GetLabelFile(), nullptr);

    label().SetWidth(0, 40000, false);
    label().SetHeight(0, 20000);
    ASSERT_TRUE(doc->IsLabelDefined());
    ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
    router.Route(903);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message.text, "Create a new label definition, are you sure?");
    EXPECT_EQ(ui.questions[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(label().GetWidth(0), 40000);
    router.Route(903);
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
    router.Route(241);
    EXPECT_EQ(label().GetWidth(0), 100000);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.fileDialogs.at(0).request.filter, "Label files (*.label)|*.label||");
    router.Route(241);
    EXPECT_EQ(label().GetWidth(0), 33000);
}

TEST_F(CommandTest, MarginsAndRadiusBelongToTheLabelArea)
{
    doc->ToggleLabelPart(1);
    view->SetArea(1);
    const int32_t headerTop = label().GetTop(1);
    EXPECT_TRUE(enabled(784));
    EXPECT_EQ(text(783), QString::fromStdString(doc->GetAreaLeftText(0)));
    type(784, "7 mm");
    EXPECT_EQ(label().GetTop(0), 7000);
    EXPECT_EQ(label().GetTop(1), headerTop);

    // The radius box: area 0 with rounded corners only.
    label().SetShape(0, 1);
    label().SetRadius(2000);
    EXPECT_FALSE(enabled(607));
    EXPECT_EQ(text(607), QString());
    view->SetArea(0);
    EXPECT_TRUE(enabled(607));
    EXPECT_EQ(text(607), "2 mm");
    type(607, "3");
    EXPECT_EQ(label().GetRadius(), 3000);
    for (int shape : {0, 2}) {
        router.Route(785 + shape);
        EXPECT_TRUE(checked(785 + shape));
        EXPECT_FALSE(enabled(607));
        EXPECT_EQ(text(607), QString());
    }
}

TEST_F(CommandTest, PaperSizeBoxesOnlyForCustomPaper)
{
    for (int code : {0, 9, 255, 256, 300}) {
        label().SetPaperCode(code);
        EXPECT_EQ(enabled(798), code == 0 || code >= 256) << code;
        EXPECT_EQ(enabled(799), code == 0 || code >= 256) << code;
    }
    // Greyed boxes show the chosen standard paper, not the stored custom size.
    label().SetPaperCode(9); // A4
    EXPECT_EQ(text(798), "210 mm");
    EXPECT_EQ(text(799), "297 mm");
    label().SetPaperCode(256);
    type(798, "150 mm");
    EXPECT_EQ(doc->GetPaperWidth(), 150000);
    EXPECT_TRUE(doc->IsModified());

    label().SetOrientation(1);
    EXPECT_TRUE(checked(605));
    EXPECT_FALSE(checked(606));
    router.Route(606);
    EXPECT_EQ(label().GetOrientation(), 2);
    EXPECT_TRUE(checked(606));
    EXPECT_FALSE(checked(605));
}

TEST_F(CommandTest, HeaderAndFooterBoxesFollowTheirEnableButtons)
{
    EXPECT_FALSE(enabled(814));
    EXPECT_FALSE(checked(821));
    router.Route(821);
    EXPECT_TRUE(doc->HasLabelPart(2));
    EXPECT_TRUE(checked(821));
    EXPECT_TRUE(enabled(819));
    type(820, "12 mm");
    EXPECT_EQ(label().GetHeight(2), 12000);
    EXPECT_FALSE(enabled(815));

    doc->ToggleModuleMarking();
    EXPECT_FALSE(enabled(816));
    doc->GetCurrentTemplate().SetLabel(nullptr);
    EXPECT_FALSE(enabled(816));
    EXPECT_FALSE(checked(816));
}

TEST_F(CommandTest, CompanionFilesKeepOnlyTheFileName)
{
    label().SetPictureFile("old.png");
    ui.fileNames = {QStringLiteral("/somewhere/else/pic.png")};
    router.Route(836);
    EXPECT_EQ(label().GetPictureFile(), "pic.png");
    const FileDialogRequest& request = ui.fileDialogs.at(0).request;
    EXPECT_EQ(request.initialName, "old.png");
    EXPECT_TRUE(request.folder.endsWith("Label images/"));
    EXPECT_TRUE(doc->IsModified());

    ui.fileNames = {QStringLiteral("/x/") + QString(300, u'n') + QStringLiteral(".pdf")};
    router.Route(837);
    EXPECT_EQ(label().GetInfoFile(), "");
    EXPECT_EQ(ui.messages.size(), 1u);
    ui.fileNames = {QStringLiteral("/x/info.pdf")};
    router.Route(837);
    EXPECT_EQ(label().GetInfoFile(), "info.pdf");

    ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
    router.Route(935);
    EXPECT_EQ(label().GetPictureFile(), "pic.png");
    router.Route(935);
    EXPECT_EQ(ui.questions.back().message.text, "Remove image file and info file filenames for this label?");
    EXPECT_EQ(label().GetPictureFile(), "");
    EXPECT_EQ(label().GetInfoFile(), "");
    EXPECT_FALSE(enabled(935));
}

TEST_F(CommandTest, FamilyBoxListsEveryFamilyOnceSorted)
{
    CLabelManager catalogue;
    catalogue.AddFamily("beta");
    catalogue.AddFamily("Alpha");
    view->SetCatalogue(&catalogue);
    ribbon->SetComboItems(cmd::kFamilyCombo, {"beta", "Alpha"});
    type(cmd::kFamilyCombo, "Gamma");
    type(cmd::kFamilyCombo, "Alpha");
    EXPECT_EQ(label().GetFamilyName(), "Alpha");
    QComboBox* combo = ribbon->FindCombo(cmd::kFamilyCombo);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, (QStringList{"Alpha", "beta", "Gamma"}));
}

TEST_F(CommandTest, EngravingOptionsChangeTheTemplate)
{
    const CTemplate& t = doc->GetCurrentTemplate();
    router.Route(862);
    EXPECT_TRUE(t.IsPrintLabelBorders());
    EXPECT_TRUE(doc->IsModified());
    router.Route(863);
    EXPECT_TRUE(t.GetBorderOption());
    EXPECT_TRUE(checked(863));
    type(865, "0.5 mm");
    EXPECT_EQ(t.GetBorderWidth(), 500);
    doc->SetModifiedFlag(false);
    auto* button = qobject_cast<QToolButton*>(ribbon->ElementWidgets(864).at(0));
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
    for (int id : {862, 863, 864, 865, 903, 241, 807})
        EXPECT_FALSE(enabled(id)) << id;
}

} // namespace
