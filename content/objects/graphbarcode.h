#pragma once
// The barcode object: a text object whose text, taken from its text part,
// is drawn as a barcode by the symbology it owns. It keeps the text
// object's box, font (for the human-readable line), colours, alignment and
// rotation, and adds the symbology, the property texts the design
// interface shows and edits, and the check that stops printing when a QR
// code does not fit on its label.
#include "content/barcodes/barcode.h"
#include "content/barcodes/barcodehost.h"
#include "content/objects/graphtext.h"

class CGraphBarcode : public CGraphText {
public:
    CGraphBarcode();
    CGraphBarcode(const CGraphBarcode& other);

    std::unique_ptr<CGraphObject> Clone() const override;
    int16_t GetTypeKey() const override { return kKeyBarcode; }
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    bool Draw(const DrawArgs& args) const override;
    bool IsBarcode() const override { return true; }
    bool HasEditContent() const override { return true; }
    bool EditContent() override;
    bool GetLogFont(LOGFONTA& out) const override;
    void SetSourceType(int v) override;
    void SetSourceKind(int kind) override { SetSourceType(kind); }

    // Symbology and its properties.
    bool GetSymbologyName(std::string& out) const override;
    void SetSymbologyName(const std::string& name) override;
    int32_t GetModule() const override;
    bool GetModuleText(std::string& out) const override;
    // Micrometres (>= 0); for the EAN family a percentage 80..200.
    void SetModule(int32_t v) override;
    int GetModulePercent() const override;
    bool GetModulePercentText(std::string& out) const override;
    void SetModulePercent(int v) override;
    int32_t GetBarHeight() const override;
    bool GetBarHeightText(std::string& out) const override;
    // Micrometres (>= 0); for the EAN family a percentage 50..100.
    void SetBarHeight(int32_t v) override;
    int GetHeightPercent() const override;
    bool GetHeightPercentText(std::string& out) const override;
    void SetHeightPercent(int v) override;
    bool GetRatioText(std::string& out) const override;
    void SetRatioText(const std::string& text) override;
    bool GetGapCorrectionText(std::string& out) const override;
    void SetGapCorrectionText(const std::string& text) override;
    bool GetQrVersionText(std::string& out) const override;
    void SetQrVersionText(const std::string& text) override;
    bool GetQrEccLevelText(std::string& out) const override;
    void SetQrEccLevelText(const std::string& text) override;
    bool GetQrEncodingName(std::string& out) const override;
    void SetQrEncodingName(const std::string& name) override;
    bool GetQrMarginText(std::string& out) const override;
    void SetQrMarginText(const std::string& text) override;
    bool GetCheckDigit() const override { return m_symbology->GetCheckDigit(); }
    void SetCheckDigit(bool on) override { m_symbology->SetCheckDigit(on); }
    bool HasCheckDigitOption() const override { return m_symbology->HasCheckDigit(); }
    bool GetShowText() const override { return m_symbology->GetShowText(); }
    void SetShowText(bool on) override { m_symbology->SetShowText(on); }
    bool HasShowTextOption() const override { return m_symbology->HasShowText(); }
    bool GetShowCheckDigit() const override { return m_symbology->GetShowCheckDigit(); }
    void SetShowCheckDigit(bool on) override { m_symbology->SetShowCheckDigit(on); }
    bool HasShowCheckDigitOption() const override { return m_symbology->HasShowCheckDigit(); }
    bool IsEAN() const override { return m_symbology->IsEAN(); }
    int GetModuleChoiceKinds() const override { return m_symbology->GetModuleChoiceKinds(); }
    int GetHeightChoiceKinds() const override { return m_symbology->GetHeightChoiceKinds(); }
    bool HasCenterVertical() const override { return m_symbology->Is2D(); }
    bool IsCenteredVertically() const override { return m_symbology->IsCentred(); }
    bool GetCenterVertical(int& out) const override;
    void SetCenterVertical(bool on) override { m_symbology->SetCentred(on); }
    void SetCenterVerticalMode(int mode) override { m_symbology->SetCentring(mode != 0); }

    const CBarcode& Symbology() const { return *m_symbology; }
    CBarcode& Symbology() { return *m_symbology; }
    void SetSymbology(std::unique_ptr<CBarcode> symbology);
    bool Is2D() const { return m_symbology->Is2D(); }
    // The text the symbol carries on the context's label: the text part's
    // value, never the design view's placeholder.
    std::string SymbolText(const DrawContext& context) const;
    // Whether the symbol for `text` does not fit the object at the given
    // resolutions (micrometres compared; negative resolutions never cut).
    bool IsCut(const std::string& text, int resX, int resY) const;
    // Draws the human-readable line of a linear symbology with the object's
    // one-line text drawing in the device box `box`, `across` pixels down,
    // aligned with the symbol as the object's alignment places it; `along`
    // is the symbol's quiet zone in pixels.
    void DrawHumanReadableLine(CDC& dc, const RECT& box, Resolution res, int along, int across, bool frame,
                               const std::string& text, int flags) const;

private:
    // Fills the symbology's view of this object for a drawing.
    void FillHost(BarcodeHost& host, const RECT& box, Resolution res) const;

    std::unique_ptr<CBarcode> m_symbology;
};

// The message that stops a print run at a cut QR code.
extern const char* const kBarcodeCutCaption;
extern const char* const kBarcodeCutFormat;
