// The scene graph's render strategy that draws the frame geometry of what it is applied to.
#pragma once

#include <olrenderstrategy.h>

class kiRenderStrategyFrameGeometry : public olRenderStrategy
{
    EM_CLASS_TYPE_DECLARE();
};
