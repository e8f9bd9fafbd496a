#pragma once
// The state of a gesture of the design view: what one object's share of a
// create, move or resize holds while the mouse is down (its outline, where
// the gesture started, the fixed corner of a resize, the resolution it
// converts with), and the set of those for every object taking part.
//
// The objects keep none of this: the view's current gesture owns it and
// hands it to the objects' tracking operations, so whatever else draws the
// objects in between (the preview, a print run) cannot disturb a gesture.
#include "content/objects/marker.h"
#include "platform/windef.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class CGraphObject;

// Device pixels per inch of one drawing or gesture at its zoom.
struct Resolution {
    int32_t x = 0;
    int32_t y = 0;
};

struct ObjectTracking {
    Resolution res;              // working resolution of the gesture
    POINT start{0, 0};           // where a move began
    POINT anchor{0, 0};          // the point that stays fixed while resizing
    int32_t resizeMode = 0;      // 0 both axes, 1 width only, 2 height only
    RECT box{0, 0, 0, 0};        // device box when the gesture began (a line: its two end points)
    std::unique_ptr<CMarker> marker; // the outline on screen; null when none
};

class CTracking {
public:
    // The share of `object`, made when it has none yet.
    ObjectTracking& For(const CGraphObject& object);
    // The share of `object`; null when it takes no part.
    ObjectTracking* Find(const CGraphObject& object);
    const ObjectTracking* Find(const CGraphObject& object) const;
    // Forgets every share (their outlines must have been erased).
    void Clear() { m_items.clear(); }
    bool IsEmpty() const { return m_items.empty(); }
    size_t GetCount() const { return m_items.size(); }

private:
    std::vector<std::pair<const CGraphObject*, std::unique_ptr<ObjectTracking>>> m_items;
};
