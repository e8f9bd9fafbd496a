#include "content/images/imagetypes.h"

#include "content/images/graphimage.h"
#include "content/images/ole1.h"
#include "content/objects/objectfactory.h"

void RegisterImageTypes()
{
    RegisterGraphObjectType(kKeyImageExt, CreateGraphObject<CGraphImageExt>);
    RegisterGraphObjectType(kKeyImageExtExt, CreateGraphObject<CGraphImageExtExt>);
    RegisterGraphObjectType(kKeyOLE1, CreateGraphObject<CGraphOLE1>);
}
