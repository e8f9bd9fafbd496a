#pragma once
// Before a print run: does every barcode carry its text? A symbology puts
// other characters in place of those it cannot hold (a space, a 0) or
// draws nothing, so a label would say one thing and its barcode another.
#include "content/tables/drawcontext.h"

#include <optional>
#include <string>

class CTemplate;

struct UnencodableBarcode {
    int row = 0;      // 1-based label number (table row) of the run
    std::string text; // what the barcode would have to carry
};

// The first of the labels 1..`labels` (in that order) on which a barcode
// of the template's printed areas (the label, and the header and footer
// its label definition has) holds a text its symbology cannot encode;
// nothing when every barcode can. `base` gives the table and column map;
// texts that do not change from label to label are looked at once, as
// label 1.
std::optional<UnencodableBarcode> FindUnencodableBarcode(const CTemplate& tpl, const DrawContext& base, int labels);
