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
bool s_registered = false;
}

int registerApplicationTypes()
{
    if (s_registered)
        return telu::SUCCESS;
    akDebugTypeDef* base = Schema<EmBase>::def;
    akDebugTypeDef* geometry = Schema<AkGeometry>::add("akGeometry", nullptr, 0);
    Schema<AkPageable>::add("akPageable", nullptr, 0);
    Schema<AkPositionable>::add("akPositionable", nullptr, 0);
    Schema<AkCoordConverter>::add("akCoordConverter", Schema<EmMemBase>::def, ADDRESS_AND_REPEATS);
    akDebugTypeDef* geoRef = Schema<AkCoordConverterGeoRef>::add("akCoordConverter_GeoRef", base, 0);
    Schema<AkCoordSys>::add("akCoordSys", base, ALL);
    akDebugTypeDef* ellipsoid = Schema<AkCoordSysEllipsoid>::add("akCoordSys_Ellipsoid", base, 0);
    Schema<AkCoordSysProjection>::add("akCoordSys_Projection", base, 0);
    Schema<AkGeometryAttribute>::add("akGeometry_Attribute", base, 0);
    Schema<AkIsector>::add("akIsector", base, ALL);
    Schema<AkPositionableStrategy>::add("akPositionable_Strategy", base, 0);
    Schema<AkDOF>::add("akDOF", Schema<KiDOF>::def, ALL);
    Schema<AkLOD>::add("akLOD", Schema<KiLOD>::def, ALL);
    Schema<AkScene>::add("akScene", Schema<KiNode>::def, ALL);
    akDebugTypeDef* transform = Schema<AkTransform>::add("akTransform", Schema<KiTransform>::def, ALL);
    Schema<AkGeometryPageable>::add("akGeometryPageable", geometry, 0);
    Schema<AkCoordConverterGeoRefMatrix>::add("akCoordConverter_GeoRefMatrix", geoRef, ALL);
    Schema<AkCoordConverterGeoRefVec3>::add("akCoordConverter_GeoRefVec3", geoRef, ALL);
    Schema<AkCoordSysCustomSphere>::add("akCoordSys_CustomSphere", ellipsoid, ALL);
    Schema<AkCoordSysDefaultSphere>::add("akCoordSys_DefaultSphere", ellipsoid, ALL);
    Schema<AkLight>::add("akLight", transform, ALL);
    Schema<AkObject>::add("akObject", transform, ALL);
    s_registered = true;
    return telu::SUCCESS;
}

int removeApplicationTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    Schema<AkObject>::remove();
    Schema<AkLight>::remove();
    Schema<AkCoordSysDefaultSphere>::remove();
    Schema<AkCoordSysCustomSphere>::remove();
    Schema<AkCoordConverterGeoRefVec3>::remove();
    Schema<AkCoordConverterGeoRefMatrix>::remove();
    Schema<AkGeometryPageable>::remove();
    Schema<AkTransform>::remove();
    Schema<AkScene>::remove();
    Schema<AkLOD>::remove();
    Schema<AkDOF>::remove();
    Schema<AkPositionableStrategy>::remove();
    Schema<AkIsector>::remove();
    Schema<AkGeometryAttribute>::remove();
    Schema<AkCoordSysProjection>::remove();
    Schema<AkCoordSysEllipsoid>::remove();
    Schema<AkCoordSys>::remove();
    Schema<AkCoordConverterGeoRef>::remove();
    Schema<AkCoordConverter>::remove();
    Schema<AkPositionable>::remove();
    Schema<AkPageable>::remove();
    Schema<AkGeometry>::remove();
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
