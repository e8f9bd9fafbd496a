#pragma once
// The user-interface services that model code may ask for (dialogs,
// message boxes, beeps). The shell provides the real implementation; tests
// provide scripted ones, so document and object logic runs headless.
class CUiServices {
public:
    virtual ~CUiServices() = default;
};
