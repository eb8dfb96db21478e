// What the environment effects hand to the renderer: geometry cull records with the drawables and
// elements of each effect (plain structures with public fields). Pointers are not owned. Each
// record's own geometry fields are distinct from kiGeometryBase::CullRecord::geometry.
#pragma once

#include "akenvclouds.h"
#include "akenvsky.h"

class akEnvCelestial::CullRecord : public kiGeometryBase::CullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    bool geometryEnable = true;
    const olGeometry* bodyGeometry = nullptr;
    bool lightEnable = true;
    const olTransform::ElementModelView* lightModelViewTransformElement = nullptr;
    const olLight* light = nullptr;
    bool transformTexture = false;
    const olTransform::ElementTexture* textureTransformElement = nullptr;
};

class akEnvCloudLayer::CullRecord : public kiGeometryBase::CullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    const olTransform::ElementTexture* textureTransformElement = nullptr;
    const olGeometry* layerGeometry = nullptr;
};

class akEnvCloudVolume::CullRecord : public kiGeometryBase::CullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    int numPuffs = 0;
    const olGeometry* cloudGeometry = nullptr;
    bool rainShaftEnable = false;
    const olGeometry* rainShaftGeometry = nullptr;
    const olTexture::Element* rainShaftTextureElement = nullptr;
    const olTextureBlend::Element* rainShaftTextureBlendElement = nullptr;
    bool lightningEnable = false;
    const olGeometry* lightningGeometry = nullptr;
    const olTexture::Element* lightningTextureElement = nullptr;
    const olTextureBlend::Element* lightningTextureBlendElement = nullptr;
    // Turns the puffs and the rain shaft about the volume's vertical axis.
    const olTransform::ElementModelView* axialModelViewElement = nullptr;
};

class akEnvSkyDome::CullRecord : public kiGeometryBase::CullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    const olGeometry* skyGeometry = nullptr;
    bool groundEnable = true;
    const olGeometry* groundGeometry = nullptr;
};

class akEnvStars::CullRecord : public kiGeometryBase::CullRecord
{
    EM_CLASS_TYPE_DECLARE();

public:
    const olGeometry* starGeometry = nullptr;
};
