// The table view inside the main frame: its commands on the route, the
// status pane, the character-set box and Delete table through the host.
#include "support/project_fixture.h"
#include "support/print_sheet.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "shell/application/contextmenus.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/mainframetableviewhost.h"
#include "shell/tableviewcommandtarget.h"
#include "tables/grid/gridctrl.h"
#include "tables/view/vorteplansofttableview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

class TableViewHostTest : public projtest::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        ASSERT_TRUE(frame.Create());
        router.SetActiveViewProvider([this] { return target.get(); });
        router.SetApplicationTarget(&app);
        view = std::make_unique<CVorteplanSoftTableView>(&doc, &host);
        view->resize(400, 300);
        target = std::make_unique<CTableViewCommandTarget>(*view);
    }
    void TearDown() override
    {
        target.reset();
        view.reset();
        ProjectTest::TearDown();
    }

    CCommandRouter router;
    CMainFrame frame{router};
    CContextMenuManager menus{router};
    CMainFrameTableViewHost host{frame, router, menus};
    CCmdTarget app;
    CVorteplanSoftLabelDoc doc;
    std::unique_ptr<CVorteplanSoftTableView> view;
    std::unique_ptr<CTableViewCommandTarget> target;
};

} // namespace

TEST_F(TableViewHostTest, CommandsAndStatesGoThroughTheRouter)
{
    doc.GetTable(0)->SetCellText(0, 0, "x");
    view->UpdateGridRows();
    EXPECT_TRUE(router.Update(cmd::kSortAscending).IsEnabled());
    EXPECT_TRUE(router.Update(cmd::kSequence).IsEnabled()) << "the sequence dialog claims it";
    EXPECT_TRUE(router.Update(cmd::kFilePrint).IsEnabled());
    EXPECT_TRUE(router.Update(cmd::kLinkImage).IsEnabled()); // the link-image dialog
    view->Grid()->SetFocusCell(1, 1);
    view->ItemChanged(1, 1);
    EXPECT_TRUE(router.Execute(cmd::kInsertRow));
    EXPECT_EQ(doc.GetTableCellText(1, 0), "x");

    view->Grid()->SetSelectedRange(CCellRange(1, 1, 2, 26));
    EXPECT_EQ(router.Update(cmd::kStatusPane2).GetText(), QString("2 rows selected"));
    frame.UpdateCommandUI();
    EXPECT_EQ(frame.StatusPane(cmd::kStatusPane2)->text(), "2 rows selected");
}

TEST_F(TableViewHostTest, CharacterSetBoxAndDeleteTable)
{
    frame.Ribbon()->SetEditText(cmd::kCharSetBox, QStringLiteral("Cyrillic"));
    EXPECT_EQ(host.CharSetBoxText(), "Cyrillic");
    EXPECT_TRUE(router.Execute(cmd::kCharSetBox));
    EXPECT_EQ(view->Grid()->CodePage(), 1251);
    EXPECT_EQ(router.Update(cmd::kCharSetBox).GetText(), QString("Cyrillic"));

    int deletes = 0;
    app.OnCommand(cmd::kDeleteTable, [&deletes] { ++deletes; });
    QCloseEvent close;
    QApplication::sendEvent(view.get(), &close);
    EXPECT_EQ(deletes, 1);
    host.SetSelectionPaneText(QStringLiteral("One row selected"));
    EXPECT_EQ(frame.StatusPane(cmd::kStatusPane2)->text(), "One row selected");
}

TEST_F(TableViewHostTest, PrintPresetsTheSelectionForWholeRowsOfTableData)
{
    printtest::BuildSheet(doc, 5);
    view->UpdateGridRows();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("p.pdf"));
    std::vector<QPrinter::PrintRange> ranges;
    host.SetPrintHooks(&printer, [&ranges](QPrintDialog& dialog) {
        ranges.push_back(dialog.printer()->printRange());
        EXPECT_EQ(dialog.testOption(QAbstractPrintDialog::PrintSelection),
                  dialog.printer()->printRange() == QPrinter::Selection);
        return false;
    });
    view->Grid()->SetSelectedRange(CCellRange(2, 1, 3, 26));
    EXPECT_TRUE(view->PreselectPrintSelection());
    EXPECT_TRUE(router.Execute(cmd::kFilePrint));
    view->Grid()->SetSelectedRange(CCellRange(2, 1, 3, 2));
    EXPECT_TRUE(router.Execute(cmd::kFilePrint));
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0], QPrinter::Selection);
    EXPECT_EQ(ranges[1], QPrinter::AllPages);
    EXPECT_TRUE(view->IsRowSelected(1));
    EXPECT_FALSE(view->IsRowSelected(0));
}
