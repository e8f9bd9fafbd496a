#pragma once
// A host for table views shown without a main frame (tests and
// benchmarks): it asks nothing and offers nothing.
#include "tables/tableviewhost.h"

#include <string>

struct QuietTableHost : CTableViewHost {
    std::string CharSetBoxText() const override { return {}; }
    void ShowCharSetBoxText(const std::string&) override {}
    void ShowContextMenu(QWidget*, QPoint) override {}
    void Print(QWidget*) override {}
    bool LinkImages(QWidget*, const std::string&) override { return false; }
    void DeleteTable() override {}
    void ToggleStackedWindows() override {}
    bool IsStackedWindows() const override { return false; }
    void SetSelectionPaneText(const QString&) override {}
};
