#pragma once
// "Fixed length" page of the text import: the width of each column A..Z in
// a small grid, empty for a column that is not imported.
#include "tables/gridowner.h"

#include <QWidget>

#include <array>
#include <cstdint>

class CGridCtrl;

class CTextImportFixedLengthPropertyPage : public QWidget, public CGridOwner {
    Q_OBJECT
public:
    static constexpr int kColumns = 26;
    using Widths = std::array<int32_t, kColumns>;

    explicit CTextImportFixedLengthPropertyPage(QWidget* parent = nullptr);
    ~CTextImportFixedLengthPropertyPage() override;

    // -1: column not imported. Typed widths are not range-checked.
    void SetWidths(const Widths& widths);
    const Widths& GetWidths() const { return m_widths; }
    CGridCtrl* Grid() const { return m_grid; }

    // CGridOwner
    int GetDispInfo(int row, int column, std::string& text) override;
    int EndLabelEdit(int row, int column, const std::string& text) override;

private:
    CGridCtrl* m_grid;
    Widths m_widths;
};
