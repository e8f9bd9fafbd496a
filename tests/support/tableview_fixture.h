#pragma once
// Shared set-up of the table view tests: a project document with its own
// settings, a recording host, and a shown view of 600 x 400 over it.
#include "support/project_fixture.h"
#include "document/project/projectdoc.h"
#include "tables/grid/gridctrl.h"
#include "tables/tableviewhost.h"
#include "tables/view/vorteplansofttableview.h"

#include <QApplication>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace tableviewtest {

class RecordingHost : public CTableViewHost {
public:
    std::vector<std::string> calls;
    std::string charSetBox = "English";
    QString pane;

    std::string CharSetBoxText() const override { return charSetBox; }
    void ShowCharSetBoxText(const std::string& name) override { calls.push_back("show charset " + name); }
    void ShowContextMenu(QWidget*, QPoint) override { calls.push_back("menu"); }
    void Print(QWidget*) override { calls.push_back("print"); }
    bool LinkImages(QWidget*, const std::string& filter) override
    {
        calls.push_back("link " + filter);
        return false;
    }
    void DeleteTable() override { calls.push_back("delete table"); }
    void ToggleStackedWindows() override { calls.push_back("stacked"); }
    bool IsStackedWindows() const override { return false; }
    void SetSelectionPaneText(const QString& text) override { pane = text; }
    int count(const std::string& prefix) const
    {
        int n = 0;
        for (const auto& c : calls)
            n += c.rfind(prefix, 0) == 0;
        return n;
    }
};

class TableViewTest : public projtest::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        view = std::make_unique<CVorteplanSoftTableView>(&doc, &host);
        view->resize(600, 400);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QApplication::setActiveWindow(view.get());
        view->Grid()->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        view.reset();
        ProjectTest::TearDown();
    }

    CGridCtrl& grid() { return *view->Grid(); }
    CDataTableBase& table() { return *doc.GetTable(doc.GetCurrentTableIndex()); }
    std::string cell(int row, int column) { return doc.GetTableCellText(row, column); }
    // Table rows 0..n-1 of column A: "<prefix><row>".
    void fillColumn(int n, const std::string& prefix = "r", int column = 0)
    {
        for (int i = 0; i < n; ++i)
            table().SetCellText(i, column, prefix + std::to_string(i));
        view->UpdateGridRows();
    }
    // The focus on a grid cell, as a click gives it.
    void focus(int row, int column)
    {
        grid().SetFocusCell(row, column);
        grid().SetSelectedRange(CCellRange(row, column, row, column));
        view->ItemChanged(row, column);
    }
    QPoint cellCentre(int row, int column)
    {
        RECT r;
        grid().GetCellRect(row, column, r);
        return QPoint(int((r.left + r.right) / 2), int((r.top + r.bottom) / 2));
    }
    void clickCell(int row, int column, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, mods, cellCentre(row, column));
        QApplication::processEvents();
    }
    int undoDepthUsed()
    {
        int n = 0;
        while (n < kTableSnapshotSlots && doc.GetTableSnapshot(doc.GetCurrentTableIndex(), n))
            ++n;
        return n;
    }
    // Hides column B by a filter and enables it.
    void filterHidingB()
    {
        auto filter = std::make_unique<CDataTableFilter>();
        filter->GetItem(1)->m_used = 0;
        const int slot = doc.GetCurrentTableIndex();
        doc.SetFilter(slot, std::move(filter), std::make_unique<CDataTableBase>());
        doc.EnableTableFilter();
        ASSERT_TRUE(doc.IsTableFilterEnabled());
    }

    CVorteplanSoftLabelDoc doc;
    RecordingHost host;
    std::unique_ptr<CVorteplanSoftTableView> view;
};

} // namespace tableviewtest
