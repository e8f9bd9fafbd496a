#pragma once
// The classes the collection reader can create, by the type key stored
// before each object.
#include "content/objects/graphobject.h"

#include <cstdint>
#include <memory>

// A new object of the class that `key` names, with that class's defaults,
// ready to read its record; null for a key that names no readable class
// (the abstract bases, the first image form and the collection itself).
std::unique_ptr<CGraphObject> CreateGraphObjectForKey(int16_t key);
