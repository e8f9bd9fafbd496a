#include "content/objects/tracking.h"

ObjectTracking& CTracking::For(const CGraphObject& object)
{
    if (ObjectTracking* found = Find(object))
        return *found;
    m_items.emplace_back(&object, std::make_unique<ObjectTracking>());
    return *m_items.back().second;
}

ObjectTracking* CTracking::Find(const CGraphObject& object)
{
    for (auto& [o, t] : m_items)
        if (o == &object)
            return t.get();
    return nullptr;
}

const ObjectTracking* CTracking::Find(const CGraphObject& object) const
{
    for (const auto& [o, t] : m_items)
        if (o == &object)
            return t.get();
    return nullptr;
}
