#pragma once
// What the design view, the preview and the print run ask of the document
// when they draw one area of the current template.

// The table rows the user selected in the table view, for printing only
// the selection. Rows are 0-based table rows.
class CRowSelection {
public:
    virtual ~CRowSelection() = default;
    virtual bool IsRowSelected(int row) const = 0;
};

struct AreaDrawRequest {
    int zoom = 100;          // percent
    int originX = 0;         // device pixels added to every coordinate
    int originY = 0;
    bool borders = false;    // the caller allows the template's field contours
    int labelNumber = -1;    // first label number asked for (1 = table row 0); <= 0 none
    int flags = 0;           // DrawFlags
    int resolutionX = -1;    // barcode cut check resolution; negative = off
    int resolutionY = -1;
    bool placeholder = false; // show field codes instead of table texts
    // Module-marking bands: print only the selected rows ...
    const CRowSelection* selection = nullptr;
    // ... or only the label numbers rangeFirst..rangeLast.
    bool rangeOnly = false;
    int rangeFirst = 0;
    int rangeLast = 0;
};
