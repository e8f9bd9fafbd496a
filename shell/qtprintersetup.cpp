#include "shell/qtprintersetup.h"

#include "platform/codepage.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <cstdlib>

namespace {

int32_t mmToUm(qreal mm)
{
    return int32_t(std::lround(mm * 1000.0));
}

} // namespace

std::string CQtPrinterSetup::DeviceName() const
{
    if (m_printer.outputFormat() != QPrinter::NativeFormat)
        return {};
    return codepage::FromUnicode(m_printer.printerName());
}

void CQtPrinterSetup::ApplySetup(const LinuxPrinterSetup& s)
{
    if (s.pageSizeId >= 0 && s.pageSizeId < int(QPageSize::LastPageSize) && s.pageSizeId != int(QPageSize::Custom))
        m_printer.setPageSize(QPageSize(QPageSize::PageSizeId(s.pageSizeId)));
    else if (s.pageWidthUm > 0 && s.pageHeightUm > 0)
        m_printer.setPageSize(
            QPageSize(QSizeF(s.pageWidthUm / 1000.0, s.pageHeightUm / 1000.0), QPageSize::Millimeter));
    m_printer.setPageOrientation(s.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (s.marginLeftUm >= 0 && s.marginTopUm >= 0 && s.marginRightUm >= 0 && s.marginBottomUm >= 0)
        m_printer.setPageMargins(QMarginsF(s.marginLeftUm / 1000.0, s.marginTopUm / 1000.0, s.marginRightUm / 1000.0,
                                           s.marginBottomUm / 1000.0),
                                 QPageLayout::Millimeter);
    if (s.copies > 0)
        m_printer.setCopyCount(s.copies);
}

bool CQtPrinterSetup::SupportsPaper(int /*paperCode*/, int32_t widthUm, int32_t lengthUm) const
{
    if (m_printer.outputFormat() != QPrinter::NativeFormat)
        return true;
    const QList<QPageSize> sizes = QPrinterInfo(m_printer).supportedPageSizes();
    if (sizes.isEmpty())
        return true;
    for (const QPageSize& size : sizes) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        const int32_t w = mmToUm(mm.width());
        const int32_t h = mmToUm(mm.height());
        auto near = [](int32_t a, int32_t b) { return std::abs(int64_t(a) - b) <= 1000; };
        if ((near(w, widthUm) && near(h, lengthUm)) || (near(w, lengthUm) && near(h, widthUm)))
            return true;
    }
    return false;
}

void CQtPrinterSetup::SetOrientation(int orientation)
{
    m_printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}
