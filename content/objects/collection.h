#pragma once
// The ordered container of the graphic objects of one area (label, header
// or footer). List order is stacking order: the first object is drawn first
// and lies at the bottom, the last one lies on top. The collection owns its
// objects.
#include "content/objects/graphobject.h"

#include <memory>
#include <vector>

class CGraphCollection : public CGraph2Dim {
public:
    // Most objects a collection record can hold (its count is 16 bits).
    static constexpr size_t kMaxObjects = 65535;
    // Left and top edges reported by an empty collection.
    static constexpr int32_t kEmptyMinEdge = 2147483647;

    CGraphCollection() = default;
    // A deep copy: every object cloned in order, keeping its selected flag.
    CGraphCollection(const CGraphCollection& other);
    ~CGraphCollection() override;

    // --- the list ----------------------------------------------------------
    size_t GetCount() const { return m_objects.size(); }
    bool IsEmpty() const { return m_objects.empty(); }
    CGraphObject* GetAt(size_t index) const { return index < m_objects.size() ? m_objects[index].get() : nullptr; }
    const std::vector<std::unique_ptr<CGraphObject>>& Objects() const { return m_objects; }
    // Appends an object on top of the stacking order; null is ignored.
    void AddTail(std::unique_ptr<CGraphObject> object);
    // Deletes every object.
    void RemoveAll();
    // Takes the object out of the list without deleting it; null when it is
    // not in this collection.
    std::unique_ptr<CGraphObject> RemoveObject(const CGraphObject* object);
    // A deep copy for undo snapshots and clipboard copies.
    std::unique_ptr<CGraphCollection> CloneCollection() const;

    int16_t ReservedA() const { return m_reservedA; }
    int16_t ReservedB() const { return m_reservedB; }

    // --- bounds --------------------------------------------------------------
    // Smallest left or top edge of all objects; kEmptyMinEdge when empty.
    int32_t GetMinLeft() const;
    int32_t GetMinTop() const;
    // Largest right or bottom edge of all objects, never below 0.
    int32_t GetMaxRight() const;
    int32_t GetMaxBottom() const;
    // Sets x, y, width and height to the bounds of the objects; an empty
    // collection gets an empty box at 0, 0 (never its kEmptyMinEdge).
    void RecalcBox();

    // --- drawing and point queries ------------------------------------------
    // Draws every object in list order; false as soon as one answers false.
    bool Draw(const DrawArgs& args) const override;
    // Draws, in list order, the objects whose horizontal centre
    // (left + right) / 2 lies in from <= centre < to.
    bool DrawBand(int32_t from, int32_t to, const DrawArgs& args) const;
    // Topmost object under the device point; null when none.
    CGraphObject* ObjectAt(CDC& dc, int zoom, int x, int y) const;
    // The same among selected objects only.
    CGraphObject* SelectedObjectAt(CDC& dc, int zoom, int x, int y) const;
    // Topmost object with a handle under the point (only selected ones).
    CGraphObject* ObjectWithHandleAt(CDC& dc, int zoom, int x, int y) const;
    // Handle code of the topmost selected object with a handle under the
    // point; -1 when none.
    int HitTestHandle(CDC& dc, int zoom, int x, int y) const override;

    // --- content -------------------------------------------------------------
    // True when any object takes its text or picture from a table column.
    bool UsesTableData() const;
    bool IsCounter() const override;
    void AdvanceCounter(int n) override;
    // Scales the objects lying wholly inside the band from..to.
    void ScaleHorizontally(int32_t from, int32_t to, int32_t delta) override;

    // --- records -------------------------------------------------------------
    // Reads a collection record (after its type key), appending its objects
    // to the list. Answers true when the whole record was read. Otherwise
    // the reader tells why (Truncated: the data ended; Damaged: an unknown
    // type key, or nesting too deep) and the objects read in full before the
    // fault are kept; an object cut short is dropped.
    bool Load(RecordReader& reader) override;
    // Writes the collection record. A collection of more than kMaxObjects
    // objects cannot be stored: nothing is written and the writer is marked
    // failed.
    void Save(RecordWriter& writer) const override;

    // --- selection (collection_selection.cpp) -------------------------------
    // Getters read the first selected object in list order that offers the
    // property and answer the stated default when none does; setters act on
    // every selected object, and objects without the property ignore them.
    static constexpr int32_t kNoSelectionMinEdge = 134217727;

    bool HasSelection() const;
    size_t GetSelectedCount() const;
    CGraphObject* GetFirstSelected() const;
    void SelectAll();
    void DeselectAll();
    // Selects every object lying wholly inside the device rectangle; true
    // when at least one did.
    bool SelectInRect(CDC& dc, int zoom, const RECT& rect);

    // Tracking forwarded to every selected object, each with its share of
    // the gesture (made at the beginning, forgotten at the end).
    void BeginMoveSelected(CTracking& gesture, CDC& dc, int zoom, int x, int y) const;
    void TrackMoveSelected(CTracking& gesture, CDC& dc, int x, int y) const;
    // Ends the move and then pushes the selection back inside the area when
    // it left it at the left or top edge.
    void EndMoveSelected(CTracking& gesture, CDC& dc, int x, int y);
    void CancelTrackingSelected(CTracking& gesture, CDC& dc) const;
    void BeginResizeSelected(CTracking& gesture, CDC& dc, int zoom, int x, int y) const;
    void TrackResizeSelected(CTracking& gesture, CDC& dc, int x, int y, int flags) const;
    void EndResizeSelected(CTracking& gesture, CDC& dc);

    // Alignment and centring.
    int32_t GetSelectedMinLeft() const;   // kNoSelectionMinEdge when none
    int32_t GetSelectedMinTop() const;
    int32_t GetSelectedMaxRight() const;  // at least 0
    int32_t GetSelectedMaxBottom() const;
    void SetSelectedLeft(int32_t v);
    void SetSelectedTop(int32_t v);
    void SetSelectedRight(int32_t v);
    void SetSelectedBottom(int32_t v);
    // SetCenter(axis, value) on every selected object; true when any took it.
    bool SetSelectedCenter(int32_t value, int axis);
    // Mean centre of the selected objects along the axis; 0 when none is
    // selected.
    int32_t GetSelectedMeanCenter(int axis) const;
    // Centres along `axis` the selected objects whose centre lies in
    // xMin..xMax and 0..yMax; true when any was centred.
    bool CenterObjectsInBand(int32_t xMin, int32_t xMax, int32_t yMax, int axis, int32_t value);
    bool HasSelectedCenterInRange(int32_t xMax, int32_t yMax) const;
    // Equal gaps between the selected objects; the outermost two stay put.
    void SpaceSelectedEvenlyHorizontal();
    void SpaceSelectedEvenlyVertical();

    // Stacking order: only the first selected object moves; true when it did.
    bool BringToFront();
    bool SendToBack();
    bool BringForward();
    bool SendBackward();

    // Structure and clipboard.
    void DeleteSelected();
    void CopySelectedTo(CGraphCollection* target) const;
    // Appends selected clones of the source's objects, 5 mm lower and to the
    // right when this collection already held objects.
    void PasteFrom(const CGraphCollection& source);
    // Asks the selected objects in list order to put their picture on the
    // clipboard; true at the first that does.
    bool CopyToClipboard() override;
    bool CopySelectedToClipboard() { return CopyToClipboard(); }
    // Turns the selection a quarter (+1 counter-clockwise, -1 clockwise)
    // about the mean of the selected objects' centre points.
    void RotateSelected(int direction);
    bool HasGroupSelected() const;
    // Replaces every selected group by selected copies of its children,
    // appended on top of the stacking order.
    void UngroupSelected();
    // Moves the selected objects themselves, deselected and in list order,
    // out of this collection into `group`.
    void MoveSelectedToGroup(CGraphCollection& group);
    void DuplicateSelectionBelow();
    void DuplicateSelectionRight();
    void DuplicateSelectionAbove();
    void DuplicateSelectionLeft();
    bool HasImageSelected() const;
    bool ResetSelectedToNaturalSize();
    bool HasImageFile() const override;
    bool SetImageFile(const std::string& path) override;
    bool HasTableSource() const override;
    bool HasImageTableSource() const override;

    // Band operations (all objects lying in from..to, selected or not).
    void OffsetObjectsInBand(int32_t from, int32_t to, int32_t delta);
    void DeleteObjectsInBand(int32_t from, int32_t to);
    bool HasTableSourceInBand(int32_t from, int32_t to) const;
    bool IsColumnUsedByAny(int index) const;

    // Properties.
    int32_t GetSelectedX() const;       // -1 when none
    int32_t GetSelectedY() const;
    int32_t GetSelectedWidth() const;
    int32_t GetSelectedHeight() const;
    void SetSelectedX(int32_t v);
    void SetSelectedY(int32_t v);
    void SetSelectedWidth(int32_t v);
    void SetSelectedHeight(int32_t v);
    int32_t GetSelectedLineWidth() const; // 1000 when none
    void SetSelectedLineWidth(int32_t v);
    int32_t GetSelectedCornerRadius() const; // -1 when none
    void SetSelectedCornerRadius(int32_t v);
    // Writes 0 left, 1 centre, 2 right; leaves `out` alone when no selected
    // object has an alignment.
    void GetSelectedTextAlignment(int& out) const;
    void SetSelectedTextAlignment(int v);
    // At most 99 bytes of the face name; `out` unchanged when no text.
    void GetSelectedFaceName(std::string& out) const;
    void SetSelectedFaceName(const std::string& name);
    int GetSelectedFontSize() const; // points; -1 when no text
    void SetSelectedFontSize(int points);
    bool IsSelectedBold() const;
    bool IsSelectedItalic() const;
    bool IsSelectedUnderline() const;
    void SetSelectedBold(bool on);
    void SetSelectedItalic(bool on);
    void SetSelectedUnderline(bool on);
    int GetSelectedTextSourceType() const; // -1 when none
    void SetSelectedTextSourceType(int v);
    COLORREF GetSelectedTextColor() const;
    void SetSelectedTextColor(COLORREF c);
    COLORREF GetSelectedBorderColor() const;
    void SetSelectedBorderColor(COLORREF c);
    COLORREF GetSelectedFillColor() const;
    void SetSelectedFillColor(COLORREF c);
    bool GetSelectedTransparent() const;
    void SetSelectedTransparent(bool on);
    bool HasSelectedTransparency() const;
    // The column link of the first selected object that has one (at most
    // 99 bytes).
    bool GetSelectedSourceColumnText(std::string& out) const;
    void SetSelectedSourceColumn(const std::string& text);
    bool GetSelectedAutoSize() const;
    void SetSelectedAutoSize(bool on);
    bool HasSelectedAutoSize() const;
    bool GetSelectedCenterVertical() const;
    void SetSelectedCenterVertical(bool on);
    bool HasSelectedCenterVertical() const;
    bool GetSelectedWarningSign() const;
    void SetSelectedWarningSign(bool on);
    bool HasSelectedWarningSignOption() const;
    bool GetSelectedTableFlag() const;
    // Gives every selected object the opposite of GetSelectedTableFlag.
    void ToggleSelectedTableFlag();
    bool HasSelectedTableFlagOption() const;
    bool GetSelectedFontChecked(LOGFONTA& out) const;
    void SetSelectedFontRaw(const LOGFONTA& font);
    int GetSelectedCharSet() const; // 1 when none
    void SetSelectedCharSet(int v);
    // Text-part properties: a getter answers the first selected object that
    // answers true.
    bool GetSelectedCounterPrefix(std::string& out) const;
    void SetSelectedCounterPrefix(const std::string& text);
    bool GetSelectedCounterStartText(std::string& out) const;
    void SetSelectedCounterStartText(const std::string& text);
    bool GetSelectedCounterSuffix(std::string& out) const;
    void SetSelectedCounterSuffix(const std::string& text);
    bool GetSelectedCounterLeadingZeros() const;
    bool HasSelectedCounterOptions() const;
    void SetSelectedCounterLeadingZeros(bool on);
    bool GetSelectedCounterWidthText(std::string& out) const;
    void SetSelectedCounterWidthText(const std::string& text);
    bool GetSelectedSeparatorName(std::string& out) const;
    void SetSelectedSeparatorName(const std::string& name);
    bool GetSelectedAlwaysSeparate() const;
    bool HasSelectedSeparatorOptions() const;
    void SetSelectedAlwaysSeparate(bool on);
    bool GetSelectedDateComponentName(std::string& out) const;
    void SetSelectedDateComponentName(const std::string& name);
    bool HasSelectedDateComponent() const;
    bool HasSelectedDateOffset() const;
    bool GetSelectedDateOffsetText(std::string& out) const;
    void SetSelectedDateOffsetText(const std::string& text);

    // Barcode properties.
    bool HasSelectedBarcode() const;
    void SetSelectedSymbology(const std::string& name);
    int32_t GetSelectedBarcodeModule() const; // -1 when none
    bool GetSelectedBarcodeModuleText(std::string& out) const;
    void SetSelectedBarcodeModule(int32_t v);
    void SetSelectedEanModule(int32_t v);
    int32_t GetSelectedBarcodeHeight() const; // -1 when none
    bool GetSelectedBarcodeHeightText(std::string& out) const;
    void SetSelectedBarcodeHeight(int32_t v);
    // Bar height of the selected 2-D codes only (QR codes: the objects that
    // answer a QR version).
    void SetSelectedQrHeight(int32_t v);
    bool GetSelectedBarcodeRatioText(std::string& out) const;
    void SetSelectedBarcodeRatio(const std::string& text);
    bool GetSelectedBarcodeGapCorrectionText(std::string& out) const;
    void SetSelectedBarcodeGapCorrection(const std::string& text);
    bool GetSelectedQrVersionText(std::string& out) const;
    void SetSelectedQrVersion(const std::string& text);
    bool GetSelectedQrEccLevelText(std::string& out) const;
    void SetSelectedQrEccLevel(const std::string& text);
    bool GetSelectedQrEncodingName(std::string& out) const;
    void SetSelectedQrEncodingName(const std::string& name);
    bool GetSelectedQrMarginText(std::string& out) const;
    void SetSelectedQrMargin(const std::string& text);
    bool HasSelectedBarcodeCheckDigitOption() const;
    bool GetSelectedBarcodeCheckDigit() const;
    void SetSelectedBarcodeCheckDigit(bool on);
    bool HasSelectedBarcodeTextOption() const;
    bool GetSelectedBarcodeShowText() const;
    void SetSelectedBarcodeShowText(bool on);
    bool HasSelectedBarcodeCheckDigitTextOption() const;
    bool GetSelectedBarcodeShowCheckDigit() const;
    void SetSelectedBarcodeShowCheckDigit(bool on);
    int GetSelectedModuleChoiceKinds() const;
    int GetSelectedHeightChoiceKinds() const;

    // --- object geometry -----------------------------------------------------
    int32_t GetRight() const override { return GetMaxRight(); }
    int32_t GetBottom() const override { return GetMaxBottom(); }
    std::unique_ptr<CGraphObject> Clone() const override;
    int16_t GetTypeKey() const override { return kKeyCollection; }

protected:
    int16_t m_reservedA = 10;
    int16_t m_reservedB = 5;
    std::vector<std::unique_ptr<CGraphObject>> m_objects;
};
