// The repeat dialog: the arrows that never go below 1, and the
// checks at OK.
#include "platform/recordingui.h"
#include "tables/dialogs/tablerepeatdlg.h"
#include "tables/dialogs/updownctrl.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QLineEdit* field(QWidget& d, const char* name)
{
    return d.findChild<QLineEdit*>(QLatin1String(name));
}

} // namespace

TEST(TableRepeatDlg, ArrowsNeverGoBelowOne)
{
    CRecordingUi ui;
    UiScope scope(ui);
    CTableRepeatDlg d;
    d.SetRow(2);
    d.show();
    auto* rows = d.findChild<CUpDownCtrl*>("rowArrows");
    QTest::mouseClick(rows->DownButton(), Qt::LeftButton);
    QTest::mouseClick(rows->DownButton(), Qt::LeftButton);
    QTest::mouseClick(rows->DownButton(), Qt::LeftButton);
    EXPECT_EQ(field(d, "row")->text(), QStringLiteral("1"));
    QTest::mouseClick(rows->UpButton(), Qt::LeftButton);
    EXPECT_EQ(field(d, "row")->text(), QStringLiteral("2"));
    field(d, "copies")->setText("-40");
    QTest::mouseClick(d.findChild<CUpDownCtrl*>("copiesArrows")->UpButton(), Qt::LeftButton);
    EXPECT_EQ(field(d, "copies")->text(), QStringLiteral("1"));
    field(d, "copies")->setText("junk");
    QTest::mouseClick(d.findChild<CUpDownCtrl*>("copiesArrows")->UpButton(), Qt::LeftButton);
    EXPECT_EQ(field(d, "copies")->text(), QStringLiteral("1"));
}

TEST(TableRepeatDlg, OkRefusesBadNumbers)
{
    CRecordingUi ui;
    UiScope scope(ui);
    CTableRepeatDlg d;
    d.show();
    field(d, "row")->setText("abc");
    d.accept();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Enter an integer.");
    EXPECT_EQ(d.focusWidget(), field(d, "row"));
    field(d, "row")->setText("3");
    field(d, "copies")->setText("0");
    d.accept();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Enter an integer between 1 and 2000000000.");
    EXPECT_EQ(d.focusWidget(), field(d, "copies"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.GetRow(), 1); // nothing taken from a refused OK
}
