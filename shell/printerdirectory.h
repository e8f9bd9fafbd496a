#pragma once
// The system's printers as the label definition and the print commands see
// them: a CUPS queue is looked up by name and handed over as our own
// settings block plus its name triple (device = queue, driver "CUPS",
// port = queue), and a print job can be pointed at it. Tests install a
// directory of their own with fake queues.
#include "platform/printersettings.h"

#include <optional>
#include <string>

class QPrinter;

struct PrinterDevModeAndNames {
    CPrinterSettings settings; // the queue's current settings, our Linux block
    std::string device;
    std::string driver;
    std::string port;
};

class CPrinterDirectory {
public:
    static constexpr const char* kDriverName = "CUPS";

    virtual ~CPrinterDirectory() = default;
    // Nothing when no queue of that name exists.
    virtual std::optional<PrinterDevModeAndNames> GetPrinterDevModeAndNames(const std::string& printerName) const;
    // Points `printer` at the queue and applies the settings held in the
    // block (a foreign block is left alone).
    virtual void SelectPrinter(QPrinter& printer, const PrinterDevModeAndNames& names) const;

    // The settings a printer holds now, as our Linux block's fields.
    static LinuxPrinterSetup CaptureSetup(const QPrinter& printer);
};

// The installed directory (the system's unless a test installed another).
CPrinterDirectory& Printers();
// Installs a directory (null: back to the system's); answers the previous.
CPrinterDirectory* SetPrinters(CPrinterDirectory* directory);
