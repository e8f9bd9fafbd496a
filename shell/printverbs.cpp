#include "shell/printverbs.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "shell/printdriver.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

bool printDocument(CVorteplanSoftLabelDoc& doc, QPrinter& printer, bool checked = false)
{
    CPrintDriver::Job job;
    job.showDialog = false;
    job.checked = checked;
    return CPrintDriver::PrintDocument(doc, printer, job).outcome == CPrintDriver::Outcome::Printed;
}

} // namespace

bool PrintProjectFile(const QString& project, QPrinter& printer)
{
    CVorteplanSoftLabelDoc doc;
    if (!doc.Open(project))
        return false;
    return printDocument(doc, printer);
}

bool PrintVerbPrint(const QString& project)
{
    // The project first: what keeps it from printing is said whatever the
    // printers.
    CVorteplanSoftLabelDoc doc;
    if (!doc.Open(project) || !doc.CheckBeforePrint())
        return false;
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return printDocument(doc, printer, true);
}

bool PrintVerbPrintTo(const QString& project, const QString& printerName)
{
    CVorteplanSoftLabelDoc doc;
    if (!doc.Open(project) || !doc.CheckBeforePrint())
        return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        ShowUserMessage("The printer '" + codepage::FromUnicode(printerName) + "' is not available.", {},
                        MessageIcon::Error);
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    return printDocument(doc, printer, true);
}

bool HasScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

std::optional<int> RunPrintVerb(const QStringList& arguments)
{
    const bool print = arguments.size() == 2 && arguments[0] == QLatin1String("/p");
    const bool printTo = arguments.size() == 3 && arguments[0] == QLatin1String("/pt");
    if (!print && !printTo)
        return std::nullopt;
    // The plain services write messages to standard error and answer every
    // question with its default.
    CUiServices console;
    CUiServices* previous = HasScreen() ? nullptr : SetUi(&console);
    const bool printed = print ? PrintVerbPrint(arguments[1]) : PrintVerbPrintTo(arguments[1], arguments[2]);
    if (!HasScreen())
        SetUi(previous);
    return printed ? 0 : 1;
}
