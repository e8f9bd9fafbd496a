#pragma once
// What label definitions ask of the user interface: message boxes and the
// save-file dialog. The shell implements it; tests script it.
#include <optional>
#include <string>

enum class LabelMessageIcon { Information, Warning, Error };

struct LabelSaveDialogRequest {
    std::string defaultExtension; // without the dot
    std::string filter;           // "Description (*.ext)|*.ext||"
    std::string folder;           // where the dialog starts
    std::string initialPath;      // the name filled in, may be empty
    bool confirmOverwrite = false;
};

class CLabelUi {
public:
    virtual ~CLabelUi() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption, LabelMessageIcon icon) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> AskSaveFileName(const LabelSaveDialogRequest& request) = 0;
};
