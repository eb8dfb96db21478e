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
    akDebugTypeDef* cullRecord = Schema<KiCullRecord>::def;
    Schema<AkEnvCelestialCullRecord>::add("akEnvCelestial_CullRecord", cullRecord, ALL);
    Schema<AkEnvCloudLayerCullRecord>::add("akEnvCloudLayer_CullRecord", cullRecord, ALL);
    Schema<AkEnvCloudVolumeCullRecord>::add("akEnvCloudVolume_CullRecord", cullRecord, ALL);
    Schema<AkEnvSkyDomeCullRecord>::add("akEnvSkyDome_CullRecord", cullRecord, ALL);
    Schema<AkEnvStarsCullRecord>::add("akEnvStars_CullRecord", cullRecord, ALL);
    akDebugTypeDef* fx = Schema<AkEnvFx>::add("akEnvFx", Schema<KiGeometryBase>::def, 0);
    Schema<AkEnvTransform>::add("akEnvTransform", Schema<KiNode>::def, 0);
    Schema<AkEnv>::add("akEnv", Schema<EmBase>::def, ALL);
    akDebugTypeDef* celestial = Schema<AkEnvCelestial>::add("akEnvCelestial", fx, 0);
    Schema<AkEnvCloudLayer>::add("akEnvCloudLayer", fx, ALL);
    Schema<AkEnvCloudVolume>::add("akEnvCloudVolume", fx, ALL);
    Schema<AkEnvSkyDome>::add("akEnvSkyDome", fx, ALL);
    Schema<AkEnvStars>::add("akEnvStars", fx, ALL);
    akDebugTypeDef* wind = Schema<AkEnvWind>::add("akEnvWind", fx, ALL);
    Schema<AkEnvMoon>::add("akEnvMoon", celestial, ALL);
    Schema<AkEnvSun>::add("akEnvSun", celestial, ALL);
    Schema<AkEnvWindLayer>::add("akEnvWindLayer", wind, ALL);
    Schema<AkEnvWindVolume>::add("akEnvWindVolume", wind, ALL);
    s_registered = true;
    return telu::SUCCESS;
}

int removeEnvironmentTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    Schema<AkEnvWindVolume>::remove();
    Schema<AkEnvWindLayer>::remove();
    Schema<AkEnvSun>::remove();
    Schema<AkEnvMoon>::remove();
    Schema<AkEnvWind>::remove();
    Schema<AkEnvStars>::remove();
    Schema<AkEnvSkyDome>::remove();
    Schema<AkEnvCloudVolume>::remove();
    Schema<AkEnvCloudLayer>::remove();
    Schema<AkEnvCelestial>::remove();
    Schema<AkEnv>::remove();
    Schema<AkEnvTransform>::remove();
    Schema<AkEnvFx>::remove();
    Schema<AkEnvStarsCullRecord>::remove();
    Schema<AkEnvSkyDomeCullRecord>::remove();
    Schema<AkEnvCloudVolumeCullRecord>::remove();
    Schema<AkEnvCloudLayerCullRecord>::remove();
    Schema<AkEnvCelestialCullRecord>::remove();
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
