#include "content/contenttypes.h"

#include "content/images/imagetypes.h"
#include "content/objects/objectfactory.h"

#include <mutex>

void RegisterContentTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterObjectTypes();
        RegisterImageTypes();
    });
}
