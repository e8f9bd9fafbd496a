#include "content/objects/objectfactory.h"

#include "content/objects/graphbarcode.h"
#include "content/objects/graphtext.h"
#include "content/objects/group.h"
#include "content/objects/line.h"
#include "content/objects/shapes.h"

#include <vector>

namespace {

struct ReadableClass {
    int16_t key;
    GraphObjectCreator create;
};

std::vector<ReadableClass>& readableClasses()
{
    static std::vector<ReadableClass> classes;
    return classes;
}

} // namespace

void RegisterGraphObjectType(int16_t key, GraphObjectCreator create)
{
    for (ReadableClass& c : readableClasses())
        if (c.key == key) {
            c.create = create;
            return;
        }
    readableClasses().push_back({key, create});
}

void RegisterObjectTypes()
{
    // Keys that stay unreadable on purpose: 175 (a collection record is
    // read by its owner, never as a member).
    RegisterGraphObjectType(kKeyEllipse, CreateGraphObject<CGraphEllipse>);
    RegisterGraphObjectType(kKeyRectRounded, CreateGraphObject<CGraphRectRounded>);
    RegisterGraphObjectType(kKeyRect, CreateGraphObject<CGraphRect>);
    RegisterGraphObjectType(kKeyLine, CreateGraphObject<CGraphLine>);
    RegisterGraphObjectType(kKeyTriangle, CreateGraphObject<CGraphTriangle>);
    RegisterGraphObjectType(kKeyTriangleExt, CreateGraphObject<CGraphTriangleExt>);
    RegisterGraphObjectType(kKeyText, CreateGraphObject<CGraphText>);
    RegisterGraphObjectType(kKeyTextExt, CreateGraphObject<CGraphTextExt>);
    RegisterGraphObjectType(kKeyBarcode, CreateGraphObject<CGraphBarcode>);
    RegisterGraphObjectType(kKeyGroup, CreateGraphObject<CGraphGroup>);
}

std::unique_ptr<CGraphObject> CreateGraphObjectForKey(int16_t key)
{
    for (const ReadableClass& c : readableClasses())
        if (c.key == key && c.create)
            return c.create();
    return nullptr;
}
