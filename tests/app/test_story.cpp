// The whole job as a user does it, in the real program: first start, a new
// project on a stock label, bound objects drawn on the canvas, a text file
// and a workbook imported, filtered and sorted, every row printed to a PDF
// and read back, the project saved, closed, reopened and saved again.
// UnderX runs the same start and print story on a real X server (CTest runs
// it under xvfb-run) and copies an object from one project window into
// another through the X clipboard.
#include "story_steps.h"

#include "content/objects/collection.h"
#include "document/project/projectdoc.h"
#include "platform/commandids.h"
#include "shell/design/designview.h"
#include "shell/frame/childframe.h"
#include "shell/frame/mainframe.h"
#include "shell/qtuiservices.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMimeData>

#include <iostream>

namespace story {
namespace {

// The program's own clipboard and drag and drop, with the dialogs and
// messages answered from a script.
class ScriptedQtUi : public CQtUiServices {
public:
    CRecordingUi script;

    void ShowMessage(const UserMessage& message) override { script.ShowMessage(message); }
    MessageAnswer Ask(const UserMessage& question, MessageButtons buttons, MessageAnswer defaultAnswer) override
    {
        return script.Ask(question, buttons, defaultAnswer);
    }
    std::optional<QString> AskOpenFileName(const FileDialogRequest& request) override
    {
        return script.AskOpenFileName(request);
    }
    std::optional<QString> AskSaveFileName(const FileDialogRequest& request) override
    {
        return script.AskSaveFileName(request);
    }
    bool EditQrText(std::string& text) override { return script.EditQrText(text); }
    bool OpenWithShell(const QString& path) override { return script.OpenWithShell(path); }
    bool SendMail(const QString& attachment) override { return script.SendMail(attachment); }
};

class Story : public StorySteps {
protected:
    void TearDown() override
    {
        for (const std::string& s : standIns)
            std::cout << "[ stand-in ] " << s << '\n';
        StorySteps::TearDown();
    }
};

bool OnX()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

TEST_F(Story, FirstStartToPrintedLabelsAndReopenedProject)
{
    if (OnX())
        GTEST_SKIP() << "the offscreen story; UnderX runs on this X server";
    CRecordingUi ui;
    ASSERT_NO_FATAL_FAILURE(firstStart(ui, ui));
    CChildFrame* child = newProjectWithStockLabel();
    ASSERT_NE(child, nullptr);
    ASSERT_NO_FATAL_FAILURE(insertBoundObjects(child));
    ASSERT_NO_FATAL_FAILURE(importFilterSort(child, ui));
    ASSERT_NO_FATAL_FAILURE(printAndRead(child, path(QStringLiteral("labels.pdf"))));
    ASSERT_NO_FATAL_FAILURE(saveCloseReopen(child, ui));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

TEST_F(Story, UnderX)
{
    if (!OnX())
        GTEST_SKIP() << "needs a real X server (the e2e.xvfb test runs it under xvfb-run)";
    ScriptedQtUi ui;
    CRecordingUi& script = ui.script;
    ASSERT_NO_FATAL_FAILURE(firstStart(ui, script));
    CChildFrame* first = activeChild();
    CChildFrame* child = newProjectWithStockLabel();
    ASSERT_NE(child, nullptr);
    ASSERT_NE(first, child);
    ASSERT_NO_FATAL_FAILURE(insertBoundObjects(child));
    ASSERT_NO_FATAL_FAILURE(importFilterSort(child, script));
    ASSERT_NO_FATAL_FAILURE(printAndRead(child, path(QStringLiteral("labels.pdf"))));

    // Copy the QR code in this window: click it, Copy.
    ASSERT_NO_FATAL_FAILURE(activateCanvas(child));
    Vorteplan_SoftLabelDesignView* view = canvas(child);
    CVorteplanSoftLabelDoc& doc = child->Document();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, canvasPoint(view, 57500, 10500));
    ASSERT_EQ(doc.GetSelectedCount(0), 1);
    CGraphCollection copied; // the design views' copy of the objects
    viaCommand(cmd::kEditCopy, "Copy", [&] {
        ASSERT_TRUE(doc.CopySelection(0, copied));
        ASSERT_TRUE(Ui().SetClipboardObjectsMarker());
    });
    // The X server names us the owner of the marker.
    const auto marked = [] {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        return mime && mime->hasFormat(QStringLiteral("VPW4_OBJECTS_NEW"));
    };
    (void)QTest::qWaitFor(marked);
    ASSERT_TRUE(marked()) << QGuiApplication::clipboard()->mimeData()->formats().join(' ').toStdString();
    EXPECT_TRUE(QGuiApplication::clipboard()->ownsClipboard());

    // Paste into the other project window, on the same stock label.
    app->MainFrame()->MdiArea()->setActiveSubWindow(first);
    QApplication::processEvents();
    ASSERT_EQ(activeChild(), first);
    CVorteplanSoftLabelDoc& other = first->Document();
    ASSERT_NO_FATAL_FAILURE(selectStockLabel(first));
    ASSERT_NO_FATAL_FAILURE(activateCanvas(first));
    viaCommand(cmd::kEditPaste, "Paste", [&] {
        const std::vector<ClipboardFormat> formats = Ui().ClipboardFormats();
        ASSERT_NE(std::find(formats.begin(), formats.end(), ClipboardFormat::Objects), formats.end());
        ASSERT_TRUE(other.PasteObjects(0, copied));
    });
    const CGraphCollection& pasted = *other.GetCurrentTemplate().GetArea(0);
    ASSERT_EQ(pasted.GetCount(), 1u);
    std::string column;
    ASSERT_TRUE(pasted.GetAt(0)->GetSourceColumnText(column));
    EXPECT_EQ(column, "A");
    EXPECT_TRUE(script.messages.empty()) << script.messages.front().text;
}

} // namespace
} // namespace story
