#pragma once
// Helpers shared by the object tests.
#include "content/objects/collection.h"

#include <memory>

namespace objtest {

// Appends a new object of class T with the given box; answers it.
template <class T>
T* addBox(CGraphCollection& c, int x, int y, int w, int h)
{
    auto o = std::make_unique<T>();
    o->SetX(x);
    o->SetY(y);
    o->SetWidth(w);
    o->SetHeight(h);
    T* raw = o.get();
    c.AddTail(std::move(o));
    return raw;
}

} // namespace objtest
