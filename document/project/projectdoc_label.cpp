// Label-definition operations of the current template: paper, orientation,
// part offsets and sizes, pitches, counts, shape, types and the definition
// itself. They take no undo snapshot: the area histories hold objects only.
#include "document/label/labelfile.h"
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"
#include "platform/numberformat.h"

#include <algorithm>

using namespace templateedit;

namespace {

// The current template's definition, made an article-number definition
// when it has none; null when the template is locked.
CLabel* ensureLabel(CVorteplanSoftLabelDoc& doc)
{
    CTemplate& t = doc.GetCurrentTemplate();
    if (t.IsLocked())
        return nullptr;
    if (!t.GetLabel())
        t.SetLabel(std::make_unique<CLabelFileNewArticleNo>());
    return t.GetLabel();
}

bool validPart(int part)
{
    return part >= 0 && part < kTemplateAreas;
}

int tenthsOfMm(int32_t um)
{
    return int((int64_t(um) + 50) / 100);
}

} // namespace

void CVorteplanSoftLabelDoc::ChoosePaperSize(const std::string& paperName)
{
    CLabel* label = ensureLabel(*this);
    if (label && label->SetPaperName(paperName))
        TemplateEdited();
}

void CVorteplanSoftLabelDoc::SetPaperWidth(int32_t um)
{
    if (CLabel* label = EditableLabel(*this)) {
        label->SetPaperWidth(tenthsOfMm(um), true);
        SetModifiedFlag(true);
    }
}

void CVorteplanSoftLabelDoc::SetPaperHeight(int32_t um)
{
    if (CLabel* label = EditableLabel(*this)) {
        label->SetPaperLength(tenthsOfMm(um), true);
        SetModifiedFlag(true);
    }
}

void CVorteplanSoftLabelDoc::SetPaperOrientation(int orientation)
{
    CLabel* label = EditableLabel(*this);
    if (!label || (orientation != kPortrait && orientation != kLandscape))
        return;
    label->SetOrientation(orientation);
    SetModifiedFlag(true);
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::SetAreaLeft(int part, int32_t um)
{
    CLabel* label = EditableLabel(*this);
    if (!label || !validPart(part))
        return;
    label->SetLeft(part, um);
    TemplateEdited();
}

void CVorteplanSoftLabelDoc::SetAreaTop(int part, int32_t um)
{
    CLabel* label = EditableLabel(*this);
    if (!label || !validPart(part))
        return;
    label->SetTop(part, um);
    TemplateEdited();
}

void CVorteplanSoftLabelDoc::SetAreaWidth(int part, int32_t um)
{
    if (!validPart(part) || um < 0)
        return;
    if (CLabel* label = ensureLabel(*this)) {
        label->SetWidth(part, um, true);
        TemplateEdited();
    }
}

void CVorteplanSoftLabelDoc::SetAreaHeight(int part, int32_t um)
{
    if (!validPart(part) || um < 0)
        return;
    if (CLabel* label = ensureLabel(*this)) {
        label->SetHeight(part, um);
        TemplateEdited();
    }
}

void CVorteplanSoftLabelDoc::SetHorizontalPitch(int32_t um)
{
    CLabel* label = EditableLabel(*this);
    if (!label || um < 0)
        return;
    label->SetColumnPitch(um);
    TemplateEdited();
}

void CVorteplanSoftLabelDoc::SetVerticalPitch(int32_t um)
{
    CLabel* label = EditableLabel(*this);
    if (!label || um < 0)
        return;
    label->SetRowPitch(um);
    TemplateEdited();
}

void CVorteplanSoftLabelDoc::SetRowCount(int rows)
{
    CLabel* label = EditableLabel(*this);
    if (!label || rows < 1)
        return;
    label->SetRows(rows);
    SetModifiedFlag(true);
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::SetColumnCount(int columns)
{
    CLabel* label = EditableLabel(*this);
    if (!label || columns < 1)
        return;
    label->SetColumns(columns);
    SetModifiedFlag(true);
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::SetBlockCount(int blocks)
{
    CLabel* label = EditableLabel(*this);
    if (!label || blocks < 1 || blocks > INT16_MAX)
        return;
    label->SetBlockCount(blocks);
    SetModifiedFlag(true);
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::SetBlockSpace(int32_t um)
{
    CLabel* label = EditableLabel(*this);
    if (!label)
        return;
    label->SetBlockSpace(um);
    SetModifiedFlag(true);
    InvalidatePreviewViews();
}

void CVorteplanSoftLabelDoc::SetLabelShape(int shape)
{
    CLabel* label = EditableLabel(*this);
    if (!label || shape < kShapeRectangle || shape > kShapeEllipse || label->GetShape(0) == shape)
        return;
    label->SetShape(0, shape);
    TemplateEdited();
}

void CVorteplanSoftLabelDoc::SetLabelCornerRadius(int32_t um)
{
    CLabel* label = EditableLabel(*this);
    if (!label || label->GetRadius() == um)
        return;
    label->SetRadius(um);
    TemplateEdited();
}

void CVorteplanSoftLabelDoc::ToggleMarkingType(uint32_t bits)
{
    if (CLabel* label = EditableLabel(*this)) {
        label->ToggleMarkingType(bits);
        SetModifiedFlag(true);
    }
}

void CVorteplanSoftLabelDoc::TogglePrinterType(uint32_t bits)
{
    if (CLabel* label = EditableLabel(*this)) {
        label->TogglePrinterType(bits);
        SetModifiedFlag(true);
    }
}

void CVorteplanSoftLabelDoc::NewLabelDefinition()
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked())
        return;
    t.PrepareLabelFile();
    TemplateEdited();
}

bool CVorteplanSoftLabelDoc::DeleteLabelDefinition()
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || !t.GetLabel())
        return false;
    t.SetLabel(nullptr);
    TemplateEdited();
    return true;
}

void CVorteplanSoftLabelDoc::ReplaceProduct(const CLabel& product)
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || !t.GetLabel() || t.GetLabel() == &product)
        return;
    t.SetLabel(product.Clone());
    SetModifiedFlag(true);
}

bool CVorteplanSoftLabelDoc::LoadLabelDefinition(const std::string& path)
{
    CTemplate& t = GetCurrentTemplate();
    if (t.IsLocked() || !t.LoadLabelFile(path))
        return false;
    TemplateEdited();
    return true;
}

// --- queries --------------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::CanChoosePaperSize() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return !GetCurrentTemplate().IsLocked() && (!label || label->HasPaperFormat());
}

int CVorteplanSoftLabelDoc::GetPaperSizeCode() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label ? label->GetPaperCode() : -1;
}

int32_t CVorteplanSoftLabelDoc::GetPaperWidth() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    // A standard paper answers its own size, a custom one the stored size.
    return label ? label->GetPaperWidthUm() : 0;
}

int32_t CVorteplanSoftLabelDoc::GetPaperHeight() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label ? label->GetPaperLengthUm() : 0;
}

namespace {

template <class Get>
std::string labelMm(const CVorteplanSoftLabelDoc& doc, Get get)
{
    const CLabel* label = doc.GetCurrentTemplate().GetLabel();
    return label ? FormatMm(get(*label)) : std::string();
}

template <class Get>
std::string labelCount(const CVorteplanSoftLabelDoc& doc, Get get)
{
    const CLabel* label = doc.GetCurrentTemplate().GetLabel();
    return label ? std::to_string(get(*label)) : std::string();
}

} // namespace

std::string CVorteplanSoftLabelDoc::GetAreaLeftText(int part) const
{
    return validPart(part) ? labelMm(*this, [&](const CLabel& l) { return l.GetLeft(part); }) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetAreaTopText(int part) const
{
    return validPart(part) ? labelMm(*this, [&](const CLabel& l) { return l.GetTop(part); }) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetAreaWidthText(int part) const
{
    return validPart(part) ? labelMm(*this, [&](const CLabel& l) { return l.GetWidth(part); }) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetAreaHeightText(int part) const
{
    return validPart(part) ? labelMm(*this, [&](const CLabel& l) { return l.GetHeight(part); }) : std::string();
}

std::string CVorteplanSoftLabelDoc::GetHorizontalPitchText() const
{
    return labelMm(*this, [](const CLabel& l) { return l.GetColumnPitch(); });
}

std::string CVorteplanSoftLabelDoc::GetVerticalPitchText() const
{
    return labelMm(*this, [](const CLabel& l) { return l.GetRowPitch(); });
}

std::string CVorteplanSoftLabelDoc::GetBlockSpaceText() const
{
    return labelMm(*this, [](const CLabel& l) { return l.GetBlockSpace(); });
}

std::string CVorteplanSoftLabelDoc::GetRowCountText() const
{
    return labelCount(*this, [](const CLabel& l) { return l.GetRows(); });
}

std::string CVorteplanSoftLabelDoc::GetColumnCountText() const
{
    return labelCount(*this, [](const CLabel& l) { return l.GetColumns(); });
}

std::string CVorteplanSoftLabelDoc::GetBlockCountText() const
{
    return labelCount(*this, [](const CLabel& l) { return l.GetBlockCount(); });
}

int CVorteplanSoftLabelDoc::GetLabelShape() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label ? label->GetShape(0) : kShapeRectangle;
}

std::string CVorteplanSoftLabelDoc::GetLabelCornerRadiusText() const
{
    return labelMm(*this, [](const CLabel& l) { return l.GetRadius(); });
}
