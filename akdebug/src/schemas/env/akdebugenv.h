// Schemas of the environment library: the environment effects (geometry nodes that draw
// themselves), the environment object and transform, and the cull records of the effects.
#pragma once

#include "akdebugapp.h"
#include "akdebugregistration.h"

#include <akenv.h>

namespace akdebugschema {

// ---- cull records ----
// Registered with base kiCullRecord; their fields follow those of the geometry cull record.

struct AkEnvCelestialCullRecord
{
    using Host = akEnvCelestial::CullRecord;
    using Base = KiGeometryBaseCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Geometry Enable", [&] { return h->geometryEnable; });
        io.object("Geometry", [&] { return h->bodyGeometry; });
        io.value("Light Enable", [&] { return h->lightEnable; });
        io.object("Light Model View Transform Element", [&] { return h->lightModelViewTransformElement; });
        io.object("Light", [&] { return h->light; });
        io.value("Transform Texture", [&] { return h->transformTexture; });
        io.object("Texture Transform Element", [&] { return h->textureTransformElement; });
    }
};

struct AkEnvCloudLayerCullRecord
{
    using Host = akEnvCloudLayer::CullRecord;
    using Base = KiGeometryBaseCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Texture Transform Element", [&] { return h->textureTransformElement; });
        io.object("Geometry", [&] { return h->layerGeometry; });
    }
};

struct AkEnvCloudVolumeCullRecord
{
    using Host = akEnvCloudVolume::CullRecord;
    using Base = KiGeometryBaseCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Number of Puffs", [&] { return h->numPuffs; });
        io.object("Cloud Geometry", [&] { return h->cloudGeometry; });
        io.value("Rain Shaft Enable", [&] { return h->rainShaftEnable; });
        io.object("Rain Shaft Geometry", [&] { return h->rainShaftGeometry; });
        io.object("Rain Shaft Texture Element", [&] { return h->rainShaftTextureElement; });
        io.object("Rain Shaft Texture Blend Element", [&] { return h->rainShaftTextureBlendElement; });
        io.value("Lightning Enable", [&] { return h->lightningEnable; });
        io.object("Lightning Geometry", [&] { return h->lightningGeometry; });
        io.object("Lightning Texture Element", [&] { return h->lightningTextureElement; });
        io.object("Lightning Texture Blend Element", [&] { return h->lightningTextureBlendElement; });
        io.object("Axial Model View Element", [&] { return h->axialModelViewElement; });
    }
};

struct AkEnvSkyDomeCullRecord
{
    using Host = akEnvSkyDome::CullRecord;
    using Base = KiGeometryBaseCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Sky Geometry", [&] { return h->skyGeometry; });
        io.value("Ground Enable", [&] { return h->groundEnable; });
        io.object("Ground Geometry", [&] { return h->groundGeometry; });
    }
};

struct AkEnvStarsCullRecord
{
    using Host = akEnvStars::CullRecord;
    using Base = KiGeometryBaseCullRecord;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.object("Geometry", [&] { return h->starGeometry; });
    }
};

// ---- the environment, its transform and its effects ----

struct AkEnvFx
{
    using Host = akEnvFx;
    using Base = KiGeometryBase;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Enable", [&] { return h->getEnable(); });
    }
};

struct AkEnvTransform : NoFields
{
    using Host = akEnvTransform;
    using Base = KiNode;
};

struct AkEnv : NoFields
{
    using Host = akEnv;
    using Base = EmBase;
};

struct AkEnvCelestial
{
    using Host = akEnvCelestial;
    using Base = AkEnvFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Geometry Enable", [&] { return h->getGeometryEnable(); });
        io.value("Visibility Range", [&] { return h->getVisibilityRange(); });
        io.value("Angular Size", [&] { return h->getAngularSize(); });
        io.value("Horizon Angle", [&] { return h->getHorizonAngle(); });
        io.value("Horizon Size Scale", [&] { return h->getHorizonSizeScale(); });
        io.value("Horizon Light Color Scale", [&] { return h->getHorizonLightColorScale(); });
        io.vector(RGBA, "Color", [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); });
        io.vector(RGBA, "Horizon Color", [&](float* v) { h->getHorizonColor(&v[0], &v[1], &v[2], &v[3]); });
        io.string("Texture File", [&] { return h->getTextureFile(); });
        io.enumeration("Texture Blend Mode", [&] { return h->getTextureBlendMode(); });
        io.vector(RGBA, "Texture Blend Color", [&](float* v) { h->getTextureBlendColor(&v[0], &v[1], &v[2], &v[3]); });
        io.values(
            {"Position, Longitude", "Position, Latitude"}, [&](float* v) { h->getPosition(&v[0], &v[1]); }, ADVANCED);
        io.value(
            "Radius", [&] { return h->getRadius(); }, ADVANCED);
        io.value(
            "Orbit", [&] { return h->getOrbit(); }, ADVANCED);
    }
};

struct AkEnvCloudLayer
{
    using Host = akEnvCloudLayer;
    using Base = AkEnvFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.vector(RGBA, "Color", [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); });
        io.values({"Elevation, Bottom", "Elevation, Top"}, [&](float* v) { h->getElevation(&v[0], &v[1]); });
        io.values({"Transition Range, Bottom", "Transition Range, Top"},
                  [&](float* v) { h->getTransitionRange(&v[0], &v[1]); });
        io.value("Scud Enable", [&] { return h->getScudEnable(); });
        io.values({"Texture Tiling, X", "Texture Tiling, Y"}, [&](float* v) { h->getTextureTiling(&v[0], &v[1]); });
        io.value("Minimum Visibility Scale", [&] { return h->getMinVisibilityScale(); });
        io.value("Horizon Color Scale", [&] { return h->getHorizonColorScale(); });
        io.string("Texture File", [&] { return h->getTextureFile(); });
        io.enumeration("Texture Blend Mode", [&] { return h->getTextureBlendMode(); });
        io.vector(RGBA, "Texture Blend Color", [&](float* v) { h->getTextureBlendColor(&v[0], &v[1], &v[2], &v[3]); });
    }
};

// The rain shaft shows the cloud's colour and texture blend colour, which are written again for it.
struct AkEnvCloudVolume
{
    using Host = akEnvCloudVolume;
    using Base = AkEnvFx;
    using Second = AkPositionable;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        auto color = [&](float* v) { h->getColor(&v[0], &v[1], &v[2], &v[3]); };
        auto blendColor = [&](float* v) { h->getTextureBlendColor(&v[0], &v[1], &v[2], &v[3]); };
        io.value("Number of Puffs", [&] { return h->getNumPuffs(); });
        io.value("Random Seed", [&] { return h->getRandomSeed(); });
        io.value("Proximity Scale", [&] { return h->getProximityScale(); });
        io.value("Puff Height Ratio", [&] { return h->getPuffHeightRatio(); });
        io.values({"Puff Size Limits, Minimum", "Puff Size Limits, Maximum"},
                  [&](float* v) { h->getPuffSizeLimits(&v[0], &v[1]); });
        io.box("Box", [&] { return h->getBox(); });
        io.list(
            "LOD Ranges", 16, [&] { return h->getNumLODRanges(); },
            [&](int i) {
                auto range = [&](int which) {
                    double v[2];
                    h->getLODRange(i, &v[0], &v[1]);
                    return v[which];
                };
                io.group(io.index(i), [&] {
                    io.value("Visibility", [&] { return range(0); });
                    io.value("Transition", [&] { return range(1); });
                });
            });
        io.vector(RGBA, "Color", color);
        io.string("Texture File", [&] { return h->getTextureFile(); });
        io.enumeration("Texture Blend Mode", [&] { return h->getTextureBlendMode(); });
        io.vector(RGBA, "Texture Blend Color", blendColor);
        io.value("Rain Shaft Enable", [&] { return h->getRainShaftEnable(); });
        io.vector(RGBA, "Rain Shaft Color", color);
        io.value("Rain Shaft Width", [&] { return h->getRainShaftWidth(); });
        io.vector(XYZ, "Rain Shaft Offset", [&](float* v) { h->getRainShaftOffset(&v[0], &v[1], &v[2]); });
        io.string("Rain Shaft Texture File", [&] { return h->getRainShaftTextureFile(); });
        io.enumeration("Rain Shaft Texture Blend Mode", [&] { return h->getRainShaftTextureBlendMode(); });
        io.vector(RGBA, "Rain Shaft Texture Blend Color", blendColor);
        io.value("Transition Range", [&] { return h->getTransitionRange(); });
        io.value("Lightning Severity", [&] { return h->getLightningSeverity(); });
        io.value("Intra-cloud Lightning Severity", [&] { return h->getIntraCloudLightningSeverity(); });
        io.value("Minimum Visibility Scale", [&] { return h->getMinVisibilityScale(); });
        io.value("Horizon Color Scale", [&] { return h->getHorizonColorScale(); });
        io.value("Minimum Billboarding Range", [&] { return static_cast<float>(h->getMinBillboardingRange()); });
        io.value("Point Billboarding Range", [&] { return static_cast<float>(h->getPointBillboardingRange()); });
        io.object("Position Reference", Schema<AkPositionable>::def, [&] { return h->getPositionReference(); });
        io.object("Coordinate Converter", [&] { return h->getCoordConverter(); });
    }
};

// Rows 0 to 6 of the dome.
inline constexpr const char* s_skyDomeVisibilityRangeNames[akEnvSkyDome::NUM_ROWS] = {
    "Visibility Range, Row 0", "Visibility Range, Row 1", "Visibility Range, Row 2", "Visibility Range, Row 3",
    "Visibility Range, Row 4", "Visibility Range, Row 5", "Visibility Range, Row 6"};

struct AkEnvSkyDome
{
    using Host = akEnvSkyDome;
    using Base = AkEnvFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Ground Enable", [&] { return h->getGroundEnable(); });
        io.vector(RGBA, "Ground Color", [&](float* v) { h->getGroundColor(&v[0], &v[1], &v[2], &v[3]); });
        for (int row = 0; row < akEnvSkyDome::NUM_ROWS; ++row)
            io.value(s_skyDomeVisibilityRangeNames[row], [&] { return h->getVisibilityRange(row); });
    }
};

struct AkEnvStars
{
    using Host = akEnvStars;
    using Base = AkEnvFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Intensity Threshold", [&] { return h->getIntensityThreshold(); });
        io.values({"Brightness Threshold, Onset", "Brightness Threshold, Opaque"},
                  [&](float* v) { h->getBrightnessThreshold(&v[0], &v[1]); });
        io.value("Visibility Range", [&] { return h->getVisibilityRange(); });
        io.value("Point Size", [&] { return h->getPointSize(); });
    }
};

struct AkEnvWind
{
    using Host = akEnvWind;
    using Base = AkEnvFx;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Speed", [&] { return h->getSpeed(); });
        io.vector(XYZ, "Direction", [&](float* v) { h->getDirection(&v[0], &v[1], &v[2]); });
        io.object("Coordinate Converter", [&] { return h->getCoordConverter(); });
    }
};

struct AkEnvMoon
{
    using Host = akEnvMoon;
    using Base = AkEnvCelestial;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Brightness", [&] { return h->getBrightness(); });
        io.value(
            "Phase", [&] { return h->getPhase(); }, ADVANCED);
    }
};

struct AkEnvSun
{
    using Host = akEnvSun;
    using Base = AkEnvCelestial;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.value("Twilight Dip", [&] { return h->getTwilightDip(); });
    }
};

struct AkEnvWindLayer
{
    using Host = akEnvWindLayer;
    using Base = AkEnvWind;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.values({"Elevation, Bottom", "Elevation, Top"}, [&](float* v) { h->getElevation(&v[0], &v[1]); });
    }
};

struct AkEnvWindVolume
{
    using Host = akEnvWindVolume;
    using Base = AkEnvWind;
    using Second = AkPositionable;
    template <class Io>
    static void fields(Io& io, const Host* h)
    {
        io.box("Box", [&] { return h->getBox(); });
        io.object("Position Reference", Schema<AkPositionable>::def, [&] { return h->getPositionReference(); });
    }
};

// The type definitions of the environment library.
extern Registration environmentTypes;

}  // namespace akdebugschema
