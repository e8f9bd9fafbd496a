#pragma once
// One label design of a project: the objects of its three areas (0 the
// label, 1 the header, 2 the footer) with their undo and redo histories,
// the label definition it is printed on, guide lines, lock and password,
// print options, the guide table of the template guide, per-area zoom and
// the module-marking job with its own history.
//
// Stored as the template record, inside a project file or as a ".tpe" file
// of its own.
#include "content/objects/collection.h"
#include "document/label/labelfile.h"
#include "document/modulemarking/modulemarkingjob.h"
#include "document/template/helplines.h"
#include "document/template/snapshothistory.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Template record magics.
constexpr uint32_t kTemplateMagic = 0x1557779Au;
constexpr uint32_t kTemplateMagicEarliest = 0x15577790u; // ..0x15577799
constexpr uint32_t kTemplateMagicLatest = 0x15577799u;
constexpr uint32_t kTemplateMagicOldest = 0x00590412u;   // no flags word

// Flag bits of the template record: each names an optional block.
enum TemplateFlag : uint32_t {
    kTplSortVertical = 0x0001,
    kTplRepeat = 0x0002,
    kTplReservedOption = 0x0004,
    kTplFieldContours = 0x0008,
    kTplNoBlock = 0x0010,
    kTplCompensation = 0x0020,
    kTplHeaderFooter = 0x0040,
    kTplPrinterNames = 0x0080,
    kTplGuideTable = 0x0100,
    kTplSets = 0x0400,
    kTplBorders = 0x0800,
    kTplPageBreak = 0x1000,
    kTplZoom = 0x2000,
    kTplModuleMarking = 0x4000,
};

constexpr int kTemplateAreas = 3;
constexpr size_t kTemplateHistoryDepth = 32;
constexpr size_t kTemplatePasswordLength = 32;
constexpr int kGuideRows = 10;
constexpr int kGuideColumnsPerRow = 3;
constexpr size_t kGuideDelimiterField = 11;
// Zooms the design view can show; others are not applied.
constexpr int32_t kTemplateMinZoom = 25;
constexpr int32_t kTemplateMaxZoom = 800;

// The guide table of one area: text rows of up to three table columns
// (-1 none, 0..25 column A..Z) joined by a delimiter.
struct TemplateGuideTable {
    std::array<std::array<int32_t, kGuideColumnsPerRow>, kGuideRows> columns;
    std::array<std::string, kGuideRows> delimiters; // at most 10 bytes each
    TemplateGuideTable() { Clear(); }
    void Clear();
    friend bool operator==(const TemplateGuideTable&, const TemplateGuideTable&) = default;
};

class CTemplate {
public:
    using AreaHistory = SnapshotHistory<CGraphCollection, kTemplateHistoryDepth>;
    using MarkerHistory = SnapshotHistory<CModuleMarkingJob, kTemplateHistoryDepth>;

    CTemplate();
    ~CTemplate();
    CTemplate(const CTemplate&) = delete;
    CTemplate& operator=(const CTemplate&) = delete;

    // --- record and files ---------------------------------------------------
    // Reads a template record into this template. False when the record is
    // not a template record or is damaged or cut short (the reader tells
    // which); the fields and objects read whole before the fault stay, and
    // no field is ever set from a read that failed. `begun` (when given)
    // tells whether the record's magic was read, so that something of the
    // record may be in the template.
    bool Read(RecordReader& reader, const LabelReadOptions& options = {}, bool* begun = nullptr);
    // The same, all or nothing: a record that is not read whole leaves the
    // template exactly as it was.
    bool ReadWhole(RecordReader& reader, const LabelReadOptions& options = {});
    // Writes the template record; a template without a label definition is
    // given an article-number definition first. False when something could
    // not be stored (the writer is then marked failed).
    bool Write(RecordWriter& writer, bool inProject);
    // Loads a ".tpe" file, all or nothing (ReadWhole); failures are shown to
    // the user.
    bool LoadFile(const std::string& path);
    // Saves a ".tpe" file atomically: a failed save leaves any old file as it
    // was, is shown to the user and answers false.
    bool SaveFile(const std::string& path);
    // Reads a ".label" file as the template's label definition. A file that
    // is not a label definition file answers false and changes nothing; so
    // does one that cannot be read (the user is told).
    bool LoadLabelFile(const std::string& path);

    // --- label definition ---------------------------------------------------
    CLabel* GetLabel() const { return m_label.get(); }
    // Replaces the definition (null deletes it).
    void SetLabel(std::unique_ptr<CLabel> label) { m_label = std::move(label); }
    bool ToggleModuleMarking();
    void PrepareLabelFile();
    bool ApplyJobRowToLabel();
    int32_t GetCurrentModuleLength() const;

    // --- areas and history ----------------------------------------------------
    // Null for an area above 2.
    CGraphCollection* GetArea(int area) const;
    // Replaces an area's collection (null is ignored); answers the old one.
    std::unique_ptr<CGraphCollection> ReplaceArea(int area, std::unique_ptr<CGraphCollection> collection);
    AreaHistory* GetUndoHistory(int area);
    AreaHistory* GetRedoHistory(int area);
    const AreaHistory* GetUndoHistory(int area) const;
    const AreaHistory* GetRedoHistory(int area) const;
    MarkerHistory& GetMarkerUndo() { return m_markerUndo; }
    MarkerHistory& GetMarkerRedo() { return m_markerRedo; }
    const MarkerHistory& GetMarkerUndo() const { return m_markerUndo; }
    const MarkerHistory& GetMarkerRedo() const { return m_markerRedo; }

    // Pushes a snapshot of the area, and one of the module-marking job with
    // it, so one undo restores both; nothing when locked or for an area
    // above 2.
    void SaveUndoState(int area, bool clearRedo);
    void SaveUndoStateWithJob(int area);
    // Slots an undo push of the area keeps: 0 for an area above 2.
    int GetUndoDepth(int area) const;
    void ClearRedo();
    void FreeHistory();
    // Recomputes the bounds of the three areas.
    void RefreshLayers();
    // Takes the other template's design (see the implementation for the
    // list); the redo histories end empty.
    void CopyFrom(const CTemplate& other);

    // --- settings ----------------------------------------------------------------
    const std::string& GetPrinterDevice() const { return m_printerDevice; }
    const std::string& GetPrinterDriver() const { return m_printerDriver; }
    const std::string& GetPrinterPort() const { return m_printerPort; }
    // Each name keeps at most 80 characters.
    void SetPrinterNames(const std::string& device, const std::string& driver, const std::string& port);

    CHelpLines& GetHelpLines() { return m_helpLines; }
    const CHelpLines& GetHelpLines() const { return m_helpLines; }

    bool IsLocked() const { return m_locked; }
    void SetLocked(bool on) { m_locked = on; }
    const std::string& GetPassword() const { return m_password; }
    // At most 32 characters are kept.
    void SetPassword(const std::string& password);

    bool IsSortVertical() const { return m_sortVertical; }
    void SetSortVertical(bool on) { m_sortVertical = on; }
    int16_t GetRepeat() const { return m_repeat; }
    void SetRepeat(int16_t n) { m_repeat = n; }
    int32_t GetSets() const { return m_sets; }
    void SetSets(int32_t n) { m_sets = n; }
    bool IsPageBreakOnNewSet() const { return m_pageBreakOnNewSet; }
    void SetPageBreakOnNewSet(bool on) { m_pageBreakOnNewSet = on; }
    uint8_t GetReservedOption(int i) const { return i == 0 ? m_reservedOption0 : m_reservedOption1; }
    bool IsFieldContours() const { return m_fieldContours; }
    void SetFieldContours(bool on) { m_fieldContours = on; }
    int32_t GetLeftCompensation() const { return m_leftCompensation; }
    int32_t GetTopCompensation() const { return m_topCompensation; }
    void SetCompensation(int32_t left, int32_t top)
    {
        m_leftCompensation = left;
        m_topCompensation = top;
    }

    // Null for an area above 2.
    TemplateGuideTable* GetGuideTable(int area);
    const TemplateGuideTable* GetGuideTable(int area) const;

    bool IsPrintLabelBorders() const { return m_printLabelBorders; }
    void SetPrintLabelBorders(bool on) { m_printLabelBorders = on; }
    int32_t GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(int32_t rgb) { m_borderColor = rgb; }
    int32_t GetBorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int32_t um) { m_borderWidth = um; }
    bool GetBorderOption() const { return m_borderOption; }
    void SetBorderOption(bool on) { m_borderOption = on; }

    // Percent, -1 when none; -1 for an area above 2.
    int32_t GetZoom(int area) const;
    // Percentages outside 25..800 and areas above 2 are ignored.
    void SetZoom(int area, int32_t percent);

    CModuleMarkingJob& GetJob() { return m_job; }
    const CModuleMarkingJob& GetJob() const { return m_job; }

private:
    static bool ValidArea(int area) { return area >= 0 && area < kTemplateAreas; }
    bool ReadRecord(RecordReader& reader, const LabelReadOptions& options, uint32_t& flags, bool& begun);
    void ReadOptionBlocks(RecordReader& reader, uint32_t flags);
    // Every setting the record carries or keeps (no areas, histories or
    // label definition).
    void CopyRecordOptions(const CTemplate& from);
    void ReadGuideTables(RecordReader& reader);
    void WriteGuideTables(RecordWriter& writer) const;
    bool ReadArea(RecordReader& reader, int area);
    void WritePassword(RecordWriter& writer) const;
    bool ReadPassword(RecordReader& reader);

    std::array<std::unique_ptr<CGraphCollection>, kTemplateAreas> m_areas;
    std::array<AreaHistory, kTemplateAreas> m_undo;
    std::array<AreaHistory, kTemplateAreas> m_redo;
    std::unique_ptr<CLabel> m_label;
    std::string m_printerDevice;
    std::string m_printerDriver;
    std::string m_printerPort;
    CHelpLines m_helpLines;
    bool m_locked = false;
    std::string m_password;
    bool m_sortVertical = false;
    int16_t m_repeat = 1;
    int32_t m_sets = 1;
    bool m_pageBreakOnNewSet = true;
    uint8_t m_reservedOption0 = 1;
    uint8_t m_reservedOption1 = 1;
    bool m_fieldContours = true;
    int32_t m_leftCompensation = 0;
    int32_t m_topCompensation = 0;
    std::array<TemplateGuideTable, kTemplateAreas> m_guide;
    bool m_printLabelBorders = false;
    int32_t m_borderColor = 0;
    int32_t m_borderWidth = 0;
    bool m_borderOption = false;
    std::array<int32_t, kTemplateAreas> m_zoom{-1, -1, -1};
    CModuleMarkingJob m_job;
    MarkerHistory m_markerUndo;
    MarkerHistory m_markerRedo;
};
