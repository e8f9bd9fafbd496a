#pragma once
// A scroll area whose viewport is painted from a raster back buffer of its
// own size. The scene is drawn into the buffer through a raster CDC (so XOR
// feedback is exact) when it changes, scrolls, resizes or the palette
// changes; paintEvent only copies the buffer to the screen. Gesture
// feedback is drawn straight onto the buffer with a CFeedbackDC, which
// flushes only the rectangle it touched.
//
// Sizes are Qt logical pixels; LogPixelsX/Y are the viewport's logical
// resolution (96 on a standard desktop and on the offscreen platform).
#include "platform/dc.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <cstdint>

class QScrollBar;

class CBackBufferView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CBackBufferView(QWidget* parent = nullptr);

    const QImage& BackBuffer() const { return m_buffer; }
    int LogPixelsX() const;
    int LogPixelsY() const;
    // The scroll position: the content pixel at the viewport's top-left.
    QPoint ScrollPosition() const;
    // The scrollable size of the content in pixels.
    void SetContentSize(QSize size);
    QSize ContentSize() const { return m_contentSize; }
    // The scroll steps in pixels (widths for the horizontal bar, heights for
    // the vertical one): a click in a bar's trough scrolls a page, a click on
    // its arrow a line, a wheel notch the system's wheel lines times a line
    // (at most a page). Until set, the toolkit's steps apply.
    void SetScrollSteps(QSize page, QSize line);

    // Draws the whole scene into the buffer and shows it.
    void RedrawScene();
    // Copies `rect` of the buffer (viewport coordinates) to the screen.
    void Flush(const QRect& rect);

protected:
    // Draws the scene into `dc` (viewport pixels: content minus the scroll
    // position). The default fills with the window colour.
    virtual void PaintScene(CDC& dc);
    // The system colours changed (the application look switched palettes).
    virtual void SystemColoursChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class CFeedbackDC;
    void ensureBufferSize();
    void updateScrollBars();
    void pageByOwnStep(QScrollBar* bar, int action);

    QImage m_buffer;
    bool m_stale = false; // a redraw was asked for while hidden
    QSize m_contentSize;
    QSize m_page;
    QSize m_line;
    // Eighths of a degree times lines times pixels, kept from wheels that
    // turn by parts of a notch.
    int64_t m_wheelRest[2] = {0, 0};
};
