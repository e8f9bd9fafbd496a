#pragma once
// A text link: blue, red while the pointer is over it, drawn double
// buffered in the button-face colour, with a hand cursor and a tooltip
// naming its target. Releasing the left button over it opens the target
// through the desktop (a failure is not reported).
//
// Hover is cleared when the pointer leaves; while hovered a 300 ms timer
// also checks where the pointer is, so a window that opens over the link
// and swallows the leave clears the hover colour too.
#include "platform/windef.h"

#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class CHyperLink : public QWidget {
    Q_OBJECT
public:
    static constexpr COLORREF kLinkColour = RGB(0, 0, 255);
    static constexpr COLORREF kHoverColour = RGB(255, 0, 0);
    static constexpr COLORREF kPressedColour = RGB(200, 0, 225);
    static constexpr int kRecheckInterval = 300; // ms
    static constexpr int kTooltipDuration = 1600; // ms
    static constexpr int kMargin = 2;              // pixels around the text

    explicit CHyperLink(QWidget* parent = nullptr);

    // The text shown; line breaks make several lines. The control takes
    // the size of its text.
    void SetText(const QString& text);
    QString GetText() const { return m_text; }
    // The target, also the tooltip.
    void SetURL(const QUrl& url);
    QUrl GetURL() const { return m_url; }
    // Targets the program's own page: the installed README.
    void SetDefaultURL();
    static QUrl DefaultURL();

    bool IsHover() const { return m_hover; }
    bool IsPressed() const { return m_pressed; }
    // The colour the text is drawn in now.
    COLORREF TextColour() const;
    // Arial, 14 pixels high, normal weight, antialiased.
    static LOGFONTA LinkFont();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setHover();
    void recheck();
    // Whether the pointer is inside the control and no other window lies
    // over it there.
    bool pointerOver() const;

    QString m_text;
    QUrl m_url;
    bool m_hover = false;
    bool m_pressed = false;
    QTimer m_recheck;
};
