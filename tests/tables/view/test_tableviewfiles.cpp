// The table view's files: table import, filter files and enabling a filter.
#include "platform/commandids.h"
#include "support/tableview_fixture.h"

#include <gtest/gtest.h>

using tableviewtest::TableViewTest;

TEST_F(TableViewTest, ImportTableIsOneUndoStepAndCancelChangesNothing)
{
    fillColumn(3, "t");
    ASSERT_TRUE(doc.WriteTbfFile(path("t.tbf")));
    table().RemoveAllRows();
    view->UpdateGridRows();
    m_ui.fileNames = {std::nullopt, path("t.tbf")};
    view->RunCommand(cmd::kImportTable);
    EXPECT_EQ(doc.GetTableRowCount(), 0);
    EXPECT_EQ(m_ui.fileDialogs.at(0).request.filter, "Table files |*.tbl;*.tbf||");
    EXPECT_EQ(m_ui.fileDialogs.at(0).request.defaultExtension, "tbl");
    const int before = undoDepthUsed();
    view->RunCommand(cmd::kImportTable);
    EXPECT_EQ(cell(2, 0), "t2");
    EXPECT_EQ(undoDepthUsed(), before + 1);
    EXPECT_GE(grid().GetRowCount(), 14);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(TableViewTest, ImportTableSaysWhyAFileIsNotRead)
{
    fillColumn(2, "t");
    writeFile(path("text.tbl"), "just some text\r\n");
    doc.SetModifiedFlag(false);
    m_ui.fileNames = {path("text.tbl"), path("gone.tbl"), path("gone.tbf")};
    for (int i = 0; i < 3; ++i)
        view->RunCommand(730);
    ASSERT_EQ(m_ui.messages.size(), 3u);
    EXPECT_EQ(m_ui.messages[0].text, "Corrupt file or wrong file version");
    EXPECT_EQ(m_ui.messages[1].text, "Can not open file " + path("gone.tbl").toStdString());
    EXPECT_EQ(m_ui.messages[2].text, "Can not open file " + path("gone.tbf").toStdString());
    EXPECT_EQ(doc.GetTableRowCount(), 2);
    EXPECT_EQ(cell(1, 0), "t1");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(TableViewTest, FilterFilesRoundTripAndEnableAsksFirst)
{
    fillColumn(3, "f");
    table().SetCellText(0, 1, "b");
    m_ui.answers = {MessageAnswer::No};
    view->RunCommand(cmd::kFilterEnable);
    EXPECT_EQ(doc.GetFilter(doc.GetCurrentTableIndex()), nullptr);
    EXPECT_EQ(m_ui.questions.at(0).message.text,
              "The table does not have a filter yet, do you want to insert a filter?");
    EXPECT_FALSE(view->CommandState(cmd::kFilterEnable).checked.value_or(true));

    m_ui.answers = {MessageAnswer::Yes};
    view->RunCommand(cmd::kFilterEnable);
    EXPECT_TRUE(view->IsFilterEnabled());
    EXPECT_TRUE(view->CommandState(cmd::kFilterEnable).checked.value_or(false));
    doc.GetFilter(doc.GetCurrentTableIndex())->GetItem(0)->m_used = 0;

    m_ui.fileNames = {path("a.filter"), path("a.filter"), path("missing.filter")};
    view->RunCommand(cmd::kFilterStore);
    EXPECT_TRUE(QFile::exists(path("a.filter")));
    doc.GetFilter(doc.GetCurrentTableIndex())->GetItem(0)->m_used = 1;
    view->RunCommand(cmd::kFilterLoad);
    EXPECT_EQ(doc.GetSourceColumnIndex(0), 1) << "the loaded filter hides column A";
    std::string header;
    view->GetDispInfo(0, 1, header);
    EXPECT_EQ(header, "B");
    EXPECT_EQ(cell(0, 0), "b");
    view->RunCommand(cmd::kFilterLoad);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Can not open file missing.filter");
    // Enabling a table without a filter went through Setup, which opened the filter dialog.
    EXPECT_NE(view->FilterDialog(), nullptr);
}
