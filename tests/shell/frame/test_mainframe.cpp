#include "shell/application/startup_fixture.h"

#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "content/objects/collection.h"
#include "content/objects/graphtext.h"
#include "content/tables/drawcontext.h"
#include "content/textparts/text.h"
#include "shell/design/designview.h"
#include "shell/frame/childframe.h"
#include "shell/frame/looks.h"
#include "shell/frame/mainframe.h"
#include "shell/frame/ribbonbar.h"
#include "shell/frame/windowsdialog.h"
#include "shell/views/templatetabview.h"
#include "resources/version.h"
#include "shell/aboutdlg.h"
#include "support/gridtest.h"
#include "tables/grid/gridinplaceedit.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <map>

namespace {

class MainFrameTest : public StartupTest {
protected:
    std::unique_ptr<CVorteplanSoftLabelApp> shown(const QStringList& arguments = {})
    {
        auto app = start(arguments);
        app->MainFrame()->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
        app->MainFrame()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(app->MainFrame()));
        return app;
    }
    // A new project with a label definition, saved as "Job.proj"; its path,
    // or nothing when it could not be written.
    QString writeJobProject()
    {
        const QString project = root.filePath("Job.proj");
        CVorteplanSoftLabelDoc doc;
        if (!doc.OnNewDocument())
            return {};
        doc.GetTemplate(0).SetLabel(std::make_unique<CLabelFileNew>());
        return doc.WriteProjectFile(project) ? project : QString();
    }
    static QAction* styleEntry(CRibbonBar* ribbon, int id)
    {
        for (QAction* a : ribbon->StyleMenu()->actions())
            if (a->data().toInt() == id)
                return a;
        return nullptr;
    }
};

TEST_F(MainFrameTest, LookIsStoredAppliedAndChangedFromTheStyleMenu)
{
    settings::WriteInt(settings::kWorkspace, settings::kApplicationLook, 214);
    auto app = start();
    CMainFrame* frame = app->MainFrame();
    EXPECT_EQ(frame->GetLook(), 214);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), looks::LookFor(214, 215).palette.color(QPalette::Window));

    QAction* black = styleEntry(frame->Ribbon(), 216);
    ASSERT_NE(black, nullptr);
    black->trigger();
    EXPECT_EQ(frame->GetLook(), 216);
    EXPECT_EQ(settings::GetInt(settings::kWorkspace, settings::kApplicationLook), 216);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight),
              looks::LookFor(216, 215).palette.color(QPalette::Highlight));
    // The radio mark follows the look when the menu opens.
    emit frame->Ribbon()->StyleMenu()->aboutToShow();
    EXPECT_TRUE(black->isChecked());
    EXPECT_FALSE(styleEntry(frame->Ribbon(), 215)->isChecked());
}

TEST_F(MainFrameTest, ALookOutsideTheRangeIsOffice2007InItsCurrentStyleAndWrittenBackUnchanged)
{
    settings::WriteInt(settings::kWorkspace, settings::kApplicationLook, 300);
    auto app = start();
    EXPECT_EQ(app->MainFrame()->GetLook(), 300);
    EXPECT_EQ(settings::GetInt(settings::kWorkspace, settings::kApplicationLook), 300);
    EXPECT_EQ(looks::LookFor(300, 217).office2007Style, 217);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              looks::LookFor(215, 215).palette.color(QPalette::Window));
}

TEST_F(MainFrameTest, IdlePassFillsStatusPanesAndRibbonStates)
{
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    CRibbonBar* ribbon = frame->Ribbon();
    frame->UpdateCommandUI();
    EXPECT_EQ(frame->StatusPane(cmd::kStatusPane1)->text(), StatusPaneText());
    EXPECT_TRUE(frame->StatusPane(cmd::kStatusPane1)->text().startsWith("Vorteplan Software V11.0"));
    EXPECT_TRUE(frame->StatusPane(cmd::kStatusPane2)->text().isEmpty());

    // A command of a later view: greyed until a target claims it.
    std::vector<QWidget*> paste = ribbon->ElementWidgets(cmd::kEditPaste);
    ASSERT_EQ(paste.size(), 1u);
    EXPECT_FALSE(paste[0]->isEnabled());
    // The application's New is there and enabled, in the panel and the toolbar.
    ASSERT_EQ(ribbon->ElementWidgets(cmd::kFileNew).size(), 1u); // quick access
    EXPECT_TRUE(ribbon->ElementWidgets(cmd::kFileNew)[0]->isEnabled());

    // A view claims Paste and a check box: the next pass shows them.
    CCmdTarget view;
    int pasted = 0;
    bool rulers = true;
    view.OnCommand(cmd::kEditPaste, [&] { ++pasted; });
    view.OnCommand(cmd::kShowRulers, [&] { rulers = !rulers; }, [&](CCmdUI& ui) { ui.SetCheck(rulers); });
    frame->GetActiveChild()->SetActiveView(&view);
    frame->UpdateCommandUI();
    EXPECT_TRUE(paste[0]->isEnabled());
    auto* check = qobject_cast<QCheckBox*>(ribbon->ElementWidgets(cmd::kShowRulers).at(0));
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isChecked());

    QTest::mouseClick(paste[0], Qt::LeftButton);
    EXPECT_EQ(pasted, 1);
    check->click();
    frame->UpdateCommandUI();
    EXPECT_FALSE(rulers);
    EXPECT_FALSE(check->isChecked());
    frame->GetActiveChild()->SetActiveView(nullptr);
}

TEST_F(MainFrameTest, IdleUpdatesAreCoalescedAndRunOnceTheQueueIsEmpty)
{
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    QCoreApplication::processEvents();
    const int before = frame->IdlePassCount();
    for (int i = 0; i < 100; ++i)
        frame->RequestIdleUpdate();
    EXPECT_EQ(frame->IdlePassCount(), before);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->IdlePassCount(), before + 1);
}

TEST_F(MainFrameTest, AcceleratorsSendTheirCommandsThroughTheRouter)
{
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    std::vector<int> ran;
    CCmdTarget view;
    for (int id : {cmd::kDelete, cmd::kEditCut, cmd::kEditUndo})
        view.OnCommand(id, [&ran, id] { ran.push_back(id); });
    frame->GetActiveChild()->SetActiveView(&view);
    frame->activateWindow();
    QTest::keyClick(frame, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(frame, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_Backspace, Qt::AltModifier);
    QTest::keyClick(frame, Qt::Key_V, Qt::ControlModifier); // nobody claims Paste: nothing
    EXPECT_EQ(ran, (std::vector<int>{cmd::kDelete, cmd::kEditCut, cmd::kEditUndo}));

    // Ctrl+N reaches the application: a second project tab.
    QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(frame->GetChildren().size(), 2u);
    EXPECT_EQ(frame->GetActiveChild()->windowTitle(), "Project2");
}

// Keys go to the focused widget one by one, as a keyboard sends them: the
// first typed character opens a grid cell's editor, which takes the rest.
void typeIntoFocus(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
}

void keyIntoFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    QApplication::processEvents();
}

template <class View>
View* shownView(CChildFrame* child)
{
    for (View* view : child->findChildren<View*>())
        if (view->isVisible())
            return view;
    return nullptr;
}

TEST_F(MainFrameTest, AnOpenEditorTakesEscapeAndItsKeysBeforeTheAccelerators)
{
    auto app = shown();
    CChildFrame* child = app->MainFrame()->GetActiveChild();
    CVorteplanSoftLabelDoc& doc = child->Document();
    const QString before = root.filePath("before.proj");
    const QString after = root.filePath("after.proj");

    // A grid cell: Escape gives the typing up; Enter and Tab store it and
    // open the next cell, whose editor Escape closes again.
    auto* grid = shownView<CGridCtrl>(child);
    ASSERT_NE(grid, nullptr);
    struct CellRow {
        Qt::Key key;
        const char* stored;
        CCellID next; // the cell whose editor the key opens
    };
    for (const CellRow& row : {CellRow{Qt::Key_Escape, "old", CCellID()}, CellRow{Qt::Key_Return, "typo", {2, 1}},
                               CellRow{Qt::Key_Tab, "typo", {1, 2}}}) {
        SCOPED_TRACE(QKeySequence(row.key).toString().toStdString());
        doc.SetTableCellText("old", 0, 0);
        ASSERT_TRUE(doc.WriteProjectFile(before));
        gridtest::click(*grid, 3, 2); // a click on the focus cell would edit it:
        gridtest::click(*grid, 1, 1); // row 1, column A becomes the focus first
        QApplication::processEvents();
        typeIntoFocus(QStringLiteral("typo"));
        ASSERT_NE(grid->InPlaceEditor(), nullptr);
        keyIntoFocus(row.key);
        auto* next = qobject_cast<CGridInPlaceEdit*>(grid->InPlaceEditor());
        EXPECT_EQ(next ? CCellID(next->Row(), next->Col()) : CCellID(), row.next);
        if (next) {
            typeIntoFocus(QStringLiteral("more"));
            keyIntoFocus(Qt::Key_Escape);
            EXPECT_EQ(grid->InPlaceEditor(), nullptr);
        }
        gridtest::click(*grid, 3, 2); // would end an editor still open
        EXPECT_EQ(doc.GetTableCellText(0, 0), row.stored);
        EXPECT_EQ(doc.GetTableCellText(1, 0), "");
        ASSERT_TRUE(doc.WriteProjectFile(after));
        EXPECT_EQ(readFile(after) == readFile(before), row.key == Qt::Key_Escape);
    }

    // A text typed into on the canvas: Escape reaches its editor, which
    // closes and applies the typing as a click beside it does; the object
    // stays selected. Ctrl+A selects the editor's text, not the objects.
    auto* canvas = shownView<Vorteplan_SoftLabelDesignView>(child);
    ASSERT_NE(canvas, nullptr);
    auto owned = std::make_unique<CGraphText>();
    CGraphText* text = owned.get();
    text->SetX(10000);
    text->SetY(10000);
    text->SetWidth(40000);
    text->SetHeight(10000);
    text->SetSourceKind(kTextKindFixed);
    text->SetSelected(true);
    doc.GetCurrentTemplate().GetArea(0)->AddTail(std::move(owned));
    const auto px = [&](int32_t um) {
        return int((int64_t(um) * canvas->LogPixelsX() * canvas->GetZoom() / 100 + 12700) / 25400);
    };
    const QPoint inText(px(30000), px(15000));
    const QPoint beside(canvas->viewport()->width() - 5, canvas->viewport()->height() - 5);
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "click beside");
        text->SetText("old");
        ASSERT_TRUE(doc.WriteProjectFile(before));
        QTest::mouseDClick(canvas->viewport(), Qt::LeftButton, Qt::NoModifier, inText);
        ASSERT_NE(canvas->GetInPlaceEdit(), nullptr);
        ASSERT_EQ(QApplication::focusWidget(), canvas->GetInPlaceEdit());
        keyIntoFocus(Qt::Key_A, Qt::ControlModifier);
        typeIntoFocus(QStringLiteral("typo"));
        EXPECT_TRUE(text->IsSelected());
        if (escape)
            keyIntoFocus(Qt::Key_Escape);
        else
            QTest::mouseClick(canvas->viewport(), Qt::LeftButton, Qt::NoModifier, beside);
        EXPECT_EQ(canvas->GetInPlaceEdit(), nullptr);
        EXPECT_EQ(text->TextPart()->GetText(DrawContext{}, 100), "typo");
        if (escape) {
            EXPECT_TRUE(text->IsSelected());
        }
        text->SetSelected(true);
    }
}

TEST_F(MainFrameTest, ProjectTabsShowCloseOnTheActiveTabOnlyAndTheWindowDialogListsThem)
{
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    app->NewDocument();
    app->NewDocument();
    QTabBar* tabs = frame->MdiArea()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* close = tabs->tabButton(i, QTabBar::RightSide);
        if (close) {
            EXPECT_EQ(close->isVisibleTo(tabs), i == tabs->currentIndex()) << i;
        }
    }
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Project3");

    CWindowsDialog dialog(frame->MdiArea());
    ASSERT_EQ(dialog.List()->count(), 3);
    dialog.List()->item(0)->setSelected(true);
    dialog.List()->setCurrentRow(0);
    dialog.ActivateSelected();
    EXPECT_EQ(frame->GetActiveChild()->windowTitle(), "Project1");
    EXPECT_TRUE(app->Router().Update(cmd::kWindowDialog).IsEnabled());
}

TEST_F(MainFrameTest, CategoryChangesAreSignalledForTheModuleMarkingMode)
{
    auto app = start();
    CRibbonBar* ribbon = app->MainFrame()->Ribbon();
    QSignalSpy spy(ribbon, &CRibbonBar::activeCategoryChanged);
    EXPECT_EQ(ribbon->GetCategoryCount(), 11);
    ribbon->SetActiveCategory(kModuleMarkingCategory);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 5);
    EXPECT_EQ(ribbon->GetCategoryName(ribbon->GetActiveCategory()), "Module marking");
}

TEST_F(MainFrameTest, DroppedProjectFilesOpen)
{
    const QString path = root.filePath("Dropped.proj");
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.WriteProjectFile(path));
    }
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path), QUrl(QStringLiteral("https://example.com/x.proj"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    ASSERT_EQ(frame->GetChildren().size(), 2u);
    EXPECT_EQ(frame->GetActiveChild()->windowTitle(), "Dropped");
}

TEST_F(MainFrameTest, RecentDocumentsAreListedInTheApplicationMenuAndOpen)
{
    const QString path = root.filePath("Recent.proj");
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.WriteProjectFile(path));
    }
    for (int i = 0; i < 12; ++i) // more than the list keeps
        settings::WritePath(settings::kRecentFileList, "File" + std::to_string(i + 1),
                            i == 0 ? path : root.filePath(QString("gone%1.proj").arg(i)));
    auto app = shown();
    CRibbonBar* ribbon = app->MainFrame()->Ribbon();
    EXPECT_EQ(ribbon->RecentFiles().size(), 10);
    std::vector<QAction*> first = ribbon->ElementActions(cmd::kFileMruFirst);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0]->text(), "&1 Recent.proj");
    first[0]->trigger();
    EXPECT_EQ(app->MainFrame()->GetActiveChild()->windowTitle(), "Recent");

    // A file that is gone leaves the list when chosen.
    ribbon->ElementActions(57617).at(0)->trigger();
    EXPECT_FALSE(ribbon->RecentFiles().contains(root.filePath("gone1.proj")));
}

// A table or template file written in the middle of the work is a copy:
// the window, its tab and the recent list stay with the project, closing
// still asks, and Save (or Yes to the question) writes the project.
TEST_F(MainFrameTest, WritingATableOrTemplateFileLeavesTheProjectToBeSaved)
{
    const QString project = writeJobProject();
    ASSERT_FALSE(project.isEmpty());
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    CChildFrame* child = app->OpenDocumentFile(project);
    ASSERT_NE(child, nullptr);
    const size_t open = frame->GetChildren().size();
    CVorteplanSoftLabelDoc& doc = child->Document();
    auto edit = [&](const char* text) { // as the table view writes a cell
        doc.SaveTableUndoState();
        doc.SetTableCellText(text, 0, 0);
        doc.SetModifiedFlag(true);
    };
    auto reopened = [&] {
        CVorteplanSoftLabelDoc saved;
        return saved.Open(project) ? saved.GetTableCellText(0, 0) : std::string("(not read)");
    };
    QTabBar* tabs = frame->MdiArea()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);

    edit("zz");
    ui.fileNames.push_back(root.filePath("t.tbf"));
    ASSERT_TRUE(app->Router().Execute(cmd::kFileSaveAs));
    EXPECT_TRUE(QFileInfo::exists(root.filePath("t.tbf")));
    frame->UpdateCommandUI();
    EXPECT_EQ(child->windowTitle(), "Job");
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "Job");
    EXPECT_TRUE(frame->isWindowModified());
    ASSERT_FALSE(app->RecentFiles().Paths().isEmpty());
    EXPECT_EQ(QFileInfo(app->RecentFiles().Paths().front()).fileName(), "Job.proj");

    // Close asks about the project; Cancel keeps it open.
    ui.answers = {MessageAnswer::Cancel};
    ASSERT_TRUE(app->Router().Execute(cmd::kFileClose));
    QApplication::processEvents();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].message.text, "Save changes to " + QFile::encodeName(project).toStdString() + "?");
    ASSERT_EQ(frame->GetChildren().size(), open);

    // Save writes the project under its own name, without a dialog.
    const size_t dialogs = ui.fileDialogs.size();
    ASSERT_TRUE(app->Router().Execute(cmd::kFileSave));
    EXPECT_EQ(ui.fileDialogs.size(), dialogs);
    EXPECT_EQ(reopened(), "zz");
    EXPECT_FALSE(doc.IsModified());

    // A template file, then Yes to the question on closing.
    edit("yy");
    ui.fileNames.push_back(root.filePath("t.tpe"));
    ASSERT_TRUE(app->Router().Execute(cmd::kFileSaveAs));
    EXPECT_TRUE(QFileInfo::exists(root.filePath("t.tpe")));
    ui.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(app->Router().Execute(cmd::kFileClose));
    QApplication::processEvents();
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->GetChildren().size() == open - 1; }, 3000));
    EXPECT_EQ(reopened(), "yy");
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

// Save As under a name no writer takes ("p.txt", "q."): nothing is written,
// the user is told which kinds of file can be saved, and the project stays
// as it was, modified, under its own name.
TEST_F(MainFrameTest, SaveAsUnderANameNoWriterTakesIsRefusedWithAMessage)
{
    const QString project = writeJobProject();
    ASSERT_FALSE(project.isEmpty());
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    CChildFrame* child = app->OpenDocumentFile(project);
    ASSERT_NE(child, nullptr);
    CVorteplanSoftLabelDoc& doc = child->Document();
    doc.SaveTableUndoState();
    doc.SetTableCellText("zz", 0, 0);
    doc.SetModifiedFlag(true);

    const char* const names[] = {"p.txt", "q.", "Notes.TXT"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const size_t before = ui.messages.size();
        ui.fileNames.push_back(root.filePath(name));
        ASSERT_TRUE(app->Router().Execute(cmd::kFileSaveAs));
        ASSERT_EQ(ui.messages.size(), before + 1);
        const UserMessage& told = ui.messages.back();
        EXPECT_EQ(told.icon, MessageIcon::Error);
        EXPECT_EQ(told.text.rfind("Can not save file " + QFile::encodeName(root.filePath(name)).toStdString(), 0), 0u)
            << told.text;
        for (const char* kind : {"(*.proj)", "(*.tbf)", "(*.tpe)", "(*.label)"})
            EXPECT_NE(told.text.find(kind), std::string::npos) << told.text;
        EXPECT_FALSE(QFileInfo::exists(root.filePath(name)));
        frame->UpdateCommandUI();
        EXPECT_EQ(child->windowTitle(), "Job");
        EXPECT_TRUE(frame->isWindowModified());
        EXPECT_EQ(doc.GetPathName(), project);
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
    EXPECT_EQ(doc.GetTableCellText(0, 0), "zz");
}

// File > Exit, and the window's close, ask about every modified project
// in one round: no window closes before every answer is in and every Yes
// has saved. Cancel, or a Yes whose save fails, leaves every project open
// with its edits.
TEST_F(MainFrameTest, ExitAsksAboutEveryModifiedProjectBeforeAnyCloses)
{
    using A = MessageAnswer;
    struct Case {
        const char* what;
        bool byMenu; // File > Exit, else the window's close
        std::vector<A> answers; // about cable.proj, then Project1
        bool cableFolderGone;  // so saving cable.proj fails
        std::optional<QString> newName; // Save As for Project1 (none: cancelled)
        size_t asked;
        bool exits;
        bool cableSaved;
    };
    const Case cases[] = {
        {"No, Cancel", true, {A::No, A::Cancel}, false, {}, 2, false, false},
        {"No, Cancel on closing the window", false, {A::No, A::Cancel}, false, {}, 2, false, false},
        {"Yes, Cancel", true, {A::Yes, A::Cancel}, false, {}, 2, false, true},
        {"a Yes whose save fails", true, {A::Yes, A::No}, true, {}, 1, false, false},
        {"No, a Yes whose dialog is cancelled", false, {A::No, A::Yes}, false, std::nullopt, 2, false, false},
        {"Yes, Yes", true, {A::Yes, A::Yes}, false, QString("new.proj"), 2, true, true},
        {"No, No", false, {A::No, A::No}, false, {}, 2, true, false},
    };
    const bool quits = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = root.filePath(QString("row%1").arg(row++));
        const QString cable = folder + "/cable.proj";
        {
            QDir().mkpath(folder);
            CVorteplanSoftLabelDoc doc;
            ASSERT_TRUE(doc.OnNewDocument());
            doc.SetTableCellText("old", 0, 0);
            ASSERT_TRUE(doc.WriteProjectFile(cable));
        }
        const auto cellOf = [](const QString& file) {
            CVorteplanSoftLabelDoc saved;
            return saved.Open(file) ? saved.GetTableCellText(0, 0) : std::string("(not read)");
        };
        ui.questions.clear();
        ui.messages.clear();
        auto app = shown({cable});
        CMainFrame* frame = app->MainFrame();
        ASSERT_NE(app->NewDocument(), nullptr);
        const std::vector<CChildFrame*> children = frame->GetChildren();
        ASSERT_EQ(children.size(), 2u);
        std::vector<QPointer<CChildFrame>> windows(children.begin(), children.end());
        for (CChildFrame* child : children) { // as the table view writes a cell
            child->Document().SaveTableUndoState();
            child->Document().SetTableCellText("edited", 0, 0);
            child->Document().SetModifiedFlag(true);
        }
        if (c.cableFolderGone) {
            ASSERT_TRUE(QDir(folder).removeRecursively());
        }
        ui.answers.assign(c.answers.begin(), c.answers.end());
        ui.fileNames = {c.newName ? std::optional<QString>(folder + "/" + *c.newName) : std::nullopt};

        if (c.byMenu)
            frame->Ribbon()->ElementActions(cmd::kAppExit).at(0)->trigger();
        else
            frame->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();

        ASSERT_EQ(ui.questions.size(), c.asked);
        EXPECT_EQ(ui.questions[0].message.text, "Save changes to " + QFile::encodeName(cable).toStdString() + "?");
        if (c.asked > 1) {
            EXPECT_EQ(ui.questions[1].message.text, "Save changes to Project1?");
        }
        EXPECT_EQ(frame->isVisible(), !c.exits);
        EXPECT_EQ(ui.messages.empty(), !c.cableFolderGone);
        if (!c.cableFolderGone) {
            EXPECT_EQ(cellOf(cable), c.cableSaved ? "edited" : "old");
        }
        if (c.newName) {
            EXPECT_EQ(cellOf(folder + "/" + *c.newName), "edited");
        }
        if (c.exits)
            continue;
        // Every window is still there, with its edits; only a Yes that
        // saved took the mark away.
        for (size_t i = 0; i < windows.size(); ++i) {
            ASSERT_FALSE(windows[i].isNull()) << i;
            EXPECT_TRUE(windows[i]->isVisible()) << i;
            EXPECT_EQ(windows[i]->Document().GetTableCellText(0, 0), "edited") << i;
            EXPECT_EQ(windows[i]->Document().IsModified(), !(i == 0 && c.cableSaved)) << i;
        }
        EXPECT_EQ(frame->GetChildren().size(), 2u);
    }
    QApplication::setQuitOnLastWindowClosed(quits);
}

// Opening a project that is open already, by whatever route and under
// whatever spelling of its path, shows its window: no second copy whose
// save would undo the first one's.
TEST_F(MainFrameTest, AnOpenProjectOpenedAgainShowsItsWindow)
{
    QDir().mkpath(root.filePath("jobs"));
    const QString project = root.filePath("jobs/Job.proj");
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        ASSERT_TRUE(doc.WriteProjectFile(project));
    }
    // A table file opened as a project has no name of its own yet.
    const QString table = root.filePath("jobs/Wires.tbf");
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetTableCellText("W1", 0, 0);
        ASSERT_TRUE(doc.SaveByExtension(table));
    }
    ASSERT_TRUE(QFile::link(root.filePath("jobs"), root.filePath("link")));
    enum class Route { OpenDialog, RecentList, Drop };
    struct Case {
        Route route;
        QString path;
        bool tableFile; // the table file's window shows, else the project's
    };
    const Case cases[] = {
        {Route::OpenDialog, project, false},
        {Route::OpenDialog, root.filePath("jobs/../jobs/Job.proj"), false},
        {Route::OpenDialog, root.filePath("link/Job.proj"), false},
        {Route::RecentList, project, false},
        {Route::Drop, root.filePath("link/Job.proj"), false},
        {Route::OpenDialog, table, true},
        {Route::Drop, root.filePath("link/Wires.tbf"), true},
    };
    auto app = shown({project});
    CMainFrame* frame = app->MainFrame();
    CChildFrame* job = frame->GetActiveChild();
    ASSERT_NE(job, nullptr);
    CChildFrame* wires = app->OpenDocumentFile(table);
    ASSERT_NE(wires, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.route) << " " << c.path.toStdString());
        ASSERT_NE(app->NewDocument(), nullptr);
        const size_t open = frame->GetChildren().size();
        CChildFrame* expected = c.tableFile ? wires : job;
        switch (c.route) {
        case Route::OpenDialog:
            ui.fileNames = {c.path};
            frame->Ribbon()->ElementActions(cmd::kFileOpen).at(0)->trigger();
            EXPECT_TRUE(ui.fileNames.empty());
            break;
        case Route::RecentList:
            ASSERT_EQ(frame->Ribbon()->RecentFiles().value(0), project);
            frame->Ribbon()->ElementActions(cmd::kFileMruFirst).at(0)->trigger();
            break;
        case Route::Drop: {
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(c.path)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(frame, &enter);
            QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(frame, &drop);
            break;
        }
        }
        QApplication::processEvents();
        EXPECT_EQ(frame->GetChildren().size(), open);
        EXPECT_EQ(frame->GetActiveChild(), expected);
        EXPECT_EQ(frame->MdiArea()->activeSubWindow(), expected);
    }
    EXPECT_TRUE(ui.messages.empty());
}

// A project keeps the zoom of each area of each template: every template
// tab opens at its own, and so does the header when it is first shown.
TEST_F(MainFrameTest, EachTemplateOpensAtItsOwnStoredZoomForEachArea)
{
    const QString project = root.filePath("Zooms.proj");
    {
        CVorteplanSoftLabelDoc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        for (int k = 0; k < 3; ++k) {
            auto label = std::make_unique<CLabelFileNew>();
            label->TogglePart(1);
            doc.GetTemplate(k).SetLabel(std::move(label));
        }
        doc.GetTemplate(0).SetZoom(0, 200);
        doc.GetTemplate(0).SetZoom(1, 400);
        doc.GetTemplate(1).SetZoom(0, 300);
        doc.GetTemplate(1).SetZoom(1, 50);
        ASSERT_TRUE(doc.WriteProjectFile(project));
    }
    struct Case {
        int tab;
        int area;
        int zoom; // what the canvas shows
    };
    const Case cases[] = {
        {1, 0, 300}, {0, 0, 200}, {0, 1, 400}, {2, 0, 100}, {1, 1, 50},
    };
    auto app = shown({project});
    CMainFrame* frame = app->MainFrame();
    CChildFrame* child = frame->GetActiveChild();
    ASSERT_NE(child, nullptr);
    auto* templates = child->findChild<CTemplateTabView*>();
    ASSERT_NE(templates, nullptr);
    QApplication::processEvents();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "template " << c.tab << ", area " << c.area);
        QTabBar* tabs = templates->TabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(c.tab).center());
        QApplication::processEvents();
        ASSERT_EQ(child->Document().GetCurrentTemplateIndex(), c.tab);
        if (c.area == 1) {
            frame->UpdateCommandUI();
            QWidget* header = frame->Ribbon()->ElementWidgets(cmd::kShowHeader).at(0);
            ASSERT_TRUE(header->isEnabled());
            QTest::mouseClick(header, Qt::LeftButton);
        }
        Vorteplan_SoftLabelDesignView* canvas = shownView<Vorteplan_SoftLabelDesignView>(child);
        ASSERT_NE(canvas, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return canvas->GetArea() == c.area && canvas->GetZoom() == c.zoom; }, 2000))
            << "area " << canvas->GetArea() << " at " << canvas->GetZoom() << " %";
    }
}

// Not a check: saves the main window as a picture when VSL_SCREENSHOT names a file.
TEST_F(MainFrameTest, Screenshot)
{
    const QString target = qEnvironmentVariable("VSL_SCREENSHOT");
    if (target.isEmpty())
        GTEST_SKIP() << "VSL_SCREENSHOT not set";
    writeLabel(userLabels() + "one.label", "Sheets A4");
    auto app = shown();
    app->MainFrame()->resize(1280, 720);
    QCoreApplication::processEvents();
    app->MainFrame()->UpdateCommandUI();
    QCoreApplication::processEvents();
    EXPECT_TRUE(app->MainFrame()->grab().save(target));
    // The module-marking category in the blue Office 2007 look beside it.
    app->MainFrame()->OnApplicationLook(215);
    app->MainFrame()->Ribbon()->SetActiveCategory(kModuleMarkingCategory);
    QCoreApplication::processEvents();
    EXPECT_TRUE(app->MainFrame()->grab().save(QString(target).replace(".png", "-mm.png")));
}

} // namespace

namespace {

// The most contrasting pixel against `ground` inside `rect` of `image`.
double bestContrast(const QImage& image, const QRect& rect, const QColor& ground)
{
    double best = 1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            best = std::max(best, looks::ContrastRatio(QColor(image.pixel(x, y)), ground));
    return best;
}

// The colour most pixels of `image` have: the face a button is drawn on.
QColor mostFrequentColour(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    return QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                      return a.second < b.second;
                  })->first);
}

} // namespace

TEST_F(MainFrameTest, EveryLookKeepsTheCategoryCaptionsAndTheTabRowsButtonsReadable)
{
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    CRibbonBar* ribbon = frame->Ribbon();
    auto* tabs = ribbon->findChild<QTabBar*>(QStringLiteral("ribbonCategories"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_GT(tabs->count(), 1);
    // The buttons of the tab row as drawn, at rest and held down (as while
    // their menu is open): the caption of File and Style is text (4.5:1),
    // the pictures of the quick access toolbar are graphics (3:1).
    struct RowButton {
        const char* what;
        QToolButton* button;
        double least;
    };
    std::vector<RowButton> buttons{{"File", ribbon->ApplicationButton(), 4.5},
                                   {"Style", ribbon->findChild<QToolButton*>(QStringLiteral("styleButton")), 4.5}};
    for (int id : {cmd::kFileNew, cmd::kFileOpen})
        for (QWidget* widget : ribbon->ElementWidgets(id))
            if (auto* button = qobject_cast<QToolButton*>(widget); button && button->property("quickAccess").toBool())
                buttons.push_back({id == cmd::kFileNew ? "quick access New" : "quick access Open", button, 3});
    ASSERT_EQ(buttons.size(), 4u);
    for (const RowButton& b : buttons) {
        ASSERT_NE(b.button, nullptr) << b.what;
        ASSERT_TRUE(b.button->isEnabled()) << b.what;
    }
    for (int look = 210; look <= 219; ++look) {
        frame->OnApplicationLook(look);
        const QColor ground = looks::LookFor(look, frame->GetOffice2007Style()).ribbonTabRow;
        EXPECT_GE(looks::ContrastRatio(tabs->palette().color(QPalette::WindowText), ground), 4.5) << look;
        // As drawn: the caption of a tab that is not the current one.
        const int other = tabs->currentIndex() == 1 ? 2 : 1;
        const QImage drawn = tabs->grab().toImage();
        const QRect caption = tabs->tabRect(other).adjusted(4, 4, -4, -4);
        EXPECT_GE(bestContrast(drawn, caption, ground), 4.5) << look;
        for (const RowButton& b : buttons)
            for (bool down : {false, true}) {
                b.button->setDown(down);
                const QImage image = b.button->grab().toImage();
                b.button->setDown(false);
                const QRect inner = image.rect().adjusted(3, 3, -3, -3);
                EXPECT_GE(bestContrast(image, inner, mostFrequentColour(image.copy(inner))), b.least)
                    << b.what << (down ? " held down" : "") << " in look " << look;
            }
    }
}

TEST_F(MainFrameTest, HoveringAQuickAccessButtonShowsWhatItDoes)
{
    auto app = shown();
    CRibbonBar* ribbon = app->MainFrame()->Ribbon();
    // Each says what the ribbon calls its command elsewhere: the entries of
    // the application menu, the Undo and Redo buttons.
    const struct {
        int id;
        const char* tip;
    } rows[] = {
        {cmd::kFileNew, "New"},   {cmd::kFileOpen, "Open..."}, {cmd::kFileSave, "Save"},
        {cmd::kEditUndo, "Undo"}, {cmd::kEditRedo, "Redo"},    {cmd::kFilePrint, "Print"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tip);
        QToolButton* quick = nullptr;
        for (QWidget* widget : ribbon->ElementWidgets(row.id))
            if (widget->property("quickAccess").toBool())
                quick = qobject_cast<QToolButton*>(widget);
        ASSERT_NE(quick, nullptr);
        QTest::mouseMove(quick, quick->rect().center());
        const bool shown = QTest::qWaitFor([&] { return QToolTip::isVisible() && QToolTip::text() == row.tip; });
        EXPECT_TRUE(shown) << "shown: " << (QToolTip::isVisible() ? QToolTip::text().toStdString() : "nothing");
    }
    QToolTip::hideText();
}

TEST_F(MainFrameTest, TitleStatusBarAndAboutNameOneProductAndVersion)
{
    auto app = shown();
    CMainFrame* frame = app->MainFrame();
    const QString product = QLatin1String(appversion::kProductName);
    const QString version = QStringLiteral("%1.%2").arg(appversion::kMajor).arg(appversion::kMinor);
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->StatusPane(120)->text().startsWith(product + QStringLiteral(" V") + version));
    EXPECT_TRUE(CAboutDlg::VersionText().startsWith(QStringLiteral("Version ") + version + QLatin1Char('.')));
    // The application menu's button says what the box it opens is called.
    const std::vector<QAction*> about = frame->Ribbon()->ElementActions(cmd::kAppAbout);
    ASSERT_EQ(about.size(), 1u);
    EXPECT_EQ(about[0]->text().toStdString(), CAboutDlg(false).windowTitle().toStdString());
    EXPECT_TRUE(datafolders::ProductFolder(QStringLiteral("/x")).endsWith(product + QStringLiteral(" V") + version +
                                                                         QLatin1Char('/')));

    // The active project names the window; unsaved changes mark it.
    CChildFrame* child = app->NewDocument();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(frame->GetActiveChild(), child);
    frame->UpdateCommandUI();
    EXPECT_EQ(frame->windowTitle(), child->windowTitle() + QStringLiteral("[*] - ") + product);
    EXPECT_FALSE(frame->isWindowModified());
    child->Document().SetModifiedFlag(true);
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->isWindowModified());
    child->Document().SetModifiedFlag(false);
    frame->UpdateCommandUI();
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(MainFrameTest, TheWindowKeepsItsSizeAndMaximisedStateInTheSettings)
{
    {
        auto app = start();
        CMainFrame* frame = app->MainFrame();
        frame->ShowWithStoredState(); // first start: maximised
        EXPECT_TRUE(frame->isMaximized());
        frame->showNormal();
        frame->setGeometry(40, 50, 900, 650);
        frame->SaveWindowState();
    }
    {
        auto app = start();
        CMainFrame* frame = app->MainFrame();
        frame->ShowWithStoredState();
        EXPECT_FALSE(frame->isMaximized());
        EXPECT_EQ(frame->size(), QSize(900, 650));
        frame->showMaximized();
        frame->SaveWindowState();
    }
    auto app = start();
    app->MainFrame()->ShowWithStoredState();
    EXPECT_TRUE(app->MainFrame()->isMaximized());
}
