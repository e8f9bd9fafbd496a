#include "resources/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initCompiledResources()
{
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(icons);
}

namespace appresources {

void Init()
{
    static const bool done = (initCompiledResources(), true);
    (void)done;
}

} // namespace appresources
