#include "tables/import/excelselectsheetdlg.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ExcelSelectSheetDlg, ListsSheetsAndNeedsASelection)
{
    CExcelSelectSheetDlg dlg;
    bool stayedOpen = false;
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_EQ(dlg.list()->count(), 2);
        EXPECT_EQ(dlg.list()->item(1)->text(), QString::fromUtf8("Blatt \u20AC"));
        dlg.accept(); // nothing selected: stays open
        stayedOpen = dlg.isVisible();
        dlg.list()->setCurrentRow(1);
        dlg.accept();
    });
    EXPECT_EQ(dlg.ChooseSheet({"First", "Blatt \x80"}), std::optional<int>(1));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dlg.windowTitle(), "Select Excel worksheet ");

    QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });
    EXPECT_EQ(dlg.ChooseSheet({"A", "B"}), std::nullopt);
}
