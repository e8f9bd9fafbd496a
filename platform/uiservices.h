#pragma once
// The user-interface services that model code may ask for (dialogs,
// message boxes, beeps). The shell provides the real implementation; tests
// provide scripted ones, so document and object logic runs headless.
#include <string>

class CUiServices {
public:
    virtual ~CUiServices() = default;
    // The QR text dialog: one multi-line edit filled with `text` (cp1252
    // bytes). True with the edited text on OK; false on cancel.
    virtual bool EditQrText(std::string& /*text*/) { return false; }
};
