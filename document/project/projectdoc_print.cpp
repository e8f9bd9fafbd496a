// The print run of the project document, before the first page: the checks,
// the preparation of the print dialog, the options page's rules and the
// start of the job with its range of table rows.
#include "document/project/projectdoc.h"

#include "document/label/labelfile.h"
#include "document/project/barcodecheck.h"
#include "platform/lengthtext.h"
#include "platform/numberformat.h"
#include "platform/settings.h"
#include "platform/units.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kNoLabelDefinition = "The template does not contain a label definition.";
constexpr const char* kEmptyTable =
    "The template contains object(s) with table data source but the table is empty";
constexpr const char* kMustSave =
    "The project contains auto incrementing objects and must be saved before printing.";
constexpr const char* kOutsideLabel = "The template contains objects not located within the label area.";
constexpr const char* kNoPositions =
    "The label definition has no label positions: rows, columns and vertical blocks must be at least 1 "
    "and the label must have a width and a height.";
constexpr const char* kUnencodableBarcode = "Row %d: the barcode cannot encode \"%s\". Print anyway?";
constexpr const char* kVersionCaption = "Versionskonflikt";
constexpr const char* kVersionConflict =
    "Etiketten inneh\xE5ller skrivarinst\xE4llningar som inte \xE4r kompatibla med denna version av Windows "
    "och/eller skrivardrivrutin.";
constexpr const char* kPaperNotSupported =
    "The selected printer '%s' does not support the papersize '%s'.\nChoose paper size manually in the print "
    "setup dialog.\n\nTip: Also change in the tab 'Label' in the column 'Paper' and click 'Save' to change the "
    "label layout permanently.\nAdjusting of the left and top margins may need to be made to fit '%s'.";

void refuse(const char* text)
{
    ShowUserMessage(text, {}, MessageIcon::Error);
}

// printf's "%s" substitution for the three names of the paper message.
std::string formatPaperMessage(const std::string& device, const std::string& paper)
{
    std::string out;
    const std::string_view pattern = kPaperNotSupported;
    int n = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            out += (n++ == 1) ? paper : device;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// The device name in the public part of a stored settings block (its
// first 32 bytes, up to the first NUL).
std::string storedDeviceName(const CPrinterSettings& s)
{
    const std::string& b = s.Bytes();
    const size_t n = std::min<size_t>(b.size(), 32);
    const size_t end = std::min(n, b.find('\0') == std::string::npos ? n : b.find('\0'));
    return b.substr(0, end);
}

std::string_view trimmedLeft(std::string_view t)
{
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front())))
        t.remove_prefix(1);
    return t;
}

// A whole number at the start of the text as "%d" reads it; nothing when
// the text does not begin with one. Values beyond 32 bits are clamped.
std::optional<int64_t> leadingInteger(std::string_view text)
{
    text = trimmedLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front())))
        return std::nullopt;
    int64_t v = 0;
    while (!text.empty() && std::isdigit(static_cast<unsigned char>(text.front()))) {
        v = std::min<int64_t>(v * 10 + (text.front() - '0'), int64_t(1) << 32);
        text.remove_prefix(1);
    }
    return negative ? -v : v;
}

} // namespace

// --- lengths and the options page's rules ---------------------------------------------

std::optional<int32_t> ParsePrintLength(std::string_view text)
{
    return lengthtext::ParseLength(text, lengthtext::kUnitRequired);
}

std::string FormatPrintLength(int32_t um)
{
    return lengthtext::FormatLength(um, lengthtext::kMetric);
}

namespace printoptions {

std::string RepeatText(int32_t repeat)
{
    if (repeat > 0)
        return std::to_string(repeat);
    if (repeat < 0 && repeat >= -26)
        return std::string(1, char(64 - repeat));
    return {};
}

int32_t ParseRepeat(std::string_view text)
{
    if (text.size() == 1) {
        const char c = char(std::toupper(static_cast<unsigned char>(text.front())));
        if (c >= 'A' && c <= 'Y')
            return 64 - c;
    }
    if (const auto v = leadingInteger(text))
        return int32_t(std::clamp<int64_t>(*v, INT32_MIN, INT32_MAX));
    return 0;
}

int32_t ParseFirstLabel(std::string_view text)
{
    const auto v = leadingInteger(text);
    if (!v || *v < 0)
        return 0;
    return int32_t(std::min<int64_t>(*v, INT32_MAX));
}

int32_t ParseSets(std::string_view text)
{
    const auto v = leadingInteger(text);
    if (!v || *v <= 0)
        return 1;
    return int32_t(std::min<int64_t>(*v, INT32_MAX));
}

int32_t SpinValue(int32_t current, int32_t delta)
{
    return int32_t(std::clamp<int64_t>(int64_t(current) - delta, 1, INT32_MAX));
}

} // namespace printoptions

bool CVorteplanSoftLabelDoc::ParseLength(std::string_view text, int32_t& um)
{
    const auto v = ParsePrintLength(text);
    if (v)
        um = *v;
    return v.has_value();
}

// --- checks ---------------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::UsesTableData() const
{
    const CTemplate& tpl = GetCurrentTemplate();
    for (int area = 0; area < 3; ++area)
        if (const CGraphCollection* objects = tpl.GetArea(area); objects && objects->UsesTableData())
            return true;
    return false;
}

int CVorteplanSoftLabelDoc::GetLabelsPerSheet() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label ? int(std::min<int64_t>(label->GetLabelsPerSheet(), INT32_MAX)) : 0;
}

int CVorteplanSoftLabelDoc::PrintRowCount() const
{
    return GetVisibleTable().GetUsedRowCount();
}

bool CVorteplanSoftLabelDoc::PrintsModuleMarking() const
{
    const CLabel* label = GetCurrentTemplate().GetLabel();
    return label && label->IsModuleMarking();
}

int CVorteplanSoftLabelDoc::MarksPerStrip() const
{
    return std::max(1, GetCurrentTemplate().GetJob().GetFirstRow().GetModuleCount());
}

bool CVorteplanSoftLabelDoc::CheckBeforePrint()
{
    const CTemplate& tpl = GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    if (!label) {
        refuse(kNoLabelDefinition);
        return false;
    }
    // A sheet without positions would never fill a page.
    if (label->GetRows() < 1 || label->GetColumns() < 1 || label->GetBlockCount() < 1 || label->GetWidth(0) <= 0 ||
        label->GetHeight(0) <= 0) {
        refuse(kNoPositions);
        return false;
    }
    if (UsesTableData() && PrintRowCount() == 0) {
        refuse(kEmptyTable);
        return false;
    }
    bool counters = false;
    for (int area = 0; area < 3; ++area)
        counters = counters || tpl.GetArea(area)->IsCounter();
    if (counters && GetPathName().isEmpty()) {
        refuse(kMustSave);
        return false;
    }
    for (int area = 0; area < 3; ++area) {
        const CGraphCollection& objects = *tpl.GetArea(area);
        if (objects.Objects().empty())
            continue;
        if (objects.GetMinLeft() < 0 || objects.GetMinTop() < 0 || objects.GetMaxRight() > label->GetWidth(area) ||
            objects.GetMaxBottom() > label->GetHeight(area)) {
            refuse(kOutsideLabel);
            return false;
        }
    }
    return askAboutUnencodableBarcodes();
}

bool CVorteplanSoftLabelDoc::askAboutUnencodableBarcodes() const
{
    DrawContext rows;
    rows.table = &GetVisibleTable();
    rows.columnMap = &currentSlot().map;
    const int labels = UsesTableData() ? PrintRowCount() : GetLabelsPerSheet();
    const std::optional<UnencodableBarcode> found = FindUnencodableBarcode(GetCurrentTemplate(), rows, labels);
    if (!found)
        return true;
    std::string question(std::snprintf(nullptr, 0, kUnencodableBarcode, found->row, found->text.c_str()) + 1, '\0');
    question.resize(size_t(
        std::max(0, std::snprintf(question.data(), question.size(), kUnencodableBarcode, found->row, found->text.c_str()))));
    return Ui().Ask({question, {}, MessageIcon::Question}, MessageButtons::YesNo, MessageAnswer::No) ==
           MessageAnswer::Yes;
}

// --- before the dialog ---------------------------------------------------------------------

void CVorteplanSoftLabelDoc::PreparePrinting(CPrintInfo& info, CPrinterSetupAccess* printer)
{
    CTemplate& tpl = GetCurrentTemplate();
    const CLabel* label = tpl.GetLabel();
    const std::string device = printer ? printer->DeviceName() : std::string();

    // Stored settings: only our own, and only for the printer they were
    // captured from. Blocks of other systems are kept but never applied.
    if (const auto* file = dynamic_cast<const CLabelFileNew*>(label); file && printer && printer->HasSettings()) {
        if (const CPrinterSettings* stored = file->GetPrinterSettings();
            stored && stored->Origin().platformId == kPlatformIdLinux) {
            const std::optional<LinuxPrinterSetup> setup = DecodeLinuxPrinterSettings(*stored);
            const std::string storedName = setup ? setup->queueName : storedDeviceName(*stored);
            if (!device.empty() && storedName == device) {
                if (setup && file->ArePrinterSettingsApplicable())
                    printer->ApplySetup(*setup);
                else
                    ShowUserMessage(kVersionConflict, kVersionCaption, MessageIcon::Warning);
            }
        }
    }

    if (label && label->GetPaperFlag() && label->GetPrintPaperCode() != 0 && printer && printer->HasSettings() &&
        !printer->SupportsPaper(label->GetPrintPaperCode(), label->GetPaperWidthUm(), label->GetPaperLengthUm())) {
        std::string paper;
        label->GetPaperName(paper);
        ShowUserMessage(formatPaperMessage(device, paper), {}, MessageIcon::None);
    }
    if (label && label->HasPaperFormat() && printer)
        printer->SetOrientation(label->GetOrientation());

    info.takeCopiesFromSettings = false;
    info.minPage = 1;
    info.maxPage = UsesTableData() ? PrintRowCount() : GetLabelsPerSheet();

    PrintOptionsRecord& o = info.options;
    o.size = 36;
    o.reverse = m_printRun.IsReverse() ? 1 : 0;
    o.sortVertical = tpl.IsSortVertical() ? 1 : 0;
    o.repeat = tpl.GetRepeat();
    o.sets = tpl.GetSets();
    o.pageBreakOnNewSet = tpl.IsPageBreakOnNewSet() ? 1 : 0;
    o.firstLabel = 1;
    if (!device.empty()) {
        const std::string section = settings::PrinterSection(device);
        o.leftCompensation = settings::GetInt(section, settings::kPrinterLeftCompensation, 0);
        o.topCompensation = settings::GetInt(section, settings::kPrinterTopCompensation, 0);
    } else {
        o.leftCompensation = tpl.GetLeftCompensation();
        o.topCompensation = tpl.GetTopCompensation();
    }
    info.deviceName = device;
}

// --- start of the job ------------------------------------------------------------------------

bool CVorteplanSoftLabelDoc::BeginPrinting(CDC& dc, CPrintInfo& info, const CRowSelection* selection,
                                           POINT printingOffset)
{
    CTemplate& tpl = GetCurrentTemplate();
    const PrintOptionsRecord& o = info.options;
    if (!info.deviceName.empty()) {
        const std::string section = settings::PrinterSection(info.deviceName);
        settings::WriteInt(section, settings::kPrinterLeftCompensation, o.leftCompensation);
        settings::WriteInt(section, settings::kPrinterTopCompensation, o.topCompensation);
    }

    tpl.SetSortVertical(o.sortVertical != 0);
    tpl.SetCompensation(o.leftCompensation, o.topCompensation);
    const int16_t repeat = units::clamp16(o.repeat);
    if (repeat != tpl.GetRepeat() || o.sets != tpl.GetSets() || (o.pageBreakOnNewSet != 0) != tpl.IsPageBreakOnNewSet()) {
        tpl.SetRepeat(repeat);
        tpl.SetSets(o.sets);
        tpl.SetPageBreakOnNewSet(o.pageBreakOnNewSet != 0);
        SetModifiedFlag(true);
    }
    return m_printRun.Begin(dc, info, selection, printingOffset);
}
