#pragma once
// The ruler above the design canvas.
#include "shell/rulerwnd.h"

class CRulerHorWnd : public CRulerWnd {
    Q_OBJECT
public:
    explicit CRulerHorWnd(QWidget* parent = nullptr);

    void DrawTick(CDC& dc, int position, int length) override;
    void DrawMarkerLine(CDC& dc) override;
    int GetExtent() const override { return height(); }
    void DrawMajorTick(CDC& dc, int position, std::string_view text) override;
};
