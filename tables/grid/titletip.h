#pragma once
// The pop-up that shows the whole text of a cell too narrow for it. It lets
// every input through to the grid below, which hides it when the mouse
// leaves the hover rectangle and on any key or button.
#include "platform/windef.h"

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

private:
    QWidget* m_grid;
    QRect m_hoverRect;
    QString m_text;
    QColor m_textColor;
    QColor m_backColor;
};
