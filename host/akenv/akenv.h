// The environment library (stand-in): the environment object and its effects (sun, moon, stars,
// sky dome, cloud layers and volumes, wind, wind layers and volumes), the node that carries them,
// and the cull records the effects hand to the renderer.
#pragma once

#include "akenvclouds.h"
#include "akenvcullrecord.h"
#include "akenvfx.h"
#include "akenvsky.h"
#include "akenvwind.h"
