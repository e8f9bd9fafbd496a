#pragma once
// Double-buffered painting: a device context over an off-screen image of
// the window's client size. Construct it inside the window's paint event
// and draw through Dc(); when it goes out of scope the image is copied to
// the window at the client rectangle.
#include "platform/dc.h"

#include <QImage>

#include <memory>

class QWidget;

class CBufferDC {
public:
    explicit CBufferDC(QWidget* window);
    ~CBufferDC();
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    CDC& Dc() { return *m_dc; }
    // The off-screen image, (0, 0) at the client's top left.
    const QImage& Buffer() const { return m_buffer; }
    const RECT& BufferRect() const { return m_rect; }

    // Enlarges the off-screen image to cover `rect` (from the client's top
    // left) when it reaches beyond the current one. What was drawn so far
    // is kept, and so are the device context's selected objects and modes.
    void EnsureBufferSize(const RECT& rect);

private:
    QWidget* m_window;
    QImage m_buffer;
    RECT m_rect;
    std::unique_ptr<CDC> m_dc;
};
