#pragma once
// The one way model code reaches the user: message boxes, questions, file
// dialogs, the beep, the wait cursor, the clipboard, dragging text, the
// desktop's open and mail actions, and the system colours and metrics. The shell
// installs the Qt implementation at start-up; tests install a recording one
// (platform/recordingui.h). Without an installed implementation the default
// one answers every question with its default, cancels every dialog, writes
// messages to standard error and has an empty clipboard, so model code also
// runs headless in tools and fuzzers.
//
// Texts are byte strings in the Windows code page (cp1252) as the model
// holds them; the implementation converts them at the Qt boundary. Paths
// are local file names as QString.
#include "platform/codepage.h"
#include "platform/windef.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
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

// System values the views read: lines per wheel notch, the double-click
// time in milliseconds, the width of a vertical scroll bar in pixels and the
// screen's logical pixels per inch.
enum class SystemMetricId { WheelScrollLines, DoubleClickTime, ScrollBarExtent, LogPixelsX, LogPixelsY };

// How a drag ended.
enum class DropEffect { None, Copy, Move };

// Clipboard contents from other programs are cut to this many bytes of
// text and refused as pictures above this many pixels.
constexpr size_t kMaxClipboardTextBytes = size_t(4) << 20;
constexpr int64_t kMaxClipboardImagePixels = int64_t(64) * 1000 * 1000;
constexpr size_t kMaxClipboardMetafileBytes = size_t(64) << 20;

class CUiServices {
public:
    virtual ~CUiServices() = default;

    // --- Messages and questions
    virtual void ShowMessage(const UserMessage& message);
    // A question; answers `defaultAnswer` when nobody can be asked.
    virtual MessageAnswer Ask(const UserMessage& question, MessageButtons buttons,
                              MessageAnswer defaultAnswer);
    virtual void Beep() {}
    // The wait cursor; calls nest (use CWaitCursor).
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}

    // --- File dialogs: the chosen path, or nothing on cancel.
    virtual std::optional<QString> AskOpenFileName(const FileDialogRequest& /*request*/)
    {
        return std::nullopt;
    }
    virtual std::optional<QString> AskSaveFileName(const FileDialogRequest& /*request*/)
    {
        return std::nullopt;
    }
    // An open dialog choosing several existing files; empty on cancel.
    virtual std::vector<QString> AskOpenFileNames(const FileDialogRequest& /*request*/) { return {}; }

    // --- Small dialogs the model opens itself.
    // The QR text dialog: one multi-line edit filled with `text` (cp1252
    // bytes). True with the edited text on OK; false on cancel.
    virtual bool EditQrText(std::string& /*text*/) { return false; }

    // --- Clipboard. Contents from other programs are untrusted: the
    // implementation bounds their size.
    // ClipboardFormats answers from a cache kept up to date when the
    // clipboard changes, so update handlers may call it as often as they like.
    virtual std::vector<ClipboardFormat> ClipboardFormats() { return {}; }
    // The text in `codePage` bytes, line ends as CR LF, characters the page
    // lacks as '?', at most kMaxClipboardTextBytes.
    virtual std::optional<std::string> ClipboardText(int /*codePage*/ = codepage::kAnsi) { return std::nullopt; }
    virtual std::optional<QImage> ClipboardImage() { return std::nullopt; }
    virtual std::optional<std::string> ClipboardMetafile() { return std::nullopt; } // WMF bytes
    virtual bool SetClipboardText(const std::string& /*bytes*/, int /*codePage*/ = codepage::kAnsi) { return false; }
    // A picture for other programs: `image` for Qt programs, `bmpFile` (a
    // whole .bmp file) for everyone else; either may be empty.
    virtual bool SetClipboardImage(const QImage& /*image*/, const std::string& /*bmpFile*/) { return false; }
    // A metafile for other programs: a whole placeable .wmf file.
    virtual bool SetClipboardMetafile(const std::string& /*wmfFile*/) { return false; }
    // The program's own objects marker ("VPW4_OBJECTS_NEW", one zero byte).
    virtual bool SetClipboardObjectsMarker() { return false; }

    // --- Drag and drop: drags a text (`codePage` bytes) from the view that
    // has the mouse; answers what the drop target did with it.
    virtual DropEffect DragText(const std::string& /*bytes*/, int /*codePage*/, bool /*allowMove*/)
    {
        return DropEffect::None;
    }

    // --- The desktop: opens a file with its default program, or starts a
    // mail with the file attached. False when nothing could be started.
    virtual bool OpenWithShell(const QString& /*path*/) { return false; }
    virtual bool SendMail(const QString& /*attachment*/) { return false; }

    // --- System look
    virtual COLORREF SystemColor(SystemColour which);
    virtual int SystemMetric(SystemMetricId which);
    // The font of message boxes and dialogs.
    virtual QFont MessageFont() { return QFont(); }
};

// The installed implementation (the default one when none is installed).
CUiServices& Ui();

// Installs `ui` (nullptr: the default) and answers the one it replaces.
// The caller keeps ownership.
CUiServices* SetUi(CUiServices* ui);

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor() { Ui().BeginWaitCursor(); }
    ~CWaitCursor() { Ui().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Shorthands for the common message box.
void ShowUserMessage(const std::string& text, const std::string& caption = {},
                     MessageIcon icon = MessageIcon::Information);
