#include "shell/printverbs.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "shell/printdriver.h"

#include <QPrinter>
#include <QPrinterInfo>

bool PrintProjectFile(const QString& project, QPrinter& printer)
{
    CVorteplanSoftLabelDoc doc;
    if (!doc.Open(project))
        return false;
    CPrintDriver::Job job;
    job.showDialog = false;
    return CPrintDriver::PrintDocument(doc, printer, job).outcome == CPrintDriver::Outcome::Printed;
}

bool PrintVerbPrint(const QString& project)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return PrintProjectFile(project, printer);
}

bool PrintVerbPrintTo(const QString& project, const QString& printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        ShowUserMessage("The printer '" + codepage::FromUnicode(printerName) + "' is not available.", {},
                        MessageIcon::Error);
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    return PrintProjectFile(project, printer);
}
