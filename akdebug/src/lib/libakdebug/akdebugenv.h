// Schemas of the environment library.
#pragma once

#include "akdebugapp.h"

#include <akenv.h>

namespace akdebugschema {

int registerEnvironmentTypes();
int removeEnvironmentTypes();

}  // namespace akdebugschema
