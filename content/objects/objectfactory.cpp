#include "content/objects/objectfactory.h"

#include "content/images/graphimage.h"
#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/group.h"
#include "content/objects/line.h"
#include "content/objects/ole1.h"
#include "content/objects/shapes.h"

namespace {

using Creator = std::unique_ptr<CGraphObject> (*)();

template <class T>
std::unique_ptr<CGraphObject> create()
{
    return std::make_unique<T>();
}

struct ReadableClass {
    int16_t key;
    Creator create;
};

// One row per readable class. Keys that stay unreadable on purpose: 161
// (first image form, never stored alone) and 175 (a collection record is
// read by its owner, never as a member).
const ReadableClass kReadableClasses[] = {
    {kKeyEllipse, create<CGraphEllipse>},
    {kKeyRectRounded, create<CGraphRectRounded>},
    {kKeyRect, create<CGraphRect>},
    {kKeyLine, create<CGraphLine>},
    {kKeyTriangle, create<CGraphTriangle>},
    {kKeyTriangleExt, create<CGraphTriangleExt>},
    {kKeyText, create<CGraphText>},
    {kKeyTextExt, create<CGraphTextExt>},
    {kKeyBarcode, create<CGraphBarcode>},
    {kKeyImageExt, create<CGraphImageExt>},
    {kKeyImageExtExt, create<CGraphImageExtExt>},
    {kKeyGroup, create<CGraphGroup>},
    {kKeyOLE1, create<CGraphOLE1>},
};

} // namespace

std::unique_ptr<CGraphObject> CreateGraphObjectForKey(int16_t key)
{
    for (const ReadableClass& c : kReadableClasses)
        if (c.key == key)
            return c.create();
    return nullptr;
}
