#pragma once
// The project document: one open project with 256 template slots and 256
// table slots (each table with its filter, filtered copy, column and row
// maps and undo snapshots), the current template and table, the tab
// counts and labels, the default and table fonts, the character-set table
// and the stacked-layout bytes. Views change nothing themselves: every edit
// goes through a document operation.
//
// Files are chosen by extension (any case): ".proj" the project file,
// ".tbl" / ".tbf" table files, ".tpe" a template file, ".label" a label
// definition file.
#include "content/tables/datatable.h"
#include "content/tables/datatablefilter.h"
#include "document/frame/document.h"
#include "document/project/areadraw.h"
#include "document/print/printrun.h"
#include "document/template/template.h"
#include "platform/printersettings.h"
#include "platform/windef.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class RecordReader;
class RecordWriter;

constexpr int kDocSlots = 256;          // template slots and table slots
constexpr int kTableSnapshotSlots = 16; // table undo depth
constexpr int kCharSetCount = 19;
constexpr int kMaxProjectTemplates = 255;
constexpr int kNewDocumentTabs = 3;

// How reading a project ended.
enum class ProjectReadStatus {
    Ok,
    CannotOpen,   // the file could not be read at all
    NotAProject,  // the file does not begin with the project magic; nothing read
    Incompatible, // a newer format version or revision
    Corrupt,      // cut short or damaged; what came before stays read
};

class CVorteplanSoftLabelDoc : public CDocument {
public:
    CVorteplanSoftLabelDoc();
    ~CVorteplanSoftLabelDoc() override;

    const DocumentTypeInfo& GetDocumentType() const override;

    // --- protocol ---------------------------------------------------------------------
    bool OnNewDocument() override;
    // ".proj": the project file. A file that is not a project file, or one
    // of a newer version, is refused (false). A file that fails part-way keeps what was read in a
    // document without a path, so that Save asks for a name. ".tbl" and
    // ".tbf": a table file into the current table; the document keeps no
    // path either (Save would lose the templates), and a document opened
    // from a ".tbf" file takes a ".tbf" name it is saved under. Else false.
    bool OnOpenDocument(const QString& path) override;
    // Ends in-place edits of the table views, then SaveByExtension.
    bool OnSaveDocument(const QString& path) override;
    // Writes the file kind the extension names; true on success. Failures
    // are shown to the user.
    bool SaveByExtension(const QString& path);
    // ".proj" files hold the whole project; a ".tbf" file only when the
    // document was opened from one and still holds nothing but that table:
    // no other table has data and no template changed since it was opened.
    // A ".label", ".tpe" or other ".tbf" file is a copy of one part: the
    // document keeps its path, title, modified flag and undo states.
    bool SavesWholeDocument(const QString& path) const override;
    // Asks about every modified stored label definition of the templates
    // (Yes saves it, Cancel stops closing), then about the document.
    bool SaveModified() override;
    bool SaveAsPublic() { return DoSave(std::nullopt, true); }
    bool SavePublic() { return DoFileSave(); }

    // --- views --------------------------------------------------------------------------
    void InvalidateDesignViews() { InvalidateViews(ViewKind::Design); }
    void InvalidatePreviewViews() { InvalidateViews(ViewKind::Preview); }
    void InvalidateTableViews() { InvalidateViews(ViewKind::Table); }
    // After a template edit: modified, design and preview views repainted.
    void TemplateEdited();
    // After a change of table data: the same and the table views.
    void TableDataEdited();

    // --- templates --------------------------------------------------------------------
    CTemplate& GetTemplate(int slot); // slot clamped to 0..255
    CTemplate& GetCurrentTemplate() { return GetTemplate(m_currentTemplate); }
    int GetCurrentTemplateIndex() const { return m_currentTemplate; }
    void SetCurrentTemplate(int slot); // nothing outside 0..255
    int GetTemplateCount() const { return m_templateCount; }
    void SetTemplateCount(int count); // clamped to 0..256
    const std::string& GetTemplateName(int slot) const;
    void SetTemplateName(int slot, const std::string& name);

    // Lock of the current template (password: at most 32 characters).
    void LockTemplate(const std::string& password);
    void UnlockTemplate();
    std::string GetLockPassword() const;

    // --- tables -------------------------------------------------------------------------
    // Slots outside 0..255 answer null.
    CDataTableBase* GetTable(int slot) const;
    CDataTableFilter* GetFilter(int slot) const;
    CDataTableBase* GetFilteredTable(int slot) const;
    CDataTableMap* GetTableMap(int slot);
    CDataTableRowMap* GetRowMap(int slot);
    // Sets the filter and its filtered copy of a slot together (null: none).
    void SetFilter(int slot, std::unique_ptr<CDataTableFilter> filter, std::unique_ptr<CDataTableBase> filtered);
    // Undo snapshots of a table: i = 0..15.
    CDataTableBase* GetTableSnapshot(int slot, int i) const;
    CDataTableRowMap* GetRowMapSnapshot(int slot, int i) const;
    CDataTableBase* GetFilteredSnapshot(int slot, int i) const;
    void SetTableSnapshot(int slot, int i, std::unique_ptr<CDataTableBase> table,
                          std::unique_ptr<CDataTableRowMap> rowMap, std::unique_ptr<CDataTableBase> filtered);
    void DropTableSnapshots(int slot);
    bool IsTableUndoOn(int slot) const;
    void SetTableUndo(int slot, bool on);

    int GetCurrentTableIndex() const { return m_currentTable; }
    void SetCurrentTable(int slot); // nothing outside 0..255
    int GetTableCount() const { return m_tableCount; }
    void SetTableCount(int count); // clamped to 0..256
    const std::string& GetTableName(int slot) const;
    void SetTableName(int slot, const std::string& name);
    // While a table's filtered copy is in step with its full table (tied
    // to it by the row map: applying the filter, or TieFilteredCopy after a
    // read, sets it), cell writes into the copy reach the full table. Kept
    // per table; sorting the copy carries the row map along and stays in
    // step.
    bool IsFilterInStep(int slot) const { return validSlot(slot) && m_tables[size_t(slot)].inStep; }
    // Ties the filtered copy of a table just read (a project, a table
    // file) to its full table: each filtered row is matched to a full row
    // that shows the same texts, passing rows first, in order among equal
    // ones; rows that none matches are appended to the full table (see
    // writeFilteredCell) so that nothing shown is lost when the filter
    // runs again. The copy itself stays as read. Without an enabled filter
    // the row map is only cleared.
    void TieFilteredCopy(int slot);
    void SetFilterInStep(int slot, bool on)
    {
        if (validSlot(slot))
            m_tables[size_t(slot)].inStep = on;
    }
    // The column map of a table: with an enabled filter the shown columns in
    // order, else the identity.
    void RebuildColumnMap(int slot);

    // --- fonts and character sets -----------------------------------------------------
    const LOGFONTA& GetDefaultFont() const { return m_defaultFont; }
    LOGFONTA& DefaultFont() { return m_defaultFont; }
    const LOGFONTA& GetTableFont() const { return m_tableFont; }
    // The code of a character-set name; else the text as a decimal number
    // when that is 0..255; else 0.
    int GetCharSetFromName(std::string_view name) const;
    // The name of the first entry with that code; else the code in decimal.
    std::string GetCharSetName(int code) const;
    static std::string_view CharSetNameAt(int index); // index 0..18, else empty
    static int CharSetCodeAt(int index);              // index 0..18, else 0
    // The table font (the first table view's grid font when there is one)
    // gets the character set and goes to every table view's grid.
    void SetTableCharSet(int code);

    // "Default barcode" values of the settings store.
    std::string GetDefaultBarcodeType() const;
    std::string GetDefaultQrVersion() const;
    std::string GetDefaultQrEccLevel() const;
    std::string GetDefaultQrEncoding() const;
    std::string GetDefaultQrMargin() const;

    // === template edit operations (projectdoc_*.cpp) ===================================
    // Every operation acts on an area of the current template: 0 the label,
    // 1 the header, 2 the footer. An area above 2 makes it do nothing and
    // answer its empty result. A changing operation tests the selection,
    // compares with the current value, pushes an undo snapshot of the area
    // (the redo history is cleared), changes the model, sets the modified
    // flag and repaints the design and preview views. On a locked template
    // no operation changes the template.

    const CTemplate& GetCurrentTemplate() const { return m_templates[size_t(m_currentTemplate)]; }

    // --- selection and arrangement (projectdoc_arrange.cpp) ---------------------------
    // The gesture (the design view's) holds the tracking of the objects.
    void BeginMoveSelection(int area, CTracking& gesture, CDC& dc, int zoom, int x, int y);
    void TrackMoveSelection(int area, CTracking& gesture, CDC& dc, int x, int y);
    // The objects take their new places; a locked template only ends the
    // tracking.
    void EndMoveSelection(int area, CTracking& gesture, CDC& dc, int x, int y);
    void EndResizeSelection(int area, CTracking& gesture, CDC& dc);
    CGraphObject* GetObjectWithHandleAt(int area, CDC& dc, int zoom, int x, int y) const;
    CGraphObject* GetObjectAt(int area, CDC& dc, int zoom, int x, int y) const;
    CGraphObject* GetSelectedObjectAt(int area, CDC& dc, int zoom, int x, int y) const;
    // Appends the object on top; false (the object is dropped) when refused.
    bool AddObjectToArea(int area, std::unique_ptr<CGraphObject> object);
    void DeselectAll(int area);
    // With anything selected clears the selection, else selects everything.
    void SelectAll(int area);
    // Copies the selected objects into `clipboard` (the design views' copy
    // collection); false when nothing was selected.
    bool CopySelection(int area, CGraphCollection& clipboard) const;
    bool DeleteSelection(int area);
    // Selected clones of the clipboard's objects; false when it is empty.
    bool PasteObjects(int area, const CGraphCollection& clipboard);
    // Clipboard text (cp1252 bytes) or picture (format 3 metafile picture,
    // 8 packed bitmap) as a new selected object; no undo snapshot.
    bool PasteTextObject(int area, const std::string& text);
    bool PasteImageObject(int area, int format, std::string_view block);
    void RotateSelectionLeft(int area);
    void RotateSelectionRight(int area);
    void CombineSelection(int area);
    void SplitSelection(int area);
    void CenterSelectionHorizontal(int area);
    void CenterSelectionVertical(int area);
    void AlignSelectionLeft(int area);
    void AlignSelectionTop(int area);
    void AlignSelectionRight(int area);
    void AlignSelectionBottom(int area);
    void SpaceEvenlyHorizontal(int area);
    void SpaceEvenlyVertical(int area);
    void BringToFront(int area);
    void SendToBack(int area);
    void BringForward(int area);
    void SendBackward(int area);
    void DuplicateBelow(int area);
    void DuplicateRight(int area);
    void DuplicateAbove(int area);
    void DuplicateLeft(int area);
    void SetSelectionX(int area, int32_t um);
    void SetSelectionY(int area, int32_t um);
    void SetSelectionWidth(int area, int32_t um);
    void SetSelectionHeight(int area, int32_t um);
    void SetTextColor(int area, COLORREF color);
    void SetBorderColor(int area, COLORREF color);
    void SetFillColor(int area, COLORREF color);
    void ToggleTransparent(int area);
    void SetBorderLineWidth(int area, int32_t um);
    void SetCornerRadius(int area, int32_t um);
    void ToggleWarningSign(int area);

    bool HasSelection(int area) const;
    int GetSelectedCount(int area) const;
    CGraphObject* GetFirstSelected(int area) const;
    bool CanSplit(int area) const;
    bool CanRotate(int area) const;
    bool CanCutCopy(int area) const;
    bool CanAlignSelection(int area) const; // 2 or more selected
    bool CanSpaceEvenly(int area) const;    // 3 or more selected
    bool CanPaste(int area) const;
    bool CanSelectAll(int area) const;
    bool CanSetColors(int area) const;
    // "%g mm"; empty without a selection (or a corner radius).
    std::string GetSelectionXText(int area) const;
    std::string GetSelectionYText(int area) const;
    std::string GetSelectionWidthText(int area) const;
    std::string GetSelectionHeightText(int area) const;
    std::string GetBorderLineWidthText(int area) const;
    std::string GetCornerRadiusText(int area) const;
    // Scroll extents of the design view.
    int32_t GetDesignWidth(int area) const;
    int32_t GetDesignHeight(int area) const;

    // --- text and font (projectdoc_text.cpp) ------------------------------------------
    // 0 left, 1 centre, 2 right.
    void SetTextAlignment(int area, int alignment);
    // The selected texts take the opposite of the first one's style; the
    // default font toggles and its setting is written in any case.
    void ToggleBold(int area);
    void ToggleItalic(int area);
    void ToggleUnderline(int area);
    void SetTypeface(int area, const std::string& name);
    void SetFontSizeOfSelection(int area, int points);
    void SetDataSource(int area, int kind);
    void SelectColumns(int area, const std::string& columns);
    void SetAutoIncrementPrefix(int area, const std::string& text);
    void SetAutoIncrementStart(int area, const std::string& text);
    void SetAutoIncrementSuffix(int area, const std::string& text);
    void ToggleLeadingZero(int area);
    void SetMinDigits(int area, const std::string& text);
    void SetSeparatorName(int area, const std::string& name);
    void ToggleSeparateBlankFields(int area);
    void SetDateFormatName(int area, const std::string& name);
    void SetDateOffsetText(int area, const std::string& text);
    void SetCharSetOfSelection(int area, int code);
    void ToggleAutoSizeFont(int area);
    void ToggleCenterTextVertical(int area);

    // Of the first selected text, else of the default font.
    bool IsBold(int area) const;
    bool IsItalic(int area) const;
    bool IsUnderline(int area) const;
    std::string GetTypeface(int area) const;
    int GetFontSize(int area) const; // points
    bool HasTextSelection(int area) const;
    bool CanSelectColumns(int area) const;
    std::string GetAutoIncrementPrefix(int area) const;
    std::string GetAutoIncrementStart(int area) const;
    bool IsLeadingZero(int area) const;
    bool CanSetLeadingZero(int area) const;
    std::string GetMinDigitsText(int area) const;
    std::string GetSeparatorName(int area) const;
    bool IsSeparateBlankFields(int area) const;
    bool CanSetSeparateBlankFields(int area) const;
    std::string GetDateFormatName(int area) const;
    bool CanEditDateFormat(int area) const;
    bool CanEditDateOffset(int area) const;
    std::string GetDateOffsetText(int area) const;
    int GetCharSetOfSelection(int area) const; // 1 without a text
    // First column 0..25 no text object of the area uses; 0 when all are.
    int GetFirstUnusedColumn(int area) const;

    // --- barcodes (projectdoc_barcode.cpp) --------------------------------------------
    void SetBarcodeType(int area, const std::string& name);
    void SetBarcodeModule(int area, int32_t um);
    void SetBarcodeModulePercent(int area, int percent);
    void SetBarcodeHeight(int area, int32_t um);
    void SetBarcodeHeightPercent(int area, int percent);
    void SetBarcodeRatio(int area, const std::string& text);
    void SetBarcodeCompensation(int area, const std::string& text);
    void SetQrVersion(int area, const std::string& text);
    void SetQrEccLevel(int area, const std::string& text);
    void SetQrEncoding(int area, const std::string& name);
    void SetQrMargin(int area, const std::string& text);
    void ToggleBarcodeCheckDigit(int area);
    void ToggleBarcodeHumanReadable(int area);
    void ToggleBarcodeHrCheckDigit(int area);

    // --- images (projectdoc_image.cpp) ------------------------------------------------
    // Asks for a picture file and gives it to the selected image objects.
    void ImportImage(int area);
    void ResetImageSize(int area);
    bool CanImportImage(int area) const;
    bool CanResetImage(int area) const;

    // --- label definition (projectdoc_label.cpp) --------------------------------------
    // Parts: 0 label, 1 header, 2 footer. Lengths in um.
    void ChoosePaperSize(const std::string& paperName);
    void SetPaperWidth(int32_t um);
    void SetPaperHeight(int32_t um);
    void SetPaperOrientation(int orientation);
    void SetAreaLeft(int part, int32_t um);
    void SetAreaTop(int part, int32_t um);
    void SetAreaWidth(int part, int32_t um);
    void SetAreaHeight(int part, int32_t um);
    void SetHorizontalPitch(int32_t um);
    void SetVerticalPitch(int32_t um);
    void SetRowCount(int rows);
    void SetColumnCount(int columns);
    void SetBlockCount(int blocks);
    void SetBlockSpace(int32_t um);
    void SetLabelShape(int shape);
    void SetLabelCornerRadius(int32_t um);
    void ToggleMarkingType(uint32_t bits);
    void TogglePrinterType(uint32_t bits);
    void NewLabelDefinition();
    bool DeleteLabelDefinition();
    void ReplaceProduct(const CLabel& product);
    bool LoadLabelDefinition(const std::string& path);

    bool CanChoosePaperSize() const;
    int GetPaperSizeCode() const;  // -1 without a definition
    int32_t GetPaperWidth() const; // um; 0 without a definition
    int32_t GetPaperHeight() const;
    // "%g mm" / "%d"; empty without a definition.
    std::string GetAreaLeftText(int part) const;
    std::string GetAreaTopText(int part) const;
    std::string GetAreaWidthText(int part) const;
    std::string GetAreaHeightText(int part) const;
    std::string GetHorizontalPitchText() const;
    std::string GetVerticalPitchText() const;
    std::string GetBlockSpaceText() const;
    std::string GetRowCountText() const;
    std::string GetColumnCountText() const;
    std::string GetBlockCountText() const;
    int GetLabelShape() const;
    std::string GetLabelCornerRadiusText() const;

    // --- label information, stored printer, engraving (projectdoc_labelinfo.cpp) ------
    // The current definition when it is of the newest file format (null
    // otherwise, also without one).
    class CLabelFileNew* GetLabelFile() const;
    // A definition exists and its defined flag is set.
    bool IsLabelDefined() const;
    // Header (part 1) or footer (part 2) on or off: modified, design views
    // repainted (the footer also the previews).
    void ToggleLabelPart(int part);
    bool HasLabelPart(int part) const;
    void ToggleStorePrinter();
    void ToggleStorePrinterSettings();
    // The printer chosen in the set-up dialog becomes the definition's and
    // the template's; `settings` (may be null) is stored while the
    // definition keeps printer settings. False, nothing changed and the user
    // told, when a name is longer than 80 bytes.
    bool SetLabelPrinter(const std::string& device, const std::string& driver, const std::string& port,
                         const class CPrinterSettings* settings);
    // The family name; the catalogue (may be null) learns it and sorts its
    // families. False when the name did not change.
    bool SetLabelFamilyName(const std::string& name, class CLabelManager* catalogue);
    // Companion files: a bare file name of at most 255 bytes; a longer one
    // is refused with a message (false).
    bool SetLabelImageFile(const std::string& name);
    bool SetLabelInfoFile(const std::string& name);
    void ClearLabelFiles();
    bool HasLabelFiles() const;
    void ToggleDrawLabelBorders();
    void TogglePauseBetweenPages();
    void SetTemplateBorderColor(COLORREF color);
    void SetTemplateBorderWidth(int32_t um);
    // A ".tpe" file into the current template in place, all or nothing;
    // modified and repainted when taken over.
    bool ImportTemplateFile(const std::string& path);
    // The module-marking job's marker borders: undo snapshot of area 0,
    // modified, previews repainted.
    void ToggleMarkerBorders();
    void GetTemplatePrinter(std::string& device, std::string& driver, std::string& port) const;
    // Names longer than 80 bytes are refused with a message (false).
    bool SetTemplatePrinter(const std::string& device, const std::string& driver, const std::string& port);
    // After a print run of `labelsPrinted` labels: areas holding counters
    // advance them, the document is saved to its own path and repainted.
    // Nothing when no label was printed or no area holds a counter.
    void SaveAfterPrint(int labelsPrinted);

    // --- undo and redo (projectdoc_undo.cpp) ------------------------------------------
    // Snapshot of the area (and the module-marking job) before an edit.
    void SaveUndoState(int area, bool clearRedo);
    bool Undo(int area); // 57643
    bool Redo(int area); // 57644
    bool CanUndo(int area) const;
    bool CanRedo(int area) const;
    // --- module marking (projectdoc_marking*.cpp) ----------------------------------------
    // The module-marking job of the current template and the objects of area
    // 0 kept in step with its strip: an edit moves, stretches, deletes or
    // creates the objects lying in the bands of the modules it changes, and
    // pushes one undo entry holding the area and the job. An edit that is
    // refused (bad argument, a job outside its limits, a locked template)
    // changes nothing and pushes nothing. Lengths in um; module indices from
    // 0.
    bool IsModuleMarking() const;
    void ToggleModuleMarking();
    int32_t GetStripWidth() const;
    bool SetStripWidth(int32_t width);
    int32_t GetMaterialLength() const;
    bool SetMaterialLength(int32_t length);
    void ToggleFixedLength();
    bool SetModuleLength(int32_t width);
    bool SelectMultiplier(int32_t multiplier);
    int32_t GetCurrentMultiplier() const;
    void SetModulesToAdd(int32_t n);
    int32_t GetModulesToAdd() const;
    bool AppendMarker();
    bool InsertMarker();
    bool UpdateMarker();
    bool CanUpdateMarker() const;
    bool DeleteMarker();
    bool CanDeleteMarker() const;
    bool DeleteAllMarkers();
    bool JoinMarker();
    bool SplitMarker();
    bool CanJoinMarker() const;
    bool CanSplitMarker() const;
    void ToggleSkipMarker();
    bool SetModuleGap(int32_t gap);
    int32_t GetModuleGap() const;
    bool SetMarkingLeftMargin(int32_t margin);
    bool SetMarkingRightMargin(int32_t margin);
    int32_t GetMarkingLeftMargin() const;
    bool GotoMarker(int n);
    bool GotoFirstMarker();
    bool GotoPreviousMarker();
    bool GotoNextMarker();
    bool GotoLastMarker();
    int GetCurrentMarkerNumber() const;
    bool CanGotoNextMarker() const;
    bool CanGotoPreviousMarker() const;
    int32_t GetMarkerLength(int n) const;   // -1 outside the row
    int32_t GetMarkerPosition(int n) const; // -1 outside the row
    int GetModuleCount() const;
    int GetCurrentRowModuleCount() const;
    int LocateMarker(int n) const;
    bool HitTestMarkers(const CDC& dc, int zoom, POINT point);
    void DrawMarkerSelection(CDC& dc, int scale, POINT corner, int module) const;
    // Marker texts bound to table column A for module n (-1: every module).
    void CreateMarkerTexts(int n);
    bool CanUseTableSource(bool ignoreMarking) const;
    bool IsInSkippedMarker(int32_t from, int32_t to) const;
    bool CanCenterSelection() const;
    void ApplyToFirstArea();
    void SetZoomRate(int area, int32_t percent);
    int32_t GetAreaZoom(int area) const;

    // --- design canvas (projectdoc_canvas.cpp) ---------------------------------------
    // The text typed into the canvas's in-place editor, for the one selected
    // object of the area (the canvas took the undo snapshot when the editor
    // opened); design and preview views repainted. False (nothing changed)
    // when not exactly one object is selected or the template is locked.
    bool SetInPlaceText(int area, const std::string& text);
    // === end of template edit operations ===============================================

    // --- stacked layout -------------------------------------------------------------------
    uint8_t GetStackedLayout(int slot) const;
    void SetStackedLayout(int slot, uint8_t value);

    // Where stored label definitions are saved when they have no file yet.
    void SetLabelsFolder(const std::string& folder) { m_labelsFolder = folder; }

    // --- project file -------------------------------------------------------------------
    // Writes the project file atomically; false when the project cannot be
    // stored or the file not written (`error` says why).
    bool WriteProjectFile(const QString& path, std::string* error = nullptr);
    // Reads a project file, showing its messages. What was read before a
    // failure stays in the document.
    ProjectReadStatus ReadProjectFile(const QString& path);
    // The same on bytes, without messages.
    bool WriteProject(RecordWriter& writer);
    ProjectReadStatus ReadProject(RecordReader& reader);
    // One table record of the current table.
    bool WriteTableRecord(RecordWriter& writer) const;
    bool ReadTableRecord(RecordReader& reader);

    // === table and filter files, text import (projectdoc_tablefiles.cpp) ===============
    // Opening a ".tbl" or ".tbf" file as the document: the file into the
    // current table; false when it is neither or was refused.
    bool OpenTableFile(const QString& path);
    // The current table as a ".tbf" file; false (the user told why) when it
    // could not be written.
    bool SaveTableFile(const QString& path);
    // ".tbl" (any case) whose file begins with a table-file signature and a
    // column count of 1..26.
    static bool IsTableFile(const QString& path);
    static bool IsTbfFile(const QString& path); // ".tbf", any case
    // ".tbf": ReadTbfFile; else the ".tbl" file's cells are appended after
    // the visible table's rows and its image columns marked. A ".tbl" file
    // that cannot be read or is no table file changes nothing and says so.
    bool ImportTableFile(const QString& path);
    // Either ".tbf" layout into the current table slot. A file that is not
    // read whole changes nothing and shows "Corrupt file or wrong file
    // version" (false). Modified flag and repaint are the caller's.
    bool ReadTbfFile(const QString& path);
    // Writes the current table with its filter and filtered copy,
    // atomically; false (`error` says why) when that failed.
    bool WriteTbfFile(const QString& path, std::string* error = nullptr);
    // Gives the current table a filter when it has none, and a filtered
    // copy of the table when it has none.
    void SetupTableFilter();
    // With an enabled filter: the filtered copy rebuilt, views repainted.
    void ReapplyTableFilter();
    // A ".filter" file as the current table's filter (with a filtered copy
    // of the table when there is none); false, nothing changed, when the
    // file cannot be read or is no filter file.
    bool ReadTableFilterFile(const QString& path);
    // The current table's filter as a ".filter" file, atomically; false
    // without a filter or when writing failed.
    bool StoreTableFilter(const QString& path, std::string* error = nullptr);
    // Text files: their lines appended as rows after the visible table's
    // rows, cells through SetTableCellText (see document/project/
    // textimport.h). Character set 0 ANSI, 1 OEM. False, nothing read,
    // when the file cannot be read; the caller tells the user.
    bool ReadDelimitedTextFile(const QString& path, char delimiter, int charSet);
    bool ReadFixedWidthTextFile(const QString& path, const std::array<uint32_t, 26>& widths, int charSet);
    // === end of table and filter files, text import ===================================

private:
    bool SaveLabelFile(const QString& path);
    bool SaveTemplateFile(const QString& path);
    bool SaveTable(const QString& path);
    bool SaveProject(const QString& path);
    void BuildTableFont();
    // Parts of the project reader; each keeps what it read whole before a
    // fault and answers false after one.
    bool ReadProjectBody(RecordReader& reader, uint32_t flags, std::vector<std::string>& templateNames,
                         std::vector<std::string>& tableNames);
    bool ReadProjectTemplates(RecordReader& reader);
    bool ReadProjectTables(RecordReader& reader);
    static bool validSlot(int slot) { return slot >= 0 && slot < kDocSlots; }

    struct TableSlot {
        std::unique_ptr<CDataTableBase> table;
        std::unique_ptr<CDataTableFilter> filter;
        std::unique_ptr<CDataTableBase> filtered;
        std::array<std::unique_ptr<CDataTableBase>, kTableSnapshotSlots> snapshots;
        std::array<std::unique_ptr<CDataTableRowMap>, kTableSnapshotSlots> rowMapSnapshots;
        std::array<std::unique_ptr<CDataTableBase>, kTableSnapshotSlots> filteredSnapshots;
        // Snapshot i was taken while the filtered copy was visible and tied
        // to the full table by the row map.
        std::array<bool, kTableSnapshotSlots> snapshotTied{};
        CDataTableMap map;
        CDataTableRowMap rowMap;
        bool undoOn = true;
        bool inStep = false;
    };

    // --- filtered copy and full table (projectdoc_filtermap.cpp) --------------------------
    // The one path by which a write into the visible filtered copy reaches
    // the full table: the cell (row, column) of the filtered copy is set,
    // then the same text goes to the full table at the row the row map
    // gives and the column the column map gives. A filtered row without a
    // full row (typed below the copy's rows, or a row of an old file that
    // no full row matches) first gets one appended to the full table, with
    // the texts it shows; so do the empty rows a write beyond the copy's
    // end creates in front of it. O(1) per cell apart from those appends.
    // Nothing at all for a column that shows no full column: such a text
    // could not be kept.
    void writeFilteredCell(TableSlot& s, int row, int column, std::string_view text);
    // The full row of filtered row `row`, appending one as above when it
    // has none; -1 when the row limit leaves no room.
    int32_t tieFilteredRow(TableSlot& s, int row);

    std::unique_ptr<CTemplate[]> m_templates;
    LOGFONTA m_defaultFont;
    std::vector<TableSlot> m_tables;
    int m_currentTemplate = 0;
    int m_currentTable = 0;
    int m_templateCount = kNewDocumentTabs;
    int m_tableCount = kNewDocumentTabs;
    std::vector<std::string> m_templateNames;
    std::vector<std::string> m_tableNames;
    LOGFONTA m_tableFont;
    std::array<uint8_t, kDocSlots> m_stackedLayout{};
    std::string m_labelsFolder;
    // Opened from a ".tbf" file and not saved as a project since: saving a
    // ".tbf" file may save the document (SavesWholeDocument).
    bool m_tableFileDocument = false;
    // The project beside its tables as it was when the document was opened
    // from that file (projectImageBesideTables).
    std::optional<std::string> m_templatesAtOpen;
    // The templates, tab names, table count, table character set and
    // stacked layouts as a project file would hold them, for telling
    // whether they changed; none when an undo or redo step shows that the
    // templates did.
    std::optional<std::string> projectImageBesideTables() const;
    // The table in that slot has rows, a filter or filtered rows.
    bool tableHoldsData(int slot) const;

    // === print run (projectdoc_print.cpp; its state and steps: printrun.cpp) ===========
public:
    // The checks before printing the current template; each failure is
    // shown to the user and answers false. Last, when a barcode of a row the
    // run prints cannot encode its text, the user is asked whether to print
    // anyway (No, the default, answers false).
    bool CheckBeforePrint();
    // Before the print dialog: stored printer settings, the paper check,
    // orientation, the page limits and the options page's values.
    void PreparePrinting(CPrintInfo& info, CPrinterSetupAccess* printer);
    // After the dialog: options to the template and the settings store, the
    // run state and the row range. `selection` is the table view's
    // selection (null when printing does not start from the table view).
    // False when nothing is to be printed (the user has been told).
    bool BeginPrinting(CDC& dc, CPrintInfo& info, const CRowSelection* selection, POINT printingOffset);
    // One page of the run (CPrintRun, printrun.h).
    void PrintPage(CDC& dc, CPrintInfo& info) { m_printRun.PrintPage(dc, info); }
    bool NextRow(bool selection, int& row, int rangeEnd) const { return m_printRun.NextRow(selection, row, rangeEnd); }
    bool PreviousRow(bool selection, int& row, int rangeEnd) const
    {
        return m_printRun.PreviousRow(selection, row, rangeEnd);
    }
    // Some object of areas 0 to 2 takes data from a table column.
    bool UsesTableData() const;
    const PrintRunState& GetPrintRunState() const { return m_printRun.State(); }
    // Labels on one sheet of the current template (0 without a definition).
    int GetLabelsPerSheet() const;
    static bool ParseLength(std::string_view text, int32_t& um);
    // The rows a run prints: the used rows of the table the labels are
    // filled from (the filtered copy while the filter is on).
    int PrintRowCount() const;
    // The current template is printed as module-marking strips, each taking
    // MarksPerStrip label numbers (at least 1).
    bool PrintsModuleMarking() const;
    int MarksPerStrip() const;

private:
    CPrintRun m_printRun{*this};
    // === end of print run =================================================================

    // === document commands and tab bookkeeping (projectdoc_commands*.cpp) =============
public:
    // A new template (table) after the last one, labelled "Template n"
    // ("Table n") with the first n from count + 1 no tab bears, made the
    // current one and its tab active; modified. False (nothing done) at 255.
    bool AddTemplate();
    bool AddTable();
    // The add tab of a row was chosen: as AddTemplate / AddTable; at 255
    // templates the tab before the add tab is activated instead.
    bool AddTemplateTab();
    bool AddTableTab();
    // After the user's Yes to "Delete active template (table). Are you
    // sure?": the current one goes, the later slots move down one (with
    // their tab labels and layout bytes), the last slot is left empty, and
    // the one before becomes current when the last was deleted. False when
    // nothing was deleted (one left, or No).
    bool DeleteTemplate();
    bool DeleteTable();

    // A printer chosen in Print Setup: stored through SetTemplatePrinter
    // unless all three names equal the stored ones; true when stored.
    bool StoreTemplatePrinter(const std::string& device, const std::string& driver, const std::string& port);

    // "User defined" for 256, the code in decimal below 1 or above 59, else
    // the paper's name.
    static std::string GetPaperSizeName(int code);
    // The current label definition's family (at most 255 characters).
    std::string GetLabelFamilyName() const;

    // The guide table of the current template. Rows 0..9, areas 0..2,
    // columns 0..25; outside them the delimiter is empty and a column counts
    // as used.
    std::string GetGuideDelimiter(int row, int area) const;
    bool IsGuideColumnUsed(int area, int column, int row) const;
    // Area 0: the row's entries a, b, c become column, a, b.
    void AddGuideColumn(int row, int column);
    // Area 0: the first entry equal to the column goes, the later move up,
    // the last becomes -1.
    void RemoveGuideColumn(int column, int row);

    // Paper `code` on a printer offering `printerCodes` (at most 200 are
    // looked at): the setup takes the code, and for 0 and codes from 256 the
    // current definition's size in 0.1 mm (297 x 210 mm without one); 256
    // falls back to 257. False when the printer has neither.
    bool SelectPaperOnPrinter(LinuxPrinterSetup& setup, int code, const std::vector<int>& printerCodes) const;

    // The reverse-order print option (764).
    bool IsReverseOrder() const { return m_printRun.IsReverse(); }
    void ToggleReverseOrder();
    // Use preset (1118) of the current template's module-marking job.
    bool IsUsePreset() const;
    void ToggleUsePreset();
    // 1084: the current template gets a label definition when it has none
    // and takes the marking row; false when that could not be applied.
    bool ApplyMarkingRowToLabel();

    // An external template shown in place of the project's (its path, at
    // most 259 bytes); empty: none.
    void SetExternalTemplate(const std::string& path);
    bool IsExternalTemplateShown() const { return !m_externalTemplate.empty(); }
    const std::string& GetExternalTemplatePath() const { return m_externalTemplate; }
    // The first status pane: "External template: NAME.EXT" or "Label: NAME
    //   ( W x H )"; empty when neither applies.
    std::string GetLabelPaneText() const;
    // The current definition is a stored one (.label), and loaded.
    bool HasStoredLabel() const;
    bool HasLoadedLabel() const;

    // Import label definition files (926): the chosen ".label" files go
    // into `labels`, ".jpg" into `images`, ".pdf" into `info`, each after an
    // overwrite question when the target exists; a file that already is the
    // target stays as it is. One imported label file is offered for use.
    // Answers the number of files in place.
    int ImportLabelFiles(const QString& labels, const QString& images, const QString& info);
    static constexpr size_t kMaxImportFiles = 100;

private:
    std::string m_externalTemplate;
    // === end of document commands =========================================================

    // === table store and area drawing (projectdoc_tables.cpp, projectdoc_draw.cpp) ===
public:
    // --- cells and rows of the current table ---------------------------------------------
    // The visible table: the filtered copy while the current table's filter
    // exists and is enabled, else the full table.
    CDataTableBase& GetVisibleTable();
    const CDataTableBase& GetVisibleTable() const;
    bool IsTableFilterEnabled() const;
    // The cell text of the visible table, NUL-terminated in `buffer`; a text
    // that does not fit is cut on a character boundary of the table's code
    // page. Nothing for a null buffer or size 0.
    void GetTableCellText(int row, int column, char* buffer, size_t size) const;
    std::string GetTableCellText(int row, int column) const;
    // Sets a cell of the visible table. A write into the filtered copy goes
    // on to the full table while the copy is in step (writeFilteredCell).
    // Neither modified flag nor repaint.
    void SetTableCellText(std::string_view text, int row, int column);
    // Rows of the visible table.
    int GetTableRowCount() const;
    // Used rows of the full table.
    int GetUsedTableRowCount() const;
    // Inserts a row before row n of the visible table (and the matching
    // full-table row); modified, table and preview views repainted.
    void InsertTableRow(int n);
    // `count` rows before row n, as many InsertTableRow (n) would insert
    // them, with one modified flag and one repaint.
    void InsertTableRows(int n, int count);
    // Writes `copies` cells of each text down `column` from `row`; with
    // `insert`, the rows for each text are inserted first, before the row
    // the text goes to, so the rows below move down. One modified flag and
    // one repaint of every view for the whole fill; no undo snapshot.
    void FillTableColumn(const std::vector<std::string>& texts, int row, int column, int copies, bool insert);
    // Deletes row n of the visible table (and the full-table row it came
    // from). The caller sets the modified flag.
    void DeleteTableRows(int n);
    // Column insertion and deletion, keeping filter items and the column map
    // aligned; false for a negative column.
    bool InsertTableColumn(int column);
    bool DeleteTableColumn(int column);
    // Sorts the visible table by a column 0..26; false (nothing done)
    // otherwise. The row map moves with the rows of a sorted filtered copy.
    bool SortTable(int column, bool descending);

    // --- image columns -----------------------------------------------------------------------
    bool IsImageColumn(int position) const;
    void ToggleImageColumn(int position);
    // 1-based rank among the image columns 0..255; -1 when no image column.
    int GetImageColumnNumber(int position) const;
    int GetImageColumnCount() const;
    // The full-table column shown as visible column k; -1 when none is.
    int GetSourceColumnIndex(int k) const;

    // --- filter ----------------------------------------------------------------------------------
    void EnableTableFilter();
    void ApplyTableFilter();
    // Fields 2..4 strip characters, 5..7 include texts, 8..10 exclude texts.
    std::string GetFilterFieldText(int field) const;
    void SetFilterFieldText(int field, std::string_view text);
    // Kinds: 0 show column, 1 trim, 2..4 strip, 5..7 include, 8..10 exclude.
    bool GetFilterColumnFlag(int kind, int column) const;
    bool ToggleFilterColumnFlag(int kind, int column);

    // --- undo ------------------------------------------------------------------------------------
    void SaveTableUndoState();
    void UndoTable();
    int GetTableUndoDepth() const;

    // The record shown in the design view and the preview (0-based row).
    int GetCurrentTableRow() const { return m_currentTableRow; }
    void SetCurrentTableRow(int row);

    // An imported table takes the place of the current table (one undo
    // step), its tab gets `tabName` (cp1252).
    void ReplaceCurrentTable(CDataTableBase table, const std::string& tabName);

    // --- area drawing ------------------------------------------------------------------------
    void DrawLabelBackground(int zoom, CDC& dc, int part);
    void DrawCurrentMarker(CDC& dc, int zoom, bool focused, bool selectModules);
    // False when an object could not be drawn (a QR code cut by the label
    // edge): a print run stops there.
    bool DrawArea(int area, CDC& dc, const AreaDrawRequest& request);
    // Handles of the selected objects of an area.
    void DrawAreaObjects(int area, CDC& dc, int zoom);
    // A whole sheet, its header, footer, label borders and cut lines, is
    // painted by the sheet painter (document/print/sheetpainter.h).

private:
    // The last pre-print check: a barcode of a row the run prints cannot
    // encode its text; true when the user prints all the same.
    bool askAboutUnencodableBarcodes() const;
    // Inserts `count` rows before visible row n as InsertTableRow does
    // one, without the modified flag and repaint.
    void insertVisibleRows(int n, int count);
    TableSlot& currentSlot() { return m_tables[size_t(m_currentTable)]; }
    const TableSlot& currentSlot() const { return m_tables[size_t(m_currentTable)]; }
    int tableCodePage() const;
    bool drawModuleMarkingArea(CGraphCollection& area, const CTemplate& tpl, const DrawArgs& base,
                               const AreaDrawRequest& request);

    int m_currentTableRow = 0;
};
