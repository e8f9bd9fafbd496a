#pragma once
// The project document's own commands on the command route: select label
// and the template guide, saving the label definition, Send to, reverse
// order, Print Setup, adding, deleting and exporting templates and tables,
// importing label definition files, the module-marking switches and the two
// status panes. The document does the work; this class hands the commands
// to it and gives them their state.
#include "shell/frame/commandrouter.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class CVorteplanSoftLabelDoc;
class QPrinter;
class QWidget;

// A printer as the template stores it.
struct PrinterTriple {
    std::string device;
    std::string driver;
    std::string port;
};

struct DocumentCommandLinks {
    QWidget* parent = nullptr;
    // The per-user folders the commands copy into and save to.
    std::function<QString()> labelsFolder;
    std::function<QString()> imagesFolder;
    std::function<QString()> infoFolder;
    // The select-label dialog: the chosen label file, nothing on cancel.
    // Without it Select label is disabled.
    std::function<std::optional<QString>(CVorteplanSoftLabelDoc&)> selectLabel;
    // The template guide of the document. Without it Guide is disabled.
    std::function<void(CVorteplanSoftLabelDoc&)> runGuide;
    // Sends a command later, once control is back in the event loop.
    std::function<void(int id)> postCommand;
    // The printer setup dialog: the chosen printer, nothing on cancel.
    std::function<std::optional<PrinterTriple>()> printerSetup;
    // The first status pane when the document has nothing to show there.
    std::function<QString()> defaultPaneText;
};

class CDocumentCommands {
public:
    // Registers the commands of `doc` on `target` (the document's link of
    // the route). Both outlive the registration.
    static void Register(CCmdTarget& target, CVorteplanSoftLabelDoc& doc, DocumentCommandLinks links);

    // Send to: the project (a saved copy when it is modified) as a mail
    // attachment; false when it was not sent (the user has been told).
    static bool SendTo(CVorteplanSoftLabelDoc& doc);
    // The area the document's first design view shows; -1 without one.
    static int FirstDesignViewArea(const CVorteplanSoftLabelDoc& doc);
    // The selection pane of the document's first table view.
    static QString SelectionPaneText(const CVorteplanSoftLabelDoc& doc);
    // The printer of a QPrinter as the template stores it: the queue, "CUPS"
    // and the queue again; empty names for a file output.
    static PrinterTriple PrinterTripleOf(const QPrinter& printer);
    // The print dialog on the application's printer as the printer setup.
    static std::optional<PrinterTriple> RunPrinterSetup(QWidget* parent);
};
