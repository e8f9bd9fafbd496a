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
    bool Draw(const DrawArgs& args) override;
    // Draws, in list order, the objects whose horizontal centre
    // (left + right) / 2 lies in from <= centre < to.
    bool DrawBand(int32_t from, int32_t to, const DrawArgs& args);
    // Topmost object under the device point; null when none.
    CGraphObject* ObjectAt(CDC& dc, int zoom, int x, int y) const;
    // The same among selected objects only.
    CGraphObject* SelectedObjectAt(CDC& dc, int zoom, int x, int y) const;
    // Topmost object with a handle under the point (only selected ones).
    CGraphObject* ObjectWithHandleAt(CDC& dc, int zoom, int x, int y) const;
    // Handle code of the topmost selected object with a handle under the
    // point; -1 when none.
    int HitTestHandle(CDC& dc, int zoom, int x, int y) override;

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
