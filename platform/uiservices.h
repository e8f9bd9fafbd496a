#pragma once
// The one way model code reaches the user: message boxes, questions, file
// dialogs, the beep, the clipboard and the system colours. The shell
// installs the Qt implementation at start-up; tests install a recording one
// (platform/recordingui.h). Without an installed implementation the default
// one answers every question with its default, cancels every dialog, writes
// messages to standard error and has an empty clipboard, so model code also
// runs headless in tools and fuzzers.
//
// Texts are byte strings in the Windows code page (cp1252) as the model
// holds them; the implementation converts them at the Qt boundary. Paths
// are local file names as QString.
#include "platform/windef.h"

#include <QImage>
#include <QString>

#include <optional>
#include <string>
#include <vector>

enum class MessageIcon { None, Information, Warning, Error, Question };

// Which buttons a question offers.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// The button the user chose (Cancel also for a closed box).
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct UserMessage {
    std::string text;    // cp1252 bytes
    std::string caption; // empty: the application's name
    MessageIcon icon = MessageIcon::Information;
};

struct FileDialogRequest {
    // Filter in the Windows form: "Description|*.a;*.b|Other|*.c||".
    std::string filter;
    std::string defaultExtension; // without the dot; appended to a name without one
    QString folder;               // where the dialog starts; empty: wherever it likes
    QString initialName;          // the name filled in, may be empty
    std::string title;            // empty: the dialog's own title
    bool confirmOverwrite = true; // save dialogs only
};

// What the clipboard offers, in the clipboard's own order of formats.
enum class ClipboardFormat { Text, Image, Metafile, Objects };

// The system colours the model draws with (Windows COLOR_* indices).
enum class SystemColour { Window, WindowText, ButtonFace, ButtonShadow, ButtonHighlight, DarkShadow,
                          Highlight, HighlightText, InfoBackground, InfoText };

class CUiServices {
public:
    virtual ~CUiServices() = default;

    // --- Messages and questions
    virtual void ShowMessage(const UserMessage& message);
    // A question; answers `defaultAnswer` when nobody can be asked.
    virtual MessageAnswer Ask(const UserMessage& question, MessageButtons buttons,
                              MessageAnswer defaultAnswer);
    virtual void Beep() {}

    // --- File dialogs: the chosen path, or nothing on cancel.
    virtual std::optional<QString> AskOpenFileName(const FileDialogRequest& /*request*/)
    {
        return std::nullopt;
    }
    virtual std::optional<QString> AskSaveFileName(const FileDialogRequest& /*request*/)
    {
        return std::nullopt;
    }

    // --- Small dialogs the model opens itself.
    // The QR text dialog: one multi-line edit filled with `text` (cp1252
    // bytes). True with the edited text on OK; false on cancel.
    virtual bool EditQrText(std::string& /*text*/) { return false; }

    // --- Clipboard. Contents from other programs are untrusted: the
    // implementation bounds their size.
    virtual std::vector<ClipboardFormat> ClipboardFormats() { return {}; }
    virtual std::optional<std::string> ClipboardText() { return std::nullopt; } // cp1252 bytes
    virtual std::optional<QImage> ClipboardImage() { return std::nullopt; }
    virtual std::optional<std::string> ClipboardMetafile() { return std::nullopt; } // WMF bytes
    virtual bool SetClipboardText(const std::string& /*cp1252*/) { return false; }
    // A picture for other programs: `image` for Qt programs, `bmpFile` (a
    // whole .bmp file) for everyone else; either may be empty.
    virtual bool SetClipboardImage(const QImage& /*image*/, const std::string& /*bmpFile*/) { return false; }
    // A metafile for other programs: a whole placeable .wmf file.
    virtual bool SetClipboardMetafile(const std::string& /*wmfFile*/) { return false; }
    // The program's own objects marker ("VPW4_OBJECTS_NEW", one zero byte).
    virtual bool SetClipboardObjectsMarker() { return false; }

    // --- System look
    virtual COLORREF SystemColor(SystemColour which);
};

// The installed implementation (the default one when none is installed).
CUiServices& Ui();

// Installs `ui` (nullptr: the default) and answers the one it replaces.
// The caller keeps ownership.
CUiServices* SetUi(CUiServices* ui);

// Shorthands for the common message box.
void ShowUserMessage(const std::string& text, const std::string& caption = {},
                     MessageIcon icon = MessageIcon::Information);
