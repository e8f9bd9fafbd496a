#pragma once
// The base of every graphic object of a label, and the boxed base.
//
// Positions and sizes are micrometres relative to the origin of the area
// that holds the object; device work converts them with the working
// resolution (zoom x LOGPIXELS, see platform/units.h).
#include "content/objects/marker.h"
#include "content/objects/tracking.h"
#include "content/tables/drawcontext.h"
#include "platform/dc.h"
#include "platform/record.h"
#include "platform/windef.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataTableBase;
class CDataTableMap;

// The arguments of Draw and DrawOverlay: the device and where on it, and
// (as its DrawContext) what is drawn, which goes on to text parts,
// symbologies and pictures.
struct DrawArgs : DrawContext {
    CDC* dc = nullptr;
    int zoom = 100;                        // percent
    int offsetX = 0;                       // device pixels added to every coordinate
    int offsetY = 0;
    bool frame = false;                    // design-time frame of texts, barcodes, images
    int cutResX = -1;                      // barcode cut check resolution; negative = off
    int cutResY = -1;
};

// Type keys written before each stored object.
enum GraphTypeKey : int16_t {
    kKeyEllipse = 131,
    kKeyRectRounded = 132,
    kKeyRect = 151,
    kKeyText = 152,
    kKeyLine = 153,
    kKeyTriangle = 155,
    kKeyTriangleExt = 156,
    kKeyBarcode = 159,
    kKeyImage = 161,
    kKeyImageExt = 169,
    kKeyCollection = 175,
    kKeyGroup = 185,
    kKeyImageExtExt = 189,
    kKeyTextExt = 252,
    kKeyOLE1 = 999,
};

// Handle codes: 0..7 clockwise from the top-left corner, 8 and 9 the ends
// of a line, -1 none.
enum HandleCode : int {
    kHandleNone = -1,
    kHandleTopLeft = 0,
    kHandleTop = 1,
    kHandleTopRight = 2,
    kHandleRight = 3,
    kHandleBottomRight = 4,
    kHandleBottom = 5,
    kHandleBottomLeft = 6,
    kHandleLeft = 7,
    kHandleLineStart = 8,
    kHandleLineEnd = 9,
};

// Pixels either side of a handle centre that still hit it, and the half
// size of the drawn handle square (7 x 7 pixels).
constexpr int kHandleTolerance = 3;

// The four sides of a device box, right and bottom edges included, with the
// device context's pen.
void DrawBoxOutline(CDC& dc, const RECT& box);

class CGraphObject {
public:
    CGraphObject() = default;
    CGraphObject(const CGraphObject& other);
    CGraphObject& operator=(const CGraphObject&) = delete;
    virtual ~CGraphObject();

    // --- operations in their order ---------------------------------------
    virtual bool CopyToClipboard() { return false; }
    virtual bool IsBarcode() const { return false; }
    virtual bool GetDateComponent(int& /*out*/) const { return false; }
    virtual void SetDateComponent(int /*v*/) {}
    virtual bool GetDateOffset(int& /*out*/) const { return false; }
    virtual void SetDateOffset(int /*v*/) {}
    virtual bool GetSourceColumnIndex(int /*which*/, int& /*out*/) const { return false; }
    virtual void SetSourceColumnIndex(int /*which*/, int /*v*/) {}
    virtual bool GetSourceLines(std::vector<std::string>& /*lines*/) const { return false; }
    virtual void SetSourceLines(const std::vector<std::string>& /*lines*/) {}
    virtual bool IsCenteredVertically() const { return false; }
    virtual bool GetCenterVertical(int& /*out*/) const { return false; }
    virtual void SetCenterVertical(bool /*on*/) {}
    virtual void SetCenterVerticalMode(int /*mode*/) {}
    virtual bool GetAutoSizeValue(int& /*out*/) const { return false; }
    virtual void SetAutoSizeValue(int /*v*/) {}
    virtual int32_t GetX() const { return m_x; }
    virtual int32_t GetY() const { return m_y; }
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    virtual void SetX(int32_t v) { m_x = v; }
    virtual void SetY(int32_t v) { m_y = v; }
    virtual void SetWidth(int32_t v) = 0;
    virtual void SetHeight(int32_t v) = 0;
    virtual bool IsTextObject() const { return false; }
    virtual int GetSourceKind() const { return -1; }
    virtual void SetSourceKind(int /*kind*/) {}
    virtual bool HasAlignment() const { return false; }
    virtual bool GetAlignment(int& /*out*/) const { return false; }
    virtual void SetAlignment(int /*v*/) {}
    // Opens the object's own content dialog through Ui(); true when changed.
    virtual bool EditContent() { return false; }
    virtual bool HasEditContent() const { return false; }
    virtual bool UsesColumn(int /*index*/) const { return false; }
    virtual int32_t GetPenWidth() const { return m_penWidth; }
    virtual void SetPenWidth(int32_t v) { m_penWidth = v; }
    virtual int GetImageSourceMode() const { return -1; }
    virtual void SetImageSourceMode(int /*v*/) {}
    virtual void SetStretch(bool /*on*/) {}
    virtual bool GetStretch() const { return false; }
    virtual void SetCentered(bool /*on*/) {}
    virtual bool GetCentered() const { return false; }
    // Size of a gesture's tracking outline (CMarker::GetSize), 0 without one.
    virtual int GetTrackingSize(const ObjectTracking& tracking) const;
    virtual bool IsGroup() const { return false; }
    virtual bool IsImage() const { return false; }
    virtual bool IsText() const { return false; }
    virtual bool GetLogFont(LOGFONTA& /*out*/) const { return false; }
    virtual void SetLogFont(const LOGFONTA& /*font*/) {}
    virtual bool SetCenter(int axis, int32_t v) = 0;
    virtual int32_t GetCenter(int axis) const = 0;
    virtual bool SetHeightChecked(int32_t /*v*/) { return false; }
    virtual bool SetWidthChecked(int32_t /*v*/) { return false; }
    virtual bool ResetToNaturalSize() { return false; }
    virtual bool HasImageOptions() const { return false; }
    virtual bool HasDataSource() const { return false; }
    virtual bool HasBorder() const { return false; }
    virtual void BeginCreate(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const;
    virtual std::unique_ptr<CGraphObject> Clone() const = 0;
    virtual void GetCenterPoint(int32_t& x, int32_t& y) const = 0;
    virtual int32_t GetLeft() const = 0;
    virtual int32_t GetTop() const = 0;
    virtual int32_t GetRight() const = 0;
    virtual int32_t GetBottom() const = 0;
    virtual void SetLeft(int32_t v) = 0;
    virtual void SetTop(int32_t v) = 0;
    virtual void SetRight(int32_t v) = 0;
    virtual void SetBottom(int32_t v) = 0;
    virtual int32_t GetExtentX() const = 0;
    virtual int32_t GetExtentY() const = 0;
    virtual bool IsFixedText() const { return false; }
    virtual bool PtInObject(CDC& dc, int zoom, int x, int y) const = 0;
    virtual int HitTestHandle(CDC& dc, int zoom, int x, int y) const = 0;
    virtual bool IsInsideRect(CDC& dc, int zoom, const RECT& rect) const = 0;
    // Reads this object's record (after its type key); false when the record
    // was incomplete or damaged (see reader.status()).
    virtual bool Load(RecordReader& reader);
    virtual void Save(RecordWriter& writer) const;
    // Tracking: the gesture's share for this object holds the state; only
    // the end operations change the object.
    virtual void BeginMove(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const;
    virtual void TrackMove(ObjectTracking& tracking, CDC& dc, int x, int y) const;
    virtual void EndMove(ObjectTracking& tracking, CDC& dc, int x, int y);
    virtual void CancelTracking(ObjectTracking& tracking, CDC& dc) const;
    virtual void Offset(int32_t dx, int32_t dy);
    virtual void Rotate90(int32_t cx, int32_t cy, int direction) = 0;
    virtual bool IsOnHandle(CDC& dc, int zoom, int x, int y) const = 0;
    virtual void BeginResize(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const;
    // flags: MK_SHIFT keeps proportions, MK_CONTROL tracks symmetrically.
    virtual void TrackResize(ObjectTracking& tracking, CDC& dc, int x, int y, int flags) const;
    virtual void EndResize(ObjectTracking& tracking, CDC& dc);
    virtual void SetSelected(bool on) { m_selected = on; }
    // Handles of the object drawn at the zoom (area origin at 0, 0).
    virtual void DrawHandlesIfSelected(CDC& dc, int zoom) const;
    // Drawing changes nothing in the object.
    virtual bool Draw(const DrawArgs& args) const = 0;
    virtual bool DrawOverlay(const DrawArgs& /*args*/) const { return true; }
    // The device box for a drawing at the zoom and offsets, computed afresh.
    virtual RECT CalcDeviceRect(CDC& dc, int zoom, int offsetX, int offsetY) const;
    virtual std::unique_ptr<CMarker> CreateMarker(int x, int y, int penStyle) const = 0;
    virtual int GetAspectPercent() const = 0;
    virtual void DrawHandles(CDC& dc, int zoom) const = 0;
    virtual int16_t GetTypeKey() const = 0;
    virtual bool IsBold() const { return false; }
    virtual bool IsUnderline() const { return false; }
    virtual bool IsItalic() const { return false; }
    virtual void SetBold(bool /*on*/) {}
    virtual void SetUnderline(bool /*on*/) {}
    virtual void SetItalic(bool /*on*/) {}
    virtual bool HasImageFile() const { return false; }
    virtual bool SetImageFile(const std::string& /*path*/) { return false; }
    virtual void SetFaceName(const std::string& /*name*/) {}
    virtual int GetSourceType() const { return -1; }
    virtual void SetSourceType(int /*v*/) {}
    virtual void SetTextColor(COLORREF /*c*/) {}
    virtual COLORREF GetTextColor() const { return 0; }
    virtual bool HasTextColor() const { return false; }
    virtual void SetBorderColor(COLORREF /*c*/) {}
    virtual COLORREF GetBorderColor() const { return 0; }
    virtual void SetFillColor(COLORREF /*c*/) {}
    virtual COLORREF GetFillColor() const { return 0; }
    virtual bool HasFill() const { return false; }
    virtual bool GetSourceColumnText(std::string& /*out*/) const { return false; }
    virtual void SetSourceColumnText(const std::string& /*text*/) {}
    virtual bool HasTableSource() const { return false; }
    virtual bool HasImageTableSource() const { return false; }
    virtual void SetText(const std::string& /*text*/) {}
    virtual bool GetTransparent() const { return false; }
    virtual void SetTransparent(bool /*on*/) {}
    virtual bool HasTransparency() const { return false; }
    // Barcode properties.
    virtual bool GetSymbologyName(std::string& /*out*/) const { return false; }
    virtual void SetSymbologyName(const std::string& /*name*/) {}
    virtual int32_t GetModule() const { return -1; }
    virtual bool GetModuleText(std::string& /*out*/) const { return false; }
    virtual void SetModule(int32_t /*v*/) {}
    virtual int GetModulePercent() const { return -1; }
    virtual bool GetModulePercentText(std::string& /*out*/) const { return false; }
    virtual void SetModulePercent(int /*v*/) {}
    virtual int32_t GetBarHeight() const { return -1; }
    virtual bool GetBarHeightText(std::string& /*out*/) const { return false; }
    virtual void SetBarHeight(int32_t /*v*/) {}
    virtual int GetHeightPercent() const { return -1; }
    virtual bool GetHeightPercentText(std::string& /*out*/) const { return false; }
    virtual void SetHeightPercent(int /*v*/) {}
    virtual bool GetRatioText(std::string& /*out*/) const { return false; }
    virtual void SetRatioText(const std::string& /*text*/) {}
    virtual bool GetGapCorrectionText(std::string& /*out*/) const { return false; }
    virtual void SetGapCorrectionText(const std::string& /*text*/) {}
    virtual bool GetQrVersionText(std::string& /*out*/) const { return false; }
    virtual void SetQrVersionText(const std::string& /*text*/) {}
    virtual bool GetQrEccLevelText(std::string& /*out*/) const { return false; }
    virtual void SetQrEccLevelText(const std::string& /*text*/) {}
    virtual bool GetQrEncodingName(std::string& /*out*/) const { return false; }
    virtual void SetQrEncodingName(const std::string& /*name*/) {}
    virtual bool GetQrMarginText(std::string& /*out*/) const { return false; }
    virtual void SetQrMarginText(const std::string& /*text*/) {}
    virtual bool GetCheckDigit() const { return false; }
    virtual void SetCheckDigit(bool /*on*/) {}
    virtual bool HasCheckDigitOption() const { return false; }
    virtual bool GetShowText() const { return false; }
    virtual void SetShowText(bool /*on*/) {}
    virtual bool HasShowTextOption() const { return false; }
    virtual bool GetShowCheckDigit() const { return false; }
    virtual void SetShowCheckDigit(bool /*on*/) {}
    virtual bool HasShowCheckDigitOption() const { return false; }
    // Counter properties.
    virtual bool GetCounterPrefix(std::string& /*out*/) const { return false; }
    virtual void SetCounterPrefix(const std::string& /*text*/) {}
    virtual bool GetCounterStartText(std::string& /*out*/) const { return false; }
    virtual void SetCounterStartText(const std::string& /*text*/) {}
    virtual bool GetCounterSuffix(std::string& /*out*/) const { return false; }
    virtual void SetCounterSuffix(const std::string& /*text*/) {}
    virtual bool GetCounterLeadingZeros() const { return false; }
    virtual bool HasCounterOptions() const { return false; }
    virtual void SetCounterLeadingZeros(bool /*on*/) {}
    virtual bool GetCounterWidthText(std::string& /*out*/) const { return false; }
    virtual void SetCounterWidthText(const std::string& /*text*/) {}
    // Separator properties.
    virtual bool GetSeparatorName(std::string& /*out*/) const { return false; }
    virtual void SetSeparatorName(const std::string& /*name*/) {}
    virtual bool GetAlwaysSeparate() const { return false; }
    virtual bool HasSeparatorOptions() const { return false; }
    virtual void SetAlwaysSeparate(bool /*on*/) {}
    // Date properties.
    virtual bool GetDateComponentName(std::string& /*out*/) const { return false; }
    virtual void SetDateComponentName(const std::string& /*name*/) {}
    virtual bool HasDateComponent() const { return false; }
    virtual bool HasDateOffset() const { return false; }
    virtual bool GetDateOffsetText(std::string& /*out*/) const { return false; }
    virtual void SetDateOffsetText(const std::string& /*text*/) {}
    // Shapes.
    virtual int32_t GetCornerRadius() const { return -1; }
    virtual void SetCornerRadius(int32_t /*v*/) {}
    virtual bool GetWarningSign() const { return false; }
    virtual bool HasWarningSign() const { return false; }
    virtual void SetWarningSign(bool /*on*/) {}
    // Texts.
    virtual bool HasAutoSize() const { return false; }
    virtual bool GetAutoSize() const { return false; }
    virtual void SetAutoSize(bool /*on*/) {}
    virtual bool HasCenterVertical() const { return false; }
    virtual void AdvanceCounter(int /*n*/) {}
    virtual bool IsCounter() const { return false; }
    virtual bool IsEAN() const { return false; }
    virtual bool GetFontChecked(LOGFONTA& /*out*/) const { return false; }
    virtual void SetFontRaw(const LOGFONTA& /*font*/) {}
    virtual void SetCharSet(int /*v*/) {}
    virtual int GetCharSet() const { return 1; }
    virtual bool HasCharSet() const { return false; }
    virtual int GetModuleChoiceKinds() const { return 0; }
    virtual int GetHeightChoiceKinds() const { return 0; }
    virtual void ScaleHorizontally(int32_t /*from*/, int32_t /*to*/, int32_t /*delta*/) {}
    virtual bool HasTableFlag() const { return false; }
    virtual void SetTableFlag(bool /*on*/) {}
    virtual bool GetTableFlag() const { return false; }

    // --- non-virtual state access -----------------------------------------
    bool IsSelected() const { return m_selected; }

    // Working resolution for drawing, hit testing, moving and resizing.
    static Resolution ComputeResolution(CDC& dc, int zoom);
    // Truncated resolution used when creating an object.
    static Resolution ComputeCreateResolution(CDC& dc, int zoom);

protected:
    // Erases and deletes the tracking outline of a gesture, if any.
    static void DestroyMarker(ObjectTracking& tracking, CDC& dc);

    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_penWidth = 1000;
    bool m_selected = false;
};

// Base of every object with a box.
class CGraph2Dim : public CGraphObject {
public:
    enum ResizeMode : int32_t { kResizeBoth = 0, kResizeWidth = 1, kResizeHeight = 2 };

    CGraph2Dim() = default;
    CGraph2Dim(const CGraph2Dim&) = default;

    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    void SetWidth(int32_t v) override { m_width = v; }
    void SetHeight(int32_t v) override { m_height = v; }
    bool SetCenter(int axis, int32_t v) override;
    int32_t GetCenter(int axis) const override;
    bool SetHeightChecked(int32_t v) override { SetHeight(v); return true; }
    bool SetWidthChecked(int32_t v) override { SetWidth(v); return true; }
    void BeginCreate(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const override;
    void GetCenterPoint(int32_t& x, int32_t& y) const override;
    int32_t GetLeft() const override { return m_x; }
    int32_t GetTop() const override { return m_y; }
    int32_t GetRight() const override;
    int32_t GetBottom() const override;
    void SetLeft(int32_t v) override { m_x = v; }
    void SetTop(int32_t v) override { m_y = v; }
    void SetRight(int32_t v) override;
    void SetBottom(int32_t v) override;
    int32_t GetExtentX() const override { return m_width; }
    int32_t GetExtentY() const override { return m_height; }
    bool PtInObject(CDC& dc, int zoom, int x, int y) const override;
    int HitTestHandle(CDC& dc, int zoom, int x, int y) const override;
    bool IsInsideRect(CDC& dc, int zoom, const RECT& rect) const override;
    void BeginMove(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const override;
    void EndMove(ObjectTracking& tracking, CDC& dc, int x, int y) override;
    void Rotate90(int32_t cx, int32_t cy, int direction) override;
    bool IsOnHandle(CDC& dc, int zoom, int x, int y) const override;
    void BeginResize(ObjectTracking& tracking, CDC& dc, int zoom, int x, int y) const override;
    void TrackResize(ObjectTracking& tracking, CDC& dc, int x, int y, int flags) const override;
    void EndResize(ObjectTracking& tracking, CDC& dc) override;
    RECT CalcDeviceRect(CDC& dc, int zoom, int offsetX, int offsetY) const override;
    std::unique_ptr<CMarker> CreateMarker(int x, int y, int penStyle) const override;
    int GetAspectPercent() const override;
    void DrawHandles(CDC& dc, int zoom) const override;
    void ScaleHorizontally(int32_t from, int32_t to, int32_t delta) override;

    // The device box of the object's box at a resolution and offsets.
    RECT DeviceBox(Resolution res, int offsetX, int offsetY) const;

protected:
    // The handle of `box` under a device point (first within tolerance in
    // code order), -1 when none.
    static int HandleAt(const RECT& box, int x, int y);
    // Centre of handle `code` of a device box.
    static POINT HandlePoint(const RECT& box, int code);

    int32_t m_width = 0;
    int32_t m_height = 0;
};
