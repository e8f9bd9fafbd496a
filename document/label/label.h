#pragma once
// Label definitions: the stock a template is printed on.
//
// A family of classes, each a later revision that appends fields to its
// parent's stored record:
//   CLabel -> CLabelExt -> CLabelExtExt -> CLabelFile -> CLabelFileNew
//   -> CLabelFileNewArticleNo (the last three in labelfile.h).
// Lengths are micrometres; paper length and width are tenths of a
// millimetre. Operations that take a part act on the label for 0, on the
// header for 1 and on the footer for 2 (the header and footer exist from
// CLabelFileNew on).
#include "document/label/paper.h"
#include "platform/dc.h"
#include "platform/printersettings.h"
#include "platform/record.h"

#include <cstdint>
#include <memory>
#include <string>

// Type keys written ahead of a definition inside a template record.
enum LabelTypeKey : int16_t {
    kKeyLabelFileNewArticleNo = 135,
    kKeyLabelFileNew = 136,
    kKeyLabelExtExt = 138,
    kKeyLabelExt = 139,
    kKeyLabel = 140,
};

// Label shapes.
enum LabelShape : int { kShapeRectangle = 0, kShapeRounded = 1, kShapeEllipse = 2 };
// Paper orientations.
enum PaperOrientation : int { kPortrait = 1, kLandscape = 2 };

// How a definition is read.
struct LabelReadOptions {
    // Whether reading may show messages (through Ui()); off by default.
    bool messages = false;
    // The system whose stored printer settings may be applied.
    OsVersionInfo running = RunningOsVersion();
};

enum class LabelFileStatus { Ok, CannotOpen, NotALabelFile, Truncated, Damaged, CannotSave };

struct LabelFileResult {
    LabelFileStatus status = LabelFileStatus::Ok;
    std::string message; // for the user; empty when Ok
};

// Outline colour of label, header and footer.
constexpr COLORREF kLabelOutlineColor = 0x808080;

class CLabel {
public:
    CLabel();
    virtual ~CLabel() = default;
    CLabel& operator=(const CLabel&) = delete;

    virtual std::unique_ptr<CLabel> Clone() const;

    virtual int GetPaperLength() const { return 2970; }
    virtual int GetPaperWidth() const { return 2100; }
    virtual void SetPaperLength(int /*tenthsMm*/, bool /*mark*/) {}
    virtual void SetPaperWidth(int /*tenthsMm*/, bool /*mark*/) {}
    virtual bool GetPaperFlag() const { return false; }

    // The label at (xUm, yUm) from the origin (originXPx, originYPx), at
    // `ppi` pixels per inch on both axes (printing and the design view).
    virtual void DrawOutline(CDC& dc, int32_t ppi, int originXPx, int originYPx, int32_t xUm, int32_t yUm) const;

    virtual int32_t GetHeight(int part) const;
    virtual int32_t GetWidth(int part) const;
    virtual void SetHeight(int part, int32_t value);
    virtual void SetWidth(int part, int32_t value, bool mark);

    virtual int GetPrintPaperCode() const { return kPaperA4; }

    virtual bool IsModuleMarking() const { return false; }
    virtual int32_t GetStripWidth() const { return 0; }
    virtual bool SetStripWidth(int32_t /*value*/) { return false; }
    virtual bool ToggleModuleMarking() { return false; }

    virtual int GetOrientation() const { return kPortrait; }
    virtual void SetOrientation(int /*value*/) {}
    virtual bool HasPaperFormat() const { return false; }
    virtual int32_t GetPaperWidthUm() const { return 210000; }
    virtual int32_t GetPaperLengthUm() const { return 297000; }

    // The stored body (after any file header or type key). Reading without
    // `embedded` clears the file path. False when the data ended early or
    // made no sense (see reader.status()); the definition then holds what
    // was read so far.
    virtual bool Read(RecordReader& reader, bool embedded, const LabelReadOptions& options);
    // Writing clears the modified flag.
    virtual void Write(RecordWriter& writer, bool embedded);
    void WriteTagged(RecordWriter& writer);

    virtual void DrawPart(int part, CDC& dc, int zoom, int leftPx, int topPx) const;
    // The label at a zoom, its top-left corner at (leftPx, topPx).
    virtual void DrawPreviewOutline(CDC& dc, int zoom, int leftPx, int topPx) const;

    virtual int16_t GetTypeKey() const { return kKeyLabel; }

    virtual bool IsGapless() const;
    virtual bool IsColumnPitchEqualWidth() const { return m_width == m_columnPitch; }
    virtual bool IsRowPitchEqualHeight() const { return m_height == m_rowPitch; }
    virtual bool HasHeader() const { return false; }
    virtual bool HasFooter() const { return false; }

    virtual int32_t GetLeft(int part) const { return part == 0 ? m_left : 0; }
    virtual void SetLeft(int part, int32_t value);
    virtual int32_t GetTop(int part) const { return part == 0 ? m_top : 0; }
    virtual void SetTop(int part, int32_t value);

    virtual int GetPaperCode() const { return kPaperUser; }
    // The name of the paper ("User defined", a standard name, or the code
    // in decimal); false when the definition has no paper format.
    virtual bool GetPaperName(std::string& /*out*/) const { return false; }
    virtual bool SetPaperName(const std::string& /*name*/) { return false; }
    virtual void FitColumns() {}
    virtual void FitRows() {}

    virtual int GetShape(int /*part*/) const { return kShapeRectangle; }
    virtual void SetShape(int /*part*/, int /*shape*/) {}
    virtual int32_t GetRadius() const { return 0; }
    virtual void SetRadius(int32_t /*value*/) {}

    virtual bool SaveToFile(const std::string& /*path*/, LabelFileResult* /*result*/ = nullptr) { return false; }

    virtual std::string GetFamilyName() const;
    virtual bool GetPrinterNames(std::string& /*device*/, std::string& /*driver*/, std::string& /*port*/) const
    {
        return false;
    }
    virtual void ToggleMarkingType(uint32_t /*bits*/) {}
    virtual uint32_t GetMarkingTypes() const { return 0; }
    virtual void TogglePrinterType(uint32_t /*bits*/) {}
    virtual uint32_t GetPrinterTypes() const { return 0; }
    virtual void ToggleStorePrinter() {}
    virtual bool IsStorePrinter() const { return false; }
    virtual void ToggleStorePrinterSettings() {}
    virtual bool IsStorePrinterSettings() const { return false; }
    virtual void showDevModeInfo() const {}
    virtual bool IsLoaded() const { return false; }
    virtual void SetPaperCode(int /*code*/) {}
    virtual void DrawHeaderOutline(CDC& /*dc*/, int /*zoom*/, int /*leftPx*/, int /*topPx*/) const {}
    virtual void DrawFooterOutline(CDC& /*dc*/, int /*zoom*/, int /*leftPx*/, int /*topPx*/) const {}
    virtual bool LoadFromFile(const std::string& /*path*/, const LabelReadOptions& /*options*/,
                              LabelFileResult* /*result*/ = nullptr)
    {
        return false;
    }
    virtual bool HasArticleNumberPrefix(const std::string& /*text*/) const { return false; }
    virtual bool AddArticleNumber(const std::string& /*text*/) { return false; }
    virtual bool RemoveArticleNumber(const std::string& /*text*/) { return false; }
    virtual int GetArticleNumberCount() const { return 0; }
    virtual std::string GetArticleNumber(int /*index*/) const { return {}; }

    // --- plain members --------------------------------------------------
    // At most the first 32 characters are kept.
    void SetFamilyName(const std::string& name);
    bool IsModified() const { return m_modified; }
    void SetModified(bool on = true) { m_modified = on; }
    bool IsDefined() const { return m_defined != 0; }

    int32_t GetRowPitch() const { return m_rowPitch; }
    int32_t GetColumnPitch() const { return m_columnPitch; }
    int32_t GetColumns() const { return m_columns; }
    int32_t GetRows() const { return m_rows; }
    int32_t GetBlockSpace() const { return m_blockSpace; }
    int GetBlockCount() const { return m_blocks; }
    // Each setter marks the definition modified.
    void SetRowPitch(int32_t v);
    void SetColumnPitch(int32_t v);
    void SetColumns(int32_t v);
    void SetRows(int32_t v);
    void SetBlockSpace(int32_t v);
    void SetBlockCount(int v);
    // Labels on one sheet: columns x rows x vertical blocks (0 when any is
    // not positive), held at kMaxLabelsPerSheet.
    static constexpr int64_t kMaxLabelsPerSheet = int64_t(1) << 47;
    int64_t GetLabelsPerSheet() const;

    static PaperDimensions GetPaperDimensions(int code) { return PaperDimensionsForCode(code); }

protected:
    CLabel(const CLabel&) = default;

    bool ReadRecord(RecordReader& reader);
    void WriteRecord(RecordWriter& writer) const;
    // Sets the defined byte when both sizes are positive.
    void UpdateDefined();

    // The 106-byte record.
    uint8_t m_defined = 0;
    uint8_t m_familyLength = 0;
    char m_family[65] = {};
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_rowPitch = 0;
    int32_t m_columnPitch = 0;
    int32_t m_columns = 0;
    int32_t m_rows = 0;
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_blockSpace = 0;
    uint8_t m_paperFlag = 1;
    int16_t m_blocks = 1;

    bool m_modified = false;
};

class CLabelExt : public CLabel {
public:
    CLabelExt() = default;
    std::unique_ptr<CLabel> Clone() const override;

    void DrawOutline(CDC& dc, int32_t ppi, int originXPx, int originYPx, int32_t xUm, int32_t yUm) const override;
    void DrawPreviewOutline(CDC& dc, int zoom, int leftPx, int topPx) const override;
    bool Read(RecordReader& reader, bool embedded, const LabelReadOptions& options) override;
    void Write(RecordWriter& writer, bool embedded) override;
    int16_t GetTypeKey() const override { return kKeyLabelExt; }
    bool IsGapless() const override;
    int GetShape(int part) const override { return part == 0 ? int(m_shape) : int(kShapeRectangle); }
    void SetShape(int part, int shape) override;
    int32_t GetRadius() const override { return m_radius; }
    void SetRadius(int32_t value) override;

protected:
    CLabelExt(const CLabelExt&) = default;
    // Draws the shape into the device box (right and bottom inclusive).
    void DrawShape(CDC& dc, int leftPx, int topPx, int rightPx, int bottomPx, int cornerXPx, int cornerYPx) const;

    int16_t m_shape = kShapeRectangle;
    int32_t m_radius = 0;
};

class CLabelExtExt : public CLabelExt {
public:
    CLabelExtExt() = default;
    std::unique_ptr<CLabel> Clone() const override;

    int GetPaperLength() const override { return m_paperLength; }
    int GetPaperWidth() const override { return m_paperWidth; }
    void SetPaperLength(int tenthsMm, bool mark) override;
    void SetPaperWidth(int tenthsMm, bool mark) override;
    bool GetPaperFlag() const override { return m_paperFlag != 0; }
    int GetPrintPaperCode() const override { return m_paperCode; }
    int GetOrientation() const override { return m_orientation; }
    void SetOrientation(int value) override;
    bool HasPaperFormat() const override { return true; }
    int32_t GetPaperWidthUm() const override;
    int32_t GetPaperLengthUm() const override;
    bool Read(RecordReader& reader, bool embedded, const LabelReadOptions& options) override;
    void Write(RecordWriter& writer, bool embedded) override;
    int16_t GetTypeKey() const override { return kKeyLabelExtExt; }
    int GetPaperCode() const override { return m_paperCode; }
    bool GetPaperName(std::string& out) const override;
    bool SetPaperName(const std::string& name) override;
    void FitColumns() override;
    void FitRows() override;
    void SetPaperCode(int code) override;

    // The page size for the printer layer.
    QPageSize GetPageSize() const;

protected:
    CLabelExtExt(const CLabelExtExt&) = default;
    // The paper used for fitting, in um.
    PaperDimensions FittingPaper() const;

    int16_t m_orientation = kPortrait;
    int16_t m_paperCode = kPaperNone;
    int16_t m_paperLength = 600;
    int16_t m_paperWidth = 900;
};

// Names for the lists of the select-label dialog; empty outside their range.
std::string GetMarkingTypeName(int index);
std::string GetPrinterTypeName(int index);
std::string GetLabelFamilyFilterName(int index);

