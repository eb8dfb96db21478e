// Registration of the environment library's type definitions, in the order of the type table.
#include "akdebugenv.h"

namespace akdebugschema {

namespace {
bool s_registered = false;
}

int registerEnvironmentTypes()
{
    if (s_registered)
        return telu::SUCCESS;
    s_registered = true;
    return telu::SUCCESS;
}

int removeEnvironmentTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
