// Registration of the scene graph's type definitions, its cull records and channel bins among
// them, in the order of the type table.
#include "akdebugtels.h"

namespace akdebugschema {

namespace {

void addSceneGraphTypes(Registration& r)
{
    akDebugTypeDef* base = Schema<EmBase>::def;
    akDebugTypeDef* cullRecord = r.add<KiCullRecord>("kiCullRecord", nullptr, 0);
    r.add<KiChannelBin>("kiChannelBin", base, ALL);
    r.add<KiCullRecordFactory>("kiCullRecordFactory", base, 0);
    r.add<KiLightPointControl>("kiLightPoint_Control", base, ALL);
    akDebugTypeDef* filterBase = r.add<KiLODFilterBase>("kiLODFilterBase", base, 0);
    akDebugTypeDef* node = r.add<KiNode>("kiNode", base, ALL);
    r.add<KiRenderStrategyFrameGeometry>("kiRenderStrategyFrameGeometry", Schema<OlRenderStrategy>::def,
                                         ADDRESS_AND_REPEATS);
    r.add<KiGeometryBaseCullRecord>("kiGeometryBase_CullRecord", cullRecord, ALL);
    r.add<KiLightCullRecord>("kiLight_CullRecord", cullRecord, ALL);
    r.add<KiLightPointCullRecord>("kiLightPoint_CullRecord", cullRecord, ALL);
    r.add<KiLODFilter>("kiLODFilter", filterBase, ALL);
    r.add<KiLODFilterManual>("kiLODFilterManual", filterBase, ALL);
    r.add<KiAnimation>("kiAnimation", node, ALL);
    r.add<KiDecal>("kiDecal", node, ALL);
    r.add<KiDOF>("kiDOF", node, ALL);
    akDebugTypeDef* geometryBase = r.add<KiGeometryBase>("kiGeometryBase", node, 0);
    r.add<KiLight>("kiLight", node, ALL);
    r.add<KiLOD>("kiLOD", node, ALL);
    r.add<KiSwitch>("kiSwitch", node, ALL);
    akDebugTypeDef* transform = r.add<KiTransform>("kiTransform", node, ALL);
    r.add<KiGeometry>("kiGeometry", geometryBase, ALL);
    r.add<KiLightPoint>("kiLightPoint", geometryBase, ALL);
    r.add<KiString>("kiString", geometryBase, ALL);
    r.add<KiBillboard>("kiBillboard", transform, ALL);
}

}  // namespace

Registration sceneGraphTypes(addSceneGraphTypes);

}  // namespace akdebugschema
