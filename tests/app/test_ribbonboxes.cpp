// A value typed into a ribbon box goes to the model when the user leaves
// the box, by Tab or by a click on the canvas, as it does on Return, and
// once; a command given while the box still holds the text (a shortcut, a
// menu entry, the quick access toolbar, closing the project) takes it
// first, and so does a collapsed panel's popup when it closes. Leaving a
// box without typing, or after retyping what it shows, sends nothing; a
// text the box's command cannot read changes nothing; a typeface goes only
// when the font box lists it. Real keys and clicks on the shown main window
// of a copy of the example project.
#include "story_steps.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "platform/recordingui.h"
#include "shell/design/designview.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/frame/ribbonpage.h"

#include <QComboBox>
#include <QFile>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>

#include <functional>

namespace story {
namespace {

constexpr int kHome = 0;
constexpr int kLabelCategory = 1;
constexpr int kPageCategory = 2;

// How the box is left, or what is done while it holds the typed text.
enum class Leave { Tab, BackTab, ClickCanvas, Return, CtrlS, MenuSave, QuickAccessSave, ExitCancelled, CloseProject };

class RibbonBoxTest : public StorySteps {
protected:
    void SetUp() override
    {
        StorySteps::SetUp();
        // A copy, which the saving rows write.
        ASSERT_TRUE(QFile::copy(QStringLiteral(VSL_EXAMPLE_PROJECT), project));
        ASSERT_TRUE(QFile::setPermissions(project, QFile::ReadOwner | QFile::WriteOwner));
        ASSERT_NO_FATAL_FAILURE(start(ui, {project}, QSize(1366, 768)));
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

    // Opens the collapsed panel that holds the box (a click on its button).
    void openCollapsedPanelOf(int id)
    {
        for (auto* page : frame->Ribbon()->findChildren<CRibbonPage*>()) {
            if (!page->isVisible())
                continue;
            for (int i = 0; i < page->PanelCount(); ++i)
                for (QWidget* w : frame->Ribbon()->ElementWidgets(id))
                    if (page->IsCollapsed(i) && page->Panel(i)->isAncestorOf(w)) {
                        QTest::mouseClick(page->CollapsedButton(i), Qt::LeftButton);
                        ASSERT_TRUE(QTest::qWaitFor([&] { return w->isVisible(); }, 3000)) << id;
                        return;
                    }
        }
        FAIL() << "no collapsed panel holds " << id;
    }

    // A click into the box (its collapsed panel opened first), its text
    // selected with Home and Shift+End, `typed` typed over it.
    void typeInto(int id, const QString& typed)
    {
        if (!field(id)) {
            ASSERT_NO_FATAL_FAILURE(openCollapsedPanelOf(id));
        }
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
            // Beside the label: a click that selects nothing. Over an open
            // popup it goes through the window, which closes the popup
            // first, as the system's clicks do.
            const QPoint free(view->viewport()->width() - 5, view->viewport()->height() - 5);
            if (QApplication::activePopupWidget()) {
                const QPoint at = frame->mapFromGlobal(view->viewport()->mapToGlobal(free));
                QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
            } else {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, free);
            }
            break;
        }
        case Leave::CtrlS:
            key(Qt::Key_S, Qt::ControlModifier);
            break;
        case Leave::MenuSave:
            pickFromApplicationMenu(cmd::kFileSave);
            break;
        case Leave::QuickAccessSave:
            for (QWidget* w : frame->Ribbon()->ElementWidgets(cmd::kFileSave))
                if (w->property("quickAccess").toBool())
                    QTest::mouseClick(w, Qt::LeftButton);
            break;
        case Leave::ExitCancelled:
            // The main window's close button; Cancel to the question.
            ui.answers.push_back(MessageAnswer::Cancel);
            frame->close();
            QApplication::processEvents();
            ASSERT_FALSE(frame->GetChildren().empty()) << "the program ended without a question";
            break;
        case Leave::CloseProject: {
            // The close button of the project's tab; Yes to the question.
            auto* tabs = frame->MdiArea()->findChild<QTabBar*>();
            ASSERT_NE(tabs, nullptr);
            QWidget* close = tabs->tabButton(tabs->currentIndex(), QTabBar::RightSide);
            if (!close)
                close = tabs->tabButton(tabs->currentIndex(), QTabBar::LeftSide);
            ASSERT_NE(close, nullptr);
            ui.answers.push_back(MessageAnswer::Yes);
            QTest::mouseClick(close, Qt::LeftButton);
            break;
        }
        }
        QApplication::processEvents();
    }

    // The File button, then the entry of `id` in its menu.
    void pickFromApplicationMenu(int id)
    {
        QMenu* menu = frame->Ribbon()->ApplicationMenu();
        QAction* entry = nullptr;
        for (QAction* a : frame->Ribbon()->ElementActions(id))
            if (menu->actions().contains(a))
                entry = a;
        ASSERT_NE(entry, nullptr);
        // The menu runs its own loop while it is open.
        bool picked = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (picked || !menu->isVisible())
                return;
            picked = true;
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(entry).center());
        });
        poll.start();
        QTest::mouseClick(frame->Ribbon()->ApplicationButton(), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return picked && !menu->isVisible(); }, 3000));
    }

    // The label width the project file holds.
    std::string savedWidth() const
    {
        CVorteplanSoftLabelDoc saved;
        return saved.OnOpenDocument(project) ? saved.GetAreaWidthText(0) : std::string("unreadable");
    }

    // A typeface the font box lists that is not `shown` and that no other
    // listed name starts with (typing it is not completed to another).
    std::string anotherListedFace(const std::string& shown) const
    {
        auto* fonts = qobject_cast<QFontComboBox*>(frame->Ribbon()->FindCombo(cmd::kTypefaceBox));
        if (!fonts)
            return {};
        for (int i = 0; i < fonts->count(); ++i) {
            const QString face = fonts->itemText(i);
            bool prefix = false;
            for (int j = 0; j < fonts->count(); ++j)
                prefix = prefix || (j != i && fonts->itemText(j).startsWith(face, Qt::CaseInsensitive));
            if (!prefix && face.toStdString() != shown && face.toLatin1() == face.toUtf8())
                return face.toStdString();
        }
        return {};
    }

    CVorteplanSoftLabelDoc& doc() const { return child->Document(); }

    const QString project = path(QStringLiteral("example.proj"));
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
        int windowWidth = 1366;
    };
    const auto width = [this] { return doc().GetAreaWidthText(0); };
    const auto height = [this] { return doc().GetAreaHeightText(0); };
    const auto header = [this] { return doc().GetAreaHeightText(1); };
    const auto pitch = [this] { return doc().GetHorizontalPitchText(); };
    const auto zoom = [this] { return std::to_string(view->GetZoom()); };
    const auto size = [this] { return std::to_string(doc().GetFontSize(0)); };
    const auto face = [this] { return doc().GetTypeface(0); };
    const auto saved = [this] { return savedWidth(); };
    ASSERT_TRUE(command(cmd::kEditSelectAll));
    const std::string listedFace = anotherListedFace(doc().GetTypeface(0));
    ASSERT_FALSE(listedFace.empty()) << "the font box lists no other typeface";
    const char* const listed = listedFace.c_str();
    const std::string secondFace = anotherListedFace(listedFace);
    ASSERT_FALSE(secondFace.empty()) << "the font box lists one typeface only";
    const char* const second = secondFace.c_str();
    // clang-format off
    const Row rows[] = {
        {"label width, Tab",            kLabelCategory, cmd::kLabelWidth,   "50",   Leave::Tab,         width,  "50 mm", 1},
        {"label width, click",          kLabelCategory, cmd::kLabelWidth,   "45",   Leave::ClickCanvas, width,  "45 mm", 1},
        {"label height, Shift+Tab",     kLabelCategory, cmd::kLabelHeight,  "30",   Leave::BackTab,     height, "30 mm", 1},
        {"label width, Return",         kLabelCategory, cmd::kLabelWidth,   "60",   Leave::Return,      width,  "60 mm", 1},
        {"label width, nothing typed",  kLabelCategory, cmd::kLabelWidth,   nullptr, Leave::Tab,        width,  "60 mm", 0},
        {"label width, garbage",        kLabelCategory, cmd::kLabelWidth,   "wide", Leave::Tab,         width,  "60 mm", 1},
        {"label width, shown value retyped", kLabelCategory, cmd::kLabelWidth, "60 mm", Leave::Tab,     width,  "60 mm", 0},
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
        {"typeface, a listed one, Tab", kHome,          cmd::kTypefaceBox,  listed, Leave::Tab,         face,   listed,  1},
        {"typeface, an unknown one, Tab", kHome,        cmd::kTypefaceBox,  "Qqq No Such Face", Leave::Tab, face, listed, 0},
        {"label width, exit cancelled", kLabelCategory, cmd::kLabelWidth,   "35 mm", Leave::ExitCancelled, width, "35 mm", 1},
        // Commands given while the box holds the typed text: the file gets it.
        {"label width, Ctrl+S",         kLabelCategory, cmd::kLabelWidth,   "50 mm", Leave::CtrlS,      saved,  "50 mm", 1},
        {"label width, File > Save",    kLabelCategory, cmd::kLabelWidth,   "55 mm", Leave::MenuSave,   saved,  "55 mm", 1},
        {"label width, quick access Save", kLabelCategory, cmd::kLabelWidth, "65 mm", Leave::QuickAccessSave, saved, "65 mm", 1},
        {"typeface, completed as typed, Ctrl+S", kHome, cmd::kTypefaceBox,  second, Leave::CtrlS,       face,   second,  1},
        {"label spacing, collapsed panel at 1024 px, click", kLabelCategory, cmd::kPitchHorizontal, "80", Leave::ClickCanvas, pitch, "80 mm", 1, 1024},
        // Last: the project window goes.
        {"label width, project closed", kLabelCategory, cmd::kLabelWidth,   "40 mm", Leave::CloseProject, saved, "40 mm", 1},
    };
    // clang-format on
    QSignalSpy sent(frame->Ribbon(), &CRibbonBar::commandSent);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (frame->width() != row.windowWidth) {
            frame->resize(row.windowWidth, 768);
            ASSERT_TRUE(QTest::qWaitFor([&] { return frame->width() == row.windowWidth; }, 3000));
        }
        frame->Ribbon()->SetActiveCategory(row.category);
        ASSERT_NO_FATAL_FAILURE(activateCanvas(child));
        if (row.id == cmd::kFontSizeBox || row.id == cmd::kTypefaceBox) { // the texts of the label selected
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
        if (row.how == Leave::CloseProject) {
            EXPECT_TRUE(frame->GetChildren().empty());
            break;
        }
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
