#include "tables/grid/titletip.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QColor toQColor(COLORREF c)
{
    return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}

} // namespace

CTitleTip::CTitleTip(QWidget* grid)
    : QWidget(grid, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput), m_grid(grid)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

bool CTitleTip::Show(const QRect& titleRect, const QString& text, int xOffset, const QRect& hoverRect,
                     const QFont& font, COLORREF textClr, COLORREF backClr)
{
    if (titleRect.isEmpty() || isVisible())
        return false;
    const QString shown = QLatin1Char(' ') + text + QLatin1Char(' ');
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(shown);
    if (titleRect.left() + xOffset + width + xOffset <= titleRect.right() + 1 - xOffset)
        return false; // it fits
    m_hoverRect = hoverRect.isEmpty() ? titleRect : hoverRect;
    m_text = shown;
    setFont(font);
    m_textColor = textClr == CLR_DEFAULT ? palette().color(QPalette::ToolTipText) : toQColor(textClr);
    m_backColor = backClr == CLR_DEFAULT ? palette().color(QPalette::ToolTipBase) : toQColor(backClr);
    const QPoint global = m_grid->mapToGlobal(titleRect.topLeft());
    setGeometry(global.x(), global.y(), width, titleRect.height());
    show();
    raise();
    return true;
}

void CTitleTip::Hide()
{
    if (isVisible())
        hide();
}

void CTitleTip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_backColor);
    p.setPen(m_textColor);
    p.setFont(font());
    p.drawText(QRect(0, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}
