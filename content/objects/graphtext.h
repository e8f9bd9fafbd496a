#pragma once
// Text objects: the text their text part gives for the label being drawn,
// in the object's box, with its font, colour, alignment and quarter-turn
// rotation. CGraphText is the first, one-line form; CGraphTextExt draws
// several lines, can centre them vertically and remembers the device font
// it last used in the design view.
#include "content/objects/shapes.h"
#include "content/textparts/text.h"

#include <memory>
#include <string>
#include <vector>

class CGraphText : public CGraphRect {
public:
    enum Alignment : uint8_t { kAlignDefault = 0, kAlignLeft = 1, kAlignCenter = 2, kAlignRight = 3 };

    CGraphText();
    CGraphText(const CGraphText& other);

    // Font size in points shown to the user, and the stored height of a size.
    static int PointsFromHeight(int32_t height);
    static int32_t HeightFromPoints(int points);

    bool IsTextObject() const override { return true; }
    bool IsText() const override { return true; }
    bool HasAlignment() const override { return true; }
    bool HasDataSource() const override { return true; }
    bool HasTextColor() const override { return true; }
    bool HasAutoSize() const override { return true; }
    bool HasCharSet() const override { return true; }
    bool HasTableSource() const override { return true; }
    bool GetAlignment(int& out) const override;
    void SetAlignment(int v) override;
    bool GetLogFont(LOGFONTA& out) const override;
    void SetLogFont(const LOGFONTA& font) override;
    bool GetFontChecked(LOGFONTA& out) const override;
    void SetFontRaw(const LOGFONTA& font) override { SetLogFont(font); }
    void SetFaceName(const std::string& name) override;
    bool IsBold() const override { return m_font.lfWeight == FW_BOLD; }
    bool IsItalic() const override { return m_font.lfItalic != 0; }
    bool IsUnderline() const override { return m_font.lfUnderline != 0; }
    void SetBold(bool on) override { m_font.lfWeight = on ? FW_BOLD : FW_NORMAL; }
    void SetItalic(bool on) override { m_font.lfItalic = on ? 1 : 0; }
    void SetUnderline(bool on) override { m_font.lfUnderline = on ? 1 : 0; }
    int GetCharSet() const override { return m_font.lfCharSet; }
    void SetCharSet(int v) override { m_font.lfCharSet = uint8_t(v); }
    void SetTextColor(COLORREF c) override { m_textColor = c; }
    COLORREF GetTextColor() const override { return m_textColor; }
    bool GetAutoSize() const override { return m_autoSize != 0; }
    void SetAutoSize(bool on) override { m_autoSize = on ? 1 : 0; }

    // The text part and what the object forwards to it.
    int GetSourceKind() const override;
    void SetSourceKind(int kind) override;
    int GetSourceType() const override { return GetSourceKind(); }
    void SetSourceType(int v) override { SetSourceKind(v); }
    bool GetDateComponent(int& out) const override;
    void SetDateComponent(int v) override;
    bool GetDateOffset(int& out) const override;
    void SetDateOffset(int v) override;
    bool GetSourceColumnIndex(int which, int& out) const override;
    void SetSourceColumnIndex(int which, int v) override;
    bool GetSourceLines(std::vector<std::string>& lines) const override;
    void SetSourceLines(const std::vector<std::string>& lines) override;
    bool UsesColumn(int index) const override;
    bool IsFixedText() const override;
    void SetText(const std::string& text) override;
    bool GetSourceColumnText(std::string& out) const override;
    void SetSourceColumnText(const std::string& text) override;
    void AdvanceCounter(int n) override;
    bool IsCounter() const override;
    bool HasTableFlag() const override;
    void SetTableFlag(bool on) override;
    bool GetTableFlag() const override;
    bool GetCounterPrefix(std::string& out) const override;
    void SetCounterPrefix(const std::string& text) override;
    bool GetCounterStartText(std::string& out) const override;
    void SetCounterStartText(const std::string& text) override;
    bool GetCounterSuffix(std::string& out) const override;
    void SetCounterSuffix(const std::string& text) override;
    bool GetCounterLeadingZeros() const override;
    bool HasCounterOptions() const override;
    void SetCounterLeadingZeros(bool on) override;
    bool GetCounterWidthText(std::string& out) const override;
    void SetCounterWidthText(const std::string& text) override;
    bool GetSeparatorName(std::string& out) const override;
    void SetSeparatorName(const std::string& name) override;
    bool GetAlwaysSeparate() const override;
    bool HasSeparatorOptions() const override;
    void SetAlwaysSeparate(bool on) override;
    bool GetDateComponentName(std::string& out) const override;
    void SetDateComponentName(const std::string& name) override;
    bool HasDateComponent() const override;
    bool HasDateOffset() const override;
    bool GetDateOffsetText(std::string& out) const override;
    void SetDateOffsetText(const std::string& text) override;

    void Rotate90(int32_t cx, int32_t cy, int direction) override;
    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    int16_t GetTypeKey() const override { return kKeyText; }
    bool Draw(const DrawArgs& args) const override;

    // Operations of the text family. `box` is the device box of the
    // drawing and `res` its resolution.
    virtual void DrawTextOverlay(const DrawArgs& /*args*/) const {}
    // The font as drawn on the device: height scaled to the resolution,
    // escapement from the rotation.
    virtual void GetDeviceLogFont(Resolution res, LOGFONTA& out) const;
    // The font the design view shows the object's own text with at the zoom
    // (for a multi-line text: reduced to fit as the drawing reduces it).
    virtual void GetDesignLogFont(CDC& dc, int zoom, LOGFONTA& out) const;
    // Dashed design-time frame around the device box.
    virtual void DrawFrame(CDC& dc, const RECT& box) const;
    // The lines of `text` in the box; `transparent` draws without the
    // background colour. Answers whether the font had to be reduced to fit.
    virtual bool DrawTextContent(CDC& dc, const RECT& box, Resolution res, int verticalOffset, int horizontalOffset,
                                 bool frame, bool transparent, const std::string& text, int flags) const;

    CText* TextPart() const { return m_textPart.get(); }
    void SetTextPart(std::unique_ptr<CText> part) { m_textPart = std::move(part); }
    int16_t GetRotation() const { return m_rotation; }
    void SetRotation(int16_t r) { m_rotation = r; }
    const LOGFONTA& Font() const { return m_font; }

protected:
    // The box's extent along and across the reading direction.
    void AlongAndAcross(const RECT& box, int32_t& along, int32_t& across) const;
    // Horizontal position and alignment flags of the lines.
    unsigned AlignmentFor(CDC& dc, int32_t along, int32_t& b) const;
    // Reads the fields after the rectangle's; false when cut short.
    bool LoadTextFields(RecordReader& reader);
    void SaveTextFields(RecordWriter& writer) const;
    // Clip rectangle inside the device box (left and top edge excluded).
    static RECT ClipRect(const RECT& box);
    // Clip (for turned text), background and text colour of a drawing;
    // answers the clip rectangle.
    RECT PrepareTextDrawing(CDC& dc, const RECT& box, bool transparent) const;
    static void DrawReductionMark(CDC& dc, const RECT& box);

    uint8_t m_alignment = kAlignCenter;
    uint8_t m_autoSize = 1;
    LOGFONTA m_font;
    int16_t m_rotation = 0;
    COLORREF m_textColor = 0;
    std::unique_ptr<CText> m_textPart;
};

class CGraphTextExt : public CGraphText {
public:
    static constexpr int16_t kCentred = 6;

    CGraphTextExt() = default;
    CGraphTextExt(const CGraphTextExt&) = default;

    bool HasCenterVertical() const override { return true; }
    bool IsCenteredVertically() const override { return m_centerVertical == kCentred; }
    bool GetCenterVertical(int& out) const override;
    void SetCenterVertical(bool on) override { m_centerVertical = on ? kCentred : 0; }
    void SetCenterVerticalMode(int mode) override { m_centerVertical = mode ? kCentred : 0; }
    bool GetAutoSizeValue(int& out) const override;
    void SetAutoSizeValue(int v) override { m_autoSize = v ? 1 : 0; }

    std::unique_ptr<CGraphObject> Clone() const override;
    bool Load(RecordReader& reader) override;
    void Save(RecordWriter& writer) const override;
    int16_t GetTypeKey() const override { return kKeyTextExt; }
    void GetDesignLogFont(CDC& dc, int zoom, LOGFONTA& out) const override;
    bool DrawTextContent(CDC& dc, const RECT& box, Resolution res, int verticalOffset, int horizontalOffset,
                         bool frame, bool transparent, const std::string& text, int flags) const override;

    // Sets the object up for text pasted from the clipboard: the font, a
    // fixed text, left alignment, and a box measured at 96 dots per inch.
    void InitFromClipboardText(const LOGFONTA& font, const std::string& text);

    // The font the lines are drawn with in `box` (reduced to fit when the
    // object sizes automatically), and the lines' widest extent plus a
    // blank (`need`) and total height (`height`) with it.
    LOGFONTA FittedFont(CDC& dc, const RECT& box, Resolution res, const std::vector<std::string>& lines,
                        int64_t& need, int64_t& height, bool& reduced) const;

private:
    int16_t m_centerVertical = kCentred;
};

// The mark of a text that does not fit (or a barcode that is cut): a pair
// of scissors in the device box, placed by the rotation.
void DrawCutMark(CDC& dc, const RECT& deviceRect, int rotation);

// The lines of a text as drawn: split at line feeds, each ending at its
// carriage return.
std::vector<std::string> SplitTextLines(const std::string& text);
