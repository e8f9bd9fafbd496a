#pragma once
// The shell's print verbs of project files, which start-up registers:
//   /p <project>             prints on the default printer, without a dialog;
//   /pt <project> <printer>  prints on the named printer (CUPS queue).
// Each opens the project, prints its current template through the print
// driver and answers whether the run ended by itself.
#include <QString>

class QPrinter;

bool PrintVerbPrint(const QString& project);
bool PrintVerbPrintTo(const QString& project, const QString& printerName);
// The common part: the project printed on a printer made ready by the caller.
bool PrintProjectFile(const QString& project, QPrinter& printer);
