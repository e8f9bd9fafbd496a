#pragma once
// The end-to-end story: the real application object started on a machine
// of its own (temporary $XDG_DATA_HOME and $XDG_CONFIG_HOME, the build's
// share/ folder as $XDG_DATA_DIRS, nothing installed), driven only as a
// user drives it: commands by id through the router, mouse and keys on the
// real canvas and grid viewports, modal dialogs by their buttons, and
// scripted answers where a system dialog would open.
#include "platform/uiservices.h"
#include "shell/application/app.h"
#include "shell/application/datafolders.h"
#include "support/test_support.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class CChildFrame;
class CGridCtrl;
class CVorteplanSoftTableView;
class Vorteplan_SoftLabelDesignView;

namespace story {

// The rows the workbook holds (tests/app/data/wires.xls), in file order.
struct WireRow {
    const char* wire;
    const char* terminal;
};
inline const std::vector<WireRow>& WorkbookRows()
{
    static const std::vector<WireRow> rows{{"W-207", "X2-07"},   {"W-203", "X2-03"}, {"SPARE-1", "X9-01"},
                                           {"W-205", "X2-05"},   {"W-201", "X2-01"}, {"SPARE-2", "X9-02"},
                                           {"W-210", "X2-10"},   {"W-204", "X2-04"}};
    return rows;
}

using testsupport::EnvScope;

// Runs `act` on each of the first `count` modal dialogs that open (polling
// the event loop while the code that opens them runs); `done` tells whether
// it ran at all, `handled` how often.
class ModalHandler {
public:
    explicit ModalHandler(std::function<void(QWidget*)> act, int count = 1);
    ~ModalHandler();
    ModalHandler(const ModalHandler&) = delete;
    ModalHandler& operator=(const ModalHandler&) = delete;
    bool done() const { return m_handled > 0; }
    int handled() const { return m_handled; }

private:
    std::function<void(QWidget*)> m_act;
    QTimer m_timer;
    int m_count;
    int m_handled = 0;
    QWidget* m_last = nullptr;
};

class StoryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program as a user does (no splash) on `arguments`, the
    // main window shown at `window` and active (not shown when `window`
    // is empty). `ui` stands in for the system dialogs and messages.
    void start(CUiServices& ui, const QStringList& arguments = {}, QSize window = QSize(1400, 1000));

    QString path(const QString& name) const { return root.filePath(name); }
    static QString dataFile(const char* name);
    QString userLabels() const;

    // Runs a command as a ribbon button or accelerator does (only when its
    // update state is enabled); false when nothing ran.
    bool command(int id);
    bool enabled(int id) const;

    CChildFrame* activeChild() const;
    // The design canvas of the label area and the table view shown in a
    // project window.
    Vorteplan_SoftLabelDesignView* canvas(CChildFrame* child) const;
    CVorteplanSoftTableView* tableView(CChildFrame* child) const;
    CGridCtrl* grid(CChildFrame* child) const;

    // A click on the canvas makes it the active view; a click on a grid
    // cell (row, column as the grid counts, header row and column 0) makes
    // the table view the active one.
    void activateMainWindow();
    void activateCanvas(CChildFrame* child);
    void clickCell(CChildFrame* child, int row, int column);

    // Canvas client pixels of a point of the label, in micrometres.
    QPoint canvasPoint(Vorteplan_SoftLabelDesignView* view, int32_t xUm, int32_t yUm) const;
    // Draws the object an Insert command armed: a drag over the rectangle.
    void drawOnCanvas(Vorteplan_SoftLabelDesignView* view, int32_t x, int32_t y, int32_t w, int32_t h);

    QTemporaryDir root;
    std::unique_ptr<EnvScope> dataHome;
    std::unique_ptr<EnvScope> configHome;
    std::unique_ptr<EnvScope> dataDirs;
    std::unique_ptr<CVorteplanSoftLabelApp> app;
    CUiServices* previousUi = nullptr;
};

// Tools of poppler-utils and zbar-tools.
bool HaveTools();
QString RunTool(const QString& program, const QStringList& arguments);

} // namespace story
