// The filter dialog over a real document: clicks, arrow keys and typing in
// the matrix change the filter at once and the table is filtered again.
#include "content/tables/datatablefilter.h"
#include "document/project/projectdoc.h"
#include "platform/recordingui.h"
#include "tables/dialogs/tablefilterdlg.h"
#include "tables/grid/gridctrl.h"
#include "support/gridtest.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TableFilterDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* const fruit[] = {"apple", "banana", "cherry", "anchovy"};
        for (int r = 0; r < 4; ++r) {
            doc.SetTableCellText(fruit[r], r, 0);
            doc.SetTableCellText(std::to_string(r), r, 1);
        }
        doc.SetupTableFilter();
        doc.EnableTableFilter();
        ASSERT_TRUE(doc.IsTableFilterEnabled());
        open();
    }
    void open()
    {
        dialog = new CTableFilterDlg(doc, filter()->GetMarkingType());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.data()));
        QApplication::setActiveWindow(dialog);
        grid()->setFocus();
    }
    void TearDown() override { delete dialog.data(); }

    CDataTableFilter* filter() { return doc.GetFilter(doc.GetCurrentTableIndex()); }
    CGridCtrl* grid() { return dialog->Grid(); }
    QLineEdit* editor() { return qobject_cast<QLineEdit*>(grid()->InPlaceEditor()); }
    std::string text(int row, int column)
    {
        std::string t;
        dialog->GetDispInfo(row, column, t);
        return t;
    }

    CRecordingUi ui;
    UiScope scope{ui};
    CVorteplanSoftLabelDoc doc;
    QPointer<CTableFilterDlg> dialog;
};

} // namespace

TEST_F(TableFilterDlgTest, ClicksArrowsAndTypingToggleMarksAndRefilter)
{
    // The first include text, "an", typed as the argument of grid row 6.
    gridtest::click(*grid(), 6, 1);
    QTest::keyClick(grid(), Qt::Key_A);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), "n");
    QTest::keyClick(editor(), Qt::Key_Return);
    if (editor())
        QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(doc.GetFilterFieldText(5), "an");
    EXPECT_EQ(text(6, 1), "an");
    EXPECT_EQ(doc.GetTableRowCount(), 4);

    // A click on its mark for column A: only rows with "an" in A pass.
    gridtest::click(*grid(), 6, 2);
    EXPECT_TRUE(doc.GetFilterColumnFlag(5, 0));
    EXPECT_EQ(text(6, 2), "x");
    EXPECT_EQ(doc.GetTableRowCount(), 2);
    EXPECT_EQ(doc.GetTableCellText(0, 0), "banana");
    EXPECT_TRUE(doc.IsModified());
    // A second click toggles it back.
    gridtest::click(*grid(), 6, 2);
    EXPECT_FALSE(doc.GetFilterColumnFlag(5, 0));
    EXPECT_EQ(doc.GetTableRowCount(), 4);

    // The arrow key moving onto a mark cell toggles it.
    QTest::keyClick(grid(), Qt::Key_Left);
    QTest::keyClick(grid(), Qt::Key_Right);
    EXPECT_TRUE(doc.GetFilterColumnFlag(5, 0));
    EXPECT_EQ(doc.GetTableRowCount(), 2);
    // Typing into a mark cell toggles it and opens no editor.
    QTest::keyClick(grid(), Qt::Key_X);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_FALSE(doc.GetFilterColumnFlag(5, 0));
    EXPECT_EQ(doc.GetTableRowCount(), 4);

    // Editing the argument re-filters with the new text.
    gridtest::click(*grid(), 6, 2);
    ASSERT_EQ(doc.GetTableRowCount(), 2);
    gridtest::click(*grid(), 6, 1);
    QTest::keyClick(grid(), Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    editor()->setText("che");
    QTest::keyClick(editor(), Qt::Key_Return);
    if (editor())
        QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(doc.GetFilterFieldText(5), "che");
    EXPECT_EQ(doc.GetTableRowCount(), 1);
    EXPECT_EQ(doc.GetTableCellText(0, 0), "cherry");

    // "Show column" off for B drops the column from the filtered table.
    gridtest::click(*grid(), 1, 3);
    EXPECT_FALSE(doc.GetFilterColumnFlag(0, 1));
    EXPECT_EQ(doc.GetTableCellText(0, 1), "");
}

TEST_F(TableFilterDlgTest, TheMarkingTypeIsKeptInTheFilter)
{
    QComboBox* box = dialog->MarkingTypeBox();
    ASSERT_EQ(box->count(), 7);
    EXPECT_EQ(box->itemText(0), QString());
    EXPECT_EQ(box->itemText(1), QStringLiteral("Wire"));
    EXPECT_EQ(box->itemText(6), QStringLiteral("Other"));
    EXPECT_EQ(box->currentIndex(), 0);
    box->setCurrentIndex(4);
    EXPECT_EQ(filter()->GetMarkingType(), 4);

    // Close clears every pointer to the dialog; a new one shows the choice.
    QTest::mouseClick(dialog->findChild<QPushButton*>("close"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    open();
    EXPECT_EQ(dialog->MarkingTypeBox()->currentIndex(), 4);
    // Escape and the window's close box end it just as well.
    QTest::keyClick(dialog.data(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    open();
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    open();
    EXPECT_FALSE(dialog.isNull());
}

TEST_F(TableFilterDlgTest, TheDialogIsAsLargeAsItsMatrix)
{
    // The matrix shows whole as far as the screen allows: no empty band
    // below it, no scrolling on a screen that has the room.
    const QSize room = QGuiApplication::primaryScreen()->availableGeometry().size() * 9 / 10;
    const QSize all = grid()->ContentSize(QSize(100000, 100000));
    EXPECT_LE(grid()->viewport()->height(), grid()->GetVirtualHeight());
    EXPECT_GE(grid()->height(), std::min(all.height(), room.height()));
    EXPECT_GE(grid()->width(), std::min(all.width(), room.width()));
    if (const QString shots = qEnvironmentVariable("VSL_SCREENSHOT"); !shots.isEmpty())
        dialog->grab().save(shots + QStringLiteral("/filter-dialog.png"));
}
