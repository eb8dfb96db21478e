// Registration of the scene graph's type definitions, in the order of the type table.
#include "akdebugtels.h"

namespace akdebugschema {

namespace {
bool s_registered = false;
}

int registerSceneGraphTypes()
{
    if (s_registered)
        return telu::SUCCESS;
    akDebugTypeDef* base = Schema<EmBase>::def;
    akDebugTypeDef* cullRecord = Schema<KiCullRecord>::add("kiCullRecord", nullptr, 0);
    Schema<KiChannelBin>::add("kiChannelBin", base, ALL);
    Schema<KiCullRecordFactory>::add("kiCullRecordFactory", base, 0);
    Schema<KiLightPointControl>::add("kiLightPoint_Control", base, ALL);
    akDebugTypeDef* filterBase = Schema<KiLODFilterBase>::add("kiLODFilterBase", base, 0);
    akDebugTypeDef* node = Schema<KiNode>::add("kiNode", base, ALL);
    Schema<KiRenderStrategyFrameGeometry>::add("kiRenderStrategyFrameGeometry", Schema<OlRenderStrategy>::def,
                                               ADDRESS_AND_REPEATS);
    Schema<KiGeometryBaseCullRecord>::add("kiGeometryBase_CullRecord", cullRecord, ALL);
    Schema<KiLightCullRecord>::add("kiLight_CullRecord", cullRecord, ALL);
    Schema<KiLightPointCullRecord>::add("kiLightPoint_CullRecord", cullRecord, ALL);
    Schema<KiLODFilter>::add("kiLODFilter", filterBase, ALL);
    Schema<KiLODFilterManual>::add("kiLODFilterManual", filterBase, ALL);
    Schema<KiAnimation>::add("kiAnimation", node, ALL);
    Schema<KiDecal>::add("kiDecal", node, ALL);
    Schema<KiDOF>::add("kiDOF", node, ALL);
    akDebugTypeDef* geometryBase = Schema<KiGeometryBase>::add("kiGeometryBase", node, 0);
    Schema<KiLight>::add("kiLight", node, ALL);
    Schema<KiLOD>::add("kiLOD", node, ALL);
    Schema<KiSwitch>::add("kiSwitch", node, ALL);
    akDebugTypeDef* transform = Schema<KiTransform>::add("kiTransform", node, ALL);
    Schema<KiGeometry>::add("kiGeometry", geometryBase, ALL);
    Schema<KiLightPoint>::add("kiLightPoint", geometryBase, ALL);
    Schema<KiString>::add("kiString", geometryBase, ALL);
    Schema<KiBillboard>::add("kiBillboard", transform, ALL);
    s_registered = true;
    return telu::SUCCESS;
}

int removeSceneGraphTypes()
{
    if (!s_registered)
        return telu::SUCCESS;
    Schema<KiBillboard>::remove();
    Schema<KiString>::remove();
    Schema<KiLightPoint>::remove();
    Schema<KiGeometry>::remove();
    Schema<KiTransform>::remove();
    Schema<KiSwitch>::remove();
    Schema<KiLOD>::remove();
    Schema<KiLight>::remove();
    Schema<KiGeometryBase>::remove();
    Schema<KiDOF>::remove();
    Schema<KiDecal>::remove();
    Schema<KiAnimation>::remove();
    Schema<KiLODFilterManual>::remove();
    Schema<KiLODFilter>::remove();
    Schema<KiLightPointCullRecord>::remove();
    Schema<KiLightCullRecord>::remove();
    Schema<KiGeometryBaseCullRecord>::remove();
    Schema<KiRenderStrategyFrameGeometry>::remove();
    Schema<KiNode>::remove();
    Schema<KiLODFilterBase>::remove();
    Schema<KiLightPointControl>::remove();
    Schema<KiCullRecordFactory>::remove();
    Schema<KiChannelBin>::remove();
    Schema<KiCullRecord>::remove();
    s_registered = false;
    return telu::SUCCESS;
}

}  // namespace akdebugschema
