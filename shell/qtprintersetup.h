#pragma once
// The document's view of a QPrinter before the print dialog: its name,
// the settings this program captured for it, its papers and orientation.
#include "document/print/printrun.h"

class QPrinter;

class CQtPrinterSetup : public CPrinterSetupAccess {
public:
    explicit CQtPrinterSetup(QPrinter& printer) : m_printer(printer) {}

    // The CUPS queue; empty for output to a file.
    std::string DeviceName() const override;
    bool HasSettings() const override { return true; }
    void ApplySetup(const LinuxPrinterSetup& setup) override;
    // Files take any paper; a queue that lists its papers must list one of
    // this size (to the millimetre, either way round). A queue that lists
    // none is taken to take any.
    bool SupportsPaper(int paperCode, int32_t widthUm, int32_t lengthUm) const override;
    void SetOrientation(int orientation) override;

private:
    QPrinter& m_printer;
};
