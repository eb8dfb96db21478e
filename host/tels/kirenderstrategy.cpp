#include "kirenderstrategy.h"

EM_CLASS_TYPE_DEFINE(kiRenderStrategyFrameGeometry, "kiRenderStrategyFrameGeometry",
                     olRenderStrategy::getStaticClassType())
