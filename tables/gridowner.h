#pragma once
// What a grid tells its owner, one call per list-view notification, in the
// order a grid sends them. Calls that can be refused answer an int: a
// negative answer refuses (a selection change, an edit) or undoes (an
// ended edit); 0 lets the grid go on. Cells are grid coordinates (row,
// column; -1 for none).
#include "tables/grid/griditem.h"

#include <string>

class CGridOwner {
public:
    virtual ~CGridOwner() = default;

    // The selection is about to change / has changed.
    virtual int ItemChanging(int /*row*/, int /*column*/) { return 0; }
    virtual int ItemChanged(int /*row*/, int /*column*/) { return 0; }
    // An edit of the cell is about to start; negative: no editor opens.
    virtual int BeginLabelEdit(int /*row*/, int /*column*/) { return 0; }
    // An edit ended with `text` (bytes in the grid's code page); negative:
    // the cell keeps its old text.
    virtual int EndLabelEdit(int /*row*/, int /*column*/, const std::string& /*text*/) { return 0; }
    // Virtual mode: the text of a cell to draw or measure.
    virtual int GetDispInfo(int /*row*/, int /*column*/, std::string& /*text*/) { return 0; }
    // The same with every attribute of the cell (filled from its default
    // cell beforehand); the plain form above fills only the text.
    virtual int GetDispInfoItem(CGridItem& item) { return GetDispInfo(item.row, item.col, item.text); }
    // Virtual mode: these cells are about to be read (-1s: done).
    virtual int OdCacheHint(int /*fromRow*/, int /*fromColumn*/, int /*toRow*/, int /*toColumn*/) { return 0; }
    virtual int ColumnClick(int /*column*/) { return 0; }
    virtual int BeginDrag(int /*row*/, int /*column*/) { return 0; }
    virtual int Click(int /*row*/, int /*column*/) { return 0; }
    virtual int DoubleClick(int /*row*/, int /*column*/) { return 0; }
    virtual int RightClick(int /*row*/, int /*column*/) { return 0; }
    // Around a change of many cells (the Delete key): take one table undo
    // snapshot now, then switch snapshots off and on again.
    virtual void SaveTableUndo() {}
    virtual void EnableTableUndo(bool /*on*/) {}
    // A command the grid posts (839: Delete without a focus cell).
    virtual void GridCommand(int /*id*/) {}
};
