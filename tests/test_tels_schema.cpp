// Scene-graph schemas: every type written and read back, the traversal of a node graph (with the
// special values through repeats), the representation blocks, the nesting bound and cull records.
#include "schemasupport.h"

#include <akdebugscene.h>
#include <akdebugtels.h>

#include <cstdio>
#include <functional>
#include <memory>

using namespace schemasupport;

namespace {

unsigned int low32(const void* pointer) { return static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pointer)); }
// The file address of a host pointer: its low 32 bits while they are unique in the file.
std::string hexOf(const void* pointer) { return hex(low32(pointer)); }

std::string bits(unsigned int value)
{
    std::string text;
    for (int i = 0; i < 32; ++i)
        text += ((value >> i) & 1) ? '1' : '0';
    return text;
}

std::string num(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

emMatrix<double> distinctMatrix(double start)
{
    emMatrix<double> m;
    for (int k = 0; k < 16; ++k)
        m.m[k / 4][k % 4] = start + k;
    return m;
}

// The objects every record may point at.
struct Refs
{
    olState state{"state"};
    olGeometry geometry{"geometry"};
    kiCullRecordFactory factory{"factory"};
    olLight light{"light"};
    olFog fog{"fog"};
    olChannel channel{"channel"};
    kiChannelBin bin{"bin"};
    kiLightPoint::Control control{"control"};
    kiLODFilter filter{"filter"};
    olTransform::ElementModelView modelView;
    kiNode sortNode{"sort node"};
    olMaterial sortMaterial{"sort material"};
};

// The marks of a class level itself and the rows of its own fields.
struct Level
{
    std::string marks;
    Rows rows;
};

// Gives the host object distinct, non-default values in the fields of one class level and returns
// what that level reads back as. Levels without fields of their own read back empty.
Level fillLevel(const std::string& level, emClassObject* o, Refs& r)
{
    if (level == "emMemBase") {
        emMemBase* m = dynamic_cast<emMemBase*>(o);
        m->setSizes(48, 64);
        m->ref();
        m->ref();
        return {"", {"Reference Count: int = 2", "Size Requested: unsigned int = 48 [advanced]",
                     "Size Allocated: unsigned int = 64 [advanced]"}};
    }
    if (level == "emBase")
        return {"", {std::string("Name: emString = \"") + dynamic_cast<emBase*>(o)->getName() + "\"",
                     "User Data List: emUserDataList * = 0x0"}};
    if (level == "kiCullRecord") {
        kiCullRecord* c = dynamic_cast<kiCullRecord*>(o);
        c->options = kiCullRecord::OPTION_SET_MATRIX | kiCullRecord::OPTION_TRANSPARENT;
        c->channelId = 3;
        c->decalOffset = 4;
        c->multiSampleCoverage = 0.5f;
        c->depth = 0.25f;
        c->state = &r.state;
        c->primarySortObject = &r.sortNode;
        c->secondarySortObject = &r.sortMaterial;
        c->modelViewTransformElement = &r.modelView;
        c->cullRecordFactory = &r.factory;
        return {"",
                {"Options: unsigned int = 0x5 [tip: OPTION_SET_MATRIX |\nOPTION_TRANSPARENT]", "Channel Id: int = 3",
                 "Decal Offset: int = 4", "Multi-Sample Coverage: float = 0.5", "Depth: float = 0.25",
                 "State: olState * = " + hexOf(&r.state), "Primary Sort Object: kiNode * = " + hexOf(&r.sortNode),
                 "Secondary Sort Object: olMaterial * = " + hexOf(&r.sortMaterial),
                 "Model View Transform Element: olTransform::ElementModelView = ",
                 "Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}};
    }
    if (level == "kiGeometryBase::CullRecord") {
        dynamic_cast<kiGeometryBase::CullRecord*>(o)->geometry = &r.geometry;
        return {"", {"Geometry: olGeometry * = " + hexOf(&r.geometry)}};
    }
    if (level == "kiLight::CullRecord") {
        dynamic_cast<kiLight::CullRecord*>(o)->light = &r.light;
        return {"", {"Light: olLight * = " + hexOf(&r.light)}};
    }
    if (level == "kiLightPoint::CullRecord") {
        kiLightPoint::CullRecord* c = dynamic_cast<kiLightPoint::CullRecord*>(o);
        c->allocateLightPoints(2, true);
        c->animate = c->disableLODs = true;
        c->enable = c->render = false;
        c->time = 1.5;
        c->enableTime = 2.5;
        c->intensity = 0.75f;
        c->nearPixelDistance = 3.5f;
        for (int i = 0; i < 2; ++i) {
            c->indices[i] = static_cast<unsigned short>(5 + i);
            c->sizes[i] = 0.5f + i;
            c->colors[i] = emVec4<float>(0.1f + i, 0.2f, 0.3f, 0.4f);
            c->vertices[i] = emVec3<float>(1.0f + i, 2.0f, 3.0f);
        }
        c->viewMatrix = distinctMatrix(100);
        c->modelMatrix = distinctMatrix(200);
        c->channel = &r.channel;
        c->fog = &r.fog;
        c->asynchronousChannelBin = &r.bin;
        const std::string d = "Light Point Data/";
        return {"",
                {"Light Point Data:  = ", d + "Animate: bool = true", d + "Enable: bool = false",
                 d + "Render: bool = false", d + "Disable LODs: bool = true", d + "Number of Light Points: int = 2",
                 d + "Time: double = 1.5", d + "Enable Time: double = 2.5", d + "Intensity: float = 0.75",
                 d + "Near Pixel Distance: float = 3.5", d + "Indices: unsigned short * = " + hexOf(c->indices),
                 d + "Indices/0: unsigned short = 5", d + "Indices/1: unsigned short = 6",
                 d + "Sizes: float * = " + hexOf(c->sizes), d + "Sizes/0: float = 0.5", d + "Sizes/1: float = 1.5",
                 d + "Colors: emVec4<float> * = " + hexOf(c->colors),
                 d + "Colors/0: emVec4<float> = r=0.1, g=0.2, b=0.3, a=0.4",
                 d + "Colors/1: emVec4<float> = r=1.1, g=0.2, b=0.3, a=0.4",
                 d + "Vertices: emVec3<float> * = " + hexOf(c->vertices),
                 d + "Vertices/0: emVec3<float> = x=1, y=2, z=3", d + "Vertices/1: emVec3<float> = x=2, y=2, z=3",
                 d + "View Matrix: emMatrix<double> = " + matrixValues(c->viewMatrix.m),
                 d + "Model Matrix: emMatrix<double> = " + matrixValues(c->modelMatrix.m),
                 d + "Channel: olChannel * = " + hexOf(&r.channel), d + "Fog: olFog * = " + hexOf(&r.fog),
                 "Asynchronous Channel Bin: kiChannelBin * = " + hexOf(&r.bin)}};
    }
    if (level == "kiLightPoint::Control") {
        kiLightPoint::Control* c = dynamic_cast<kiLightPoint::Control*>(o);
        c->setEnable(false);
        c->setAnimationState(kiLightPoint::Control::ANIMATION_STATE_RANDOM);
        c->setIntensity(0.5f);
        c->setEnableTime(3.25);
        return {"",
                {"Enable: bool = false",
                 "Animation State: kiLightPoint::Control::AnimationState = ANIMATION_STATE_RANDOM",
                 "Intensity: float = 0.5", "Enable Time: double = 3.25"}};
    }
    if (level == "kiLODFilter") {
        kiLODFilter* f = dynamic_cast<kiLODFilter*>(o);
        f->setVisibilityRangeScale(1.1);
        f->setVisibilityStressScale(1.2);
        f->setTransitionRangeScale(1.3);
        f->setTransitionStressScale(1.4);
        return {"", {"Visibility Range Scale: double = 1.1", "Visibility Stress Scale: double = 1.2",
                     "Transition Range Scale: double = 1.3", "Transition Stress Scale: double = 1.4"}};
    }
    if (level == "kiLODFilterManual") {
        dynamic_cast<kiLODFilterManual*>(o)->setChild(2);
        return {"", {"Child: int = 2"}};
    }
    if (level == "kiNode") {
        kiNode* n = dynamic_cast<kiNode*>(o);
        n->setCullMask(0x11);
        n->setRenderMask(0x22);
        n->setIsectMask(0x80000044u);
        n->setBranchUpdateEnable(false);
        n->setNumUpdateRequests(3);
        n->setNumGraphChangedRequests(4);
        n->setStaticBoundsEnable(true);
        n->setBounds(emSphere<double>(1, 2, 3, 4));
        n->setTotalNumUpdateRequests(5);
        n->setTotalNumGraphChangedRequests(6);
        return {"",
                {"Parents:  = ", "Cull Mask: unsigned int = 0x11 [tip: " + bits(0x11) + "]",
                 "Render Mask: unsigned int = 0x22 [tip: " + bits(0x22) + "]",
                 "Isect Mask: unsigned int = 0x80000044 [tip: " + bits(0x80000044u) + "]",
                 "Branch Update Enable: bool = false", "Number Of Update Requests: short = 3",
                 "Number Of Graph Changed Requests: short = 4", "Static Bounds Enable: bool = true",
                 "Bounds: emSphere<double> = ", "Bounds/Center: emVec3<double> = x=1, y=2, z=3",
                 "Bounds/Radius: double = 4", "Children:  = ",
                 "Total Number Of Update Requests: short = 5 [advanced]",
                 "Total Number Of Graph Changed Requests: short = 6 [advanced]"}};
    }
    if (level == "kiAnimation") {
        kiAnimation* a = dynamic_cast<kiAnimation*>(o);
        a->setMode(kiAnimation::MODE_SWING);
        a->setDirection(kiAnimation::DIRECTION_BACKWARD);
        a->setCommand(kiAnimation::COMMAND_PAUSE);
        a->setDuration(2.5, false);
        a->setNumLoops(3);
        a->setLastChildDuration(1.25);
        a->setCurrentChild(2);
        return {"",
                {"Mode: kiAnimation::Mode = MODE_SWING", "Direction: kiAnimation::Direction = DIRECTION_BACKWARD",
                 "Command: kiAnimation::Command = COMMAND_PAUSE", "Overall Duration: double = 2.5",
                 "Number of Loops: int = 3", "Last Child Duration: double = 1.25",
                 "Current Child: int = 2 [advanced]"}};
    }
    if (level == "kiDecal") {
        dynamic_cast<kiDecal*>(o)->setOffset(7);
        return {"", {"Offset: unsigned int = 7"}};
    }
    if (level == "kiDOF") {
        kiDOF* d = dynamic_cast<kiDOF*>(o);
        d->setTranslate(4, 5, 6);
        d->setRotate(40, 50, 60);
        d->setScale(1.5, 2.5, 3.5);
        emMatrix<double> origin = emMatrix<double>::identity();
        origin.m[3][0] = 7;
        origin.m[3][1] = 8;
        origin.m[3][2] = 9;
        d->setLocalOrigin(origin);
        Rows rows{"Translate: emVec3<double> = x=4, y=5, z=6", "Rotate: emVec3<double> = h=40, p=50, r=60",
                  "Scale: emVec3<double> = x=1.5, y=2.5, z=3.5", "Constraints:  = "};
        const char* names[] = {"Translate X", "Translate Y", "Translate Z", "Rotate H", "Rotate P",
                               "Rotate R",    "Scale X",     "Scale Y",     "Scale Z"};
        for (int c = 0; c < kiDOF::COMPONENT_COUNT; ++c) {
            d->setConstraint(static_cast<kiDOF::Component>(c), c % 2 == 0, c, c + 0.5);
            const std::string g = std::string("Constraints/") + names[c];
            rows.insert(rows.end(), {g + ":  = ", g + "/Enable: bool = " + (c % 2 == 0 ? "true" : "false"),
                                     g + "/Minimum: double = " + num(c), g + "/Maximum: double = " + num(c + 0.5)});
        }
        rows.push_back("Local Origin: emMatrix<double> = " + matrixValues(origin.m));
        rows.push_back("Affine Matrix: emMatrix<double> = " + matrixValues(d->getMatrixAffine().m));
        return {"", rows};
    }
    if (level == "kiGeometryBase") {
        kiGeometryBase* g = dynamic_cast<kiGeometryBase*>(o);
        g->setChannelBinId(0, 7);
        g->setAuxChannelBinId(0, 8);
        g->setGeometryBase(0, &r.geometry);
        g->setState(0, &r.state);
        g->setCullRecordFactoryBase(0, &r.factory);
        g->addValidationMessage(emNotify::LEVEL_WARN, "first check");
        g->addValidationMessage(emNotify::LEVEL_INFO, "second check");
        const std::string p = "Representation 0";
        return {" [error 5: first check] [error 2: second check]",
                {p + ":  = ", p + "/Channel Bin Id: int = 7", p + "/Auxiliary Channel Bin Id: int = 8",
                 p + "/Geometry: olGeometry * = " + hexOf(&r.geometry), p + "/State: olState * = " + hexOf(&r.state),
                 p + "/Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}};
    }
    if (level == "kiLight") {
        kiLight* l = dynamic_cast<kiLight*>(o);
        l->setEnable(false);
        l->setChannelBinId(0, 9);
        l->setLight(0, &r.light);
        l->setCullRecordFactory(0, &r.factory);
        const std::string p = "Representation 0";
        return {"",
                {"Enable: bool = false", p + ":  = ", p + "/Channel Bin Id: int = 9",
                 p + "/Light: olLight * = " + hexOf(&r.light),
                 p + "/Cull Record Factory: kiCullRecordFactory * = " + hexOf(&r.factory)}};
    }
    if (level == "kiLOD") {
        kiLOD* l = dynamic_cast<kiLOD*>(o);
        l->setCenter(1.5, 2.5, 3.5);
        l->addRange(10, 11);
        l->addRange(20, 21);
        l->setLODFilter(&r.filter);
        return {"",
                {"Center: emVec3<double> = x=1.5, y=2.5, z=3.5", "Ranges:  = ", "Ranges/0:  = ",
                 "Ranges/0/Visibility: double = 10", "Ranges/0/Transition: double = 11", "Ranges/1:  = ",
                 "Ranges/1/Visibility: double = 20", "Ranges/1/Transition: double = 21",
                 "LOD Filter: kiLODFilter * = " + hexOf(&r.filter)}};
    }
    if (level == "kiSwitch") {
        kiSwitch* s = dynamic_cast<kiSwitch*>(o);
        s->setActiveMask(3);
        s->addMask("first", {0, 2});
        s->addMask("second", {1});
        return {"",
                {"Active Mask: int = 3", "Mask 0:  = ", "Mask 0/Name: emString = \"first\"", "Mask 0/Child: int = 0",
                 "Mask 0/Child: int = 2", "Mask 1:  = ", "Mask 1/Name: emString = \"second\"",
                 "Mask 1/Child: int = 1"}};
    }
    if (level == "kiTransform") {
        kiTransform* t = dynamic_cast<kiTransform*>(o);
        t->setTranslate(1, 2, 3);
        t->setRotate(10, 20, 30);
        t->setScale(2, 3, 4);
        t->setStaticEnable(true);
        return {"",
                {"Translate: emVec3<double> = x=1, y=2, z=3", "Rotate: emVec3<double> = h=10, p=20, r=30",
                 "Scale: emVec3<double> = x=2, y=3, z=4", "Static Enable: bool = true",
                 "Affine Matrix: emMatrix<double> = " + matrixValues(t->getMatrixAffine().m)}};
    }
    if (level == "kiLightPoint") {
        dynamic_cast<kiLightPoint*>(o)->setControl(&r.control);
        return {"", {"Control: kiLightPoint::Control * = " + hexOf(&r.control)}};
    }
    if (level == "kiBillboard") {
        kiBillboard* b = dynamic_cast<kiBillboard*>(o);
        b->setType(kiBillboard::TYPE_AXIAL);
        b->setOrientation(kiBillboard::ORIENTATION_POINT_TO_EYE);
        b->setAxis(0, 1, 0);
        return {"",
                {"Type: kiBillboard::Type = TYPE_AXIAL",
                 "Orientation: kiBillboard::Orientation = ORIENTATION_POINT_TO_EYE",
                 "Axis: emVec3<double> = x=0, y=1, z=0"}};
    }
    return {};
}

// Fills every class level of a record from chain[i] down and returns its rows as objectRows()
// lists them with every base level expanded: the base level's row and rows first, then the
// level's own. `marks` receives the marks of chain[i] itself.
Rows fillLevels(const std::vector<const char*>& chain, size_t i, emClassObject* o, Refs& r, std::string& marks)
{
    Level level = fillLevel(chain[i], o, r);
    marks = level.marks;
    Rows out;
    if (i + 1 < chain.size()) {
        const std::string base = chain[i + 1];
        std::string baseMarks;
        Rows rows = fillLevels(chain, i + 1, o, r, baseMarks);
        out.push_back(base + ": " + base + " = " + baseMarks);
        for (const std::string& row : rows)
            out.push_back(base + "/" + row);
    }
    out.insert(out.end(), level.rows.begin(), level.rows.end());
    return out;
}

struct Case
{
    std::function<emClassObject*()> make;
    std::vector<const char*> chain;  // the record's type, then each base level in nesting order
};

template <class C>
emClassObject* make()
{
    return new C("object");
}
template <class C>
emClassObject* makeRecord()
{
    return new C;
}

std::vector<const char*> on(const char* type, std::vector<const char*> base)
{
    base.insert(base.begin(), type);
    return base;
}

class TelsSchema : public ModuleTest
{
};

}  // namespace

// Every type of the scene graph and of the utility library: one nested object per class level,
// each level's attributes with the values written, and the reader stops exactly at the end.
TEST_F(TelsSchema, EveryTypeRoundTripsLevelByLevel)
{
    const std::vector<const char*> node = {"kiNode", "emBase", "emMemBase"};
    const std::vector<const char*> filter = {"kiLODFilterBase", "emBase", "emMemBase"};
    const auto geometryBase = on("kiGeometryBase", node);
    const std::vector<Case> cases = {
        {makeRecord<emPalette>, {"emPalette", "emMemBase"}},
        {makeRecord<emUserDataList>, {"emUserDataList"}},  // no payload at all
        {makeRecord<kiCullRecord>, {"kiCullRecord"}},
        {make<kiChannelBin>, {"kiChannelBin", "emBase", "emMemBase"}},
        {make<kiCullRecordFactory>, {"kiCullRecordFactory", "emBase", "emMemBase"}},
        {make<kiLightPoint::Control>, {"kiLightPoint::Control", "emBase", "emMemBase"}},
        {make<kiLODFilterBase>, filter},
        {make<kiNode>, node},
        {makeRecord<kiRenderStrategyFrameGeometry>, {"kiRenderStrategyFrameGeometry", "olRenderStrategy", "emMemBase"}},
        {makeRecord<kiGeometryBase::CullRecord>, {"kiGeometryBase::CullRecord", "kiCullRecord"}},
        {makeRecord<kiLight::CullRecord>, {"kiLight::CullRecord", "kiCullRecord"}},
        {makeRecord<kiLightPoint::CullRecord>, {"kiLightPoint::CullRecord", "kiGeometryBase::CullRecord", "kiCullRecord"}},
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chain[0]);
        Refs refs;
        std::unique_ptr<emClassObject> host(c.make());
        std::string marks;
        const Rows expected = fillLevels(c.chain, 0, host.get(), refs, marks);
        RoundTrip trip;
        trip.write(host.get(), akDebugTypeDef::find(c.chain[0]));
        trip.finish();
        const akDebugObject* object = trip.read();
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(trip.consumedAll()) << trip.bytesLeft() << " bytes left";
        EXPECT_EQ(typeOf(object) + " = " + valueOf(object) + schemasupport::marks(object),
                  std::string(c.chain[0]) + " * = " + hexOf(host.get()) + marks);
        Rows bases;
        for (size_t i = 1; i < c.chain.size(); ++i)
            bases.push_back((i > 1 ? bases.back() + "/" : "") + c.chain[i]);
        EXPECT_TRUE(sameRows(objectRows(object, bases), expected));
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
    Refs refs;
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
