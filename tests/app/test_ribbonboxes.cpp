// A value typed into a ribbon box goes to the model when the user leaves
// the box, by Tab or by a click on the canvas, as it does on Return, and
// once. Leaving a box without typing sends nothing; a text the box's
// command cannot read changes nothing. Real keys and clicks on the shown
// main window of the example project.
#include "story_steps.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/recordingui.h"
#include "shell/design/designview.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

#include <functional>

namespace story {
namespace {

constexpr int kHome = 0;
constexpr int kLabelCategory = 1;
constexpr int kPageCategory = 2;

enum class Leave { Tab, BackTab, ClickCanvas, Return };

class RibbonBoxTest : public StorySteps {
protected:
    void SetUp() override
    {
        StorySteps::SetUp();
        ASSERT_NO_FATAL_FAILURE(start(ui, {QStringLiteral(VSL_EXAMPLE_PROJECT)}, QSize(1366, 768)));
        frame = app->MainFrame();
        child = activeChild();
        ASSERT_NE(child, nullptr);
        view = canvas(child);
        ASSERT_NE(view, nullptr);
    }

    // The visible field of a box on the current category page.
    QWidget* field(int id) const
    {
        for (QWidget* w : frame->Ribbon()->ElementWidgets(id))
            if (w->isVisible())
                return w;
        return nullptr;
    }
    static QLineEdit* editOf(QWidget* w)
    {
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->lineEdit();
        return qobject_cast<QLineEdit*>(w);
    }

    // Keys go where the system sends them: to the widget with the focus.
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, k, modifiers);
    }

    // A click into the box, its text selected with Home and Shift+End,
    // `typed` typed over it.
    void typeInto(int id, const QString& typed)
    {
        QWidget* w = field(id);
        ASSERT_NE(w, nullptr) << id;
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->isEnabled(); }, 3000)) << id;
        QLineEdit* edit = editOf(w);
        ASSERT_NE(edit, nullptr);
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(4, edit->height() / 2));
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->hasFocus() || edit->hasFocus(); }, 3000)) << id;
        key(Qt::Key_Home);
        key(Qt::Key_End, Qt::ShiftModifier);
        if (!typed.isEmpty())
            QTest::keyClicks(QApplication::focusWidget(), typed);
    }

    void leave(Leave how)
    {
        switch (how) {
        case Leave::Tab:
            key(Qt::Key_Tab);
            break;
        case Leave::BackTab:
            key(Qt::Key_Backtab, Qt::ShiftModifier);
            break;
        case Leave::Return:
            key(Qt::Key_Return);
            break;
        case Leave::ClickCanvas: {
            // Beside the label: a click that selects nothing.
            const QPoint free(view->viewport()->width() - 5, view->viewport()->height() - 5);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, free);
            break;
        }
        }
        QApplication::processEvents();
    }

    CVorteplanSoftLabelDoc& doc() const { return child->Document(); }

    CRecordingUi ui;
    CMainFrame* frame = nullptr;
    CChildFrame* child = nullptr;
    Vorteplan_SoftLabelDesignView* view = nullptr;
};

TEST_F(RibbonBoxTest, LeavingABoxAppliesWhatWasTypedOnce)
{
    struct Row {
        const char* what;
        int category;
        int id;
        const char* typed; // nullptr: the box is only passed through
        Leave how;
        std::function<std::string()> model;
        const char* expected; // the model afterwards
        int sent;             // commands of the box sent
    };
    const auto width = [this] { return doc().GetAreaWidthText(0); };
    const auto height = [this] { return doc().GetAreaHeightText(0); };
    const auto header = [this] { return doc().GetAreaHeightText(1); };
    const auto zoom = [this] { return std::to_string(view->GetZoom()); };
    const auto size = [this] { return std::to_string(doc().GetFontSize(0)); };
    // clang-format off
    const Row rows[] = {
        {"label width, Tab",            kLabelCategory, cmd::kLabelWidth,   "50",   Leave::Tab,         width,  "50 mm", 1},
        {"label width, click",          kLabelCategory, cmd::kLabelWidth,   "45",   Leave::ClickCanvas, width,  "45 mm", 1},
        {"label height, Shift+Tab",     kLabelCategory, cmd::kLabelHeight,  "30",   Leave::BackTab,     height, "30 mm", 1},
        {"label width, Return",         kLabelCategory, cmd::kLabelWidth,   "60",   Leave::Return,      width,  "60 mm", 1},
        {"label width, nothing typed",  kLabelCategory, cmd::kLabelWidth,   nullptr, Leave::Tab,        width,  "60 mm", 0},
        {"label width, garbage",        kLabelCategory, cmd::kLabelWidth,   "wide", Leave::Tab,         width,  "60 mm", 1},
        {"header height, Tab",          kPageCategory,  cmd::kHeaderHeight, "30",   Leave::Tab,         header, "30 mm", 1},
        {"header height, click",        kPageCategory,  cmd::kHeaderHeight, "25",   Leave::ClickCanvas, header, "25 mm", 1},
        {"header height, nothing typed", kPageCategory, cmd::kHeaderHeight, nullptr, Leave::ClickCanvas, header, "25 mm", 0},
        {"zoom, Tab",                   kHome,          cmd::kZoomBox,      "150",  Leave::Tab,         zoom,   "150",   1},
        {"zoom, a listed value",        kHome,          cmd::kZoomBox,      "200 %", Leave::ClickCanvas, zoom,  "200",   1},
        {"zoom, Return on a listed one", kHome,         cmd::kZoomBox,      "100 %", Leave::Return,     zoom,   "100",   1},
        {"zoom, garbage",               kHome,          cmd::kZoomBox,      "big",  Leave::ClickCanvas, zoom,   "100",   1},
        {"font size, Tab",              kHome,          cmd::kFontSizeBox,  "13",   Leave::Tab,         size,   "13",    1},
        {"font size, a listed value",   kHome,          cmd::kFontSizeBox,  "12",   Leave::Tab,         size,   "12",   1},
        {"font size, nothing typed",    kHome,          cmd::kFontSizeBox,  nullptr, Leave::Tab,        size,   "12",    0},
    };
    // clang-format on
    QSignalSpy sent(frame->Ribbon(), &CRibbonBar::commandSent);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        frame->Ribbon()->SetActiveCategory(row.category);
        ASSERT_NO_FATAL_FAILURE(activateCanvas(child));
        if (row.id == cmd::kFontSizeBox) { // the texts of the label selected
            ASSERT_TRUE(command(cmd::kEditSelectAll));
        }
        if (row.id == cmd::kHeaderHeight && !doc().HasLabelPart(1)) {
            ASSERT_TRUE(command(cmd::kHeaderEnable));
        }
        frame->UpdateCommandUI();
        doc().SetModifiedFlag(false);
        const std::string before = row.model();
        sent.clear();

        ASSERT_NO_FATAL_FAILURE(typeInto(row.id, row.typed ? QString::fromLatin1(row.typed) : QString()));
        ASSERT_NO_FATAL_FAILURE(leave(row.how));
        EXPECT_EQ(row.model(), row.expected);
        int boxCommands = 0;
        for (const QList<QVariant>& signal : sent)
            boxCommands += signal.at(0).toInt() == row.id;
        EXPECT_EQ(boxCommands, row.sent);
        // Nothing taken, nothing marked: the project is as it was.
        if (row.model() == before) {
            EXPECT_FALSE(doc().IsModified());
        }

        // Back on the canvas, the box shows the model's value again.
        if (row.how == Leave::ClickCanvas && row.id != cmd::kZoomBox) {
            frame->UpdateCommandUI();
            EXPECT_EQ(frame->Ribbon()->GetEditText(row.id).toStdString(), row.expected);
        }
    }
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

} // namespace
} // namespace story
