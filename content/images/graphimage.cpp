#include "content/images/graphimage.h"

#include "content/tables/datatable.h"
#include "platform/codepage.h"
#include "platform/muldiv.h"
#include "platform/paths.h"
#include "platform/uiservices.h"

#include <cstdio>

namespace {

constexpr const char* kImageWord = "Image";
constexpr size_t kReservedBaseBytes = 13; // three int32 and one byte
constexpr size_t kReservedExtBytes = 24;  // 1 + 1 + 2 + 2 + 2 + 4 x 4

} // namespace

// --- first form ------------------------------------------------------------------

CGraphImage::CGraphImage()
{
    m_penWidth = 0;
}

CGraphImage::CGraphImage(const CGraphImage& other)
    : CGraph2Dim(other), m_holder(other.m_holder ? other.m_holder->Clone() : nullptr),
      m_fileName(other.m_fileName)
{
}

CGraphImage::~CGraphImage() = default;

std::unique_ptr<CGraphObject> CGraphImage::Clone() const
{
    return std::make_unique<CGraphImage>(*this);
}

bool CGraphImage::CopyToClipboard()
{
    return m_holder && m_holder->CopyToClipboard();
}

void CGraphImage::TakeFile(std::string_view path)
{
    m_fileName.assign(path.substr(0, kMaxPathBytes));
    m_holder = CreateImageHolderForFile(m_fileName);
}

bool CGraphImage::SetImageFile(const std::string& path)
{
    // The stored name field holds 127 bytes; a longer name would come back
    // cut and the picture could not be found again.
    if (path.size() >= kStoredNameSize)
        return false;
    TakeFile(path);
    return true;
}

bool CGraphImage::EditContent()
{
    FileDialogRequest request;
    request.filter = kFileFilter;
    request.defaultExtension = kDefaultExtension;
    request.folder = paths::GetClipartFolder();
    const std::optional<QString> chosen = Ui().AskOpenFileName(request);
    if (!chosen)
        return false;
    const std::string path = codepage::FromUnicode(*chosen, codepage::kAnsi);
    if (path.size() >= kStoredNameSize) {
        ShowUserMessage("The file name is too long to be stored (at most 127 characters):\n" + path, {},
                        MessageIcon::Warning);
        return false;
    }
    TakeFile(path);
    return true;
}

bool CGraphImage::ResetToNaturalSize()
{
    return m_holder && m_holder->ApplyNaturalSize(*this);
}

int CGraphImage::GetAspectPercent() const
{
    return m_holder ? m_holder->GetAspectPercent() : CGraph2Dim::GetAspectPercent();
}

void CGraphImage::Rotate90(int32_t cx, int32_t cy, int direction)
{
    if (direction != 1 && direction != -1)
        return;
    if (m_holder && !m_holder->CanRotate())
        return;
    // A picture the holder refuses to turn keeps its box as it is.
    if (m_holder && !m_holder->Rotate(direction))
        return;
    CGraph2Dim::Rotate90(cx, cy, direction);
}

bool CGraphImage::Load(RecordReader& reader)
{
    m_x = reader.i32();
    m_y = reader.i32();
    m_width = reader.i32();
    m_height = reader.i32();
    reader.skip(kReservedBaseBytes);
    m_fileName = reader.fixedString(kStoredNameSize);
    m_selected = false;
    m_holder.reset();
    const int16_t tag = reader.i16();
    if (!reader.ok())
        return false;
    if (tag != 0) {
        m_holder = CreateImageHolderForTag(tag);
        if (!m_holder) {
            // What follows cannot be interpreted.
            reader.setDamaged();
            return false;
        }
        m_holder->Load(reader);
    }
    m_penWidth = 0;
    return reader.ok();
}

void CGraphImage::Save(RecordWriter& writer) const
{
    writer.i32(m_x);
    writer.i32(m_y);
    writer.i32(m_width);
    writer.i32(m_height);
    for (size_t i = 0; i < kReservedBaseBytes; ++i)
        writer.u8(0);
    writer.fixedString(m_fileName, kStoredNameSize);
    if (m_holder)
        m_holder->SaveTagged(writer);
    else
        writer.i16(0);
}

void CGraphImage::DrawFrame(CDC& dc, const RECT& box)
{
    DrawBoxOutline(dc, box);
}

bool CGraphImage::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    const RECT box = CalcDeviceRect(dc, args.zoom, args.offsetX, args.offsetY);
    if (m_holder)
        m_holder->Draw(dc, m_fileName, box, ImageSourceWindow{}, kImageCentre);
    if (args.frame)
        DrawFrame(dc, box);
    return true;
}

// --- second form -------------------------------------------------------------------

std::unique_ptr<CGraphObject> CGraphImageExt::Clone() const
{
    return std::make_unique<CGraphImageExt>(*this);
}

bool CGraphImageExt::SetImageFile(const std::string& path)
{
    return m_sourceMode == kSourceFile && CGraphImage::SetImageFile(path);
}

int CGraphImageExt::GetSourceType() const
{
    switch (m_sourceMode) {
    case kSourceFile: return 1;
    case kSourceTable: return 0;
    default: return -1;
    }
}

void CGraphImageExt::SetSourceType(int v)
{
    if (v == 0)
        m_sourceMode = kSourceTable;
    else if (v == 1)
        m_sourceMode = kSourceFile;
}

void CGraphImageExt::SetImageSourceMode(int v)
{
    if (v == kSourceFile || v == kSourceTable)
        m_sourceMode = int16_t(v);
}

std::string CGraphImageExt::GetImagePathForRow(const DrawContext& context) const
{
    const CDataTableBase* table = context.table;
    if (!table)
        return {};
    const int k = GetColumnNumber();
    if (k < 0)
        return {};
    // The k-th image column among the table's column flags.
    int index = -1;
    for (int position = 0, seen = 0; position < CDataTableBase::kMaxColumns; ++position) {
        if (table->GetColumnFlag(position) == 0)
            continue;
        if (seen == k) {
            index = position;
            break;
        }
        ++seen;
    }
    if (index < 0)
        return {};
    // A flag beyond the table's columns names no cell.
    const int column = context.TableColumn(index);
    if (column < 0 || column >= CDataTableBase::kColumnCount)
        return {};
    return context.CellText(index);
}

bool CGraphImageExt::Draw(const DrawArgs& args) const
{
    if (!args.dc)
        return true;
    CDC& dc = *args.dc;
    const Resolution res = ComputeResolution(dc, args.zoom);
    const RECT box = DeviceBox(res, args.offsetX, args.offsetY);
    CImageBase* holder = m_holder.get();
    std::string file = m_fileName;
    if (m_sourceMode == kSourceTable) {
        if (args.placeholder) {
            CDCStateScope state(dc);
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextAlign(TA_CENTER);
            LOGFONTA font;
            font.lfHeight = MulDiv(12, res.y, 72);
            font.lfWeight = FW_NORMAL;
            font.lfCharSet = DEFAULT_CHARSET;
            ::SetFaceName(font, "Arial");
            dc.SelectFont(font);
            char text[64];
            if (args.flags & kDrawLabelNumbers)
                std::snprintf(text, sizeof text, "[%s %d:%d]", kImageWord, GetColumnNumber() + 1,
                              args.labelNumber + 1);
            else
                std::snprintf(text, sizeof text, "[%s %d]", kImageWord, GetColumnNumber() + 1);
            const RECT& b = box;
            dc.ExtTextOut(b.left + (b.right - b.left) / 2, b.top, ETO_CLIPPED, &b, text);
        } else {
            // The row's picture is drawn from a cache of its own; the
            // object's picture and file name stay as they are.
            file = GetImagePathForRow(args).substr(0, kMaxPathBytes);
            if (file.empty()) {
                m_rowFile.clear();
                m_rowHolder.reset();
            } else if (!m_rowHolder || !codepage::EqualsNoCase(file, m_rowFile)) {
                m_rowFile = file;
                m_rowHolder = CreateImageHolderForFile(file);
                if (m_rowHolder)
                    m_rowHolder->SetReducedDecoding(true);
            }
            holder = m_rowHolder.get();
        }
    }
    const bool tableWithoutRow = m_sourceMode == kSourceTable && (args.labelNumber < 0 || args.placeholder);
    if (!tableWithoutRow && holder)
        holder->Draw(dc, file, box, m_window, HolderFlags());
    if (args.frame)
        DrawFrame(dc, box);
    return true;
}

bool CGraphImageExt::Load(RecordReader& reader)
{
    if (!CGraphImage::Load(reader))
        return false;
    m_sourceMode = reader.i16();
    m_stretch = reader.u8() != 0;
    m_centered = reader.u8() != 0;
    m_window.left = reader.i32();
    m_window.bottom = reader.i32();
    m_window.right = reader.i32();
    m_window.top = reader.i32();
    reader.skip(kReservedExtBytes);
    return reader.ok();
}

void CGraphImageExt::Save(RecordWriter& writer) const
{
    CGraphImage::Save(writer);
    writer.i16(m_sourceMode);
    writer.u8(m_stretch ? 1 : 0);
    writer.u8(m_centered ? 1 : 0);
    writer.i32(m_window.left);
    writer.i32(m_window.bottom);
    writer.i32(m_window.right);
    writer.i32(m_window.top);
    for (size_t i = 0; i < kReservedExtBytes; ++i)
        writer.u8(0);
}

// --- third form ----------------------------------------------------------------------

std::unique_ptr<CGraphObject> CGraphImageExtExt::Clone() const
{
    return std::make_unique<CGraphImageExtExt>(*this);
}

bool CGraphImageExtExt::Load(RecordReader& reader)
{
    if (!CGraphImageExt::Load(reader))
        return false;
    m_column = reader.i16();
    return reader.ok();
}

void CGraphImageExtExt::Save(RecordWriter& writer) const
{
    CGraphImageExt::Save(writer);
    writer.i16(m_column);
}

bool CGraphImageExtExt::GetSourceColumnText(std::string& out) const
{
    if (m_sourceMode == kSourceFile)
        return false;
    if (m_column < 0)
        return true;
    out = std::string(kImageWord) + ' ' + std::to_string(m_column + 1);
    return true;
}

bool CGraphImageExtExt::SetSourceColumnTextChecked(const std::string& text)
{
    char word[256];
    int n = 0;
    const std::string bounded = text.substr(0, 255);
    if (std::sscanf(bounded.c_str(), "%255s %d", word, &n) != 2 && std::sscanf(bounded.c_str(), "%d", &n) != 1)
        return false;
    if (n >= 1 && n <= 4)
        m_column = int16_t(n - 1);
    return true;
}

void CGraphImageExtExt::InitFromClipboard(int format, std::string_view block)
{
    m_width = 10000;
    m_height = 10000;
    m_x = 0;
    m_y = 0;
    m_fileName.clear();
    m_holder.reset();
    if (format == kClipboardMetafilePict)
        m_holder = std::make_unique<CImageMetafile>();
    else if (format == kClipboardDib)
        m_holder = std::make_unique<CImageBitmapNew>();
    if (m_holder)
        m_holder->FromGlobalMemory(*this, block);
    m_penWidth = 0;
    m_stretch = false;
    m_centered = false;
    m_window = ImageSourceWindow{};
    m_sourceMode = kSourceFile;
}
