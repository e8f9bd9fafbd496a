#pragma once
// The print driver: runs a print job of the project document's current
// template from the check to the last page. The steps are the document's
// (check, prepare, begin, one page at a time); the driver owns the print
// dialog with the program's options page, the printer, the page loop and
// the progress window.
#include "document/print/printrun.h"

#include <QString>

#include <functional>

class CRowSelection;
class CVorteplanSoftLabelDoc;
class QPrintDialog;
class QPrinter;
class QWidget;

class CPrintDriver {
public:
    enum class Outcome {
        Printed,   // the run ended by itself
        Refused,   // a check failed or there was nothing to print (the user has been told)
        Cancelled, // the print dialog was cancelled
        Stopped,   // the user stopped the run; the pages printed so far make a whole document
        Aborted,   // a label could not be drawn; nothing was put out
        Failed,    // the printer could not be started, or the output not finished
    };

    struct Job {
        QWidget* parent = nullptr;
        bool showDialog = true;
        bool showProgress = true;
        // The table view's selected rows when printing starts from there.
        const CRowSelection* selection = nullptr;
        // Runs the dialog (tests script it); the default shows it modally.
        // True for OK.
        std::function<bool(QPrintDialog&)> runDialog;
        // Without a dialog: changes to the prepared print information
        // (range, options) before the job begins.
        std::function<void(CPrintInfo&)> adjust;
        // After every page: the page number and the labels printed so far.
        // False stops the run after that page.
        std::function<bool(int page, int labels)> pageDone;
        // After a run that printed labels, the document advances its
        // counters by them and saves itself (SaveAfterPrint).
        bool saveAfterPrint = false;
        // The caller has run the document's checks before printing (and
        // the user has answered their question): they are not run again.
        bool checked = false;
    };

    struct Result {
        Outcome outcome = Outcome::Refused;
        int pages = 0;
        int labels = 0;
    };

    // Prints the current template of `doc` on `printer` (a CUPS queue, or a
    // PDF file when its output format says so). A queue is sent the run
    // only after it has been drawn whole once on a stand-in; a PDF file is
    // written beside the chosen one, on the label's paper, and takes its
    // place when whole. The printer's copies are made by the queue, or by
    // repeating the run in a file.
    static Result PrintDocument(CVorteplanSoftLabelDoc& doc, QPrinter& printer, const Job& job);
    static Result PrintDocument(CVorteplanSoftLabelDoc& doc, QPrinter& printer, bool showDialog,
                                QWidget* parent = nullptr, const CRowSelection* selection = nullptr);

    // The application's printer: the default printer until Print Setup
    // chooses another; interactive printing starts from its settings.
    static QPrinter& ApplicationPrinter();
    // Print (57607): the dialog, then the run on the chosen printer.
    static Result Print(CVorteplanSoftLabelDoc& doc, QWidget* parent, const CRowSelection* selection = nullptr);
    // Print Setup (57606): the page set-up of the application's printer,
    // then the print run as Print does. Nothing is printed when the set-up
    // is cancelled.
    static Result PrintSetup(CVorteplanSoftLabelDoc& doc, QWidget* parent, const CRowSelection* selection = nullptr);
};
