#pragma once
// The user-interface services that model code may ask for (dialogs,
// message boxes, beeps). The shell provides the real implementation; tests
// provide scripted ones, so document and object logic runs headless. Every
// service answers "cancelled" unless an implementation provides it.
#include <QString>
#include <string>

class CUiServices {
public:
    virtual ~CUiServices() = default;

    // An open-file dialog for one existing file. `filter` is in the Windows
    // form ("Description |*.a;*.b||"), `defaultExtension` like "*.jpg".
    // Answers true with the chosen path on OK, false on cancel.
    virtual bool PromptOpenFile(const QString& /*defaultExtension*/, const QString& /*filter*/,
                                const QString& /*initialFolder*/, QString& /*path*/)
    {
        return false;
    }

    // The QR text dialog: one multi-line edit filled with `text` (cp1252
    // bytes). True with the edited text on OK; false on cancel.
    virtual bool EditQrText(std::string& /*text*/) { return false; }
};
