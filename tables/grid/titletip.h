#pragma once
// The pop-up that shows the whole text of a cell too narrow for it. A
// click on it goes to what lies below it (the cell): the tip hides and
// hands the press on, and the release after it. While it is up it watches the whole program: it goes when the mouse
// leaves the hover rectangle, however far it jumps, on any key or button,
// when the grid is hidden (another tab or project) and when the grid's
// window loses the focus.
#include "platform/windef.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

class CTitleTip : public QWidget {
    Q_OBJECT
public:
    explicit CTitleTip(QWidget* grid);

    // Shows `text` over `titleRect` (grid viewport coordinates) when it does
    // not fit there; answers whether it is shown.
    bool Show(const QRect& titleRect, const QString& text, int xOffset, const QRect& hoverRect, const QFont& font,
              COLORREF textClr = CLR_DEFAULT, COLORREF backClr = CLR_DEFAULT);
    void Hide();
    // Viewport coordinates in which the tip stays up.
    const QRect& HoverRect() const { return m_hoverRect; }
    const QString& Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void watch(bool on);
    bool outsideHoverRect(QPoint global) const;
    void handOn(QMouseEvent* e);
    QWidget* below(QPoint global) const;

    QWidget* m_grid;
    bool m_watching = false;
    QPointer<QWidget> m_pressedBelow; // where a press on the tip went
    QRect m_hoverRect;
    QString m_text;
    QColor m_textColor;
    QColor m_backColor;
};
