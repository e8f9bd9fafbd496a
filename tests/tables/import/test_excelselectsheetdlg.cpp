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

TEST(ExcelSelectSheetDlg, ShowsNamesInTheTablesCodePage)
{
    // A Cyrillic table: the import gives the names in code page 1251.
    CExcelSelectSheetDlg dlg(nullptr, 1251);
    QString shown;
    QTimer::singleShot(0, &dlg, [&] {
        shown = dlg.list()->item(0)->text();
        dlg.reject();
    });
    EXPECT_EQ(dlg.ChooseSheet({"\xC6"}), std::nullopt);
    EXPECT_EQ(shown, QString(QChar(0x0416)));
}
