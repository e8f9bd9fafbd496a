#include "document/label/labelfile.h"

#include "content/contenttypes.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/uiservices.h"
#include "platform/units.h"

#include <QFile>
#include <algorithm>
#include <cstring>

const char* const kForeignPrinterSettingsMessage =
    "The label definition holds printer settings from another system. They are kept with the "
    "label definition but not used on this computer.";

namespace {

constexpr size_t kReservedTail = 90;
constexpr uint32_t kHeaderThirdWord = 3;

// A fixed text field: the text up to its NUL, never more than width - 1
// bytes, so it fits the field again when written.
std::string readText(RecordReader& r, size_t width)
{
    std::string s = r.fixedString(width);
    if (s.size() > width - 1)
        s.resize(width - 1);
    return s;
}

void readPart(RecordReader& r, LabelPart& p)
{
    p.enabled = r.u8();
    p.left = r.i32();
    p.top = r.i32();
    p.height = r.i32();
    p.width = r.i32();
}

void writePart(RecordWriter& w, const LabelPart& p)
{
    w.u8(p.enabled);
    w.i32(p.left);
    w.i32(p.top);
    w.i32(p.height);
    w.i32(p.width);
}

void drawPartOutline(CDC& dc, int zoom, int leftPx, int topPx, const LabelPart& part)
{
    const CPen old = dc.SelectPen(CPen{PS_DOT, 1, kLabelOutlineColor});
    const int32_t ppiX = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSX));
    const int32_t ppiY = units::ZoomedPpi(zoom, dc.GetDeviceCaps(LOGPIXELSY));
    dc.Rectangle(leftPx, topPx, units::clamp32(int64_t(leftPx) + units::UmToPx(part.width, ppiX) + 1),
                 units::clamp32(int64_t(topPx) + units::UmToPx(part.height, ppiY) + 1));
    dc.SelectPen(old);
}

int16_t paperTenths(int64_t um)
{
    return int16_t(std::clamp<int64_t>(um / 100, INT16_MIN, INT16_MAX));
}

void setResult(LabelFileResult* result, LabelFileStatus status, std::string message)
{
    if (result) {
        result->status = status;
        result->message = std::move(message);
    }
}

std::string readFailure(const RecordReader& r, const std::string& path, LabelFileStatus& status)
{
    status = r.status() == ReadStatus::Damaged ? LabelFileStatus::Damaged : LabelFileStatus::Truncated;
    if (status == LabelFileStatus::Damaged)
        return "The label definition file " + path + " is damaged.";
    return "The label definition file " + path + " is incomplete.";
}

// Reads a whole regular file of at most kMaxLabelFileSize bytes (a name in
// the label folder may be a FIFO or a device, which must not block or flood
// the catalogue scan).
bool readWholeFile(const std::string& path, QByteArray& data, LabelFileResult* result)
{
    files::FileError error = files::FileError::None;
    std::optional<QByteArray> bytes = files::ReadRegularFile(QFile::decodeName(path.c_str()), kMaxLabelFileSize, &error);
    if (!bytes) {
        if (error == files::FileError::TooLarge)
            setResult(result, LabelFileStatus::NotALabelFile, path + " is not a label definition file.");
        else
            setResult(result, LabelFileStatus::CannotOpen, "Can not open file " + path);
        return false;
    }
    data = std::move(*bytes);
    return true;
}

} // namespace

// --- CLabelFileNew -------------------------------------------------------------

CLabelFileNew::CLabelFileNew()
{
    m_paperCode = kPaperA4;
}

std::unique_ptr<CLabel> CLabelFileNew::Clone() const
{
    return std::unique_ptr<CLabel>(new CLabelFileNew(*this));
}

void CLabelFileNew::Reset()
{
    m_defined = 0;
    m_familyLength = 0;
    std::memset(m_family, 0, sizeof m_family);
    m_width = m_height = m_rowPitch = m_columnPitch = 0;
    m_columns = m_rows = m_left = m_top = m_blockSpace = 0;
    m_paperFlag = 1;
    m_blocks = 1;
    m_shape = kShapeRectangle;
    m_radius = 0;
    m_orientation = kPortrait;
    m_paperCode = kPaperA4;
    m_paperLength = 2970;
    m_paperWidth = 2100;
    m_filePath.clear();
    m_displayName.clear();
    m_markingTypes = 63;
    m_header = {};
    m_footer = {};
    m_pictureFile.clear();
    m_infoFile.clear();
    m_reservedByte = 0;
    m_reservedWord = 0;
    m_printerDevice.clear();
    m_printerDriver.clear();
    m_printerPort.clear();
    m_settings.reset();
    m_printerTypes = 0x8000001Fu;
    m_storePrinter = m_storePrinterSettings = m_loaded = m_moduleMarking = false;
    m_modified = false;
}

LabelPart* CLabelFileNew::PartFor(int part)
{
    return part == 1 ? &m_header : part == 2 ? &m_footer : nullptr;
}

const LabelPart* CLabelFileNew::PartFor(int part) const
{
    return part == 1 ? &m_header : part == 2 ? &m_footer : nullptr;
}

int32_t CLabelFileNew::GetHeight(int part) const
{
    if (part == 0)
        return m_height;
    if (const LabelPart* p = PartFor(part))
        return p->height;
    return 297000;
}

int32_t CLabelFileNew::GetWidth(int part) const
{
    if (part == 0)
        return m_width;
    if (const LabelPart* p = PartFor(part))
        return p->width;
    return 210000;
}

void CLabelFileNew::SetHeight(int part, int32_t value)
{
    if (part == 0) {
        CLabelFile::SetHeight(0, value);
    } else if (LabelPart* p = PartFor(part)) {
        if (value >= 1) {
            p->height = value;
            p->enabled = 1;
        }
    } else {
        return;
    }
    m_modified = true;
}

void CLabelFileNew::SetWidth(int part, int32_t value, bool mark)
{
    if (part == 0) {
        CLabelFile::SetWidth(0, value, mark);
    } else if (LabelPart* p = PartFor(part)) {
        if (value >= 0) {
            p->width = value;
            p->enabled = 1;
        }
    } else {
        return;
    }
    if (mark)
        m_modified = true;
}

int32_t CLabelFileNew::GetLeft(int part) const
{
    if (part == 0)
        return m_left;
    const LabelPart* p = PartFor(part);
    return p ? p->left : 0;
}

void CLabelFileNew::SetLeft(int part, int32_t value)
{
    if (part == 0)
        m_left = value;
    else if (LabelPart* p = PartFor(part))
        p->left = value;
    else
        return;
    m_modified = true;
}

int32_t CLabelFileNew::GetTop(int part) const
{
    if (part == 0)
        return m_top;
    const LabelPart* p = PartFor(part);
    return p ? p->top : 0;
}

void CLabelFileNew::SetTop(int part, int32_t value)
{
    if (part == 0)
        m_top = value;
    else if (LabelPart* p = PartFor(part))
        p->top = value;
    else
        return;
    m_modified = true;
}

void CLabelFileNew::TogglePart(int part)
{
    if (LabelPart* p = PartFor(part)) {
        p->enabled = p->enabled ? 0 : 1;
        m_modified = true;
    }
}

bool CLabelFileNew::SetStripWidth(int32_t value)
{
    m_height = value;
    const int16_t tenths = paperTenths(int64_t(value) + m_top);
    if (m_orientation == kLandscape)
        m_paperWidth = tenths;
    else
        m_paperLength = tenths;
    return true;
}

bool CLabelFileNew::ToggleModuleMarking()
{
    m_moduleMarking = !m_moduleMarking;
    return true;
}

void CLabelFileNew::DrawHeaderOutline(CDC& dc, int zoom, int leftPx, int topPx) const
{
    drawPartOutline(dc, zoom, leftPx, topPx, m_header);
}

void CLabelFileNew::DrawFooterOutline(CDC& dc, int zoom, int leftPx, int topPx) const
{
    drawPartOutline(dc, zoom, leftPx, topPx, m_footer);
}

std::string CLabelFileNew::GetFileTitle() const
{
    const size_t slash = m_filePath.find_last_of("/\\");
    return slash == std::string::npos ? m_filePath : m_filePath.substr(slash + 1);
}

void CLabelFileNew::SetPictureFile(const std::string& name)
{
    m_pictureFile = name.substr(0, kLabelCompanionFileField - 1);
    m_modified = true;
}

void CLabelFileNew::SetInfoFile(const std::string& name)
{
    m_infoFile = name.substr(0, kLabelCompanionFileField - 1);
    m_modified = true;
}

bool CLabelFileNew::SetPrinterNames(const std::string& device, const std::string& driver, const std::string& port,
                                    std::string* error)
{
    for (const std::string* name : {&device, &driver, &port}) {
        if (name->size() > kPrinterNameField - 1) {
            if (error)
                *error = "The printer name \"" + *name + "\" is too long. A label definition holds printer names of "
                         "at most " + std::to_string(kPrinterNameField - 1) + " characters.";
            return false;
        }
    }
    m_printerDevice = device;
    m_printerDriver = driver;
    m_printerPort = port;
    m_modified = true;
    return true;
}

bool CLabelFileNew::GetPrinterNames(std::string& device, std::string& driver, std::string& port) const
{
    if (m_printerDevice.empty() || m_printerDriver.empty() || m_printerPort.empty())
        return false;
    device = m_printerDevice;
    driver = m_printerDriver;
    port = m_printerPort;
    return true;
}

void CLabelFileNew::ToggleMarkingType(uint32_t bits)
{
    m_markingTypes ^= bits;
    m_modified = true;
}

void CLabelFileNew::TogglePrinterType(uint32_t bits)
{
    m_printerTypes ^= bits;
    m_modified = true;
}

void CLabelFileNew::ToggleStorePrinter()
{
    const bool was = m_storePrinter;
    m_storePrinter = !was;
    if (was) {
        m_printerDevice.clear();
        m_printerDriver.clear();
        m_printerPort.clear();
    }
    if (m_storePrinter)
        m_storePrinterSettings = true;
    m_modified = true;
}

void CLabelFileNew::ToggleStorePrinterSettings()
{
    const bool was = m_storePrinterSettings;
    m_storePrinterSettings = !was;
    if (was)
        m_settings.reset();
    m_modified = true;
}

bool CLabelFileNew::ArePrinterSettingsApplicable(const OsVersionInfo& running) const
{
    return m_settings && PrinterSettingsAcceptable(m_settings->Origin(), running);
}

void CLabelFileNew::SetPrinterSettings(const CPrinterSettings& settings)
{
    m_settings = settings;
    m_modified = true;
}

void CLabelFileNew::showDevModeInfo() const
{
    if (!m_settings)
        return;
    const std::string text = "m_pDevMode->dmSpecVersion = " + std::to_string(m_settings->SpecVersion()) +
                             "\r\nm_pDevMode->dmDriverVersion = " + std::to_string(m_settings->DriverVersion()) +
                             "\r\nm_pDevMode->dmSize = " + std::to_string(m_settings->DevModeSize()) +
                             "\r\nm_pDevMode->dmDriverExtra = " + std::to_string(m_settings->DevModeDriverExtra());
    ShowUserMessage(text, "CLabelFileNew::showDevModeInfo()", MessageIcon::Information);
}

void CLabelFileNew::ReadPrinterSettings(RecordReader& reader, const LabelReadOptions& options)
{
    std::optional<CPrinterSettings> block = CPrinterSettings::Read(reader);
    if (!block)
        return;
    const bool accepted = PrinterSettingsAcceptable(block->Origin(), options.running);
    // Settings from another system are kept, so that saving the definition
    // here does not lose them for the system they belong to. Kept settings
    // are stored settings: one toggle of the store flag drops them.
    m_settings = std::move(block);
    m_storePrinterSettings = true;
    if (!accepted && options.messages)
        ShowUserMessage(kForeignPrinterSettingsMessage, "", MessageIcon::Warning);
}

bool CLabelFileNew::Read(RecordReader& r, bool embedded, const LabelReadOptions& options)
{
    CLabelFile::Read(r, embedded, options);
    m_markingTypes = r.u32();
    readPart(r, m_header);
    readPart(r, m_footer);
    m_pictureFile = readText(r, kLabelCompanionFileField);
    m_infoFile = readText(r, kLabelCompanionFileField);
    m_reservedByte = r.u8();
    m_reservedWord = r.i16();
    m_printerDevice = readText(r, kPrinterNameField);
    m_printerDriver = readText(r, kPrinterNameField);
    m_printerPort = readText(r, kPrinterNameField);
    const uint8_t settingsFollow = r.u8();
    const uint32_t printerTypes = r.u32();
    m_printerTypes = printerTypes ? printerTypes : 0x8000000Du;
    m_moduleMarking = r.u8() != 0;
    r.skip(kReservedTail);
    if (embedded)
        m_filePath = readText(r, kLabelPathField);
    else
        m_filePath.clear();
    m_settings.reset();
    m_storePrinterSettings = false;
    if (settingsFollow == 1 && r.ok())
        ReadPrinterSettings(r, options);
    m_storePrinter = !m_printerDevice.empty() && !m_printerDriver.empty() && !m_printerPort.empty();
    return r.ok();
}

void CLabelFileNew::Write(RecordWriter& w, bool embedded)
{
    CLabelFile::Write(w, embedded);
    w.u32(m_markingTypes);
    writePart(w, m_header);
    writePart(w, m_footer);
    w.fixedString(m_pictureFile, kLabelCompanionFileField);
    w.fixedString(m_infoFile, kLabelCompanionFileField);
    w.u8(m_reservedByte);
    w.i16(m_reservedWord);
    w.fixedString(m_printerDevice, kPrinterNameField);
    w.fixedString(m_printerDriver, kPrinterNameField);
    w.fixedString(m_printerPort, kPrinterNameField);
    w.u8(m_settings ? 1 : 0);
    w.u32(m_printerTypes);
    w.u8(m_moduleMarking ? 1 : 0);
    w.bytes(std::string(kReservedTail, '\0'));
    // A path longer than its field is not stored at all: cut, it would name
    // another file, which Save would then write without asking.
    if (embedded)
        w.fixedString(m_filePath.size() < kLabelPathField ? m_filePath : std::string(), kLabelPathField);
    if (m_settings)
        m_settings->Write(w);
}

bool CLabelFileNew::AcceptsFileHeader(uint32_t magic, uint32_t /*version*/) const
{
    return magic == kLabelFileMagic;
}

bool CLabelFileNew::LoadFromFile(const std::string& path, const LabelReadOptions& options, LabelFileResult* result)
{
    setResult(result, LabelFileStatus::Ok, {});
    QByteArray data;
    if (!readWholeFile(path, data, result))
        return false;
    return LoadFromBytes(std::string_view(data.constData(), size_t(data.size())), options, result, path);
}

bool CLabelFileNew::LoadFromBytes(std::string_view bytes, const LabelReadOptions& options, LabelFileResult* result,
                                  const std::string& name)
{
    RegisterContentTypes();
    setResult(result, LabelFileStatus::Ok, {});
    RecordReader r(bytes);
    const uint32_t magic = r.u32();
    if (!r.ok()) {
        setResult(result, LabelFileStatus::NotALabelFile, name + " is not a label definition file.");
        return false;
    }
    const uint32_t version = r.u32();
    r.u32();
    if (r.ok() && !AcceptsFileHeader(magic, version)) {
        setResult(result, LabelFileStatus::NotALabelFile, name + " is not a label definition file.");
        return false;
    }
    if (!r.ok() || !Read(r, false, options)) {
        LabelFileStatus status;
        std::string message = readFailure(r, name, status);
        setResult(result, status, std::move(message));
        return false;
    }
    m_loaded = true;
    return true;
}

std::string CLabelFileNew::FileImage()
{
    RecordWriter w;
    w.u32(FileMagic());
    w.u32(FileVersion());
    w.u32(kHeaderThirdWord);
    Write(w, false);
    return w.take();
}

bool CLabelFileNew::SaveToFile(const std::string& path, LabelFileResult* result)
{
    setResult(result, LabelFileStatus::Ok, {});
    const bool wasModified = m_modified;
    const std::string bytes = FileImage();

    std::string error;
    if (!files::SaveFileAtomically(QFile::decodeName(path.c_str()), std::string_view(bytes), &error)) {
        m_modified = wasModified;
        setResult(result, LabelFileStatus::CannotSave, "Can not save file " + path + ": " + error);
        return false;
    }
    return true;
}

bool CLabelFileNew::SaveWithDialog(const std::string& labelsFolder, bool always)
{
    if (always || m_filePath.empty()) {
        FileDialogRequest request;
        request.defaultExtension = "label";
        request.filter = "Label files (*.label)|*.label||";
        request.folder = QFile::decodeName(labelsFolder.c_str());
        if (always)
            request.initialName = QFile::decodeName(m_filePath.c_str());
        request.confirmOverwrite = always;
        const std::optional<QString> chosen = Ui().AskSaveFileName(request);
        if (!chosen || chosen->isEmpty())
            return false;
        m_filePath = QFile::encodeName(*chosen).toStdString();
    }
    LabelFileResult result;
    if (!SaveToFile(m_filePath, &result)) {
        ShowUserMessage(result.message, "", MessageIcon::Error);
        return false;
    }
    return true;
}

bool CLabelFileNew::Save(const std::string& labelsFolder)
{
    return SaveWithDialog(labelsFolder, false);
}

bool CLabelFileNew::SaveAs(const std::string& labelsFolder)
{
    return SaveWithDialog(labelsFolder, true);
}

// --- CLabelFileNewArticleNo ----------------------------------------------------

std::unique_ptr<CLabel> CLabelFileNewArticleNo::Clone() const
{
    return std::unique_ptr<CLabel>(new CLabelFileNewArticleNo(*this));
}

std::unique_ptr<CLabelFileNewArticleNo> CLabelFileNewArticleNo::CopyFromLabel(const CLabelFileNew& label)
{
    return std::unique_ptr<CLabelFileNewArticleNo>(new CLabelFileNewArticleNo(label));
}

bool CLabelFileNewArticleNo::AcceptsFileHeader(uint32_t magic, uint32_t version) const
{
    return magic == kLabelFileArticleNoMagic && version < kLabelFileArticleNoVersionLimit;
}

bool CLabelFileNewArticleNo::Read(RecordReader& r, bool embedded, const LabelReadOptions& options)
{
    CLabelFileNew::Read(r, embedded, options);
    r.bytes(m_reserved.data(), m_reserved.size());
    const int32_t count = r.i32();
    for (std::string& n : m_numbers)
        n.clear();
    m_count = 0;
    if (!r.ok())
        return false;
    if (count < 0 || count > kMaxArticleNumbers) {
        r.setDamaged();
        return false;
    }
    if (!r.requireItems(uint64_t(count), kArticleNumberField))
        return false;
    // Kept packed from the first slot: an empty entry holds no number.
    for (int32_t i = 0; i < count; ++i) {
        std::string number = readText(r, kArticleNumberField);
        if (!number.empty())
            m_numbers[size_t(m_count++)] = std::move(number);
    }
    return r.ok();
}

void CLabelFileNewArticleNo::Write(RecordWriter& w, bool embedded)
{
    CLabelFileNew::Write(w, embedded);
    w.bytes(m_reserved.data(), m_reserved.size());
    w.i32(m_count);
    for (int32_t i = 0; i < m_count; ++i)
        w.fixedString(m_numbers[size_t(i)], kArticleNumberField);
}

bool CLabelFileNewArticleNo::HasArticleNumberPrefix(const std::string& text) const
{
    for (int32_t i = 0; i < m_count; ++i)
        if (codepage::StartsWithNoCase(m_numbers[size_t(i)], text))
            return true;
    return false;
}

bool CLabelFileNewArticleNo::AddArticleNumber(const std::string& text)
{
    // An empty number would take a slot that still reads as free.
    if (text.empty() || text.size() >= kArticleNumberField - 1)
        return false;
    for (std::string& slot : m_numbers) {
        if (slot.empty()) {
            slot = text;
            ++m_count;
            m_modified = true;
            return true;
        }
        if (codepage::EqualsNoCase(slot, text))
            return false;
    }
    return false;
}

bool CLabelFileNewArticleNo::RemoveArticleNumber(const std::string& text)
{
    if (text.empty())
        return false;
    for (int32_t i = 0; i < m_count; ++i) {
        if (codepage::EqualsNoCase(m_numbers[size_t(i)], text)) {
            std::move(m_numbers.begin() + i + 1, m_numbers.end(), m_numbers.begin() + i);
            m_numbers.back().clear();
            --m_count;
            m_modified = true;
            return true;
        }
    }
    return false;
}

std::string CLabelFileNewArticleNo::GetArticleNumber(int index) const
{
    if (index < 0 || index >= kMaxArticleNumbers || index >= m_count)
        return {};
    return m_numbers[size_t(index)];
}

// --- factories -------------------------------------------------------------------

std::unique_ptr<CLabel> CreateLabelForTypeKey(int16_t key)
{
    switch (key) {
    case kKeyLabelFileNewArticleNo: return std::make_unique<CLabelFileNewArticleNo>();
    case kKeyLabelFileNew: return std::make_unique<CLabelFileNew>();
    case kKeyLabelExtExt: return std::make_unique<CLabelExtExt>();
    case kKeyLabelExt: return std::make_unique<CLabelExt>();
    case kKeyLabel: return std::make_unique<CLabel>();
    default: return nullptr;
    }
}

std::unique_ptr<CLabelFileNew> LoadLabelDefinitionFile(const std::string& path, const LabelReadOptions& options,
                                                       LabelFileResult* result)
{
    setResult(result, LabelFileStatus::Ok, {});
    QByteArray data;
    if (!readWholeFile(path, data, result))
        return nullptr;
    RecordReader r(data.constData(), size_t(data.size()));
    const uint32_t magic = r.u32();
    std::unique_ptr<CLabelFileNew> label;
    if (r.ok() && magic == kLabelFileMagic)
        label = std::make_unique<CLabelFileNew>();
    else if (r.ok() && magic == kLabelFileArticleNoMagic)
        label = std::make_unique<CLabelFileNewArticleNo>();
    if (!label) {
        setResult(result, LabelFileStatus::NotALabelFile, path + " is not a label definition file.");
        return nullptr;
    }
    if (!label->LoadFromBytes(std::string_view(data.constData(), size_t(data.size())), options, result, path))
        return nullptr;
    label->SetFilePath(path);
    return label;
}
