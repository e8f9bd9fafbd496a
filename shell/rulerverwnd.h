#pragma once
// The ruler to the left of the design canvas.
#include "shell/rulerwnd.h"

class CRulerVerWnd : public CRulerWnd {
    Q_OBJECT
public:
    explicit CRulerVerWnd(QWidget* parent = nullptr);

    void DrawTick(CDC& dc, int position, int length) override;
    void DrawMarkerLine(CDC& dc) override;
    int GetExtent() const override { return width(); }
    void DrawMajorTick(CDC& dc, int position, std::string_view text) override;
};
