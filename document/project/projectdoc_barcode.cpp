// Template edit operations on barcodes: symbology, module and height, ratio
// and compensation, QR settings and the barcode flags. A changed value that
// the settings remember for new barcodes is written to "Default barcode".
#include "content/barcodes/barcode.h"
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"
#include "platform/codepage.h"
#include "platform/settings.h"

#include <functional>

using namespace templateedit;

namespace {

// The selected barcodes with a text property: nothing without one or when
// the text is unchanged; else the change and, with a key, its setting.
template <class Get, class Set>
void setBarcodeText(CVorteplanSoftLabelDoc& doc, int area, const std::string& text, Get get, Set set,
                    std::string_view key = {})
{
    CGraphCollection* c = Editable(doc, area);
    std::string current;
    if (!c || !get(*c, current) || current == text)
        return;
    Commit(doc, area, [&] { set(*c, text); });
    if (!key.empty())
        settings::WriteText(settings::kDefaultBarcode, key, text);
}

template <class Has, class Get, class Set>
void toggleBarcodeFlag(CVorteplanSoftLabelDoc& doc, int area, Has has, Get get, Set set)
{
    CGraphCollection* c = Editable(doc, area);
    if (!c || !has(*c))
        return;
    const bool on = !get(*c);
    Commit(doc, area, [&] { set(*c, on); });
}

// The first selected object answering a percentage other than -1.
int firstPercent(const CGraphCollection& c, int (CGraphObject::*get)() const)
{
    for (const auto& o : c.Objects())
        if (o->IsSelected() && ((*o).*get)() != -1)
            return ((*o).*get)();
    return -1;
}

} // namespace

void CVorteplanSoftLabelDoc::SetBarcodeType(int area, const std::string& name)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasSelectedBarcode() || !CreateBarcodeByName(name))
        return;
    std::string current;
    for (const auto& o : c->Objects())
        if (o->IsSelected() && o->GetSymbologyName(current))
            break;
    if (codepage::EqualsNoCase(current, name))
        return;
    const std::string level = GetDefaultQrEccLevel();
    Commit(*this, area, [&] {
        c->SetSelectedSymbology(name);
        c->SetSelectedQrEccLevel(level);
    });
    settings::WriteText(settings::kDefaultBarcode, settings::kBarcodeType, name);
}

void CVorteplanSoftLabelDoc::SetBarcodeModule(int area, int32_t um)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasSelectedBarcode() || c->GetSelectedBarcodeModule() == um)
        return;
    Commit(*this, area, [&] { c->SetSelectedBarcodeModule(um); });
    if (um > 100)
        settings::WriteInt(settings::kDefaultBarcode, settings::kBarcodeModule, um);
}

void CVorteplanSoftLabelDoc::SetBarcodeModulePercent(int area, int percent)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c)
        return;
    const int current = firstPercent(*c, &CGraphObject::GetModulePercent);
    if (current == -1 || current == percent)
        return;
    Commit(*this, area, [&] { ForSelected(*c, [&](CGraphObject& o) { o.SetModulePercent(percent); }); });
    settings::WriteInt(settings::kDefaultBarcode, settings::kBarcodeSize, percent);
}

void CVorteplanSoftLabelDoc::SetBarcodeHeight(int area, int32_t um)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasSelectedBarcode() || c->GetSelectedBarcodeHeight() == um)
        return;
    Commit(*this, area, [&] { c->SetSelectedBarcodeHeight(um); });
    if (um > 200)
        settings::WriteInt(settings::kDefaultBarcode, settings::kBarcodeHeight, um);
}

void CVorteplanSoftLabelDoc::SetBarcodeHeightPercent(int area, int percent)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c)
        return;
    const int current = firstPercent(*c, &CGraphObject::GetHeightPercent);
    if (current == -1 || current == percent)
        return;
    Commit(*this, area, [&] { ForSelected(*c, [&](CGraphObject& o) { o.SetHeightPercent(percent); }); });
}

void CVorteplanSoftLabelDoc::SetBarcodeRatio(int area, const std::string& text)
{
    setBarcodeText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedBarcodeRatioText),
                   std::mem_fn(&CGraphCollection::SetSelectedBarcodeRatio));
}

void CVorteplanSoftLabelDoc::SetBarcodeCompensation(int area, const std::string& text)
{
    setBarcodeText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedBarcodeGapCorrectionText),
                   std::mem_fn(&CGraphCollection::SetSelectedBarcodeGapCorrection));
}

void CVorteplanSoftLabelDoc::SetQrVersion(int area, const std::string& text)
{
    setBarcodeText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedQrVersionText),
                   std::mem_fn(&CGraphCollection::SetSelectedQrVersion), settings::kBarcodeQrVersion);
}

void CVorteplanSoftLabelDoc::SetQrEccLevel(int area, const std::string& text)
{
    setBarcodeText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedQrEccLevelText),
                   std::mem_fn(&CGraphCollection::SetSelectedQrEccLevel), settings::kBarcodeQrEccLevel);
}

void CVorteplanSoftLabelDoc::SetQrEncoding(int area, const std::string& name)
{
    setBarcodeText(*this, area, name, std::mem_fn(&CGraphCollection::GetSelectedQrEncodingName),
                   std::mem_fn(&CGraphCollection::SetSelectedQrEncodingName), settings::kBarcodeQrEncoding);
}

void CVorteplanSoftLabelDoc::SetQrMargin(int area, const std::string& text)
{
    setBarcodeText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedQrMarginText),
                   std::mem_fn(&CGraphCollection::SetSelectedQrMargin), settings::kBarcodeQrMargin);
}

void CVorteplanSoftLabelDoc::ToggleBarcodeCheckDigit(int area)
{
    toggleBarcodeFlag(*this, area, std::mem_fn(&CGraphCollection::HasSelectedBarcodeCheckDigitOption),
                      std::mem_fn(&CGraphCollection::GetSelectedBarcodeCheckDigit),
                      std::mem_fn(&CGraphCollection::SetSelectedBarcodeCheckDigit));
}

void CVorteplanSoftLabelDoc::ToggleBarcodeHumanReadable(int area)
{
    toggleBarcodeFlag(*this, area, std::mem_fn(&CGraphCollection::HasSelectedBarcodeTextOption),
                      std::mem_fn(&CGraphCollection::GetSelectedBarcodeShowText),
                      std::mem_fn(&CGraphCollection::SetSelectedBarcodeShowText));
}

void CVorteplanSoftLabelDoc::ToggleBarcodeHrCheckDigit(int area)
{
    toggleBarcodeFlag(*this, area, std::mem_fn(&CGraphCollection::HasSelectedBarcodeCheckDigitTextOption),
                      std::mem_fn(&CGraphCollection::GetSelectedBarcodeShowCheckDigit),
                      std::mem_fn(&CGraphCollection::SetSelectedBarcodeShowCheckDigit));
}
