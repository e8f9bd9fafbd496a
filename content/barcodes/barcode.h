#pragma once
// Barcode symbologies: the common interface CBarcode, the linear
// symbologies and their records. A barcode object owns one symbology,
// which turns the object's text into bars at the device's resolution.
//
// Lengths are micrometres; a length in pixels at r pixels per inch is
// (length x r + 12700) / 25400 (units::UmToPx). At rotation 900 and 2700 the
// resolutions are exchanged, so "along" always means along the symbol.
#include "content/barcodes/barcodehost.h"
#include "content/barcodes/encoders.h"
#include "platform/dc.h"
#include "platform/record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Type keys of the symbologies.
enum BarcodeTypeKey : int16_t {
    kKeyCode39 = 401,
    kKeyCode2of5Int = 402,
    kKeyEAN13 = 403,
    kKeyUPCA = 404,
    kKeyEAN8 = 405,
    kKeyCode128 = 406,
    kKeyEAN128 = 407,
    kKeyQRCode = 408,
};

// What a drawing did.
enum class BarcodeDrawResult {
    kDrawn,        // the symbol was drawn (possibly clipped)
    kEmpty,        // the text is empty: nothing drawn
    kNotEncodable, // the symbology cannot hold this text (or the library
                   // refused it): nothing drawn; the object marks it in the design view
};

// A symbology draws and measures without side effects: everything a
// drawing needs (the object's box, rotation, font, the bar colour and the
// label) comes with the call, and the same call gives the same result.
class CBarcode {
public:
    CBarcode() = default;
    CBarcode(const CBarcode&) = default;
    CBarcode& operator=(const CBarcode&) = delete;
    virtual ~CBarcode() = default;

    // Deep copy.
    virtual std::unique_ptr<CBarcode> Clone() const = 0;
    // Draws the symbol for `text` in the host's bar colour; (x, y) is the
    // device position of the symbol's origin: the top-left corner of the
    // symbol as read, which is
    // the box's top-left at rotation 0, bottom-left at 900, bottom-right at
    // 1800 and top-right at 2700 (see DrawBar). resX / resY are the device's
    // resolutions as they are (exchanged here for 900 and 2700).
    // The host's context tells the label; a label number below 1 is the
    // design view.
    virtual BarcodeDrawResult Draw(const BarcodeHost& host, CDC& dc, int resX, int resY, int x, int y,
                                   std::string_view text) const = 0;
    // Whether the symbol drawn for `text` carries exactly that text: false
    // when the drawing would put other characters in place of some of it
    // (a space, a 0), leave some of it out, or draw nothing for it. An empty
    // text draws nothing and says nothing, so it is no fault.
    virtual bool CanEncode(std::string_view text) const = 0;
    virtual bool EditsTextInPlace() const { return true; }
    virtual bool ShowsPlaceholder() const { return true; }
    virtual bool HasFont() const { return true; }
    virtual bool IsCentred() const { return false; }
    virtual bool GetCentring(bool& /*out*/) const { return false; }
    virtual void SetCentred(bool /*on*/) {}
    virtual void SetCentring(bool /*on*/) {}
    virtual bool Is2D() const { return false; }
    // Width of the symbol for `text` in micrometres at `resolution` along
    // it (0 for an empty or unencodable text, or resolution <= 0).
    virtual int32_t GetWidth(std::string_view text, int resolution) const = 0;
    // Height of the symbol for `text` in micrometres at `resolution` across
    // it.
    virtual int32_t GetHeight(const BarcodeHost& host, std::string_view text, int resolution) const;
    // Reads the record after the type key; false when it was incomplete.
    virtual bool Load(RecordReader& reader) = 0;
    virtual void Save(RecordWriter& writer) const = 0;
    virtual int16_t GetTypeKey() const = 0;
    virtual std::string GetName() const = 0;
    virtual bool HasHeight() const { return true; }
    virtual int32_t GetBarHeight() const = 0;
    virtual void SetBarHeight(int32_t v) = 0;
    virtual int GetTruncation() const { return -1; }
    virtual void SetTruncation(int /*v*/) {}
    virtual int32_t GetModule() const = 0;
    virtual void SetModule(int32_t v) = 0;
    virtual int GetRatio() const { return -1; }
    virtual void SetRatio(int /*v*/) {}
    virtual bool HasGapCorrection() const { return true; }
    virtual int GetGapCorrection() const = 0;
    virtual void SetGapCorrection(int v) = 0;
    virtual bool HasQRVersion() const { return false; }
    virtual int GetQRVersion() const { return 0; }
    virtual void SetQRVersion(int /*v*/) {}
    virtual bool HasQRLevel() const { return false; }
    virtual char GetQRLevel() const { return 0; }
    virtual void SetQRLevel(char /*letter*/) {}
    virtual bool HasQREncoding() const { return false; }
    virtual std::string GetQREncodingName() const { return {}; }
    virtual void SetQREncodingName(std::string_view /*name*/) {}
    virtual bool HasQRMargin() const { return false; }
    virtual int GetQRMargin() const { return 0; }
    virtual void SetQRMargin(int /*v*/) {}
    virtual bool GetCheckDigit() const { return false; }
    virtual void SetCheckDigit(bool /*on*/) {}
    virtual bool HasCheckDigit() const { return false; }
    virtual bool GetShowText() const = 0;
    virtual void SetShowText(bool on) = 0;
    virtual bool HasShowText() const { return true; }
    virtual bool GetShowCheckDigit() const { return false; }
    virtual void SetShowCheckDigit(bool /*on*/) {}
    virtual bool HasShowCheckDigit() const { return false; }
    virtual bool IsEAN() const { return false; }
    // 1: the module and height choices are lengths in millimetres;
    // 2: percentages (EAN family).
    virtual int GetModuleChoiceKinds() const { return 1; }
    virtual int GetHeightChoiceKinds() const { return 1; }

    // Fills one bar of `width` x `height` pixels at `offset` along the
    // symbol from the origin (x, y), turned by `rotation` and clipped to
    // `clip`; other rotations draw nothing.
    static void DrawBar(CDC& dc, COLORREF color, int rotation, int64_t offset, const RECT& clip, int x, int y,
                        int64_t width, int64_t height);
    // The device rectangle of a box [along0, along1) x [across0, across1)
    // given relative to the origin (x, y) in the symbol's reading direction.
    static RECT MapRect(int rotation, int x, int y, int64_t along0, int64_t along1, int64_t across0, int64_t across1);
    // Draws one character with the selected font at `offset` along and
    // `across` below the origin, turned by the rotation, only when the
    // character's whole rectangle lies inside `clip`. `centred` takes the
    // offset as the middle of the character.
    // Fills the device rectangle of [along0, along1) x [across0, across1)
    // (see MapRect), clipped to `clip`.
    static void FillMapped(CDC& dc, COLORREF color, int rotation, int x, int y, int64_t along0, int64_t along1,
                           int64_t across0, int64_t across1, const RECT& clip);
    static bool DrawHumanReadableChar(CDC& dc, int rotation, int64_t offset, int64_t across, const RECT& clip, int x,
                                      int y, char ch, bool centred);
};

// Symbologies built of modules: every linear one and the QR code.
class CBarcodeModular : public CBarcode {
public:
    int32_t GetBarHeight() const override { return m_barHeight; }
    void SetBarHeight(int32_t v) override { if (v >= 0) m_barHeight = v; }
    int32_t GetModule() const override { return m_module; }
    void SetModule(int32_t v) override { if (v >= 0) m_module = v; }
    int GetGapCorrection() const override { return m_gapCorrection; }
    void SetGapCorrection(int v) override { m_gapCorrection = int16_t(v); }
    bool GetShowText() const override { return m_showText != 0; }
    void SetShowText(bool on) override { m_showText = on ? 1 : 0; }
    bool GetQuietZones() const { return m_quietZones != 0; }
    void SetQuietZones(bool on) { m_quietZones = on ? 1 : 0; }

    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;

    // Draws the bars of the layout and, for the linear symbologies that
    // have one, the human-readable line.
    BarcodeDrawResult Draw(const BarcodeHost& host, CDC& dc, int resX, int resY, int x, int y,
                           std::string_view text) const override;
    int32_t GetWidth(std::string_view text, int resolution) const override;

    // The layout of the text at `resAlong` pixels per inch along the
    // symbol; nullopt when the text cannot be encoded.
    virtual std::optional<barcodes::LinearLayout> Layout(std::string_view text, int resAlong, int resAcross) const = 0;

protected:
    // Text of the line under the bars; empty for none.
    virtual std::string HumanReadableText(std::string_view /*text*/, int /*labelNumber*/) const { return {}; }
    // Micrometres from pixels of a layout width (rounding per symbology).
    virtual int32_t WidthToUm(int64_t pixels, int resolution) const;
    // Pixels of the bars across the symbol: ordinary bars and the longer
    // guard bars (the same but for the EAN family).
    virtual void BarHeights(int resAcross, int64_t& shortBars, int64_t& longBars) const;
    // Draws what goes under the bars; the default draws the human-readable
    // line through the host.
    // `quiet` is the quiet zone's width in device pixels.
    virtual void DrawHumanReadable(const BarcodeHost& host, CDC& dc, const barcodes::LinearLayout& layout, int quiet,
                                   int64_t h, int x, int y, int labelNumber, std::string_view text) const;

    uint8_t m_quietZones = 1;
    uint8_t m_showText = 1;
    int16_t m_gapCorrection = 1;
    int32_t m_barHeight = 10000;
    int32_t m_module = 300;
};

// Symbologies of narrow and wide elements.
class CBarcodeModularRatio : public CBarcodeModular {
public:
    int GetRatio() const override { return m_ratio; }
    void SetRatio(int v) override { if (v >= 20 && v <= 30) m_ratio = int16_t(v); }
    bool GetCheckDigit() const override { return m_addCheckDigit != 0; }
    void SetCheckDigit(bool on) override { m_addCheckDigit = on ? 1 : 0; }
    bool HasCheckDigit() const override { return true; }
    bool GetShowCheckDigit() const override { return m_showCheckDigit != 0; }
    void SetShowCheckDigit(bool on) override { m_showCheckDigit = on ? 1 : 0; }

protected:
    int16_t m_ratio = 25;
    uint8_t m_addCheckDigit = 0;
    uint8_t m_showCheckDigit = 0;
};

class CBarcodeCode39 : public CBarcodeModularRatio {
public:
    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeCode39>(*this); }
    int16_t GetTypeKey() const override { return kKeyCode39; }
    std::string GetName() const override { return "Code 39"; }
    bool HasShowCheckDigit() const override { return GetCheckDigit() && GetShowText(); }
    bool CanEncode(std::string_view text) const override { return barcodes::Code39CanEncode(text); }
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::optional<barcodes::LinearLayout> Layout(std::string_view text, int resAlong, int resAcross) const override;

protected:
    std::string HumanReadableText(std::string_view text, int labelNumber) const override;

private:
    int16_t m_reserved = 100;
};

class CBarcodeCode2of5Int : public CBarcodeModularRatio {
public:
    CBarcodeCode2of5Int() { m_showCheckDigit = 1; }
    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeCode2of5Int>(*this); }
    int16_t GetTypeKey() const override { return kKeyCode2of5Int; }
    std::string GetName() const override { return "2/5 Interleaved"; }
    bool HasShowCheckDigit() const override { return true; }
    bool CanEncode(std::string_view text) const override { return barcodes::ItfCanEncode(text); }
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::optional<barcodes::LinearLayout> Layout(std::string_view text, int resAlong, int resAcross) const override;

protected:
    std::string HumanReadableText(std::string_view text, int labelNumber) const override;

private:
    uint8_t m_reserved1 = 0;
    int32_t m_reserved2 = 2;
};

class CBarcodeCode128 : public CBarcodeModular {
public:
    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeCode128>(*this); }
    int16_t GetTypeKey() const override { return kKeyCode128; }
    std::string GetName() const override { return "Code 128"; }
    // Every byte a code set holds, in at most kMaxCode128Codewords.
    bool CanEncode(std::string_view text) const override { return text.empty() || Codewords(text).has_value(); }
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    std::optional<barcodes::LinearLayout> Layout(std::string_view text, int resAlong, int resAcross) const override;

    virtual bool UsesFNC1() const { return false; }
    // Writes what follows the start codeword (EAN 128: FNC1).
    virtual void InsertFNC1(std::vector<int>& /*codewords*/) const {}
    // The codewords of the text (start to stop), nullopt when it cannot be encoded.
    std::optional<std::vector<int>> Codewords(std::string_view text) const;

protected:
    std::string HumanReadableText(std::string_view text, int labelNumber) const override;
    int32_t WidthToUm(int64_t pixels, int resolution) const override;
};

class CBarcodeEAN128 : public CBarcodeCode128 {
public:
    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeEAN128>(*this); }
    int16_t GetTypeKey() const override { return kKeyEAN128; }
    std::string GetName() const override { return "EAN 128"; }
    bool UsesFNC1() const override { return true; }
    void InsertFNC1(std::vector<int>& codewords) const override { codewords.push_back(barcodes::kCode128FNC1); }
};

// EAN 13 and its relatives. Heights follow the module: the nominal bar
// height is (100 - truncation) % of module x 22860 / 330; the bar height
// field is kept but not used for drawing.
class CBarcodeEAN : public CBarcodeModular {
public:
    CBarcodeEAN()
    {
        m_barHeight = 22850;
        m_module = 330;
    }
    bool IsEAN() const override { return true; }
    int GetModuleChoiceKinds() const override { return 2; }
    int GetHeightChoiceKinds() const override { return 2; }
    int GetTruncation() const override { return m_truncation; }
    void SetTruncation(int v) override { m_truncation = int16_t(v); }
    int32_t GetHeight(const BarcodeHost& host, std::string_view text, int resolution) const override;
    bool CanEncode(std::string_view text) const override { return barcodes::EanCanEncode(Kind(), text); }
    // Micrometres.
    int32_t GetNominalBarHeight() const;
    // 0 = number set A, 1 = set B of a left-half digit position (1..6).
    int GetParity(int position, int firstDigit) const { return barcodes::EanParity(position, firstDigit); }

    std::optional<barcodes::LinearLayout> Layout(std::string_view text, int resAlong, int resAcross) const override;

protected:
    virtual barcodes::EanKind Kind() const = 0;
    int32_t WidthToUm(int64_t pixels, int resolution) const override;
    // Short bars px(nominal height); guard bars 5 modules longer.
    void BarHeights(int resAcross, int64_t& shortBars, int64_t& longBars) const override;
    void DrawHumanReadable(const BarcodeHost& host, CDC& dc, const barcodes::LinearLayout& layout, int quiet,
                           int64_t h, int x, int y, int labelNumber, std::string_view text) const override;

    int16_t m_truncation = 0;
};

class CBarcodeEAN13 : public CBarcodeEAN {
public:
    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeEAN13>(*this); }
    int16_t GetTypeKey() const override { return kKeyEAN13; }
    std::string GetName() const override { return "EAN 13"; }
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;

protected:
    barcodes::EanKind Kind() const override { return barcodes::EanKind::EAN13; }
};

class CBarcodeUPCA : public CBarcodeEAN13 {
public:
    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeUPCA>(*this); }
    int16_t GetTypeKey() const override { return kKeyUPCA; }
    std::string GetName() const override { return "UPCA"; }

protected:
    barcodes::EanKind Kind() const override { return barcodes::EanKind::UPCA; }
};

class CBarcodeEAN8 : public CBarcodeEAN13 {
public:
    std::unique_ptr<CBarcode> Clone() const override { return std::make_unique<CBarcodeEAN8>(*this); }
    int16_t GetTypeKey() const override { return kKeyEAN8; }
    std::string GetName() const override { return "EAN 8"; }
    // EAN 8 stores only the modular part.
    bool Load(RecordReader& reader) override { return CBarcodeModular::Load(reader); }
    void Save(RecordWriter& writer) const override { CBarcodeModular::Save(writer); }

protected:
    barcodes::EanKind Kind() const override { return barcodes::EanKind::EAN8; }
};

// Pixels at resolution `to` of `v` pixels at resolution `from`, rounded
// (v itself when either is not positive).
int64_t ScalePixels(int64_t v, int from, int to);
// The resolutions (along, across the symbol) a host lays its symbol out at
// for a device of resX x resY turned by the host's rotation.
void LayoutResolutions(const BarcodeHost& host, int resX, int resY, int& along, int& across);

// A new symbology of a type key with its defaults; null for an unknown key.
std::unique_ptr<CBarcode> CreateBarcode(int16_t key);
// A new symbology by its name (compared ignoring case); null when unknown.
std::unique_ptr<CBarcode> CreateBarcodeByName(std::string_view name);
// Reads a symbology record stored after its type key `key`. Null when the
// key is unknown (the reader is marked damaged) or the record incomplete.
std::unique_ptr<CBarcode> ReadBarcode(RecordReader& reader, int16_t key);
