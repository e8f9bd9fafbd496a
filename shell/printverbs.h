#pragma once
// The shell's print verbs of project files, which start-up registers:
//   /p <project>             prints on the default printer, without a dialog;
//   /pt <project> <printer>  prints on the named printer (CUPS queue).
// Each opens the project, only when it reads whole, and checks that it can
// print before it turns to a printer, prints its current template through
// the print driver and answers whether the run ended by itself.
#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;

bool PrintVerbPrint(const QString& project);
bool PrintVerbPrintTo(const QString& project, const QString& printerName);
// The common part: the project printed on a printer made ready by the caller.
bool PrintProjectFile(const QString& project, QPrinter& printer);

// Whether the program runs with a screen: not on the offscreen and minimal
// platforms, where print servers and scripts run the verbs.
bool HasScreen();
// The program's arguments as a print verb: its exit status (0 when the run
// ended by itself), or nothing when they are no print verb. A verb with
// arguments missing or left over, or written in capitals, ends with the
// usage and 1. Without a screen every message goes to standard error
// instead of a message box that nobody could close.
std::optional<int> RunPrintVerb(const QStringList& arguments);
