#pragma once
// Reading barcodes back with zbarimg (zbar-tools), many images per run of
// the tool: starting it once per image dominated the tests that read
// hundreds of symbols.
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace testsupport {

struct ZbarSymbol {
    std::string type; // as zbar names it: "CODE-128", "QR-Code", "EAN-13" ...
    std::string data; // the decoded bytes
    bool operator==(const ZbarSymbol&) const = default;
};

// True when zbarimg is on the PATH.
bool HaveZbar();

// The symbols zbarimg finds in each image (in the order given; an empty
// list where it finds none), with `options` (e.g. "-Supca.enable") for all.
std::vector<std::vector<ZbarSymbol>> ZbarRead(const std::vector<QString>& images, const QStringList& options = {});

} // namespace testsupport
