// telr: the host's render library (stand-in). Render state (elements, the state container, state
// objects), what is drawn (draw-function data, geometry, fonts, render strategies), the draw
// context, the channel and the window's pixel buffers, and the names of the enumeration values.
#pragma once

#include <olchannel.h>
#include <olelement.h>
#include <olfont.h>
#include <olgeometry.h>
#include <olnames.h>
#include <olrenderstrategy.h>
#include <olstate.h>
#include <olstateobjects.h>
