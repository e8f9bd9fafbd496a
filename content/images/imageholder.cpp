#include "content/images/imageholder.h"

#include "content/objects/graphobject.h"
#include "platform/dib.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/uiservices.h"
#include "platform/units.h"
#include "platform/wmf.h"


#include <algorithm>
#include <cstdlib>
#include <optional>

using units::clamp32;

namespace {

// Largest .wmf file read into a holder.
constexpr qint64 kMaxMetafileBytes = 64 * 1024 * 1024;

int64_t abs64(int64_t v)
{
    return v < 0 ? -v : v;
}

// Says that a picture is too large for `done` ("copied", "turned"): the
// bitmap it would take, in megabytes rounded up.
void warnTooLarge(const char* done, const std::string& packed, int64_t bytes)
{
    const dib::DibSize size = dib::HeaderSize(packed);
    ShowUserMessage(std::string("The picture cannot be ") + done + ": its " + std::to_string(size.width) + " x " +
                        std::to_string(size.height) + " pixels would take " +
                        std::to_string((bytes + 999'999) / 1'000'000) + " MB.",
                    {}, MessageIcon::Warning);
}

// A packed DIB as clipboard data: the bitmap for Qt programs and the BMP
// file for everyone else. A picture too large to be decoded whole is
// refused with a message.
bool copyPackedDib(const std::string& packed)
{
    if (dib::ParsePacked(packed).valid && !dib::CanDecodePacked(packed)) {
        warnTooLarge("copied", packed, dib::DecodedBytes(packed));
        return false;
    }
    const QImage image = dib::PackedToImage(packed);
    if (image.isNull())
        return false;
    return Ui().SetClipboardImage(image, dib::PackedToBmpFile(packed));
}

// a x b / c for a, b >= 0 and c > 0, saturated to the 64-bit range: the
// source window of a stored image object can be far outside 0..100 %, and
// its product with a device length does not always fit 64 bits.
int64_t mulDivSaturated(int64_t a, int64_t b, int64_t c)
{
    const __int128 q = __int128(a) * b / c;
    return q > INT64_MAX ? INT64_MAX : int64_t(q);
}

// The pixel size the whole picture is drawn at when its source window fills
// `dest` (right and bottom inclusive); 1 x 1 when nothing is drawn.
QSize drawnPictureSize(const RECT& dest, const ImageSourceWindow& window)
{
    const int64_t dw = int64_t(dest.right) - dest.left + 1;
    const int64_t dh = int64_t(dest.bottom) - dest.top + 1;
    const int64_t ww = int64_t(window.right) - window.left;
    const int64_t wh = int64_t(window.top) - window.bottom;
    if (dw <= 0 || dh <= 0 || ww <= 0 || wh <= 0)
        return QSize(1, 1);
    auto whole = [](int64_t drawn, int64_t percent) {
        return int(std::clamp<int64_t>((drawn * 100 + percent - 1) / percent, 1, INT32_MAX));
    };
    return QSize(whole(dw, ww), whole(dh, wh));
}

int aspect(int64_t width, int64_t height)
{
    width = abs64(width);
    height = abs64(height);
    if (width == 0 || height == 0)
        return 100;
    return clamp32(height * 100 / width);
}

} // namespace

// --- drawing helpers -----------------------------------------------------------

namespace {

// Where a picture of `full` pixels is drawn: its source window in its
// pixels (the top row 0; it may reach far beyond the picture) and the device
// rectangle (right and bottom excluded) the window fills.
struct Placement {
    QRectF source;
    RECT dest;
};

std::optional<Placement> placeBitmap(QSize full, const RECT& dest, const ImageSourceWindow& window, int flags)
{
    // Any picture that can be decoded is far narrower; the products below
    // stay within 64 bits.
    constexpr int kMaxSide = 1 << 30;
    const int64_t w = full.width();
    const int64_t h = full.height();
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide)
        return std::nullopt;
    // The window's percentages count upwards from the bottom edge.
    const int64_t sx = w * window.left / 100;
    const int64_t sw = w * (int64_t(window.right) - window.left) / 100;
    const int64_t sh = h * (int64_t(window.top) - window.bottom) / 100;
    const int64_t sy = h - h * window.top / 100;
    if (sw <= 0 || sh <= 0)
        return std::nullopt; // an empty (or reversed) window shows nothing
    int64_t left = dest.left, top = dest.top, right = dest.right, bottom = dest.bottom;
    if (right < left || bottom < top)
        return std::nullopt;
    if (!(flags & kImageStretch)) {
        const int64_t fitWidth = mulDivSaturated(bottom - top, sw, sh);
        if (fitWidth < right - left) {
            if (flags & kImageCentre)
                left += ((right - left) - fitWidth) / 2;
            right = left + fitWidth;
        } else {
            const int64_t fitHeight = mulDivSaturated(right - left, sh, sw);
            if (fitHeight < bottom - top) {
                if (flags & kImageCentre)
                    top += ((bottom - top) - fitHeight) / 2;
                bottom = top + fitHeight;
            }
        }
    }
    return Placement{QRectF(double(sx), double(sy), double(sw), double(sh)),
                     RECT{clamp32(left), clamp32(top), clamp32(right + 1), clamp32(bottom + 1)}};
}

// Source windows up to this many device pixels are decoded whole, so that
// a view scrolled over the picture finds it decoded.
constexpr int64_t kDecodedWhole = int64_t(1) << 20;

} // namespace

void DrawBitmapIntoBox(CDC& dc, const QImage& picture, const RECT& dest, const ImageSourceWindow& window,
                       int flags)
{
    if (picture.isNull())
        return;
    if (const std::optional<Placement> place = placeBitmap(picture.size(), dest, window, flags))
        dib::DrawImage(dc, picture, place->source, place->dest);
}

void CDecodedBitmap::Clear()
{
    m_image = QImage();
    m_part = QRect();
}

void CDecodedBitmap::Draw(CDC& dc, QSize full, const Decoder& decode, const RECT& dest,
                          const ImageSourceWindow& window, int flags)
{
    const std::optional<Placement> place = placeBitmap(full, dest, window, flags);
    if (!place)
        return;
    // Device pixels per bitmap pixel (the placement never mirrors).
    const double scaleX = double(int64_t(place->dest.right) - place->dest.left) / place->source.width();
    const double scaleY = double(int64_t(place->dest.bottom) - place->dest.top) / place->source.height();
    const auto covered = [](int pixels, double scale) {
        return int(std::clamp(std::ceil(pixels * scale), 1.0, double(pixels)));
    };
    // The bitmap pixels under the source window.
    const QRect inside =
        dib::ShownSource(full, place->source, place->dest, std::nullopt).toAlignedRect() & QRect(QPoint(0, 0), full);
    QRect part = inside;
    QSize size(covered(inside.width(), scaleX), covered(inside.height(), scaleY));
    if (int64_t(size.width()) * size.height() > kDecodedWhole) {
        // Large on the device: only the pixels under what it shows, and one
        // more on each side within the window for the smoothing.
        part = dib::ShownSource(full, place->source, place->dest, dc.GetVisibleRect()).toAlignedRect();
        part = part.adjusted(-1, -1, 1, 1) & inside;
        size = QSize(covered(part.width(), scaleX), covered(part.height(), scaleY));
    }
    if (part.isEmpty())
        return;
    // What is kept serves when it holds the part at least as finely.
    const bool kept = !m_image.isNull() && m_part.contains(part) &&
                      int64_t(m_image.width()) * part.width() >= int64_t(size.width()) * m_part.width() &&
                      int64_t(m_image.height()) * part.height() >= int64_t(size.height()) * m_part.height();
    if (!kept) {
        m_image = decode(part, size);
        m_part = m_image.isNull() ? QRect() : part;
    }
    if (m_image.isNull())
        return;
    // The source window in the pixels of what is kept.
    const double kx = double(m_image.width()) / m_part.width();
    const double ky = double(m_image.height()) / m_part.height();
    const QRectF source((place->source.left() - m_part.left()) * kx, (place->source.top() - m_part.top()) * ky,
                        place->source.width() * kx, place->source.height() * ky);
    dib::DrawImage(dc, m_image, source, place->dest);
}

void DrawMetafileIntoBox(CDC& dc, std::string_view bits, int32_t widthUm, int32_t heightUm,
                         const RECT& dest, int flags)
{
    int64_t left = dest.left, top = dest.top;
    int64_t dw = int64_t(dest.right) - dest.left;
    int64_t dh = int64_t(dest.bottom) - dest.top;
    if (dw <= 0 || dh <= 0)
        return;
    const int64_t w = abs64(widthUm);
    const int64_t h = abs64(heightUm);
    if (!(flags & kImageStretch) && w > 0 && h > 0) {
        // Compare h / dh with w / dw as cross products, exactly.
        if (h * dw < w * dh) {
            const int64_t newHeight = (h * dw + w / 2) / w;
            if (flags & kImageCentre)
                top += (dh - newHeight) / 2;
            dh = newHeight;
        } else {
            const int64_t newWidth = (w * dh + h / 2) / h;
            if (flags & kImageCentre)
                left += (dw - newWidth) / 2;
            dw = newWidth;
        }
    }
    if (dw <= 0 || dh <= 0)
        return;
    wmf::Play(dc, bits, POINT{clamp32(left), clamp32(top)}, SIZE{clamp32(dw), clamp32(dh)},
              SIZE{10000, 10000});
}

// --- base ----------------------------------------------------------------------

void CImageBase::SaveTagged(RecordWriter& writer) const
{
    writer.i16(GetTypeTag());
    Save(writer);
}

// --- header and bits -----------------------------------------------------------

void CImageBitmap::SetContent(int16_t width, int16_t height, std::string header, std::string bits)
{
    m_hasContent = true;
    m_width = width;
    m_height = height;
    m_header = std::move(header);
    m_bits = std::move(bits);
    m_decoded.Clear();
}

bool CImageBitmap::IsDrawable() const
{
    return m_hasContent && dib::ParseSplit(m_header, m_bits.size()).valid;
}

bool CImageBitmap::CopyToClipboard() const
{
    // An empty holder puts nothing on the clipboard and says so, rather than
    // reporting a copy that did not happen.
    if (!m_hasContent)
        return false;
    return copyPackedDib(m_header + m_bits);
}

void CImageBitmap::Draw(CDC& dc, const std::string& /*imageFile*/, const RECT& dest,
                        const ImageSourceWindow& window, int flags)
{
    if (!m_hasContent)
        return;
    const dib::DibSize full = dib::HeaderSize(m_header);
    m_decoded.Draw(
        dc, QSize(full.width, full.height),
        [this](QRect part, QSize size) { return dib::SplitPartToImage(m_header, m_bits, part, size); }, dest,
        window, flags);
}

bool CImageBitmap::Load(RecordReader& reader)
{
    m_hasContent = false;
    m_width = m_height = 0;
    m_header.clear();
    m_bits.clear();
    m_decoded.Clear();
    if (reader.i16() != kMarkerContent)
        return reader.ok();
    const int16_t width = reader.i16();
    const int16_t height = reader.i16();
    const int16_t headerSize = reader.i16();
    if (!reader.ok())
        return false;
    if (headerSize < 0) {
        reader.setDamaged();
        return false;
    }
    if (!reader.require(size_t(headerSize)))
        return false;
    std::string header = reader.bytes(size_t(headerSize));
    // The header's image-size field counts the bits that follow.
    uint32_t bitsSize = 0;
    if (header.size() >= 24)
        bitsSize = uint32_t(uint8_t(header[20])) | (uint32_t(uint8_t(header[21])) << 8) |
                   (uint32_t(uint8_t(header[22])) << 16) | (uint32_t(uint8_t(header[23])) << 24);
    if (!reader.require(bitsSize))
        return false;
    std::string bits = reader.bytes(bitsSize);
    SetContent(width, height, std::move(header), std::move(bits));
    return reader.ok();
}

void CImageBitmap::Save(RecordWriter& writer) const
{
    if (!m_hasContent || m_header.size() > size_t(INT16_MAX)) {
        writer.i16(0);
        return;
    }
    writer.i16(kMarkerContent);
    writer.i16(m_width);
    writer.i16(m_height);
    writer.i16(int16_t(m_header.size()));
    writer.bytes(m_header);
    writer.bytes(m_bits);
}

// --- packed bitmap -------------------------------------------------------------

void CImageBitmapNew::takeSizeFromHeader()
{
    m_decoded.Clear();
    m_reduced = false;
    const dib::DibSize size = dib::HeaderSize(m_packed);
    m_width = size.width;
    m_height = size.height;
}

void CImageBitmapNew::SetPacked(std::string packed)
{
    m_packed = std::move(packed);
    takeSizeFromHeader();
}

bool CImageBitmapNew::LoadFile(const std::string& storedName, QSize drawnSize)
{
    m_packed.clear();
    m_width = m_height = 0;
    m_decoded.Clear();
    m_reduced = false;
    if (storedName.empty())
        return false;
    // A name from a project or a table cell may point anywhere: only a
    // regular file of bounded size and known format is read, and a file
    // that failed is not tried again until it changes.
    dib::LoadedPicture loaded;
    if (!dib::LoadPictureFile(paths::ResolveStoredPath(storedName), drawnSize, loaded))
        return false;
    SetPacked(std::move(loaded.packed));
    if (HasContent() && loaded.width > 0 && loaded.height > 0 &&
        (m_width < loaded.width || m_height < loaded.height)) {
        m_reduced = true;
        m_sourceName = storedName;
        m_width = loaded.width;
        m_height = loaded.height;
    }
    return HasContent();
}

bool CImageBitmapNew::CopyToClipboard() const
{
    if (m_packed.empty())
        return false;
    return copyPackedDib(m_packed);
}

void CImageBitmapNew::Draw(CDC& dc, const std::string& imageFile, const RECT& dest,
                           const ImageSourceWindow& window, int flags)
{
    const QSize drawnSize = drawnPictureSize(dest, window);
    if (!imageFile.empty()) {
        const QSize drawn = m_reducedDecoding ? drawnSize : QSize();
        const dib::DibSize decoded = dib::HeaderSize(m_packed);
        if (m_packed.empty()) {
            LoadFile(imageFile, drawn);
        } else if (m_reduced && m_sourceName == imageFile && dib::ParsePacked(m_packed).valid &&
                   (drawn.width() > decoded.width || drawn.height() > decoded.height || !drawn.isValid())) {
            // Drawn larger than it was decoded: decode again, keeping what
            // there is should the file have gone.
            CImageBitmapNew larger;
            if (larger.LoadFile(imageFile, drawn)) {
                m_packed = std::move(larger.m_packed);
                m_decoded.Clear();
                m_width = larger.m_width;
                m_height = larger.m_height;
                m_reduced = larger.m_reduced;
                m_sourceName = std::move(larger.m_sourceName);
            }
        }
    }
    if (m_packed.empty())
        return;
    const dib::DibSize full = dib::HeaderSize(m_packed);
    m_decoded.Draw(
        dc, QSize(full.width, full.height),
        [this](QRect part, QSize size) { return dib::PackedPartToImage(m_packed, part, size); }, dest, window,
        flags);
}

void CImageBitmapNew::FromGlobalMemory(CGraphObject& owner, std::string_view block)
{
    SetPacked(std::string(block));
    owner.SetWidth(units::PxToUm(m_width, 96));
    owner.SetHeight(units::PxToUm(m_height, 96));
}

int CImageBitmapNew::GetAspectPercent() const
{
    return aspect(m_width, m_height);
}

bool CImageBitmapNew::Rotate(int direction)
{
    if (m_packed.empty())
        return true;
    if (dib::ParsePacked(m_packed).valid && !dib::CanRotatePacked(m_packed)) {
        warnTooLarge("turned", m_packed, dib::RotatedBytes(m_packed));
        return false;
    }
    // One turn is clockwise; three turns (direction 1) are one the other way.
    if (dib::RotatePacked90(m_packed, direction != 1)) {
        std::swap(m_width, m_height);
        m_decoded.Clear();
        m_reduced = false; // the file no longer shows this picture
    }
    return true;
}

bool CImageBitmapNew::ApplyNaturalSize(CGraphObject& owner)
{
    if (m_width == 0 || m_height == 0)
        return false;
    // The picture at 300 pixels per inch.
    owner.SetWidth(clamp32((int64_t(m_width) * 508 + 3) / 6));
    owner.SetHeight(clamp32((int64_t(m_height) * 508 + 3) / 6));
    return true;
}

bool CImageBitmapNew::Load(RecordReader& reader)
{
    m_packed.clear();
    m_width = m_height = 0;
    m_decoded.Clear();
    if (reader.i16() != kMarkerContent)
        return reader.ok(); // 1155 and any other marker: empty
    const int16_t width = reader.i16();
    const int16_t height = reader.i16();
    const int32_t count = reader.i32();
    if (!reader.ok())
        return false;
    if (count < 0) {
        reader.setDamaged();
        return false;
    }
    if (!reader.require(size_t(count)))
        return false;
    m_packed = reader.bytes(size_t(count));
    m_width = width;
    m_height = height;
    // The stored sizes are 16 bits; a bitmap that can be drawn gives its own.
    if (dib::ParsePacked(m_packed).valid)
        takeSizeFromHeader();
    return reader.ok();
}

void CImageBitmapNew::Save(RecordWriter& writer) const
{
    // A picture decoded reduced for drawing is stored whole, as it was read.
    if (m_reduced && !m_sourceName.empty()) {
        CImageBitmapNew whole;
        if (whole.LoadFile(m_sourceName) && !whole.m_reduced) {
            whole.Save(writer);
            return;
        }
    }
    writer.i16(kMarkerContent);
    writer.i16(int16_t(m_width));
    writer.i16(int16_t(m_height));
    writer.i32(int32_t(std::min<size_t>(m_packed.size(), INT32_MAX)));
    writer.bytes(m_packed);
}

// --- metafile ------------------------------------------------------------------

void CImageMetafile::SetMetafile(std::string bits, int32_t widthUm, int32_t heightUm)
{
    m_bits = std::move(bits);
    m_width = clamp32(abs64(widthUm));
    m_height = clamp32(abs64(heightUm));
}

bool CImageMetafile::LoadFile(const std::string& storedName)
{
    m_bits.clear();
    m_width = m_height = 0;
    if (storedName.empty())
        return false;
    const std::optional<QByteArray> file =
        files::ReadRegularFile(paths::ResolveStoredPath(storedName), kMaxMetafileBytes);
    if (!file)
        return false;
    const QByteArray& bytes = *file;
    wmf::WmfFile parts;
    if (!wmf::SplitFile(std::string_view(bytes.constData(), size_t(bytes.size())), parts))
        return false;
    if (!wmf::HasStandardHeader(parts.bits))
        return false;
    int32_t width = 0, height = 0;
    if (parts.placeable)
        wmf::PlaceableSizeUm(parts.header, width, height);
    SetMetafile(std::move(parts.bits), width, height);
    return true;
}

bool CImageMetafile::CopyToClipboard() const
{
    if (m_bits.empty())
        return false;
    return Ui().SetClipboardMetafile(wmf::MakePlaceableFile(m_bits, m_width, m_height));
}

void CImageMetafile::Draw(CDC& dc, const std::string& imageFile, const RECT& dest,
                          const ImageSourceWindow& /*window*/, int flags)
{
    if (m_bits.empty() && !imageFile.empty())
        LoadFile(imageFile);
    if (m_bits.empty())
        return;
    DrawMetafileIntoBox(dc, m_bits, m_width, m_height, dest, flags);
}

void CImageMetafile::FromGlobalMemory(CGraphObject& owner, std::string_view block)
{
    if (block.size() < 12) {
        m_bits.clear();
        m_width = m_height = 0;
        return;
    }
    auto rd32 = [&](size_t at) {
        return int32_t(uint32_t(uint8_t(block[at])) | (uint32_t(uint8_t(block[at + 1])) << 8) |
                       (uint32_t(uint8_t(block[at + 2])) << 16) | (uint32_t(uint8_t(block[at + 3])) << 24));
    };
    const int32_t extX = rd32(4);
    const int32_t extY = rd32(8);
    SetMetafile(std::string(block.substr(12)), clamp32(abs64(extX) * 10), clamp32(abs64(extY) * 10));
    // A picture without a suggested size keeps the object's size.
    if (m_width > 0 && m_height > 0) {
        owner.SetWidth(m_width);
        owner.SetHeight(m_height);
    }
}

int CImageMetafile::GetAspectPercent() const
{
    return aspect(m_width, m_height);
}

bool CImageMetafile::ApplyNaturalSize(CGraphObject& owner)
{
    if (m_width == 0 || m_height == 0)
        return false;
    owner.SetWidth(clamp32(abs64(m_width)));
    owner.SetHeight(clamp32(abs64(m_height)));
    return true;
}

bool CImageMetafile::Load(RecordReader& reader)
{
    const int32_t width = reader.i32();
    const int32_t height = reader.i32();
    const int32_t size = reader.i32();
    m_bits.clear();
    m_width = m_height = 0;
    if (!reader.ok())
        return false;
    if (size < 0) {
        reader.setDamaged();
        return false;
    }
    if (!reader.require(size_t(size)))
        return false;
    // The stored sizes are kept as they are; every use takes their amount.
    m_bits = reader.bytes(size_t(size));
    m_width = width;
    m_height = height;
    return reader.ok();
}

void CImageMetafile::Save(RecordWriter& writer) const
{
    writer.i32(m_width);
    writer.i32(m_height);
    writer.i32(int32_t(std::min<size_t>(m_bits.size(), INT32_MAX)));
    writer.bytes(m_bits);
}

// --- factories -----------------------------------------------------------------

std::unique_ptr<CImageBase> CreateImageHolderForTag(int16_t tag)
{
    switch (tag) {
    case kTagImageBase: return std::make_unique<CImageBase>();
    case kTagImageBitmap: return std::make_unique<CImageBitmap>();
    case kTagImageBitmapExt: return std::make_unique<CImageBitmapExt>();
    case kTagImageBitmapNew: return std::make_unique<CImageBitmapNew>();
    case kTagImageMetafile: return std::make_unique<CImageMetafile>();
    default: return nullptr;
    }
}

std::unique_ptr<CImageBase> CreateImageHolderForFile(std::string_view fileName)
{
    const size_t slash = fileName.find_last_of("\\/");
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return nullptr;
    std::string ext(fileName.substr(dot));
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".bmp" || ext == ".png")
        return std::make_unique<CImageBitmapNew>();
    if (ext == ".wmf")
        return std::make_unique<CImageMetafile>();
    return nullptr;
}
