#pragma once
// The QR code symbology, encoded by libqrencode.
//
// The encoded symbol is cached with the text and the settings it was made
// with, so drawing and measuring the same text again encodes nothing.
#include "content/barcodes/barcode.h"

#include <string>

#include <qrencode.h>

// What the library is asked to encode a text with.
struct QrEncodeSettings {
    int32_t version = 1;
    int32_t level = 0;
    int32_t encoding = 2;
    int32_t caseSensitive = 1;
    friend bool operator==(const QrEncodeSettings&, const QrEncodeSettings&) = default;
};

// The last symbol the library made, with the text and settings it was made
// from: asked again for the same, it answers without encoding. It changes
// nothing a caller can see but the count of encodings; a copy starts empty.
class QrSymbolCache {
public:
    QrSymbolCache() = default;
    QrSymbolCache(const QrSymbolCache&) {}
    QrSymbolCache& operator=(const QrSymbolCache&) = delete;
    ~QrSymbolCache() { Clear(); }

    // The symbol for `text` (up to its first NUL, as the library reads
    // it); null when the library refuses the text or the settings.
    const QRcode* Get(std::string_view text, const QrEncodeSettings& settings);
    // How many times the library was called (for diagnostics).
    int EncodeCount() const { return m_encodeCount; }
    // Gives the symbol back to the library.
    void Clear();

private:
    bool m_valid = false;
    std::string m_text;
    QrEncodeSettings m_settings;
    QRcode* m_symbol = nullptr;
    int m_encodeCount = 0;
};

class CBarcodeQRCode : public CBarcodeModular {
public:
    CBarcodeQRCode();
    // Copies the settings; the copy starts with an empty cache.
    CBarcodeQRCode(const CBarcodeQRCode& other);
    ~CBarcodeQRCode() override;

    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeQRCode>(*this); }
    BarcodeDrawResult Draw(const BarcodeHost& host, CDC& dc, int resX, int resY, int x, int y,
                           std::string_view text) const override;
    // Any byte goes into the symbol, as long as the library takes the text
    // whole: no NUL byte, no lowercase letter when case is not kept (the
    // library turns it to uppercase), and within the capacity of version
    // 40 at the level.
    bool CanEncode(std::string_view text) const override;
    bool EditsTextInPlace() const override { return false; }
    bool ShowsPlaceholder() const override { return false; }
    bool HasFont() const override { return false; }
    bool IsCentred() const override { return m_centred != 0; }
    bool GetCentring(bool& out) const override
    {
        out = m_centred != 0;
        return true;
    }
    void SetCentred(bool on) override { m_centred = on ? 1 : 0; }
    void SetCentring(bool on) override { m_centred = on ? 1 : 0; }
    bool Is2D() const override { return true; }
    // The side of the symbol for `text` (with its margins) in micrometres
    // at `resolution`.
    int32_t GetWidth(std::string_view text, int resolution) const override;
    // The same side with the module size truncated to micrometres first.
    int32_t GetHeight(const BarcodeHost& host, std::string_view text, int resolution) const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    int16_t GetTypeKey() const override { return kKeyQRCode; }
    std::string GetName() const override { return std::string("QR Code") + '\xAE'; }
    bool HasHeight() const override { return false; }
    bool HasGapCorrection() const override { return false; }
    bool HasShowText() const override { return false; }

    bool HasQRVersion() const override { return true; }
    int GetQRVersion() const override { return m_version; }
    void SetQRVersion(int v) override { m_version = v; }
    bool HasQRLevel() const override { return true; }
    // 'L', 'M', 'Q' or 'H'; 0 for a level outside 0..3.
    char GetQRLevel() const override;
    // Takes 'L', 'M', 'Q' or 'H'; any other letter changes nothing.
    void SetQRLevel(char letter) override;
    bool HasQREncoding() const override { return true; }
    // "8-bit data" or "Kanji"; empty for another mode.
    std::string GetQREncodingName() const override;
    void SetQREncodingName(std::string_view name) override;
    bool HasQRMargin() const override { return true; }
    int GetQRMargin() const override { return m_margin; }
    void SetQRMargin(int v) override { m_margin = v; }

    int GetCaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool on) { m_caseSensitive = on ? 1 : 0; }
    int GetEncoding() const { return m_encoding; }
    int GetLevel() const { return m_level; }
    // Version of the symbol for `text` (the requested one when the text
    // cannot be encoded).
    int GetSymbolVersion(std::string_view text) const;
    // Side of the symbol in modules for a version, margins included.
    int64_t SideModules(int version) const;
    // How many times this object called the library (for diagnostics).
    int EncodeCount() const { return m_cache.EncodeCount(); }
    // The symbol for `text`, encoded when the text or settings changed
    // since the last call; null when the library could not encode it.
    const QRcode* Encode(std::string_view text) const;

    // QR code objects alive in the process.
    static int LiveInstances();

    std::optional<barcodes::LinearLayout> Layout(std::string_view, int, int) const override { return std::nullopt; }

private:
    QrEncodeSettings EncodeSettings() const { return {m_version, m_level, m_encoding, m_caseSensitive}; }

    int32_t m_version = 1;
    int32_t m_level = 0;
    int32_t m_encoding = 2;
    int32_t m_caseSensitive = 1;
    int32_t m_margin = 4;
    int32_t m_reserved = 2;
    uint8_t m_centred = 1;

    mutable QrSymbolCache m_cache;
};
