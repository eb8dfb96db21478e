// Schemas of the effects library.
#pragma once

#include "akdebugapp.h"

#include <akfx.h>

namespace akdebugschema {

int registerEffectsTypes();
int removeEffectsTypes();

}  // namespace akdebugschema
