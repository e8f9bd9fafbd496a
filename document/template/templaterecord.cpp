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
    std::array<TemplateGuideTable, kTemplateAreas> read;
    for (TemplateGuideTable& table : read) {
        r.u32();
        for (auto& row : table.columns)
            for (int32_t& id : row) {
                id = r.i32();
                // Only columns A..Z exist; anything else names none.
                if (id < -1 || id > 25)
                    id = -1;
            }
        for (std::string& d : table.delimiters)
            d = readText(r, kGuideDelimiterField);
    }
    if (r.ok())
        m_guide = std::move(read);
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
    // Read aside: a collection cut short never replaces the area.
    auto collection = std::make_unique<CGraphCollection>();
    if (!collection->Load(r) || !r.ok())
        return false;
    m_areas[size_t(area)] = std::move(collection);
    return true;
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
    // Each block is taken only when it was read whole.
    if (flags & kTplSortVertical) {
        const bool sortVertical = r.boolean8();
        if (r.ok())
            m_sortVertical = sortVertical;
    }
    if (flags & kTplRepeat) {
        const int16_t repeat = r.i16();
        if (r.ok())
            m_repeat = repeat;
    }
    if (flags & kTplSets) {
        const int32_t sets = r.i32();
        if (r.ok())
            m_sets = sets;
    }
    if (flags & kTplBorders) {
        const bool borders = r.boolean8();
        const int32_t colour = r.i32();
        const int32_t width = r.i32();
        const bool option = r.boolean8();
        if (r.ok()) {
            m_printLabelBorders = borders;
            m_borderColor = colour;
            m_borderWidth = width;
            m_borderOption = option;
        }
    }
    if (flags & kTplReservedOption) {
        const uint8_t reserved = r.u8();
        if (r.ok())
            m_reservedOption0 = reserved;
    }
    if (flags & kTplFieldContours) {
        const uint8_t reserved = r.u8();
        const bool contours = r.boolean8();
        if (r.ok()) {
            m_reservedOption1 = reserved;
            m_fieldContours = contours;
        }
    }
    if (flags & kTplCompensation) {
        const int32_t left = r.i32();
        const int32_t top = r.i32();
        if (r.ok())
            SetCompensation(left, top);
    }
    if (flags & kTplPrinterNames) {
        std::string device = readText(r, kPrinterNameField);
        std::string driver = readText(r, kPrinterNameField);
        std::string port = readText(r, kPrinterNameField);
        if (r.ok()) {
            m_printerDevice = std::move(device);
            m_printerDriver = std::move(driver);
            m_printerPort = std::move(port);
        }
    }
    if (flags & kTplGuideTable)
        ReadGuideTables(r);
}

bool CTemplate::Read(RecordReader& r, const LabelReadOptions& options)
{
    uint32_t flags = 0;
    return ReadRecord(r, options, flags);
}

bool CTemplate::ReadRecord(RecordReader& r, const LabelReadOptions& options, uint32_t& flags)
{
    // The areas may hold objects of every family.
    RegisterContentTypes();
    flags = 0;
    const uint32_t magic = r.u32();
    if (!r.ok())
        return false;
    if (!knownMagic(magic)) {
        r.setDamaged();
        return false;
    }
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
    const bool contours = r.boolean8();
    if (!r.ok())
        return false;
    m_fieldContours = contours;

    if (!ReadArea(r, 0))
        return false;
    if ((flags & kTplHeaderFooter) && (!ReadArea(r, 1) || !ReadArea(r, 2)))
        return false;

    const bool locked = r.boolean8();
    if (!r.ok())
        return false;
    m_locked = locked;
    if (!ReadPassword(r))
        return false;

    if (flags & kTplZoom) {
        std::array<int32_t, kTemplateAreas> zoom{};
        for (int32_t& z : zoom) {
            const int32_t stored = r.i32();
            // The design view shows 25..800 %; anything else is no zoom.
            z = stored >= kTemplateMinZoom && stored <= kTemplateMaxZoom ? stored : -1;
        }
        if (!r.ok())
            return false;
        m_zoom = zoom;
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
    if (!staged.ReadRecord(r, options, flags))
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
