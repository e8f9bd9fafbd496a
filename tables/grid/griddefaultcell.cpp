#include "tables/grid/griddefaultcell.h"

#include "platform/codepage.h"
#include "platform/font.h"
#include "platform/uiservices.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <cmath>

CGridDefaultCell::CGridDefaultCell()
{
    m_format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    m_textClr = CLR_DEFAULT;
    m_backClr = CLR_DEFAULT;
    const LOGFONTA message = gdifont::FromQFont(Ui().MessageFont(), 96);
    SetFont(&message);
}

void CGridDefaultCell::SetFont(const LOGFONTA* font)
{
    if (!font)
        return;
    m_logFont = *font;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // No screen to measure on.
        m_margin = 3;
        m_width = 40;
        m_height = 16;
        return;
    }
    const QFont qfont = gdifont::ToQFont(m_logFont);
    const QFontMetricsF fm(qfont);
    const int page = codepage::ForCharset(m_logFont.lfCharSet);
    const auto width = [&](const char* text) {
        return int(std::lround(fm.horizontalAdvance(codepage::ToUnicode(text, page))));
    };
    const int height = gdifont::Metrics(m_logFont).tmHeight;
    m_margin = width(" ");
    m_width = width(" XXXXXXXXXXXX ");
    m_height = height * 3 / 2;
}
