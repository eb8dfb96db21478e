#include "kicullrecord.h"

EM_CLASS_TYPE_DEFINE(kiCullRecord, "kiCullRecord", nullptr)
EM_CLASS_TYPE_DEFINE(kiGeometryBase::CullRecord, "kiGeometryBase::CullRecord", kiCullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLight::CullRecord, "kiLight::CullRecord", kiCullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiLightPoint::CullRecord, "kiLightPoint::CullRecord",
                     kiGeometryBase::CullRecord::getStaticClassType())
EM_CLASS_TYPE_DEFINE(kiCullRecordFactory, "kiCullRecordFactory", emBase::getStaticClassType())

kiLightPoint::CullRecord::~CullRecord() { freeLightPoints(); }

void kiLightPoint::CullRecord::freeLightPoints()
{
    delete[] indices;
    delete[] sizes;
    delete[] colors;
    delete[] vertices;
    indices = nullptr;
    sizes = nullptr;
    colors = nullptr;
    vertices = nullptr;
    numLightPoints = 0;
}

void kiLightPoint::CullRecord::allocateLightPoints(int count, bool withVertices)
{
    freeLightPoints();
    if (count <= 0)
        return;
    indices = new unsigned short[count]();
    sizes = new float[count]();
    colors = new emVec4<float>[count];
    if (withVertices)
        vertices = new emVec3<float>[count];
    numLightPoints = count;
}
