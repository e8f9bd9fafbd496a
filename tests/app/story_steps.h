#pragma once
// The steps of the end-to-end story, shared by the offscreen run and the
// run under a real X server. Each step asserts what a user would see.
#include "story_fixture.h"

#include "platform/recordingui.h"

#include <string>
#include <vector>

namespace story {

inline constexpr char kStockLabel[] = "A4 - 70 x 37 mm (3 x 8).label";

// Label geometry of the stock A4 3 x 8 sheet (um).
inline constexpr int32_t kLabelWidth = 70000;
inline constexpr int32_t kLabelHeight = 37000;
inline constexpr int32_t kSheetTop = 500;

class StorySteps : public StoryTest {
protected:
    // Commands whose handlers were not there: their step ran the document
    // operation the command calls instead (listed in the test's output).
    std::vector<std::string> standIns;

    // Runs the command when some target on the route claims it; otherwise
    // runs `standIn` (what the command's handler would do) and notes it.
    void viaCommand(int id, const char* what, const std::function<void()>& standIn);
    bool claimed(int id) const;
    // Types into a ribbon box and sends its command, as Return does.
    void typeInBox(int id, const QString& text, const std::function<void()>& standIn);

    // 1: first start with `installed` as the user interface (`script`
    // answers its dialogs); the stock labels are in the user's folder and
    // listed.
    void firstStart(CUiServices& installed, CRecordingUi& script);
    // 2: a new project with the A4 3 x 8 stock label.
    CChildFrame* newProjectWithStockLabel();
    // "Select label" on the canvas of `child`: the A4 3 x 8 stock label.
    void selectStockLabel(CChildFrame* child);
    // 3: a text of column A, a Code 128 of column B and a QR code of
    // column A drawn on the canvas; one moved with the mouse, undone, redone.
    void insertBoundObjects(CChildFrame* child);
    // 4: text file and workbook imported, spare rows filtered out, column B
    // sorted descending.
    void importFilterSort(CChildFrame* child, CRecordingUi& ui);
    // 5: every row printed to `pdf` through the print driver; the labels'
    // symbols and texts read back in the table's order.
    void printAndRead(CChildFrame* child, const QString& pdf);
    // 6: saved, closed, reopened from the recent files, saved again to
    // identical bytes.
    void saveCloseReopen(CChildFrame* child, CRecordingUi& ui);

    // The rows left after the filter and the sort, in printing order.
    static std::vector<WireRow> PrintedRows();
};

} // namespace story
