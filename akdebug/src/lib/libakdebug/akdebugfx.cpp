// Registration of the effects library's type definitions, in the order of the type table.
#include "akdebugfx.h"

namespace akdebugschema {

namespace {
bool s_registered = false;
}

int registerEffectsTypes()
{
    if (s_registered)
        return telu::SUCCESS;
    s_registered = true;
    return telu::SUCCESS;
}

int removeEffectsTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
