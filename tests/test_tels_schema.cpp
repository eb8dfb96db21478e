// Scene-graph schemas: every type written and read back, the traversal of a node graph (with the
// special values through repeats), the representation blocks, the nesting bound and cull records.
#include "levelsupport.h"

#include <akdebugscene.h>
#include <akdebugtels.h>

#include <cstdio>
#include <functional>
#include <memory>

using namespace schemasupport;
using namespace levelsupport;

namespace {

class TelsSchema : public ModuleTest
{};

}  // namespace

// Every type of the scene graph and of the utility library: one nested object per class level,
// each level's attributes with the values written, and the reader stops exactly at the end.
TEST_F(TelsSchema, EveryTypeRoundTripsLevelByLevel)
{
    const Levels node = line({"kiNode", "emBase", "emMemBase"});
    const Levels filter = line({"kiLODFilterBase", "emBase", "emMemBase"});
    const Levels geometryBase = on("kiGeometryBase", node);
    const Levels geometryRecord = line({"kiGeometryBase::CullRecord", "kiCullRecord"});
    const struct
    {
        emClassObject* (*make)();
        Levels levels;
    } cases[] = {
        {makeRecord<emPalette>, line({"emPalette", "emMemBase"})},
        {makeRecord<emUserDataList>, line({"emUserDataList"})},  // no payload at all
        {makeRecord<kiCullRecord>, line({"kiCullRecord"})},
        {make<kiChannelBin>, line({"kiChannelBin", "emBase", "emMemBase"})},
        {make<kiCullRecordFactory>, line({"kiCullRecordFactory", "emBase", "emMemBase"})},
        {make<kiLightPoint::Control>, line({"kiLightPoint::Control", "emBase", "emMemBase"})},
        {make<kiLODFilterBase>, filter},
        {make<kiNode>, node},
        {makeRecord<kiRenderStrategyFrameGeometry>,
         line({"kiRenderStrategyFrameGeometry", "olRenderStrategy", "emMemBase"})},
        {makeRecord<kiGeometryBase::CullRecord>, geometryRecord},
        {makeRecord<kiLight::CullRecord>, line({"kiLight::CullRecord", "kiCullRecord"})},
        {makeRecord<kiLightPoint::CullRecord>, on("kiLightPoint::CullRecord", geometryRecord)},
        {make<kiLODFilter>, on("kiLODFilter", filter)},
        {make<kiLODFilterManual>, on("kiLODFilterManual", filter)},
        {make<kiAnimation>, on("kiAnimation", node)},
        {make<kiDecal>, on("kiDecal", node)},
        {make<kiDOF>, on("kiDOF", node)},
        {make<kiGeometryBase>, geometryBase},
        {make<kiLight>, on("kiLight", node)},
        {make<kiLOD>, on("kiLOD", node)},
        {make<kiSwitch>, on("kiSwitch", node)},
        {make<kiTransform>, on("kiTransform", node)},
        {make<kiGeometry>, on("kiGeometry", geometryBase)},
        {make<kiLightPoint>, on("kiLightPoint", geometryBase)},
        {make<kiString>, on("kiString", geometryBase)},
        {make<kiBillboard>, on("kiBillboard", on("kiTransform", node))},
    };
    for (const auto& c : cases) {
        SceneGraphLevels levels;
        expectRoundTrip(c.levels, c.make, {&levels});
    }
}

// The light point rows sit between the geometry cull record's level and the channel bin; the
// arrays are in the file only when there are light points, and then the vertices only when the
// record has them.
TEST_F(TelsSchema, LightPointCullRecordArraysAndTheirBytes)
{
    const struct
    {
        int count;
        bool allocated, vertices;
        uint64_t arrayBytes;
        std::vector<int> sizes;  // children of Indices, Sizes, Colors, Vertices
    } table[] = {
        {0, true, false, 0, {0, 0, 0, 0}},
        {-3, true, false, 0, {0, 0, 0, 0}},
        {2, true, false, (4 + 4) + (4 + 8) + (4 + 32) + 4, {2, 2, 2, 0}},
        {2, true, true, (4 + 4) + (4 + 8) + (4 + 32) + 4 + (4 + 24), {2, 2, 2, 2}},
        // A count without arrays: address 0 and zero elements keep the block's size.
        {2, false, false, (4 + 4) + (4 + 8) + (4 + 32) + 4, {2, 2, 2, 0}},
    };
    uint64_t base = 0;
    {
        kiGeometryBase::CullRecord plain;
        RoundTrip trip;
        trip.begin();
        const uint64_t start = trip.position();
        trip.write(&plain);
        base = trip.position() - start;
    }
    for (const auto& row : table) {
        SCOPED_TRACE(row.count);
        kiLightPoint::CullRecord record;
        if (row.allocated)
            record.allocateLightPoints(row.count, row.vertices);
        record.numLightPoints = row.count;
        RoundTrip trip;
        trip.begin();
        const uint64_t start = trip.position();
        trip.write(&record);
        // 4 bools, the count, 2 doubles, 2 floats, 2 matrices, 3 null references.
        EXPECT_EQ(trip.position() - start - base, 16u + 4 + 16 + 8 + 256 + 24 + row.arrayBytes);
        trip.finish();
        const akDebugObject* object = trip.read();
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(trip.consumedAll());
        EXPECT_EQ(valueOf(at(object, "Light Point Data/Number of Light Points")), std::to_string(row.count));
        const char* arrays[] = {"Indices", "Sizes", "Colors", "Vertices"};
        const void* hostArrays[] = {record.indices, record.sizes, record.colors, record.vertices};
        for (int i = 0; i < 4; ++i) {
            const akDebugAttributeBase* array = at(object, std::string("Light Point Data/") + arrays[i]);
            ASSERT_NE(array, nullptr) << arrays[i];
            EXPECT_EQ(static_cast<int>(array->size_child()), row.sizes[i]) << arrays[i];
            EXPECT_EQ(valueOf(array), hostArrays[i] ? hexOf(hostArrays[i]) : "0x0") << arrays[i];
        }
    }
}

// A node reached through two parents has one full record and one repeat, and both parents list
// it; a node seen only as a parent stands as an address; an isolated node has empty lists. The
// special value strings survive the copy made for the repeat.
TEST_F(TelsSchema, TraversalOfANodeGraph)
{
    kiNode* top = new kiNode("top");
    kiNode* root = new kiNode("root");
    kiNode* left = new kiNode("left");
    kiNode* right = new kiNode("right");
    kiSwitch* shared = new kiSwitch("shared");
    kiAnimation* animation = new kiAnimation("animation");
    top->addChild(root);
    root->addChild(left);
    root->addChild(right);
    left->addChild(shared);
    right->addChild(shared);
    shared->addChild(animation);
    shared->setActiveMask(kiSwitch::SELECT_NONE);
    animation->setNumLoops(kiAnimation::LOOP_INFINITE);
    animation->setLastChildDuration(kiAnimation::LAST_CHILD_DURATION_UNSPECIFIED);
    animation->setDuration(4.0, true);

    std::string path = testsupport::tempDir() + "/graph.bin";
    akDebugScene scene;
    ASSERT_EQ(scene.write(path.c_str(), root, false), telu::SUCCESS);
    const std::vector<uint8_t> bytes = readFile(path);
    const int node = typeIndex(scene, "kiNode");
    const int switchType = typeIndex(scene, "kiSwitch");
    EXPECT_EQ(countRecords(bytes, switchType, akDebug::OBJECT_FULL, low32(shared)), 1);
    EXPECT_EQ(countRecords(bytes, switchType, akDebug::OBJECT_REPEAT, low32(shared)), 1);
    EXPECT_EQ(countRecords(bytes, node, akDebug::OBJECT_ADDRESS_ONLY, low32(top)), 1);
    EXPECT_EQ(countRecords(bytes, node, akDebug::OBJECT_FULL, low32(top)), 0);
    // Parents of left and right, and of shared (twice in its one full record).
    EXPECT_EQ(countRecords(bytes, node, akDebug::OBJECT_ADDRESS_ONLY, low32(root)), 2);

    ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
    const akDebugObject* tree = scene.getRoot();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(objectRows(at(tree, "Parents")), Rows{"0: kiNode * = " + hexOf(top)});
    EXPECT_TRUE(at(tree, "Parents/0")->empty_child());

    const akDebugAttributeBase* viaLeft = at(tree, "Children/0/Children/0");
    const akDebugAttributeBase* viaRight = at(tree, "Children/1/Children/0");
    ASSERT_NE(viaLeft, nullptr);
    ASSERT_NE(viaRight, nullptr);
    EXPECT_NE(viaLeft, viaRight);
    for (const akDebugAttributeBase* copy : {viaLeft, viaRight}) {
        EXPECT_EQ(typeOf(copy) + " = " + valueOf(copy), "kiSwitch * = " + hexOf(shared));
        EXPECT_EQ(valueOf(at(copy, "Active Mask")), "SELECT_NONE");
        EXPECT_EQ(objectRows(at(copy, "kiNode/Parents")),
                  (Rows{"0: kiNode * = " + hexOf(left), "1: kiNode * = " + hexOf(right)}));
        const akDebugAttributeBase* anim = at(copy, "kiNode/Children/0");
        ASSERT_NE(anim, nullptr);
        EXPECT_EQ(valueOf(at(anim, "Number of Loops")), "LOOP_INFINITE");
        EXPECT_EQ(valueOf(at(anim, "Last Child Duration")), "LAST_CHILD_DURATION_UNSPECIFIED");
        EXPECT_EQ(valueOf(at(anim, "Per Child Duration")), "4");
        EXPECT_EQ(at(anim, "Overall Duration"), nullptr);
        EXPECT_TRUE(at(anim, "kiNode/Children")->empty_child());
    }
    kiNode::release(top);

    kiNode alone("alone");
    ASSERT_EQ(scene.write(path.c_str(), &alone, false), telu::SUCCESS);
    ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
    EXPECT_TRUE(at(scene.getRoot(), "Parents")->empty_child());
    EXPECT_TRUE(at(scene.getRoot(), "Children")->empty_child());
}

// With two representations, geometry nodes and lights carry two blocks each, and each block's
// validation messages mark the kiGeometryBase object.
TEST_F(TelsSchema, TwoRepresentations)
{
    struct Representations
    {
        Representations() { kiChannel::setNumRepresentations(2); }
        ~Representations() { kiChannel::setNumRepresentations(1); }
    } two;
    SceneGraphLevels refs;
    kiNode* root = new kiNode("root");
    kiGeometry* geometry = new kiGeometry("geometry");
    kiLight* light = new kiLight("light");
    root->addChild(geometry);
    root->addChild(light);
    geometry->setChannelBinId(0, 10);
    geometry->setGeometryBase(0, &refs.geometry);
    geometry->setState(0, &refs.state);
    geometry->setChannelBinId(1, 11);
    geometry->setAuxChannelBinId(1, 12);
    light->setChannelBinId(0, 20);
    light->setLight(0, &refs.light);
    light->setChannelBinId(1, 21);

    std::string path = testsupport::tempDir() + "/two.bin";
    akDebugScene scene;
    ASSERT_EQ(scene.write(path.c_str(), root, false), telu::SUCCESS);
    kiNode::release(root);
    kiChannel::setNumRepresentations(1);  // the reader follows the file, not the channel
    ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
    EXPECT_EQ(scene.getNumRepresentations(), 2);

    const akDebugAttributeBase* geometryBase = at(scene.getRoot(), "Children/0/kiGeometryBase");
    ASSERT_NE(geometryBase, nullptr);
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 0/Channel Bin Id")), "10");
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 0/Geometry")), hexOf(&refs.geometry));
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 1/Channel Bin Id")), "11");
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 1/Auxiliary Channel Bin Id")), "12");
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 1/Geometry")), "0x0");
    EXPECT_EQ(errors(geometryBase), Rows{"5: kiGeometryBase::validate - representation 1 has no geometry"});
    EXPECT_TRUE(errors(at(geometryBase, "Representation 1")).empty());

    const akDebugAttributeBase* lightLevel = at(scene.getRoot(), "Children/1");
    ASSERT_NE(lightLevel, nullptr);
    EXPECT_EQ(valueOf(at(lightLevel, "Representation 0/Channel Bin Id")), "20");
    EXPECT_EQ(valueOf(at(lightLevel, "Representation 0/Light")), hexOf(&refs.light));
    EXPECT_EQ(valueOf(at(lightLevel, "Representation 1/Channel Bin Id")), "21");
    EXPECT_EQ(at(lightLevel, "Representation 2"), nullptr);
}

// Object records nest at most akDebug::s_maxDepth deep. A chain of nodes without user data lists
// is written in full down to that depth; one node more is written as an address and reported.
// A user data list is a record of its own one level below its node.
TEST_F(TelsSchema, NestingBoundOfANodeChain)
{
    const struct
    {
        int nodes;
        bool userDataOnLast, tooDeep;
    } table[] = {
        {akDebug::s_maxDepth, false, false},
        {akDebug::s_maxDepth + 1, false, true},
        {akDebug::s_maxDepth - 1, true, false},
        {akDebug::s_maxDepth, true, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.nodes);
        testsupport::clear();
        std::vector<kiNode*> chain;
        for (int i = 0; i < row.nodes; ++i) {
            chain.push_back(new kiNode);
            if (i > 0)
                chain[i - 1]->addChild(chain[i]);
        }
        if (row.userDataOnLast)
            chain.back()->getUserDataList(true);
        std::string path = testsupport::tempDir() + "/chain.bin";
        akDebugScene scene;
        ASSERT_EQ(scene.write(path.c_str(), chain.front(), false), telu::SUCCESS);
        EXPECT_EQ(testsupport::printed(6, "akDebug::writeObject - nesting too deep"), row.tooDeep);
        ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
        EXPECT_FALSE(scene.hasReadFailed());

        const akDebugAttributeBase* node = scene.getRoot();
        for (int i = 1; i < row.nodes && node; ++i)
            node = at(node, "Children/0");
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(valueOf(node), hexOf(chain.back()));
        const akDebugAttributeBase* list = at(node, "emBase/User Data List");
        if (row.tooDeep && !row.userDataOnLast) {
            EXPECT_TRUE(node->empty_child());  // an address only
        } else {
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(valueOf(list), row.userDataOnLast ? hexOf(chain.back()->getUserDataList(false)) : "0x0");
        }
        kiNode::release(chain.front());
    }
}

// A plain cull record has no shared repeats: each reference carries its full record. A geometry
// cull record is written once and then repeated.
TEST_F(TelsSchema, CullRecordsReferencedTwice)
{
    kiCullRecord plain;
    plain.channelId = 41;
    kiGeometryBase::CullRecord geometry;
    geometry.channelId = 42;
    RoundTrip trip;
    for (int i = 0; i < 2; ++i) {
        trip.write(&plain);
        trip.write(&geometry);
    }
    trip.finish();
    const std::vector<uint8_t> bytes = trip.bytes();
    const int plainType = typeIndex(trip, "kiCullRecord");
    const int geometryType = typeIndex(trip, "kiGeometryBase::CullRecord");
    EXPECT_EQ(countRecords(bytes, plainType, akDebug::OBJECT_FULL, low32(&plain)), 2);
    EXPECT_EQ(countRecords(bytes, geometryType, akDebug::OBJECT_FULL, low32(&geometry)), 1);
    EXPECT_EQ(countRecords(bytes, geometryType, akDebug::OBJECT_REPEAT, low32(&geometry)), 1);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(valueOf(at(trip.read(), "Channel Id")), "41");
        EXPECT_EQ(valueOf(at(trip.read(), "kiCullRecord/Channel Id")), "42");
    }
    EXPECT_TRUE(trip.consumedAll());
}

// A name registers for the object whose record carries it: the name of a cull record factory
// (whose type keeps no indexes) read inside an unnamed geometry node does not become the node's
// name, and nothing of a file already gone is touched when the next file is read.
TEST_F(TelsSchema, NamesRegisterOnlyForTheirOwnObject)
{
    kiCullRecordFactory factory("factory");
    kiNode* root = new kiNode("root");
    kiGeometry* unnamed = new kiGeometry;
    root->addChild(unnamed);
    unnamed->setCullRecordFactoryBase(0, &factory);
    const std::string path = testsupport::tempDir() + "/names.bin";
    for (int pass = 0; pass < 2; ++pass) {
        akDebugScene scene;
        ASSERT_EQ(scene.write(path.c_str(), root, false), telu::SUCCESS);
        ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
        for (const akDebugType* type :
             {scene.getType(akDebugTypeDef::find("kiGeometry")), scene.getType(akDebugTypeDef::find("kiNode"))}) {
            ASSERT_NE(type, nullptr);
            EXPECT_EQ(type->findObject("factory", akDebugType::FIND_EXACT, nullptr), nullptr) << type->getName();
        }
        const akDebugType* nodeType = scene.getType(akDebugTypeDef::find("kiNode"));
        const akDebugObject* named = nodeType->findObject("root", akDebugType::FIND_EXACT, nullptr);
        ASSERT_NE(named, nullptr);
        EXPECT_EQ(named, scene.getRoot());
    }
    kiNode::release(root);
}

// Ordinary instancing reads completely under the default attribute limit, which counts what the
// copies of repeats really build: one drawable shared by 100,000 geometry nodes (each a copy of its
// subtree), and one geometry node under 2,000 transforms (each copy also lists all 2,000 parents).
TEST_F(TelsSchema, InstancingReadsUnderTheDefaultLimit)
{
    static emVec3<float> vertices[8];
    olGeometry drawable("cube");
    drawable.setVertices(vertices, 8);
    kiNode* root = new kiNode("root");
    const int drawableInstances = 100000;
    for (int i = 0; i < drawableInstances; ++i) {
        kiGeometry* geometry = new kiGeometry;
        geometry->setGeometryBase(0, &drawable);
        root->addChild(geometry);
    }
    const int nodeInstances = 2000;
    kiGeometry* shared = new kiGeometry("instanced");
    for (int i = 0; i < nodeInstances; ++i) {
        kiTransform* transform = new kiTransform;
        transform->addChild(shared);
        root->addChild(transform);
    }
    const std::string path = testsupport::tempDir() + "/instances.bin";
    akDebugScene scene;
    ASSERT_EQ(scene.write(path.c_str(), root, false), telu::SUCCESS);
    kiNode::release(root);
    ASSERT_EQ(scene.read(path.c_str()), telu::SUCCESS);
    EXPECT_FALSE(scene.hasReadFailed());
    EXPECT_EQ(scene.getNumRecords(akDebug::OBJECT_REPEAT),
              static_cast<unsigned int>(drawableInstances - 1 + nodeInstances - 1));
    const akDebugAttributeBase* children = at(scene.getRoot(), "Children");
    ASSERT_EQ(children->size_child(), static_cast<unsigned int>(drawableInstances + nodeInstances));
    const akDebugAttributeBase* readVertices =
        at(children,
           std::to_string(drawableInstances - 1) + "/kiGeometryBase/Representation 0/Geometry/olGeometryBase/Vertices");
    ASSERT_NE(readVertices, nullptr);
    EXPECT_EQ(readVertices->size_child(), 8u);
    const akDebugAttributeBase* parents =
        at(children,
           std::to_string(drawableInstances + nodeInstances - 1) + "/kiNode/Children/0/kiGeometryBase/kiNode/Parents");
    ASSERT_NE(parents, nullptr);
    EXPECT_EQ(parents->size_child(), static_cast<unsigned int>(nodeInstances));
    EXPECT_GT(scene.getNumAttributesHeld(), 8ull * drawableInstances + 1ull * nodeInstances * nodeInstances);
    EXPECT_LT(scene.getNumAttributesHeld(), scene.getMaxAttributes());
}
