#include "content/barcodes/qrcode.h"
#include "platform/codepage.h"

#include "platform/units.h"

#include <qrencode.h>

#include <algorithm>
#include <atomic>
#include <cctype>

namespace {

std::atomic<int> g_liveInstances{0};

const char kEncoding8Bit[] = "8-bit data";
const char kEncodingKanji[] = "Kanji";
const char kLevels[] = "LMQH";

// Bytes that the largest symbol (version 40) holds at levels L, M, Q and H.
const size_t kByteCapacity[4] = {2953, 2331, 1663, 1273};

bool ValidSettings(const QrEncodeSettings& s)
{
    return s.version >= 0 && s.version <= 40 && s.level >= 0 && s.level <= 3 && (s.encoding == 2 || s.encoding == 3);
}

void ReleaseLibraryCaches()
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    QRcode_clearCache();
#pragma GCC diagnostic pop
}

} // namespace

CBarcodeQRCode::CBarcodeQRCode()
{
    m_module = 150;
    ++g_liveInstances;
}

CBarcodeQRCode::CBarcodeQRCode(const CBarcodeQRCode& other)
    : CBarcodeModular(other),
      m_version(other.m_version),
      m_level(other.m_level),
      m_encoding(other.m_encoding),
      m_caseSensitive(other.m_caseSensitive),
      m_margin(other.m_margin),
      m_reserved(other.m_reserved),
      m_centred(other.m_centred)
{
    ++g_liveInstances;
}

CBarcodeQRCode::~CBarcodeQRCode()
{
    // The symbol goes back to the library before its caches do.
    m_cache.Clear();
    if (--g_liveInstances == 0)
        ReleaseLibraryCaches();
}

int CBarcodeQRCode::LiveInstances()
{
    return g_liveInstances.load();
}

// --- the cache of the last symbol ----------------------------------------------------

void QrSymbolCache::Clear()
{
    if (m_symbol)
        QRcode_free(m_symbol);
    m_symbol = nullptr;
    m_valid = false;
}

const QRcode* QrSymbolCache::Get(std::string_view text, const QrEncodeSettings& settings)
{
    if (m_valid && m_settings == settings && m_text == text)
        return m_symbol;
    Clear();
    // The library takes a C string: the text ends at its first NUL.
    const std::string s(text.substr(0, std::min(text.find('\0'), text.size())));
    if (ValidSettings(settings)) {
        ++m_encodeCount;
        m_symbol = QRcode_encodeString(s.c_str(), settings.version, QRecLevel(settings.level),
                                       QRencodeMode(settings.encoding), settings.caseSensitive);
    }
    m_valid = true;
    m_text.assign(text);
    m_settings = settings;
    return m_symbol;
}

// --- the symbology -------------------------------------------------------------------

const QRcode* CBarcodeQRCode::Encode(std::string_view text) const
{
    return m_cache.Get(text, EncodeSettings());
}

int CBarcodeQRCode::GetSymbolVersion(std::string_view text) const
{
    const QRcode* symbol = Encode(text);
    return symbol ? symbol->version : m_version;
}

bool CBarcodeQRCode::CanEncode(std::string_view text) const
{
    if (text.empty())
        return true;
    if (!ValidSettings(EncodeSettings()) || text.find('\0') != std::string_view::npos)
        return false;
    if (!m_caseSensitive && std::any_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        return false;
    // Every text up to the byte capacity of the largest symbol fits (the
    // library's mixed modes never take more room than bytes); a longer one
    // may still fit as digits or letters, which only the library can tell.
    if (text.size() <= kByteCapacity[m_level])
        return true;
    QRcode* symbol = QRcode_encodeString(std::string(text).c_str(), m_version, QRecLevel(m_level),
                                         QRencodeMode(m_encoding), m_caseSensitive);
    const bool fits = symbol != nullptr;
    if (symbol)
        QRcode_free(symbol);
    return fits;
}

int64_t CBarcodeQRCode::SideModules(int version) const
{
    return 17 + 4 * int64_t(version) + 2 * int64_t(m_margin);
}

int32_t CBarcodeQRCode::GetWidth(std::string_view text, int resolution) const
{
    if (resolution <= 0)
        return 0;
    const int64_t modules = SideModules(GetSymbolVersion(text));
    const int64_t n = units::UmToPx(m_module, resolution);
    const int64_t px = std::clamp<int64_t>(n * modules, -(int64_t(1) << 40), int64_t(1) << 40);
    return units::PxToUmTruncated(px, resolution);
}

int32_t CBarcodeQRCode::GetHeight(const BarcodeHost& /*host*/, std::string_view text, int resolution) const
{
    if (resolution <= 0)
        return 0;
    const int64_t moduleUm = units::PxToUmTruncated(units::UmToPx(m_module, resolution), resolution);
    const int64_t modules =
        std::clamp<int64_t>(SideModules(GetSymbolVersion(text)), -(int64_t(1) << 31), int64_t(1) << 31);
    return units::clamp32(modules * moduleUm);
}

BarcodeDrawResult CBarcodeQRCode::Draw(const BarcodeHost& host, CDC& dc, int resX, int resY, int x, int y,
                                       std::string_view text) const
{
    const QRcode* symbol = Encode(text);
    if (!symbol || symbol->width <= 0 || !symbol->data)
        return text.empty() ? BarcodeDrawResult::kEmpty : BarcodeDrawResult::kNotEncodable;
    const int rotation = host.rotation;
    const bool turned = rotation == 900 || rotation == 2700;
    const int resAlong = turned ? resY : resX;
    int layAlong, layAcross;
    LayoutResolutions(host, resX, resY, layAlong, layAcross);
    // Module edges as laid out at the layout resolution, scaled to the device.
    const int64_t n = std::max(0, units::UmToPx(m_module, layAlong));
    if (n == 0)
        return BarcodeDrawResult::kDrawn;
    const auto at = [&](int64_t modules) { return ScalePixels(n * modules, layAlong, resAlong); };
    const COLORREF color = host.barColor;

    int64_t across = 0;
    if (m_centred) {
        // Centred by the symbol's height as laid out.
        const int layX = host.layoutResX > 0 ? host.layoutResX : resX;
        const int layY = host.layoutResY > 0 ? host.layoutResY : resY;
        if (turned)
            across = units::UmToPx(int32_t((int64_t(host.widthUm) - GetHeight(host, text, layY)) / 2), resX);
        else
            across = units::UmToPx(int32_t((int64_t(host.heightUm) - GetHeight(host, text, layX)) / 2), resY);
    }
    const int64_t margin = m_margin;
    const int w = symbol->width;
    for (int r = 0; r < w; ++r) {
        const unsigned char* row = symbol->data + size_t(r) * size_t(w);
        const int64_t top = across + at(r + margin);
        const int64_t bottom = std::max(across + at(r + margin + 1), top + 1);
        for (int c = 0; c < w;) {
            if (!(row[c] & 1)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < w && (row[end] & 1))
                ++end;
            FillMapped(dc, color, rotation, x, y, at(c + margin), std::max(at(end + margin), at(c + margin) + 1), top,
                       bottom, host.deviceRect);
            c = end;
        }
    }
    return BarcodeDrawResult::kDrawn;
}

bool CBarcodeQRCode::Load(RecordReader& r)
{
    CBarcodeModular::Load(r);
    r.skip(4);
    m_version = r.i32();
    m_level = r.i32();
    m_encoding = r.i32();
    m_caseSensitive = r.i32();
    m_margin = r.i32();
    m_reserved = r.i32();
    m_centred = r.u8();
    return r.ok();
}

void CBarcodeQRCode::Save(RecordWriter& w) const
{
    CBarcodeModular::Save(w);
    w.i32(0);
    w.i32(m_version);
    w.i32(m_level);
    w.i32(m_encoding);
    w.i32(m_caseSensitive);
    w.i32(m_margin);
    w.i32(m_reserved);
    w.u8(m_centred);
}

char CBarcodeQRCode::GetQRLevel() const
{
    return m_level >= 0 && m_level <= 3 ? kLevels[m_level] : 0;
}

void CBarcodeQRCode::SetQRLevel(char letter)
{
    for (int i = 0; i < 4; ++i)
        if (letter == kLevels[i])
            m_level = i;
}

std::string CBarcodeQRCode::GetQREncodingName() const
{
    if (m_encoding == 2)
        return kEncoding8Bit;
    if (m_encoding == 3)
        return kEncodingKanji;
    return {};
}

void CBarcodeQRCode::SetQREncodingName(std::string_view name)
{
    if (codepage::EqualsNoCase(name, kEncoding8Bit))
        m_encoding = 2;
    else if (codepage::EqualsNoCase(name, kEncodingKanji))
        m_encoding = 3;
}
