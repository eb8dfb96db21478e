#include "akenv.h"

EM_CLASS_TYPE_DEFINE(akEnv, "akEnv", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvTransform, "akEnvTransform", kiNode::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvFx, "akEnvFx", kiGeometryBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvCelestial, "akEnvCelestial", akEnvFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvMoon, "akEnvMoon", akEnvCelestial::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvSun, "akEnvSun", akEnvCelestial::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvStars, "akEnvStars", akEnvFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvSkyDome, "akEnvSkyDome", akEnvFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvCloudLayer, "akEnvCloudLayer", akEnvFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvCloudVolume, "akEnvCloudVolume", akEnvFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvWind, "akEnvWind", akEnvFx::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvWindLayer, "akEnvWindLayer", akEnvWind::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvWindVolume, "akEnvWindVolume", akEnvWind::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvCelestial::CullRecord, "akEnvCelestial::CullRecord",
                     kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvCloudLayer::CullRecord, "akEnvCloudLayer::CullRecord",
                     kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvCloudVolume::CullRecord, "akEnvCloudVolume::CullRecord",
                     kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvSkyDome::CullRecord, "akEnvSkyDome::CullRecord",
                     kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(akEnvStars::CullRecord, "akEnvStars::CullRecord", kiGeometryBase::CullRecord::getStaticClassType())

void akEnvCloudVolume::getLODRange(int i, double* visibility, double* transition) const
{
    const bool known = i >= 0 && i < getNumLODRanges();
    *visibility = known ? m_lodRanges[i].first : 0.0;
    *transition = known ? m_lodRanges[i].second : 0.0;
}
