#pragma once
// Helpers for the grid tests: an owner that records every notification,
// grids of a given shape shown on the offscreen screen, and clicks on cells.
#include "platform/dc.h"
#include "tables/grid/gridctrl.h"
#include "tables/gridowner.h"

#include <QApplication>
#include <QTest>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gridtest {

class RecordingOwner : public CGridOwner {
public:
    std::vector<std::string> calls;
    // Virtual mode: texts by data (row, column); the format the owner asks for.
    std::map<std::pair<int, int>, std::string> texts;
    uint32_t askedFormat = 0;
    bool recordDispInfo = false;

    void log(const std::string& what, int row, int col)
    {
        calls.push_back(what + " " + std::to_string(row) + "," + std::to_string(col));
    }
    int ItemChanging(int r, int c) override { log("changing", r, c); return 0; }
    int ItemChanged(int r, int c) override { log("changed", r, c); return 0; }
    int BeginLabelEdit(int r, int c) override { log("begin", r, c); return 0; }
    int EndLabelEdit(int r, int c, const std::string& text) override
    {
        log("end", r, c);
        calls.back() += " " + text;
        texts[{r, c}] = text;
        return 0;
    }
    int GetDispInfoItem(CGridItem& item) override
    {
        if (recordDispInfo)
            log("disp", item.row, item.col);
        if (askedFormat)
            item.format = askedFormat;
        if (auto it = texts.find({item.row, item.col}); it != texts.end())
            item.text = it->second;
        return 0;
    }
    int ColumnClick(int c) override { log("columnclick", -1, c); return 0; }
    int BeginDrag(int r, int c) override { log("begindrag", r, c); return 0; }
    int Click(int r, int c) override { log("click", r, c); return 0; }
    int DoubleClick(int r, int c) override { log("dblclick", r, c); return 0; }
    int RightClick(int r, int c) override { log("rclick", r, c); return 0; }
    void SaveTableUndo() override { calls.push_back("snapshot"); }
    void EnableTableUndo(bool on) override { calls.push_back(on ? "undo on" : "undo off"); }
    void GridCommand(int id) override { calls.push_back("command " + std::to_string(id)); }

    // Calls whose text starts with `prefix`.
    std::vector<std::string> only(const std::vector<std::string>& prefixes) const
    {
        std::vector<std::string> out;
        for (const auto& c : calls)
            for (const auto& p : prefixes)
                if (c.rfind(p, 0) == 0)
                    out.push_back(c);
        return out;
    }
};

// A normal-mode grid of `rows` x `cols` with one fixed row and column,
// columns 60 pixels wide, rows 20 high, shown at 400 x 300 with the focus.
inline std::unique_ptr<CGridCtrl> makeGrid(CGridOwner* owner, int rows = 6, int cols = 4, bool show = true)
{
    auto grid = std::make_unique<CGridCtrl>(owner);
    grid->resize(400, 300);
    grid->SetRowCount(rows);
    grid->SetColumnCount(cols);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    for (int c = 0; c < cols; ++c)
        grid->SetColumnWidth(c, 60);
    for (int r = 0; r < rows; ++r)
        grid->SetRowHeight(r, 20);
    grid->ResetScrollBars();
    if (show) {
        grid->show();
        (void)QTest::qWaitForWindowExposed(grid.get());
        QApplication::setActiveWindow(grid.get());
        grid->setFocus();
        QApplication::processEvents();
    }
    return grid;
}

// The centre of a cell in viewport coordinates.
inline QPoint cellCentre(const CGridCtrl& grid, int row, int col)
{
    RECT r;
    if (!grid.GetCellRect(row, col, r))
        return QPoint(-1, -1);
    return QPoint(int((r.left + r.right) / 2), int((r.top + r.bottom) / 2));
}

inline void click(CGridCtrl& grid, int row, int col, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, mods, cellCentre(grid, row, col));
}

// The grid drawn on a raster device context.
inline QImage render(CGridCtrl& grid)
{
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    grid.OnDraw(dc, RECT{0, 0, image.width(), image.height()});
    return image;
}

} // namespace gridtest
