// The loadable module: loaded by name through the host's module loader, initialised, used end to
// end, shut down and initialised again.
#include "testsupport.h"

#include <akdebugdraw.h>
#include <akdebugmodule.h>
#include <akdebugscene.h>
#include <telr.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every type definition of the module in the order of the six registrations: utility, render,
// scene graph, application, environment, effects.
const std::vector<std::string> s_typeOrder = {
    "emMemBase",
    "emBase",
    "emPalette",
    "emUserDataList",
    "olDrawFunc::Data",
    "olElement",
    "olWindow::PixelBuffer",
    "olRenderStrategy",
    "olChannel",
    "olDrawContext",
    "olFog",
    "olFont",
    "olGeometryBase",
    "olLight",
    "olLightModel",
    "olLightPointAnimation",
    "olLightPointAppearance",
    "olMaterial",
    "olShader",
    "olState",
    "olTexture",
    "olTextureBlend",
    "olTextureCoordGen",
    "olAlphaBlend::Element",
    "olAlphaTest::Element",
    "olColorTrack::Element",
    "olDecal::Element",
    "olDepthTest::Element",
    "olDepthWrite::Element",
    "olFog::Element",
    "olLight::Element",
    "olLightModel::Element",
    "olLine::Element",
    "olMaterial::Element",
    "olMultiSample::Element",
    "olNormalize::Element",
    "olPoint::Element",
    "olPolygon::Element",
    "olShadeModel::Element",
    "olShader::ElementFragment",
    "olShader::ElementVertex",
    "olStencilTest::Element",
    "olTexture::Element",
    "olTextureBlend::Element",
    "olTextureCoordGen::Element",
    "olTransform::ElementModelView",
    "olTransform::ElementProjection",
    "olTransform::ElementTexture",
    "olRenderStrategyBounds",
    "olRenderStrategyHighlight",
    "olRenderStrategyNormals",
    "olFont2D",
    "olFont3D",
    "olBox",
    "olFrustum",
    "olGeometry",
    "olLightPoint",
    "olPlane",
    "olSphere",
    "olString",
    "kiCullRecord",
    "kiChannelBin",
    "kiCullRecordFactory",
    "kiLightPoint::Control",
    "kiLODFilterBase",
    "kiNode",
    "kiRenderStrategyFrameGeometry",
    "kiGeometryBase::CullRecord",
    "kiLight::CullRecord",
    "kiLightPoint::CullRecord",
    "kiLODFilter",
    "kiLODFilterManual",
    "kiAnimation",
    "kiDecal",
    "kiDOF",
    "kiGeometryBase",
    "kiLight",
    "kiLOD",
    "kiSwitch",
    "kiTransform",
    "kiGeometry",
    "kiLightPoint",
    "kiString",
    "kiBillboard",
    "akGeometry",
    "akPageable",
    "akPositionable",
    "akCoordConverter",
    "akCoordConverter::GeoRef",
    "akCoordSys",
    "akCoordSys::Ellipsoid",
    "akCoordSys::Projection",
    "akGeometry::Attribute",
    "akIsector",
    "akPositionable::Strategy",
    "akDOF",
    "akLOD",
    "akScene",
    "akTransform",
    "akGeometryPageable",
    "akCoordConverter::GeoRefMatrix",
    "akCoordConverter::GeoRefVec3",
    "akCoordSys::CustomSphere",
    "akCoordSys::DefaultSphere",
    "akLight",
    "akObject",
    "akEnvCelestial::CullRecord",
    "akEnvCloudLayer::CullRecord",
    "akEnvCloudVolume::CullRecord",
    "akEnvSkyDome::CullRecord",
    "akEnvStars::CullRecord",
    "akEnvFx",
    "akEnvTransform",
    "akEnv",
    "akEnvCelestial",
    "akEnvCloudLayer",
    "akEnvCloudVolume",
    "akEnvSkyDome",
    "akEnvStars",
    "akEnvWind",
    "akEnvMoon",
    "akEnvSun",
    "akEnvWindLayer",
    "akEnvWindVolume",
    "akFxBlade::CullRecord",
    "akFxMissileTrail::CullRecord",
    "akFxParticleSystem::CullRecord",
    "akFx",
    "akFxBlade",
    "akFxMissileTrail",
    "akFxParticleSystem",
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
    "akFxSplash",
};

std::vector<std::string> registeredTypes()
{
    std::vector<std::string> names;
    for (auto it = akDebugTypeDef::begin(); it != akDebugTypeDef::end(); ++it)
        names.push_back((*it)->getName());
    return names;
}

TEST(ModuleTest, LoadedByNameUsedShutDownAndInitialisedAgain)
{
    testsupport::clear();
    akModule* loaded = akModule::load("akdebug");
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->getName(), "akdebug");
    EXPECT_EQ(akdebugInitialize(), loaded);
    EXPECT_EQ(akDebugModule::size(), 1u);
    EXPECT_EQ(akDebugModule::find("akdebug"), loaded);
    EXPECT_EQ(akDebugModule::find("akdebug", 1), nullptr);
    EXPECT_EQ(akDebugModule::create(), nullptr);
    EXPECT_TRUE(loaded->isOfClassType(akModule::getStaticClassType()));
    EXPECT_TRUE(loaded->isExactClassType(akDebugModule::getStaticClassType()));
    ASSERT_EQ(std::count_if(testsupport::messages().begin(), testsupport::messages().end(),
                            [](const testsupport::Message& m) {
                                return m.level == 2 &&
                                    m.text.rfind("akdebugInitialize - akDebugModule instance: 0x", 0) == 0;
                            }),
              1);

    ASSERT_EQ(loaded->initialize(0, nullptr), telu::SUCCESS);
    loaded->configure();
    EXPECT_TRUE(loaded->isConfigured());
    const unsigned int registered = akDebugTypeDef::size();
    EXPECT_EQ(registered, 143u);
    EXPECT_EQ(registeredTypes(), s_typeOrder);
    // A configured module does not touch its registries again.
    EXPECT_EQ(loaded->initialize(0, nullptr), telu::SUCCESS);
    EXPECT_EQ(akDebugTypeDef::size(), registered);

    const std::string dir = testsupport::tempDir();
    {
        kiNode* root = new kiNode;
        root->setName("Root Node");
        root->addChild(new kiNode);
        akDebugScene scene;
        ASSERT_EQ(scene.write((dir + "/scene.bin").c_str(), root, false), telu::SUCCESS);
        ASSERT_EQ(scene.read((dir + "/scene.bin").c_str()), telu::SUCCESS);
        ASSERT_NE(scene.getRoot(), nullptr);
        EXPECT_STREQ(scene.getRoot()->getName(), "Root");
        std::vector<std::string> table;  // the file's type table
        for (auto it = scene.begin_type(); it != scene.end_type(); ++it)
            table.push_back((*it)->getName());
        EXPECT_EQ(table, s_typeOrder);
        delete root;

        olDrawContext context;
        kiChannel channel;
        channel.setDrawContext(&context);
        akDebugDraw draw;
        ASSERT_EQ(draw.write((dir + "/draw.bin").c_str(), &channel, false), telu::SUCCESS);
        draw.start(1);
        channel.drawFrame();
        ASSERT_EQ(draw.read((dir + "/draw.bin").c_str()), telu::SUCCESS);
        EXPECT_EQ(draw.size_record(), 2u);
    }

    ASSERT_EQ(loaded->shutdown(), telu::SUCCESS);
    EXPECT_FALSE(loaded->isConfigured());
    EXPECT_EQ(akDebugTypeDef::size(), 0u);
    EXPECT_EQ(akDebugTypeDef::find("kiNode"), nullptr);
    EXPECT_EQ(akDebugAttributeBase::getPersistentName("x"), nullptr);

    ASSERT_EQ(loaded->initialize(0, nullptr), telu::SUCCESS);
    EXPECT_EQ(registeredTypes(), s_typeOrder);
    ASSERT_EQ(loaded->shutdown(), telu::SUCCESS);
    delete loaded;
    EXPECT_EQ(akModule::find("akdebug"), nullptr);
    EXPECT_EQ(akDebugModule::getStaticClassType(), nullptr);
}

// A registration that cannot register one of its definitions (its name is taken) removes what it
// added and stops the chain; the registrations before it stay. With the name free again, the next
// initialize completes the table in its order. Shutdown without a registration, and a second
// initialize of a module not yet configured, change nothing.
TEST(ModuleTest, RegistrationFailingPartWayLeavesNothingBehind)
{
    testsupport::clear();
    akModule* module = akdebugInitialize();
    EXPECT_EQ(module->shutdown(), telu::SUCCESS);
    EXPECT_EQ(akDebugTypeDef::size(), 0u);

    // The first and the last definition of each registration: failing at its last, the
    // registration has every other one of its definitions to take away.
    const std::pair<const char*, const char*> registrations[] = {
        {"emMemBase", "emUserDataList"},
        {"olDrawFunc::Data", "olString"},
        {"kiCullRecord", "kiBillboard"},
        {"akGeometry", "akObject"},
        {"akEnvCelestial::CullRecord", "akEnvWindVolume"},
        {"akFxBlade::CullRecord", "akFxSplash"},
    };
    for (const auto& [first, last] : registrations) {
        SCOPED_TRACE(last);
        testsupport::clear();
        ASSERT_EQ(akDebugTypeDef::initializeClass(), telu::SUCCESS);
        auto* taken = new akDebugTypeDef(last, nullptr, nullptr, nullptr, nullptr, 0);
        EXPECT_EQ(module->initialize(0, nullptr), telu::FAILURE);
        EXPECT_TRUE(testsupport::printed(6,
                                         std::string("akdebugschema::Registration::registerTypes - unable to "
                                                     "register type definition \"") +
                                             last + "\""));
        EXPECT_TRUE(testsupport::printed(6, "akDebugModule::initialize - unable to initialize"));
        // The taken name first: it was registered before the chain ran.
        std::vector<std::string> expected = {last};
        expected.insert(expected.end(), s_typeOrder.begin(), std::find(s_typeOrder.begin(), s_typeOrder.end(), first));
        EXPECT_EQ(registeredTypes(), expected);

        delete taken;
        ASSERT_EQ(module->initialize(0, nullptr), telu::SUCCESS);
        EXPECT_EQ(registeredTypes(), s_typeOrder);
        ASSERT_EQ(module->initialize(0, nullptr), telu::SUCCESS);
        EXPECT_EQ(registeredTypes(), s_typeOrder);
        ASSERT_EQ(module->shutdown(), telu::SUCCESS);
        EXPECT_EQ(akDebugTypeDef::size(), 0u);
    }
    delete module;
}

TEST(ModuleTest, UnknownModulesAreReported)
{
    testsupport::clear();
    EXPECT_EQ(akModule::load("nosuchmodule"), nullptr);
    EXPECT_TRUE(testsupport::printed(5, "akModule::load - unable to open module \"nosuchmodule\""));
}

}  // namespace
