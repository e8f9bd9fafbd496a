// The table view's dialogs opened by its commands: Sequence, Repeat, Setup
// filter and Import a text file, worked as a user would.
#include "support/tableview_fixture.h"

#include "platform/commandids.h"
#include "platform/settings.h"
#include "tables/dialogs/tablefilterdlg.h"
#include "tables/dialogs/tablerepeatdlg.h"
#include "tables/dialogs/tablesequencedlg.h"
#include "tables/import/textimportsheet.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using tableviewtest::TableViewTest;

namespace {

// Runs `act` on the modal dialog of type T once it is open.
template <class T>
void whenOpen(std::function<void(T&)> act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

QLineEdit* field(QWidget& d, const char* name)
{
    return d.findChild<QLineEdit*>(QLatin1String(name));
}

} // namespace

TEST_F(TableViewTest, SequenceAndRepeatFillThroughTheirDialogs)
{
    CTableSequenceDlg::ResetRemembered();
    for (int id : {731, 741, 804, 805})
        EXPECT_TRUE(view->CommandState(id).enabled) << id;
    fillColumn(6, "a", 1);
    focus(2, 2);
    whenOpen<CTableSequenceDlg>([](CTableSequenceDlg& d) {
        EXPECT_EQ(field(d, "cell")->text(), QStringLiteral("B2"));
        field(d, "start")->setText("8");
        field(d, "stop")->setText("10");
        field(d, "prefix")->setText("X");
        d.accept();
    });
    const int before = undoDepthUsed();
    view->RunCommand(cmd::kSequence);
    EXPECT_EQ(cell(1, 1), "X8");
    EXPECT_EQ(cell(2, 1), "X9");
    EXPECT_EQ(cell(3, 1), "X10");
    EXPECT_EQ(cell(4, 1), "a4");
    EXPECT_EQ(undoDepthUsed(), before + 1);

    focus(2, 2);
    whenOpen<CTableRepeatDlg>([](CTableRepeatDlg& d) {
        EXPECT_EQ(field(d, "row")->text(), QStringLiteral("2"));
        EXPECT_EQ(field(d, "text")->text(), QStringLiteral("X8"));
        field(d, "copies")->setText("3");
        field(d, "text")->setText("R");
        d.accept();
    });
    view->RunCommand(cmd::kRepeat);
    EXPECT_EQ(cell(0, 1), "a0");
    EXPECT_EQ(cell(1, 1), "R");
    EXPECT_EQ(cell(3, 1), "R");
    EXPECT_EQ(cell(4, 1), "a4");

    // Cancel writes nothing and takes no undo step.
    const int depth = undoDepthUsed();
    whenOpen<CTableRepeatDlg>([](CTableRepeatDlg& d) { d.reject(); });
    view->RunCommand(cmd::kRepeat);
    EXPECT_EQ(undoDepthUsed(), depth);
    CTableSequenceDlg::ResetRemembered();
}

TEST_F(TableViewTest, SetupFilterOpensOneDialogAtATime)
{
    fillColumn(3, "f");
    m_ui.answers = {MessageAnswer::No};
    view->RunCommand(cmd::kFilterSetup);
    EXPECT_EQ(view->FilterDialog(), nullptr);
    EXPECT_EQ(doc.GetFilter(doc.GetCurrentTableIndex()), nullptr);

    m_ui.answers = {MessageAnswer::Yes};
    view->RunCommand(cmd::kFilterSetup);
    CTableFilterDlg* first = view->FilterDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    view->RunCommand(cmd::kFilterSetup);
    EXPECT_EQ(view->FilterDialog(), first);
    EXPECT_EQ(m_ui.questions.size(), 2u) << "a table with a filter is not asked again";

    QTest::mouseClick(first->findChild<QPushButton*>("close"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(view->FilterDialog(), nullptr);
    view->RunCommand(cmd::kFilterSetup);
    EXPECT_NE(view->FilterDialog(), nullptr);
    // The view takes an open dialog with it.
    QPointer<CTableFilterDlg> open = view->FilterDialog();
    view.reset();
    EXPECT_TRUE(open.isNull());
}

TEST_F(TableViewTest, ImportTextFileAppendsRows)
{
    fillColumn(2, "t");
    QFile file(path("in.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("p;q\r\nr;s\r\n");
    file.close();
    m_ui.fileNames = {path("in.txt")};
    whenOpen<CTextImportSheet>([](CTextImportSheet& s) {
        QTest::mouseClick(s.Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    view->RunCommand(cmd::kImportText);
    EXPECT_EQ(cell(2, 0), "p");
    EXPECT_EQ(cell(3, 1), "s");
    EXPECT_GE(grid().GetRowCount(), 4 + 11);
    EXPECT_TRUE(doc.IsModified());
}
