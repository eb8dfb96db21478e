// The application library (stand-in): modules and the module loader, the application's nodes,
// geometry containers, positionable objects, intersectors, coordinate systems and converters.
#pragma once

#include "akcoord.h"
#include "akgeometry.h"
#include "akmodule.h"
#include "aknodes.h"
#include "akpositionable.h"
