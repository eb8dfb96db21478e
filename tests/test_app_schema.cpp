// Application schemas: every type written and read back level by level (objects with two host
// bases hold both base levels side by side), the address-only references of geometry containers
// and the manual child's special value through a repeat.
#include "levelsupport.h"

#include <akdebugapp.h>
#include <akdebugscene.h>

#include <memory>

using namespace schemasupport;
using namespace levelsupport;

namespace {

class AppSchema : public ModuleTest
{};

}  // namespace

// Every type of the application library. The transform side of an akObject (its kiTransform and
// akPositionable levels) and its pageable geometry side hold different values, so a base written
// from the wrong subobject of the host object shows up as wrong values under the wrong level.
TEST_F(AppSchema, EveryTypeRoundTripsLevelByLevel)
{
    const Levels base = line({"emBase", "emMemBase"});
    const Levels node = on("kiNode", base);
    const Levels positionable = line({"akPositionable"});
    const Levels transform = on("akTransform", on("kiTransform", node), positionable);
    const Levels pageable = on("akGeometryPageable", line({"akGeometry"}), line({"akPageable"}));
    const Levels geoRef = on("akCoordConverter::GeoRef", base);
    const Levels ellipsoid = on("akCoordSys::Ellipsoid", base);
    const struct
    {
        emClassObject* (*make)();
        Levels levels;
    } cases[] = {
        {makeRecord<akGeometry>, line({"akGeometry"})},
        {makeRecord<akPageable>, line({"akPageable"})},
        {makeRecord<akPositionable>, positionable},
        {makeRecord<akCoordConverter>, line({"akCoordConverter", "emMemBase"})},
        {make<akCoordConverter::GeoRef>, geoRef},
        {make<akCoordSys>, on("akCoordSys", base)},
        {make<akCoordSys::Ellipsoid>, ellipsoid},
        {make<akCoordSys::Projection>, on("akCoordSys::Projection", base)},
        {make<akGeometry::Attribute>, on("akGeometry::Attribute", base)},
        {make<akIsector>, on("akIsector", base, positionable)},
        {make<akPositionable::Strategy>, on("akPositionable::Strategy", base)},
        {make<akDOF>, on("akDOF", on("kiDOF", node))},
        {make<akLOD>, on("akLOD", on("kiLOD", node))},
        {make<akScene>, on("akScene", node)},
        {make<akTransform>, transform},
        {makeRecord<akGeometryPageable>, pageable},
        {make<akCoordConverter::GeoRefMatrix>, on("akCoordConverter::GeoRefMatrix", geoRef)},
        {make<akCoordConverter::GeoRefVec3>, on("akCoordConverter::GeoRefVec3", geoRef)},
        {make<akCoordSys::CustomSphere>, on("akCoordSys::CustomSphere", ellipsoid)},
        {make<akCoordSys::DefaultSphere>, on("akCoordSys::DefaultSphere", ellipsoid)},
        {make<akLight>, on("akLight", transform)},
        {make<akObject>, on("akObject", transform, pageable)},
    };
    for (const auto& c : cases) {
        SceneGraphLevels sceneGraph;
        ApplicationLevels application;
        expectRoundTrip(c.levels, c.make, {&sceneGraph, &application});
    }
}

// A geometry container lists its nodes and textures by address only: a texture that no render
// state uses stands in the file as an address, never as a record of its own. Its attributes are
// full records. The "Copy Source" of an object is an address too.
TEST_F(AppSchema, GeometryContainersReferenceByAddress)
{
    olTexture texture("unused texture");
    akGeometry::Attribute attribute("attribute");
    akObject* source = new akObject("source");
    akObject* object = new akObject("object");
    kiNode* root = new kiNode("root");
    root->addChild(object);
    object->addTexture(&texture);
    object->addAttribute(&attribute);
    object->addNamed(object);
    object->setCopySource(source);

    const std::string path = testsupport::tempDir() + "/container.bin";
    akDebugScene scene;
    ASSERT_EQ(scene.write(path.c_str(), root, false), telu::SUCCESS);
    const std::vector<uint8_t> bytes = readFile(path);
    const int textureType = typeIndex(scene, "olTexture");
    EXPECT_EQ(countRecords(bytes, textureType, akDebug::OBJECT_ADDRESS_ONLY, low32(&texture)), 1);
    EXPECT_EQ(countRecords(bytes, textureType, akDebug::OBJECT_FULL, low32(&texture)), 0);
    EXPECT_EQ(countRecords(bytes, typeIndex(scene, "akGeometry::Attribute"), akDebug::OBJECT_FULL, low32(&attribute)),
              1);
    EXPECT_EQ(countRecords(bytes, typeIndex(scene, "akObject"), akDebug::OBJECT_ADDRESS_ONLY, low32(source)), 1);
    EXPECT_EQ(countRecords(bytes, typeIndex(scene, "akObject"), akDebug::OBJECT_FULL, low32(source)), 0);

    ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
    const akDebugAttributeBase* read = at(scene.getRoot(), "Children/0");
    ASSERT_NE(read, nullptr);
    const akDebugAttributeBase* geometry = at(read, "akGeometryPageable/akGeometry");
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(valueOf(at(geometry, "Textures/0")), hexOf(&texture));
    EXPECT_TRUE(at(geometry, "Textures/0")->empty_child());
    EXPECT_EQ(valueOf(at(geometry, "Named Nodes/0")), hexOf(object));
    EXPECT_FALSE(at(geometry, "Attributes/0")->empty_child());
    EXPECT_EQ(valueOf(at(read, "Copy Source")), hexOf(source));
    kiNode::release(root);
    kiNode::release(source);
}

// An object whose manual child is off shows "MANUAL_LOD_OFF", also in the copy a repeat makes.
TEST_F(AppSchema, ManualChildOffSurvivesRepeats)
{
    kiNode* root = new kiNode("root");
    kiNode* left = new kiNode("left");
    kiNode* right = new kiNode("right");
    akObject* shared = new akObject("shared");
    root->addChild(left);
    root->addChild(right);
    left->addChild(shared);
    right->addChild(shared);
    shared->setManualLODChild(akObject::MANUAL_LOD_OFF);

    const std::string path = testsupport::tempDir() + "/repeat.bin";
    akDebugScene scene;
    ASSERT_EQ(scene.write(path.c_str(), root, false), telu::SUCCESS);
    EXPECT_EQ(countRecords(readFile(path), typeIndex(scene, "akObject"), akDebug::OBJECT_REPEAT, low32(shared)), 1);
    ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
    for (const char* path : {"Children/0/Children/0/Manual Child", "Children/1/Children/0/Manual Child"}) {
        const akDebugAttributeBase* child = at(scene.getRoot(), path);
        ASSERT_NE(child, nullptr) << path;
        EXPECT_EQ(valueOf(child), "MANUAL_LOD_OFF");
        EXPECT_EQ(typeOf(child), "int");
    }
    kiNode::release(root);
}
