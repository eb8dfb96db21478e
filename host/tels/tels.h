// tels: the host's scene-graph library (stand-in). Nodes and their kinds, level-of-detail filters,
// light-point controls, cull records, channel bins, the channel with its debug hook and frame
// driver, and the host's frame number.
#pragma once

#include "kichannel.h"
#include "kicullrecord.h"
#include "kigeometry.h"
#include "kinode.h"
#include "kinodes.h"
#include "kirenderstrategy.h"
#include "kitransform.h"
