#pragma once
// What a drawing knows about the label it draws: which label of the run,
// the data table and column map its table texts and pictures come from,
// whether the design view shows placeholders instead, and who draws. The
// collection hands one of these down to every object, and the objects hand
// it on to their text parts, symbologies and pictures.
#include <string>

class CDataTableBase;
class CDataTableMap;

// Who draws (DrawContext::flags).
enum DrawFlags : int {
    kDrawDesign = 1,        // design view (multi-line texts remember their device font)
    kDrawPreview = 2,       // print preview
    kDrawPrinting = 4,      // printing
    kDrawLabelNumbers = 8,  // add the label number to table placeholders
};

struct DrawContext {
    int labelNumber = -1;                  // 1-based label number (1 = table row 0); -1 none
    int flags = 0;                         // DrawFlags
    const CDataTableBase* table = nullptr; // may be null
    const CDataTableMap* columnMap = nullptr; // may be null: the table's own column order
    bool placeholder = false;              // show data-source placeholders (design view)

    // The column of the table that shows `column` (see CDataTableMap::IndexOf);
    // `column` itself without a map; -1 when no column shows it.
    int TableColumn(int column) const;
    // The cell of `column` (looked up as TableColumn does) in the label's
    // row; empty without a table, a row (label number below 1) or a column.
    std::string CellText(int column) const;
};
