#pragma once
// The one painter of a printed sheet: the print run and the preview paint
// their pages through it, so that the paper shows what the screen showed.
// For a device mapping it paints the header and footer, and walks the label
// positions of the sheet in the fill order, painting at each the label's
// area, its marker borders and its printed outline or corners, and around
// the positions painted in each block the cut lines. Which label number
// goes where and when a page ends is the caller's: the print run keeps its
// rows, repeats and sets; the preview shows the sheet of the current row.
#include "document/print/sheetlayout.h"
#include "document/project/areadraw.h"
#include "platform/windef.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

class CDC;
class CLabel;
class CTemplate;
class CVorteplanSoftLabelDoc;

// Where the paper lies on a device, and how finely it is drawn there.
struct SheetMapping {
    int resolutionX = 0; // device pixels per inch across
    int resolutionY = 0; // and down
    POINT origin{};      // the device point of the paper's top-left corner
    int zoom = 100;      // percent handed to the area drawing
    // The printer compensation (um): everything printed, header, footer,
    // labels and cut lines, moves by it on the paper.
    SheetPoint compensation{};

    // A printer's page: the device starts at the printing offset, so the
    // paper's corner lies that far before the device's.
    static SheetMapping Printer(int dpiX, int dpiY, POINT printingOffset, SheetPoint compensation = {});
    // A window: `scale` pixels per inch both ways, the objects drawn at
    // `zoom` percent of the screen's resolution.
    static SheetMapping Screen(int scale, int zoom, POINT origin);

    // The device place of a paper place, and device lengths of paper lengths.
    int32_t X(int64_t um) const;
    int32_t Y(int64_t um) const;
    POINT ToDevice(const SheetPoint& p) const { return POINT{X(p.x), Y(p.y)}; }
    int32_t Width(int64_t um) const;
    int32_t Height(int64_t um) const;
};

// What a page is painted with besides the mapping.
struct SheetPaintOptions {
    // Handed to every area drawing: the flags, the resolution of the
    // barcode check, the rows to print. Origin, zoom and label number are
    // set for each place.
    AreaDrawRequest area;
    // The preview's marks: the outline of every part, the current label in
    // yellow and the current module of a marker strip (0: none).
    bool outlines = false;
    int64_t currentLabel = 0;
};

class CSheetPainter {
public:
    static constexpr COLORREF kCurrentLabelColor = RGB(255, 255, 0);

    // How a walk goes on after a position.
    enum class Step {
        Next,   // painted; on to the next position
        Last,   // painted; the page ends here
        Failed, // a drawing failed: the page ends without cut lines
    };
    enum class WalkEnd { Done, Stopped, Failed };
    // The positions a walk visits: from a place of the fill order on, only
    // those near a device rectangle when one is given, at most a number of
    // them.
    struct Walk {
        int64_t firstIndex = 0;
        std::optional<RECT> window;
        int64_t maxPositions = std::numeric_limits<int64_t>::max();
    };
    using Visit = std::function<Step(const SheetPosition&)>;

    // The painter reads the document's current template while it lives;
    // the layout must be of that template's label definition.
    CSheetPainter(CVorteplanSoftLabelDoc& doc, const CSheetLayout& layout, const SheetMapping& mapping,
                  const SheetPaintOptions& options);

    // The header and the footer, each when the definition has it, filled
    // for `labelNumber`. False when a drawing failed.
    bool PaintHeaderFooter(CDC& dc, int64_t labelNumber);
    // Area 1 or 2 at its place on the paper.
    bool DrawHeaderFooterArea(CDC& dc, int area, int64_t labelNumber);
    // One label at a position, filled for `number`. False when its drawing
    // failed.
    bool PaintLabel(CDC& dc, const SheetPosition& p, int64_t number);
    // Visits the positions of `walk` in the fill order; `visit` paints each
    // (through PaintLabel) and says how to go on. The cut lines frame the
    // positions visited in each block.
    WalkEnd PaintLabels(CDC& dc, const Walk& walk, const Visit& visit);

    // The printed border of the label whose top-left corner is at `at`
    // (device pixels): its outline, or only its corner arcs.
    void DrawPrintedLabelOutline(CDC& dc, POINT at) const;
    void DrawPrintedLabelCorners(CDC& dc, POINT at) const;

private:
    struct Range {
        int64_t first = 0;
        int64_t last = -1;
    };
    // A label's size on the device, and how far outside a window it may
    // lie and still be painted.
    struct Nearby {
        int64_t width = 0;
        int64_t height = 0;
        int64_t reach = 0;
    };
    Nearby nearby() const;
    // The columns, and the rows of a block, near a window (all without one).
    Range visibleColumns(const std::optional<RECT>& window) const;
    Range visibleRows(int block, const std::optional<RECT>& window) const;
    void drawMarkerBorders(CDC& dc, POINT at) const;
    void drawCutLines(CDC& dc, int block, const SheetPosition& first, const SheetPosition& last,
                      const SheetSpan& span) const;

    CVorteplanSoftLabelDoc& m_doc;
    const CTemplate& m_tpl;
    const CSheetLayout& m_layout;
    const CLabel& m_label;
    SheetMapping m_mapping;
    SheetPaintOptions m_options;
};
