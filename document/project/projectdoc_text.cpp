// Template edit operations on texts: alignment, font, text parts (table
// columns, counters, separators, dates), character set and text options.
#include "content/objects/graphtext.h"
#include "content/textparts/text.h"
#include "document/project/projectdoc.h"
#include "document/project/templateedit.h"
#include "platform/settings.h"

#include <algorithm>
#include <cstring>
#include <functional>

using namespace templateedit;

namespace {

bool isText(const CGraphObject& o)
{
    return o.IsText();
}

// A text property of the selection set through its getter and setter: the
// getter answers false when no selected object has the property.
template <class Get, class Set>
void setSelectedText(CVorteplanSoftLabelDoc& doc, int area, const std::string& text, Get get, Set set)
{
    CGraphCollection* c = Editable(doc, area);
    std::string current;
    if (!c || !get(*c, current) || current == text)
        return;
    Commit(doc, area, [&] { set(*c, text); });
}

// A flag of the selection turned to the opposite of its getter's answer.
template <class Has, class Get, class Set>
void toggleSelected(CVorteplanSoftLabelDoc& doc, int area, Has has, Get get, Set set)
{
    CGraphCollection* c = Editable(doc, area);
    if (!c || !has(*c))
        return;
    const bool on = !get(*c);
    Commit(doc, area, [&] { set(*c, on); });
}

// A selection flag of the selected texts, and the same style of the
// default font, which is written to the settings in any case.
template <class Get, class Set>
void toggleFontStyle(CVorteplanSoftLabelDoc& doc, int area, Get get, Set set)
{
    CGraphCollection* c = Editable(doc, area);
    if (c && AnySelected(*c, isText)) {
        const bool on = !get(*c);
        Commit(doc, area, [&] { set(*c, on); });
    }
}

std::string textOf(const CGraphCollection* c, bool (CGraphCollection::*get)(std::string&) const)
{
    std::string out;
    if (c)
        (c->*get)(out);
    return out;
}

} // namespace

void CVorteplanSoftLabelDoc::SetTextAlignment(int area, int alignment)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || alignment < 0 || alignment > 2 ||
        !AnySelected(*c, [](const CGraphObject& o) { return o.HasAlignment(); }))
        return;
    int current = -1;
    c->GetSelectedTextAlignment(current);
    if (current == alignment)
        return;
    // The objects count 1 left, 2 centre, 3 right.
    Commit(*this, area, [&] { c->SetSelectedTextAlignment(alignment + 1); });
}

void CVorteplanSoftLabelDoc::ToggleBold(int area)
{
    if (!Area(*this, area))
        return;
    toggleFontStyle(*this, area, [](const CGraphCollection& c) { return c.IsSelectedBold(); },
                    [](CGraphCollection& c, bool on) { c.SetSelectedBold(on); });
    LOGFONTA& font = DefaultFont();
    font.lfWeight = font.lfWeight != FW_BOLD ? FW_BOLD : FW_NORMAL;
    settings::WriteInt(settings::kDefaultFont, settings::kFontWeight, font.lfWeight);
}

void CVorteplanSoftLabelDoc::ToggleItalic(int area)
{
    if (!Area(*this, area))
        return;
    toggleFontStyle(*this, area, [](const CGraphCollection& c) { return c.IsSelectedItalic(); },
                    [](CGraphCollection& c, bool on) { c.SetSelectedItalic(on); });
    LOGFONTA& font = DefaultFont();
    font.lfItalic = font.lfItalic ? 0 : 1;
    settings::WriteInt(settings::kDefaultFont, settings::kFontItalic, font.lfItalic);
}

void CVorteplanSoftLabelDoc::ToggleUnderline(int area)
{
    if (!Area(*this, area))
        return;
    toggleFontStyle(*this, area, [](const CGraphCollection& c) { return c.IsSelectedUnderline(); },
                    [](CGraphCollection& c, bool on) { c.SetSelectedUnderline(on); });
    LOGFONTA& font = DefaultFont();
    font.lfUnderline = font.lfUnderline ? 0 : 1;
    settings::WriteInt(settings::kDefaultFont, settings::kFontUnderline, font.lfUnderline);
}

void CVorteplanSoftLabelDoc::SetTypeface(int area, const std::string& name)
{
    if (!Area(*this, area))
        return;
    CGraphCollection* c = Editable(*this, area);
    if (c && AnySelected(*c, isText)) {
        std::string current;
        c->GetSelectedFaceName(current);
        if (current != name)
            Commit(*this, area, [&] { c->SetSelectedFaceName(name); });
    }
    LOGFONTA& font = DefaultFont();
    std::memset(font.lfFaceName, 0, sizeof(font.lfFaceName));
    std::memcpy(font.lfFaceName, name.data(), std::min(name.size(), sizeof(font.lfFaceName) - 1));
    settings::WriteText(settings::kDefaultFont, settings::kFontFacename, name);
}

void CVorteplanSoftLabelDoc::SetFontSizeOfSelection(int area, int points)
{
    if (!Area(*this, area))
        return;
    CGraphCollection* c = Editable(*this, area);
    if (c && AnySelected(*c, isText) && c->GetSelectedFontSize() != points)
        Commit(*this, area, [&] { c->SetSelectedFontSize(points); });
    const int64_t height = int64_t(points) * -96 / 72;
    DefaultFont().lfHeight = int32_t(std::clamp<int64_t>(height, INT32_MIN, INT32_MAX));
    settings::WriteInt(settings::kDefaultFont, settings::kFontSize, DefaultFont().lfHeight);
}

void CVorteplanSoftLabelDoc::SetDataSource(int area, int kind)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || kind < kTextKindTable || kind > kTextKindCounter)
        return;
    const int current = c->GetSelectedTextSourceType();
    if (current == -1 || current == kind)
        return;
    Commit(*this, area, [&] { c->SetSelectedTextSourceType(kind); });
}

void CVorteplanSoftLabelDoc::SelectColumns(int area, const std::string& columns)
{
    CGraphCollection* c = Editable(*this, area);
    if (!c || !c->HasTableSource())
        return;
    std::string current;
    if (c->GetSelectedSourceColumnText(current) && current == columns)
        return;
    Commit(*this, area, [&] { c->SetSelectedSourceColumn(columns); });
}

void CVorteplanSoftLabelDoc::SetAutoIncrementPrefix(int area, const std::string& text)
{
    setSelectedText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedCounterPrefix),
                    std::mem_fn(&CGraphCollection::SetSelectedCounterPrefix));
}

void CVorteplanSoftLabelDoc::SetAutoIncrementStart(int area, const std::string& text)
{
    setSelectedText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedCounterStartText),
                    std::mem_fn(&CGraphCollection::SetSelectedCounterStartText));
}

void CVorteplanSoftLabelDoc::SetAutoIncrementSuffix(int area, const std::string& text)
{
    setSelectedText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedCounterSuffix),
                    std::mem_fn(&CGraphCollection::SetSelectedCounterSuffix));
}

void CVorteplanSoftLabelDoc::ToggleLeadingZero(int area)
{
    toggleSelected(*this, area, std::mem_fn(&CGraphCollection::HasSelectedCounterOptions),
                   std::mem_fn(&CGraphCollection::GetSelectedCounterLeadingZeros),
                   std::mem_fn(&CGraphCollection::SetSelectedCounterLeadingZeros));
}

void CVorteplanSoftLabelDoc::SetMinDigits(int area, const std::string& text)
{
    setSelectedText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedCounterWidthText),
                    std::mem_fn(&CGraphCollection::SetSelectedCounterWidthText));
}

void CVorteplanSoftLabelDoc::SetSeparatorName(int area, const std::string& name)
{
    setSelectedText(*this, area, name, std::mem_fn(&CGraphCollection::GetSelectedSeparatorName),
                    std::mem_fn(&CGraphCollection::SetSelectedSeparatorName));
}

void CVorteplanSoftLabelDoc::ToggleSeparateBlankFields(int area)
{
    toggleSelected(*this, area, std::mem_fn(&CGraphCollection::HasSelectedSeparatorOptions),
                   std::mem_fn(&CGraphCollection::GetSelectedAlwaysSeparate),
                   std::mem_fn(&CGraphCollection::SetSelectedAlwaysSeparate));
}

void CVorteplanSoftLabelDoc::SetDateFormatName(int area, const std::string& name)
{
    setSelectedText(*this, area, name, std::mem_fn(&CGraphCollection::GetSelectedDateComponentName),
                    std::mem_fn(&CGraphCollection::SetSelectedDateComponentName));
}

void CVorteplanSoftLabelDoc::SetDateOffsetText(int area, const std::string& text)
{
    setSelectedText(*this, area, text, std::mem_fn(&CGraphCollection::GetSelectedDateOffsetText),
                    std::mem_fn(&CGraphCollection::SetSelectedDateOffsetText));
}

void CVorteplanSoftLabelDoc::SetCharSetOfSelection(int area, int code)
{
    if (code < 0 || code > 255 || !Area(*this, area))
        return;
    CGraphCollection* c = Editable(*this, area);
    if (c && AnySelected(*c, [](const CGraphObject& o) { return o.HasCharSet(); }) &&
        c->GetSelectedCharSet() != code)
        Commit(*this, area, [&] { c->SetSelectedCharSet(code); });
    SetTableCharSet(code);
}

void CVorteplanSoftLabelDoc::ToggleAutoSizeFont(int area)
{
    toggleSelected(*this, area, std::mem_fn(&CGraphCollection::HasSelectedAutoSize),
                   std::mem_fn(&CGraphCollection::GetSelectedAutoSize),
                   std::mem_fn(&CGraphCollection::SetSelectedAutoSize));
}

void CVorteplanSoftLabelDoc::ToggleCenterTextVertical(int area)
{
    toggleSelected(*this, area, std::mem_fn(&CGraphCollection::HasSelectedCenterVertical),
                   std::mem_fn(&CGraphCollection::GetSelectedCenterVertical),
                   std::mem_fn(&CGraphCollection::SetSelectedCenterVertical));
}

// --- queries --------------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::HasTextSelection(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && AnySelected(*c, isText);
}

bool CVorteplanSoftLabelDoc::IsBold(int area) const
{
    if (!Area(*this, area))
        return false;
    return HasTextSelection(area) ? Area(*this, area)->IsSelectedBold() : GetDefaultFont().lfWeight == FW_BOLD;
}

bool CVorteplanSoftLabelDoc::IsItalic(int area) const
{
    if (!Area(*this, area))
        return false;
    return HasTextSelection(area) ? Area(*this, area)->IsSelectedItalic() : GetDefaultFont().lfItalic != 0;
}

bool CVorteplanSoftLabelDoc::IsUnderline(int area) const
{
    if (!Area(*this, area))
        return false;
    return HasTextSelection(area) ? Area(*this, area)->IsSelectedUnderline() : GetDefaultFont().lfUnderline != 0;
}

std::string CVorteplanSoftLabelDoc::GetTypeface(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    if (!c)
        return {};
    const LOGFONTA& font = GetDefaultFont();
    std::string name(font.lfFaceName, strnlen(font.lfFaceName, sizeof(font.lfFaceName)));
    c->GetSelectedFaceName(name);
    return name;
}

int CVorteplanSoftLabelDoc::GetFontSize(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    if (!c)
        return 0;
    if (HasTextSelection(area))
        return c->GetSelectedFontSize();
    return CGraphText::PointsFromHeight(GetDefaultFont().lfHeight);
}

bool CVorteplanSoftLabelDoc::CanSelectColumns(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasTableSource();
}

std::string CVorteplanSoftLabelDoc::GetAutoIncrementPrefix(int area) const
{
    return textOf(Area(*this, area), &CGraphCollection::GetSelectedCounterPrefix);
}

std::string CVorteplanSoftLabelDoc::GetAutoIncrementStart(int area) const
{
    return textOf(Area(*this, area), &CGraphCollection::GetSelectedCounterStartText);
}

bool CVorteplanSoftLabelDoc::IsLeadingZero(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->GetSelectedCounterLeadingZeros();
}

bool CVorteplanSoftLabelDoc::CanSetLeadingZero(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasSelectedCounterOptions();
}

std::string CVorteplanSoftLabelDoc::GetMinDigitsText(int area) const
{
    return textOf(Area(*this, area), &CGraphCollection::GetSelectedCounterWidthText);
}

std::string CVorteplanSoftLabelDoc::GetSeparatorName(int area) const
{
    return textOf(Area(*this, area), &CGraphCollection::GetSelectedSeparatorName);
}

bool CVorteplanSoftLabelDoc::IsSeparateBlankFields(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->GetSelectedAlwaysSeparate();
}

bool CVorteplanSoftLabelDoc::CanSetSeparateBlankFields(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasSelectedSeparatorOptions();
}

std::string CVorteplanSoftLabelDoc::GetDateFormatName(int area) const
{
    return textOf(Area(*this, area), &CGraphCollection::GetSelectedDateComponentName);
}

bool CVorteplanSoftLabelDoc::CanEditDateFormat(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasSelectedDateComponent();
}

bool CVorteplanSoftLabelDoc::CanEditDateOffset(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c && c->HasSelectedDateOffset();
}

std::string CVorteplanSoftLabelDoc::GetDateOffsetText(int area) const
{
    return textOf(Area(*this, area), &CGraphCollection::GetSelectedDateOffsetText);
}

int CVorteplanSoftLabelDoc::GetCharSetOfSelection(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    return c ? c->GetSelectedCharSet() : 1;
}

int CVorteplanSoftLabelDoc::GetFirstUnusedColumn(int area) const
{
    const CGraphCollection* c = Area(*this, area);
    if (!c)
        return 0;
    for (int i = 0; i < CDataTableBase::kColumnCount; ++i)
        if (!c->IsColumnUsedByAny(i))
            return i;
    return 0;
}
