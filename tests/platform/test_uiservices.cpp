// The user-interface route: the headless default, installing and restoring
// an implementation, and the recording one the other suites rely on.
#include "platform/recordingui.h"

#include <gtest/gtest.h>

TEST(UiServices, HeadlessDefaultAnswersLikeNobodyIsThere)
{
    CUiServices& ui = Ui();
    testing::internal::CaptureStderr();
    ShowUserMessage("Disk \xE4 full", "Saving", MessageIcon::Error);
    EXPECT_EQ(ui.Ask(UserMessage{"Overwrite?", {}, MessageIcon::Question}, MessageButtons::YesNoCancel,
                     MessageAnswer::No),
              MessageAnswer::No);
    // The cp1252 texts reach the terminal in its own (UTF-8) encoding.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Saving: Disk \xC3\xA4 full\nOverwrite?\n");

    EXPECT_FALSE(ui.AskOpenFileName({}));
    EXPECT_FALSE(ui.AskSaveFileName({}));
    std::string text = "kept";
    EXPECT_FALSE(ui.EditQrText(text));
    EXPECT_EQ(text, "kept");
    EXPECT_TRUE(ui.ClipboardFormats().empty());
    EXPECT_FALSE(ui.ClipboardText());
    EXPECT_FALSE(ui.SetClipboardText("x"));
    EXPECT_FALSE(ui.SetClipboardImage(QImage(1, 1, QImage::Format_RGB32), "BM"));
    EXPECT_EQ(ui.SystemColor(SystemColour::Highlight), RGB(0, 120, 215));
    EXPECT_EQ(ui.SystemColor(SystemColour::Window), RGB(255, 255, 255));
    EXPECT_EQ(ui.SystemMetric(SystemMetricId::WheelScrollLines), 3);
    EXPECT_EQ(ui.SystemMetric(SystemMetricId::LogPixelsY), 96);
    EXPECT_EQ(ui.DragText("x", 1252, true), DropEffect::None);
    EXPECT_FALSE(ui.OpenWithShell("/tmp/a.proj"));
    EXPECT_FALSE(ui.SendMail("/tmp/a.proj"));
    CWaitCursor wait; // harmless without a screen
}

TEST(UiServices, ScopesInstallAndRestoreInOrder)
{
    CUiServices& before = Ui();
    CRecordingUi outer, inner;
    {
        UiScope a(outer);
        EXPECT_EQ(&Ui(), &outer);
        {
            UiScope b(inner);
            ShowUserMessage("to inner");
        }
        ShowUserMessage("to outer");
    }
    EXPECT_EQ(&Ui(), &before);
    ASSERT_EQ(inner.messages.size(), 1u);
    EXPECT_EQ(inner.messages[0].text, "to inner");
    ASSERT_EQ(outer.messages.size(), 1u);
    EXPECT_EQ(outer.messages[0].text, "to outer");
    EXPECT_EQ(outer.messages[0].icon, MessageIcon::Information);
}

TEST(RecordingUi, AnswersFromItsQueuesThenAsTheDefault)
{
    CRecordingUi ui;
    ui.answers = {MessageAnswer::Yes};
    const UserMessage q{"Replace?", "Table", MessageIcon::Question};
    EXPECT_EQ(ui.Ask(q, MessageButtons::YesNo, MessageAnswer::No), MessageAnswer::Yes);
    EXPECT_EQ(ui.Ask(q, MessageButtons::YesNo, MessageAnswer::No), MessageAnswer::No);
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[1].message.caption, "Table");
    EXPECT_EQ(ui.questions[1].buttons, MessageButtons::YesNo);

    ui.fileNames = {QString("/a.label"), std::nullopt};
    FileDialogRequest request;
    request.filter = "Label files (*.label)|*.label||";
    EXPECT_EQ(ui.AskSaveFileName(request), QString("/a.label"));
    EXPECT_FALSE(ui.AskOpenFileName(request));
    EXPECT_FALSE(ui.AskOpenFileName(request)); // queue empty
    ASSERT_EQ(ui.fileDialogs.size(), 3u);
    EXPECT_EQ(ui.fileDialogs[0].kind, CRecordingUi::DialogKind::Save);
    EXPECT_EQ(ui.fileDialogs[2].request.filter, request.filter);

    ui.Beep();
    ui.Beep();
    EXPECT_EQ(ui.beeps, 2);
    ui.colours[SystemColour::Highlight] = RGB(1, 2, 3);
    EXPECT_EQ(ui.SystemColor(SystemColour::Highlight), RGB(1, 2, 3));
    EXPECT_EQ(ui.SystemColor(SystemColour::HighlightText), RGB(255, 255, 255));
}

TEST(RecordingUi, ClipboardWritesReplaceWhatItHolds)
{
    CRecordingUi ui;
    ui.clipboardFormats = {ClipboardFormat::Text};
    ui.clipboardText = "from elsewhere";
    EXPECT_EQ(ui.ClipboardText(), "from elsewhere");

    ASSERT_TRUE(ui.SetClipboardMetafile("wmf bytes"));
    EXPECT_EQ(ui.ClipboardFormats(), std::vector<ClipboardFormat>{ClipboardFormat::Metafile});
    EXPECT_FALSE(ui.ClipboardText());
    EXPECT_EQ(ui.ClipboardMetafile(), "wmf bytes");
    ASSERT_TRUE(ui.SetClipboardObjectsMarker());
    EXPECT_EQ(ui.ClipboardFormats(), std::vector<ClipboardFormat>{ClipboardFormat::Objects});
    EXPECT_FALSE(ui.ClipboardMetafile());

    ui.clipboardWritable = false;
    EXPECT_FALSE(ui.SetClipboardText("refused"));
    EXPECT_EQ(ui.ClipboardFormats(), std::vector<ClipboardFormat>{ClipboardFormat::Objects});
    ASSERT_EQ(ui.clipboardWrites.size(), 3u);
    EXPECT_EQ(ui.clipboardWrites[2].kind, CRecordingUi::ClipboardWriteKind::Text);
    EXPECT_EQ(ui.clipboardWrites[2].bytes, "refused");
}

TEST(RecordingUi, RecordsEveryCallWithItsArguments)
{
    CRecordingUi ui;
    UiScope scope(ui);
    {
        CWaitCursor outer;
        CWaitCursor inner;
        EXPECT_EQ(ui.waitCursorDepth, 2);
    }
    EXPECT_EQ(ui.waitCursorDepth, 0);
    EXPECT_EQ(ui.waitCursorShown, 1);

    ui.dropEffects = {DropEffect::Move};
    EXPECT_EQ(Ui().DragText("a\tb", 1251, true), DropEffect::Move);
    EXPECT_EQ(Ui().DragText("c", 1252, false), DropEffect::None);
    ASSERT_EQ(ui.drags.size(), 2u);
    EXPECT_EQ(ui.drags[0].bytes, "a\tb");
    EXPECT_EQ(ui.drags[0].codePage, 1251);
    EXPECT_FALSE(ui.drags[1].allowMove);

    EXPECT_TRUE(Ui().OpenWithShell("/data/X.label"));
    ui.desktopWorks = false;
    EXPECT_FALSE(Ui().SendMail("/data/job.proj"));
    EXPECT_EQ(ui.shellOpens, std::vector<QString>{"/data/X.label"});
    EXPECT_EQ(ui.mails, std::vector<QString>{"/data/job.proj"});

    ui.metrics[SystemMetricId::DoubleClickTime] = 400;
    EXPECT_EQ(Ui().SystemMetric(SystemMetricId::DoubleClickTime), 400);
    EXPECT_EQ(Ui().SystemMetric(SystemMetricId::ScrollBarExtent), 17);
    Ui().Beep();
    Ui().ClipboardFormats();
    Ui().ClipboardText(932);

    const std::vector<std::string> expected{
        "BeginWaitCursor", "BeginWaitCursor", "EndWaitCursor", "EndWaitCursor", "DragText", "DragText",
        "OpenWithShell", "SendMail", "SystemMetric", "SystemMetric", "Beep", "ClipboardFormats", "ClipboardText"};
    EXPECT_EQ(ui.calls, expected);
}
