#include "shell/printerdirectory.h"

#include "platform/codepage.h"
#include "shell/qtprintersetup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace {

CPrinterDirectory* g_installed = nullptr;

int32_t toUm(qreal mm)
{
    return int32_t(std::lround(mm * 1000.0));
}

int16_t toTenths(int32_t um)
{
    return int16_t(std::clamp<int64_t>((int64_t(um) + 50) / 100, 0, INT16_MAX));
}

} // namespace

CPrinterDirectory& Printers()
{
    static CPrinterDirectory system;
    return g_installed ? *g_installed : system;
}

CPrinterDirectory* SetPrinters(CPrinterDirectory* directory)
{
    CPrinterDirectory* previous = g_installed;
    g_installed = directory;
    return previous;
}

std::optional<PrinterDevModeAndNames> CPrinterDirectory::GetPrinterDevModeAndNames(
    const std::string& printerName) const
{
    if (printerName.empty())
        return std::nullopt;
    const QPrinterInfo info = QPrinterInfo::printerInfo(codepage::ToUnicode(printerName));
    if (info.isNull())
        return std::nullopt;
    QPrinter printer(info, QPrinter::HighResolution);
    LinuxPrinterSetup setup = CaptureSetup(printer);
    PrinterDevModeAndNames result;
    result.settings = EncodeLinuxPrinterSettings(setup);
    result.device = printerName;
    result.driver = kDriverName;
    result.port = printerName;
    return result;
}

void CPrinterDirectory::SelectPrinter(QPrinter& printer, const PrinterDevModeAndNames& names) const
{
    printer.setPrinterName(codepage::ToUnicode(names.device));
    if (const std::optional<LinuxPrinterSetup> setup = DecodeLinuxPrinterSettings(names.settings))
        CQtPrinterSetup(printer).ApplySetup(*setup);
}

LinuxPrinterSetup CPrinterDirectory::CaptureSetup(const QPrinter& printer)
{
    LinuxPrinterSetup s;
    s.queueName = codepage::FromUnicode(printer.printerName());
    const QPageLayout layout = printer.pageLayout();
    s.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    const QPageSize size = layout.pageSize();
    const QSizeF mm = size.size(QPageSize::Millimeter);
    s.pageSizeId = int32_t(size.id());
    s.pageWidthUm = toUm(mm.width());
    s.pageHeightUm = toUm(mm.height());
    s.paperCode = int16_t(size.windowsId() > 0 ? size.windowsId() : 256);
    s.paperWidth = toTenths(s.pageWidthUm);
    s.paperLength = toTenths(s.pageHeightUm);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    s.marginLeftUm = toUm(margins.left());
    s.marginTopUm = toUm(margins.top());
    s.marginRightUm = toUm(margins.right());
    s.marginBottomUm = toUm(margins.bottom());
    s.copies = int16_t(std::clamp(printer.copyCount(), 1, int(INT16_MAX)));
    return s;
}
