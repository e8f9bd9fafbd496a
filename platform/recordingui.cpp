#include "platform/recordingui.h"

void CRecordingUi::ShowMessage(const UserMessage& message)
{
    messages.push_back(message);
}

MessageAnswer CRecordingUi::Ask(const UserMessage& question, MessageButtons buttons, MessageAnswer defaultAnswer)
{
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
    std::optional<QString> name = std::move(fileNames.front());
    fileNames.pop_front();
    return name;
}

std::optional<QString> CRecordingUi::AskOpenFileName(const FileDialogRequest& request)
{
    return nextFileName(DialogKind::Open, request);
}

std::optional<QString> CRecordingUi::AskSaveFileName(const FileDialogRequest& request)
{
    return nextFileName(DialogKind::Save, request);
}

bool CRecordingUi::EditQrText(std::string& text)
{
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

bool CRecordingUi::SetClipboardText(const std::string& text)
{
    return recordWrite(ClipboardWrite{ClipboardWriteKind::Text, text, {}});
}

bool CRecordingUi::SetClipboardImage(const QImage& image, const std::string& bmpFile)
{
    return recordWrite(ClipboardWrite{ClipboardWriteKind::Image, bmpFile, image});
}

bool CRecordingUi::SetClipboardMetafile(const std::string& wmfFile)
{
    return recordWrite(ClipboardWrite{ClipboardWriteKind::Metafile, wmfFile, {}});
}

bool CRecordingUi::SetClipboardObjectsMarker()
{
    return recordWrite(ClipboardWrite{ClipboardWriteKind::ObjectsMarker, {}, {}});
}

COLORREF CRecordingUi::SystemColor(SystemColour which)
{
    const auto it = colours.find(which);
    return it != colours.end() ? it->second : CUiServices::SystemColor(which);
}
