#include "platform/uiservices.h"

#include <cstdio>

namespace {

CUiServices& defaultUi()
{
    static CUiServices ui;
    return ui;
}

CUiServices*& installedUi()
{
    static CUiServices* ui = nullptr;
    return ui;
}

void writeToStandardError(const UserMessage& message)
{
    // The texts are cp1252; the terminal takes the local encoding.
    const QByteArray caption = codepage::ToUnicode(message.caption).toLocal8Bit();
    const QByteArray text = codepage::ToUnicode(message.text).toLocal8Bit();
    std::fprintf(stderr, "%s%s%s\n", caption.constData(), caption.isEmpty() ? "" : ": ", text.constData());
}

} // namespace

void CUiServices::ShowMessage(const UserMessage& message)
{
    writeToStandardError(message);
}

MessageAnswer CUiServices::Ask(const UserMessage& question, MessageButtons /*buttons*/, MessageAnswer defaultAnswer)
{
    writeToStandardError(question);
    return defaultAnswer;
}

COLORREF CUiServices::SystemColor(SystemColour which)
{
    // The colours of a standard Windows desktop.
    switch (which) {
    case SystemColour::Window:
        return RGB(255, 255, 255);
    case SystemColour::WindowText:
        return RGB(0, 0, 0);
    case SystemColour::ButtonFace:
        return RGB(240, 240, 240);
    case SystemColour::ButtonShadow:
        return RGB(160, 160, 160);
    case SystemColour::ButtonHighlight:
        return RGB(255, 255, 255);
    case SystemColour::DarkShadow:
        return RGB(105, 105, 105);
    case SystemColour::Highlight:
        return RGB(0, 120, 215);
    case SystemColour::HighlightText:
        return RGB(255, 255, 255);
    case SystemColour::InfoBackground:
        return RGB(255, 255, 225);
    case SystemColour::InfoText:
        return RGB(0, 0, 0);
    }
    return RGB(0, 0, 0);
}

int CUiServices::SystemMetric(SystemMetricId which)
{
    // The values of a standard Windows desktop at 96 pixels per inch.
    switch (which) {
    case SystemMetricId::WheelScrollLines:
        return 3;
    case SystemMetricId::DoubleClickTime:
        return 500;
    case SystemMetricId::ScrollBarExtent:
        return 17;
    case SystemMetricId::LogPixelsX:
    case SystemMetricId::LogPixelsY:
        return 96;
    }
    return 0;
}

CUiServices& Ui()
{
    CUiServices* ui = installedUi();
    return ui ? *ui : defaultUi();
}

CUiServices* SetUi(CUiServices* ui)
{
    CUiServices* previous = installedUi();
    installedUi() = ui;
    return previous;
}

void ShowUserMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    Ui().ShowMessage(UserMessage{text, caption, icon});
}
