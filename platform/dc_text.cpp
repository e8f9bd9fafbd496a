// Text output of the device context.
#include "platform/codepage.h"
#include "platform/dc.h"
#include "platform/font.h"
#include "platform/qtrect.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

QColor qcolorOf(COLORREF c)
{
    return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}

int clamp32(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

QRect qrectOf(const RECT& r)
{
    return ToQRect(r);
}

} // namespace

const QPaintDevice* CDC::device() const
{
    if (m_image)
        return m_image;
    return m_painter ? m_painter->device() : nullptr;
}

LOGFONTA CDC::SelectFont(const LOGFONTA& font)
{
    LOGFONTA old = m_state.font;
    m_state.font = font;
    m_state.font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return old;
}

unsigned CDC::SetTextAlign(unsigned align)
{
    const unsigned old = m_state.textAlign;
    m_state.textAlign = align;
    return old;
}

QFont CDC::CurrentQFont() const
{
    return gdifont::ToQFont(m_state.font, device());
}

bool CDC::GetTextMetrics(TEXTMETRICA& tm) const
{
    tm = gdifont::Metrics(m_state.font, device());
    return true;
}

SIZE CDC::GetTextExtent(std::string_view text) const
{
    const QFont f = CurrentQFont();
    const QFontMetricsF fm = device() ? QFontMetricsF(f, const_cast<QPaintDevice*>(device())) : QFontMetricsF(f);
    const QString s = codepage::ToUnicode(text, codepage::ForCharset(m_state.font.lfCharSet));
    const TEXTMETRICA tm = gdifont::Metrics(m_state.font, device());
    const double extra = double(m_state.charExtra) * double(s.size());
    return SIZE{int32_t(std::lround(fm.horizontalAdvance(s) + extra)), tm.tmHeight};
}

bool CDC::drawTextLine(double x, double y, unsigned align, const QString& text, const RECT* clip,
                       const RECT* opaqueRect, bool rtl, const std::vector<double>* advances)
{
    QPainter local;
    QPainter* p = m_painter;
    if (m_image) {
        if (m_width <= 0 || m_height <= 0)
            return true;
        local.begin(m_image);
        local.translate(m_org.x, m_org.y);
        p = &local;
    } else if (p) {
        flushFills();
        p->save();
    } else {
        return false;
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    ClipPainter(*p);
    if (clip)
        p->setClipRect(qrectOf(*clip), Qt::IntersectClip);
    if (opaqueRect)
        p->fillRect(qrectOf(*opaqueRect), qcolorOf(m_state.bkColor));

    const QFont f = CurrentQFont();
    p->setFont(f);
    p->setRenderHint(QPainter::TextAntialiasing, m_state.font.lfQuality != NONANTIALIASED_QUALITY);
    if (rtl)
        p->setLayoutDirection(Qt::RightToLeft);
    const TEXTMETRICA tm = gdifont::Metrics(m_state.font, device());
    const QFontMetricsF fm(f, const_cast<QPaintDevice*>(device()));
    // Characters placed one by one: by the advances given, or by their own
    // advance and the character extra.
    std::vector<double> own;
    if (!advances && m_state.charExtra != 0 && !text.isEmpty()) {
        own.reserve(size_t(text.size()));
        for (const QChar ch : text)
            own.push_back(fm.horizontalAdvance(ch) + m_state.charExtra);
        advances = &own;
    }
    if (advances && advances->size() != size_t(text.size()))
        advances = nullptr;
    // Right-to-left scripts are ordered and joined by the line as a whole:
    // placed one by one they would stand in stored order, unjoined. The
    // advances then give the line's width alone.
    const bool wholeLine = rtl || std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
    });
    double width = 0;
    if (advances) {
        for (double a : *advances)
            width += a;
    } else {
        width = fm.horizontalAdvance(text);
    }

    double dx = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        dx = -width / 2;
    else if (align & TA_RIGHT)
        dx = -width;
    double baseline = tm.tmAscent; // TA_TOP
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (align & TA_BOTTOM)
        baseline = -tm.tmDescent;

    p->translate(x, y);
    if (m_state.font.lfEscapement % 3600 != 0)
        p->rotate(-m_state.font.lfEscapement / 10.0);
    if (m_state.bkMode == OPAQUE)
        p->fillRect(QRectF(dx, baseline - tm.tmAscent, width, tm.tmHeight), qcolorOf(m_state.bkColor));
    p->setPen(qcolorOf(m_state.textColor));
    if (advances && !wholeLine) {
        double at = dx;
        for (qsizetype i = 0; i < text.size(); ++i) {
            p->drawText(QPointF(at, baseline), QString(text[i]));
            at += (*advances)[size_t(i)];
        }
    } else {
        p->drawText(QPointF(dx, baseline), text);
    }

    if (m_image)
        local.end();
    else
        p->restore();
    return true;
}

bool CDC::TextOut(int x, int y, std::string_view text)
{
    return ExtTextOut(x, y, 0, nullptr, text);
}

int CDC::SetTextCharacterExtra(int extra)
{
    const int old = m_state.charExtra;
    m_state.charExtra = std::clamp(extra, -4096, 4096);
    return old;
}

bool CDC::ExtTextOut(int x, int y, unsigned options, const RECT* rect, std::string_view text, const int* dx)
{
    const QString s = codepage::ToUnicode(text, codepage::ForCharset(m_state.font.lfCharSet));
    const bool rtl = (options & ETO_RTLREADING) || (m_state.textAlign & TA_RTLREADING);
    const RECT* clip = (rect && (options & ETO_CLIPPED)) ? rect : nullptr;
    const RECT* opaque = (rect && (options & ETO_OPAQUE)) ? rect : nullptr;
    if (clip && rect->Normalized().IsEmpty())
        return true;
    if (dx && size_t(s.size()) == text.size()) {
        const std::vector<double> advances(dx, dx + text.size());
        return drawTextLine(x, y, m_state.textAlign, s, clip, opaque, rtl, &advances);
    }
    return drawTextLine(x, y, m_state.textAlign, s, clip, opaque, rtl);
}

int CDC::DrawText(std::string_view text, RECT& rect, unsigned format)
{
    return DrawUnicodeText(codepage::ToUnicode(text, codepage::ForCharset(m_state.font.lfCharSet)), rect, format);
}

int CDC::DrawUnicodeText(const QString& all, RECT& rect, unsigned format)
{
    QStringList lines;
    if (format & DT_SINGLELINE) {
        QString one = all;
        one.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << one;
    } else {
        lines = all.split(QLatin1Char('\n'));
        for (QString& l : lines)
            if (l.endsWith(QLatin1Char('\r')))
                l.chop(1);
    }
    const QFont f = CurrentQFont();
    const QFontMetricsF fm = device() ? QFontMetricsF(f, const_cast<QPaintDevice*>(device())) : QFontMetricsF(f);
    const TEXTMETRICA tm = gdifont::Metrics(m_state.font, device());
    const int64_t lineHeight = tm.tmHeight;
    // Many lines of a huge font: the height stops at the 32-bit limit.
    const int total = clamp32(lineHeight * int64_t(lines.size()));
    double widest = 0;
    for (const QString& l : lines)
        widest = std::max(widest, fm.horizontalAdvance(l));

    if (format & DT_CALCRECT) {
        rect.right = clamp32(rect.left + int64_t(std::min(std::lround(widest), long(INT32_MAX))));
        rect.bottom = clamp32(int64_t(rect.top) + total);
        return total;
    }
    const RECT box = rect.Normalized();
    int64_t y = box.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = box.top + (box.Height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = box.bottom - lineHeight;
    }
    const RECT* clip = (format & DT_NOCLIP) ? nullptr : &box;
    const int savedBk = m_state.bkMode;
    const int savedEsc = m_state.font.lfEscapement;
    m_state.font.lfEscapement = 0; // laid out horizontally
    for (const QString& l : lines) {
        double x = box.left;
        unsigned align = TA_LEFT | TA_TOP;
        if (format & DT_CENTER) {
            x = box.left + box.Width() / 2.0;
            align = TA_CENTER | TA_TOP;
        } else if (format & DT_RIGHT) {
            x = box.right;
            align = TA_RIGHT | TA_TOP;
        }
        if (clip && y >= box.bottom)
            break; // the rest lies below the clipping box
        if ((format & DT_END_ELLIPSIS) && fm.horizontalAdvance(l) > double(box.Width()))
            drawTextLine(x, double(y), align, fm.elidedText(l, Qt::ElideRight, qreal(box.Width())), clip, nullptr,
                         false);
        else
            drawTextLine(x, double(y), align, l, clip, nullptr, false);
        y += lineHeight;
    }
    m_state.font.lfEscapement = savedEsc;
    m_state.bkMode = savedBk;
    return total;
}
