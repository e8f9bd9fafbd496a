#pragma once
// A user interface for tests: records every call model code makes and
// answers from scripted queues, so dialogs and messages can be checked
// without a screen. Install it for a scope with UiScope.
#include "platform/uiservices.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CRecordingUi : public CUiServices {
public:
    struct Question {
        UserMessage message;
        MessageButtons buttons = MessageButtons::Ok;
        MessageAnswer defaultAnswer = MessageAnswer::Ok;
    };
    enum class DialogKind { Open, Save, OpenMany };
    struct FileDialog {
        DialogKind kind = DialogKind::Open;
        FileDialogRequest request;
    };
    enum class ClipboardWriteKind { Text, Image, Metafile, ObjectsMarker };
    struct ClipboardWrite {
        ClipboardWriteKind kind = ClipboardWriteKind::Text;
        std::string bytes; // text, .bmp file or .wmf file
        QImage image;
    };

    // --- What was asked, in order.
    std::vector<UserMessage> messages;
    std::vector<Question> questions;
    std::vector<FileDialog> fileDialogs;
    std::vector<std::string> qrDialogTexts; // the text each QR dialog opened with
    std::vector<ClipboardWrite> clipboardWrites;
    struct Drag {
        std::string bytes;
        int codePage = codepage::kAnsi;
        bool allowMove = false;
    };
    std::vector<Drag> drags;
    std::vector<QString> shellOpens; // files opened with their default program
    std::vector<QString> mails;      // attachments of started mails
    int beeps = 0;
    int waitCursorDepth = 0;  // current nesting
    int waitCursorShown = 0;  // how often it went from hidden to shown
    // Every call by name, in order ("ShowMessage", "ClipboardFormats", ...).
    std::vector<std::string> calls;

    // --- Scripted answers, taken from the front. An empty queue answers as
    // nobody there would: the question's default, a cancelled dialog.
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<QString>> fileNames; // nothing: cancel
    std::deque<std::vector<QString>> fileNameLists; // for AskOpenFileNames; empty: cancel
    std::deque<std::optional<std::string>> qrTexts; // nothing: cancel
    std::deque<DropEffect> dropEffects;             // empty: None
    bool desktopWorks = true;                       // answer of OpenWithShell and SendMail

    // --- What the clipboard holds for reading. A successful write replaces
    // it, as on a real clipboard; clipboardWritable = false refuses writes.
    std::vector<ClipboardFormat> clipboardFormats;
    std::optional<std::string> clipboardText;
    std::optional<QImage> clipboardImage;
    std::optional<std::string> clipboardMetafile;
    bool clipboardWritable = true;

    // System colours and metrics other than the default implementation's.
    std::map<SystemColour, COLORREF> colours;
    std::map<SystemMetricId, int> metrics;
    QFont messageFont;

    void ShowMessage(const UserMessage& message) override;
    MessageAnswer Ask(const UserMessage& question, MessageButtons buttons, MessageAnswer defaultAnswer) override;
    void Beep() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::optional<QString> AskOpenFileName(const FileDialogRequest& request) override;
    std::optional<QString> AskSaveFileName(const FileDialogRequest& request) override;
    std::vector<QString> AskOpenFileNames(const FileDialogRequest& request) override;
    bool EditQrText(std::string& text) override;
    std::vector<ClipboardFormat> ClipboardFormats() override;
    std::optional<std::string> ClipboardText(int codePage = codepage::kAnsi) override;
    std::optional<QImage> ClipboardImage() override;
    std::optional<std::string> ClipboardMetafile() override;
    bool SetClipboardText(const std::string& text, int codePage = codepage::kAnsi) override;
    bool SetClipboardImage(const QImage& image, const std::string& bmpFile) override;
    bool SetClipboardMetafile(const std::string& wmfFile) override;
    bool SetClipboardObjectsMarker() override;
    DropEffect DragText(const std::string& bytes, int codePage, bool allowMove) override;
    bool OpenWithShell(const QString& path) override;
    bool SendMail(const QString& attachment) override;
    COLORREF SystemColor(SystemColour which) override;
    int SystemMetric(SystemMetricId which) override;
    QFont MessageFont() override;

private:
    std::optional<QString> nextFileName(DialogKind kind, const FileDialogRequest& request);
    bool recordWrite(ClipboardWrite write);
};

// Installs a user interface for its lifetime and then restores the one it
// replaced.
class UiScope {
public:
    explicit UiScope(CUiServices& ui) : m_previous(SetUi(&ui)) {}
    ~UiScope() { SetUi(m_previous); }
    UiScope(const UiScope&) = delete;
    UiScope& operator=(const UiScope&) = delete;

private:
    CUiServices* m_previous;
};
