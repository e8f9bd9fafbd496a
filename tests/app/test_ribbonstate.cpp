// The ribbon shows the state of the active view without a click: right
// after the example opens in the shown main window, after a template tab,
// a ribbon category and a table tab are chosen, after Close (nothing left
// of the closed window) and after another project opens at another zoom,
// and after New. Only the program's own calls switch tabs and send
// commands here: no mouse or key event reaches the window.
#include "story_steps.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/recordingui.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/views/tabletabview.h"
#include "shell/views/templatetabview.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTabBar>

namespace story {
namespace {

// The moments at which the ribbon is read, in the order the test reaches them.
enum class Moment { Opened, StripTemplate, MarkingCategory, TableTab, Zoomed, Closed, OtherOpened, New, OtherAgain };

const char* name(Moment moment)
{
    switch (moment) {
    case Moment::Opened: return "the example opened";
    case Moment::StripTemplate: return "the terminal strip's template tab chosen";
    case Moment::MarkingCategory: return "the Module marking category chosen";
    case Moment::TableTab: return "the terminals' table tab chosen";
    case Moment::Zoomed: return "400 % typed in the Zoom box";
    case Moment::Closed: return "the example closed";
    case Moment::OtherOpened: return "a project at 200 % opened";
    case Moment::New: return "a new project";
    case Moment::OtherAgain: return "the project at 200 % chosen again";
    }
    return "";
}

constexpr int kAny = -1;

// What the elements of one command show: enabled, the text of a box
// (nullptr: not read) and the mark of a check box (kAny: not read).
struct Shown {
    Moment moment;
    int id;
    bool enabled;
    const char* text = nullptr;
    int checked = kAny;
};

using namespace cmd;
using M = Moment;

// clang-format off
const Shown kShown[] = {
    // The example: the cable labels' design view is the active view.
    // Home
    {M::Opened, kZoomBox, true, "100 %"},
    {M::Opened, kInsertText, true},
    {M::Opened, kInsertBarcode, true},
    {M::Opened, kEditSelectAll, true},
    {M::Opened, kFieldCodes, true, nullptr, 1},
    {M::Opened, kShowLabel, true},
    {M::Opened, kShowHeader, false},
    {M::Opened, kTypefaceBox, false, "Arial"},
    {M::Opened, kFontSizeBox, false, "10"},
    {M::Opened, kColumnBox, false, ""},
    // Label: the A4 sheet of 3 x 8 labels of 70 x 37 mm
    {M::Opened, kPaperSizeBox, true, "A4"},
    {M::Opened, kPaperWidth, false, "210 mm"},
    {M::Opened, cmd::kLabelWidth, true, "70 mm"},
    {M::Opened, cmd::kLabelHeight, true, "37 mm"},
    {M::Opened, kLabelRadius, false, ""},
    {M::Opened, kMarginTop, true, "0.5 mm"},
    {M::Opened, kMarginLeft, true, "0 mm"},
    {M::Opened, kRows, true, "8"},
    {M::Opened, kColumns, true, "3"},
    {M::Opened, kPitchHorizontal, true, "70 mm"},
    {M::Opened, kPitchVertical, true, "37 mm"},
    {M::Opened, kNewLabel, true},
    // Page
    {M::Opened, kBlockCount, true, "1"},
    {M::Opened, kHeaderWidth, false},
    {M::Opened, kHeaderEnable, true, nullptr, 0},
    {M::Opened, kMarkingEnable, true, nullptr, 0},
    {M::Opened, kStripWidth, false, ""},
    // Label info
    {M::Opened, kFamilyBox, true, "Sheets A4"},
    // Table: the table view's commands wait for the grid
    {M::Opened, kImportTable, false},
    {M::Opened, kNextRow, false},
    // Module marking: not a marking label
    {M::Opened, kFixedLength, false},
    {M::Opened, kAddMarker, false},
    {M::Opened, kModuleTotal, false, ""},
    // Draw
    {M::Opened, kInsertRectangle, true},
    {M::Opened, kLineWidthBox, true, "1 mm"}, // the width of a line drawn next
    {M::Opened, kCornerRadiusBox, false, ""},
    // Fine tune layout: nothing selected
    {M::Opened, kLock, true, nullptr, 0},
    {M::Opened, kSelectionX, false, ""},
    {M::Opened, kAlignLeft, false},
    // Edit
    {M::Opened, kRotateLeft, false},
    // Format
    {M::Opened, kEditUndo, false},
    {M::Opened, kAutoSize, false},
    // Options
    {M::Opened, kShowRulers, true, nullptr, 1},
    {M::Opened, kDrawLabelBorders, true},
    // File
    {M::Opened, kFileSave, true},
    {M::Opened, kFilePrint, true},

    // The terminal strip: a module-marking label of ten 6.2 mm modules.
    {M::StripTemplate, kZoomBox, true, "100 %"},
    {M::StripTemplate, cmd::kLabelWidth, false, "62 mm"},
    {M::StripTemplate, kRows, false, "1"},
    {M::StripTemplate, kFamilyBox, true},
    {M::StripTemplate, kMarkingEnable, true, nullptr, 1},
    {M::StripTemplate, kStripWidth, true},
    {M::StripTemplate, kFixedLength, true},
    {M::StripTemplate, kModuleTotal, true, "10"},
    {M::StripTemplate, kMarkerTotal, true, "10"},
    {M::StripTemplate, kAddMarker, true},
    {M::StripTemplate, kGotoMarker, true, "1"},

    // The category turns the canvas to selecting modules.
    {M::MarkingCategory, kSelectModules, true, nullptr, 1},
    {M::MarkingCategory, kDeleteAllMarkers, true},
    {M::MarkingCategory, kModuleLength, true, "6.2 mm"},
    {M::MarkingCategory, kGotoMarker, true, "1"},
    {M::MarkingCategory, kNextMarker, true},
    {M::MarkingCategory, kPreviousMarker, false},

    // The table tab makes its table view the active view.
    {M::TableTab, kImportTable, true},
    {M::TableTab, kSortAscending, true},
    {M::TableTab, kFilterEnable, true},
    {M::TableTab, kInsertText, false},
    {M::TableTab, kZoomBox, false},

    // Back on the cable labels' canvas, 400 % typed into the Zoom box.
    {M::Zoomed, kZoomBox, true, "400 %"},
    {M::Zoomed, cmd::kLabelWidth, true, "70 mm"},

    // Nothing open: nothing of the example is left.
    {M::Closed, kZoomBox, false, ""},
    {M::Closed, cmd::kLabelWidth, false, ""},
    {M::Closed, kRows, false, ""},
    {M::Closed, kFamilyBox, false, ""},
    {M::Closed, kTypefaceBox, false, ""},
    {M::Closed, kFieldCodes, false, nullptr, 0},
    {M::Closed, kShowRulers, false, nullptr, 0},
    {M::Closed, kInsertText, false},
    {M::Closed, kFileSave, false},
    {M::Closed, kFileNew, true},
    {M::Closed, kFileOpen, true},

    // A project stored at 200 % with a 50 x 20 mm label.
    {M::OtherOpened, kZoomBox, true, "200 %"},
    {M::OtherOpened, cmd::kLabelWidth, true, "50 mm"},
    {M::OtherOpened, cmd::kLabelHeight, true, "20 mm"},
    {M::OtherOpened, kInsertText, true},
    {M::OtherOpened, kTypefaceBox, false, "Arial"},
    {M::OtherOpened, kFieldCodes, true, nullptr, 1},

    // A new project: no label definition yet.
    {M::New, kZoomBox, true, "100 %"},
    {M::New, cmd::kLabelWidth, true, ""},
    {M::New, kInsertText, false},
    {M::New, kSelectLabel, true},

    // Back to the project at 200 %: its values, none of the new project's.
    {M::OtherAgain, kZoomBox, true, "200 %"},
    {M::OtherAgain, cmd::kLabelWidth, true, "50 mm"},
    {M::OtherAgain, kInsertText, true},
};
// clang-format on

class RibbonStateTest : public StorySteps {
protected:
    void SetUp() override
    {
        StorySteps::SetUp();
        writeOtherProject();
        // A screen of 1366 x 768, where the Home tab shows all its boxes.
        ASSERT_NO_FATAL_FAILURE(start(ui, {QStringLiteral(VSL_EXAMPLE_PROJECT)}, QSize(1366, 768)));
        frame = app->MainFrame();
    }

    // A project of one template with a 50 x 20 mm label stored at 200 %.
    void writeOtherProject()
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetAreaWidth(0, 50000);
        doc.SetAreaHeight(0, 20000);
        doc.SetZoomRate(0, 200);
        ASSERT_TRUE(doc.WriteProjectFile(otherProject));
    }

    // What the elements of `id` show, in the words of the table; an
    // element that disagrees with another of the same id is reported.
    std::string seen(int id, bool readText, bool readCheck) const
    {
        const std::vector<QWidget*> widgets = frame->Ribbon()->ElementWidgets(id);
        if (widgets.empty())
            return "no element";
        std::string out;
        for (const QWidget* widget : widgets) {
            std::string one = widget->isEnabled() ? "enabled" : "disabled";
            if (readText)
                one += " \"" + frame->Ribbon()->GetEditText(id).toStdString() + "\"";
            if (readCheck)
                if (const auto* box = qobject_cast<const QAbstractButton*>(widget))
                    one += box->isChecked() ? " checked" : " unchecked";
            if (!out.empty() && one != out)
                return out + " / " + one;
            out = one;
        }
        return out;
    }
    static std::string expected(const Shown& row)
    {
        std::string out = row.enabled ? "enabled" : "disabled";
        if (row.text)
            out += " \"" + std::string(row.text) + "\"";
        if (row.checked != kAny)
            out += row.checked ? " checked" : " unchecked";
        return out;
    }
    std::string seen(const Shown& row) const { return seen(row.id, row.text != nullptr, row.checked != kAny); }

    // Lets the events settle until every row of `moment` shows what it
    // should (or a few seconds went by), then checks each row.
    void expectRibbon(Moment moment)
    {
        const auto all = [&] {
            for (const Shown& row : kShown)
                if (row.moment == moment && seen(row) != expected(row))
                    return false;
            return true;
        };
        // The rows below say which element did not come right.
        static_cast<void>(QTest::qWaitFor(all, 3000));
        for (const Shown& row : kShown) {
            if (row.moment == moment) {
                EXPECT_EQ(seen(row), expected(row)) << describe(row.id) << " after " << name(moment);
            }
        }
    }
    static std::string describe(int id)
    {
        const cmd::CommandRow* row = cmd::Find(id);
        return (row ? "k" + std::string(row->name) : std::string("command")) + " (" + std::to_string(id) + ")";
    }

    // Chooses a tab as the program does for a user's choice, with no
    // mouse event: the tab bar's current index changes.
    static void chooseTab(CTabView* view, int index)
    {
        ASSERT_NE(view, nullptr);
        ASSERT_LT(index, view->GetTabCount());
        view->TabBar()->setCurrentIndex(index);
    }

    CRecordingUi ui;
    CMainFrame* frame = nullptr;
    const QString otherProject = path(QStringLiteral("Other.proj"));
};

TEST_F(RibbonStateTest, ShowsTheActiveViewWithoutAClickFromOpenToClose)
{
    ASSERT_NE(activeChild(), nullptr);
    expectRibbon(Moment::Opened);

    CChildFrame* example = activeChild();
    chooseTab(example->findChild<CTemplateTabView*>(), 1);
    expectRibbon(Moment::StripTemplate);

    frame->Ribbon()->SetActiveCategory(kModuleMarkingCategory);
    expectRibbon(Moment::MarkingCategory);
    frame->Ribbon()->SetActiveCategory(0);

    chooseTab(example->findChild<CTableTabView*>(), 1);
    expectRibbon(Moment::TableTab);

    chooseTab(example->findChild<CTemplateTabView*>(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Router().Update(kZoomBox).IsEnabled(); }, 3000));
    // Typed as a user types it: the box keeps the focus after Enter, and
    // closing the window must still empty it.
    frame->Ribbon()->SetActiveCategory(0);
    QComboBox* zoom = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QWidget* w : frame->Ribbon()->ElementWidgets(kZoomBox))
                if (w->isVisible())
                    zoom = qobject_cast<QComboBox*>(w);
            return zoom != nullptr;
        },
        3000));
    ASSERT_NE(zoom, nullptr);
    // The tab just chosen hands the focus to its view as its window
    // settles; the box is clicked into once that is done.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (!zoom->hasFocus())
                zoom->setFocus(Qt::MouseFocusReason);
            return zoom->hasFocus();
        },
        3000));
    zoom->lineEdit()->selectAll();
    QTest::keyClicks(zoom->lineEdit(), QStringLiteral("400"));
    QTest::keyClick(zoom->lineEdit(), Qt::Key_Return);
    expectRibbon(Moment::Zoomed);
    ASSERT_TRUE(zoom->hasFocus());

    ASSERT_TRUE(command(kFileClose));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->GetChildren().empty(); }, 3000));
    expectRibbon(Moment::Closed);

    CChildFrame* other = app->OpenDocumentFile(otherProject);
    ASSERT_NE(other, nullptr);
    expectRibbon(Moment::OtherOpened);

    ASSERT_NE(app->NewDocument(), nullptr);
    expectRibbon(Moment::New);

    frame->MdiArea()->setActiveSubWindow(other);
    expectRibbon(Moment::OtherAgain);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

} // namespace
} // namespace story
