// Registration of the application library's type definitions, in the order of the type table.
#include "akdebugapp.h"

int akDebugManualChild::getValueString(char* buffer) const
{
    if (getValue() == akObject::MANUAL_LOD_OFF)
        return std::snprintf(buffer, s_stringBufferSize, "MANUAL_LOD_OFF");
    return akDebugAttribute<int>::getValueString(buffer);
}

namespace akdebugschema {

namespace {

void addApplicationTypes(Registration& r)
{
    akDebugTypeDef* base = Schema<EmBase>::def;
    akDebugTypeDef* geometry = r.add<AkGeometry>("akGeometry", nullptr, 0);
    r.add<AkPageable>("akPageable", nullptr, 0);
    r.add<AkPositionable>("akPositionable", nullptr, 0);
    r.add<AkCoordConverter>("akCoordConverter", Schema<EmMemBase>::def, ADDRESS_AND_REPEATS);
    akDebugTypeDef* geoRef = r.add<AkCoordConverterGeoRef>("akCoordConverter_GeoRef", base, 0);
    r.add<AkCoordSys>("akCoordSys", base, ALL);
    akDebugTypeDef* ellipsoid = r.add<AkCoordSysEllipsoid>("akCoordSys_Ellipsoid", base, 0);
    r.add<AkCoordSysProjection>("akCoordSys_Projection", base, 0);
    r.add<AkGeometryAttribute>("akGeometry_Attribute", base, 0);
    r.add<AkIsector>("akIsector", base, ALL);
    r.add<AkPositionableStrategy>("akPositionable_Strategy", base, 0);
    r.add<AkDOF>("akDOF", Schema<KiDOF>::def, ALL);
    r.add<AkLOD>("akLOD", Schema<KiLOD>::def, ALL);
    r.add<AkScene>("akScene", Schema<KiNode>::def, ALL);
    akDebugTypeDef* transform = r.add<AkTransform>("akTransform", Schema<KiTransform>::def, ALL);
    r.add<AkGeometryPageable>("akGeometryPageable", geometry, 0);
    r.add<AkCoordConverterGeoRefMatrix>("akCoordConverter_GeoRefMatrix", geoRef, ALL);
    r.add<AkCoordConverterGeoRefVec3>("akCoordConverter_GeoRefVec3", geoRef, ALL);
    r.add<AkCoordSysCustomSphere>("akCoordSys_CustomSphere", ellipsoid, ALL);
    r.add<AkCoordSysDefaultSphere>("akCoordSys_DefaultSphere", ellipsoid, ALL);
    r.add<AkLight>("akLight", transform, ALL);
    r.add<AkObject>("akObject", transform, ALL);
}

}  // namespace

Registration applicationTypes(addApplicationTypes);

}  // namespace akdebugschema
