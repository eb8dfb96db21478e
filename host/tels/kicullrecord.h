// What the cull pass hands to the renderer: cull records (plain structures with public fields),
// their kinds for geometry, lights and light points, and the cull record factory.
#pragma once

#include "kigeometry.h"
#include "kinodes.h"

#include <olelement.h>  // olTransform::ElementModelView

class olState;
class olGeometryBase;
class olLight;
class olChannel;
class olFog;
class kiChannelBin;
class kiCullRecordFactory;

// Root of the cull records. Pointers are not owned.
class kiCullRecord : public virtual emClassObject
{
    EM_CLASS_TYPE_DECLARE();

public:
    enum Option : int {
        OPTION_SET_MATRIX = 0x1,
        OPTION_SET_STATE = 0x2,
        OPTION_TRANSPARENT = 0x4,
        OPTION_NORMALIZE = 0x8,
        OPTION_INVERT_MULTISAMPLE_COVERAGE = 0x10,
        OPTION_PARTITION = 0x20,
        OPTION_EMISSIVE = 0x40,
        OPTION_BLENDED = 0x80
    };

    ~kiCullRecord() override = default;

    unsigned int options = 0;  // Option bits
    int channelId = 0;
    int decalOffset = 0;
    float multiSampleCoverage = 1.0f;
    float depth = 0.0f;
    const olState* state = nullptr;
    const emBase* primarySortObject = nullptr;
    const emBase* secondarySortObject = nullptr;
    const olTransform::ElementModelView* modelViewTransformElement = nullptr;
    const kiCullRecordFactory* cullRecordFactory = nullptr;
};

class kiGeometryBase::CullRecord : public kiCullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    const olGeometryBase* geometry = nullptr;
};

class kiLight::CullRecord : public kiCullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    const olLight* light = nullptr;
};

// A batch of light points. The record owns its four arrays: allocateLightPoints makes them (zeroed)
// and sets numLightPoints; the destructor frees them. numLightPoints must not exceed the count
// last allocated. `vertices` is null when the light points take their positions from the geometry.
class kiLightPoint::CullRecord : public kiGeometryBase::CullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    CullRecord() = default;
    ~CullRecord() override;
    CullRecord(const CullRecord&) = delete;
    CullRecord& operator=(const CullRecord&) = delete;

    // Frees the arrays and makes new ones for `count` light points (none for count <= 0), with a
    // vertex array only when `withVertices` is true.
    void allocateLightPoints(int count, bool withVertices);
    void freeLightPoints();

    bool animate = false;
    bool enable = true;
    bool render = true;
    bool disableLODs = false;
    int numLightPoints = 0;
    double time = 0.0;
    double enableTime = 0.0;
    float intensity = 1.0f;
    float nearPixelDistance = 0.0f;
    unsigned short* indices = nullptr;
    float* sizes = nullptr;
    emVec4<float>* colors = nullptr;
    emVec3<float>* vertices = nullptr;
    emMatrix<double> viewMatrix = emMatrix<double>::identity();
    emMatrix<double> modelMatrix = emMatrix<double>::identity();
    const olChannel* channel = nullptr;
    const olFog* fog = nullptr;
    const kiChannelBin* asynchronousChannelBin = nullptr;
};

// Makes the cull records of a node kind; the stand-in only identifies it.
class kiCullRecordFactory : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit kiCullRecordFactory(const char* name = nullptr) : emBase(name) {}
};
