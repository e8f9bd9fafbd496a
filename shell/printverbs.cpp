#include "shell/printverbs.h"

#include "document/project/projectdoc.h"
#include "platform/codepage.h"
#include "platform/uiservices.h"
#include "shell/printdriver.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr const char* kUsage = "Usage: vorteplan-softlabel /p PROJECT\n"
                               "       vorteplan-softlabel /pt PROJECT PRINTER";

void refuse(const std::string& text)
{
    ShowUserMessage(text, {}, MessageIcon::Error);
}

// Only a project read whole prints: one cut short or damaged would print
// the rows read before the fault and leave out the rest. Open keeps such a
// project without its file's name, as it keeps a table file, which holds
// no labels of its own.
bool openWhole(CVorteplanSoftLabelDoc& doc, const QString& project)
{
    if (!doc.Open(project))
        return false; // the reader has said why
    if (!doc.GetPathName().isEmpty())
        return true;
    if (QFileInfo(project).suffix().toLower() != QLatin1String("proj"))
        refuse(QFile::encodeName(project).toStdString() + " is not a project file.");
    // A project read in part: its reader has said so.
    return false;
}

bool printDocument(CVorteplanSoftLabelDoc& doc, QPrinter& printer, bool checked = false)
{
    CPrintDriver::Job job;
    job.showDialog = false;
    job.checked = checked;
    return CPrintDriver::PrintDocument(doc, printer, job).outcome == CPrintDriver::Outcome::Printed;
}

// What is wrong with the arguments of a print verb, or nothing.
std::optional<std::string> argumentFault(const QStringList& arguments, bool printTo)
{
    const qsizetype wanted = printTo ? 3 : 2;
    if (arguments.size() < wanted)
        return printTo ? "/pt needs the project to print and the printer." : "/p needs the project to print.";
    if (arguments.size() > wanted)
        return printTo ? "/pt takes the project to print and the printer only." : "/p takes the project to print only.";
    return std::nullopt;
}

} // namespace

bool PrintProjectFile(const QString& project, QPrinter& printer)
{
    CVorteplanSoftLabelDoc doc;
    if (!openWhole(doc, project))
        return false;
    return printDocument(doc, printer);
}

bool PrintVerbPrint(const QString& project)
{
    // The project first: what keeps it from printing is said whatever the
    // printers.
    CVorteplanSoftLabelDoc doc;
    if (!openWhole(doc, project) || !doc.CheckBeforePrint())
        return false;
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return printDocument(doc, printer, true);
}

bool PrintVerbPrintTo(const QString& project, const QString& printerName)
{
    CVorteplanSoftLabelDoc doc;
    if (!openWhole(doc, project) || !doc.CheckBeforePrint())
        return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        refuse("The printer '" + codepage::FromUnicode(printerName) + "' is not available.");
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
    // A print verb comes first. Written in capitals it is no verb, but no
    // project to open either.
    if (arguments.isEmpty())
        return std::nullopt;
    const QString& verb = arguments[0];
    const bool print = verb == QLatin1String("/p");
    const bool printTo = verb == QLatin1String("/pt");
    const bool miswritten = !print && !printTo &&
                            (verb.compare(QLatin1String("/p"), Qt::CaseInsensitive) == 0 ||
                             verb.compare(QLatin1String("/pt"), Qt::CaseInsensitive) == 0);
    if (!print && !printTo && !miswritten)
        return std::nullopt;
    // The plain services write messages to standard error and answer every
    // question with its default.
    CUiServices console;
    CUiServices* previous = HasScreen() ? nullptr : SetUi(&console);
    const std::optional<std::string> fault =
        miswritten ? std::optional<std::string>("Unknown option " + codepage::FromUnicode(verb) +
                                                ": the print commands are /p and /pt.")
                   : argumentFault(arguments, printTo);
    bool printed = false;
    if (fault)
        refuse(*fault + "\n" + kUsage);
    else
        printed = print ? PrintVerbPrint(arguments[1]) : PrintVerbPrintTo(arguments[1], arguments[2]);
    if (!HasScreen())
        SetUi(previous);
    return printed ? 0 : 1;
}
