#pragma once
// What a print run of the project document shares with the print driver of
// the shell: the options of the print dialog's own page, the job's print
// information, what the document asks of the printer before the dialog,
// and the print run itself: its state and its page and label steps.
#include "platform/printersettings.h"
#include "platform/windef.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The options of the print dialog's own page.
struct PrintOptionsRecord {
    int32_t size = 36;
    int32_t reverse = 0;
    int32_t sortVertical = 0;
    int32_t topCompensation = 0;  // um
    int32_t leftCompensation = 0; // um
    // Positive: a count. -1..-26: the count is read from table column A..Z
    // of the row. 0: once.
    int32_t repeat = 0;
    int32_t firstLabel = 1; // 1-based sheet position of the first label
    int32_t sets = 1;
    uint8_t pageBreakOnNewSet = 0;
};

enum class PrintRange { All, Labels, Selection };

// The framework's print information of one job.
struct CPrintInfo {
    static constexpr int kOpenEnd = 0xFFFE;    // a job of open length
    static constexpr int kEndAfterPage = 0xFFFF; // a job of unknown length ends after this page

    PrintOptionsRecord options;
    PrintRange range = PrintRange::All;
    int fromPage = 1; // Labels from F ...
    int toPage = 1;   // ... to T
    int minPage = 1;
    int maxPage = 1;
    int currentPage = 1;
    bool continuePrinting = true;
    bool takeCopiesFromSettings = true;
    std::string deviceName; // the printer the dialog names (cp1252); empty: none
};

// The printer of the print dialog, as the document sees it before the
// dialog opens.
class CPrinterSetupAccess {
public:
    virtual ~CPrinterSetupAccess() = default;
    // The printer's name (cp1252); empty when there is none.
    virtual std::string DeviceName() const = 0;
    virtual bool HasSettings() const = 0;
    // Applies settings captured by this program on Linux.
    virtual void ApplySetup(const LinuxPrinterSetup& setup) = 0;
    // Whether the printer offers a paper of that code and size (um).
    virtual bool SupportsPaper(int paperCode, int32_t widthUm, int32_t lengthUm) const = 0;
    virtual void SetOrientation(int orientation) = 0; // 1 portrait, 2 landscape
};

// The state of a running print job (not stored). Rows are 1-based table
// rows (label numbers); a range end of -1 means the selection.
struct PrintRunState {
    bool reverse = false;
    int setsDone = 1;
    int skipCounter = 1;
    int firstLabel = 1;
    int rangeStart = 1;
    int currentRow = 1;
    int rangeEnd = 1;
    int lowestLabel = 1;
    int highestLabel = 1;
    int drawRow = 1;
    bool endOfRun = false;
    bool newSetStarted = false;
    int repeatCounter = 0;
    int dpiX = 0;
    int dpiY = 0;
    POINT printingOffset{};
    bool selection = false; // the dialog's Selection range
    bool rangeOnly = false; // the dialog's Labels range
    bool aborted = false;   // a label could not be drawn
    // With the Selection range: the first and last selected table rows
    // (1-based, -1 for none), found once per run.
    int firstSelected = -1;
    int lastSelected = -1;
    int labelsPrinted = 0;
};

class CDC;
class CRowSelection;
class CSheetPainter;
class CVorteplanSoftLabelDoc;
struct SheetPosition;

// One print run of the current template of a project document: its state
// and its page and label steps. The run keeps the rows, repeats, sets and
// pages; the sheet painter (sheetpainter.h) walks the positions of a page
// and paints them. The document's print operations hand over to the run;
// the reverse order outlives a run, as the print dialog offers the last
// run's order again.
class CPrintRun {
public:
    explicit CPrintRun(CVorteplanSoftLabelDoc& doc) : m_doc(doc) {}
    CPrintRun(const CPrintRun&) = delete;
    CPrintRun& operator=(const CPrintRun&) = delete;

    // After the dialog, and after the options went to the template: the run
    // state, the first label and the row range. `selection` is the table
    // view's selection (null when printing does not start from there).
    // False when nothing is to be printed (the user has been told).
    bool Begin(CDC& dc, CPrintInfo& info, const CRowSelection* selection, POINT printingOffset);
    // One page: header and footer, then labels until the page is full or
    // the run ends. Sets info.maxPage to kEndAfterPage when this page is
    // the last one.
    void PrintPage(CDC& dc, CPrintInfo& info);
    // The next (previous) row of the range; false when there is none.
    bool NextRow(bool selection, int& row, int rangeEnd) const;
    bool PreviousRow(bool selection, int& row, int rangeEnd) const;

    const PrintRunState& State() const { return m_state; }
    bool IsReverse() const { return m_state.reverse; }
    void SetReverse(bool on) { m_state.reverse = on; }

private:
    void setUpRowRange(const CPrintInfo& info);
    // One sheet position: the current row painted there, then on to the
    // next repeat, row or set. False ends the page (and the run, when the
    // label could not be drawn).
    bool PrintLabel(CSheetPainter& painter, CDC& dc, const SheetPosition& p);
    int repeatCount() const;
    // The row after the last of the range has been printed: the next set,
    // or the end of the run. False ends the page.
    bool nextSet();

    CVorteplanSoftLabelDoc& m_doc;
    PrintRunState m_state;
    const CRowSelection* m_selection = nullptr;
};

// A length as typed: a number (the user's decimal separator) and the unit
// mm, cm or in (any case), the space between them optional. The value is
// rounded to the nearest micrometre; nothing for another unit, a missing
// number or unit, or a value outside the 32-bit range.
std::optional<int32_t> ParsePrintLength(std::string_view text);
// "%g mm" of a length in um.
std::string FormatPrintLength(int32_t um);

// The options page's rules for its edits.
namespace printoptions {
// Repeat as shown: the count, the column letter for -1..-26, empty for 0.
std::string RepeatText(int32_t repeat);
// Repeat as read back: a letter A..Y (either case) names a column, else a
// decimal number, else 0.
int32_t ParseRepeat(std::string_view text);
// First label: an unsigned number (0 for none).
int32_t ParseFirstLabel(std::string_view text);
// Sets: a number of 0 or less, or no number, gives 1.
int32_t ParseSets(std::string_view text);
// A spin step: the value minus the spin's delta, at least 1.
int32_t SpinValue(int32_t current, int32_t delta);
} // namespace printoptions
