#pragma once
// "Template guide": builds the objects of one area of the current template
// from its guide table (up to ten text rows, each fed by up to three table
// columns joined by a delimiter) and two options, a frame and an image.
// Every change rebuilds the area at once. The first rebuild of each dialog
// session takes one undo snapshot of the area, so one Undo brings back the
// design the guide replaced.
#include "tables/gridowner.h"

#include <QDialog>

class CGridCtrl;
class CVorteplanSoftLabelDoc;
class QCheckBox;
struct TemplateGuideTable;

class CTemplateGuideDlg : public QDialog, public CGridOwner {
    Q_OBJECT
public:
    static constexpr int kGridRows = 11;
    static constexpr int kGridColumns = 28;
    static constexpr size_t kMaxDelimiter = 10;

    // `doc` is not owned; `area` 0 label, 1 header, 2 footer.
    CTemplateGuideDlg(CVorteplanSoftLabelDoc& doc, int area, QWidget* parent = nullptr);
    ~CTemplateGuideDlg() override;

    // The "Guide" command's dialog: runs it modally over an area.
    static void Run(CVorteplanSoftLabelDoc& doc, int area, QWidget* parent);

    // Rebuilds the area from the guide table and the options.
    void BuildLayer();
    // Adds table column `column` to text row `row` (0-based), or removes it
    // when the row has it; false when the row already has three columns.
    static bool ToggleColumn(TemplateGuideTable& table, int row, int column);

    CGridCtrl* Grid() const { return m_grid; }
    QCheckBox* FrameCheck() const { return m_frame; }
    QCheckBox* ImageCheck() const { return m_image; }
    // Rebuilds so far (tests).
    int RebuildCount() const { return m_rebuilds; }

    // --- CGridOwner
    int BeginLabelEdit(int row, int column) override;
    int EndLabelEdit(int row, int column, const std::string& text) override;
    int GetDispInfo(int row, int column, std::string& text) override;
    int GetDispInfoItem(CGridItem& item) override;
    int Click(int row, int column) override;

private:
    TemplateGuideTable* guide() const;

    CVorteplanSoftLabelDoc& m_doc;
    int m_area;
    CGridCtrl* m_grid;
    QCheckBox* m_frame;
    QCheckBox* m_image;
    bool m_snapshotTaken = false;
    int m_rebuilds = 0;
};
