// Scene-graph schemas: every type written and read back, the traversal of a node graph, the
// representation blocks, the nesting bound, the special value strings and the cull records.
#include "schemasupport.h"

#include <akdebugscene.h>
#include <akdebugtels.h>
#include <benchscene.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>

using namespace schemasupport;

namespace {

// ---- expected rows ----

std::string hex(const void* pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pointer)));
    return text;
}

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

void addMatrix(std::vector<std::string>& out, const std::string& name, const emMatrix<double>& m)
{
    out.push_back(name + ": emMatrix<double> = ");
    for (int r = 0; r < 4; ++r) {
        std::string row = name + "/Row " + std::to_string(r);
        out.push_back(row + ":  = ");
        for (int c = 0; c < 4; ++c)
            out.push_back(row + "/Column " + std::to_string(c) + ": double = " + num(m.m[r][c]));
    }
}

emMatrix<double> distinctMatrix(double start)
{
    emMatrix<double> m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m.m[r][c] = start + r * 4 + c;
    return m;
}

// ---- reading the tree ----

std::string line(const akDebugAttributeBase* a)
{
    std::string text = std::string(a->getName()) + ": " + typeOf(a) + " = " + valueOf(a);
    if (akDebugAttributeBase::isAdvanced(a))
        text += " [advanced]";
    if (const char* tip = akDebugAttributeBase::getToolTip(a))
        text += std::string(" [tip: ") + tip + "]";
    return text;
}

std::string errors(const akDebugAttributeBase* a)
{
    std::string text;
    auto range = akDebugAttributeBase::range_error(a);
    for (auto e = range.first; e != range.second; ++e)
        text += "[error " + std::to_string(e->second.first) + ": " + e->second.second + "]";
    return text;
}

bool isClassLevel(const akDebugAttributeBase* a)
{
    const akDebugObject* object = dynamic_cast<const akDebugObject*>(a);
    return object && !object->hasAddress();
}

// The attributes of one class level: its base levels left out, referenced objects listed without
// their contents. Error marks of the level itself come first, as "errors: ...".
void collectOwn(const akDebugAttributeBase* group, const std::string& prefix, std::vector<std::string>& out)
{
    for (auto it = group->begin_child(); it != group->end_child(); ++it) {
        const akDebugAttributeBase* a = *it;
        if (prefix.empty() && isClassLevel(a))
            continue;
        out.push_back(prefix + line(a) + errors(a));
        if (!dynamic_cast<const akDebugObject*>(a))
            collectOwn(a, prefix + a->getName() + "/", out);
    }
}

std::vector<std::string> ownRows(const akDebugAttributeBase* level)
{
    std::vector<std::string> out;
    if (!errors(level).empty())
        out.push_back("errors: " + errors(level));
    collectOwn(level, "", out);
    return out;
}

const akDebugAttributeBase* child(const akDebugAttributeBase* group, unsigned int i)
{
    return group && i < group->size_child() ? group->begin_child()[i] : nullptr;
}

// Object record headers (type index, tag, address) of one object in a file.
int countRecords(const std::vector<uint8_t>& bytes, int typeIndex, int tag, unsigned int address)
{
    const int header[3] = {typeIndex, tag, static_cast<int>(address)};
    int count = 0;
    for (size_t i = 0; i + sizeof header <= bytes.size(); i += 4)
        if (std::memcmp(&bytes[i], header, sizeof header) == 0)
            ++count;
    return count;
}

int typeIndex(akDebug& stream, const char* name)
{
    akDebugType* type = stream.getType(akDebugTypeDef::find(name));
    return type ? type->getIndex() : -1;
}

unsigned int low32(const void* pointer) { return static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pointer)); }

// ---- the objects every record may point at ----

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

// One class level: how a host object of that class gets distinct values, and the rows it reads
// back as.
struct LevelSpec
{
    std::function<void(emClassObject*, Refs&)> fill;
    std::function<std::vector<std::string>(const emClassObject*, const Refs&)> rows;
};

template <class C>
C* as(emClassObject* object)
{
    return dynamic_cast<C*>(object);
}
template <class C>
const C* as(const emClassObject* object)
{
    return dynamic_cast<const C*>(object);
}

using Rows = std::vector<std::string>;

std::map<std::string, LevelSpec> levelSpecs()
{
    std::map<std::string, LevelSpec> specs;
    specs["emMemBase"] = {[](emClassObject* o, Refs&) { as<emMemBase>(o)->setSizes(48, 64); },
                          [](const emClassObject*, const Refs&) {
                              return Rows{"Reference Count: int = 0", "Size Requested: unsigned int = 48 [advanced]",
                                          "Size Allocated: unsigned int = 64 [advanced]"};
                          }};
    specs["emBase"] = {[](emClassObject*, Refs&) {},
                       [](const emClassObject* o, const Refs&) {
                           return Rows{std::string("Name: emString = \"") + as<emBase>(o)->getName() + "\"",
                                       "User Data List: emUserDataList * = 0x0"};
                       }};
    specs["kiCullRecord"] = {
        [](emClassObject* o, Refs& r) {
            kiCullRecord* c = as<kiCullRecord>(o);
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
        },
        [](const emClassObject*, const Refs& r) {
            return Rows{"Options: unsigned int = 0x5 [tip: OPTION_SET_MATRIX |\nOPTION_TRANSPARENT]",
                        "Channel Id: int = 3",
                        "Decal Offset: int = 4",
                        "Multi-Sample Coverage: float = 0.5",
                        "Depth: float = 0.25",
                        "State: olState * = " + hex(&r.state),
                        "Primary Sort Object: kiNode * = " + hex(&r.sortNode),
                        "Secondary Sort Object: olMaterial * = " + hex(&r.sortMaterial),
                        "Model View Transform Element: olTransform::ElementModelView = ",
                        "Cull Record Factory: kiCullRecordFactory * = " + hex(&r.factory)};
        }};
    specs["kiGeometryBase::CullRecord"] = {
        [](emClassObject* o, Refs& r) { as<kiGeometryBase::CullRecord>(o)->geometry = &r.geometry; },
        [](const emClassObject*, const Refs& r) { return Rows{"Geometry: olGeometry * = " + hex(&r.geometry)}; }};
    specs["kiLight::CullRecord"] = {
        [](emClassObject* o, Refs& r) { as<kiLight::CullRecord>(o)->light = &r.light; },
        [](const emClassObject*, const Refs& r) { return Rows{"Light: olLight * = " + hex(&r.light)}; }};
    specs["kiLightPoint::CullRecord"] = {
        [](emClassObject* o, Refs& r) {
            kiLightPoint::CullRecord* c = as<kiLightPoint::CullRecord>(o);
            c->allocateLightPoints(2, true);
            c->animate = true;
            c->enable = false;
            c->render = false;
            c->disableLODs = true;
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
        },
        [](const emClassObject* o, const Refs& r) {
            const kiLightPoint::CullRecord* c = as<kiLightPoint::CullRecord>(o);
            const std::string d = "Light Point Data/";
            Rows rows{"Light Point Data:  = ",
                      d + "Animate: bool = true",
                      d + "Enable: bool = false",
                      d + "Render: bool = false",
                      d + "Disable LODs: bool = true",
                      d + "Number of Light Points: int = 2",
                      d + "Time: double = 1.5",
                      d + "Enable Time: double = 2.5",
                      d + "Intensity: float = 0.75",
                      d + "Near Pixel Distance: float = 3.5",
                      d + "Indices: unsigned short * = " + hex(c->indices),
                      d + "Indices/0: unsigned short = 5",
                      d + "Indices/1: unsigned short = 6",
                      d + "Sizes: float * = " + hex(c->sizes),
                      d + "Sizes/0: float = 0.5",
                      d + "Sizes/1: float = 1.5",
                      d + "Colors: emVec4<float> * = " + hex(c->colors),
                      d + "Colors/0: emVec4<float> = r=0.1, g=0.2, b=0.3, a=0.4",
                      d + "Colors/1: emVec4<float> = r=1.1, g=0.2, b=0.3, a=0.4",
                      d + "Vertices: emVec3<float> * = " + hex(c->vertices),
                      d + "Vertices/0: emVec3<float> = x=1, y=2, z=3",
                      d + "Vertices/1: emVec3<float> = x=2, y=2, z=3"};
            addMatrix(rows, d + "View Matrix", c->viewMatrix);
            addMatrix(rows, d + "Model Matrix", c->modelMatrix);
            rows.push_back(d + "Channel: olChannel * = " + hex(&r.channel));
            rows.push_back(d + "Fog: olFog * = " + hex(&r.fog));
            rows.push_back("Asynchronous Channel Bin: kiChannelBin * = " + hex(&r.bin));
            return rows;
        }};
    specs["kiLightPoint::Control"] = {
        [](emClassObject* o, Refs&) {
            kiLightPoint::Control* c = as<kiLightPoint::Control>(o);
            c->setEnable(false);
            c->setAnimationState(kiLightPoint::Control::ANIMATION_STATE_RANDOM);
            c->setIntensity(0.5f);
            c->setEnableTime(3.25);
        },
        [](const emClassObject*, const Refs&) {
            return Rows{"Enable: bool = false",
                        "Animation State: kiLightPoint::Control::AnimationState = ANIMATION_STATE_RANDOM",
                        "Intensity: float = 0.5", "Enable Time: double = 3.25"};
        }};
    specs["kiLODFilter"] = {
        [](emClassObject* o, Refs&) {
            kiLODFilter* f = as<kiLODFilter>(o);
            f->setVisibilityRangeScale(1.1);
            f->setVisibilityStressScale(1.2);
            f->setTransitionRangeScale(1.3);
            f->setTransitionStressScale(1.4);
        },
        [](const emClassObject*, const Refs&) {
            return Rows{"Visibility Range Scale: double = 1.1", "Visibility Stress Scale: double = 1.2",
                        "Transition Range Scale: double = 1.3", "Transition Stress Scale: double = 1.4"};
        }};
    specs["kiLODFilterManual"] = {[](emClassObject* o, Refs&) { as<kiLODFilterManual>(o)->setChild(2); },
                                  [](const emClassObject*, const Refs&) { return Rows{"Child: int = 2"}; }};
    specs["kiNode"] = {
        [](emClassObject* o, Refs&) {
            kiNode* n = as<kiNode>(o);
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
        },
        [](const emClassObject*, const Refs&) {
            return Rows{"Parents:  = ",
                        "Cull Mask: unsigned int = 0x11 [tip: " + bits(0x11) + "]",
                        "Render Mask: unsigned int = 0x22 [tip: " + bits(0x22) + "]",
                        "Isect Mask: unsigned int = 0x80000044 [tip: " + bits(0x80000044u) + "]",
                        "Branch Update Enable: bool = false",
                        "Number Of Update Requests: short = 3",
                        "Number Of Graph Changed Requests: short = 4",
                        "Static Bounds Enable: bool = true",
                        "Bounds: emSphere<double> = ",
                        "Bounds/Center: emVec3<double> = x=1, y=2, z=3",
                        "Bounds/Radius: double = 4",
                        "Children:  = ",
                        "Total Number Of Update Requests: short = 5 [advanced]",
                        "Total Number Of Graph Changed Requests: short = 6 [advanced]"};
        }};
    specs["kiAnimation"] = {
        [](emClassObject* o, Refs&) {
            kiAnimation* a = as<kiAnimation>(o);
            a->setMode(kiAnimation::MODE_SWING);
            a->setDirection(kiAnimation::DIRECTION_BACKWARD);
            a->setCommand(kiAnimation::COMMAND_PAUSE);
            a->setDuration(2.5, false);
            a->setNumLoops(3);
            a->setLastChildDuration(1.25);
            a->setCurrentChild(2);
        },
        [](const emClassObject*, const Refs&) {
            return Rows{"Mode: kiAnimation::Mode = MODE_SWING", "Direction: kiAnimation::Direction = DIRECTION_BACKWARD",
                        "Command: kiAnimation::Command = COMMAND_PAUSE", "Overall Duration: double = 2.5",
                        "Number of Loops: int = 3", "Last Child Duration: double = 1.25",
                        "Current Child: int = 2 [advanced]"};
        }};
    specs["kiDecal"] = {[](emClassObject* o, Refs&) { as<kiDecal>(o)->setOffset(7); },
                        [](const emClassObject*, const Refs&) { return Rows{"Offset: unsigned int = 7"}; }};
    specs["kiDOF"] = {
        [](emClassObject* o, Refs&) {
            kiDOF* d = as<kiDOF>(o);
            d->setTranslate(4, 5, 6);
            d->setRotate(40, 50, 60);
            d->setScale(1.5, 2.5, 3.5);
            for (int c = 0; c < kiDOF::COMPONENT_COUNT; ++c)
                d->setConstraint(static_cast<kiDOF::Component>(c), c % 2 == 0, c, c + 0.5);
            emMatrix<double> origin = emMatrix<double>::identity();
            origin.m[3][0] = 7;
            origin.m[3][1] = 8;
            origin.m[3][2] = 9;
            d->setLocalOrigin(origin);
        },
        [](const emClassObject* o, const Refs&) {
            const kiDOF* d = as<kiDOF>(o);
            Rows rows{"Translate: emVec3<double> = x=4, y=5, z=6", "Rotate: emVec3<double> = h=40, p=50, r=60",
                      "Scale: emVec3<double> = x=1.5, y=2.5, z=3.5", "Constraints:  = "};
            const char* names[] = {"Translate X", "Translate Y", "Translate Z", "Rotate H", "Rotate P",
                                   "Rotate R",    "Scale X",     "Scale Y",     "Scale Z"};
            for (int c = 0; c < 9; ++c) {
                std::string g = std::string("Constraints/") + names[c];
                rows.push_back(g + ":  = ");
                rows.push_back(g + "/Enable: bool = " + (c % 2 == 0 ? "true" : "false"));
                rows.push_back(g + "/Minimum: double = " + num(c));
                rows.push_back(g + "/Maximum: double = " + num(c + 0.5));
            }
            addMatrix(rows, "Local Origin", d->getLocalOrigin());
            addMatrix(rows, "Affine Matrix", d->getMatrixAffine());
            return rows;
        }};
    specs["kiGeometryBase"] = {
        [](emClassObject* o, Refs& r) {
            kiGeometryBase* g = as<kiGeometryBase>(o);
            g->setChannelBinId(0, 7);
            g->setAuxChannelBinId(0, 8);
            g->setGeometryBase(0, &r.geometry);
            g->setState(0, &r.state);
            g->setCullRecordFactoryBase(0, &r.factory);
            g->addValidationMessage(emNotify::LEVEL_WARN, "first check");
            g->addValidationMessage(emNotify::LEVEL_INFO, "second check");
        },
        [](const emClassObject*, const Refs& r) {
            return Rows{"errors: [error 5: first check][error 2: second check]",
                        "Representation 0:  = ",
                        "Representation 0/Channel Bin Id: int = 7",
                        "Representation 0/Auxiliary Channel Bin Id: int = 8",
                        "Representation 0/Geometry: olGeometry * = " + hex(&r.geometry),
                        "Representation 0/State: olState * = " + hex(&r.state),
                        "Representation 0/Cull Record Factory: kiCullRecordFactory * = " + hex(&r.factory)};
        }};
    specs["kiLight"] = {
        [](emClassObject* o, Refs& r) {
            kiLight* l = as<kiLight>(o);
            l->setEnable(false);
            l->setChannelBinId(0, 9);
            l->setLight(0, &r.light);
            l->setCullRecordFactory(0, &r.factory);
        },
        [](const emClassObject*, const Refs& r) {
            return Rows{"Enable: bool = false", "Representation 0:  = ", "Representation 0/Channel Bin Id: int = 9",
                        "Representation 0/Light: olLight * = " + hex(&r.light),
                        "Representation 0/Cull Record Factory: kiCullRecordFactory * = " + hex(&r.factory)};
        }};
    specs["kiLOD"] = {
        [](emClassObject* o, Refs& r) {
            kiLOD* l = as<kiLOD>(o);
            l->setCenter(1.5, 2.5, 3.5);
            l->addRange(10, 11);
            l->addRange(20, 21);
            l->setLODFilter(&r.filter);
        },
        [](const emClassObject*, const Refs& r) {
            return Rows{"Center: emVec3<double> = x=1.5, y=2.5, z=3.5",
                        "Ranges:  = ",
                        "Ranges/0:  = ",
                        "Ranges/0/Visibility: double = 10",
                        "Ranges/0/Transition: double = 11",
                        "Ranges/1:  = ",
                        "Ranges/1/Visibility: double = 20",
                        "Ranges/1/Transition: double = 21",
                        "LOD Filter: kiLODFilter * = " + hex(&r.filter)};
        }};
    specs["kiSwitch"] = {
        [](emClassObject* o, Refs&) {
            kiSwitch* s = as<kiSwitch>(o);
            s->setActiveMask(3);
            s->addMask("first", {0, 2});
            s->addMask("second", {1});
        },
        [](const emClassObject*, const Refs&) {
            return Rows{"Active Mask: int = 3",        "Mask 0:  = ",     "Mask 0/Name: emString = \"first\"",
                        "Mask 0/Child: int = 0",       "Mask 0/Child: int = 2", "Mask 1:  = ",
                        "Mask 1/Name: emString = \"second\"", "Mask 1/Child: int = 1"};
        }};
    specs["kiTransform"] = {
        [](emClassObject* o, Refs&) {
            kiTransform* t = as<kiTransform>(o);
            t->setTranslate(1, 2, 3);
            t->setRotate(10, 20, 30);
            t->setScale(2, 3, 4);
            t->setStaticEnable(true);
        },
        [](const emClassObject* o, const Refs&) {
            Rows rows{"Translate: emVec3<double> = x=1, y=2, z=3", "Rotate: emVec3<double> = h=10, p=20, r=30",
                      "Scale: emVec3<double> = x=2, y=3, z=4", "Static Enable: bool = true"};
            addMatrix(rows, "Affine Matrix", as<kiTransform>(o)->getMatrixAffine());
            return rows;
        }};
    specs["kiLightPoint"] = {
        [](emClassObject* o, Refs& r) { as<kiLightPoint>(o)->setControl(&r.control); },
        [](const emClassObject*, const Refs& r) {
            return Rows{"Control: kiLightPoint::Control * = " + hex(&r.control)};
        }};
    specs["kiBillboard"] = {
        [](emClassObject* o, Refs&) {
            kiBillboard* b = as<kiBillboard>(o);
            b->setType(kiBillboard::TYPE_AXIAL);
            b->setOrientation(kiBillboard::ORIENTATION_POINT_TO_EYE);
            b->setAxis(0, 1, 0);
        },
        [](const emClassObject*, const Refs&) {
            return Rows{"Type: kiBillboard::Type = TYPE_AXIAL",
                        "Orientation: kiBillboard::Orientation = ORIENTATION_POINT_TO_EYE",
                        "Axis: emVec3<double> = x=0, y=1, z=0"};
        }};
    // Levels without fields of their own read back as empty objects.
    for (const char* empty : {"kiChannelBin", "kiCullRecordFactory", "kiLODFilterBase",
                              "kiRenderStrategyFrameGeometry", "kiGeometry", "kiString"})
        specs[empty] = {[](emClassObject*, Refs&) {}, [](const emClassObject*, const Refs&) { return Rows{}; }};
    return specs;
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

const std::vector<const char*> kNode = {"kiNode", "emBase", "emMemBase"};

std::vector<const char*> on(const char* type, std::vector<const char*> base)
{
    base.insert(base.begin(), type);
    return base;
}

std::vector<Case> cases()
{
    const auto geometryBase = on("kiGeometryBase", kNode);
    const auto filterBase = std::vector<const char*>{"kiLODFilterBase", "emBase", "emMemBase"};
    return {
        {makeRecord<kiCullRecord>, {"kiCullRecord"}},
        {make<kiChannelBin>, {"kiChannelBin", "emBase", "emMemBase"}},
        {make<kiCullRecordFactory>, {"kiCullRecordFactory", "emBase", "emMemBase"}},
        {make<kiLightPoint::Control>, {"kiLightPoint::Control", "emBase", "emMemBase"}},
        {make<kiLODFilterBase>, filterBase},
        {make<kiNode>, kNode},
        {makeRecord<kiRenderStrategyFrameGeometry>, {"kiRenderStrategyFrameGeometry", "olRenderStrategy", "emMemBase"}},
        {makeRecord<kiGeometryBase::CullRecord>, {"kiGeometryBase::CullRecord", "kiCullRecord"}},
        {makeRecord<kiLight::CullRecord>, {"kiLight::CullRecord", "kiCullRecord"}},
        {makeRecord<kiLightPoint::CullRecord>, {"kiLightPoint::CullRecord", "kiGeometryBase::CullRecord", "kiCullRecord"}},
        {make<kiLODFilter>, on("kiLODFilter", filterBase)},
        {make<kiLODFilterManual>, on("kiLODFilterManual", filterBase)},
        {make<kiAnimation>, on("kiAnimation", kNode)},
        {make<kiDecal>, on("kiDecal", kNode)},
        {make<kiDOF>, on("kiDOF", kNode)},
        {make<kiGeometryBase>, geometryBase},
        {make<kiLight>, on("kiLight", kNode)},
        {make<kiLOD>, on("kiLOD", kNode)},
        {make<kiSwitch>, on("kiSwitch", kNode)},
        {make<kiTransform>, on("kiTransform", kNode)},
        {make<kiGeometry>, on("kiGeometry", geometryBase)},
        {make<kiLightPoint>, on("kiLightPoint", geometryBase)},
        {make<kiString>, on("kiString", geometryBase)},
        {make<kiBillboard>, on("kiBillboard", on("kiTransform", kNode))},
    };
}

class TelsSchema : public ModuleTest
{
};

// Restores the channel's representation count.
struct Representations
{
    explicit Representations(int n) { kiChannel::setNumRepresentations(n); }
    ~Representations() { kiChannel::setNumRepresentations(1); }
};

}  // namespace

// Every type: one nested object per class level, each level's own attributes with the values
// written, and the reader stops exactly at the end of the file.
TEST_F(TelsSchema, EveryTypeRoundTripsLevelByLevel)
{
    const auto specs = levelSpecs();
    const auto all = cases();
    ASSERT_EQ(all.size(), 24u);
    for (const Case& c : all) {
        SCOPED_TRACE(c.chain[0]);
        Refs refs;
        std::unique_ptr<emClassObject> host(c.make());
        for (const char* type : c.chain)
            if (specs.count(type))
                specs.at(type).fill(host.get(), refs);

        RoundTrip trip;
        trip.write(host.get(), akDebugTypeDef::find(c.chain[0]));
        trip.finish();
        const akDebugObject* object = trip.read();
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(trip.consumedAll()) << trip.bytesLeft() << " bytes left";
        EXPECT_EQ(typeOf(object), std::string(c.chain[0]) + " *");
        EXPECT_EQ(valueOf(object), hex(host.get()));

        const akDebugAttributeBase* current = object;
        for (size_t i = 0; i < c.chain.size(); ++i) {
            SCOPED_TRACE(c.chain[i]);
            if (i > 0) {
                // The base level is the first child of the level above it.
                const akDebugAttributeBase* base = child(current, 0);
                ASSERT_NE(base, nullptr);
                ASSERT_TRUE(isClassLevel(base));
                EXPECT_STREQ(base->getName(), c.chain[i]);
                EXPECT_EQ(typeOf(base), c.chain[i]);
                current = base;
            }
            if (specs.count(c.chain[i])) {
                EXPECT_EQ(ownRows(current), specs.at(c.chain[i]).rows(host.get(), refs));
            }
        }
        EXPECT_TRUE(child(current, 0) == nullptr || !isClassLevel(child(current, 0)));
    }
}

// The light point rows sit between the geometry cull record's level and the channel bin; the
// arrays are in the file only when there are light points, and then the vertices only when the
// record has them.
TEST_F(TelsSchema, LightPointCullRecordArraysAndTheirBytes)
{
    struct Row
    {
        int count;
        bool allocated;
        bool vertices;
        uint64_t arrayBytes;
        std::vector<int> sizes;  // children of Indices, Sizes, Colors, Vertices
    };
    const Row table[] = {
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
        uint64_t start = trip.position();
        trip.write(&plain);
        base = trip.position() - start;
    }
    for (const Row& row : table) {
        SCOPED_TRACE(row.count);
        kiLightPoint::CullRecord record;
        if (row.allocated)
            record.allocateLightPoints(row.count, row.vertices);
        record.numLightPoints = row.count;
        RoundTrip trip;
        trip.begin();
        uint64_t start = trip.position();
        trip.write(&record);
        // 4 bools, the count, 2 doubles, 2 floats, 2 matrices, 3 null references.
        EXPECT_EQ(trip.position() - start - base, 16u + 4 + 16 + 8 + 256 + 24 + row.arrayBytes);
        trip.finish();
        const akDebugObject* object = trip.read();
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(trip.consumedAll());
        ASSERT_EQ(object->size_child(), 3u);
        EXPECT_STREQ(child(object, 0)->getName(), "kiGeometryBase::CullRecord");
        EXPECT_STREQ(child(object, 1)->getName(), "Light Point Data");
        EXPECT_STREQ(child(object, 2)->getName(), "Asynchronous Channel Bin");
        EXPECT_EQ(valueOf(at(object, "Light Point Data/Number of Light Points")), std::to_string(row.count));
        const char* arrays[] = {"Indices", "Sizes", "Colors", "Vertices"};
        const void* hostArrays[] = {record.indices, record.sizes, record.colors, record.vertices};
        for (int i = 0; i < 4; ++i) {
            const akDebugAttributeBase* array = at(object, std::string("Light Point Data/") + arrays[i]);
            ASSERT_NE(array, nullptr) << arrays[i];
            EXPECT_EQ(static_cast<int>(array->size_child()), row.sizes[i]) << arrays[i];
            EXPECT_EQ(valueOf(array), hostArrays[i] ? hex(hostArrays[i]) : "0x0") << arrays[i];
        }
    }
}

// A light-point count far beyond the file stops the reader without building the elements.
TEST_F(TelsSchema, LightPointCountBeyondTheFileStopsTheReader)
{
    kiLightPoint::CullRecord record;
    record.allocateLightPoints(3, true);
    record.animate = true;
    record.render = true;
    RoundTrip trip;
    trip.write(&record);
    trip.finish();
    std::vector<uint8_t> bytes = trip.bytes();
    // animate, enable, render, disable LODs, count
    const int pattern[5] = {1, 1, 1, 0, 3};
    size_t offset = 0;
    for (size_t i = 0; i + sizeof pattern <= bytes.size() && !offset; i += 4)
        if (std::memcmp(&bytes[i], pattern, sizeof pattern) == 0)
            offset = i + 16;
    ASSERT_NE(offset, 0u);
    const int huge = 0x7FFFFFFF;
    std::memcpy(&bytes[offset], &huge, 4);
    std::string path = testsupport::tempDir() + "/damaged.bin";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    akDebugScene scene;
    scene.read(path.c_str());
    EXPECT_TRUE(scene.hasReadFailed());
    ASSERT_NE(scene.getRoot(), nullptr);
    // The elements read before the end of the file are kept; the rest of the record is not read.
    const akDebugAttributeBase* indices = at(scene.getRoot(), "Light Point Data/Indices");
    ASSERT_NE(indices, nullptr);
    EXPECT_LT(indices->size_child(), bytes.size() / 2);
    ASSERT_NE(at(scene.getRoot(), "Light Point Data/Sizes"), nullptr);
    EXPECT_TRUE(at(scene.getRoot(), "Light Point Data/Sizes")->empty_child());
    EXPECT_EQ(at(scene.getRoot(), "Asynchronous Channel Bin"), nullptr);
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
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
    const akDebugAttributeBase* parents = at(tree, "Parents");
    ASSERT_EQ(parents->size_child(), 1u);
    EXPECT_EQ(line(child(parents, 0)), "0: kiNode * = " + hex(top));
    EXPECT_TRUE(child(parents, 0)->empty_child());

    const akDebugAttributeBase* viaLeft = at(tree, "Children/0/Children/0");
    const akDebugAttributeBase* viaRight = at(tree, "Children/1/Children/0");
    ASSERT_NE(viaLeft, nullptr);
    ASSERT_NE(viaRight, nullptr);
    EXPECT_NE(viaLeft, viaRight);
    for (const akDebugAttributeBase* copy : {viaLeft, viaRight}) {
        EXPECT_EQ(line(copy), "0: kiSwitch * = " + hex(shared));
        EXPECT_EQ(valueOf(at(copy, "Active Mask")), "SELECT_NONE");
        const akDebugAttributeBase* sharedParents = at(copy, "kiNode/Parents");
        ASSERT_EQ(sharedParents->size_child(), 2u);
        EXPECT_EQ(valueOf(child(sharedParents, 0)), hex(left));
        EXPECT_EQ(valueOf(child(sharedParents, 1)), hex(right));
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

// Special value strings of the attribute kinds of this library.
TEST_F(TelsSchema, SpecialValueStrings)
{
    struct Row
    {
        akDebugAttributeBase* attribute;
        const char* value;
    };
    const Row table[] = {
        {new akDebugActiveMask("Active Mask", -1), "SELECT_ALL"},
        {new akDebugActiveMask("Active Mask", -2), "SELECT_NONE"},
        {new akDebugActiveMask("Active Mask", -3), "-3"},
        {new akDebugNumberOfLoops("Number of Loops", 65535), "LOOP_INFINITE"},
        {new akDebugNumberOfLoops("Number of Loops", -1), "-1"},
        {new akDebugLastChildDuration("Last Child Duration", -1.0), "LAST_CHILD_DURATION_UNSPECIFIED"},
        {new akDebugLastChildDuration("Last Child Duration", 2.5), "2.5"},
    };
    for (const Row& row : table) {
        row.attribute->ref();
        akDebugAttributeBase* copy = row.attribute->makeCopy();
        copy->ref();
        EXPECT_EQ(valueOf(row.attribute), row.value);
        EXPECT_EQ(valueOf(copy), row.value);
        EXPECT_TRUE(copy->compare(row.attribute));
        copy->unref();
        row.attribute->unref();
    }
}

// With two representations, geometry nodes and lights carry two blocks each, and each block's
// validation messages mark the kiGeometryBase object.
TEST_F(TelsSchema, TwoRepresentations)
{
    Representations two(2);
    Refs refs;
    olGeometry second("second");
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
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 0/Geometry")), hex(&refs.geometry));
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 1/Channel Bin Id")), "11");
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 1/Auxiliary Channel Bin Id")), "12");
    EXPECT_EQ(valueOf(at(geometryBase, "Representation 1/Geometry")), "0x0");
    EXPECT_EQ(errors(geometryBase), "[error 5: kiGeometryBase::validate - representation 1 has no geometry]");
    EXPECT_EQ(errors(at(geometryBase, "Representation 1")), "");

    const akDebugAttributeBase* lightLevel = at(scene.getRoot(), "Children/1");
    ASSERT_NE(lightLevel, nullptr);
    EXPECT_EQ(valueOf(at(lightLevel, "Representation 0/Channel Bin Id")), "20");
    EXPECT_EQ(valueOf(at(lightLevel, "Representation 0/Light")), hex(&refs.light));
    EXPECT_EQ(valueOf(at(lightLevel, "Representation 1/Channel Bin Id")), "21");
    EXPECT_EQ(at(lightLevel, "Representation 2"), nullptr);
}

// Object records nest at most akDebug::s_maxDepth deep. A chain of nodes without user data lists
// is written in full down to that depth; one node more is written as an address and reported.
// A user data list is a record of its own one level below its node.
TEST_F(TelsSchema, NestingBoundOfANodeChain)
{
    struct Row
    {
        int nodes;
        bool userDataOnLast;
        bool tooDeep;
    };
    const Row table[] = {
        {akDebug::s_maxDepth, false, false},
        {akDebug::s_maxDepth + 1, false, true},
        {akDebug::s_maxDepth - 1, true, false},
        {akDebug::s_maxDepth, true, true},
    };
    for (const Row& row : table) {
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
        EXPECT_EQ(valueOf(node), hex(chain.back()));
        const akDebugAttributeBase* list = at(node, "emBase/User Data List");
        if (row.tooDeep && !row.userDataOnLast) {
            EXPECT_TRUE(node->empty_child());  // an address only
        } else {
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(valueOf(list), row.userDataOnLast ? hex(chain.back()->getUserDataList(false)) : "0x0");
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
    trip.write(&plain);
    trip.write(&geometry);
    trip.write(&plain);
    trip.write(&geometry);
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

// The benchmark scene: groups alternating between level-of-detail and switch nodes, ten named
// transforms each, one geometry node per transform whose drawable and state are written in full
// and whose shared materials and textures are written once.
TEST_F(TelsSchema, BenchSceneShape)
{
    benchscene::Scene scene(40);
    EXPECT_EQ(scene.getNumGeometryNodes(), 40);
    std::string path = testsupport::tempDir() + "/bench.bin";
    akDebugScene file;
    ASSERT_EQ(file.write(path.c_str(), scene.getRoot(), false), telu::SUCCESS);
    ASSERT_EQ(file.read(path.c_str()), telu::SUCCESS);
    EXPECT_FALSE(file.hasReadFailed());
    const akDebugAttributeBase* groups = at(file.getRoot(), "Children");
    ASSERT_EQ(groups->size_child(), 4u);
    for (unsigned int g = 0; g < 4; ++g) {
        const akDebugAttributeBase* group = child(groups, g);
        EXPECT_EQ(typeOf(group), g % 2 == 0 ? "kiLOD *" : "kiSwitch *");
        const akDebugAttributeBase* transforms = at(group, "kiNode/Children");
        ASSERT_EQ(transforms->size_child(), 10u);
        for (unsigned int t = 0; t < 10; ++t) {
            const akDebugAttributeBase* transform = child(transforms, t);
            EXPECT_EQ(typeOf(transform), "kiTransform *");
            EXPECT_EQ(valueOf(at(transform, "kiNode/emBase/Name")),
                      "\"transform " + std::to_string(g * 10 + t) + "\"");
            EXPECT_NE(valueOf(at(transform, "Translate")), "x=0, y=0, z=0");
            const akDebugAttributeBase* geometry = at(transform, "kiNode/Children/0");
            ASSERT_NE(geometry, nullptr);
            EXPECT_EQ(typeOf(geometry), "kiGeometry *");
            EXPECT_EQ(typeOf(at(geometry, "kiGeometryBase/Representation 0/Geometry")), "olGeometry *");
            EXPECT_EQ(typeOf(at(geometry, "kiGeometryBase/Representation 0/State")), "olState *");
            EXPECT_EQ(errors(at(geometry, "kiGeometryBase")), "");
        }
    }
}
