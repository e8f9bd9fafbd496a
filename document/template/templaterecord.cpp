// The template record, the ".tpe" file and loading a ".label" file into a
// template.
#include "document/template/template.h"

#include "content/contenttypes.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/uiservices.h"

#include <QFile>
#include <algorithm>

namespace {

constexpr uint32_t kWrittenFlags = kTplSortVertical | kTplRepeat | kTplReservedOption | kTplFieldContours |
                                   kTplNoBlock | kTplHeaderFooter | kTplGuideTable;
constexpr uint32_t kAlwaysWrittenFlags = kTplZoom | kTplModuleMarking;
constexpr size_t kPasswordBuffer = 256;
// Template files hold pictures, so they may be large, but not this large.
constexpr qint64 kMaxTemplateFileSize = qint64(1) << 30;

bool knownMagic(uint32_t magic)
{
    return magic == kTemplateMagic || magic == kTemplateMagicOldest ||
           (magic >= kTemplateMagicEarliest && magic <= kTemplateMagicLatest);
}

std::string readText(RecordReader& r, size_t width)
{
    std::string s = r.fixedString(width);
    if (s.size() > width - 1)
        s.resize(width - 1);
    return s;
}

// A local file name as messages show it: in the Windows code page.
std::string messageName(const std::string& path)
{
    return codepage::FromUnicode(QFile::decodeName(path.c_str()));
}

} // namespace

// --- reading -------------------------------------------------------------------

void CTemplate::ReadGuideTables(RecordReader& r)
{
    for (TemplateGuideTable& table : m_guide) {
        r.u32();
        for (auto& row : table.columns)
            for (int32_t& id : row) {
                const int32_t stored = r.i32();
                // Only columns A..Z exist; anything else names none.
                StoreIfRead(r, id, stored >= -1 && stored <= 25 ? stored : -1);
            }
        for (std::string& d : table.delimiters)
            StoreIfRead(r, d, readText(r, kGuideDelimiterField));
    }
}

bool CTemplate::ReadArea(RecordReader& r, int area)
{
    const int16_t key = r.i16();
    if (!r.ok())
        return false;
    if (key != kKeyCollection) {
        r.setDamaged();
        return false;
    }
    // The objects read whole before a fault stay in the area.
    CGraphCollection& collection = *m_areas[size_t(area)];
    collection.RemoveAll();
    return collection.Load(r) && r.ok();
}

bool CTemplate::ReadPassword(RecordReader& r)
{
    const int16_t length = r.i16();
    if (!r.ok())
        return false;
    if (length < 0 || size_t(length) > r.remaining()) {
        r.setDamaged();
        return false;
    }
    const std::string stored = r.bytes(size_t(length));
    if (!r.ok())
        return false;
    std::string password;
    for (size_t i = 0; i < stored.size() && password.size() < kTemplatePasswordLength; ++i) {
        const char c = char(uint8_t(stored[i]) ^ uint8_t(i));
        if (c == '\0')
            break;
        password.push_back(c);
    }
    m_password = std::move(password);
    return true;
}

void CTemplate::ReadOptionBlocks(RecordReader& r, uint32_t flags)
{
    // Field by field: what was read whole before a cut stays, a field cut
    // short keeps what it held.
    if (flags & kTplSortVertical)
        StoreIfRead(r, m_sortVertical, r.boolean8());
    if (flags & kTplRepeat)
        StoreIfRead(r, m_repeat, r.i16());
    if (flags & kTplSets)
        StoreIfRead(r, m_sets, r.i32());
    if (flags & kTplBorders) {
        StoreIfRead(r, m_printLabelBorders, r.boolean8());
        StoreIfRead(r, m_borderColor, r.i32());
        StoreIfRead(r, m_borderWidth, r.i32());
        StoreIfRead(r, m_borderOption, r.boolean8());
    }
    if (flags & kTplReservedOption)
        StoreIfRead(r, m_reservedOption0, r.u8());
    if (flags & kTplFieldContours) {
        StoreIfRead(r, m_reservedOption1, r.u8());
        StoreIfRead(r, m_fieldContours, r.boolean8());
    }
    if (flags & kTplCompensation) {
        StoreIfRead(r, m_leftCompensation, r.i32());
        StoreIfRead(r, m_topCompensation, r.i32());
    }
    if (flags & kTplPrinterNames) {
        StoreIfRead(r, m_printerDevice, readText(r, kPrinterNameField));
        StoreIfRead(r, m_printerDriver, readText(r, kPrinterNameField));
        StoreIfRead(r, m_printerPort, readText(r, kPrinterNameField));
    }
    if (flags & kTplGuideTable)
        ReadGuideTables(r);
}

bool CTemplate::Read(RecordReader& r, const LabelReadOptions& options, bool* begun)
{
    uint32_t flags = 0;
    bool started = false;
    const bool whole = ReadRecord(r, options, flags, started);
    if (begun)
        *begun = started;
    return whole;
}

bool CTemplate::ReadRecord(RecordReader& r, const LabelReadOptions& options, uint32_t& flags, bool& begun)
{
    // The areas may hold objects of every family.
    RegisterContentTypes();
    flags = 0;
    begun = false;
    const uint32_t magic = r.u32();
    if (!r.ok())
        return false;
    if (!knownMagic(magic)) {
        r.setDamaged();
        return false;
    }
    begun = true;
    m_sortVertical = false;
    m_repeat = 1;
    m_sets = 1;
    m_reservedOption0 = 1;
    // Every guide-table id names no column until the table is read.
    for (TemplateGuideTable& table : m_guide)
        table.Clear();

    if (magic != kTemplateMagicOldest) {
        const uint32_t stored = r.u32();
        if (!r.ok())
            return false;
        flags = stored;
        m_pageBreakOnNewSet = (flags & kTplPageBreak) != 0;
    }
    ReadOptionBlocks(r, flags);

    // The label definition, its class named by its type key; it replaces
    // the template's only when read whole.
    const int16_t labelKey = r.i16();
    if (!r.ok())
        return false;
    std::unique_ptr<CLabel> label = CreateLabelForTypeKey(labelKey);
    if (!label) {
        r.setDamaged();
        return false;
    }
    if (!label->Read(r, true, options) || !r.ok())
        return false;
    if (labelKey == kKeyLabelFileNew)
        label = CLabelFileNewArticleNo::CopyFromLabel(static_cast<const CLabelFileNew&>(*label));
    m_label = std::move(label);

    const int16_t helpKey = r.i16();
    if (r.ok() && helpKey != kKeyHelpLines)
        r.setDamaged();
    if (!r.ok() || !m_helpLines.Load(r))
        return false;
    StoreIfRead(r, m_fieldContours, r.boolean8());
    if (!r.ok())
        return false;

    if (!ReadArea(r, 0))
        return false;
    if ((flags & kTplHeaderFooter) && (!ReadArea(r, 1) || !ReadArea(r, 2)))
        return false;

    StoreIfRead(r, m_locked, r.boolean8());
    if (!r.ok())
        return false;
    if (!ReadPassword(r))
        return false;

    if (flags & kTplZoom) {
        for (int32_t& z : m_zoom) {
            const int32_t stored = r.i32();
            // The design view shows 25..800 %; anything else is no zoom.
            StoreIfRead(r, z, stored >= kTemplateMinZoom && stored <= kTemplateMaxZoom ? stored : -1);
        }
        if (!r.ok())
            return false;
    } else {
        m_zoom.fill(-1);
    }
    if ((flags & kTplModuleMarking) && !m_job.Read(r))
        return false;
    return r.ok();
}

void CTemplate::CopyRecordOptions(const CTemplate& from)
{
    m_printerDevice = from.m_printerDevice;
    m_printerDriver = from.m_printerDriver;
    m_printerPort = from.m_printerPort;
    m_helpLines = from.m_helpLines;
    m_locked = from.m_locked;
    m_password = from.m_password;
    m_sortVertical = from.m_sortVertical;
    m_repeat = from.m_repeat;
    m_sets = from.m_sets;
    m_pageBreakOnNewSet = from.m_pageBreakOnNewSet;
    m_reservedOption0 = from.m_reservedOption0;
    m_reservedOption1 = from.m_reservedOption1;
    m_fieldContours = from.m_fieldContours;
    m_leftCompensation = from.m_leftCompensation;
    m_topCompensation = from.m_topCompensation;
    m_guide = from.m_guide;
    m_printLabelBorders = from.m_printLabelBorders;
    m_borderColor = from.m_borderColor;
    m_borderWidth = from.m_borderWidth;
    m_borderOption = from.m_borderOption;
    m_zoom = from.m_zoom;
    m_job = from.m_job;
}

bool CTemplate::ReadWhole(RecordReader& r, const LabelReadOptions& options)
{
    // Read into a copy that starts with what blocks the record may leave
    // out keep; taken over only when the record was read whole.
    CTemplate staged;
    staged.CopyRecordOptions(*this);
    uint32_t flags = 0;
    bool begun = false;
    if (!staged.ReadRecord(r, options, flags, begun))
        return false;
    CopyRecordOptions(staged);
    m_label = std::move(staged.m_label);
    std::swap(m_areas[0], staged.m_areas[0]);
    if (flags & kTplHeaderFooter) {
        std::swap(m_areas[1], staged.m_areas[1]);
        std::swap(m_areas[2], staged.m_areas[2]);
    }
    return true;
}

// --- writing -------------------------------------------------------------------

void CTemplate::WriteGuideTables(RecordWriter& w) const
{
    for (const TemplateGuideTable& table : m_guide) {
        w.u32(0);
        for (const auto& row : table.columns)
            for (int32_t id : row)
                w.i32(id);
        for (const std::string& d : table.delimiters)
            w.fixedString(d, kGuideDelimiterField);
    }
}

void CTemplate::WritePassword(RecordWriter& w) const
{
    std::array<uint8_t, kPasswordBuffer> buffer{};
    const size_t n = std::min(m_password.size(), kTemplatePasswordLength);
    for (size_t i = 0; i < n; ++i)
        buffer[i] = uint8_t(uint8_t(m_password[i]) ^ uint8_t(i));
    size_t length = 0;
    while (length < n && buffer[length] != 0)
        ++length;
    w.i16(int16_t(length));
    w.bytes(buffer.data(), length);
}

bool CTemplate::Write(RecordWriter& w, bool inProject)
{
    if (!m_label)
        m_label = std::make_unique<CLabelFileNewArticleNo>();
    const bool printerNames = !m_printerDevice.empty() || !m_printerDriver.empty() || !m_printerPort.empty();
    uint32_t flags = kWrittenFlags | kAlwaysWrittenFlags;
    if (printerNames)
        flags |= kTplPrinterNames;
    if (inProject)
        flags |= kTplSets;
    if (inProject && m_printLabelBorders)
        flags |= kTplBorders;
    if (m_pageBreakOnNewSet)
        flags |= kTplPageBreak;

    w.u32(kTemplateMagic);
    w.u32(flags);
    w.boolean8(m_sortVertical);
    w.i16(m_repeat);
    if (flags & kTplSets)
        w.i32(m_sets);
    if (flags & kTplBorders) {
        w.boolean8(m_printLabelBorders);
        w.i32(m_borderColor);
        w.i32(m_borderWidth);
        w.boolean8(m_borderOption);
    }
    w.u8(m_reservedOption0);
    w.u8(m_reservedOption1);
    w.boolean8(m_fieldContours);
    if (flags & kTplPrinterNames) {
        w.fixedString(m_printerDevice, kPrinterNameField);
        w.fixedString(m_printerDriver, kPrinterNameField);
        w.fixedString(m_printerPort, kPrinterNameField);
    }
    WriteGuideTables(w);
    m_label->WriteTagged(w);
    w.i16(kKeyHelpLines);
    m_helpLines.Save(w);
    w.boolean8(m_fieldContours);
    for (const auto& area : m_areas) {
        w.i16(kKeyCollection);
        area->Save(w);
    }
    w.boolean8(m_locked);
    WritePassword(w);
    for (int32_t zoom : m_zoom)
        w.i32(zoom);
    m_job.Write(w);
    return w.ok();
}

// --- files -------------------------------------------------------------------------

bool CTemplate::LoadFile(const std::string& path)
{
    // Only a regular file: a FIFO or device under the name must not block.
    files::FileError error = files::FileError::None;
    const std::optional<QByteArray> data =
        files::ReadRegularFile(QFile::decodeName(path.c_str()), kMaxTemplateFileSize, &error);
    if (!data && error != files::FileError::TooLarge) {
        ShowUserMessage("Can not open " + messageName(path), {}, MessageIcon::Error);
        return false;
    }
    bool ok = data.has_value();
    if (ok) {
        RecordReader reader(data->constData(), size_t(data->size()));
        ok = ReadWhole(reader);
    }
    if (!ok)
        ShowUserMessage("Corrupt template file", {}, MessageIcon::Error);
    return ok;
}

bool CTemplate::SaveFile(const std::string& path)
{
    const bool hadLabel = m_label != nullptr;
    const bool labelModified = hadLabel && m_label->IsModified();
    RecordWriter writer;
    std::string error;
    if (!Write(writer, false)) {
        error = "the template holds more than a template file can store";
    } else if (files::SaveFileAtomically(QFile::decodeName(path.c_str()), std::string_view(writer.data()), &error)) {
        return true;
    }
    // Nothing was saved: the definition still has unsaved changes.
    if (hadLabel)
        m_label->SetModified(labelModified);
    ShowUserMessage("Can not save file " + messageName(path) + ": " + error, {}, MessageIcon::Error);
    return false;
}

bool CTemplate::LoadLabelFile(const std::string& path)
{
    // Only a regular file: a FIFO or device under the name must not block.
    const std::optional<QByteArray> data = files::ReadRegularFile(QFile::decodeName(path.c_str()), kMaxLabelFileSize);
    if (!data)
        return false;
    RecordReader r(data->constData(), size_t(data->size()));
    const uint32_t magic = r.u32();
    const uint32_t version = r.u32();
    if (!r.ok())
        return false;
    std::unique_ptr<CLabelFileNew> label;
    if (magic == kLabelFileMagic)
        label = std::make_unique<CLabelFileNew>();
    else if (magic == kLabelFileArticleNoMagic && version < kLabelFileArticleNoVersionLimit)
        label = std::make_unique<CLabelFileNewArticleNo>();
    else
        return false;

    LabelReadOptions options;
    options.messages = true;
    LabelFileResult result;
    if (!label->LoadFromBytes(std::string_view(data->constData(), size_t(data->size())), options, &result, messageName(path))) {
        // The template keeps its definition rather than half of another.
        if (result.status != LabelFileStatus::NotALabelFile)
            ShowUserMessage(result.message, {}, MessageIcon::Error);
        return false;
    }
    label->SetFilePath(path);
    label->SetLoaded(true);
    std::string device, driver, port;
    if (label->GetPrinterNames(device, driver, port))
        SetPrinterNames(device, driver, port);
    if (label->GetTypeKey() == kKeyLabelFileNew)
        m_label = CLabelFileNewArticleNo::CopyFromLabel(*label);
    else
        m_label = std::move(label);
    return true;
}
