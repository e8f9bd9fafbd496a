// The text import sheet shows all its pages' tabs without scroll arrows
// and is no larger than its largest page needs.
#include "tables/import/textimportsheet.h"

#include "platform/codepage.h"

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

TEST(TextImportSheet, EveryTabShowsWithoutScrollArrowsAndNoPageIsOversized)
{
    CTextImportSheet sheet(codepage::kAnsi);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    auto* tabs = sheet.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    QTabBar* bar = tabs->tabBar();
    // Every tab lies inside the bar: no scroll arrows needed.
    for (int i = 0; i < bar->count(); ++i)
        EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << i;
    // The sheet is the size its contents ask for.
    EXPECT_LE(sheet.width(), sheet.sizeHint().width() + 1);
    EXPECT_LE(sheet.height(), sheet.sizeHint().height() + 1);
    if (const QString shots = qEnvironmentVariable("VSL_SCREENSHOT"); !shots.isEmpty())
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            sheet.grab().save(shots + QStringLiteral("/text-import-%1.png").arg(i));
        }
}
