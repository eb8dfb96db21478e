// Registration of the environment library's type definitions, in the order of the type table.
#include "akdebugenv.h"

namespace akdebugschema {

namespace {

void addEnvironmentTypes(Registration& r)
{
    akDebugTypeDef* cullRecord = Schema<KiCullRecord>::def;
    r.add<AkEnvCelestialCullRecord>("akEnvCelestial_CullRecord", cullRecord, ALL);
    r.add<AkEnvCloudLayerCullRecord>("akEnvCloudLayer_CullRecord", cullRecord, ALL);
    r.add<AkEnvCloudVolumeCullRecord>("akEnvCloudVolume_CullRecord", cullRecord, ALL);
    r.add<AkEnvSkyDomeCullRecord>("akEnvSkyDome_CullRecord", cullRecord, ALL);
    r.add<AkEnvStarsCullRecord>("akEnvStars_CullRecord", cullRecord, ALL);
    akDebugTypeDef* fx = r.add<AkEnvFx>("akEnvFx", Schema<KiGeometryBase>::def, 0);
    r.add<AkEnvTransform>("akEnvTransform", Schema<KiNode>::def, 0);
    r.add<AkEnv>("akEnv", Schema<EmBase>::def, ALL);
    akDebugTypeDef* celestial = r.add<AkEnvCelestial>("akEnvCelestial", fx, 0);
    r.add<AkEnvCloudLayer>("akEnvCloudLayer", fx, ALL);
    r.add<AkEnvCloudVolume>("akEnvCloudVolume", fx, ALL);
    r.add<AkEnvSkyDome>("akEnvSkyDome", fx, ALL);
    r.add<AkEnvStars>("akEnvStars", fx, ALL);
    akDebugTypeDef* wind = r.add<AkEnvWind>("akEnvWind", fx, ALL);
    r.add<AkEnvMoon>("akEnvMoon", celestial, ALL);
    r.add<AkEnvSun>("akEnvSun", celestial, ALL);
    r.add<AkEnvWindLayer>("akEnvWindLayer", wind, ALL);
    r.add<AkEnvWindVolume>("akEnvWindVolume", wind, ALL);
}

}  // namespace

Registration environmentTypes(addEnvironmentTypes);

}  // namespace akdebugschema
