#pragma once
// The classes the collection reader can create, by the type key stored
// before each object. Each family of objects registers its own keys (see
// content/contenttypes.h, which registers them all), so this folder needs
// to know none of the families built on it.
#include "content/objects/graphobject.h"

#include <cstdint>
#include <memory>

using GraphObjectCreator = std::unique_ptr<CGraphObject> (*)();

// A new object of T with its defaults, for registering T.
template <class T>
std::unique_ptr<CGraphObject> CreateGraphObject()
{
    return std::make_unique<T>();
}

// Makes `key` readable: the reader creates its objects with `create`. A
// second registration of a key replaces the first. Registration happens at
// start-up, before any reading (it is not synchronised with readers).
void RegisterGraphObjectType(int16_t key, GraphObjectCreator create);

// Registers the readable classes of this folder: shapes, lines, texts,
// barcodes and groups.
void RegisterObjectTypes();

// A new object of the class that `key` names, with that class's defaults,
// ready to read its record; null for a key that names no registered class
// (the abstract bases, the first image form and the collection itself).
std::unique_ptr<CGraphObject> CreateGraphObjectForKey(int16_t key);
