// Environment schemas: every type written and read back level by level, the two host bases of the
// volumes and their position references, LOD ranges, the rain shaft, and the fixed layouts at the
// end of a few records.
#include "levelsupport.h"

#include <akdebugenv.h>

#include <memory>

using namespace schemasupport;
using namespace levelsupport;

namespace {

// The file address of a host object: that of its one emClassObject, which every base shares.
std::string addressOf(const emClassObject* object) { return hexOf(object); }

bool set(Level& out, Rows rows, Rows shared = {})
{
    out = Level{"", std::move(rows), std::move(shared)};
    return true;
}

// The environment levels, with the objects their references point at.
class EnvironmentLevels : public LevelFiller
{
public:
    bool fill(const std::string& level, emClassObject* object, const Flags& on, Level& out) override;

    olGeometry geometry[3];
    olLight light{"light"};
    olTransform::ElementModelView modelView;
    olTransform::ElementTexture textureMatrix;
    olTexture::Element texture[2];
    olTextureBlend::Element textureBlend[2];
    akCoordConverter converter;  // of the effects themselves, not of their positionable side
    akPositionable positionReference;
};

bool EnvironmentLevels::fill(const std::string& level, emClassObject* o, const Flags& on, Level& out)
{
    const auto g = [&](int i) { return "olGeometry * = " + hexOf(&geometry[i]); };
    if (level == "akEnvCelestial::CullRecord") {
        auto* c = dynamic_cast<akEnvCelestial::CullRecord*>(o);
        c->geometryEnable = on[0];
        c->bodyGeometry = &geometry[0];
        c->lightEnable = on[1];
        c->lightModelViewTransformElement = &modelView;
        c->light = &light;
        c->transformTexture = on[2];
        c->textureTransformElement = &textureMatrix;
        return set(out,
                   {"Geometry Enable: bool = " + on(0), "Geometry: " + g(0), "Light Enable: bool = " + on(1),
                    "Light Model View Transform Element: olTransform::ElementModelView = ",
                    "Light: olLight * = " + hexOf(&light), "Transform Texture: bool = " + on(2),
                    "Texture Transform Element: olTransform::ElementTexture = "});
    }
    if (level == "akEnvCloudLayer::CullRecord") {
        auto* c = dynamic_cast<akEnvCloudLayer::CullRecord*>(o);
        c->textureTransformElement = &textureMatrix;
        c->layerGeometry = &geometry[0];
        return set(out, {"Texture Transform Element: olTransform::ElementTexture = ", "Geometry: " + g(0)});
    }
    if (level == "akEnvCloudVolume::CullRecord") {
        auto* c = dynamic_cast<akEnvCloudVolume::CullRecord*>(o);
        c->numPuffs = 12;
        c->cloudGeometry = &geometry[0];
        c->rainShaftEnable = on[0];
        c->rainShaftGeometry = &geometry[1];
        c->rainShaftTextureElement = &texture[0];
        c->rainShaftTextureBlendElement = &textureBlend[0];
        c->lightningEnable = on[1];
        c->lightningGeometry = &geometry[2];
        c->lightningTextureElement = &texture[1];
        c->lightningTextureBlendElement = &textureBlend[1];
        c->axialModelViewElement = &modelView;
        return set(out,
                   {"Number of Puffs: int = 12", "Cloud Geometry: " + g(0), "Rain Shaft Enable: bool = " + on(0),
                    "Rain Shaft Geometry: " + g(1), "Rain Shaft Texture Element: olTexture::Element = ",
                    "Rain Shaft Texture Blend Element: olTextureBlend::Element = ", "Lightning Enable: bool = " + on(1),
                    "Lightning Geometry: " + g(2), "Lightning Texture Element: olTexture::Element = ",
                    "Lightning Texture Blend Element: olTextureBlend::Element = ",
                    "Axial Model View Element: olTransform::ElementModelView = "});
    }
    if (level == "akEnvSkyDome::CullRecord") {
        auto* c = dynamic_cast<akEnvSkyDome::CullRecord*>(o);
        c->skyGeometry = &geometry[0];
        c->groundEnable = on[0];
        c->groundGeometry = &geometry[1];
        return set(out, {"Sky Geometry: " + g(0), "Ground Enable: bool = " + on(0), "Ground Geometry: " + g(1)});
    }
    if (level == "akEnvStars::CullRecord") {
        dynamic_cast<akEnvStars::CullRecord*>(o)->starGeometry = &geometry[0];
        return set(out, {"Geometry: " + g(0)});
    }
    if (level == "akEnvFx") {
        dynamic_cast<akEnvFx*>(o)->setEnable(on[0]);
        return set(out, {"Enable: bool = " + on(0)});
    }
    if (level == "akEnvCelestial") {
        auto* c = dynamic_cast<akEnvCelestial*>(o);
        c->setGeometryEnable(on[0]);
        c->setVisibilityRange(5000);
        c->setAngularSize(0.75f);
        c->setHorizonAngle(2.5f);
        c->setHorizonSizeScale(1.5f);
        c->setHorizonLightColorScale(0.25f);
        c->setColor(0.9f, 0.8f, 0.7f, 0.6f);
        c->setHorizonColor(0.5f, 0.4f, 0.3f, 0.2f);
        c->setTextureFile("sky/body.rgb");
        c->setTextureBlendMode(akEnvFx::TEXTURE_BLEND_MODE_BLEND);
        c->setTextureBlendColor(0.1f, 0.2f, 0.3f, 0.4f);
        c->setPosition(12.5f, -30.25f);
        c->setRadius(1500.5);
        c->setOrbit(2500.25);
        return set(out,
                   {"Geometry Enable: bool = " + on(0), "Visibility Range: float = 5000", "Angular Size: float = 0.75",
                    "Horizon Angle: float = 2.5", "Horizon Size Scale: float = 1.5",
                    "Horizon Light Color Scale: float = 0.25", "Color: emVec4<float> = r=0.9, g=0.8, b=0.7, a=0.6",
                    "Horizon Color: emVec4<float> = r=0.5, g=0.4, b=0.3, a=0.2",
                    "Texture File: emString = \"sky/body.rgb\"",
                    "Texture Blend Mode: akEnvFx::TextureBlendMode = TEXTURE_BLEND_MODE_BLEND",
                    "Texture Blend Color: emVec4<float> = r=0.1, g=0.2, b=0.3, a=0.4",
                    "Position, Longitude: float = 12.5 [advanced]", "Position, Latitude: float = -30.25 [advanced]",
                    "Radius: double = 1500.5 [advanced]", "Orbit: double = 2500.25 [advanced]"});
    }
    if (level == "akEnvCloudLayer") {
        auto* c = dynamic_cast<akEnvCloudLayer*>(o);
        c->setColor(0.25f, 0.5f, 0.75f, 0.625f);
        c->setElevation(3000, 3500.5f);
        c->setTransitionRange(150, 250);
        c->setScudEnable(on[0]);
        c->setTextureTiling(4, 8);
        c->setMinVisibilityScale(0.125f);
        c->setHorizonColorScale(0.75f);
        c->setTextureFile("clouds/layer.rgb");
        c->setTextureBlendMode(akEnvFx::TEXTURE_BLEND_MODE_REPLACE);
        c->setTextureBlendColor(0.2f, 0.3f, 0.4f, 0.5f);
        return set(out,
                   {"Color: emVec4<float> = r=0.25, g=0.5, b=0.75, a=0.625", "Elevation, Bottom: float = 3000",
                    "Elevation, Top: float = 3500.5", "Transition Range, Bottom: float = 150",
                    "Transition Range, Top: float = 250", "Scud Enable: bool = " + on(0),
                    "Texture Tiling, X: float = 4", "Texture Tiling, Y: float = 8",
                    "Minimum Visibility Scale: float = 0.125", "Horizon Color Scale: float = 0.75",
                    "Texture File: emString = \"clouds/layer.rgb\"",
                    "Texture Blend Mode: akEnvFx::TextureBlendMode = TEXTURE_BLEND_MODE_REPLACE",
                    "Texture Blend Color: emVec4<float> = r=0.2, g=0.3, b=0.4, a=0.5"});
    }
    if (level == "akEnvCloudVolume") {
        auto* c = dynamic_cast<akEnvCloudVolume*>(o);
        c->setNumPuffs(48);
        c->setRandomSeed(123456789u);
        c->setProximityScale(2.5f);
        c->setPuffHeightRatio(0.375f);
        c->setPuffSizeLimits(20, 80);
        c->setBox({{-10, -20, -30}, {10, 20, 30}});
        c->addLODRange(1000, 100);
        c->addLODRange(2000.5, 250.25);
        c->setColor(0.6f, 0.65f, 0.7f, 0.75f);
        c->setTextureFile("clouds/puff.rgb");
        c->setTextureBlendMode(akEnvFx::TEXTURE_BLEND_MODE_BLEND);
        c->setTextureBlendColor(0.3f, 0.35f, 0.4f, 0.45f);
        c->setRainShaftEnable(on[0]);
        c->setRainShaftWidth(15.5f);
        c->setRainShaftOffset(1.5f, 2.5f, -3.5f);
        c->setRainShaftTextureFile("clouds/rain.rgb");
        c->setRainShaftTextureBlendMode(akEnvFx::TEXTURE_BLEND_MODE_REPLACE);
        c->setTransitionRange(75.5f);
        c->setLightningSeverity(0.5f);
        c->setIntraCloudLightningSeverity(0.25f);
        c->setMinVisibilityScale(0.0625f);
        c->setHorizonColorScale(1.25f);
        c->setMinBillboardingRange(5000.5);
        c->setPointBillboardingRange(9000.25);
        c->setPositionReference(&positionReference);
        c->setCoordConverter(&converter);
        return set(out,
                   {"Number of Puffs: int = 48",
                    "Random Seed: unsigned int = 123456789",
                    "Proximity Scale: float = 2.5",
                    "Puff Height Ratio: float = 0.375",
                    "Puff Size Limits, Minimum: float = 20",
                    "Puff Size Limits, Maximum: float = 80",
                    "Box: emBox<float> = ",
                    "Box/Minimum: emVec3<float> = x=-10, y=-20, z=-30",
                    "Box/Maximum: emVec3<float> = x=10, y=20, z=30",
                    "LOD Ranges:  = ",
                    "LOD Ranges/0:  = ",
                    "LOD Ranges/0/Visibility: double = 1000",
                    "LOD Ranges/0/Transition: double = 100",
                    "LOD Ranges/1:  = ",
                    "LOD Ranges/1/Visibility: double = 2000.5",
                    "LOD Ranges/1/Transition: double = 250.25",
                    "Color: emVec4<float> = r=0.6, g=0.65, b=0.7, a=0.75",
                    "Texture File: emString = \"clouds/puff.rgb\"",
                    "Texture Blend Mode: akEnvFx::TextureBlendMode = TEXTURE_BLEND_MODE_BLEND",
                    "Texture Blend Color: emVec4<float> = r=0.3, g=0.35, b=0.4, a=0.45",
                    "Rain Shaft Enable: bool = " + on(0),
                    "Rain Shaft Color: emVec4<float> = r=0.6, g=0.65, b=0.7, a=0.75",
                    "Rain Shaft Width: float = 15.5",
                    "Rain Shaft Offset: emVec3<float> = x=1.5, y=2.5, z=-3.5",
                    "Rain Shaft Texture File: emString = \"clouds/rain.rgb\"",
                    "Rain Shaft Texture Blend Mode: akEnvFx::TextureBlendMode = TEXTURE_BLEND_MODE_REPLACE",
                    "Rain Shaft Texture Blend Color: emVec4<float> = r=0.3, g=0.35, b=0.4, a=0.45",
                    "Transition Range: float = 75.5",
                    "Lightning Severity: float = 0.5",
                    "Intra-cloud Lightning Severity: float = 0.25",
                    "Minimum Visibility Scale: float = 0.0625",
                    "Horizon Color Scale: float = 1.25",
                    "Minimum Billboarding Range: float = 5000.5",
                    "Point Billboarding Range: float = 9000.25",
                    "Position Reference: akPositionable * = " + addressOf(&positionReference),
                    "Coordinate Converter: akCoordConverter * = " + hexOf(&converter)},
                   {"Rain Shaft Color", "Rain Shaft Texture Blend Color"});  // the cloud's, written again
    }
    if (level == "akEnvSkyDome") {
        auto* d = dynamic_cast<akEnvSkyDome*>(o);
        d->setGroundEnable(on[0]);
        d->setGroundColor(0.1f, 0.2f, 0.3f, 0.9f);
        Rows rows{"Ground Enable: bool = " + on(0), "Ground Color: emVec4<float> = r=0.1, g=0.2, b=0.3, a=0.9"};
        for (int row = 0; row < 7; ++row) {
            d->setVisibilityRange(row, 1000.0f * (row + 1) + 0.5f);
            rows.push_back("Visibility Range, Row " + std::to_string(row) +
                           ": float = " + num(1000.0 * (row + 1) + 0.5));
        }
        return set(out, rows);
    }
    if (level == "akEnvStars") {
        auto* s = dynamic_cast<akEnvStars*>(o);
        s->setIntensityThreshold(0.125f);
        s->setBrightnessThreshold(0.25f, 0.75f);
        s->setVisibilityRange(8000);
        s->setPointSize(2.5f);
        return set(out,
                   {"Intensity Threshold: float = 0.125", "Brightness Threshold, Onset: float = 0.25",
                    "Brightness Threshold, Opaque: float = 0.75", "Visibility Range: float = 8000",
                    "Point Size: float = 2.5"});
    }
    if (level == "akEnvWind") {
        auto* w = dynamic_cast<akEnvWind*>(o);
        w->setSpeed(12.5f);
        w->setDirection(0, 0.5f, -1);
        w->setCoordConverter(&converter);
        return set(out,
                   {"Speed: float = 12.5", "Direction: emVec3<float> = x=0, y=0.5, z=-1",
                    "Coordinate Converter: akCoordConverter * = " + hexOf(&converter)});
    }
    if (level == "akEnvMoon") {
        auto* m = dynamic_cast<akEnvMoon*>(o);
        m->setBrightness(0.625f);
        m->setPhase(0.125f);
        return set(out, {"Brightness: float = 0.625", "Phase: float = 0.125 [advanced]"});
    }
    if (level == "akEnvSun") {
        dynamic_cast<akEnvSun*>(o)->setTwilightDip(12.5f);
        return set(out, {"Twilight Dip: float = 12.5"});
    }
    if (level == "akEnvWindLayer") {
        dynamic_cast<akEnvWindLayer*>(o)->setElevation(500, 1500.5f);
        return set(out, {"Elevation, Bottom: float = 500", "Elevation, Top: float = 1500.5"});
    }
    if (level == "akEnvWindVolume") {
        auto* w = dynamic_cast<akEnvWindVolume*>(o);
        w->setBox({{-1, -2, -3}, {4, 5, 6}});
        w->setPositionReference(&positionReference);
        return set(out,
                   {"Box: emBox<float> = ", "Box/Minimum: emVec3<float> = x=-1, y=-2, z=-3",
                    "Box/Maximum: emVec3<float> = x=4, y=5, z=6",
                    "Position Reference: akPositionable * = " + addressOf(&positionReference)});
    }
    return level == "akEnvTransform" || level == "akEnv";
}

class EnvSchema : public ModuleTest
{};

}  // namespace

// Every environment type: one nested object per class level (the volumes hold their akPositionable
// level after the effect's), each level's attributes with the values written, and the reader stops
// exactly at the end.
TEST_F(EnvSchema, EveryTypeRoundTripsLevelByLevel)
{
    const Levels node = line({"kiNode", "emBase", "emMemBase"});
    const Levels fx = on("akEnvFx", on("kiGeometryBase", node));
    const Levels positionable = line({"akPositionable"});
    const Levels celestial = on("akEnvCelestial", fx);
    const Levels wind = on("akEnvWind", fx);
    const Levels record = line({"kiGeometryBase::CullRecord", "kiCullRecord"});
    const struct
    {
        emClassObject* (*make)();
        Levels levels;
    } cases[] = {
        {makeRecord<akEnvCelestial::CullRecord>, on("akEnvCelestial::CullRecord", record)},
        {makeRecord<akEnvCloudLayer::CullRecord>, on("akEnvCloudLayer::CullRecord", record)},
        {makeRecord<akEnvCloudVolume::CullRecord>, on("akEnvCloudVolume::CullRecord", record)},
        {makeRecord<akEnvSkyDome::CullRecord>, on("akEnvSkyDome::CullRecord", record)},
        {makeRecord<akEnvStars::CullRecord>, on("akEnvStars::CullRecord", record)},
        {make<akEnvFx>, fx},
        {make<akEnvTransform>, on("akEnvTransform", node)},
        {make<akEnv>, line({"akEnv", "emBase", "emMemBase"})},
        {make<akEnvCelestial>, celestial},
        {make<akEnvCloudLayer>, on("akEnvCloudLayer", fx)},
        {make<akEnvCloudVolume>, on("akEnvCloudVolume", fx, positionable)},
        {make<akEnvSkyDome>, on("akEnvSkyDome", fx)},
        {make<akEnvStars>, on("akEnvStars", fx)},
        {make<akEnvWind>, wind},
        {make<akEnvMoon>, on("akEnvMoon", celestial)},
        {make<akEnvSun>, on("akEnvSun", celestial)},
        {make<akEnvWindLayer>, on("akEnvWindLayer", wind)},
        {make<akEnvWindVolume>, on("akEnvWindVolume", wind, positionable)},
    };
    for (const auto& c : cases) {
        SceneGraphLevels sceneGraph;
        ApplicationLevels application;
        EnvironmentLevels environment;
        expectRoundTrip(c.levels, c.make, {&sceneGraph, &application, &environment});
    }
}

// A wind volume following a cloud volume: each volume's akPositionable level sits beside its
// effect level and holds the positionable side's values, though both sides have a "Coordinate
// Converter". The position reference holds the cloud's akPositionable level only; the cloud's
// own record written afterwards is still a full record of its own type.
TEST_F(EnvSchema, VolumesReadEachHostBaseUnderItsOwnLevel)
{
    akCoordConverter placement, own;
    akEnvCloudVolume cloud("cloud");
    cloud.setEnable(false);
    cloud.setNumPuffs(5);
    cloud.setCoordConverter(&own);
    cloud.setExtrapolationTime(2.5);
    cloud.setPositionCoordConverter(&placement);
    akEnvWindVolume wind("wind");
    wind.setSpeed(7.5f);
    wind.setCoordConverter(&own);
    wind.setExtrapolationTime(4.5);
    wind.setPositionCoordConverter(&placement);
    wind.setPositionReference(&cloud);

    RoundTrip trip;
    trip.write(&wind);
    trip.write(&cloud);
    trip.finish();
    const akDebugObject* w = trip.read();
    const akDebugObject* c = trip.read();
    ASSERT_NE(w, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(trip.consumedAll());

    EXPECT_EQ(typeOf(w) + " = " + valueOf(w), "akEnvWindVolume * = " + addressOf(&wind));
    EXPECT_EQ(typeOf(child(w, 0)), "akEnvWind");
    EXPECT_EQ(typeOf(child(w, 1)), "akPositionable");
    EXPECT_EQ(valueOf(at(w, "akEnvWind/Speed")), "7.5");
    EXPECT_EQ(valueOf(at(w, "akEnvWind/Coordinate Converter")), hexOf(&own));
    EXPECT_EQ(valueOf(at(w, "akPositionable/Extrapolation Time")), "4.5");
    EXPECT_EQ(valueOf(at(w, "akPositionable/Coordinate Converter")), hexOf(&placement));

    const akDebugAttributeBase* reference = at(w, "Position Reference");
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(typeOf(reference) + " = " + valueOf(reference), "akPositionable * = " + addressOf(&cloud));
    EXPECT_EQ(valueOf(at(reference, "Extrapolation Time")), "2.5");

    EXPECT_EQ(typeOf(c) + " = " + valueOf(c), "akEnvCloudVolume * = " + addressOf(&cloud));
    EXPECT_EQ(typeOf(child(c, 0)), "akEnvFx");
    EXPECT_EQ(typeOf(child(c, 1)), "akPositionable");
    EXPECT_EQ(valueOf(at(c, "akEnvFx/Enable")), "false");
    EXPECT_EQ(valueOf(at(c, "akPositionable/Extrapolation Time")), "2.5");
    EXPECT_EQ(valueOf(at(c, "akPositionable/Coordinate Converter")), hexOf(&placement));
    EXPECT_EQ(valueOf(at(c, "Number of Puffs")), "5");
    EXPECT_EQ(valueOf(at(c, "Coordinate Converter")), hexOf(&own));
    // The reference holds what the cloud's akPositionable level holds, and nothing else.
    EXPECT_TRUE(sameRows(objectRows(reference), objectRows(at(c, "akPositionable"))));
}

// The ends of three records against their layouts: the billboarding ranges as floats and a
// missing position reference as a null record of the akPositionable type; a wind volume's box
// and null reference; the sky dome's ground fields and its seven rows. A null position reference
// reads back as an empty "akPositionable *" of address 0.
TEST_F(EnvSchema, RecordEndsInTheFile)
{
    akEnvCloudVolume cloud("cloud");
    cloud.setHorizonColorScale(1.25f);
    cloud.setMinBillboardingRange(5000.5);
    cloud.setPointBillboardingRange(0.1);
    akEnvWindVolume wind("wind");
    wind.setBox({{-1, -2, -3}, {4, 5, 6}});
    akEnvSkyDome dome("dome");
    dome.setGroundEnable(false);
    dome.setGroundColor(0.1f, 0.2f, 0.3f, 0.9f);
    for (int row = 0; row < 7; ++row)
        dome.setVisibilityRange(row, 100.0f + row);

    for (emClassObject* object : std::initializer_list<emClassObject*>{&cloud, &wind, &dome}) {
        RoundTrip trip;
        trip.begin();
        const int positionable = typeIndex(trip, "akPositionable");
        Bytes end;
        if (object == &cloud)
            end.f({1.25f, 5000.5f, 0.1f}).i(positionable).i(0).i(typeIndex(trip, "akCoordConverter")).i(0);
        else if (object == &wind)
            end.f({-1, -2, -3, 4, 5, 6}).i(positionable).i(0);
        else
            end.b(false).f({0.1f, 0.2f, 0.3f, 0.9f, 100, 101, 102, 103, 104, 105, 106});
        trip.write(object, akDebugTypeDef::find(object->getClassType()->getName()));
        trip.finish();
        EXPECT_TRUE(endsWith(trip.bytes(), end.data)) << object->getClassType()->getName();
        const akDebugObject* read = trip.read();
        ASSERT_NE(read, nullptr);
        EXPECT_TRUE(trip.consumedAll());
        if (object != &dome) {
            const akDebugAttributeBase* reference = at(read, "Position Reference");
            ASSERT_NE(reference, nullptr);
            EXPECT_EQ(typeOf(reference) + " = " + valueOf(reference), "akPositionable * = 0x0");
            EXPECT_TRUE(reference->empty_child());
        }
    }
}
