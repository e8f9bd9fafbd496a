#include "document/project/barcodecheck.h"

#include "content/objects/collection.h"
#include "content/objects/graphbarcode.h"
#include "document/label/label.h"
#include "document/template/template.h"

#include <vector>

namespace {

void collectBarcodes(const CGraphCollection& objects, std::vector<const CGraphBarcode*>& out)
{
    for (const auto& o : objects.Objects()) {
        if (const auto* group = dynamic_cast<const CGraphCollection*>(o.get()))
            collectBarcodes(*group, out);
        else if (const auto* barcode = dynamic_cast<const CGraphBarcode*>(o.get()))
            out.push_back(barcode);
    }
}

// Whether the object's text changes from label to label.
bool perLabel(const CGraphBarcode& barcode)
{
    const int kind = barcode.GetSourceKind();
    return kind == kTextKindTable || kind == kTextKindCounter;
}

} // namespace

std::optional<UnencodableBarcode> FindUnencodableBarcode(const CTemplate& tpl, const DrawContext& base, int labels)
{
    const CLabel* label = tpl.GetLabel();
    std::vector<const CGraphBarcode*> barcodes;
    for (int area = 0; area < 3; ++area) {
        const bool printed = area == 0 || (label && (area == 1 ? label->HasHeader() : label->HasFooter()));
        if (const CGraphCollection* objects = tpl.GetArea(area); objects && printed)
            collectBarcodes(*objects, barcodes);
    }
    DrawContext context = base;
    context.placeholder = false;
    context.flags = kDrawPrinting;
    std::vector<const CGraphBarcode*> varying;
    for (const CGraphBarcode* barcode : barcodes) {
        if (perLabel(*barcode)) {
            varying.push_back(barcode);
            continue;
        }
        context.labelNumber = 1;
        std::string text = barcode->SymbolText(context);
        if (!barcode->Symbology().CanEncode(text))
            return UnencodableBarcode{1, std::move(text)};
    }
    if (varying.empty())
        return std::nullopt;
    for (int row = 1; row <= labels; ++row) {
        context.labelNumber = row;
        for (const CGraphBarcode* barcode : varying) {
            std::string text = barcode->SymbolText(context);
            if (!barcode->Symbology().CanEncode(text))
                return UnencodableBarcode{row, std::move(text)};
        }
    }
    return std::nullopt;
}
