#pragma once
// The upper half of a template page: the design canvas with a horizontal
// ruler above it, a vertical ruler at its left and the corner square
// between them. The canvas's mouse, scroll and zoom notifications move the
// rulers; a click on the corner square selects everything of the canvas's
// area, or nothing when something was selected.
//
// The canvas is any widget; its notifications are connected by name when
// it has them: mouseMovedOnCanvas(QPoint, Qt::KeyboardModifiers),
// scrolled(int dx, int dy) and zoomed(int percent). A canvas that handles
// commands gets "Show rulers" (848) and becomes the window's active view
// when it takes the focus.
#include "shell/views/projectviewcontext.h"

#include <QWidget>

class CRulerHorWnd;
class CRulerVerWnd;

class CVorteplanSoftLabelView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRulerSize = 23;
    static constexpr int kShowRulers = 848;

    explicit CVorteplanSoftLabelView(const CProjectViewContext& context, QWidget* parent = nullptr);
    ~CVorteplanSoftLabelView() override;

    QWidget* GetDesignView() const { return m_pDesignView; }
    CRulerHorWnd* HorizontalRuler() const { return m_wndRulerHor; }
    CRulerVerWnd* VerticalRuler() const { return m_wndRulerVer; }
    bool IsShowRulers() const { return m_bShowRulers; }
    // Shows or hides both rulers and lays the children out again.
    void ToggleRulers();
    // The design view becomes the window's active view and takes the focus,
    // as a frame activates its view when it opens.
    void ActivateDesignView() { activateDesignView(); }

public slots:
    void OnDesignMouseMove(QPoint clientPoint);
    void OnDesignScrolled(int dx, int dy);
    void OnDesignZoomed(int percent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void layoutChildren();
    void activateDesignView();

    CProjectViewContext m_context;
    QWidget* m_pDesignView = nullptr;
    CRulerHorWnd* m_wndRulerHor = nullptr;
    CRulerVerWnd* m_wndRulerVer = nullptr;
    bool m_bShowRulers = true;
};
