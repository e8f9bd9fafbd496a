#include "platform/recordingui.h"

void CRecordingUi::ShowMessage(const UserMessage& message)
{
    calls.emplace_back("ShowMessage");
    messages.push_back(message);
}

MessageAnswer CRecordingUi::Ask(const UserMessage& question, MessageButtons buttons, MessageAnswer defaultAnswer)
{
    calls.emplace_back("Ask");
    questions.push_back(Question{question, buttons, defaultAnswer});
    if (answers.empty())
        return defaultAnswer;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> CRecordingUi::nextFileName(DialogKind kind, const FileDialogRequest& request)
{
    fileDialogs.push_back(FileDialog{kind, request});
    if (fileNames.empty())
        return std::nullopt;
    // An empty entry stands for a cancelled dialog.
    const std::optional<QString> next = fileNames.front();
    fileNames.pop_front();
    if (!next)
        return std::nullopt;
    return *next;
}

std::optional<QString> CRecordingUi::AskOpenFileName(const FileDialogRequest& request)
{
    calls.emplace_back("AskOpenFileName");
    return nextFileName(DialogKind::Open, request);
}

std::optional<QString> CRecordingUi::AskSaveFileName(const FileDialogRequest& request)
{
    calls.emplace_back("AskSaveFileName");
    return nextFileName(DialogKind::Save, request);
}

std::vector<QString> CRecordingUi::AskOpenFileNames(const FileDialogRequest& request)
{
    calls.emplace_back("AskOpenFileNames");
    fileDialogs.push_back(FileDialog{DialogKind::OpenMany, request});
    if (fileNameLists.empty())
        return {};
    std::vector<QString> names = std::move(fileNameLists.front());
    fileNameLists.pop_front();
    return names;
}

bool CRecordingUi::EditQrText(std::string& text)
{
    calls.emplace_back("EditQrText");
    qrDialogTexts.push_back(text);
    if (qrTexts.empty())
        return false;
    std::optional<std::string> edited = std::move(qrTexts.front());
    qrTexts.pop_front();
    if (!edited)
        return false;
    text = std::move(*edited);
    return true;
}

bool CRecordingUi::recordWrite(ClipboardWrite write)
{
    clipboardWrites.push_back(write);
    if (!clipboardWritable)
        return false;
    clipboardFormats.clear();
    clipboardText.reset();
    clipboardImage.reset();
    clipboardMetafile.reset();
    switch (write.kind) {
    case ClipboardWriteKind::Text:
        clipboardFormats.push_back(ClipboardFormat::Text);
        clipboardText = std::move(write.bytes);
        break;
    case ClipboardWriteKind::Image:
        clipboardFormats.push_back(ClipboardFormat::Image);
        clipboardImage = std::move(write.image);
        break;
    case ClipboardWriteKind::Metafile:
        clipboardFormats.push_back(ClipboardFormat::Metafile);
        clipboardMetafile = std::move(write.bytes);
        break;
    case ClipboardWriteKind::ObjectsMarker:
        clipboardFormats.push_back(ClipboardFormat::Objects);
        break;
    }
    return true;
}

bool CRecordingUi::SetClipboardText(const std::string& text, int /*codePage*/)
{
    calls.emplace_back("SetClipboardText");
    return recordWrite(ClipboardWrite{ClipboardWriteKind::Text, text, {}});
}

bool CRecordingUi::SetClipboardImage(const QImage& image, const std::string& bmpFile)
{
    calls.emplace_back("SetClipboardImage");
    return recordWrite(ClipboardWrite{ClipboardWriteKind::Image, bmpFile, image});
}

bool CRecordingUi::SetClipboardMetafile(const std::string& wmfFile)
{
    calls.emplace_back("SetClipboardMetafile");
    return recordWrite(ClipboardWrite{ClipboardWriteKind::Metafile, wmfFile, {}});
}

bool CRecordingUi::SetClipboardObjectsMarker()
{
    calls.emplace_back("SetClipboardObjectsMarker");
    return recordWrite(ClipboardWrite{ClipboardWriteKind::ObjectsMarker, {}, {}});
}

void CRecordingUi::Beep()
{
    calls.emplace_back("Beep");
    ++beeps;
}

void CRecordingUi::BeginWaitCursor()
{
    calls.emplace_back("BeginWaitCursor");
    if (waitCursorDepth++ == 0)
        ++waitCursorShown;
}

void CRecordingUi::EndWaitCursor()
{
    calls.emplace_back("EndWaitCursor");
    if (waitCursorDepth > 0)
        --waitCursorDepth;
}

std::vector<ClipboardFormat> CRecordingUi::ClipboardFormats()
{
    calls.emplace_back("ClipboardFormats");
    return clipboardFormats;
}

std::optional<std::string> CRecordingUi::ClipboardText(int /*codePage*/)
{
    calls.emplace_back("ClipboardText");
    return clipboardText;
}

std::optional<QImage> CRecordingUi::ClipboardImage()
{
    calls.emplace_back("ClipboardImage");
    return clipboardImage;
}

std::optional<std::string> CRecordingUi::ClipboardMetafile()
{
    calls.emplace_back("ClipboardMetafile");
    return clipboardMetafile;
}

DropEffect CRecordingUi::DragText(const std::string& bytes, int codePage, bool allowMove)
{
    calls.emplace_back("DragText");
    drags.push_back(Drag{bytes, codePage, allowMove});
    if (dropEffects.empty())
        return DropEffect::None;
    const DropEffect effect = dropEffects.front();
    dropEffects.pop_front();
    return effect;
}

bool CRecordingUi::OpenWithShell(const QString& path)
{
    calls.emplace_back("OpenWithShell");
    shellOpens.push_back(path);
    return desktopWorks;
}

bool CRecordingUi::SendMail(const QString& attachment)
{
    calls.emplace_back("SendMail");
    mails.push_back(attachment);
    return desktopWorks;
}

int CRecordingUi::SystemMetric(SystemMetricId which)
{
    calls.emplace_back("SystemMetric");
    const auto it = metrics.find(which);
    return it != metrics.end() ? it->second : CUiServices::SystemMetric(which);
}

QFont CRecordingUi::MessageFont()
{
    calls.emplace_back("MessageFont");
    return messageFont;
}

COLORREF CRecordingUi::SystemColor(SystemColour which)
{
    calls.emplace_back("SystemColor");
    const auto it = colours.find(which);
    return it != colours.end() ? it->second : CUiServices::SystemColor(which);
}
