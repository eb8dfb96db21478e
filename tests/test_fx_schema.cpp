// Effects schemas: every type written and read back level by level, the two host bases of an effect,
// the particle system's key lists, the presets under their own types and absent references.
#include "levelsupport.h"

#include <akdebugfx.h>
#include <akdebugscene.h>

#include <memory>

using namespace schemasupport;
using namespace levelsupport;

namespace {

bool set(Level& out, Level level)
{
    out = std::move(level);
    return true;
}

// The effects levels, with the objects an effect points at.
class EffectsLevels : public LevelFiller
{
public:
    bool fill(const std::string& level, emClassObject* o, const Flags& on, Level& out) override
    {
        if (level == "akFx") {
            akFx* f = dynamic_cast<akFx*>(o);
            f->setEnable(on[0]);
            f->setRepeatEnable(on[1]);
            f->setTriggerIsector(&trigger);
            f->setEnvironment(&environment);
            f->setOverallColor(0.25f, 0.5f, 0.75f, 0.375f);
            f->setTextureMode(akFx::TEXTURE_MODE_MODULATE_ALPHA);
            f->setTextureFile("sparks.rgba");
            f->setOverallDuration(12.5f);
            f->setFadeDuration(1.5f, 2.25f);
            f->setConfigured(on[2]);
            f->setElapsedDuration(3.75f);
            return set(
                out,
                {"",
                 {"Enable: bool = " + on(0), "Repeat Enable: bool = " + on(1),
                  "Trigger Isector: akIsector * = " + hexOf(&trigger), "Environment: akEnv * = " + hexOf(&environment),
                  "Overall Color: emVec4<float> = r=0.25, g=0.5, b=0.75, a=0.375",
                  "Texture Blend Color: emVec4<float> = r=0.25, g=0.5, b=0.75, a=0.375",
                  "Texture Mode: akFx::TextureMode = TEXTURE_MODE_MODULATE_ALPHA",
                  "Texture File: emString = \"sparks.rgba\"", "Overall Duration: float = 12.5",
                  "Fade Duration, In: float = 1.5", "Fade Duration, Out: float = 2.25",
                  "Configured: bool = " + on(2) + " [advanced]", "Elapsed Duration: float = 3.75 [advanced]"},
                 {"Texture Blend Color"}});  // the overall colour, written again
        }
        if (level == "akFxBlade") {
            akFxBlade* b = dynamic_cast<akFxBlade*>(o);
            b->setNumBlades(5);
            b->setTipRadius(4.5f);
            b->setBaseRadius(0.75f);
            b->setRotationSpeed(720.0f);
            return set(out,
                       {"",
                        {"Number of Blades: int = 5", "Tip Radius: float = 4.5", "Base Radius: float = 0.75",
                         "Rotation Speed: float = 720"}});
        }
        if (level == "akFxMissileTrail") {
            dynamic_cast<akFxMissileTrail*>(o)->setLength(250.0f);
            return set(out, {"", {"Length: float = 250"}});
        }
        if (level == "akFxParticleSystem")
            return set(out, {"", fillParticleSystem(dynamic_cast<akFxParticleSystem*>(o))});
        static const char* const empty[] = {"akFxBlade::CullRecord",
                                            "akFxMissileTrail::CullRecord",
                                            "akFxParticleSystem::CullRecord",
                                            "akFxDebris",
                                            "akFxExplosion",
                                            "akFxExplosion2",
                                            "akFxExplosion3",
                                            "akFxFire",
                                            "akFxFlak",
                                            "akFxFlame",
                                            "akFxFlash",
                                            "akFxRotorWash",
                                            "akFxSmoke",
                                            "akFxSmokeBall",
                                            "akFxSplash"};
        for (const char* name : empty)
            if (level == name)
                return true;
        return false;
    }

    // Replaces every value a preset may have set; times print differently under "%g" and "%f".
    static Rows fillParticleSystem(akFxParticleSystem* p)
    {
        using P = akFxParticleSystem;
        p->clearKeys();
        p->clearBoundingPlanes();
        p->setVelocitySource(P::VELOCITY_SOURCE_RELATIVE_EMISSION);
        p->setRelativeEmissionVelocity(6.5f);
        p->setWindSource(P::WIND_SOURCE_ENVIRONMENT);
        p->setParticleReleaseCutoff(0.75f);
        p->setSourceDomain(P::SOURCE_DOMAIN_CUBE);
        p->setSourceDomainSize(2.5f);
        p->addBoundingPlane({1, 2, -1}, {0, 0.5, 1});
        p->addBoundingPlane({10, 20, 30}, {-1, 0, 1});
        p->setBoundingDomainBehavior(P::BOUNDING_DOMAIN_BEHAVIOR_RECYCLE);
        p->setBounceCoefficient(0.625);
        p->setMaxNumParticles(321);
        p->setNumParticlesToRelease(12);
        p->setReleaseInterval(0.375f);
        p->setFlowType(P::FLOW_TYPE_BURST);
        p->setParticleLifeCycle(4.5f);
        p->setParticleTextureAnimationDuration(1.25f);
        p->setVelocityDistribution(P::VELOCITY_DISTRIBUTION_GAUSSIAN);
        p->setGravitationalConstant(-1.5);
        p->setColorVariation(0.125f);
        p->setSizeVariation(0.25f);
        p->setEmissivity(0.5f);
        p->setColor(0.5f, {0.5f, 0.25f, 0.125f, 0.0f});
        p->setColor(0.0f, {1.0f, 0.5f, 0.25f, 0.875f});
        p->setSize(0.25f, 3.0f);
        p->setVelocity(0.0f, {1, 2, 3});
        p->setVelocity(1.5f, {4, 5, 6});
        p->setWind(2.0f, {-1, 0.5, 0});
        p->setRandomVelocity(0.125f, 0.8125f);
        p->setSphericalVelocity(0.0f, 9.0f);
        p->setSphericalVelocity(1e-5f, 8.0f);
        p->setScaleAlongVelocity(3.0f, 2.0f);
        return {
            "Velocity Source: akFxParticleSystem::VelocitySource = VELOCITY_SOURCE_RELATIVE_EMISSION",
            "Relative Emission Velocity: float = 6.5",
            "Wind Source: akFxParticleSystem::WindSource = WIND_SOURCE_ENVIRONMENT",
            "Particle Release Cutoff: float = 0.75",
            "Source Domain: akFxParticleSystem::SourceDomain = SOURCE_DOMAIN_CUBE",
            "Source Domain Size: float = 2.5",
            "Bounding Planes:  = ",
            "Bounding Planes/0:  = ",
            "Bounding Planes/0/Point: emVec3<double> = x=1, y=2, z=-1",
            "Bounding Planes/0/Normal: emVec3<double> = x=0, y=0.5, z=1",
            "Bounding Planes/1:  = ",
            "Bounding Planes/1/Point: emVec3<double> = x=10, y=20, z=30",
            "Bounding Planes/1/Normal: emVec3<double> = x=-1, y=0, z=1",
            "Bounding Domain Behavior: akFxParticleSystem::BoundingDomainBehavior = BOUNDING_DOMAIN_BEHAVIOR_RECYCLE",
            "Bounce Coefficient: double = 0.625",
            "Maximum Number of Particles: int = 321",
            "Number of Particles to Release: int = 12",
            "Release Interval: float = 0.375",
            "Flow Type: akFxParticleSystem::FlowType = FLOW_TYPE_BURST",
            "Particle Life Cycle: float = 4.5",
            "Particle Texture Animation Duration: float = 1.25",
            "Velocity Distribution: akFxParticleSystem::VelocityDistribution = VELOCITY_DISTRIBUTION_GAUSSIAN",
            "Gravitational Constant: double = -1.5",
            "Color Variation: float = 0.125",
            "Size Variation: float = 0.25",
            "Emissivity: float = 0.5",
            "Colors:  = ",
            "Colors/0: emVec4<float> = r=1, g=0.5, b=0.25, a=0.875",
            "Colors/0.5: emVec4<float> = r=0.5, g=0.25, b=0.125, a=0",
            "Size:  = ",
            "Size/0.25: float = 3",
            "Velocity:  = ",
            "Velocity/0: emVec3<double> = x=1, y=2, z=3",
            "Velocity/1.5: emVec3<double> = x=4, y=5, z=6",
            "Wind:  = ",
            "Wind/2: emVec3<double> = x=-1, y=0.5, z=0",
            "Random Velocity:  = ",
            "Random Velocity/0.125: float = 0.8125",
            "Spherical Velocity:  = ",
            "Spherical Velocity/0: float = 9",
            "Spherical Velocity/1e-05: float = 8",
            "Scale Along Velocity:  = ",
            "Scale Along Velocity/3: float = 2"};
    }

    akIsector trigger{"trigger"};
    akEnv environment{"environment"};
};

// The names of a group's children.
Rows childNames(const akDebugAttributeBase* group)
{
    Rows out;
    for (unsigned int i = 0; i < group->size_child(); ++i)
        out.push_back(child(group, i)->getName());
    return out;
}

class FxSchema : public ModuleTest
{};

}  // namespace

// Every type of the effects library. The transform side of an effect (its kiTransform and
// akPositionable levels) and its geometry side hold different values, so a base written from the
// wrong subobject shows up as wrong values under the wrong level; the presets' own values are all
// replaced, so every particle system row is checked under each preset.
TEST_F(FxSchema, EveryTypeRoundTripsLevelByLevel)
{
    const Levels node = on("kiNode", line({"emBase", "emMemBase"}));
    const Levels transform = on("akTransform", on("kiTransform", node), line({"akPositionable"}));
    const Levels fx = on("akFx", transform, line({"akGeometry"}));
    const Levels particleSystem = on("akFxParticleSystem", fx);
    const Levels geometryRecord = line({"kiGeometryBase::CullRecord", "kiCullRecord"});
    const struct
    {
        emClassObject* (*make)();
        Levels levels;
    } cases[] = {
        {makeRecord<akFxBlade::CullRecord>, on("akFxBlade::CullRecord", geometryRecord)},
        {makeRecord<akFxMissileTrail::CullRecord>, on("akFxMissileTrail::CullRecord", geometryRecord)},
        {makeRecord<akFxParticleSystem::CullRecord>, on("akFxParticleSystem::CullRecord", geometryRecord)},
        {make<akFx>, fx},
        {make<akFxBlade>, on("akFxBlade", fx)},
        {make<akFxMissileTrail>, on("akFxMissileTrail", fx)},
        {make<akFxParticleSystem>, particleSystem},
        {make<akFxDebris>, on("akFxDebris", particleSystem)},
        {make<akFxExplosion>, on("akFxExplosion", particleSystem)},
        {make<akFxExplosion2>, on("akFxExplosion2", particleSystem)},
        {make<akFxExplosion3>, on("akFxExplosion3", particleSystem)},
        {make<akFxFire>, on("akFxFire", particleSystem)},
        {make<akFxFlak>, on("akFxFlak", particleSystem)},
        {make<akFxFlame>, on("akFxFlame", particleSystem)},
        {make<akFxFlash>, on("akFxFlash", particleSystem)},
        {make<akFxRotorWash>, on("akFxRotorWash", particleSystem)},
        {make<akFxSmoke>, on("akFxSmoke", particleSystem)},
        {make<akFxSmokeBall>, on("akFxSmokeBall", particleSystem)},
        {make<akFxSplash>, on("akFxSplash", particleSystem)},
    };
    for (const auto& c : cases) {
        SceneGraphLevels sceneGraph;
        ApplicationLevels application;
        EffectsLevels effects;
        expectRoundTrip(c.levels, c.make, {&sceneGraph, &application, &effects});
    }
}

// An effect found in a scene through its class chain: its akFx level holds the akTransform level,
// then the akGeometry level beside it, then its own rows; each base's values stay in its level.
TEST_F(FxSchema, BothHostBasesOfAnEffectInAScene)
{
    akCoordConverter transformConverter;
    akCoordConverter positionConverter;
    olTexture texture("trail texture");
    kiNode* root = new kiNode("root");
    akFxMissileTrail* trail = new akFxMissileTrail("trail");
    root->addChild(trail);
    trail->setCoordConverter(&transformConverter);
    trail->setPositionCoordConverter(&positionConverter);
    trail->setTranslate(1, 2, 3);
    trail->setTextureSubloadMode(akGeometry::TEXTURE_SUBLOAD_MODE_OFF);
    trail->addTexture(&texture);
    trail->addNamed(trail);
    trail->setTextureMode(akFx::TEXTURE_MODE_DECAL);

    const std::string path = testsupport::tempDir() + "/effect.bin";
    akDebugScene scene;
    ASSERT_EQ(scene.write(path.c_str(), root, false), telu::SUCCESS);
    ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
    const akDebugAttributeBase* read = at(scene.getRoot(), "Children/0");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(typeOf(read) + " = " + valueOf(read), "akFxMissileTrail * = " + hexOf(trail));
    const akDebugAttributeBase* fx = at(read, "akFx");
    ASSERT_NE(fx, nullptr);
    ASSERT_GE(fx->size_child(), 3u);
    EXPECT_EQ(std::string(child(fx, 0)->getName()), "akTransform");
    EXPECT_EQ(std::string(child(fx, 1)->getName()), "akGeometry");
    EXPECT_EQ(std::string(child(fx, 2)->getName()), "Enable");

    EXPECT_EQ(valueOf(at(fx, "akTransform/Coordinate Converter")), hexOf(&transformConverter));
    EXPECT_EQ(valueOf(at(fx, "akTransform/akPositionable/Coordinate Converter")), hexOf(&positionConverter));
    EXPECT_EQ(valueOf(at(fx, "akTransform/kiTransform/Translate")), "x=1, y=2, z=3");
    EXPECT_EQ(valueOf(at(fx, "akGeometry/Texture Subload Mode")), "TEXTURE_SUBLOAD_MODE_OFF");
    EXPECT_EQ(valueOf(at(fx, "akGeometry/Textures/0")), hexOf(&texture));
    EXPECT_EQ(valueOf(at(fx, "akGeometry/Named Nodes/0")), hexOf(trail));
    EXPECT_EQ(valueOf(at(fx, "Texture Mode")), "TEXTURE_MODE_DECAL");
    EXPECT_EQ(at(fx, "akTransform/akGeometry"), nullptr);
    EXPECT_EQ(at(fx, "akTransform/Texture Subload Mode"), nullptr);
    EXPECT_EQ(at(fx, "akGeometry/akPositionable"), nullptr);
    kiNode::release(root);
}

// A list without keys is an empty group; keys are named by their times as "%g" prints them, with
// persistent names. A damaged key count stops the read instead of building keys from other bytes.
TEST_F(FxSchema, KeyLists)
{
    akFxParticleSystem system("system");
    system.setSize(0.0f, 1.0f);
    system.setSize(0.5f, 2.0f);
    RoundTrip trip;
    trip.write(&system);
    trip.finish();
    const akDebugObject* read = trip.read();
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(trip.consumedAll());
    for (const char* list :
         {"Colors", "Velocity", "Wind", "Random Velocity", "Spherical Velocity", "Scale Along Velocity"}) {
        ASSERT_NE(at(read, list), nullptr) << list;
        EXPECT_TRUE(at(read, list)->empty_child()) << list;
    }
    EXPECT_EQ(rows(at(read, "Size")), (Rows{"0: float = 1", "0.5: float = 2"}));
    EXPECT_EQ(at(read, "Size/0.5")->getName(), akDebugAttributeBase::getPersistentName("0.5"));

    // Without keys the record ends with the seven counts; make the colours' count huge.
    akFxParticleSystem empty("empty");
    RoundTrip damaged;
    damaged.write(&empty);
    damaged.finish();
    std::vector<uint8_t> bytes = damaged.bytes();
    const size_t colors = bytes.size() - 7 * 4;
    ASSERT_TRUE(endsWith(bytes, std::vector<uint8_t>(7 * 4, 0)));
    const uint32_t huge = 0x7FFFFFFF;
    std::memcpy(bytes.data() + colors, &huge, 4);
    testsupport::clear();
    damaged.reread(bytes);
    const akDebugObject* object = damaged.read();
    EXPECT_TRUE(damaged.hasReadFailed());
    EXPECT_TRUE(testsupport::printed(emNotify::LEVEL_FAIL, "akDebug::readCount - count exceeds the rest of the file"));
    ASSERT_NE(object, nullptr);
    ASSERT_NE(at(object, "Colors"), nullptr);
    EXPECT_TRUE(at(object, "Colors")->empty_child());
}

// Every effect class resolves to its own type definition through its class chain. A preset reads
// back as exactly the particle system's attributes, under the preset's type, with its own values.
TEST_F(FxSchema, PresetsAndCullRecordsUnderTheirOwnTypes)
{
    const std::vector<std::pair<emClassObject* (*)(), const char*>> classes = {
        {makeRecord<akFxBlade::CullRecord>, "akFxBlade::CullRecord"},
        {makeRecord<akFxMissileTrail::CullRecord>, "akFxMissileTrail::CullRecord"},
        {makeRecord<akFxParticleSystem::CullRecord>, "akFxParticleSystem::CullRecord"},
        {make<akFx>, "akFx"},
        {make<akFxBlade>, "akFxBlade"},
        {make<akFxMissileTrail>, "akFxMissileTrail"},
        {make<akFxParticleSystem>, "akFxParticleSystem"},
        {make<akFxDebris>, "akFxDebris"},
        {make<akFxExplosion>, "akFxExplosion"},
        {make<akFxExplosion2>, "akFxExplosion2"},
        {make<akFxExplosion3>, "akFxExplosion3"},
        {make<akFxFire>, "akFxFire"},
        {make<akFxFlak>, "akFxFlak"},
        {make<akFxFlame>, "akFxFlame"},
        {make<akFxFlash>, "akFxFlash"},
        {make<akFxRotorWash>, "akFxRotorWash"},
        {make<akFxSmoke>, "akFxSmoke"},
        {make<akFxSmokeBall>, "akFxSmokeBall"},
        {make<akFxSplash>, "akFxSplash"}};
    RoundTrip chain;
    chain.begin();
    std::vector<std::unique_ptr<emClassObject>> hosts;
    for (const auto& c : classes) {
        hosts.emplace_back(c.first());
        chain.write(hosts.back().get(), chain.findTypeDef(hosts.back()->getClassType()));
    }
    chain.finish();
    for (const auto& c : classes)
        EXPECT_EQ(typeOf(chain.read()), std::string(c.second) + " *");
    EXPECT_TRUE(chain.consumedAll());

    akFxSmoke smoke("smoke");
    akFxParticleSystem plain("plain");
    RoundTrip trip;
    trip.write(&smoke);
    trip.write(&plain);
    trip.finish();
    const akDebugObject* smokeRead = trip.read();
    const akDebugObject* plainRead = trip.read();
    ASSERT_NE(smokeRead, nullptr);
    ASSERT_NE(plainRead, nullptr);
    EXPECT_EQ(objectRows(smokeRead), Rows{"akFxParticleSystem: akFxParticleSystem = "});
    const akDebugAttributeBase* level = at(smokeRead, "akFxParticleSystem");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(childNames(level), childNames(plainRead));
    EXPECT_EQ(childNames(at(level, "akFx")), childNames(at(plainRead, "akFx")));
    EXPECT_EQ(valueOf(at(level, "akFx/Texture File")), "\"smoke.rgba\"");
    EXPECT_EQ(valueOf(at(level, "Flow Type")), "FLOW_TYPE_STREAM");
    EXPECT_EQ(valueOf(at(level, "Wind Source")), "WIND_SOURCE_ENVIRONMENT");
    EXPECT_EQ(rows(at(level, "Size")), (Rows{"0: float = 1", "8: float = 10"}));
}
