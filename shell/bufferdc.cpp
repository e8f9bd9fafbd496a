#include "shell/bufferdc.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {

// Largest side of the off-screen image; a larger request is cut to it so a
// wild rectangle cannot ask for gigabytes.
constexpr int kMaxBufferSide = 4096;

QImage makeBuffer(int width, int height)
{
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

CBufferDC::CBufferDC(QWidget* window)
    : m_window(window)
{
    const QRect client = window->rect();
    m_rect = RECT{0, 0, std::clamp(client.width(), 0, kMaxBufferSide),
                  std::clamp(client.height(), 0, kMaxBufferSide)};
    m_buffer = makeBuffer(m_rect.right, m_rect.bottom);
    m_dc = std::make_unique<CDC>(&m_buffer, window->logicalDpiX(), window->logicalDpiY());
}

CBufferDC::~CBufferDC()
{
    m_dc.reset();
    QPainter painter(m_window);
    const QRect client = m_window->rect();
    painter.drawImage(client.topLeft(), m_buffer, QRect(0, 0, client.width(), client.height()));
}

void CBufferDC::EnsureBufferSize(const RECT& rect)
{
    const int right = std::clamp<int64_t>(rect.right, 0, kMaxBufferSide);
    const int bottom = std::clamp<int64_t>(rect.bottom, 0, kMaxBufferSide);
    if (right <= m_rect.right && bottom <= m_rect.bottom)
        return;
    const RECT grown{0, 0, std::max(right, m_rect.right), std::max(bottom, m_rect.bottom)};
    QImage bigger = makeBuffer(grown.right, grown.bottom);
    {
        QPainter copy(&bigger);
        copy.drawImage(0, 0, m_buffer);
    }

    m_buffer = std::move(bigger);
    m_rect = grown;

    // A device context measures its image once, so a new one is made over
    // the grown image and given the old one's selections and modes (the old
    // one is only read from here on).
    const CDC& old = *m_dc;
    auto dc = std::make_unique<CDC>(&m_buffer, old.GetDeviceCaps(LOGPIXELSX), old.GetDeviceCaps(LOGPIXELSY));
    dc->SelectPen(old.GetPen());
    dc->SelectBrush(old.GetBrush());
    dc->SetROP2(old.GetROP2());
    dc->SetBkMode(old.GetBkMode());
    dc->SetBkColor(old.GetBkColor());
    dc->SetTextColor(old.GetTextColor());
    dc->SetPolyFillMode(old.GetPolyFillMode());
    dc->SelectFont(old.GetFont());
    dc->SetTextAlign(old.GetTextAlign());
    const std::optional<RECT> clip = old.GetClipRect();
    dc->SelectClipRect(clip ? &*clip : nullptr);
    const POINT pos = old.GetCurrentPosition();
    dc->MoveTo(pos.x, pos.y);
    m_dc = std::move(dc);
}
